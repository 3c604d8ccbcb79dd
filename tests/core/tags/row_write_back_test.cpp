#include "tags/row_write_back.h"

#include <gtest/gtest.h>

#include "formats/ape_tag.h"
#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "tags/tag_types.h"
#include "tags/tag_write.h"
#include "tags_catalog_fixture.h"
#include "tags_test_files.h"

namespace sonarchive::tags {
namespace {

using catalog::TCommentInfoType;
using sonarchive::testing::WriteBytes;
using testing::MpegAudio;

class RowWriteBackTest : public testing::TagsCatalogTest {};

TEST_F(RowWriteBackTest, TagsCanBeEditedInMp3OggAndMonkeyFilesThatCanBeReachedNow) {
    mounts.Add("/media/stick", "5555AAAA", "Removable");
    mounts.AddNetwork("/mnt/share", "//srv/music");
    EXPECT_TRUE(CanEditTags(rules, catalog::kFormatMp3, "5555AAAA", "/a.mp3"));
    EXPECT_TRUE(CanEditTags(rules, catalog::kFormatOgg, "5555AAAA", "/a.ogg"));
    EXPECT_TRUE(CanEditTags(rules, catalog::kFormatMonkey, "5555AAAA", "/a.ape"));
    EXPECT_FALSE(CanEditTags(rules, catalog::kFormatWav, "5555AAAA", "/a.wav"));
    EXPECT_FALSE(CanEditTags(rules, catalog::kFormatMp3, "77777777", "/a.mp3"));  // not mounted
    // A network row through the mount of its share; a share not mounted here cannot be edited.
    EXPECT_TRUE(CanEditTags(rules, catalog::kFormatMp3, "//srv", "//srv/music/a.mp3"));
    EXPECT_FALSE(CanEditTags(rules, catalog::kFormatMp3, "//other", "//other/music/a.mp3"));
}

TEST_F(RowWriteBackTest, TheStatementStoresWhatAnInsertWould) {
    TCommentInfoType values;
    values.Title = std::string(60, 't');
    values.Artist = "O'Brien";
    values.Album = "Alb\u00fcm";
    values.Comment = std::string(260, 'c');
    values.Genre = std::string(30, 'g');
    values.Year = "199x";
    values.Track = 40000;
    values.Copyright = "(c)";
    values.Encoder = "enc";
    values.Composer = "comp";
    values.Language = "eng";
    values.Link = "http://x";
    const std::string common = "update maindata set dYear=0,dTrack=32000,dTitle='" +
                               std::string(50, 't') + "',dArtist='O''Brien',dAlbum='Alb\u00fcm'," +
                               "dComment='" + std::string(250, 'c') + "',dGenre='" +
                               std::string(25, 'g') + "'";
    EXPECT_EQ(EditRowTagsStatement(kTagId3v2, values, 12),
              common +
                  ",dCopyright='(c)',dEncoder='enc',dComposer='comp',dLanguage='eng',"
                  "dLink='http://x' where id =12");
    EXPECT_EQ(EditRowTagsStatement(kTagApe, values, 12), common + ",dCopyright='(c)' where id =12");
    EXPECT_EQ(EditRowTagsStatement(kTagId3v1, values, 12), common + " where id =12");
    EXPECT_EQ(EditRowTagsStatement(kTagOgg, values, 12), common + " where id =12");

    values.Year = "2004";
    values.Track = 7;
    EXPECT_EQ(EditRowTagsStatement(kTagOgg, values, 3).substr(0, 38),
              "update maindata set dYear=2004,dTrack=");
}

TEST_F(RowWriteBackTest, TheRowTakesTheTagAsTheFileHoldsIt) {
    const std::string path = dir / "song.mp3";
    WriteBytes(path, MpegAudio());
    const std::int64_t id = AddRow(path, catalog::kFormatMp3);
    const std::int64_t other = AddRow(dir / "other.mp3", catalog::kFormatMp3, "Untouched");
    TCommentInfoType values;
    values.Title = "  New title  ";
    values.Artist = "New artist";
    values.Year = "2001";
    values.Track = 5;
    values.Genre = "Jazz";
    values.Composer = "Composer";
    ASSERT_TRUE(WriteTag(path, kTagId3v2, values, "", true));

    int staleNotes = 0;
    catalog.Events().Subscribe([&staleNotes](catalog::CatalogChange change) {
        staleNotes += change == catalog::CatalogChange::PickListsStale ? 1 : 0;
    });
    const auto read = WriteBackEditedTags(catalog, id, path, kTagId3v2);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Title, "New title");
    EXPECT_EQ(staleNotes, 1);
    const catalog::TMainDataRecComplete row = Row(id);
    EXPECT_EQ(row.dTitle, "New title");
    EXPECT_EQ(row.dArtist, "New artist");
    EXPECT_EQ(row.dAlbum, "");
    EXPECT_EQ(row.dComment, "");
    EXPECT_EQ(row.dYear, 2001);
    EXPECT_EQ(row.dTrack, 5);
    EXPECT_EQ(row.dGenre, "Jazz");
    EXPECT_EQ(row.dComposer, "Composer");
    EXPECT_EQ(Row(other).dTitle, "Untouched");

    // ID3v1 leaves the columns it has no field for alone; its genre is the table's name.
    formats::TID3v1 v1;
    v1.SetTitle("Short");
    v1.SetGenreIndex(8);
    ASSERT_TRUE(v1.Write(path));
    ASSERT_TRUE(WriteBackEditedTags(catalog, id, path, kTagId3v1));
    EXPECT_EQ(Row(id).dTitle, "Short");
    EXPECT_EQ(Row(id).dGenre, "Jazz");
    EXPECT_EQ(Row(id).dComposer, "Composer");
}

TEST_F(RowWriteBackTest, ATagThatCannotBeReadBackLeavesTheRowAsItWas) {
    const std::string path = dir / "song.mp3";
    WriteBytes(path, MpegAudio());  // no ID3v2 tag, no APE tag
    const std::int64_t id = AddRow(path, catalog::kFormatMp3);
    RecordStatements("update");
    EXPECT_FALSE(WriteBackEditedTags(catalog, id, path, kTagId3v2));
    EXPECT_FALSE(WriteBackEditedTags(catalog, id, path, kTagApe));
    EXPECT_FALSE(WriteBackEditedTags(catalog, id, dir / "gone.mp3", kTagOgg));
    EXPECT_FALSE(WriteBackEditedTags(catalog, id, path, kTagNone));
    EXPECT_TRUE(statements.empty());
    EXPECT_EQ(Row(id).dTitle, "Old");
}

}  // namespace
}  // namespace sonarchive::tags
