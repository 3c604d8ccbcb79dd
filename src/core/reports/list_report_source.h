// The report source of a list of file rows held by the result-list store: the command line
// exports through it, and so can any window whose rows live in such a store.
#pragma once

#include <vector>

#include "lists/date_format.h"
#include "lists/result_columns.h"
#include "lists/result_rows.h"
#include "reports/report_table.h"

namespace sonarchive::reports {

ColumnSort ColumnSortOf(lists::SortKind kind);

// The record's own date in a date column of that code (days since 1899-12-30); nothing for
// another column or for the catalog's "no date".
std::optional<double> RecordDateOf(const catalog::TMainDataRec& record, int code);

class ListReportSource final : public ReportSource {
public:
    // `columns` are the columns to report, in their order; the texts as the list shows them.
    ListReportSource(const lists::ResultRows& rows,
                     std::vector<const lists::ColumnDefinition*> columns,
                     const lists::DateFormat& dates);

    // The visible columns of a list, in the order shown.
    static std::vector<const lists::ColumnDefinition*> VisibleColumns(
        const lists::ResultColumns& all);

    std::size_t ColumnCount() const override { return columns_.size(); }
    std::string Caption(std::size_t column) const override;
    ColumnSort SortOf(std::size_t column) const override;
    std::size_t RowCount() const override { return rows_.Size(); }
    std::string Text(std::size_t row, std::size_t column) const override;
    std::optional<double> DateValue(std::size_t row, std::size_t column) const override;

private:
    const lists::ResultRows& rows_;
    std::vector<const lists::ColumnDefinition*> columns_;
    const lists::DateFormat& dates_;
};

}  // namespace sonarchive::reports
