#include "lists/delete_rows.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "lists/browse_statements.h"
#include "lists/exec_sql.h"
#include "lists_fixture.h"
#include "namespace_child.h"
#include "text/path_bytes.h"

namespace sonarchive::lists {
namespace {

using sonarchive::testing::RunInNewNamespaces;
using sonarchive::testing::SkipChild;
using testing::ListsTest;

class DeleteTest : public ListsTest {
protected:
    DeleteTest() { mounts.Add(dir / "music", "0A1B2C3D"); }

    // A catalogued file on the mounted volume.
    std::int64_t AddFile(const std::string& storedPath, const std::string& artist = "Artist") {
        const std::string full = dir / ("music" + storedPath);
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        sonarchive::testing::WriteBytes(text::PathToSystem(full), "audio");
        return AddRow({{"dPath", Q(storedPath)}, {"dArtist", Q(artist)}});
    }

    ListRowRef File(std::int64_t id) {
        catalog::Query row(catalog.Engine(),
                           "select * from maindata where id=" + std::to_string(id));
        return ListRowRef::File(id, row["dDriveSerialNumber"].AsText(), row["dPath"].AsText());
    }

    void AddToCollection(const std::string& name, const std::vector<std::int64_t>& ids) {
        catalog.Engine().Execute("insert into subcoll (dName) values (" + Q(name) + ")");
        const auto collection = catalog.Engine().LastInsertId();
        for (const auto id : ids) {
            catalog.Engine().Execute(
                "insert into subcolld (dDataId, dPosition, dSubCollectionId) values (" +
                std::to_string(id) + ", 1, " + std::to_string(collection) + ")");
        }
    }

    std::int64_t Members() {
        catalog::Query q(catalog.Engine(), "select count(*) from subcolld");
        return q[0].AsInteger();
    }

    DeleteOutcome Delete(const std::vector<ListRowRef>& rows, bool fromDisk = false) {
        return DeleteSelected({catalog, rules, registry, general, user}, rows, fromDisk);
    }

    std::vector<std::string> StatementsStartingWith(const std::string& start) {
        std::vector<std::string> found;
        for (const auto& sql : statements) {
            if (sql.starts_with(start)) {
                found.push_back(sql);
            }
        }
        return found;
    }

    catalog::GeneralSettings general;
};

TEST_F(DeleteTest, AsksOnceNamingEveryCollectionAndCleansThemAfterOk) {
    const auto a = AddFile("/a.mp3");
    const auto b = AddFile("/b.mp3");
    const auto c = AddFile("/c.mp3");
    const auto kept = AddFile("/kept.mp3");
    AddToCollection("Party", {a, b, kept});
    AddToCollection("Car", {c});
    AddToCollection("Party", {b});  // another collection of the same name
    std::vector<catalog::CatalogChange> changes;
    catalog.Events().Subscribe(
        [&changes](catalog::CatalogChange change) { changes.push_back(change); });

    user.AnswerConfirm({true, false});
    user.AnswerConfirm({true, false});
    const DeleteOutcome outcome = Delete({File(a), File(b), File(c)});
    EXPECT_EQ(user.Texts("confirm"),
              (std::vector<std::string>{
                  "Remove 3 file references from the archive? [help 18]",
                  "The items are part of the following collection(s): \"Party\",\"Car\". If you "
                  "delete the items, the items will also be removed from these collection(s). "
                  "Do you still want to delete? [help 18]"}));
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(outcome.deletedIds, (std::vector<std::int64_t>{a, b, c}));
    EXPECT_EQ(outcome.removedRows, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Members(), 1) << "only the kept file's membership stays";
    EXPECT_EQ(changes,
              (std::vector<catalog::CatalogChange>{catalog::CatalogChange::PickListsStale,
                                                   catalog::CatalogChange::FileCountChanged,
                                                   catalog::CatalogChange::CollectionsChanged}));
    EXPECT_TRUE(std::filesystem::exists(dir / "music/a.mp3")) << "the files stay on disk";
}

TEST_F(DeleteTest, CancelDeletesNothingAndDontShowSwitchesTheQuestionOff) {
    const auto a = AddFile("/a.mp3");
    AddToCollection("Party", {a});
    user.AnswerConfirm({false, true});
    EXPECT_TRUE(Delete({File(a)}).cancelled);
    EXPECT_TRUE(general.ConfirmDelete) << "a tick with Cancel changes nothing";

    user.AnswerConfirm({true, true});
    user.AnswerConfirm({false, false});
    EXPECT_TRUE(Delete({File(a)}).cancelled);
    EXPECT_FALSE(general.ConfirmDelete);
    EXPECT_EQ(settingsFile.ReadInteger("CONFIRM_DELETE"), 0);
    EXPECT_EQ(Count(), 1);

    // Both questions off: no question, and the collections are cleaned all the same.
    general.ConfirmDeleteIfInCollections = false;
    const DeleteOutcome outcome = Delete({File(a)});
    EXPECT_EQ(user.Texts("confirm").size(), 3u);
    EXPECT_EQ(outcome.deletedIds, std::vector<std::int64_t>{a});
    EXPECT_EQ(Members(), 0);
    EXPECT_FALSE(user.UnansweredQuestionsLeft());
}

TEST_F(DeleteTest, CollectionsAreAskedFiftyIdsAtATime) {
    std::vector<ListRowRef> rows;
    for (int i = 0; i < 120; ++i) {
        rows.push_back(File(AddRow({})));
    }
    ObserveStatements();
    user.AnswerConfirm({true, false});
    const DeleteOutcome outcome = Delete(rows);
    const auto asked = StatementsStartingWith("select distinct dname");
    ASSERT_EQ(asked.size(), 3u);
    const auto idsIn = [](const std::string& sql) {
        const std::string list = sql.substr(sql.find(" in ("));
        return std::count(list.begin(), list.end(), ',') + 1;
    };
    EXPECT_EQ(idsIn(asked[0]), 50);
    EXPECT_EQ(idsIn(asked[1]), 50);
    EXPECT_EQ(idsIn(asked[2]), 20);
    EXPECT_EQ(asked[2].substr(asked[2].find(" from ")),
              " from subcoll, subcolld where subcoll.id=subcolld.dsubcollectionid and dDataId in "
              "(101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117,118,119,120)");
    EXPECT_EQ(outcome.deletedIds.size(), 120u);
    EXPECT_EQ(StatementsStartingWith("Delete from maindata where id=").size(), 120u);
    EXPECT_EQ(Count(), 0);
    // No collection held them: nothing asked about collections, nothing cleaned.
    EXPECT_EQ(user.Texts("confirm").size(), 1u);
    EXPECT_TRUE(StatementsStartingWith("SELECT maindata.id as r").empty());
}

TEST_F(DeleteTest, AGroupGoesWithAllItsFilesAndIsCountedByThem) {
    const auto a = AddRow({{"dArtist", "'THE BEATLES'"}});
    AddRow({{"dArtist", "'The Beatles'"}});
    AddRow({{"dArtist", "'the beatles'"}});
    AddRow({{"dArtist", "'Queen'"}, {"dAlbum", "NULL"}});
    AddRow({{"dArtist", "'Queen'"}, {"dAlbum", "''"}});
    ObserveStatements();
    user.AnswerConfirm({true, false});
    // The group was expanded and one of its files is selected too; never expanded would do.
    const DeleteOutcome outcome =
        Delete({ListRowRef::Group(kGroupingArtist, "THE BEATLES"), File(a)});
    EXPECT_EQ(user.Texts("confirm")[0], "Remove 3 file references from the archive? [help 18]");
    EXPECT_EQ(outcome.removedRows, (std::vector<std::size_t>{1, 0}));
    EXPECT_EQ(outcome.deletedIds, (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_EQ(StatementsStartingWith("delete from maindata"),
              std::vector<std::string>{"delete from maindata where upper(dARTIST)='THE BEATLES'"});
    EXPECT_EQ(Count(), 2);

    user.AnswerConfirm({true, false});
    Delete({ListRowRef::Group(kGroupingAlbum, "")});
    EXPECT_EQ(StatementsStartingWith("delete from maindata").back(),
              "delete from maindata where dAlbum='' or dAlbum is null");
    EXPECT_EQ(Count(), 0);
}

TEST_F(DeleteTest, FromDiskFilesThatCannotGoKeepTheirRows) {
    const auto a = AddFile("/a.mp3", "Abba");
    const auto latin1 = AddFile("/caf\xEE\xBF\xA9.mp3", "Abba");  // the byte E9 in its name
    const auto away = AddRow(
        {{"dPath", "'/gone/x.mp3'"}, {"dDriveSerialNumber", "'FFFF0000'"}, {"dArtist", "'Abba'"}});
    const auto missing = AddRow({{"dPath", "'/never.mp3'"}});
    user.AnswerConfirm({true, false});
    const DeleteOutcome outcome = Delete({File(a), File(away), File(missing), File(latin1)}, true);
    EXPECT_EQ(outcome.deletedIds, (std::vector<std::int64_t>{a, latin1}));
    EXPECT_EQ(outcome.removedRows, (std::vector<std::size_t>{0, 3}));
    EXPECT_EQ(outcome.failures, (std::vector<std::string>{
                                    "Couldn't delete file \"/gone/x.mp3\"",
                                    "Couldn't delete file \"" + (dir / "music/never.mp3") + "\""}));
    EXPECT_FALSE(std::filesystem::exists(dir / "music/a.mp3"));
    EXPECT_FALSE(std::filesystem::exists(dir / "music/caf\xE9.mp3"));
    EXPECT_EQ(Count(), 2);

    // The group of the file whose volume is away: that file stays, and so does the group.
    AddFile("/b.mp3", "ABBA");
    user.AnswerConfirm({true, false});
    const DeleteOutcome group = Delete({ListRowRef::Group(kGroupingArtist, "ABBA")}, true);
    EXPECT_TRUE(group.removedRows.empty());
    EXPECT_TRUE(group.failures.empty()) << "files not at hand are passed over silently";
    EXPECT_EQ(Count("upper(dArtist) = 'ABBA'"), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "music/b.mp3"));
}

TEST_F(DeleteTest, ExecSqlTellsTheWindowsWhenPickListsGoStale) {
    AddRow({});
    std::vector<catalog::CatalogChange> changes;
    catalog.Events().Subscribe(
        [&changes](catalog::CatalogChange change) { changes.push_back(change); });
    EXPECT_EQ(ExecSql(catalog, "update maindata set dYear=1999", false), 1);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(ExecSql(catalog, "update maindata set dArtist='X'", true), 1);
    EXPECT_EQ(changes, std::vector<catalog::CatalogChange>{catalog::CatalogChange::PickListsStale});
}

// A file in a folder that refuses changes: a read-only folder for a user, a read-only bind
// mount for root, whom no permission stops.
void RefuseChanges(const std::string& folder) {
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
        return;
    }
    if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
        ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        SkipChild(std::string("a read-only bind mount is not permitted here: ") +
                  std::strerror(errno));
    }
}

TEST_F(DeleteTest, AFileThatCannotBeUnlinkedStaysWithOneLineAndTheOthersGo) {
    const auto a = AddFile("/a.mp3");
    const auto locked = AddFile("/locked/b.mp3");
    const auto c = AddFile("/c.mp3");
    const auto body = [&] {
        catalog::Catalog own(dir / "data");
        RefuseChanges(dir / "music/locked");
        user.AnswerConfirm({true, false});
        const DeleteOutcome outcome =
            DeleteSelected({own, rules, registry, general, user},
                           std::vector{File(a), File(locked), File(c)}, true);
        EXPECT_EQ(outcome.deletedIds, (std::vector<std::int64_t>{a, c}));
        EXPECT_EQ(outcome.removedRows, (std::vector<std::size_t>{0, 2}));
        EXPECT_EQ(outcome.failures, std::vector<std::string>{"Couldn't delete file \"" +
                                                             (dir / "music/locked/b.mp3") + "\""});
        EXPECT_TRUE(std::filesystem::exists(dir / "music/locked/b.mp3"));
        catalog::Query left(own.Engine(), "select id from maindata");
        EXPECT_EQ(left[0].AsInteger(), locked);
    };
    if (::geteuid() != 0) {
        body();
        ::chmod((dir / "music/locked").c_str(), 0755);
        return;
    }
    SONARCHIVE_REPORT_CHILD(RunInNewNamespaces(CLONE_NEWNS, body));
}

}  // namespace
}  // namespace sonarchive::lists
