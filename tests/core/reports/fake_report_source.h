// A list as the report sees it, with columns and texts the test sets.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "reports/report_table.h"

namespace sonarchive::reports::testing {

class FakeReportSource : public ReportSource {
public:
    struct Column {
        std::string caption;
        ColumnSort sort;
    };
    std::vector<Column> columns;
    std::vector<std::vector<std::string>> rows;
    std::map<std::pair<std::size_t, std::size_t>, double> dates;  // (row, column) -> days

    std::size_t ColumnCount() const override { return columns.size(); }
    std::string Caption(std::size_t column) const override { return columns[column].caption; }
    ColumnSort SortOf(std::size_t column) const override { return columns[column].sort; }
    std::size_t RowCount() const override { return rows.size(); }
    std::string Text(std::size_t row, std::size_t column) const override {
        return rows[row][column];
    }
    std::optional<double> DateValue(std::size_t row, std::size_t column) const override {
        const auto found = dates.find({row, column});
        return found == dates.end() ? std::nullopt : std::optional<double>(found->second);
    }
};

// Artist, Title, Year, Size (KB), POS, Date added, with two songs.
FakeReportSource TwoSongs();

}  // namespace sonarchive::reports::testing
