#include "catalog_store/engine.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "catalog_store/schema.h"
#include "support/test_support.h"

namespace sonarchive::catalog {
namespace {

using sonarchive::testing::TempDir;

class EngineTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir / "t.db";
    Database db{path};
};

TEST_F(EngineTest, NamesRepeatedResultColumnsWithSuffixAndReadsByNameOrPosition) {
    db.Execute("create table a (Id INTEGER PRIMARY KEY AUTOINCREMENT, name CHAR(20))");
    db.Execute("create table b (id INTEGER PRIMARY KEY AUTOINCREMENT, aid INTEGER, w DOUBLE)");
    db.Execute("insert into a (name) values ('x')");
    db.Execute("insert into b (id, aid, w) values (7, 1, 2.5)");

    Query join(db, "select * from a, b where b.aid = a.id");
    ASSERT_FALSE(join.AtEnd());
    EXPECT_EQ(join.ColumnNames(),
              (std::vector<std::string>{"Id", "name", "id_1", "aid", "w"}));
    EXPECT_EQ(join["Id"].AsInteger(), 1);
    EXPECT_EQ(join["Id_1"].AsInteger(), 7);  // names compare without regard to case
    EXPECT_EQ(join[1].AsText(), "x");
    EXPECT_DOUBLE_EQ(join["W"].AsDouble(), 2.5);
    EXPECT_EQ(join.RowCount(), 1);
    EXPECT_EQ(join.DeclaredWidth(1), 20);
    EXPECT_EQ(join.DeclaredWidth(4), 0);
    EXPECT_THROW(join["nope"], EngineError);
    EXPECT_THROW(join[9], EngineError);
    join.Next();
    EXPECT_TRUE(join.AtEnd());
    join.Next();  // stepping past the end does not run the query again
    EXPECT_TRUE(join.AtEnd());
}

TEST_F(EngineTest, AppendsRowsByColumnNameWithDatesAsIsoText) {
    EnsureCatalogSchema(db);
    TableAppender row(db, "maindata");
    row.SetText("dTitle", "Jóga");
    row.SetInteger("dYear", 1997);
    row.SetDouble("dLength", 305.25);
    row.SetDateTime("dDateAdded", 38138.75);
    row.SetDateTime("dTimeAdded", 38138.75);
    const auto id = row.Post();
    EXPECT_EQ(id, 1);
    TableAppender collection(db, "SubColl");
    collection.SetDateTime("dCreatedDate", 38138.75);
    collection.Post();

    Query raw(db, "select dTitle, dYear, dLength, dDateAdded, dTimeAdded, typeof(dDateAdded) "
                  "from maindata");
    EXPECT_EQ(raw[0].AsText(), "Jóga");
    EXPECT_EQ(raw[1].AsInteger(), 1997);
    EXPECT_DOUBLE_EQ(raw[2].AsDouble(), 305.25);
    EXPECT_EQ(raw[3].AsText(), "2004-05-31");
    EXPECT_EQ(raw[4].AsText(), "18:00:00");
    EXPECT_EQ(raw[5].AsText(), "text");
    EXPECT_DOUBLE_EQ(raw[3].AsDateTime(), 38138);
    Query created(db, "select dCreatedDate from SubColl");
    EXPECT_EQ(created[0].AsText(), "2004-05-31 18:00:00");
    Query after(db, "select count(*) from maindata where dDateAdded > '2004-05-01'");
    EXPECT_EQ(after[0].AsInteger(), 1);
}

TEST_F(EngineTest, CaseMappingIsUnicodeAndBacksIndexes) {
    EnsureCatalogSchema(db);
    for (const char* artist : {"Björk", "björk", "Bjork", "Straße"}) {
        TableAppender row(db, "maindata");
        row.SetText("dArtist", artist);
        row.Post();
    }
    Query found(db, "select count(*) from maindata where upper(dArtist) = 'BJÖRK'");
    EXPECT_EQ(found[0].AsInteger(), 2);
    Query upperStrasse(db, "select upper(dArtist), lower('ÅÄÖ') from maindata where id = 4");
    EXPECT_EQ(upperStrasse[0].AsText(), "STRASSE");
    EXPECT_EQ(upperStrasse[1].AsText(), "åäö");
    Query plan(db, "explain query plan select id from maindata where upper(dArtist) = 'X'");
    EXPECT_NE(plan["detail"].AsText().find("maindata_upper_artist"), std::string::npos);
    Query null(db, "select upper(null) is null");
    EXPECT_EQ(null[0].AsInteger(), 1);
}

TEST_F(EngineTest, ReportsFailuresWithTheEnginesCodeAndMessage) {
    try {
        db.Execute("select * from missing_table");
        FAIL() << "no error";
    } catch (const EngineError& error) {
        EXPECT_EQ(error.PrimaryCode(), SQLITE_ERROR);
        EXPECT_NE(error.Message().find("no such table: missing_table"), std::string::npos);
    }
    EXPECT_THROW(Query(db, "selec 1"), EngineError);
    EXPECT_THROW(Database(dir / "no/such/folder/x.db"), EngineError);
}

TEST_F(EngineTest, BoundStatementsAreKeptAndEachRunIsCommittedAtOnce) {
    db.Execute("create table t (id integer primary key, name text, size integer)");
    db.Execute("insert into t (name, size) values ('a', 1), ('b', 2)");
    const std::string update = "update t set name=?, size=? where id = ?";
    EXPECT_EQ(db.ExecuteBound(update, {"it's", std::int64_t{10}, std::int64_t{1}}), 1);
    EXPECT_EQ(db.ExecuteBound(update, {"x", std::int64_t{20}, std::int64_t{99}}), 0);
    // Seen by another connection at once: nothing is left open between runs.
    Database other(path);
    Query row(other, "select name, size, typeof(size) from t where id = 1");
    EXPECT_EQ(row[0].AsText(), "it's");
    EXPECT_EQ(row[1].AsInteger(), 10);
    EXPECT_EQ(row[2].AsText(), "integer");
    // A failed run leaves the kept statement usable.
    db.Execute("create unique index t_name on t (name)");
    EXPECT_THROW(db.ExecuteBound(update, {"b", std::int64_t{0}, std::int64_t{1}}), EngineError);
    EXPECT_EQ(db.ExecuteBound(update, {"c", std::int64_t{3}, std::int64_t{1}}), 1);
}

TEST_F(EngineTest, WidensAColumnByRebuildingTheTableKeepingRowsIndexesAndIds) {
    db.Execute("create table maindata (Id INTEGER PRIMARY KEY AUTOINCREMENT, "
               "dPath CHAR(200), dDriveSerialNumber CHAR(9))");
    db.Execute("create index maindata_identity on maindata (dDriveSerialNumber, dPath)");
    for (int i = 0; i < 5; ++i) {
        db.Execute("insert into maindata (dPath, dDriveSerialNumber) values ('/a" +
                   std::to_string(i) + ".mp3', 'ABCD1234')");
    }
    db.Execute("delete from maindata where id = 5");

    db.Execute("alter table maindata alter column dpath dpath char(230)");
    EXPECT_EQ(db.DeclaredType("maindata", "dPath"), "char(230)");
    Query rows(db, "select count(*), max(id) from maindata");
    EXPECT_EQ(rows[0].AsInteger(), 4);
    EXPECT_EQ(rows[1].AsInteger(), 4);
    Query index(db, "select count(*) from sqlite_master where name = 'maindata_identity'");
    EXPECT_EQ(index[0].AsInteger(), 1);
    db.Execute("insert into maindata (dPath) values ('/new.mp3')");
    EXPECT_EQ(db.LastInsertId(), 6);  // id 5 is never handed out again

    db.Execute("alter table maindata ADD dFileDate DATE");
    EXPECT_EQ(db.DeclaredType("maindata", "dFileDate"), "DATE");
    EXPECT_THROW(db.Execute("alter table maindata alter column nothere nothere char(5)"),
                 EngineError);
    EXPECT_THROW(db.Execute("alter table missing alter column a a char(5)"), EngineError);
}

TEST_F(EngineTest, ExclusiveWorkIsRefusedWhileAnotherConnectionReads) {
    EnsureCatalogSchema(db);
    for (int i = 0; i < 2000; ++i) {
        TableAppender row(db, "maindata");
        row.SetText("dComment", std::string(200, 'c'));
        row.Post();
    }
    db.Execute("delete from maindata where id > 100");
    db.Disconnect();
    const auto sizeBefore = std::filesystem::file_size(path);

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin; select count(*) from maindata;", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    bool ran = false;
    try {
        db.WithExclusiveAccess([&] { ran = true; });
        FAIL() << "exclusive access granted";
    } catch (const EngineError& error) {
        EXPECT_EQ(error.PrimaryCode(), SQLITE_BUSY);
    }
    EXPECT_FALSE(ran);
    EXPECT_THROW(db.Pack(), EngineError);
    sqlite3_exec(other, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    db.Pack();
    db.Disconnect();
    EXPECT_LT(std::filesystem::file_size(path), sizeBefore / 2);
    Query count(db, "select count(*) from maindata");  // reconnects by itself
    EXPECT_EQ(count[0].AsInteger(), 100);
    Query mode(db, "pragma journal_mode");
    EXPECT_EQ(mode[0].AsText(), "wal");
}

TEST_F(EngineTest, ChangesThePageSizeByRebuildingTheFile) {
    EnsureCatalogSchema(db);
    db.Disconnect();
    db.RebuildWithPageSize(1024);
    EXPECT_EQ(db.PageSize(), 1024);
    db.RebuildWithPageSize(8192);
    EXPECT_EQ(db.PageSize(), 8192);
}

TEST_F(EngineTest, ObserverSeesEveryStatement) {
    std::vector<std::string> seen;
    db.SetStatementObserver([&](const std::string& sql) { seen.push_back(sql); });
    db.Execute("create table t (x INTEGER)");
    Query q(db, "select * from t");
    EXPECT_EQ(seen, (std::vector<std::string>{"create table t (x INTEGER)", "select * from t"}));
}

}  // namespace
}  // namespace sonarchive::catalog
