// The statements a search builds: the simple search (one field, one condition, one value) and
// the advanced grid of up to five conditions joined by AND or OR, with the grid's validation
// and the readable text shown under it.
//
// No text the user typed reaches a statement unchecked: texts are quoted, numbers must read
// as whole numbers and dates as dates, and only known operators and joins are written.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "catalog_store/sql_text.h"
#include "lists/search_history.h"

namespace sonarchive::lists {

class DateFormat;

constexpr char kKindText = 'C';
constexpr char kKindNumber = 'I';
constexpr char kKindDate = 'D';

constexpr std::string_view kContains = "Contains";
constexpr std::string_view kExactMatch = "Exact match";

// The number editors take whole numbers from 0 to this (sample rates must be searchable).
constexpr std::int64_t kNumberEditorMaximum = 2000000000;

// The searchable field with that caption (compared upper-cased); null when none.
const catalog::CatalogField* FieldByCaption(std::string_view caption);
// Its position in CatalogFields; -1 when none.
int FieldIndexByCaption(std::string_view caption);

// The conditions offered for a kind, in order: "Contains", "Exact match" for text; "=", ">",
// "<", "<>", "<=", ">=" for numbers and dates. Empty for an unknown kind.
std::span<const std::string_view> OperatorsOf(char kind);
// The position of a condition among the operators of its kind; -1 when it is not one.
int OperatorIndex(char kind, std::string_view condition);

// A whole number the number editors could hold (trimmed first); nothing otherwise.
std::optional<std::int64_t> ReadGridNumber(std::string_view text);
// A number as the simple search reads it: trimmed, read as a number and truncated toward
// zero; 0 when it does not read as one.
std::int64_t ReadSimpleNumber(std::string_view text);

struct SimpleSearch {
    std::string field;      // caption; empty when no field is chosen
    std::string condition;  // empty when no condition is chosen
    std::string value;      // the value editor's or the pick list's text
};

// The standard select with the search's condition; empty when no field or condition is
// chosen, the condition does not suit the field, or a date value names no date.
std::string SimpleStatement(const SimpleSearch& search, const DateFormat& dates);
// The window caption after a simple search: "\"Artist Contains beatles\" - found 3 rows".
std::string SimpleCaption(const SimpleSearch& search, std::int64_t rowCount);
// "Advanced search - found 3 rows".
std::string AdvancedCaption(std::int64_t rowCount);

// The advanced grid: rows 1 to 5 as field, condition, value and combine texts.
using SearchGrid = std::array<TSearchCondition, 5>;

struct AdvancedSearch {
    std::string statement;  // empty when no row gives a condition
    std::string readable;   // "(Artist Contains 'BEATLES') AND (Year > 1965)"
};
AdvancedSearch BuildAdvancedSearch(const SearchGrid& grid, const DateFormat& dates);

// Repairs every row as the grid does after each edit: conditions that do not suit the field,
// numbers that are no whole numbers ("0"), dates that are no dates (`today` in the user's
// format), and joins other than AND and OR ("IGNORE").
void ValidateGrid(SearchGrid& grid, const DateFormat& dates, double today);

}  // namespace sonarchive::lists
