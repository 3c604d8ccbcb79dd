#include "reports/report_export.h"

#include <array>
#include <cerrno>

#include "collections/file_replacement.h"
#include "reports/table_writers.h"

namespace sonarchive::reports {
namespace {

struct FormatInfo {
    ExportFormat format;
    std::string_view name;
    std::string_view extension;
};

constexpr std::array<FormatInfo, 9> kFormats{{
    {ExportFormat::Csv, "csv", ".csv"},
    {ExportFormat::Tab, "tab", ".txt"},
    {ExportFormat::Fixed, "fixed", ".txt"},
    {ExportFormat::Html, "html", ".html"},
    {ExportFormat::Xml, "xml", ".xml"},
    {ExportFormat::Json, "json", ".json"},
    {ExportFormat::Sql, "sql", ".sql"},
    {ExportFormat::Xlsx, "xlsx", ".xlsx"},
    {ExportFormat::Pdf, "pdf", ".pdf"},
}};

const FormatInfo& InfoOf(ExportFormat format) {
    for (const FormatInfo& info : kFormats) {
        if (info.format == format) {
            return info;
        }
    }
    return kFormats.front();
}

void WriteText(const ReportTable& table, ExportFormat format, const ExportOptions& options,
               const Sink& sink) {
    switch (format) {
        case ExportFormat::Csv:
            return WriteCsv(table, options, sink);
        case ExportFormat::Tab:
            return WriteTab(table, options, sink);
        case ExportFormat::Fixed:
            return WriteFixed(table, options, sink);
        case ExportFormat::Html:
            return WriteHtml(table, options, sink);
        case ExportFormat::Xml:
            return WriteXml(table, options, sink);
        case ExportFormat::Json:
            return WriteJson(table, options, sink);
        case ExportFormat::Sql:
            return WriteSql(table, options, sink);
        case ExportFormat::Xlsx:
        case ExportFormat::Pdf:
            break;
    }
}

}  // namespace

std::string_view FormatName(ExportFormat format) {
    return InfoOf(format).name;
}

std::optional<ExportFormat> FormatNamed(std::string_view name) {
    for (const FormatInfo& info : kFormats) {
        if (info.name == name) {
            return info.format;
        }
    }
    return std::nullopt;
}

std::string_view FileExtensionOf(ExportFormat format) {
    return InfoOf(format).extension;
}

bool NeedsDesktop(ExportFormat format) {
    return format == ExportFormat::Pdf;
}

ExportOptions DefaultOptions(ExportFormat format) {
    ExportOptions options;
    options.footer = format != ExportFormat::Csv && format != ExportFormat::Json;
    return options;
}

int ExportToFile(const ReportTable& table, ExportFormat format, const ExportOptions& options,
                 const std::string& file) {
    if (NeedsDesktop(format)) {
        return ENOTSUP;
    }
    collections::FileReplacement replacement(file);
    if (replacement.Error() != 0) {
        return replacement.Error();
    }
    if (format == ExportFormat::Xlsx) {
        const int error = WriteXlsx(table, options, replacement.TemporaryPath());
        return error != 0 ? error : replacement.Commit();
    }
    WriteText(table, format, options,
              [&replacement](std::string_view bytes) { replacement.Write(bytes); });
    return replacement.Commit();
}

std::string ExportToText(const ReportTable& table, ExportFormat format,
                         const ExportOptions& options) {
    std::string text;
    WriteText(table, format, options, [&text](std::string_view bytes) { text.append(bytes); });
    return text;
}

}  // namespace sonarchive::reports
