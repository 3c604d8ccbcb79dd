// Finding text in a list and measuring its columns, over any list whose rows can name their
// texts: a flat list of file rows, or a tree with group rows the window flattens in list order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "lists/result_columns.h"

namespace sonarchive::lists {

class DateFormat;
class ResultRows;

class ListTexts {
public:
    virtual ~ListTexts() = default;
    virtual std::size_t RowCount() const = 0;
    // The text of the first column.
    virtual std::string MainText(std::size_t row) const = 0;
    // The text of the column with that code; group rows have none but their main text.
    virtual std::string ColumnText(std::size_t row, int code) const = 0;
};

// The file rows of one store as list texts.
class FileRowTexts final : public ListTexts {
public:
    FileRowTexts(const ResultRows& rows, const DateFormat& dates) : rows_(rows), dates_(dates) {}
    std::size_t RowCount() const override;
    std::string MainText(std::size_t row) const override;
    std::string ColumnText(std::size_t row, int code) const override;

private:
    const ResultRows& rows_;
    const DateFormat& dates_;
};

// The first row after `after` (from the first row when `after` is negative or past the end)
// whose main text, when the first column is visible, or the text of any other visible column
// holds `text`, both upper-cased; -1 when none follows. The search does not wrap around.
int FindRowContaining(const ListTexts& list, const ResultColumns& columns, std::string_view text,
                      int after);

// The largest number of characters of one column over all rows; section 0 is the main text.
std::size_t LongestText(const ListTexts& list, const ResultColumns& columns, int section);

}  // namespace sonarchive::lists
