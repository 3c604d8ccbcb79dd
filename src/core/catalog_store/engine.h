// The small engine interface the catalog needs, over SQLite.
//
// Everything above this layer is SQL text built by concatenation. The layer adds what the
// catalog expects of its engine beyond plain SQLite: result columns whose name repeats an
// earlier one are named with "_1" ("Id_1"); upper() and lower() use full Unicode case mapping
// under names of their own (case_functions.h); dates are read and written as days since
// 1899-12-30; the column-widening ALTER form is carried out as a table rebuild; and every
// failure is an EngineError carrying SQLite's code and message.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sonarchive::catalog {

class EngineError : public std::runtime_error {
public:
    EngineError(int code, const std::string& message);
    int Code() const { return code_; }
    // SQLite's primary result code (SQLITE_CORRUPT, SQLITE_BUSY, ...).
    int PrimaryCode() const { return code_ & 0xFF; }
    const std::string& Message() const { return message_; }

private:
    int code_;
    std::string message_;
};

class Database;

// One value of a result row, read as the caller needs it.
class Field {
public:
    Field(sqlite3_stmt* statement, int column) : statement_(statement), column_(column) {}
    bool IsNull() const;
    // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL.
    int Type() const;
    std::int64_t AsInteger() const;
    double AsDouble() const;
    // Days since 1899-12-30, the fraction being the time of day; 0 for NULL or empty text.
    double AsDateTime() const;
    std::string AsText() const;

private:
    sqlite3_stmt* statement_;
    int column_;
};

// A query and its cursor. Construction runs the query and stands on the first row (or at the
// end when there is none).
class Query {
public:
    Query(Database& database, std::string sql);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    bool AtEnd() const { return atEnd_; }
    void Next();

    // Field by position (0-based) or by name (case-insensitive, "_1" names included).
    Field operator[](int column) const;
    Field operator[](std::string_view name) const;
    bool HasColumn(std::string_view name) const;

    const std::vector<std::string>& ColumnNames() const { return names_; }
    // Number of rows of the whole result (runs a count of the same query).
    std::int64_t RowCount() const;
    // Declared width of a text column ("CHAR(230)" gives 230); 0 when it has none.
    int DeclaredWidth(int column) const;

private:
    int ColumnIndex(std::string_view name) const;

    Database& database_;
    std::string sql_;
    sqlite3_stmt* statement_ = nullptr;
    std::vector<std::string> names_;
    bool atEnd_ = true;
};

// Appends rows to one table by column names, each column set at most once per row. The
// prepared statement is kept for the next row with the same columns, so bulk inserts cost one
// step each.
class TableAppender {
public:
    TableAppender(Database& database, std::string table);

    void SetText(const std::string& column, std::string_view value);
    void SetInteger(const std::string& column, std::int64_t value);
    void SetDouble(const std::string& column, double value);
    // Written as 'YYYY-MM-DD' for a date column, 'HH:MM:SS' for a time column, else as
    // 'YYYY-MM-DD HH:MM:SS'.
    void SetDateTime(const std::string& column, double daysSince1899);
    // Inserts the row and returns the id the engine assigned.
    std::int64_t Post();

private:
    struct Value {
        std::string column;
        int type;  // SQLITE_TEXT, SQLITE_INTEGER or SQLITE_FLOAT
        std::string text;
        std::int64_t integer = 0;
        double real = 0;
    };
    void Set(Value value);

    Database& database_;
    std::string table_;
    std::vector<Value> values_;
};

class Database {
public:
    // Opens (creating when missing) the database file, in WAL mode. `path` is in the system's
    // bytes (text::PathToSystem).
    explicit Database(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& Path() const { return path_; }
    bool IsConnected() const { return handle_ != nullptr; }
    void Disconnect();
    // Connects again when disconnected; every query and statement does this itself.
    void Reconnect();

    // Runs a statement without rows and answers the number of rows it changed.
    std::int64_t Execute(const std::string& sql);
    // The same for a statement with "?" parameters, prepared once and kept: for a statement
    // run once per row of a long run.
    using Parameter = std::variant<std::string_view, std::int64_t>;
    std::int64_t ExecuteBound(const std::string& sql, std::initializer_list<Parameter> parameters);
    std::int64_t LastInsertId();

    // The first column of the first row of a query with "?" parameters bound to the texts, or
    // -1 when there is no row. The statement is prepared once and kept.
    std::int64_t LookupInteger(const std::string& sql,
                               std::initializer_list<std::string_view> parameters);

    void BeginTransaction();
    void Commit();
    void Rollback();
    bool InTransaction();

    // Runs `work` with no other connection on the file; throws EngineError (SQLITE_BUSY)
    // when another connection holds it.
    void WithExclusiveAccess(const std::function<void()>& work);
    // Removes deleted rows from the file (VACUUM); needs exclusive access.
    void Pack();
    // Rebuilds every index from its table.
    void Reindex();
    int PageSize();
    // Rebuilds the file with a new page size; needs exclusive access.
    void RebuildWithPageSize(int pageSize);
    // Builds the database file anew from the rows of its tables, every index created afresh:
    // the repair for damaged index pages that REINDEX cannot clear.
    void RebuildFromTables();

    // Declared type of a table column ("CHAR(230)"); empty when there is no such column.
    std::string DeclaredType(const std::string& table, const std::string& column);

    // Called with the text of every query and statement run (tests and diagnostics).
    void SetStatementObserver(std::function<void(const std::string&)> observer);

    sqlite3* Handle();
    sqlite3_stmt* Prepare(const std::string& sql);
    sqlite3_stmt* CachedStatement(const std::string& sql);
    // The prepared insert of these columns into a table.
    sqlite3_stmt* InsertStatement(const std::string& table, const std::vector<std::string>& columns);
    void Observe(const std::string& sql);
    [[noreturn]] void Fail(int code);

private:
    void Connect();
    void Configure();
    void FinalizeCached();
    void AlterColumnType(const std::string& table, const std::string& column,
                         const std::string& type);
    void ExecuteRaw(const std::string& sql);
    bool HasSequenceTable();
    // The tables and rows of this file, read by full scans, into a new file at `rebuilt`.
    void CopyTablesInto(const std::string& rebuilt);

    std::string path_;
    sqlite3* handle_ = nullptr;
    std::map<std::string, sqlite3_stmt*> cache_;
    std::map<std::string, std::string> declaredTypes_;  // "table.column" -> declared type
    struct CachedInsert {
        std::vector<std::string> columns;
        std::string sql;
        sqlite3_stmt* statement = nullptr;
    };
    std::map<std::string, CachedInsert> inserts_;  // by table
    std::function<void(const std::string&)> observer_;
};

}  // namespace sonarchive::catalog
