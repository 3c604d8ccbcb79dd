#include "catalog_store/salvage.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "catalog_store/engine.h"
#include "catalog_store/schema.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::catalog {
namespace {

constexpr std::array<const char*, 3> kTables = {"maindata", "SubColl", "SubCollD"};
// The files SQLite keeps beside a database.
constexpr std::array<const char*, 4> kCompanions = {"", "-wal", "-shm", "-journal"};
// Rows read with one statement; a range that fails is read again row by row.
constexpr std::int64_t kRangeSize = 500;
constexpr int kMaxNameTries = 100;

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool HasContent(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

// "file:" + the path with the characters a URI gives a meaning escaped.
std::string FileUri(const std::string& path) {
    std::string uri = "file:";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '?' || c == '#' || c == '%' || byte < 0x21) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            uri += escaped;
        } else {
            uri += c;
        }
    }
    return uri;
}

void RemoveWithCompanions(const std::string& path) {
    for (const char* suffix : kCompanions) {
        std::remove((path + suffix).c_str());
    }
}

// A statement on the damaged file, finalized with the object.
class SourceStatement {
public:
    SourceStatement(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK) {
            const std::string message = sqlite3_errmsg(db);
            sqlite3_finalize(statement_);
            throw EngineError(sqlite3_extended_errcode(db), message);
        }
    }
    ~SourceStatement() { sqlite3_finalize(statement_); }
    SourceStatement(const SourceStatement&) = delete;
    SourceStatement& operator=(const SourceStatement&) = delete;
    sqlite3_stmt* Get() const { return statement_; }

private:
    sqlite3_stmt* statement_ = nullptr;
};

// The damaged file, opened only for reading: nothing of it is ever changed. Without a
// write-ahead log to read along it is opened as immutable, so that not even the lock and log
// files a reader makes appear beside it.
class Source {
public:
    explicit Source(const std::string& path) {
        const std::string name = HasContent(path + "-wal") ? path : FileUri(path) + "?immutable=1";
        const int rc =
            sqlite3_open_v2(name.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
        if (rc != SQLITE_OK) {
            const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
            sqlite3_close_v2(db_);
            throw EngineError(rc, message);
        }
    }
    ~Source() { sqlite3_close_v2(db_); }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    sqlite3* Handle() const { return db_; }

    // The first column of the first row, 0 for none or NULL; nothing when the read fails.
    std::optional<std::int64_t> Integer(const std::string& sql) const {
        try {
            SourceStatement query(db_, sql);
            const int rc = sqlite3_step(query.Get());
            if (rc == SQLITE_ROW) {
                return sqlite3_column_int64(query.Get(), 0);
            }
            if (rc == SQLITE_DONE) {
                return 0;
            }
        } catch (const EngineError&) {
        }
        return std::nullopt;
    }

    // The column names of a table; throws when the schema cannot be read.
    std::vector<std::string> Columns(const std::string& table) const {
        SourceStatement info(db_, "pragma table_info(\"" + table + "\")");
        std::vector<std::string> names;
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(info.Get())) == SQLITE_ROW) {
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.Get(), 1)));
        }
        if (rc != SQLITE_DONE) {
            throw EngineError(sqlite3_extended_errcode(db_), sqlite3_errmsg(db_));
        }
        return names;
    }

private:
    sqlite3* db_ = nullptr;
};

std::vector<std::string> FreshColumns(Database& fresh, const std::string& table) {
    std::vector<std::string> names;
    for (Query info(fresh, "pragma table_info(" + table + ")"); !info.AtEnd(); info.Next()) {
        names.push_back(info["name"].AsText());
    }
    return names;
}

// The columns both catalogs have, in the damaged table's order: an older catalog may lack some.
std::vector<std::string> SharedColumns(const std::vector<std::string>& source,
                                       const std::vector<std::string>& fresh) {
    std::vector<std::string> shared;
    for (const auto& name : source) {
        if (std::any_of(fresh.begin(), fresh.end(), [&](const std::string& other) {
                return text::EqualsIgnoringCase(name, other);
            })) {
            shared.push_back(name);
        }
    }
    return shared;
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const auto& name : names) {
        joined += (joined.empty() ? "\"" : ", \"") + name + "\"";
    }
    return joined;
}

// Copies the rows of one table that can be read, keeping their rowids.
class TableCopy {
public:
    TableCopy(const Source& source, Database& fresh, std::string table)
        : source_(source), table_(std::move(table)) {
        const auto columns = SharedColumns(source.Columns(table_), FreshColumns(fresh, table_));
        select_ = "select rowid, " + JoinNames(columns) + " from \"" + table_ +
                  "\" where rowid between ? and ? order by rowid";
        std::string placeholders;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            placeholders += i == 0 ? "?" : ", ?";
        }
        columnCount_ = static_cast<int>(columns.size());
        insert_ = fresh.Prepare("insert or ignore into " + table_ + " (" + JoinNames(columns) +
                                ") values (" + placeholders + ")");
    }
    ~TableCopy() { sqlite3_finalize(insert_); }
    TableCopy(const TableCopy&) = delete;
    TableCopy& operator=(const TableCopy&) = delete;

    // Copies every readable row up to `lastRowid`; the ranges that cannot be read go to
    // `problems`.
    void CopyUpTo(std::int64_t lastRowid, Database& fresh, std::vector<std::string>& problems) {
        std::int64_t low = 1;
        while (low <= lastRowid) {
            const std::int64_t high =
                lastRowid - low < kRangeSize ? lastRowid : low + kRangeSize - 1;
            std::int64_t next = low;
            const bool read = CopyRange(low, high, next, fresh);
            if (!read) {
                CopyRowByRow(next, high, fresh, problems);
            }
            if (high == lastRowid) {
                return;
            }
            const bool empty = read && next == low;
            low = high + 1;
            if (empty) {
                // An empty range: go on at the next row there is, past long runs of deleted ids.
                const auto following = source_.Integer("select min(rowid) from \"" + table_ +
                                                       "\" where rowid > " + std::to_string(high));
                if (following && *following == 0) {
                    return;
                }
                low = std::max(low, following.value_or(low));
            }
        }
    }

    std::int64_t Saved() const { return saved_; }
    std::int64_t HighestRowid() const { return highest_; }

private:
    // Copies rows in [low, high]; false when a read failed, `next` being the first rowid not
    // yet copied.
    bool CopyRange(std::int64_t low, std::int64_t high, std::int64_t& next, Database& fresh) {
        SourceStatement query(source_.Handle(), select_);
        sqlite3_bind_int64(query.Get(), 1, low);
        sqlite3_bind_int64(query.Get(), 2, high);
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(query.Get())) == SQLITE_ROW) {
            const std::int64_t rowid = sqlite3_column_int64(query.Get(), 0);
            Insert(query.Get(), rowid, fresh);
            next = rowid + 1;
        }
        return rc == SQLITE_DONE;
    }

    void CopyRowByRow(std::int64_t low, std::int64_t high, Database& fresh,
                      std::vector<std::string>& problems) {
        std::optional<std::int64_t> lostSince;
        const auto closeLostRun = [&](std::int64_t end) {
            if (lostSince) {
                problems.push_back(table_ + ": rows " + std::to_string(*lostSince) + " to " +
                                   std::to_string(end) + " could not be read");
                lostSince.reset();
            }
        };
        for (std::int64_t rowid = low; rowid <= high; ++rowid) {
            std::int64_t ignored = rowid;
            if (CopyRange(rowid, rowid, ignored, fresh)) {
                closeLostRun(rowid - 1);
            } else if (!lostSince) {
                lostSince = rowid;
            }
        }
        closeLostRun(high);
    }

    void Insert(sqlite3_stmt* row, std::int64_t rowid, Database& fresh) {
        for (int i = 0; i < columnCount_; ++i) {
            sqlite3_bind_value(insert_, i + 1, sqlite3_column_value(row, i + 1));
        }
        const int rc = sqlite3_step(insert_);
        sqlite3_reset(insert_);
        sqlite3_clear_bindings(insert_);
        if (rc != SQLITE_DONE) {
            fresh.Fail(rc);
        }
        ++saved_;
        highest_ = std::max(highest_, rowid);
    }

    const Source& source_;
    std::string table_;
    std::string select_;
    int columnCount_ = 0;
    sqlite3_stmt* insert_ = nullptr;
    std::int64_t saved_ = 0;
    std::int64_t highest_ = 0;
};

std::string Literal(const std::string& name) {
    return "'" + name + "'";
}

// Copies one table and carries its id sequence over, so that no id of a lost row is reused.
SalvagedTable SalvageTable(const Source& source, Database& fresh, const std::string& table,
                           std::vector<std::string>& problems) {
    const auto sequence = source.Integer(
        "select seq from sqlite_sequence where name = " + Literal(table) + " collate nocase");
    const auto highest = source.Integer("select max(rowid) from \"" + table + "\"");
    if (!sequence && !highest) {
        problems.push_back(table + ": the number of rows could not be read");
    }
    const std::int64_t last = std::max(sequence.value_or(0), highest.value_or(0));
    TableCopy copy(source, fresh, table);
    copy.CopyUpTo(last, fresh, problems);
    const std::int64_t next = std::max(last, copy.HighestRowid());
    if (next > 0) {
        fresh.Execute("delete from sqlite_sequence where name = " + Literal(table));
        fresh.Execute("insert into sqlite_sequence (name, seq) values (" + Literal(table) + ", " +
                      std::to_string(next) + ")");
    }
    return {table, copy.Saved()};
}

SalvageReport CopyReadableRows(const std::string& databasePath, const std::string& freshPath) {
    const Source source(databasePath);
    Database fresh(freshPath);
    EnsureCatalogTables(fresh);
    SalvageReport report;
    fresh.BeginTransaction();
    try {
        for (const char* table : kTables) {
            report.tables.push_back(SalvageTable(source, fresh, table, report.problems));
        }
        fresh.Commit();
    } catch (...) {
        fresh.Rollback();
        throw;
    }
    EnsureCatalogIndexes(fresh);
    // One file, no write-ahead log to carry along when it is moved into place.
    fresh.Execute("pragma journal_mode=delete");
    return report;
}

void Rename(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        throw EngineError(SQLITE_CANTOPEN, "Cannot rename " + text::PathFromSystem(from) + " to " +
                                               text::PathFromSystem(to));
    }
}

// Moves the damaged file and its companions aside, then the fresh catalog into its place; on a
// failure what was moved goes back.
void SwapFiles(const std::string& databasePath, const std::string& damagedPath,
               const std::string& freshPath) {
    std::vector<const char*> moved;
    try {
        for (const char* suffix : kCompanions) {
            if (Exists(databasePath + suffix)) {
                Rename(databasePath + suffix, damagedPath + suffix);
                moved.push_back(suffix);
            }
        }
        Rename(freshPath, databasePath);
    } catch (...) {
        for (const char* suffix : moved) {
            std::rename((damagedPath + suffix).c_str(), (databasePath + suffix).c_str());
        }
        throw;
    }
}

}  // namespace

std::string DamagedFileName(const std::string& databasePath, std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = databasePath + ".damaged-" + stamp;
    for (int attempt = 1; attempt <= kMaxNameTries; ++attempt) {
        const std::string name = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        if (!Exists(name) && !Exists(name + "-wal")) {
            return name;
        }
    }
    return base + "-" + std::to_string(when);
}

SalvageReport SalvageDatabase(const std::string& databasePath, const std::string& damagedPath) {
    const std::string freshPath = databasePath + ".salvage";
    RemoveWithCompanions(freshPath);  // of a salvage that was interrupted
    try {
        SalvageReport report = CopyReadableRows(databasePath, freshPath);
        SwapFiles(databasePath, damagedPath, freshPath);
        return report;
    } catch (...) {
        RemoveWithCompanions(freshPath);
        throw;
    }
}

std::string LimitedLines(const std::vector<std::string>& lines, std::size_t limit) {
    std::string text;
    for (std::size_t i = 0; i < lines.size() && i < limit; ++i) {
        text += lines[i] + "\n";
    }
    if (lines.size() > limit) {
        text += "(" + std::to_string(lines.size() - limit) + " more)\n";
    }
    return text;
}

}  // namespace sonarchive::catalog
