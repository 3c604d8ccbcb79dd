#include "gui/reports/export_formats.h"

#include <QObject>

#include "gui/reports/pdf_writer.h"

namespace sonarchive::gui {

using reports::ExportFormat;

QString FormatCaption(ExportFormat format) {
    switch (format) {
        case ExportFormat::Csv:
            return QObject::tr("Text, comma-separated (*.csv)");
        case ExportFormat::Tab:
            return QObject::tr("Text, tab-separated (*.txt)");
        case ExportFormat::Fixed:
            return QObject::tr("Text, fixed width (*.txt)");
        case ExportFormat::Html:
            return QObject::tr("HTML page (*.html)");
        case ExportFormat::Xml:
            return QObject::tr("XML document (*.xml)");
        case ExportFormat::Json:
            return QObject::tr("JSON (*.json)");
        case ExportFormat::Sql:
            return QObject::tr("SQL statements (*.sql)");
        case ExportFormat::Xlsx:
            return QObject::tr("Excel spreadsheet (*.xlsx)");
        case ExportFormat::Pdf:
            return QObject::tr("PDF document (*.pdf)");
    }
    return {};
}

bool UsesTitleRow(ExportFormat format) {
    // XML, JSON and SQL name every value by its field anyway.
    return format != ExportFormat::Xml && format != ExportFormat::Json &&
           format != ExportFormat::Sql;
}

bool UsesFooter(ExportFormat format) {
    return format != ExportFormat::Json;
}

bool UsesDigitGrouping(ExportFormat format) {
    // The data formats write numbers as programs read them.
    return format == ExportFormat::Csv || format == ExportFormat::Tab ||
           format == ExportFormat::Fixed || format == ExportFormat::Html ||
           format == ExportFormat::Pdf;
}

bool UsesTableName(ExportFormat format) {
    return format == ExportFormat::Html || format == ExportFormat::Xml ||
           format == ExportFormat::Sql || format == ExportFormat::Xlsx ||
           format == ExportFormat::Pdf;
}

int ExportTable(const reports::ReportTable& table, ExportFormat format,
                const reports::ExportOptions& options, const std::string& file) {
    if (reports::NeedsDesktop(format)) {
        return WritePdf(table, options, file);
    }
    return reports::ExportToFile(table, format, options, file);
}

}  // namespace sonarchive::gui
