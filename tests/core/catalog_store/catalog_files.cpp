#include "catalog_files.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <vector>

#include "support/test_support.h"

namespace sonarchive::catalog::testfiles {
namespace {

void Exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << sql << ": " << (error != nullptr ? error : "");
}

std::int64_t IntegerOf(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    std::int64_t value = -1;
    if (sqlite3_step(statement) == SQLITE_ROW) {
        value = sqlite3_column_int64(statement, 0);
    }
    sqlite3_finalize(statement);
    return value;
}

}  // namespace

void MakeOldCatalog(const std::string& databasePath, int rows) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(databasePath.c_str(), &db), SQLITE_OK);
    Exec(db, "pragma page_size=512");
    Exec(db,
         "create table maindata (Id INTEGER PRIMARY KEY AUTOINCREMENT, dGroupId INTEGER, "
         "dFormat SMALLINT, dYear SMALLINT, dTrack SMALLINT, dTitle CHAR(50), dArtist CHAR(50), "
         "dAlbum CHAR(50), dComment CHAR(250), dGenre CHAR(25), dComposer CHAR(50), "
         "dEncoder CHAR(50), dCopyright CHAR(50), dLanguage CHAR(25), dLink CHAR(100), "
         "dPath CHAR(200), dDriveSerialNumber CHAR(9), dDriveLabel CHAR(12), "
         "dDriveLetter CHAR(1), dDriveType INTEGER, dFileSize INTEGER, dMPEGVersion INTEGER, "
         "dMPEGLayer INTEGER, dMPEGBitrate INTEGER, dMPEGFrequency INTEGER, "
         "dChannelMode INTEGER, dMPEGFrames INTEGER, dMPEGCRC SMALLINT, "
         "dMPEGCopyright SMALLINT, dMPEGOriginal SMALLINT, dMPEGEmphasis SMALLINT, "
         "dMPEGEncoder CHAR(15), dLength DOUBLE, dDateAdded DATE, dTimeAdded TIME)");
    Exec(db, "begin");
    for (int i = 1; i <= rows; ++i) {
        Exec(db, "insert into maindata (dTitle, dArtist, dPath, dDriveSerialNumber, dDriveType, "
                 "dFormat, dDateAdded) values ('Song " + std::to_string(i) +
                     "', 'Björk', '/music/" + std::to_string(i) +
                     ".mp3', 'ABCD1234', 3, 2, '2003-04-05')");
    }
    Exec(db, "commit");
    sqlite3_close(db);
}

namespace {

void OverwriteRootPage(const std::string& databasePath, const std::string& objectName,
                       std::size_t keep) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(databasePath.c_str(), &db), SQLITE_OK);
    Exec(db, "pragma wal_checkpoint(truncate)");
    const std::int64_t pageSize = IntegerOf(db, "pragma page_size");
    const std::int64_t root =
        IntegerOf(db, "select rootpage from sqlite_master where name = '" + objectName + "'");
    sqlite3_close(db);
    ASSERT_GT(root, 1);
    std::fstream file(databasePath, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp((root - 1) * pageSize + static_cast<std::int64_t>(keep));
    const std::string garbage = sonarchive::testing::RandomBytes(
        static_cast<std::size_t>(pageSize) - keep, static_cast<unsigned>(root));
    file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    ASSERT_TRUE(file.good());
}

constexpr unsigned char kLeafTablePage = 0x0D;

std::size_t PageSizeOf(const std::string& bytes) {
    const std::size_t size =
        static_cast<unsigned char>(bytes[16]) * 256 + static_cast<unsigned char>(bytes[17]);
    return size == 1 ? 65536 : size;
}

}  // namespace

void DamageThreeTablePages(const std::string& databasePath) {
    const std::string bytes = sonarchive::testing::ReadBytes(databasePath);
    const std::size_t pageSize = PageSizeOf(bytes);
    std::vector<std::size_t> pages;  // page 1 holds the schema
    for (std::size_t page = 2; page * pageSize <= bytes.size(); ++page) {
        if (static_cast<unsigned char>(bytes[(page - 1) * pageSize]) == kLeafTablePage) {
            pages.push_back(page);
        }
    }
    ASSERT_GE(pages.size(), 8u);
    std::fstream file(databasePath, std::ios::in | std::ios::out | std::ios::binary);
    for (std::size_t quarter = 1; quarter <= 3; ++quarter) {
        const std::size_t page = pages[pages.size() * quarter / 4];
        file.seekp(static_cast<std::streamoff>((page - 1) * pageSize));
        const std::string garbage =
            sonarchive::testing::RandomBytes(pageSize, static_cast<unsigned>(quarter));
        file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    }
    ASSERT_TRUE(file.good());
}

void DamageRootPage(const std::string& databasePath, const std::string& objectName) {
    OverwriteRootPage(databasePath, objectName, 0);
}

void ScrambleRootPageCells(const std::string& databasePath, const std::string& objectName) {
    OverwriteRootPage(databasePath, objectName, 12);
}

}  // namespace sonarchive::catalog::testfiles
