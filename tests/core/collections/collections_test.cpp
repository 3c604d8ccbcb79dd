#include "collections/collections.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "catalog_store/maintenance.h"
#include "catalog_store/path_rules.h"
#include "collection_fixture.h"
#include "collections/collection_list.h"
#include "collections/temp_playlists.h"
#include "platform/settings_file.h"
#include "support/scripted_interaction.h"

namespace sonarchive::collections {
namespace {

using sonarchive::testing::ScriptedInteraction;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;
using testing::CollectionFixture;

class CollectionsTest : public CollectionFixture {
protected:
    std::vector<double> Positions(std::int64_t collection) {
        std::vector<double> positions;
        catalog::Query query(catalog.Engine(),
                             "select dPosition from SubCollD where dSubCollectionId=" +
                                 std::to_string(collection) + " order by dPosition");
        for (; !query.AtEnd(); query.Next()) {
            positions.push_back(query[0].AsDouble());
        }
        return positions;
    }

    std::vector<std::int64_t> MemberFiles(std::int64_t collection) {
        std::vector<std::int64_t> files;
        catalog::Query query(catalog.Engine(), catalog::CollectionMembersSelect(collection));
        for (; !query.AtEnd(); query.Next()) {
            files.push_back(query["Id"].AsInteger());
        }
        return files;
    }
};

TEST_F(CollectionsTest, CreatingGivesTheNewIdAndTellsTheListeners) {
    int changes = 0;
    catalog.Events().Subscribe([&](catalog::CatalogChange change) {
        changes += change == catalog::CatalogChange::CollectionsChanged ? 1 : 0;
    });
    const std::int64_t first = CreateCollection(catalog, "My Collection", false);
    const std::int64_t second = CreateCollection(catalog, "", true);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(changes, 2);
    catalog::Query row(catalog.Engine(),
                       "select * from SubColl where id = " + std::to_string(first));
    EXPECT_EQ(row["dName"].AsText(), "My Collection");
    EXPECT_EQ(row["dDescription"].AsText(), "");
    EXPECT_EQ(row["dFiles"].AsInteger(), 0);
    EXPECT_EQ(row["dUsePositions"].AsInteger(), 1);
    EXPECT_GT(row["dCreatedDate"].AsDateTime(), 40000);
    EXPECT_EQ(LoadCollectionHeader(catalog.Engine(), second)->usesPositions, false);
    EXPECT_EQ(LoadCollectionHeader(catalog.Engine(), second)->name, "");
    EXPECT_FALSE(LoadCollectionHeader(catalog.Engine(), 99).has_value());
    // The name field holds 100 characters.
    const std::int64_t longName = CreateCollection(catalog, std::string(130, 'x') + "é", false);
    EXPECT_EQ(LoadCollectionHeader(catalog.Engine(), longName)->name, std::string(100, 'x'));
}

TEST_F(CollectionsTest, MembersAreNumberedFromTheMaximumOn) {
    const std::int64_t id = CreateCollection(catalog, "Road", false);
    const std::int64_t a = AddFile("/a.mp3");
    const std::int64_t b = AddFile("/b.mp3");
    statements.clear();
    AddCollectionMembers(catalog.Engine(), id, {a, b});
    EXPECT_EQ(
        TakeStatements("select max"),
        std::vector<std::string>{"select max(dPosition) from SubCollD where dSubCollectionId=" +
                                 std::to_string(id)});
    EXPECT_EQ(Positions(id), (std::vector<double>{1, 2}));

    catalog::Query first(catalog.Engine(), "select id from SubCollD where dPosition = 1");
    RemoveCollectionMembers(catalog.Engine(), {first[0].AsInteger()});
    AddCollectionMembers(catalog.Engine(), id, {a});
    EXPECT_EQ(
        TakeStatements("insert"),
        std::vector<std::string>{"insert into SubCollD (dDataId, dEnabled, dLogical, dPosition, "
                                 "dSubCollectionId) values(" +
                                 std::to_string(a) + ",1,0,3.000000," + std::to_string(id) + ")"});
    // The same file twice is listed twice.
    AddCollectionMembers(catalog.Engine(), id, {a});
    EXPECT_EQ(MemberFiles(id), (std::vector<std::int64_t>{b, a, a}));
    EXPECT_EQ(PositionText(5), "5.000000");
    EXPECT_EQ(PositionText(0.1234567), "0.123457");
}

TEST_F(CollectionsTest, RemovingMembersLeavesFilesAndOtherCollections) {
    const std::int64_t one = CreateCollection(catalog, "One", false);
    const std::int64_t two = CreateCollection(catalog, "Two", false);
    const std::int64_t file = AddFile("/a.mp3");
    AddCollectionMembers(catalog.Engine(), one, {file});
    AddCollectionMembers(catalog.Engine(), two, {file});
    const std::int64_t member =
        Scalar("select id from SubCollD where dSubCollectionId=" + std::to_string(one));
    statements.clear();
    RemoveCollectionMembers(catalog.Engine(), {member});
    EXPECT_EQ(
        TakeStatements("delete"),
        std::vector<std::string>{"delete from SubCollD where id = " + std::to_string(member)});
    EXPECT_TRUE(MemberFiles(one).empty());
    EXPECT_EQ(MemberFiles(two), std::vector<std::int64_t>{file});
    EXPECT_EQ(Scalar("select count(*) from maindata"), 1);
}

TEST_F(CollectionsTest, TheRemovalQuestionCanBeSwitchedOff) {
    TempDir config;
    platform::SettingsFile file(config / "settings.json");
    ScriptedInteraction user;
    catalog::Registry registry(file, user);
    catalog::GeneralSettings settings;

    user.AnswerConfirm({false, true});
    EXPECT_FALSE(ConfirmMemberRemoval(user, registry, settings));
    EXPECT_TRUE(settings.ConfirmDeleteIfInCollections);  // a ticked box with Cancel changes nothing
    user.AnswerConfirm({true, true});
    EXPECT_TRUE(ConfirmMemberRemoval(user, registry, settings));
    EXPECT_FALSE(settings.ConfirmDeleteIfInCollections);
    EXPECT_EQ(file.ReadInteger("CONFIRM_DELETE_IF_IN_COLLECTIONS"), 0);
    EXPECT_TRUE(ConfirmMemberRemoval(user, registry, settings));  // no question any more
    EXPECT_EQ(user.Texts("confirm"),
              (std::vector<std::string>{"Remove selected items from collection? [help -1]",
                                        "Remove selected items from collection? [help -1]"}));
}

TEST_F(CollectionsTest, TotalsTruncateMinutesAndRoundMegabytesToEven) {
    catalog::CollectionTotals totals{3, 3 * 3600 + 59.5 * 60, 1500};
    EXPECT_EQ(totals.Minutes(), 239);
    EXPECT_EQ(totals.Megabytes(), 2);
    totals.kilobytes = 2500;
    EXPECT_EQ(totals.Megabytes(), 2);
    totals.kilobytes = 2501;
    EXPECT_EQ(totals.Megabytes(), 3);
    totals.kilobytes = 3500;
    EXPECT_EQ(totals.Megabytes(), 4);
    totals.kilobytes = 499;
    EXPECT_EQ(totals.Megabytes(), 0);
    const TotalsTexts texts = TotalsTextsOf({3, 3 * 3600 + 59.5 * 60 + 0.9, 1500});
    EXPECT_EQ(texts.files, "3");
    EXPECT_EQ(texts.size, "2 MB");
    EXPECT_EQ(texts.length, catalog::HoursMinutesSeconds(3 * 3600 + 59 * 60 + 30));

    const std::int64_t id = CreateCollection(catalog, "Long", false);
    statements.clear();
    StoreCollectionTotals(catalog, id, {3, 3 * 3600 + 59.5 * 60, 1500});
    EXPECT_EQ(
        TakeStatements("update"),
        std::vector<std::string>{"update SubColl set dFiles=3,dLength=239,dSize=2 where id = " +
                                 std::to_string(id)});
    EXPECT_EQ(KilobytesOfText("1234"), 1234);
    EXPECT_EQ(KilobytesOfText("12a"), 0);
    EXPECT_EQ(KilobytesOfText(""), 0);
}

TEST_F(CollectionsTest, EmptyingAndOrphanCleanUpRecomputeTheTotals) {
    const std::int64_t losing = CreateCollection(catalog, "Losing", false);
    const std::int64_t keeping = CreateCollection(catalog, "Keeping", false);
    const std::int64_t gone = AddFile("/gone.mp3", 120, 2000);
    const std::int64_t stays = AddFile("/stays.mp3", 90, 1500);
    AddCollectionMembers(catalog.Engine(), losing, {gone, stays});
    AddCollectionMembers(catalog.Engine(), keeping, {stays});
    StoreCollectionTotals(catalog, losing, {2, 210, 3500});
    StoreCollectionTotals(catalog, keeping, {1, 90, 1500});
    catalog.Engine().Execute("delete from maindata where id = " + std::to_string(gone));
    statements.clear();
    EXPECT_EQ(catalog::RemoveOrphanMembers(catalog.Engine()), 1);
    EXPECT_EQ(TakeStatements("update"),
              std::vector<std::string>{"update SubColl set dFiles=1,dLength=1,dSize=2 where id = " +
                                       std::to_string(losing)});

    ScriptedInteraction user;
    user.AnswerYes(2);
    int changes = 0;
    catalog.Events().Subscribe([&](catalog::CatalogChange change) {
        changes += change == catalog::CatalogChange::CollectionsChanged ? 1 : 0;
    });
    ASSERT_TRUE(catalog::EmptyDatabase(catalog, user));
    EXPECT_EQ(Scalar("select sum(dFiles) + sum(dLength) + sum(dSize) from SubColl"), 0);
    EXPECT_EQ(Scalar("select count(*) from SubColl"), 2);
    EXPECT_EQ(changes, 1);
}

TEST_F(CollectionsTest, PropertiesAndDeletingAreWordedAsTheCatalogExpects) {
    const std::int64_t id = CreateCollection(catalog, "Old", false);
    const std::int64_t other = CreateCollection(catalog, "Other", false);
    const std::int64_t file = AddFile("/a.mp3");
    AddCollectionMembers(catalog.Engine(), id, {file});
    AddCollectionMembers(catalog.Engine(), other, {file});
    statements.clear();
    SetCollectionProperties(catalog, id, "O'Brien", true);
    EXPECT_EQ(TakeStatements("update"),
              std::vector<std::string>{"update SubColl set dname='O''Brien', dusepositions=0 "
                                       "where id = " +
                                       std::to_string(id)});
    EXPECT_EQ(LoadCollectionHeader(catalog.Engine(), id)->name, "O'Brien");

    DeleteCollection(catalog, id);
    EXPECT_EQ(TakeStatements("delete"),
              (std::vector<std::string>{
                  "delete from subcolld where dSubCollectionId = " + std::to_string(id),
                  "delete from subcoll where id = " + std::to_string(id)}));
    EXPECT_FALSE(LoadCollectionHeader(catalog.Engine(), id).has_value());
    EXPECT_EQ(MemberFiles(other), std::vector<std::int64_t>{file});
    ASSERT_EQ(ListCollections(catalog.Engine()).size(), 1u);
    EXPECT_EQ(ListCollections(catalog.Engine())[0].Name, "Other");
}

TEST_F(CollectionsTest, MemberPathsFollowTheOrderAndSkipWhatIsNotMounted) {
    sonarchive::testing::FakeMountTable mounts;
    mounts.Add("/media/MUSIC", "0A1B2C3D");
    catalog::PosixPathRules rules(mounts);
    const std::int64_t id = CreateCollection(catalog, "Mixed", false);
    const std::int64_t b = AddFile("/b.mp3");
    const std::int64_t away = AddFile("/away.mp3", 60, 1, "99999999");
    const std::int64_t a = AddFile("/a.mp3");
    AddCollectionMembers(catalog.Engine(), id, {a, away, b});
    EXPECT_EQ(CollectionMemberPaths(catalog.Engine(), rules, id),
              (std::vector<std::string>{"/media/MUSIC/a.mp3", "/media/MUSIC/b.mp3"}));
}

TEST(CollectionList, ListsTheCollectionsByName) {
    TempDir dir;
    catalog::Catalog catalog(dir.Path());
    for (const char* name : {"Rock", "Ambient", "Jazz"}) {
        catalog.Engine().Execute(std::string("insert into SubColl (dName) values ('") + name +
                                 "')");
    }
    const auto collections = ListCollections(catalog.Engine());
    ASSERT_EQ(collections.size(), 3u);
    EXPECT_EQ(collections[0].Name, "Ambient");
    EXPECT_EQ(collections[0].Id, 2);
    EXPECT_EQ(collections[2].Name, "Rock");
}

TEST(TempPlaylists, OnlyTheProgramsOwnPlaylistsAreDeleted) {
    TempDir dir;
    for (const char* name : {"~sonarchv1.m3u", "~sonarchv99999.m3u", "~sonarchv.m3u"}) {
        WriteBytes(dir / name, "/a.mp3\n");
    }
    for (const char* name : {"sonarchv1.m3u", "~sonarchv1.m3u8", "~other.m3u", "list.m3u"}) {
        WriteBytes(dir / name, "/a.mp3\n");
    }
    std::filesystem::create_directory(dir / "~sonarchvdir.m3u");
    EXPECT_EQ(ClearTempPlaylists(dir.Path()), 3);
    EXPECT_FALSE(std::filesystem::exists(dir / "~sonarchv1.m3u"));
    EXPECT_TRUE(std::filesystem::exists(dir / "~sonarchv1.m3u8"));
    EXPECT_TRUE(std::filesystem::exists(dir / "list.m3u"));
    EXPECT_TRUE(std::filesystem::exists(dir / "~sonarchvdir.m3u"));
    EXPECT_EQ(ClearTempPlaylists(dir / "missing"), 0);
}

}  // namespace
}  // namespace sonarchive::collections
