#include "gui/reports/view_report_source.h"

#include "reports/list_report_source.h"

namespace sonarchive::gui {

ViewReportSource::ViewReportSource(const ReportView& view, bool selectionOnly)
    : columns_(view.ReportColumns()) {
    rows_.reserve(view.ReportRowCount(selectionOnly));
    view.ForEachRow(selectionOnly, [this](const ReportRow& row) { rows_.push_back(row); });
}

reports::ColumnSort ViewReportSource::SortOf(std::size_t column) const {
    return reports::ColumnSortOf(columns_[column].sortKind);
}

std::string ViewReportSource::Text(std::size_t row, std::size_t column) const {
    const std::vector<std::string>& texts = rows_[row].texts;
    return column < texts.size() ? texts[column] : std::string();
}

std::optional<double> ViewReportSource::DateValue(std::size_t row, std::size_t column) const {
    const std::optional<catalog::TMainDataRec>& record = rows_[row].record;
    return record ? reports::RecordDateOf(*record, columns_[column].code) : std::nullopt;
}

std::size_t ViewReportSource::LongestText(std::size_t column) const {
    return columns_[column].longestText;
}

}  // namespace sonarchive::gui
