#include "lists/list_texts.h"

#include "lists/result_rows.h"
#include "text/text.h"

namespace sonarchive::lists {

std::size_t FileRowTexts::RowCount() const {
    return rows_.Size();
}

std::string FileRowTexts::MainText(std::size_t row) const {
    return std::string(rows_.MainText(row));
}

std::string FileRowTexts::ColumnText(std::size_t row, int code) const {
    return CellText(rows_, row, code, dates_);
}

int FindRowContaining(const ListTexts& list, const ResultColumns& columns, std::string_view text,
                      int after) {
    const std::string wanted = text::UpperCase(text);
    const auto count = static_cast<int>(list.RowCount());
    const int first = after < 0 || after >= count ? 0 : after + 1;
    const auto holds = [&wanted](const std::string& cell) {
        return text::UpperCase(cell).find(wanted) != std::string::npos;
    };
    for (int row = first; row < count; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (!columns.empty() && columns[0].visible && holds(list.MainText(r))) {
            return row;
        }
        for (std::size_t c = 1; c < columns.size(); ++c) {
            if (columns[c].visible && holds(list.ColumnText(r, columns[c].Code()))) {
                return row;
            }
        }
    }
    return -1;
}

std::size_t LongestText(const ListTexts& list, const ResultColumns& columns, int section) {
    if (section < 0 || static_cast<std::size_t>(section) >= columns.size()) {
        return 0;
    }
    std::size_t longest = 0;
    for (std::size_t row = 0; row < list.RowCount(); ++row) {
        const std::string cell =
            section == 0 ? list.MainText(row)
                         : list.ColumnText(row, columns[static_cast<std::size_t>(section)].Code());
        longest = std::max(longest, text::CodePointCount(cell));
    }
    return longest;
}

}  // namespace sonarchive::lists
