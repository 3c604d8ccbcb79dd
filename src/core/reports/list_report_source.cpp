#include "reports/list_report_source.h"

namespace sonarchive::reports {

ColumnSort ColumnSortOf(lists::SortKind kind) {
    switch (kind) {
        case lists::SortKind::Text:
            return ColumnSort::Text;
        case lists::SortKind::Number:
            return ColumnSort::Number;
        case lists::SortKind::Float:
            return ColumnSort::Float;
        case lists::SortKind::Date:
            return ColumnSort::Date;
    }
    return ColumnSort::Text;
}

std::optional<double> RecordDateOf(const catalog::TMainDataRec& record, int code) {
    double date = 0;
    switch (code) {
        case lists::codes::DateAdded:
            date = record.dDateAdded;
            break;
        case lists::codes::FileDate:
            date = record.dFileDate;
            break;
        default:
            return std::nullopt;
    }
    // 1899-12-30 is the catalog's "no date".
    return date == 0 ? std::nullopt : std::optional<double>(date);
}

ListReportSource::ListReportSource(const lists::ResultRows& rows,
                                   std::vector<const lists::ColumnDefinition*> columns,
                                   const lists::DateFormat& dates)
    : rows_(rows), columns_(std::move(columns)), dates_(dates) {}

std::vector<const lists::ColumnDefinition*> ListReportSource::VisibleColumns(
    const lists::ResultColumns& all) {
    std::vector<const lists::ColumnDefinition*> visible;
    for (const lists::ResultColumn& column : all) {
        if (column.visible) {
            visible.push_back(column.definition);
        }
    }
    return visible;
}

std::string ListReportSource::Caption(std::size_t column) const {
    return std::string(columns_[column]->caption);
}

ColumnSort ListReportSource::SortOf(std::size_t column) const {
    return ColumnSortOf(columns_[column]->sortKind);
}

std::string ListReportSource::Text(std::size_t row, std::size_t column) const {
    return lists::CellText(rows_, row, columns_[column]->code, dates_);
}

std::optional<double> ListReportSource::DateValue(std::size_t row, std::size_t column) const {
    return RecordDateOf(rows_.Record(row), columns_[column]->code);
}

}  // namespace sonarchive::reports
