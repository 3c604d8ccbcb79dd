#include "tags/tag_write.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "formats/ape_tag.h"
#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "formats/ogg_vorbis.h"
#include "id3v2_bytes.h"
#include "ogg_test_files.h"
#include "tags/tag_types.h"
#include "tags_test_files.h"

namespace sonarchive::tags {
namespace {

namespace bytes = formats::testing;
namespace v2 = sonarchive::testing::id3v2;
using catalog::TCommentInfoType;
using namespace std::string_literals;
using sonarchive::testing::LongestFileName;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;
using testing::AgedSnapshot;
using testing::MpegAudio;
using testing::Snapshot;

TCommentInfoType Values(const std::string& text, int track = 0) {
    TCommentInfoType values;
    values.Title = values.Artist = values.Album = values.Comment = text;
    values.Composer = values.Copyright = values.Encoder = values.Language = values.Link = text;
    values.Genre = "Jazz";
    values.Year = "1999";
    values.Track = track;
    return values;
}

class TagWriteTest : public ::testing::Test {
protected:
    // Every write here must fail and leave the file as it was.
    void ExpectRefused(int tagType, const TCommentInfoType& values, std::string_view selector) {
        const auto before = AgedSnapshot(path);
        const TagWriteResult result = WriteTag(path, tagType, values, selector, true);
        EXPECT_FALSE(result) << selector;
        EXPECT_FALSE(result.reason.empty()) << selector;
        EXPECT_TRUE(Snapshot(path) == before) << selector;
    }

    TempDir dir;
    std::string path = dir / "song.mp3";
};

TEST_F(TagWriteTest, Id3v1CutsItsTextsAndTakesGenresOnlyFromItsTable) {
    formats::TID3v1 old;
    old.SetGenreIndex(17);
    old.SetComment("old comment");
    WriteBytes(path, MpegAudio());
    ASSERT_TRUE(old.Write(path));

    // All fields: a genre the table lacks keeps the old byte, and the write succeeds.
    TCommentInfoType values = Values(std::string(35, 'x') + "  ", 9);
    values.Genre = "Krautrock";
    values.Year = "19999";
    ASSERT_TRUE(WriteTag(path, kTagId3v1, values, "", true));
    formats::TID3v1 tag;
    ASSERT_TRUE(tag.Read(path));
    EXPECT_EQ(tag.GenreIndex(), 17);
    EXPECT_EQ(tag.Title(), std::string(30, 'x'));
    EXPECT_EQ(tag.Year(), "1999");
    EXPECT_EQ(tag.Track(), 9);
    EXPECT_EQ(ReadBytes(path).substr(0, MpegAudio().size()), MpegAudio());

    values.Genre = "jazz";  // found whatever its case
    ASSERT_TRUE(WriteTag(path, kTagId3v1, values, "", true));
    ASSERT_TRUE(tag.Read(path));
    EXPECT_EQ(tag.GenreIndex(), 8);
    values.Genre = "";
    ASSERT_TRUE(WriteTag(path, kTagId3v1, values, "", true));
    ASSERT_TRUE(tag.Read(path));
    EXPECT_EQ(tag.GenreIndex(), 8);

    // One field: only that field changes.
    TCommentInfoType comment;
    comment.Comment = "new";
    ASSERT_TRUE(WriteTag(path, kTagId3v1, comment, "DCOMMENT", true));
    ASSERT_TRUE(tag.Read(path));
    EXPECT_EQ(tag.Comment(), "new");
    EXPECT_EQ(tag.Title(), std::string(30, 'x'));

    values.Genre = "Krautrock";
    ExpectRefused(kTagId3v1, values, "DGENRE");
    ExpectRefused(kTagId3v1, Values("x", 256), "DTRACK");
    ExpectRefused(kTagId3v1, Values("x", 256), "");
    ExpectRefused(kTagId3v1, Values("x", -1), "");
    ExpectRefused(kTagId3v1, values, "DCOPYRIGHT");
    ExpectRefused(kTagId3v1, values, "DPATH");
}

TEST_F(TagWriteTest, Id3v2TakesEveryFieldAndKeepsTheFramesItDoesNotShow) {
    const std::string picture = v2::Frame23("APIC", "\0image/png\0\3\0\x89PNG"s);
    const std::string lyrics = v2::Frame23("USLT", "\0engla la la"s);
    WriteBytes(path, v2::Tag(3, v2::Frame23("TIT2", v2::Text("Old")) + picture + lyrics, 512) +
                         MpegAudio());
    ASSERT_TRUE(WriteTag(path, kTagId3v2, Values("New", 300), "", true));
    formats::TID3v2 tag;
    ASSERT_TRUE(tag.Read(path));
    EXPECT_EQ(tag.Fields(), (formats::Id3v2Fields{"New", "New", "New", 300, "1999", "Jazz", "New",
                                                  "New", "New", "New", "New", "New"}));
    const std::string written = ReadBytes(path);
    EXPECT_NE(written.find(picture), std::string::npos);
    EXPECT_NE(written.find(lyrics), std::string::npos);
    EXPECT_EQ(written.substr(tag.Size()), MpegAudio());

    TCommentInfoType track;
    track.Track = 7;
    ASSERT_TRUE(WriteTag(path, kTagId3v2, track, "DTRACK", true));
    ASSERT_TRUE(tag.Read(path));
    EXPECT_EQ(tag.Track(), 7);
    EXPECT_EQ(tag.Title(), "New");
    EXPECT_NE(ReadBytes(path).find(v2::Frame23("TRCK", v2::Text("7"))), std::string::npos);

    ExpectRefused(kTagId3v2, Values("x", 65536), "DTRACK");
    ExpectRefused(kTagId3v2, Values("x", 65536), "");
}

TEST_F(TagWriteTest, TheVorbisCommentKeepsItsDateAndTheFieldsItDoesNotShow) {
    path = dir / "song.ogg";
    sonarchive::testing::TestOggVorbis layout;
    layout.fields = {"TITLE=Old", "DATE=1987-05-01", "REPLAYGAIN_TRACK_GAIN=-3.10 dB"};
    WriteBytes(path, sonarchive::testing::MakeOggVorbis(layout));

    ASSERT_TRUE(WriteTag(path, kTagOgg, Values("New", 12), "", true));
    formats::TOggVorbis ogg;
    ASSERT_TRUE(ogg.Read(path));
    EXPECT_EQ(ogg.Title(), "New");
    EXPECT_EQ(ogg.Genre(), "Jazz");
    EXPECT_EQ(ogg.Track(), 12);
    EXPECT_EQ(ogg.Date(), "1987-05-01");
    EXPECT_NE(ReadBytes(path).find("REPLAYGAIN_TRACK_GAIN=-3.10 dB"), std::string::npos);

    ExpectRefused(kTagOgg, Values("x"), "DYEAR");
    ExpectRefused(kTagOgg, Values("x"), "DCOMPOSER");
    ExpectRefused(kTagOgg, Values("x", 65536), "");
}

TEST_F(TagWriteTest, OneApeFieldChangesAloneAndBinaryItemsStay) {
    path = dir / "song.ape";
    const std::string cover = bytes::ApeItem("Cover Art (Front)", "c.jpg\0\xff\xd8"s, 2);
    WriteBytes(
        path,
        "MAC " + std::string(400, '\x11') +
            bytes::ApeTag(1000,
                          bytes::ApeItem("Title", "T") + bytes::ApeItem("Artist", "A") + cover, 3));
    TCommentInfoType copyright;
    copyright.Copyright = "(c) 2001";
    ASSERT_TRUE(WriteTag(path, kTagApe, copyright, "DCOPYRIGHT", true));
    formats::TAPEtag tag;
    ASSERT_TRUE(tag.Read(path));
    EXPECT_EQ(tag.Copyright(), "(c) 2001");
    EXPECT_EQ(tag.Title(), "T");
    EXPECT_EQ(tag.Artist(), "A");
    EXPECT_NE(ReadBytes(path).find(cover), std::string::npos);

    ExpectRefused(kTagApe, Values("x", 256), "DTRACK");
    ExpectRefused(kTagApe, Values("x"), "DLINK");
}

TEST_F(TagWriteTest, AFailedOrImpossibleWriteLeavesTheFileAsItWas) {
    // The new frames do not fit: the file must be rebuilt, and no temporary copy can be made
    // beside a name as long as the system allows.
    path = LongestFileName(dir, ".mp3");
    WriteBytes(path, v2::Tag(3, v2::Frame23("TIT2", v2::Text("Title"))) + MpegAudio());
    ExpectRefused(kTagId3v2, Values(std::string(300, 'n')), "");

    ExpectRefused(kTagNone, Values("x"), "");
    ExpectRefused(7, Values("x"), "");
    // A file too short for an ID3v1 tag.
    WriteBytes(path, "short");
    ExpectRefused(kTagId3v1, Values("x"), "");

    const std::string missing = dir / "missing.mp3";
    EXPECT_FALSE(WriteTag(missing, kTagId3v2, Values("x"), "", true));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(TagWriteTest, AMissingTagStartsFromWhatTheFileShowed) {
    formats::TID3v1 v1;
    v1.SetTitle("From v1");
    v1.SetArtist("Artist v1");
    WriteBytes(path, MpegAudio());
    ASSERT_TRUE(v1.Write(path));
    int seeds = 0;
    const auto seed = [&seeds] {
        ++seeds;
        TCommentInfoType shown;
        shown.Title = "From v1";
        shown.Artist = "Artist v1";
        shown.Track = 70000;  // more than the new tag holds: left out
        return shown;
    };
    TCommentInfoType album;
    album.Album = "New album";
    ASSERT_TRUE(WriteTagField(path, kTagId3v2, album, "DALBUM", seed));
    formats::TID3v2 tag;
    ASSERT_TRUE(tag.Read(path));
    EXPECT_EQ(tag.Title(), "From v1");
    EXPECT_EQ(tag.Artist(), "Artist v1");
    EXPECT_EQ(tag.Album(), "New album");
    EXPECT_EQ(tag.Track(), 0);
    EXPECT_EQ(seeds, 1);

    // Once the tag is there, the file's own fields are kept and nothing is seeded.
    album.Album = "Other";
    ASSERT_TRUE(WriteTagField(path, kTagId3v2, album, "DALBUM", seed));
    ASSERT_TRUE(tag.Read(path));
    EXPECT_EQ(tag.Title(), "From v1");
    EXPECT_EQ(tag.Album(), "Other");
    EXPECT_EQ(seeds, 1);
}

}  // namespace
}  // namespace sonarchive::tags
