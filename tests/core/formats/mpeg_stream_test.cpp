#include "formats/mpeg_stream.h"

#include <gtest/gtest.h>

#include "format_bytes.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using namespace std::string_literals;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;
using testing::Be32;
using testing::Frame;
using testing::Frames;
using testing::HeaderBits;

constexpr std::size_t kLength128 = 417;  // MPEG 1 Layer III, 128 kbit/s, 44100 Hz

// Writes the bytes to a file and runs the frame search on the window at `start`.
FrameHeader Find(const TempDir& dir, const std::string& bytes, std::uint64_t start = 0) {
    const std::string path = dir / "f.mp3";
    WriteBytes(path, bytes);
    const InputFile file(path);
    const auto frame =
        FindFirstFrame(file, MpegWindow{start, file.ReadAvailable(start, kMpegWindowSize).value()});
    EXPECT_TRUE(frame.has_value());
    return frame.value_or(FrameHeader());
}

MpegStreamAnalysis Analyse(const TempDir& dir, const std::string& bytes, std::uint64_t audioStart,
                           std::uint64_t tail) {
    const std::string path = dir / "f.mp3";
    WriteBytes(path, bytes);
    const auto analysis = AnalyseMpegStream(InputFile(path), audioStart, tail);
    EXPECT_TRUE(analysis.has_value());
    return analysis.value_or(MpegStreamAnalysis());
}

TEST(MpegFrameSearch, AFrameCountsOnlyWhenTheNextHeaderConfirmsIt) {
    TempDir dir;
    const HeaderBits h;
    // A lone valid-looking header in the junk is passed over.
    FrameHeader f = Find(dir, "ab" + h.Bytes() + "junk" + Frames(h, kLength128, 3));
    ASSERT_TRUE(f.Found);
    EXPECT_EQ(f.Position, 10);
    EXPECT_EQ(f.Size, kLength128);
    EXPECT_FALSE(f.XingSignature);
    EXPECT_EQ(f.BitRateID, 9);

    // Six zero bytes after the header are the Xing encoder's signature.
    f = Find(dir, Frame(h, kLength128, std::string(6, '\0')) + Frames(h, kLength128, 2));
    EXPECT_TRUE(f.XingSignature);

    // A single frame has nothing to confirm it; free-format frames are never recognised.
    EXPECT_FALSE(Find(dir, Frame(h, kLength128)).Found);
    HeaderBits freeFormat;
    freeFormat.bitRate = 0;
    EXPECT_FALSE(Find(dir, Frames(freeFormat, 300, 5)).Found);

    // Frames are looked for at window offsets 0 to 1729 only.
    EXPECT_FALSE(Find(dir, std::string(1730, 'j') + Frames(h, kLength128, 5)).Found);
    EXPECT_EQ(Find(dir, std::string(1729, 'j') + Frames(h, kLength128, 5)).Position, 1729);
}

TEST(MpegFrameSearch, AConfirmingHeaderBeyondTheWindowIsReadFromTheFile) {
    TempDir dir;
    HeaderBits h;  // MPEG 2.5 Layer II, 160 kbit/s, 8000 Hz: 2880-byte frames
    h.version = 0;
    h.layer = 2;
    h.bitRate = 14;
    h.sampleRate = 2;
    FrameHeader f = Find(dir, std::string(1000, 'j') + Frames(h, 2880, 2));
    ASSERT_TRUE(f.Found);
    EXPECT_EQ(f.Position, 1000);
    EXPECT_EQ(f.Size, 2880);

    // The same when the window starts further into the file.
    f = Find(dir, std::string(5000, 'j') + Frames(h, 2880, 2), 4000);
    ASSERT_TRUE(f.Found);
    EXPECT_EQ(f.Position, 1000);

    // A next header that begins in the window and ends behind it, by one to three bytes.
    for (std::size_t inWindow = 1; inWindow < 4; ++inWindow) {
        const std::size_t position = kMpegWindowSize - inWindow - 2880;
        f = Find(dir, std::string(position, 'j') + Frames(h, 2880, 2));
        EXPECT_TRUE(f.Found) << inWindow;
        EXPECT_EQ(f.Position, static_cast<std::int64_t>(position));
        EXPECT_FALSE(Find(dir, std::string(position, 'j') + Frames(h, 2880, 1) + "\xff\xf0").Found)
            << inWindow;
    }

    // Where the file ends before the next header, the frame is not confirmed.
    EXPECT_FALSE(Find(dir, std::string(1000, 'j') + Frames(h, 2880, 1) + "\xff").Found);
}

std::string XingBody(std::size_t offset, std::string_view id, std::uint32_t flags,
                     const std::string& fields) {
    return std::string(offset - 4, '\0') + std::string(id) + Be32(flags) + fields;
}

VBRData VbrOf(const HeaderBits& h, const std::string& body, std::size_t position = 0) {
    const std::string window = std::string(position, 'j') + Frame(h, 1000, body);
    FrameHeader frame = DecodeFrameHeader(window, position);
    frame.Position = static_cast<std::int64_t>(position);
    return ReadVbrHeader(window, frame);
}

TEST(MpegVbrHeader, XingFieldsAreReadWhereTheirFlagsSayTheyAre) {
    const HeaderBits stereo;
    const std::string all =
        Be32(1000) + Be32(400000) + std::string(100, 't') + Be32(78) + "LAME3.100" + "\x01\x02"s;
    VBRData vbr = VbrOf(stereo, XingBody(36, "Xing", 15, all), 7);
    EXPECT_TRUE(vbr.Found);
    EXPECT_EQ(vbr.ID, "Xing");
    EXPECT_EQ(vbr.Frames, 1000);
    EXPECT_EQ(vbr.Bytes, 400000);
    EXPECT_EQ(vbr.Scale, 78);
    EXPECT_EQ(vbr.VendorID, "LAME3.100");

    // Only a frame count: the LAME text follows it directly. MPEG 1 mono: offset 21.
    HeaderBits mono;
    mono.mode = 3;
    vbr = VbrOf(mono, XingBody(21, "Info", 1, Be32(55) + "LAME3.99r"));
    EXPECT_EQ(vbr.ID, "Info");
    EXPECT_EQ(vbr.Frames, 55);
    EXPECT_EQ(vbr.Bytes, 0);
    EXPECT_EQ(vbr.Scale, 0);
    EXPECT_EQ(vbr.VendorID, "LAME3.99");  // a ninth character counts only as a digit

    // No fields at all; counts of 2^31 and more are no counts.
    vbr = VbrOf(stereo, XingBody(36, "Xing", 0, "\0\0"s));
    EXPECT_TRUE(vbr.Found);
    EXPECT_EQ(vbr.Frames, 0);
    EXPECT_EQ(vbr.VendorID, "");
    vbr = VbrOf(stereo, XingBody(36, "Xing", 3, Be32(0x80000000) + Be32(0xFFFFFFFF)));
    EXPECT_EQ(vbr.Frames, 0);
    EXPECT_EQ(vbr.Bytes, 0);

    // MPEG 2 and 2.5: offset 21 in stereo, 13 in mono.
    HeaderBits mpeg2;
    mpeg2.version = 2;
    mpeg2.bitRate = 8;
    EXPECT_EQ(VbrOf(mpeg2, XingBody(21, "Xing", 1, Be32(9))).Frames, 9);
    mpeg2.mode = 3;
    mpeg2.version = 0;
    EXPECT_EQ(VbrOf(mpeg2, XingBody(13, "Xing", 1, Be32(8))).Frames, 8);
    EXPECT_FALSE(VbrOf(mpeg2, XingBody(21, "Xing", 1, Be32(8))).Found);
}

TEST(MpegVbrHeader, VbriIsFound36BytesIntoTheFrameInEveryMode) {
    // "VBRI", version 1, delay, quality 0x0050, bytes, frames.
    const std::string vbri = "VBRI\0\x01\x04\x5c\0\x50"s + Be32(123456) + Be32(321);
    HeaderBits h;
    for (const auto& [version, mode] : {std::pair{3, 1}, {3, 3}, {2, 0}, {2, 3}, {0, 3}}) {
        h.version = version;
        h.mode = mode;
        h.bitRate = 5;
        const VBRData vbr = VbrOf(h, std::string(32, '\0') + vbri);
        EXPECT_TRUE(vbr.Found) << version << " " << mode;
        EXPECT_EQ(vbr.ID, "VBRI");
        EXPECT_EQ(vbr.Scale, 0x50);
        EXPECT_EQ(vbr.Bytes, 123456);
        EXPECT_EQ(vbr.Frames, 321);
        EXPECT_EQ(vbr.VendorID, "");
    }
    EXPECT_FALSE(VbrOf(HeaderBits(), std::string(40, '\0')).Found);
}

TEST(MpegVendorSignature, SearchesBackFromTheEndOfTheWindow) {
    EXPECT_EQ(FindVendorSignature("xxxxxxLAME3.93", 100), "LAME3.93");
    EXPECT_EQ(FindVendorSignature("xxLAME3.100UUU", 100), "LAME3.100");
    EXPECT_EQ(FindVendorSignature("xxLAME3.1\x01UUU"s, 100), "LAME3.1");
    EXPECT_EQ(FindVendorSignature("GOGO" + std::string(50, 'U'), 100), "GOGO");
    // The signature must end within searchLength + 8 bytes of the end.
    const std::string window = "LAME3.90" + std::string(20, 'U');
    EXPECT_EQ(FindVendorSignature(window, 20), "LAME3.90");
    EXPECT_EQ(FindVendorSignature(window, 19), "");
    EXPECT_EQ(FindVendorSignature("LAME", 100), "");
    EXPECT_EQ(FindVendorSignature("", 100), "");
}

TEST(MpegStreamAnalysis, ThreeWindowsAtTheStartTheMiddleAndTheEnd) {
    TempDir dir;
    const HeaderBits h;
    const std::string front = "ID3 tag bytes naming LAME3.98 " + std::string(270, '\0');
    const std::string id3v1 = testing::Id3v1Tag();

    // A CBR stream between two tags, with LAME's signature in the padding of its last frame.
    std::string stream = Frames(h, kLength128, 20);
    stream.replace(stream.size() - 20, 9, "LAME3.97 ");
    MpegStreamAnalysis a = Analyse(dir, front + stream + id3v1, front.size(), 128);
    ASSERT_TRUE(a.Frame.Found);
    EXPECT_EQ(a.Frame.Position, 0);
    EXPECT_FALSE(a.VBR.Found);
    EXPECT_EQ(a.VendorID, "LAME3.97");
    EXPECT_EQ(a.AudioBytes, stream.size());

    // A stream shorter than a window is searched in the bytes it has; the end window does not
    // reach back into the tag in front of the audio.
    stream = Frames(h, kLength128, 3);
    a = Analyse(dir, front + stream, front.size(), 0);
    ASSERT_TRUE(a.Frame.Found);
    EXPECT_EQ(a.VendorID, "");

    // Junk behind the tag, longer than the first window's candidates: the search goes on
    // through the bytes behind it, and the position counts from the start of the stream.
    const std::string junk(3000, 'j');
    stream = Frames(h, kLength128, 40);
    a = Analyse(dir, junk + stream, 0, 0);
    ASSERT_TRUE(a.Frame.Found);
    EXPECT_EQ(a.Frame.Position, 3000);
    EXPECT_EQ(a.Frames(), 40);
    // ... and the VBR header of the frame found there counts the frames.
    const std::string counted = Frame(h, kLength128, XingBody(36, "Info", 1, Be32(39)));
    a = Analyse(dir, junk + counted + Frames(h, kLength128, 39), 0, 0);
    EXPECT_EQ(a.Frame.Position, 3000);
    EXPECT_EQ(a.VBR.ID, "Info");
    EXPECT_EQ(a.Frames(), 39);
    // Just inside the reach.
    const std::string edge(kMpegJunkReach - 200, 'j');
    a = Analyse(dir, edge + Frames(h, kLength128, 3), 0, 0);
    EXPECT_EQ(a.Frame.Position, static_cast<std::int64_t>(edge.size()));

    // Junk beyond the reach: the frame is found in the middle window, and its position is
    // counted from that window.
    const std::string farJunk(kMpegJunkReach + 2000, 'j');
    stream = Frames(h, kLength128, 400);
    a = Analyse(dir, farJunk + stream, 0, 0);
    ASSERT_TRUE(a.Frame.Found);
    const std::size_t middle = (farJunk.size() + stream.size()) / 2;
    const std::size_t inFrame = (middle - farJunk.size()) % kLength128;
    EXPECT_EQ(a.Frame.Position, static_cast<std::int64_t>(inFrame ? kLength128 - inFrame : 0));

    // The middle of the stream, not of the file: a large tag in front does not hide it.
    const std::string bigTag(20000, 't');
    a = Analyse(dir, bigTag + farJunk + stream, bigTag.size(), 0);
    ASSERT_TRUE(a.Frame.Found);
    EXPECT_EQ(a.Frame.Position, static_cast<std::int64_t>(inFrame ? kLength128 - inFrame : 0));

    // With a VBR header the end of the file is not searched.
    std::string vbr = Frame(h, kLength128, XingBody(36, "Xing", 1, Be32(19) + "LAME3.100"));
    vbr += Frames(h, kLength128, 19) + "GOGO" + std::string(4, 'U');
    a = Analyse(dir, vbr, 0, 0);
    EXPECT_EQ(a.VBR.VendorID, "LAME3.100");
    EXPECT_EQ(a.VendorID, "");

    // Nothing that looks like audio.
    a = Analyse(dir, std::string(10000, 'j'), 0, 0);
    EXPECT_FALSE(a.Frame.Found);
    a = Analyse(dir, "", 0, 0);
    EXPECT_FALSE(a.Frame.Found);
    EXPECT_EQ(a.AudioBytes, 0u);
}

}  // namespace
}  // namespace sonarchive::formats
