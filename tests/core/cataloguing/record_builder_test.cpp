#include "cataloguing/record_builder.h"

#include <gtest/gtest.h>

#include "catalog_store/sql_text.h"
#include "cataloguing/technical_panels.h"
#include "format_bytes.h"
#include "formats/ape_tag.h"
#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "support/test_support.h"

namespace sonarchive::cataloguing {
namespace {

namespace bytes = sonarchive::formats::testing;
using catalog::TCommentInfoType;
using catalog::TEncoderInfoType;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

// 100 frames of MPEG 1 Layer III, 128 kbit/s, 44100 Hz: a 2.6-second stream.
std::string MpegStream() {
    bytes::HeaderBits header;
    header.crc = true;
    header.original = true;
    return bytes::Frames(header, 417, 100);
}

void TagWithId3v2(const std::string& path, const std::string& title, const std::string& year) {
    formats::TID3v2 tag;
    tag.SetTitle(title);
    tag.SetArtist("v2 artist");
    tag.SetComposer("v2 composer");
    tag.SetYear(year);
    tag.SetTrack(4);
    ASSERT_TRUE(tag.Write(path)) << tag.LastError();
}

void TagWithId3v1(const std::string& path, const std::string& title, const std::string& year,
                  std::uint8_t genre = 17) {
    formats::TID3v1 tag;
    tag.SetTitle(title);
    tag.SetYear(year);
    tag.SetTrack(9);
    tag.SetGenreIndex(genre);
    ASSERT_TRUE(tag.Write(path)) << tag.LastError();
}

void TagWithApe(const std::string& path, const std::string& title) {
    formats::TAPEtag tag;
    tag.SetTitle(title);
    tag.SetCopyright("(c) ape");
    ASSERT_TRUE(tag.Write(path)) << tag.LastError();
}

class RecordBuilderTest : public ::testing::Test {
protected:
    std::string Mp3WithBothTags() {
        const std::string path = dir / "both.mp3";
        WriteBytes(path, MpegStream());
        TagWithId3v2(path, "from v2", "");
        TagWithId3v1(path, "from v1", "1987");
        return path;
    }

    // A Monkey's Audio file of the old layout: 44.1 kHz stereo, 16 bits, 10 frames.
    std::string MonkeyFile(const std::string& name) {
        const std::string path = dir / name;
        WriteBytes(path, bytes::MonkeyOldHeader(3970, 2000, 0, 2, 44100, 10, 1000) +
                             std::string(4000, '\x11'));
        return path;
    }

    TempDir dir;
    TCommentInfoType tags;
    TEncoderInfoType stream;
};

TEST_F(RecordBuilderTest, Mp3TakesTheStreamFromTheFirstFrameAndTheTagByPreference) {
    const std::string path = Mp3WithBothTags();
    ASSERT_TRUE(ReadMP3File(path, {0, 0, false}, tags, stream));
    EXPECT_EQ(stream.Version, 3);
    EXPECT_EQ(stream.Layer, 1);
    EXPECT_EQ(stream.Bitrate, 128);
    EXPECT_EQ(stream.SampleRate, 44100);
    EXPECT_EQ(stream.ChannelMode, 1);
    EXPECT_EQ(stream.CRC, 1);
    EXPECT_EQ(stream.Original, 1);
    EXPECT_EQ(stream.Copyright, 0);
    EXPECT_NEAR(stream.Duration, 2.6, 0.05);
    // ID3v2 wins whole: its empty year is not filled from ID3v1.
    EXPECT_EQ(tags.Title, "from v2");
    EXPECT_EQ(tags.Year, "");
    EXPECT_EQ(tags.Composer, "v2 composer");
    EXPECT_EQ(tags.Track, 4);

    for (const std::int64_t preference : {1, 5}) {
        TCommentInfoType v1;
        TEncoderInfoType ignored;
        ASSERT_TRUE(ReadMP3File(path, {preference, 0, false}, v1, ignored));
        EXPECT_EQ(v1.Title, "from v1");
        EXPECT_EQ(v1.Year, "1987");
        EXPECT_EQ(v1.Genre, "Rock");
        EXPECT_EQ(v1.Track, 9);
        EXPECT_EQ(v1.Composer, "");  // an ID3v1 winner has no composer
    }
}

TEST_F(RecordBuilderTest, AnEmptyId3v2TagStillWins) {
    const std::string path = dir / "empty-v2.mp3";
    WriteBytes(path, bytes::Id3v2Tag(512) + MpegStream());
    TagWithId3v1(path, "v1 only", "2001");
    ASSERT_TRUE(ReadMP3File(path, {}, tags, stream));
    EXPECT_EQ(tags.Title, "");
    EXPECT_EQ(tags.Year, "");
    TCommentInfoType fromV1;
    EXPECT_TRUE(ReadID3v1Tag(path, fromV1));
    EXPECT_EQ(fromV1.Title, "v1 only");
    EXPECT_TRUE(ReadID3v2Tag(path, fromV1));
    EXPECT_FALSE(ReadAPETag(path, fromV1));
    EXPECT_FALSE(ReadOggTag(path, fromV1));
}

TEST_F(RecordBuilderTest, Mp3WithoutAStreamIsRejectedWithItsTagsUnread) {
    const std::string path = dir / "tags-only.mp3";
    WriteBytes(path, std::string(3000, '\0'));
    TagWithId3v2(path, "orphan", "1999");
    EXPECT_FALSE(ReadMP3File(path, {}, tags, stream));
    EXPECT_EQ(tags.Title, "");
    EXPECT_FALSE(ReadFileOfFormat(path, catalog::kFormatMp3, {}, tags, stream));
    EXPECT_TRUE(ReadFileOfFormat(dir / "notes.txt", catalog::kFormatOther, {}, tags, stream));
}

TEST_F(RecordBuilderTest, Id3v1GenreOutsideTheTableIsEmpty) {
    const std::string path = dir / "genre.mp3";
    WriteBytes(path, MpegStream());
    TagWithId3v1(path, "g", "1999", 255);
    ASSERT_TRUE(ReadMP3File(path, {1, 0, false}, tags, stream));
    EXPECT_EQ(tags.Genre, "");
    EXPECT_EQ(tags.Year, "1999");
}

TEST_F(RecordBuilderTest, MonkeyTagsFollowTheirChain) {
    const std::string v1Only = MonkeyFile("v1.ape");
    TagWithId3v1(v1Only, "v1", "");
    ASSERT_TRUE(ReadMonkeyFile(v1Only, {0, 0, false}, tags, stream));
    EXPECT_EQ(tags.Title, "v1");  // APE and ID3v2 tried first, absent
    EXPECT_EQ(stream.Version, 3970);
    EXPECT_EQ(stream.Bitrate, 16);
    EXPECT_EQ(stream.SampleRate, 44100);
    EXPECT_EQ(stream.ChannelMode, 2);
    EXPECT_EQ(stream.Frames, 10);
    EXPECT_EQ(stream.EncoderName, "1000");

    const std::string apeAndV1 = MonkeyFile("both.mac");
    TagWithApe(apeAndV1, "ape");
    TagWithId3v1(apeAndV1, "v1", "");
    const auto titleWith = [&](std::int64_t preference) {
        TCommentInfoType t;
        TEncoderInfoType s;
        EXPECT_TRUE(ReadMonkeyFile(apeAndV1, {0, preference, false}, t, s));
        return t.Title;
    };
    EXPECT_EQ(titleWith(0), "ape");
    EXPECT_EQ(titleWith(1), "v1");
    EXPECT_EQ(titleWith(2), "ape");  // no ID3v2: APE comes next
    EXPECT_EQ(titleWith(3), "");     // any other value reads no tag

    const std::string broken = dir / "broken.ape";
    WriteBytes(broken, "MAC " + std::string(10, '\0'));
    EXPECT_FALSE(ReadMonkeyFile(broken, {}, tags, stream));
}

TEST_F(RecordBuilderTest, WavFillsItsOwnQuantitiesAndNoTags) {
    std::string format;
    format += std::string("\x01\x00\x02\x00", 4);       // PCM, 2 channels
    format += bytes::Le32(22050) + bytes::Le32(88200);  // rate, bytes per second
    format += std::string("\x04\x00\x10\x00", 4);       // block align 4, 16 bits
    const std::string body = "WAVE" + bytes::RiffChunk("fmt ", format) +
                             bytes::RiffChunk("data", std::string(88200, '\0'));
    const std::string path = dir / "tone.wav";
    WriteBytes(path, "RIFF" + bytes::Le32(static_cast<std::uint32_t>(body.size())) + body);
    ASSERT_TRUE(ReadWAVFile(path, tags, stream));
    EXPECT_EQ(stream.Layer, 4);
    EXPECT_EQ(stream.Version, 1);
    EXPECT_EQ(stream.Bitrate, 16);
    EXPECT_EQ(stream.SampleRate, 22050);
    EXPECT_EQ(stream.ChannelMode, 2);
    EXPECT_EQ(stream.Frames, 88200);
    EXPECT_NEAR(stream.Duration, 1.0, 1e-9);
    EXPECT_EQ(stream.EncoderName, "");
}

TEST_F(RecordBuilderTest, RereadIgnoresTheMp3PreferenceAndKeepsTheIdentity) {
    const std::string path = Mp3WithBothTags();
    catalog::TMainDataRecComplete record;
    record.Id = 12;
    record.dPath = "/x.mp3";
    record.dDriveSerialNumber = "ABCD1234";
    record.dTitle = "stale";
    record.dLink = "stale link";
    record.dMPEGBitrate = 999;
    ASSERT_TRUE(RereadFileRecord(path, {1, 0, false}, record));
    EXPECT_EQ(record.Id, 12);
    EXPECT_EQ(record.dPath, "/x.mp3");
    EXPECT_EQ(record.dDriveSerialNumber, "ABCD1234");
    EXPECT_EQ(record.dTitle, "from v2");
    EXPECT_EQ(record.dLink, "");
    EXPECT_EQ(record.dYear, 0);
    EXPECT_EQ(record.dMPEGBitrate, 128);
    EXPECT_TRUE(record.dMPEGCRC);

    const std::string v1 = dir / "v1.mp3";
    WriteBytes(v1, MpegStream());
    TagWithId3v1(v1, "only v1", "1998");
    ASSERT_TRUE(RereadFileRecord(v1, {}, record));
    EXPECT_EQ(record.dTitle, "only v1");
    EXPECT_EQ(record.dYear, 1998);
    EXPECT_EQ(record.dGenre, "Rock");

    const std::string lettered = dir / "lettered.mp3";
    WriteBytes(lettered, MpegStream());
    TagWithId3v2(lettered, "x", "1999b");
    ASSERT_TRUE(RereadFileRecord(lettered, {}, record));
    EXPECT_EQ(record.dYear, 0);

    EXPECT_FALSE(RereadFileRecord(dir / "missing.mp3", {}, record));
    EXPECT_EQ(record.dTitle, "");  // cleared before the failed read
}

TEST(TechnicalPanels, WordEachFormatsFigures) {
    catalog::TMainDataRec mp3;
    mp3.dFormat = 2;
    mp3.dMPEGVersion = 3;
    mp3.dMPEGLayer = 1;
    mp3.dMPEGBitrate = 192;
    mp3.dMPEGFrequency = 44100;
    mp3.dChannelMode = 1;
    mp3.dLength = 182.5;
    mp3.dMPEGFrames = 6987;
    mp3.dMPEGCRC = true;
    mp3.dMPEGEncoder = "LAME 3.100";
    const TechnicalPanel panel = TechnicalPanelFor(mp3);
    EXPECT_EQ(panel.name, "PMPEGInfo");
    ASSERT_EQ(panel.lines.size(), 11u);
    EXPECT_EQ(panel.lines[0].caption, "MPEG type");
    EXPECT_EQ(panel.lines[0].value, "MPEG 1 Layer III");
    EXPECT_EQ(panel.lines[2].value, "44100 Hz");
    EXPECT_EQ(panel.lines[3].value, "Joint Stereo");
    EXPECT_EQ(panel.lines[4].value, "182 seconds");  // ties go to the even second
    EXPECT_EQ(panel.lines[6].value, "Yes");
    EXPECT_EQ(panel.lines[7].value, "No");
    EXPECT_EQ(panel.lines[10].valueLabel, "LEncoder");

    catalog::TMainDataRec monkey;
    monkey.dFormat = 13;
    monkey.dMPEGVersion = 3970;
    monkey.dChannelMode = 3;
    monkey.dMPEGEncoder = "73728";
    monkey.dMPEGEmphasis = 4;  // the peak level is stored
    monkey.dMPEGLayer = 16384;
    const TechnicalPanel m = TechnicalPanelFor(monkey);
    EXPECT_EQ(m.name, "pMonkeyEncoding");
    EXPECT_EQ(m.lines[0].value, "3.97");
    EXPECT_EQ(m.lines[3].value, "Unknown");
    EXPECT_EQ(m.lines[6].value, "73728");
    EXPECT_EQ(m.lines[7].value, "50.00% - 16384");
    monkey.dMPEGEmphasis = 0;
    monkey.dMPEGVersion = 0;
    EXPECT_EQ(TechnicalPanelFor(monkey).lines[7].value, "00.00% - 16384");
    EXPECT_EQ(TechnicalPanelFor(monkey).lines[0].value, "");

    catalog::TMainDataRec wav;
    wav.dFormat = 5;
    wav.dMPEGVersion = 1;
    wav.dChannelMode = 1;
    wav.dMPEGLayer = 2;
    wav.dLength = 3.5;
    const TechnicalPanel w = TechnicalPanelFor(wav);
    EXPECT_EQ(w.name, "PWaveEncoding");
    EXPECT_EQ(w.lines[0].value, "Windows PCM");
    EXPECT_EQ(w.lines[3].value, "Mono");
    EXPECT_EQ(w.lines[4].value, "4 seconds");
    EXPECT_EQ(w.lines[6].value, "2 bytes");

    catalog::TMainDataRec ogg;
    ogg.dFormat = 11;
    ogg.dChannelMode = 2;
    EXPECT_EQ(TechnicalPanelFor(ogg).lines[2].value, "Stereo");
    catalog::TMainDataRec other;
    other.dFormat = 255;
    EXPECT_TRUE(TechnicalPanelFor(other).lines.empty());
}

}  // namespace
}  // namespace sonarchive::cataloguing
