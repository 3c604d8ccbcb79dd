// A report table as a PDF document: a table on A4 pages, its title row repeated on each, laid
// out by Qt's text engine.
#pragma once

#include <string>

#include "reports/report_export.h"

namespace sonarchive::gui {

// 0 or the errno; the old file stays whole when the write fails.
int WritePdf(const reports::ReportTable& table, const reports::ExportOptions& options,
             const std::string& file);

}  // namespace sonarchive::gui
