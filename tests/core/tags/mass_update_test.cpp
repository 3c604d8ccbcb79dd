#include "tags/mass_update.h"

#include <gtest/gtest.h>

#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "ogg_test_files.h"
#include "tags_catalog_fixture.h"
#include "tags_test_files.h"

namespace sonarchive::tags {
namespace {

namespace bytes = formats::testing;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::WriteBytes;
using testing::MpegAudio;

class MassUpdateTest : public testing::TagsCatalogTest {
protected:
    MassUpdateTest() {
        general.ConfirmMassUpdate = false;
        observer.message = [this](const std::string& line) { memo.push_back(line); };
    }

    // `count` MP3 files with an ID3v1 tag, or an ID3v2 tag, and a row each.
    catalog::IdList Mp3Rows(int count, bool id3v2) {
        catalog::IdList ids;
        for (int i = 0; i < count; ++i) {
            const std::string path = dir / ("song" + std::to_string(i) + ".mp3");
            WriteBytes(path, MpegAudio());
            if (id3v2) {
                formats::TID3v2 tag;
                tag.SetTitle("Title " + std::to_string(i));
                tag.SetYear("1999");
                EXPECT_TRUE(tag.Write(path));
            } else {
                formats::TID3v1 tag;
                tag.SetTitle("Title " + std::to_string(i));
                tag.SetGenreIndex(17);
                EXPECT_TRUE(tag.Write(path));
            }
            ids.push_back(AddRow(path, catalog::kFormatMp3));
        }
        return ids;
    }

    ModifyReport Modify(const std::string& field, const std::string& text, std::int64_t number,
                        bool synchronised) {
        return update.Modify(FindMassUpdateField(field), text, number, synchronised, observer);
    }

    std::int64_t Count(const std::string& condition) {
        catalog::Query query(catalog.Engine(), "select count(*) from maindata where " + condition);
        return query[0].AsInteger();
    }

    TagMassUpdate update{catalog, rules, user, registry, general};
    MassUpdateObserver observer;
    std::vector<std::string> memo;
};

TEST_F(MassUpdateTest, TheFieldListAndHowFieldsAreNamed) {
    std::vector<std::string> captions;
    for (const MassUpdateField& field : MassUpdateFields()) {
        captions.push_back(field.caption);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Album", "Artist", "Comment", "Composer",
                                                  "Copyright", "Encoder", "Genre", "Language",
                                                  "Link", "Title", "Track", "Year"}));
    EXPECT_EQ(FindMassUpdateField("album"), 0u);
    EXPECT_EQ(FindMassUpdateField("DALBUM"), 0u);
    EXPECT_EQ(FindMassUpdateField("dYear"), 11u);
    EXPECT_FALSE(FindMassUpdateField("dPath"));
    EXPECT_FALSE(FindMassUpdateField("Bit rate"));
    EXPECT_TRUE(MassUpdateFields()[10].IsNumber());
    EXPECT_EQ(LargestNumberOf(MassUpdateFields()[10]), 32000);
    EXPECT_EQ(LargestNumberOf(MassUpdateFields()[11]), 9999);
}

TEST_F(MassUpdateTest, SynchronisedAGenreId3v1CannotHoldChangesNoFileAndNoRow) {
    general.Mp3PrimaryTag = 1;
    const catalog::IdList ids = Mp3Rows(120, false);
    const std::string firstFile = ReadBytes(dir / "song0.mp3");
    update.Load(ids);
    ASSERT_EQ(update.Rows().size(), 120u);
    RecordStatements("update");

    const ModifyReport report = Modify("Genre", "Krautrock", 0, true);
    EXPECT_EQ(report.outcome, ModifyOutcome::Done);
    ASSERT_EQ(memo.size(), 120u);
    for (std::size_t i = 0; i < memo.size(); ++i) {
        EXPECT_EQ(memo[i], "Couldn't write to file: " + update.Rows()[i].dPath);
    }
    EXPECT_TRUE(statements.empty());
    EXPECT_EQ(Count("dGenre = 'Rock'"), 120);
    EXPECT_EQ(ReadBytes(dir / "song0.mp3"), firstFile);
    EXPECT_FALSE(report.Changed());
}

TEST_F(MassUpdateTest, TheDefaultModeUpdatesEveryRowInStatementsOfFiftyIds) {
    general.Mp3PrimaryTag = 1;
    const catalog::IdList ids = Mp3Rows(120, false);
    update.Load(ids);
    RecordStatements("update");
    const ModifyReport report = Modify("Genre", "Krautrock", 0, false);
    EXPECT_TRUE(memo.empty());
    EXPECT_EQ(Count("dGenre = 'Krautrock'"), 120);
    ASSERT_EQ(statements.size(), 3u);
    const std::size_t batches[] = {50, 50, 20};
    std::size_t row = 0;
    for (std::size_t b = 0; b < 3; ++b) {
        std::string list;
        for (std::size_t i = 0; i < batches[b]; ++i, ++row) {
            list += (i == 0 ? "" : ",") + std::to_string(update.Rows()[row].Id);
        }
        EXPECT_EQ(statements[b],
                  "update maindata set dGenre = 'Krautrock' where id in (" + list + ")");
    }
    EXPECT_EQ(report.TagsWritten(), 0u);
    EXPECT_TRUE(report.Changed());
    EXPECT_EQ(report.rows[0].message, "Couldn't write to file: " + update.Rows()[0].dPath);
}

TEST_F(MassUpdateTest, TextsAreTrimmedQuotedAndCutOnceForTagsAndRows) {
    const catalog::IdList ids = Mp3Rows(2, true);
    update.Load(ids);
    RecordStatements("update");
    Modify("Artist", "  O'Brien \t", 0, true);
    EXPECT_TRUE(memo.empty());
    ASSERT_EQ(statements.size(), 1u);
    EXPECT_EQ(statements[0], "update maindata set dArtist = 'O''Brien' where id in (" +
                                 std::to_string(ids[0]) + "," + std::to_string(ids[1]) + ")");
    EXPECT_EQ(update.Rows()[0].dArtist, "O'Brien");  // the rows were loaded again
    formats::TID3v2 tag;
    ASSERT_TRUE(tag.Read(dir / "song1.mp3"));
    EXPECT_EQ(tag.Artist(), "O'Brien");
    EXPECT_EQ(tag.Title(), "Title 1");

    Modify("Genre", std::string(30, 'g'), 0, true);
    EXPECT_EQ(update.Rows()[0].dGenre, std::string(25, 'g'));
    ASSERT_TRUE(tag.Read(dir / "song1.mp3"));
    EXPECT_EQ(tag.Genre(), std::string(30, 'g'));
}

TEST_F(MassUpdateTest, NumbersGoIntoTrackAndYearAndAYearOfZeroClearsTheTagsYear) {
    const catalog::IdList ids = Mp3Rows(1, true);
    update.Load(ids);
    Modify("Track", "", 7, true);
    formats::TID3v2 tag;
    ASSERT_TRUE(tag.Read(dir / "song0.mp3"));
    EXPECT_EQ(tag.Track(), 7);
    EXPECT_EQ(update.Rows()[0].dTrack, 7);

    Modify("dyear", "", 0, true);
    ASSERT_TRUE(tag.Read(dir / "song0.mp3"));
    EXPECT_EQ(tag.Year(), "");
    EXPECT_EQ(tag.Track(), 7);
    EXPECT_EQ(update.Rows()[0].dYear, 0);
}

TEST_F(MassUpdateTest, RowsThatCannotBeWrittenAreReportedOnlyWhenSynchronised) {
    const catalog::IdList mp3 = Mp3Rows(1, true);
    const std::int64_t absent = AddRow("/Music/away.mp3", catalog::kFormatMp3, "Old", "DEADBEEF");
    const std::string wavPath = dir / "a.wav";
    WriteBytes(wavPath, "RIFF");
    const std::int64_t wav = AddRow(wavPath, catalog::kFormatWav);
    const std::string oggPath = dir / "a.ogg";
    WriteBytes(oggPath, sonarchive::testing::MakeOggVorbis({}));
    const std::int64_t ogg = AddRow(oggPath, catalog::kFormatOgg);
    update.Load({mp3[0], absent, wav, ogg});

    Modify("Composer", "Bach", 0, true);
    EXPECT_EQ(memo, (std::vector<std::string>{
                        "Couldn't write to file: /Music/away.mp3",
                        "Field not supported by current tag (): " + wavPath,
                        "Field not supported by current tag (Ogg tag): " + oggPath}));
    EXPECT_EQ(Count("dComposer = 'Bach'"), 1);

    // A WAV row's year is no failed write: WAV files hold no tag at all.
    memo.clear();
    Modify("Year", "", 2004, true);
    EXPECT_EQ(memo[1], "Field not supported by current tag (): " + wavPath);
    EXPECT_EQ(memo[2], "Field not supported by current tag (Ogg tag): " + oggPath);

    memo.clear();
    const ModifyReport report = Modify("Composer", "Bach", 0, false);
    EXPECT_TRUE(memo.empty());
    EXPECT_EQ(Count("dComposer = 'Bach'"), 4);
    EXPECT_EQ(report.TagsWritten(), 1u);
}

TEST_F(MassUpdateTest, AFileWithoutItsPrimaryTagGetsOneThatDiffersInTheChosenFieldOnly) {
    const std::string path = dir / "song.mp3";
    WriteBytes(path, bytes::Frames(bytes::HeaderBits{}, 417, 100));
    formats::TID3v1 v1;
    v1.SetTitle("v1 title");
    v1.SetArtist("v1 artist");
    v1.SetGenreIndex(8);
    ASSERT_TRUE(v1.Write(path));
    const std::int64_t id = AddRow(path, catalog::kFormatMp3);
    update.Load({id});
    Modify("Album", "New album", 0, true);
    formats::TID3v2 tag;
    ASSERT_TRUE(tag.Read(path));
    ASSERT_TRUE(tag.Exists());
    EXPECT_EQ(tag.Title(), "v1 title");
    EXPECT_EQ(tag.Artist(), "v1 artist");
    EXPECT_EQ(tag.Genre(), "Jazz");
    EXPECT_EQ(tag.Album(), "New album");
}

TEST_F(MassUpdateTest, CancelStopsBetweenFilesAndTheFilesDoneKeepTheirRows) {
    const catalog::IdList ids = Mp3Rows(10, true);
    update.Load(ids);
    user.CancelAfterChecks(4);
    const ModifyReport report = Modify("Title", "Cancelled run", 0, true);
    EXPECT_EQ(report.outcome, ModifyOutcome::Cancelled);
    ASSERT_EQ(report.rows.size(), 3u);
    EXPECT_EQ(Count("dTitle = 'Cancelled run'"), 3);
    for (int i = 0; i < 10; ++i) {
        formats::TID3v2 tag;
        ASSERT_TRUE(tag.Read(dir / ("song" + std::to_string(i) + ".mp3")));
        EXPECT_EQ(tag.Title(), i < 3 ? "Cancelled run" : "Title " + std::to_string(i));
    }
}

TEST_F(MassUpdateTest, TheQuestionBeforeAnUpdateAndItsSetting) {
    general.ConfirmMassUpdate = true;
    const catalog::IdList ids = Mp3Rows(2, true);
    update.Load(ids);

    EXPECT_EQ(Modify("Select field to update", "x", 0, true).outcome, ModifyOutcome::NoField);
    EXPECT_EQ(user.log.back(), "info: Select a field to update.");

    user.AnswerConfirm({false, true});
    EXPECT_EQ(Modify("Title", "x", 0, true).outcome, ModifyOutcome::Declined);
    EXPECT_EQ(user.log.back(), "confirm: Update 2 files? [help 4]");
    EXPECT_EQ(Count("dTitle = 'x'"), 0);
    EXPECT_TRUE(general.ConfirmMassUpdate);  // the box counts with Ok only

    user.AnswerConfirm({true, true});
    EXPECT_EQ(Modify("Title", "x", 0, true).outcome, ModifyOutcome::Done);
    EXPECT_EQ(Count("dTitle = 'x'"), 2);
    EXPECT_FALSE(general.ConfirmMassUpdate);
    EXPECT_EQ(settingsFile.ReadInteger("CONFIRM_MASS_UPDATE"), 0);
    EXPECT_EQ(Modify("Title", "y", 0, true).outcome, ModifyOutcome::Done);  // not asked again
    EXPECT_FALSE(user.UnansweredQuestionsLeft());

    update.RemoveRows({ids[0], ids[1]});
    EXPECT_EQ(Modify("Title", "z", 0, true).outcome, ModifyOutcome::NoRows);
    EXPECT_EQ(Count("dTitle = 'y'"), 2);  // removing rows from the list leaves the catalog
}

TEST_F(MassUpdateTest, TheFilePathColumn) {
    mounts.AddNetwork("/mnt/share", "//srv/music");
    const std::int64_t here = AddRow(dir / "a.mp3", catalog::kFormatMp3);
    const std::int64_t away = AddRow("/x/b.mp3", catalog::kFormatMp3, "Old", "DEADBEEF");
    const std::int64_t network = AddRow("//srv/music/c.mp3", catalog::kFormatMp3, "Old", "//srv");
    update.Load({here, away, network});
    ASSERT_EQ(update.Rows().size(), 3u);
    EXPECT_EQ(update.DisplayPath(update.Rows()[0]), dir / "a.mp3");
    EXPECT_EQ(update.DisplayPath(update.Rows()[1]), "?/x/b.mp3");
    EXPECT_EQ(update.DisplayPath(update.Rows()[2]), "//srv/music/c.mp3");
}

}  // namespace
}  // namespace sonarchive::tags
