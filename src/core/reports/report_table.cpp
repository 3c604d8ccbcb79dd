#include "reports/report_table.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "text/text.h"

namespace sonarchive::reports {
namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

FieldType FieldTypeOf(ColumnSort sort) {
    switch (sort) {
        case ColumnSort::Text:
            return FieldType::Text;
        case ColumnSort::Number:
            return FieldType::Integer;
        case ColumnSort::Float:
            return FieldType::Double;
        case ColumnSort::DateTime:
            return FieldType::DateTime;
        case ColumnSort::Date:
            return FieldType::Date;
        case ColumnSort::Time:
            return FieldType::Time;
    }
    return FieldType::Text;
}

std::size_t ReportSource::LongestText(std::size_t column) const {
    std::size_t longest = 0;
    for (std::size_t row = 0; row < RowCount(); ++row) {
        longest = std::max(longest, text::CodePointCount(Text(row, column)));
    }
    return longest;
}

std::optional<std::int64_t> IntegerOfText(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    // The field holds 32-bit integers.
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> DoubleOfText(std::string_view text) {
    std::string copy(Trimmed(text));
    std::replace(copy.begin(), copy.end(), ',', '.');
    double value = 0;
    const auto result = std::from_chars(copy.data(), copy.data() + copy.size(), value);
    if (copy.empty() || result.ec != std::errc() || result.ptr != copy.data() + copy.size()) {
        return std::nullopt;
    }
    return value;
}

ReportTable::ReportTable(const ReportSource& source, std::vector<std::size_t> rows)
    : source_(source), rows_(std::move(rows)) {
    for (std::size_t column = 0; column < source.ColumnCount(); ++column) {
        ReportField field{source.Caption(column), FieldTypeOf(source.SortOf(column)), 1};
        if (field.type == FieldType::Text) {
            field.width = std::max<std::size_t>(1, source.LongestText(column));
        }
        fields_.push_back(std::move(field));
        columns_.push_back(column);
    }
}

ReportTable ReportTable::AllRows(const ReportSource& source) {
    std::vector<std::size_t> rows(source.RowCount());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = i;
    }
    return ReportTable(source, std::move(rows));
}

ReportValue ReportTable::Value(std::size_t record, std::size_t field) const {
    const std::size_t row = rows_[record];
    const std::size_t column = columns_[field];
    ReportValue value;
    switch (fields_[field].type) {
        case FieldType::Text:
            value.text = source_.Text(row, column);
            value.null = value.text.empty();
            break;
        case FieldType::Integer:
            if (const auto number = IntegerOfText(source_.Text(row, column))) {
                value.integer = *number;
                value.null = false;
            }
            break;
        case FieldType::Double:
            if (const auto number = DoubleOfText(source_.Text(row, column))) {
                value.number = *number;
                value.null = false;
            }
            break;
        case FieldType::DateTime:
        case FieldType::Date:
        case FieldType::Time:
            if (const auto date = source_.DateValue(row, column)) {
                value.number = *date;
                value.null = false;
            }
            break;
    }
    return value;
}

void ReportTable::SelectFields(const std::vector<std::string>& names) {
    std::vector<ReportField> fields;
    std::vector<std::size_t> columns;
    for (const std::string& name : names) {
        const auto found = std::find_if(fields_.begin(), fields_.end(),
                                        [&](const ReportField& f) { return f.name == name; });
        if (found != fields_.end()) {
            fields.push_back(*found);
            columns.push_back(columns_[static_cast<std::size_t>(found - fields_.begin())]);
        }
    }
    fields_ = std::move(fields);
    columns_ = std::move(columns);
}

}  // namespace sonarchive::reports
