#include "catalog_store/schema.h"

#include <string>
#include <vector>

#include "catalog_store/case_functions.h"

namespace sonarchive::catalog {
namespace {

constexpr const char* kCreateMaindata =
    "create table if not exists maindata ("
    "Id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "dGroupId INTEGER, dFormat SMALLINT, dYear SMALLINT, dTrack SMALLINT, "
    "dTitle CHAR(50), dArtist CHAR(50), dAlbum CHAR(50), dComment CHAR(250), dGenre CHAR(25), "
    "dComposer CHAR(50), dEncoder CHAR(50), dCopyright CHAR(50), dLanguage CHAR(25), "
    "dLink CHAR(100), dPath CHAR(230), dDriveSerialNumber CHAR(64), dDriveLabel CHAR(12), "
    "dDriveLetter CHAR(255), dDriveType INTEGER, dFileSize INTEGER, dMPEGVersion INTEGER, "
    "dMPEGLayer INTEGER, dMPEGBitrate INTEGER, dMPEGFrequency INTEGER, dChannelMode INTEGER, "
    "dMPEGFrames INTEGER, dMPEGCRC SMALLINT, dMPEGCopyright SMALLINT, dMPEGOriginal SMALLINT, "
    "dMPEGEmphasis SMALLINT, dMPEGEncoder CHAR(15), dLength DOUBLE, dDateAdded DATE, "
    "dTimeAdded TIME, dFileDate DATE)";

constexpr const char* kCreateSubColl =
    "create table if not exists SubColl ("
    "id INTEGER PRIMARY KEY AUTOINCREMENT, dName CHAR(100), dDescription CHAR(255), "
    "dUserid CHAR(50), dPassword CHAR(50), dFiles INTEGER, dLength INTEGER, dSize INTEGER, "
    "dCreatedDate TIMESTAMP, dUsePositions INTEGER)";

constexpr const char* kCreateSubCollD =
    "create table if not exists SubCollD ("
    "id INTEGER PRIMARY KEY AUTOINCREMENT, dDataId INTEGER, dEnabled INTEGER, "
    "dLogical INTEGER, dPosition DOUBLE, dSubCollectionId INTEGER)";

// The statements filter on a file's identity, on the drive type, on upper-cased artist,
// album and genre, and on a member's collection and file.
constexpr const char* kIndexes[] = {
    "create index if not exists maindata_identity on maindata (dDriveSerialNumber, dPath)",
    "create index if not exists maindata_drive_type on maindata (dDriveType)",
    "create index if not exists maindata_upper_artist on maindata (upper(dArtist))",
    "create index if not exists maindata_upper_album on maindata (upper(dAlbum))",
    "create index if not exists maindata_upper_genre on maindata (upper(dGenre))",
    "create index if not exists subcolld_collection on SubCollD (dSubCollectionId)",
    "create index if not exists subcolld_data on SubCollD (dDataId)",
};

// Indexes whose stored text calls plain upper( or lower(: built by a version that gave those
// names its own functions. Their keys differ from what SQLite's functions of that name compute,
// so they are built anew on the program's own names, in one transaction.
void ReplaceAsciiNamedCaseIndexes(Database& database) {
    std::vector<std::pair<std::string, std::string>> outdated;  // (name, stored text)
    {
        Query indexes(database,
                      "select name, sql from sqlite_master where type = 'index' and "
                      "sql is not null");
        for (; !indexes.AtEnd(); indexes.Next()) {
            const std::string sql = indexes[1].AsText();
            if (MapCaseFunctions(sql) != sql) {
                outdated.emplace_back(indexes[0].AsText(), sql);
            }
        }
    }
    if (outdated.empty()) {
        return;
    }
    database.BeginTransaction();
    try {
        for (const auto& [name, sql] : outdated) {
            database.Execute("drop index \"" + name + "\"");
            database.Execute(sql);
        }
        database.Commit();
    } catch (...) {
        database.Rollback();
        throw;
    }
}

}  // namespace

bool EnsureCatalogTables(Database& database) {
    bool existed = false;
    {
        Query found(database, "select 1 from sqlite_master where type = 'table' and "
                              "name = 'maindata' collate nocase");
        existed = !found.AtEnd();
    }
    database.Execute(kCreateMaindata);
    database.Execute(kCreateSubColl);
    database.Execute(kCreateSubCollD);
    return !existed;
}

void EnsureCatalogIndexes(Database& database) {
    ReplaceAsciiNamedCaseIndexes(database);
    for (const char* index : kIndexes) {
        database.Execute(index);
    }
}

void EnsureCatalogSchema(Database& database) {
    EnsureCatalogTables(database);
    EnsureCatalogIndexes(database);
}

}  // namespace sonarchive::catalog
