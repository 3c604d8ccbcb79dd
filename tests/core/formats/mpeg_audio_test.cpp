#include "formats/mpeg_audio.h"

#include <gtest/gtest.h>

#include "format_bytes.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;
using testing::Frame;
using testing::Frames;
using testing::HeaderBits;
using testing::Id3v1Tag;
using testing::Id3v2Tag;

TEST(MpegAudio, ReadsTheStreamBetweenTheTags) {
    TempDir dir;
    const std::string path = dir / "a.mp3";
    HeaderBits h;
    h.original = true;
    h.crc = true;
    h.mode = 3;
    std::string stream = Frames(h, 417, 300);
    WriteBytes(path, Id3v2Tag(2048) + stream + Id3v1Tag());

    TMPEGaudio mpeg;
    ASSERT_TRUE(mpeg.Read(path));
    EXPECT_TRUE(mpeg.Valid());
    EXPECT_TRUE(mpeg.ID3v2().Exists());
    EXPECT_TRUE(mpeg.ID3v1().Exists());
    EXPECT_EQ(mpeg.FileLength(), 2048u + stream.size() + 128);
    EXPECT_EQ(mpeg.Frame().Position, 0);
    EXPECT_EQ(mpeg.VersionID(), 3);
    EXPECT_EQ(mpeg.LayerID(), 1);
    EXPECT_EQ(mpeg.ChannelModeID(), 3);
    EXPECT_EQ(mpeg.EmphasisID(), 0);
    EXPECT_EQ(mpeg.SampleRate(), 44100u);
    EXPECT_EQ(mpeg.BitRate(), 128);
    EXPECT_EQ(mpeg.Frames(), 300);
    EXPECT_DOUBLE_EQ(mpeg.Duration(), 417.0 * 300 * 8 / 128000);
    EXPECT_TRUE(mpeg.Frame().ProtectionBit);
    EXPECT_TRUE(mpeg.Frame().OriginalBit);
    EXPECT_FALSE(mpeg.Frame().CopyrightBit);
    EXPECT_EQ(mpeg.EncoderID(), kEncoderLAME);  // original and CRC set
    EXPECT_EQ(mpeg.Encoder(), "LAME");

    // LAME's signature at the end of a constant-bit-rate stream gives its version.
    stream.replace(stream.size() - 30, 8, "LAME3.97");
    WriteBytes(path, stream);
    ASSERT_TRUE(mpeg.Read(path));
    EXPECT_FALSE(mpeg.ID3v2().Exists());
    EXPECT_EQ(mpeg.VendorID(), "LAME3.97");
    EXPECT_EQ(mpeg.Encoder(), "LAME 3.97");
}

TEST(MpegAudio, ShortAndInvalidStreams) {
    TempDir dir;
    const std::string path = dir / "a.mp3";
    TMPEGaudio mpeg;

    // A stream shorter than a window, without VBR header: analysed in the bytes it has.
    WriteBytes(path, Frames(HeaderBits(), 417, 3));
    ASSERT_TRUE(mpeg.Read(path));
    EXPECT_TRUE(mpeg.Frame().Found);
    EXPECT_FALSE(mpeg.Valid());  // 0.078 s is too short

    // 8 kbit/s MPEG 2.5 is the lowest rate accepted; 448 kbit/s Layer I the highest.
    HeaderBits slow;
    slow.version = 0;
    slow.bitRate = 1;
    slow.sampleRate = 2;
    WriteBytes(path, Frames(slow, 72, 20));
    ASSERT_TRUE(mpeg.Read(path));
    EXPECT_EQ(mpeg.BitRate(), 8);
    EXPECT_TRUE(mpeg.Valid());
    HeaderBits fast;
    fast.layer = 3;
    fast.bitRate = 14;
    WriteBytes(path, Frames(fast, 48 * 448000 / 44100 / 4 * 4, 300));
    ASSERT_TRUE(mpeg.Read(path));
    EXPECT_EQ(mpeg.BitRate(), 448);
    EXPECT_TRUE(mpeg.Valid());

    // Without a frame the object is cleared, tags included.
    WriteBytes(path, Id3v2Tag(100) + std::string(5000, 'x') + Id3v1Tag());
    ASSERT_TRUE(mpeg.Read(path));
    EXPECT_FALSE(mpeg.Frame().Found);
    EXPECT_FALSE(mpeg.ID3v2().Exists());
    EXPECT_FALSE(mpeg.Valid());
    EXPECT_EQ(mpeg.Duration(), 0);
    EXPECT_EQ(mpeg.EncoderID(), kEncoderUnknown);
    EXPECT_EQ(TMPEGaudio::VersionName(mpeg.VersionID()), "MPEG ?");
    EXPECT_EQ(TMPEGaudio::ChannelModeName(mpeg.ChannelModeID()), "Unknown");
    EXPECT_EQ(TMPEGaudio::EmphasisName(mpeg.EmphasisID()), "Unknown");
    EXPECT_EQ(mpeg.SampleRate(), 0u);

    // Tags that cannot be read fail the analysis: a missing file, fewer than 128 bytes.
    EXPECT_FALSE(mpeg.Read(dir / "missing.mp3"));
    EXPECT_FALSE(mpeg.LastError().empty());
    WriteBytes(path, Frame(HeaderBits(), 100));
    EXPECT_FALSE(mpeg.Read(path));
}

TEST(MpegAudio, NameTables) {
    EXPECT_EQ(TMPEGaudio::VersionName(0), "MPEG 2.5");
    EXPECT_EQ(TMPEGaudio::VersionName(2), "MPEG 2");
    EXPECT_EQ(TMPEGaudio::VersionName(3), "MPEG 1");
    EXPECT_EQ(TMPEGaudio::VersionName(4), "");
    EXPECT_EQ(TMPEGaudio::LayerName(0), "Layer ?");
    EXPECT_EQ(TMPEGaudio::LayerName(1), "Layer III");
    EXPECT_EQ(TMPEGaudio::LayerName(2), "Layer II");
    EXPECT_EQ(TMPEGaudio::LayerName(3), "Layer I");
    EXPECT_EQ(TMPEGaudio::ChannelModeName(0), "Stereo");
    EXPECT_EQ(TMPEGaudio::ChannelModeName(1), "Joint Stereo");
    EXPECT_EQ(TMPEGaudio::ChannelModeName(2), "Dual Channel");
    EXPECT_EQ(TMPEGaudio::ChannelModeName(3), "Mono");
    EXPECT_EQ(TMPEGaudio::ChannelModeName(-1), "");
    EXPECT_EQ(TMPEGaudio::EmphasisName(0), "None");
    EXPECT_EQ(TMPEGaudio::EmphasisName(1), "50/15 ms");
    EXPECT_EQ(TMPEGaudio::EmphasisName(3), "CCIT J.17");
    EXPECT_EQ(TMPEGaudio::EmphasisName(5), "");
}

}  // namespace
}  // namespace sonarchive::formats
