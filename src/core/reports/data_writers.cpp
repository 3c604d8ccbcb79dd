// The data formats: JSON and SQL.
#include <cstdio>

#include "reports/table_writers.h"
#include "reports/value_text.h"

namespace sonarchive::reports {
namespace {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string JsonValue(const ReportValue& value, FieldType type) {
    if (value.null) {
        return "null";
    }
    const std::string data = DataText(value, type);
    return IsNumeric(type) ? data : JsonString(data);
}

std::string SqlName(std::string_view name) {
    return QuotedDoubling(name, '"');
}

std::string SqlLiteral(const ReportValue& value, FieldType type) {
    if (value.null) {
        return "NULL";
    }
    const std::string data = DataText(value, type);
    return IsNumeric(type) ? data : QuotedDoubling(data, '\'');
}

std::string SqlType(const ReportField& field) {
    switch (field.type) {
        case FieldType::Text:
            return "VARCHAR(" + std::to_string(field.width) + ")";
        case FieldType::Integer:
            return "INTEGER";
        case FieldType::Double:
            return "DOUBLE PRECISION";
        case FieldType::DateTime:
            return "TIMESTAMP";
        case FieldType::Date:
            return "DATE";
        case FieldType::Time:
            return "TIME";
    }
    return "VARCHAR(1)";
}

}  // namespace

void WriteJson(const ReportTable& table, const ExportOptions&, const Sink& sink) {
    const auto& fields = table.Fields();
    std::vector<std::string> names;
    for (const ReportField& field : fields) {
        names.push_back(JsonString(field.name) + ":");
    }
    sink(std::string("[").append(kRecordEnd));
    for (std::size_t r = 0; r < table.RecordCount(); ++r) {
        std::string record = "{";
        for (std::size_t f = 0; f < fields.size(); ++f) {
            record += (f == 0 ? "" : ",") + names[f] + JsonValue(table.Value(r, f), fields[f].type);
        }
        record += r + 1 < table.RecordCount() ? "}," : "}";
        sink(record.append(kRecordEnd));
    }
    sink(std::string("]").append(kRecordEnd));
}

void WriteSql(const ReportTable& table, const ExportOptions& options, const Sink& sink) {
    const auto& fields = table.Fields();
    const std::string name = SqlName(options.tableName);
    std::string create = "CREATE TABLE " + name + " (" + std::string(kRecordEnd);
    std::string columns;
    for (std::size_t f = 0; f < fields.size(); ++f) {
        create += "  " + SqlName(fields[f].name) + " " + SqlType(fields[f]) +
                  (f + 1 < fields.size() ? "," : "") + std::string(kRecordEnd);
        columns += (f == 0 ? "" : ", ") + SqlName(fields[f].name);
    }
    sink(create + ");" + std::string(kRecordEnd));
    const std::string insert = "INSERT INTO " + name + " (" + columns + ") VALUES (";
    for (std::size_t r = 0; r < table.RecordCount(); ++r) {
        std::string record = insert;
        for (std::size_t f = 0; f < fields.size(); ++f) {
            record += (f == 0 ? "" : ", ") + SqlLiteral(table.Value(r, f), fields[f].type);
        }
        sink(record + ");" + std::string(kRecordEnd));
    }
    if (options.footer) {
        sink(std::string("-- ") + kFooterText + std::string(kRecordEnd));
    }
}

}  // namespace sonarchive::reports
