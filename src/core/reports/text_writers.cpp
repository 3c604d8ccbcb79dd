// The plain text formats: CSV, tab-separated and fixed-width text.
#include <algorithm>
#include <vector>

#include "reports/table_writers.h"
#include "reports/value_text.h"
#include "text/text.h"

namespace sonarchive::reports {
namespace {

std::string CsvField(const std::string& value) {
    return value.find_first_of(",\"\r\n") == std::string::npos ? value : QuotedDoubling(value, '"');
}

std::string TabField(std::string value) {
    std::replace_if(
        value.begin(), value.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; },
        ' ');
    return value;
}

// Writes the title row (when asked), every record and the footer (when asked), each a line of
// fields made by `field` and joined by `separator`.
template <typename Field>
void WriteDelimited(const ReportTable& table, const ExportOptions& options,
                    std::string_view separator, const Sink& sink, Field&& field) {
    const auto& fields = table.Fields();
    std::string line;
    if (options.titleRow) {
        for (std::size_t f = 0; f < fields.size(); ++f) {
            line.append(f == 0 ? "" : separator).append(field(fields[f].name, f));
        }
        sink(line.append(kRecordEnd));
    }
    for (std::size_t r = 0; r < table.RecordCount(); ++r) {
        line.clear();
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const std::string value =
                ReadableText(table.Value(r, f), fields[f].type, options.digitGrouping);
            line.append(f == 0 ? "" : separator).append(field(value, f));
        }
        sink(line.append(kRecordEnd));
    }
    if (options.footer) {
        sink(std::string(kFooterText).append(kRecordEnd));
    }
}

std::string Padded(const std::string& value, std::size_t width, bool right) {
    const std::size_t length = text::CodePointCount(value);
    const std::string blanks(width > length ? width - length : 0, ' ');
    return right ? blanks + value : value + blanks;
}

}  // namespace

void WriteCsv(const ReportTable& table, const ExportOptions& options, const Sink& sink) {
    WriteDelimited(table, options, ",", sink,
                   [](const std::string& value, std::size_t) { return CsvField(value); });
}

void WriteTab(const ReportTable& table, const ExportOptions& options, const Sink& sink) {
    WriteDelimited(table, options, "\t", sink,
                   [](const std::string& value, std::size_t) { return TabField(value); });
}

void WriteFixed(const ReportTable& table, const ExportOptions& options, const Sink& sink) {
    const auto& fields = table.Fields();
    std::vector<std::size_t> widths;
    for (const ReportField& field : fields) {
        const std::size_t title = options.titleRow ? text::CodePointCount(field.name) : 0;
        widths.push_back(std::max(field.type == FieldType::Text ? field.width : 1, title));
    }
    // Values of other types are as wide as their longest text.
    for (std::size_t r = 0; r < table.RecordCount(); ++r) {
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (fields[f].type != FieldType::Text) {
                widths[f] = std::max(
                    widths[f], text::CodePointCount(ReadableText(table.Value(r, f), fields[f].type,
                                                                 options.digitGrouping)));
            }
        }
    }
    WriteDelimited(table, options, " ", sink, [&](const std::string& value, std::size_t f) {
        return Padded(TabField(value), widths[f], IsNumeric(fields[f].type));
    });
}

}  // namespace sonarchive::reports
