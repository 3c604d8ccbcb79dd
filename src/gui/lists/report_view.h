// What the export of a list reads from a result-list window (browse, search, collection,
// duplicates): the visible columns in the order the user sees them, and each row's texts in
// that order with its catalog record.
//
//   void Export(TFMain& main, ListWindow& source, bool selectionOnly) {
//       const ReportView* report = ReportOf(source);
//       if (report == nullptr) return;  // not a result list
//       for (const ReportColumn& column : report->ReportColumns()) { ...column.caption... }
//       report->ForEachRow(selectionOnly, [&](const ReportRow& row) { ...row.texts... });
//   }
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalog_store/records.h"
#include "gui/shell/child_window.h"
#include "lists/result_columns.h"

namespace sonarchive::gui {

struct ReportColumn {
    int code;                  // the column code (lists::codes)
    std::string caption;       // "Artist", "Length (m:s)", ...
    lists::SortKind sortKind;  // decides the field type: text, number, float, date
    // The largest number of characters of this column over every row of the list (the width
    // of a text field), selected or not.
    std::size_t longestText;
};

struct ReportRow {
    // One text per report column, as the list shows it; the first column shows the row's
    // main text, wherever the user moved it.
    std::vector<std::string> texts;
    // The row's record; none for a group row of the browse window.
    std::optional<catalog::TMainDataRec> record;
};

class ReportView {
public:
    virtual ~ReportView() = default;

    // The visible columns, in the order shown.
    virtual std::vector<ReportColumn> ReportColumns() const = 0;
    // The number of rows ForEachRow visits.
    virtual std::size_t ReportRowCount(bool selectionOnly) const = 0;
    // Every row in list order (group rows and the file rows of expanded groups alike), or the
    // selected ones only.
    virtual void ForEachRow(bool selectionOnly,
                            const std::function<void(const ReportRow&)>& visit) const = 0;
};

// The report view of a list window; null for a window that has none (a playlist).
inline const ReportView* ReportOf(const ListWindow& window) {
    return dynamic_cast<const ReportView*>(&window);
}

}  // namespace sonarchive::gui
