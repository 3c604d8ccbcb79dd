#include "catalog_store/engine.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <regex>

#include "catalog_store/case_functions.h"
#include "catalog_store/date_time.h"
#include "text/path_bytes.h"

namespace sonarchive::catalog {
namespace {

constexpr int kBusyTimeoutMs = 5000;

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// "alter table T alter column C C <type>": SQLite has no such statement; it is carried out
// as a table rebuild.
const std::regex& AlterColumnPattern() {
    static const std::regex pattern(
        R"(^\s*alter\s+table\s+(\w+)\s+alter\s+column\s+(\w+)\s+(\w+)\s+(.+?)\s*;?\s*$)",
        std::regex::icase);
    return pattern;
}

std::string EscapeLiteral(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += c;
        if (c == '\'') {
            out += '\'';
        }
    }
    return out;
}

std::string TrimStatementEnd(std::string sql) {
    while (!sql.empty() && (std::isspace(static_cast<unsigned char>(sql.back())) ||
                            sql.back() == ';')) {
        sql.pop_back();
    }
    return sql;
}

int WidthOfDeclaredType(const char* declared) {
    if (declared == nullptr) {
        return 0;
    }
    static const std::regex width(R"(\(\s*(\d+)\s*\))");
    std::cmatch match;
    return std::regex_search(declared, match, width) ? std::stoi(match[1].str()) : 0;
}

}  // namespace

EngineError::EngineError(int code, const std::string& message)
    : std::runtime_error(message), code_(code), message_(message) {}

// ---------------------------------------------------------------------------------------------

bool Field::IsNull() const { return sqlite3_column_type(statement_, column_) == SQLITE_NULL; }

int Field::Type() const { return sqlite3_column_type(statement_, column_); }

std::int64_t Field::AsInteger() const { return sqlite3_column_int64(statement_, column_); }

double Field::AsDouble() const { return sqlite3_column_double(statement_, column_); }

double Field::AsDateTime() const {
    switch (sqlite3_column_type(statement_, column_)) {
        case SQLITE_NULL:
            return 0;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return AsDouble();
        default:
            return ParseDateTimeText(AsText());
    }
}

std::string Field::AsText() const {
    const auto* bytes = sqlite3_column_text(statement_, column_);
    if (bytes == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(bytes),
                       static_cast<std::size_t>(sqlite3_column_bytes(statement_, column_)));
}

// ---------------------------------------------------------------------------------------------

Query::Query(Database& database, std::string sql) : database_(database), sql_(std::move(sql)) {
    database_.Observe(sql_);
    statement_ = database_.Prepare(sql_);
    const int count = sqlite3_column_count(statement_);
    std::vector<std::string> engineNames;
    for (int i = 0; i < count; ++i) {
        const std::string name = sqlite3_column_name(statement_, i);
        const auto repeats = std::count_if(engineNames.begin(), engineNames.end(),
                                           [&](const auto& earlier) { return SameName(earlier, name); });
        names_.push_back(repeats > 0 ? name + "_" + std::to_string(repeats) : name);
        engineNames.push_back(name);
    }
    atEnd_ = false;
    Next();
}

Query::~Query() { sqlite3_finalize(statement_); }

void Query::Next() {
    if (atEnd_) {
        return;  // stepping a finished statement would run it again
    }
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) {
        atEnd_ = false;
        return;
    }
    atEnd_ = true;
    if (rc != SQLITE_DONE) {
        database_.Fail(rc);
    }
}

Field Query::operator[](int column) const {
    if (column < 0 || column >= static_cast<int>(names_.size())) {
        throw EngineError(SQLITE_RANGE, "Column index out of range: " + std::to_string(column));
    }
    return Field(statement_, column);
}

Field Query::operator[](std::string_view name) const {
    const int index = ColumnIndex(name);
    if (index < 0) {
        throw EngineError(SQLITE_ERROR, "Column not found: " + std::string(name));
    }
    return Field(statement_, index);
}

bool Query::HasColumn(std::string_view name) const { return ColumnIndex(name) >= 0; }

int Query::ColumnIndex(std::string_view name) const {
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (SameName(names_[i], name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::int64_t Query::RowCount() const {
    Query count(database_, "select count(*) from (" + TrimStatementEnd(sql_) + ")");
    return count.AtEnd() ? 0 : count[0].AsInteger();
}

int Query::DeclaredWidth(int column) const {
    return WidthOfDeclaredType(sqlite3_column_decltype(statement_, column));
}

// ---------------------------------------------------------------------------------------------

TableAppender::TableAppender(Database& database, std::string table)
    : database_(database), table_(std::move(table)) {}

void TableAppender::Set(Value value) { values_.push_back(std::move(value)); }

void TableAppender::SetText(const std::string& column, std::string_view value) {
    Set({column, SQLITE_TEXT, std::string(value)});
}

void TableAppender::SetInteger(const std::string& column, std::int64_t value) {
    Set({column, SQLITE_INTEGER, {}, value});
}

void TableAppender::SetDouble(const std::string& column, double value) {
    Set({column, SQLITE_FLOAT, {}, 0, value});
}

void TableAppender::SetDateTime(const std::string& column, double daysSince1899) {
    const std::string type = Lower(database_.DeclaredType(table_, column));
    if (type == "date") {
        SetText(column, DateText(daysSince1899));
    } else if (type == "time") {
        SetText(column, TimeText(daysSince1899));
    } else {
        SetText(column, DateTimeText(daysSince1899));
    }
}

std::int64_t TableAppender::Post() {
    std::vector<std::string> columns;
    columns.reserve(values_.size());
    for (const auto& value : values_) {
        columns.push_back(value.column);
    }
    sqlite3_stmt* statement = database_.InsertStatement(table_, columns);
    int index = 1;
    for (const auto& value : values_) {
        if (value.type == SQLITE_TEXT) {
            sqlite3_bind_text(statement, index, value.text.data(),
                              static_cast<int>(value.text.size()), SQLITE_TRANSIENT);
        } else if (value.type == SQLITE_INTEGER) {
            sqlite3_bind_int64(statement, index, value.integer);
        } else {
            sqlite3_bind_double(statement, index, value.real);
        }
        ++index;
    }
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    values_.clear();
    if (rc != SQLITE_DONE) {
        database_.Fail(rc);
    }
    return database_.LastInsertId();
}

// ---------------------------------------------------------------------------------------------

Database::Database(const std::string& path) : path_(path) { Connect(); }

Database::~Database() { Disconnect(); }

void Database::Connect() {
    sqlite3* handle = nullptr;
    // One connection is used by one thread at a time, so SQLite's own locking per call is
    // left out.
    const int rc = sqlite3_open_v2(path_.c_str(), &handle,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE |
                                       SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        const std::string message =
            handle != nullptr ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close_v2(handle);
        throw EngineError(rc, message + " (" + text::PathFromSystem(path_) + ")");
    }
    handle_ = handle;
    sqlite3_extended_result_codes(handle_, 1);
    try {
        Configure();
    } catch (...) {
        Disconnect();
        throw;
    }
}

void Database::Configure() {
    sqlite3_busy_timeout(handle_, kBusyTimeoutMs);
    if (!RegisterCaseFunctions(handle_)) {
        Fail(sqlite3_errcode(handle_));
    }
    ExecuteRaw("pragma journal_mode=wal");
    ExecuteRaw("pragma synchronous=normal");
}

void Database::Disconnect() {
    if (handle_ == nullptr) {
        return;
    }
    FinalizeCached();
    declaredTypes_.clear();
    sqlite3_close_v2(handle_);
    handle_ = nullptr;
}

void Database::Reconnect() {
    if (handle_ == nullptr) {
        Connect();
    }
}

sqlite3* Database::Handle() {
    Reconnect();
    return handle_;
}

void Database::Fail(int code) {
    const std::string message = handle_ != nullptr ? sqlite3_errmsg(handle_) : sqlite3_errstr(code);
    const int extended = handle_ != nullptr ? sqlite3_extended_errcode(handle_) : code;
    throw EngineError(extended != 0 ? extended : code, message);
}

sqlite3_stmt* Database::Prepare(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    const std::string mapped = MapCaseFunctions(sql);
    const int rc = sqlite3_prepare_v2(Handle(), mapped.c_str(), static_cast<int>(mapped.size()),
                                      &statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        Fail(rc);
    }
    if (statement == nullptr) {
        throw EngineError(SQLITE_MISUSE, "Empty statement");
    }
    return statement;
}

sqlite3_stmt* Database::CachedStatement(const std::string& sql) {
    Observe(sql);
    Reconnect();
    auto found = cache_.find(sql);
    if (found != cache_.end()) {
        return found->second;
    }
    sqlite3_stmt* statement = Prepare(sql);
    cache_.emplace(sql, statement);
    return statement;
}

sqlite3_stmt* Database::InsertStatement(const std::string& table,
                                       const std::vector<std::string>& columns) {
    // Bulk inserts set the same columns row after row: the statement is found by comparing
    // the column list, without building its text again.
    CachedInsert& cached = inserts_[table];
    if (cached.statement != nullptr && cached.columns == columns && handle_ != nullptr) {
        Observe(cached.sql);
        return cached.statement;
    }
    std::string names;
    std::string placeholders;
    for (const auto& column : columns) {
        names += (names.empty() ? "" : ", ") + column;
        placeholders += placeholders.empty() ? "?" : ", ?";
    }
    cached.sql = "insert into " + table + " (" + names + ") values (" + placeholders + ")";
    cached.columns = columns;
    cached.statement = CachedStatement(cached.sql);
    return cached.statement;
}

void Database::FinalizeCached() {
    for (auto& [sql, statement] : cache_) {
        sqlite3_finalize(statement);
    }
    cache_.clear();
    inserts_.clear();
}

void Database::Observe(const std::string& sql) {
    if (observer_) {
        observer_(sql);
    }
}

void Database::SetStatementObserver(std::function<void(const std::string&)> observer) {
    observer_ = std::move(observer);
}

void Database::ExecuteRaw(const std::string& sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(Handle(), MapCaseFunctions(sql).c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const std::string message = error != nullptr ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw EngineError(sqlite3_extended_errcode(handle_), message);
    }
}

std::int64_t Database::Execute(const std::string& sql) {
    Observe(sql);
    std::smatch match;
    if (std::regex_match(sql, match, AlterColumnPattern())) {
        AlterColumnType(match[1].str(), match[2].str(), match[4].str());
        return 0;
    }
    ExecuteRaw(sql);
    declaredTypes_.clear();  // the statement may have changed the schema
    return sqlite3_changes64(handle_);
}

std::int64_t Database::ExecuteBound(const std::string& sql,
                                    std::initializer_list<Parameter> parameters) {
    sqlite3_stmt* statement = CachedStatement(sql);
    int index = 1;
    for (const Parameter& parameter : parameters) {
        if (const auto* text = std::get_if<std::string_view>(&parameter)) {
            sqlite3_bind_text(statement, index++, text->data(), static_cast<int>(text->size()),
                              SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(statement, index++, std::get<std::int64_t>(parameter));
        }
    }
    const int rc = sqlite3_step(statement);
    // Reset at once: outside a transaction that is what commits the change.
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        Fail(rc);
    }
    return sqlite3_changes64(handle_);
}

std::int64_t Database::LastInsertId() { return sqlite3_last_insert_rowid(Handle()); }

std::int64_t Database::LookupInteger(const std::string& sql,
                                     std::initializer_list<std::string_view> parameters) {
    sqlite3_stmt* statement = CachedStatement(sql);
    int index = 1;
    for (const std::string_view text : parameters) {
        sqlite3_bind_text(statement, index++, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
    const int rc = sqlite3_step(statement);
    const std::int64_t value = rc == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        Fail(rc);
    }
    return value;
}

void Database::BeginTransaction() { ExecuteRaw("begin immediate"); }
void Database::Commit() { ExecuteRaw("commit"); }
void Database::Rollback() {
    if (InTransaction()) {
        ExecuteRaw("rollback");
    }
}
bool Database::InTransaction() { return sqlite3_get_autocommit(Handle()) == 0; }

void Database::WithExclusiveAccess(const std::function<void()>& work) {
    FinalizeCached();
    sqlite3_busy_timeout(Handle(), 0);
    // Leaving WAL mode needs every other connection to be idle: it is the gate that tells
    // whether another program is using the catalog right now.
    try {
        ExecuteRaw("pragma journal_mode=delete");
        Query mode(*this, "pragma journal_mode");
        if (mode.AtEnd() || Lower(mode[0].AsText()) != "delete") {
            throw EngineError(SQLITE_BUSY, "database is locked");
        }
    } catch (...) {
        sqlite3_busy_timeout(handle_, kBusyTimeoutMs);
        throw;
    }
    try {
        work();
    } catch (...) {
        ExecuteRaw("pragma journal_mode=wal");
        sqlite3_busy_timeout(handle_, kBusyTimeoutMs);
        throw;
    }
    ExecuteRaw("pragma journal_mode=wal");
    sqlite3_busy_timeout(handle_, kBusyTimeoutMs);
}

void Database::Pack() {
    WithExclusiveAccess([this] {
        Observe("vacuum");
        ExecuteRaw("vacuum");
    });
}

void Database::Reindex() {
    Observe("reindex");
    ExecuteRaw("reindex");
}

int Database::PageSize() {
    Query query(*this, "pragma page_size");
    return query.AtEnd() ? 0 : static_cast<int>(query[0].AsInteger());
}

void Database::RebuildWithPageSize(int pageSize) {
    WithExclusiveAccess([&] {
        ExecuteRaw("pragma page_size=" + std::to_string(pageSize));
        Observe("vacuum");
        ExecuteRaw("vacuum");
    });
}

void Database::RebuildFromTables() {
    Disconnect();
    const std::string rebuilt = path_ + ".rebuild";
    const auto removeRebuilt = [&rebuilt] {
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
            std::remove((rebuilt + suffix).c_str());
        }
    };
    removeRebuilt();
    try {
        CopyTablesInto(rebuilt);
    } catch (...) {
        removeRebuilt();  // a rebuild that failed leaves nothing behind
        throw;
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        std::remove((path_ + suffix).c_str());
    }
    if (std::rename(rebuilt.c_str(), path_.c_str()) != 0) {
        removeRebuilt();
        throw EngineError(SQLITE_CANTOPEN, "Cannot replace " + text::PathFromSystem(path_));
    }
}

void Database::CopyTablesInto(const std::string& rebuilt) {
    Database fresh(rebuilt);
    fresh.ExecuteRaw("attach database '" + EscapeLiteral(path_) + "' as damaged");
    std::vector<std::pair<std::string, std::string>> objects;  // (type, sql)
    {
        Query schema(fresh,
                     "select type, name, sql from damaged.sqlite_master where sql is "
                     "not null and name not like 'sqlite_%' order by type = 'table' desc");
        for (; !schema.AtEnd(); schema.Next()) {
            objects.emplace_back(schema[0].AsText(), schema[2].AsText());
            if (schema[0].AsText() == "table") {
                objects.emplace_back("copy", schema[1].AsText());
            }
        }
    }
    fresh.BeginTransaction();
    for (const auto& [type, sql] : objects) {
        // A full scan reads each table's own pages only, never a damaged index.
        fresh.ExecuteRaw(type == "copy" ? "insert into main.\"" + sql +
                                              "\" select * from damaged.\"" + sql + "\""
                                        : sql);
    }
    if (fresh.HasSequenceTable()) {
        fresh.ExecuteRaw("delete from main.sqlite_sequence");
        fresh.ExecuteRaw(
            "insert into main.sqlite_sequence select * from "
            "damaged.sqlite_sequence");
    }
    fresh.Commit();
    fresh.ExecuteRaw("detach database damaged");
}

std::string Database::DeclaredType(const std::string& table, const std::string& column) {
    const std::string key = Lower(table) + "." + Lower(column);
    if (const auto known = declaredTypes_.find(key); known != declaredTypes_.end()) {
        return known->second;
    }
    std::string type;
    Query info(*this, "pragma table_info(" + table + ")");
    for (; !info.AtEnd(); info.Next()) {
        if (SameName(info["name"].AsText(), column)) {
            type = info["type"].AsText();
        }
    }
    declaredTypes_[key] = type;
    return type;
}

void Database::AlterColumnType(const std::string& table, const std::string& column,
                               const std::string& type) {
    // The documented way to change a column's declared type: create the table anew with the
    // changed definition, copy the rows, drop the old table, rename the new one, recreate its
    // indexes. The autoincrement sequence is carried over so that no id is ever reused.
    std::string createSql;
    std::vector<std::string> indexSql;
    {
        Query schema(*this, "select type, sql from sqlite_master where tbl_name = '" + table +
                                "' collate nocase and sql is not null");
        for (; !schema.AtEnd(); schema.Next()) {
            (schema[0].AsText() == "table" ? createSql : indexSql.emplace_back()) =
                schema[1].AsText();
        }
    }
    if (createSql.empty()) {
        throw EngineError(SQLITE_ERROR, "no such table: " + table);
    }
    const std::regex columnDefinition("([(,]\\s*)" + column + "\\s+[A-Za-z]+(\\s*\\(\\s*\\d+\\s*\\))?",
                                      std::regex::icase);
    const std::regex tableName("(create\\s+table\\s+)\"?" + table + "\"?", std::regex::icase);
    std::string newCreate = std::regex_replace(createSql, columnDefinition,
                                               "$1" + column + " " + type,
                                               std::regex_constants::format_first_only);
    if (newCreate == createSql && Lower(DeclaredType(table, column)) != Lower(type)) {
        throw EngineError(SQLITE_ERROR, "no such column: " + column);
    }
    const std::string rebuilt = table + "_rebuilt";
    newCreate = std::regex_replace(newCreate, tableName, "$1" + rebuilt,
                                   std::regex_constants::format_first_only);

    BeginTransaction();
    try {
        ExecuteRaw(newCreate);
        ExecuteRaw("insert into " + rebuilt + " select * from " + table);
        if (HasSequenceTable()) {
            ExecuteRaw("update sqlite_sequence set seq = (select seq from sqlite_sequence "
                       "where name = '" + table + "') where name = '" + rebuilt + "'");
        }
        ExecuteRaw("drop table " + table);
        ExecuteRaw("alter table " + rebuilt + " rename to " + table);
        for (const auto& sql : indexSql) {
            ExecuteRaw(sql);
        }
        Commit();
    } catch (...) {
        Rollback();
        throw;
    }
    declaredTypes_.clear();
}

bool Database::HasSequenceTable() {
    Query found(*this, "select 1 from sqlite_master where name = 'sqlite_sequence'");
    return !found.AtEnd();
}

}  // namespace sonarchive::catalog
