// A report table as a PDF document: the HTML table laid out on A4 pages by Qt's text engine.
#pragma once

#include <string>

#include "reports/report_export.h"

namespace sonarchive::gui {

// 0 or the errno; the old file stays whole when the write fails.
int WritePdf(const reports::ReportTable& table, const reports::ExportOptions& options,
             const std::string& file);

}  // namespace sonarchive::gui
