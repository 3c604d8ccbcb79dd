// Sorting a result list by one of its columns.
//
// A sort is a permutation of row positions over keys taken out once: text columns compare
// by the root collation order (case and accents second, so "björk" stands beside "Bjork",
// not after "Z"), number columns by value, dates by day. Length (m:s) is a text column, so
// 09:59 sorts before 10:00 and 100:00 before 11:00.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "lists/result_columns.h"

namespace sonarchive::lists {

class DateFormat;
class ResultRows;

// Row positions in sorted order; rows whose keys are equal keep their order. `mainText`
// sorts the first column, which shows the row's main text rather than its code's text.
std::vector<std::uint32_t> SortOrder(const ResultRows& rows, int code, bool mainText,
                                     bool ascending, const DateFormat& dates);

// Orders two cell texts of a column of that kind, for rows the store does not hold (group
// rows): below 0, 0 or above 0. Number and date texts that do not read as such count as 0.
int CompareCellTexts(SortKind kind, std::string_view a, std::string_view b,
                     const DateFormat& dates);

// The direction of the next sort after a click on a column header: the first click on a
// column sorts ascending, each further click on it reverses.
bool NextSortAscending(int clickedSection, int sortedSection, bool sortedAscending);

}  // namespace sonarchive::lists
