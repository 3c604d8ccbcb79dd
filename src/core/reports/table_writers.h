// The writers of the export formats. Each streams the records of a table into a sink, one
// record at a time, so that a large list never needs its whole export in memory.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "reports/report_export.h"
#include "reports/report_table.h"

namespace sonarchive::reports {

using Sink = std::function<void(std::string_view)>;

constexpr std::string_view kRecordEnd = "\r\n";

// RFC 4180: "," between fields, a field with a comma, quote or line break quoted with its
// quotes doubled.
void WriteCsv(const ReportTable& table, const ExportOptions& options, const Sink& sink);
// A tab between fields; tabs and line breaks inside a value become blanks.
void WriteTab(const ReportTable& table, const ExportOptions& options, const Sink& sink);
// Every field padded to the width of its longest value (numbers to the right), one blank
// between fields.
void WriteFixed(const ReportTable& table, const ExportOptions& options, const Sink& sink);
// A table in a small document of its own.
void WriteHtml(const ReportTable& table, const ExportOptions& options, const Sink& sink);
// <Record> elements of <Field name="..."> elements.
void WriteXml(const ReportTable& table, const ExportOptions& options, const Sink& sink);
// An array of objects named by the fields, with native values.
void WriteJson(const ReportTable& table, const ExportOptions& options, const Sink& sink);
// CREATE TABLE with the fields' types, then one INSERT per record.
void WriteSql(const ReportTable& table, const ExportOptions& options, const Sink& sink);

// A spreadsheet with typed cells, written in constant memory to `systemPath`; 0 or an errno.
int WriteXlsx(const ReportTable& table, const ExportOptions& options,
              const std::string& systemPath);

}  // namespace sonarchive::reports
