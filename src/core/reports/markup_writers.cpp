// The markup formats: an HTML document with one table, and XML records.
#include "reports/table_writers.h"
#include "reports/value_text.h"

namespace sonarchive::reports {
namespace {

// Text for element content and attribute values. Control characters that XML 1.0 cannot
// carry become blanks.
std::string Escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r'
                           ? ' '
                           : c;
        }
    }
    return out;
}

std::string Line(std::string text) {
    return text.append(kRecordEnd);
}

}  // namespace

void WriteHtml(const ReportTable& table, const ExportOptions& options, const Sink& sink) {
    const auto& fields = table.Fields();
    sink(Line("<!DOCTYPE html>"));
    sink(Line("<html>"));
    sink(Line("<head>"));
    sink(Line("<meta charset=\"utf-8\">"));
    sink(Line("<title>" + Escaped(options.tableName) + "</title>"));
    sink(
        Line("<style>table { border-collapse: collapse; } th, td { border: 1px solid #999; "
             "padding: 2px 6px; } th { background: #eee; text-align: left; }</style>"));
    sink(Line("</head>"));
    sink(Line("<body>"));
    sink(Line("<table>"));
    if (options.titleRow) {
        std::string row = "<tr>";
        for (const ReportField& field : fields) {
            row += "<th>" + Escaped(field.name) + "</th>";
        }
        sink(Line(row + "</tr>"));
    }
    for (std::size_t r = 0; r < table.RecordCount(); ++r) {
        std::string row = "<tr>";
        for (std::size_t f = 0; f < fields.size(); ++f) {
            row += IsNumeric(fields[f].type) ? "<td align=\"right\">" : "<td>";
            row += Escaped(ReadableText(table.Value(r, f), fields[f].type, options.digitGrouping));
            row += "</td>";
        }
        sink(Line(row + "</tr>"));
    }
    sink(Line("</table>"));
    if (options.footer) {
        sink(Line(std::string("<p>") + kFooterText + "</p>"));
    }
    sink(Line("</body>"));
    sink(Line("</html>"));
}

void WriteXml(const ReportTable& table, const ExportOptions& options, const Sink& sink) {
    const auto& fields = table.Fields();
    sink(Line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    sink(Line("<Table name=\"" + Escaped(options.tableName) + "\">"));
    for (std::size_t r = 0; r < table.RecordCount(); ++r) {
        std::string record = Line("  <Record>");
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const ReportValue value = table.Value(r, f);
            record += "    <Field name=\"" + Escaped(fields[f].name) + "\"";
            record += value.null ? std::string("/>")
                                 : ">" + Escaped(DataText(value, fields[f].type)) + "</Field>";
            record += kRecordEnd;
        }
        sink(record + Line("  </Record>"));
    }
    if (options.footer) {
        sink(Line(std::string("  <!-- ") + kFooterText + " -->"));
    }
    sink(Line("</Table>"));
}

}  // namespace sonarchive::reports
