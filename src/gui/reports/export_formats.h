// The formats the export dialog offers, what each of them makes of the options, and the
// writing of a table in any of them (PDF here, the others in the core).
#pragma once

#include <QString>
#include <array>
#include <string>

#include "reports/report_export.h"

namespace sonarchive::gui {

// In the order the dialog lists them.
constexpr std::array<reports::ExportFormat, 9> kDialogFormats{
    reports::ExportFormat::Tab,  reports::ExportFormat::Csv,  reports::ExportFormat::Fixed,
    reports::ExportFormat::Html, reports::ExportFormat::Xml,  reports::ExportFormat::Json,
    reports::ExportFormat::Sql,  reports::ExportFormat::Xlsx, reports::ExportFormat::Pdf,
};

// "Text, tab-separated (*.txt)", ...: the format box's entry and the file dialog's filter.
QString FormatCaption(reports::ExportFormat format);

// Which options the format's writer reads; the others are greyed.
bool UsesTitleRow(reports::ExportFormat format);
bool UsesFooter(reports::ExportFormat format);
bool UsesDigitGrouping(reports::ExportFormat format);
bool UsesTableName(reports::ExportFormat format);

// 0 or the errno; the old file stays whole when the write fails.
int ExportTable(const reports::ReportTable& table, reports::ExportFormat format,
                const reports::ExportOptions& options, const std::string& file);

}  // namespace sonarchive::gui
