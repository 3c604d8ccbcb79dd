#include "catalog_store/case_functions.h"

#include <array>
#include <cctype>

#include "text/text.h"

namespace sonarchive::catalog {
namespace {

template <std::string (*Map)(std::string_view)>
void CaseFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    const int length = sqlite3_value_bytes(arguments[0]);
    const std::string mapped = Map(std::string_view(bytes, static_cast<std::size_t>(length)));
    sqlite3_result_text(context, mapped.data(), static_cast<int>(mapped.size()), SQLITE_TRANSIENT);
}

struct Renaming {
    std::string_view from;
    std::string_view to;
};

constexpr std::array<Renaming, 2> kRenamings = {
    {{"upper", "unicode_upper"}, {"lower", "unicode_lower"}}};

bool IsNameCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) != 0 || c == '_' || c == '$' || u >= 0x80;
}

// Where a quoted stretch that starts at `pos` ends (one past its closing quote); a doubled
// quote inside stays inside. An unclosed one runs to the end.
std::size_t EndOfQuoted(std::string_view sql, std::size_t pos) {
    const char close = sql[pos] == '[' ? ']' : sql[pos];
    std::size_t i = pos + 1;
    while (i < sql.size()) {
        if (sql[i] == close) {
            if (close != ']' && i + 1 < sql.size() && sql[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

// The renaming of a function call starting at `pos`, or null when no call of upper( or lower(
// starts there.
const Renaming* CallAt(std::string_view sql, std::size_t pos) {
    if (pos > 0 && (IsNameCharacter(sql[pos - 1]) || sql[pos - 1] == '.')) {
        return nullptr;
    }
    for (const Renaming& renaming : kRenamings) {
        const std::size_t end = pos + renaming.from.size();
        if (end > sql.size() ||
            !text::EqualsIgnoringCase(sql.substr(pos, renaming.from.size()), renaming.from)) {
            continue;
        }
        std::size_t next = end;
        while (next < sql.size() && std::isspace(static_cast<unsigned char>(sql[next])) != 0) {
            ++next;
        }
        if (next < sql.size() && sql[next] == '(') {
            return &renaming;
        }
    }
    return nullptr;
}

}  // namespace

bool RegisterCaseFunctions(sqlite3* handle) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    return sqlite3_create_function_v2(handle, "unicode_upper", 1, flags, nullptr,
                                      &CaseFunction<text::UpperCase>, nullptr, nullptr,
                                      nullptr) == SQLITE_OK &&
           sqlite3_create_function_v2(handle, "unicode_lower", 1, flags, nullptr,
                                      &CaseFunction<text::LowerCase>, nullptr, nullptr,
                                      nullptr) == SQLITE_OK;
}

std::string MapCaseFunctions(std::string_view sql) {
    std::string out;
    out.reserve(sql.size() + 16);
    std::size_t pos = 0;
    while (pos < sql.size()) {
        const char c = sql[pos];
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            const std::size_t end = EndOfQuoted(sql, pos);
            out.append(sql.substr(pos, end - pos));
            pos = end;
            continue;
        }
        if (const Renaming* renaming = CallAt(sql, pos)) {
            out.append(renaming->to);
            pos += renaming->from.size();
            continue;
        }
        out += c;
        ++pos;
    }
    return out;
}

}  // namespace sonarchive::catalog
