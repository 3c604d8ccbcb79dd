// The rows of a list window taken for one export: the report table reads its values from
// here, so the export sees the list as it was when the dialog opened, whatever the window does
// meanwhile.
#pragma once

#include <optional>
#include <vector>

#include "gui/lists/report_view.h"
#include "reports/report_table.h"

namespace sonarchive::gui {

class ViewReportSource final : public reports::ReportSource {
public:
    // Every row of the list, or the selected ones, with the visible columns in the order shown.
    ViewReportSource(const ReportView& view, bool selectionOnly);

    std::size_t ColumnCount() const override { return columns_.size(); }
    std::string Caption(std::size_t column) const override { return columns_[column].caption; }
    reports::ColumnSort SortOf(std::size_t column) const override;
    std::size_t RowCount() const override { return rows_.size(); }
    std::string Text(std::size_t row, std::size_t column) const override;
    std::optional<double> DateValue(std::size_t row, std::size_t column) const override;
    // Over every row of the list, also when only the selection is exported.
    std::size_t LongestText(std::size_t column) const override;

private:
    std::vector<ReportColumn> columns_;
    std::vector<ReportRow> rows_;
};

}  // namespace sonarchive::gui
