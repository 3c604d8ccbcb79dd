// Small helpers that build the SQL text of the catalog's statements. Every statement is text
// built by concatenation: text values go through SqlQuote and between single quotes, numbers
// are written plain, dates through SqlDateText, and id lists in batches of at most 50.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace sonarchive::catalog {

using IdList = std::deque<std::int64_t>;

// Format codes of dFormat.
constexpr int kFormatMp3 = 2;
constexpr int kFormatWav = 5;
constexpr int kFormatOgg = 11;
constexpr int kFormatMonkey = 13;
constexpr int kFormatOther = 255;

// Drive type codes of dDriveType.
constexpr int kDriveRemote = 4;
constexpr int kDriveFixed = 3;

constexpr std::size_t kIdBatchSize = 50;
constexpr std::size_t kMaxStoredPathLength = 230;

// Cuts the text at its first NUL and doubles every single quote; the caller adds the quotes.
std::string SqlQuote(std::string_view text);

// "(1,2,3)"; empty text for an empty list.
std::string IdListAll(const IdList& ids);
// Removes at most 50 ids from the front of the list and returns them as IdListAll does.
std::string IdListBatch(IdList& ids);

// The format code of a file name by its upper-cased extension.
int FormatCodeOf(std::string_view fileName);
// The drive type code of a drive type name; 255 for an unknown name.
int DriveTypeCodeOf(std::string_view driveTypeName);
// The drive type name of a code; empty for an unknown code.
std::string DriveTypeNameOf(int code);

// A date as 'YYYY-MM-DD' text (without quotes). Years below 100 are taken as two-digit years:
// 50..99 as 19xx, 0..49 as 20xx.
std::string SqlDateText(int year, int month, int day);
std::string SqlDateText(double daysSince1899);

std::int64_t ClampInt(std::int64_t value, std::int64_t limit);
// The first `width` characters (code points) of a text.
std::string TruncateText(std::string_view text, std::size_t width);

// 187 seconds give "03:07"; minutes are not capped.
std::string MinutesSeconds(std::int64_t seconds);
// Minutes, the locale's time separator, two-digit seconds.
std::string MinutesSecondsLocal(std::int64_t seconds);
// Hours, separator, two-digit minutes, separator, two-digit seconds.
std::string HoursMinutesSeconds(std::int64_t seconds);

// One searchable field: column, caption, kind ("C" text, "I" number, "D" date).
struct CatalogField {
    std::string_view column;
    std::string_view caption;
    char kind;
};
extern const std::array<CatalogField, 20> CatalogFields;

// The column list every result list is filled from.
extern const std::string_view kStandardSelectColumns;
// kStandardSelectColumns + " from maindata where " + condition.
std::string StandardSelectWhere(std::string_view condition);
std::string StandardSelectById(std::int64_t id);          // ... where id=N
std::string StandardSelectSinceId(std::int64_t id);       // ... where id > N order by id
std::string StandardSelectIdIn(std::string_view idList);  // ... where id in (...)
std::string StandardSelectAll();                          // ... from maindata order by id

}  // namespace sonarchive::catalog
