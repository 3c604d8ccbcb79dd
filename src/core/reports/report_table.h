// The general report: the rows of a result list as a table of typed fields, one field per
// visible column in the order shown, named by the column's caption.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sonarchive::reports {

// How a list column sorts, which decides the type of its field.
enum class ColumnSort { Text, Number, Float, DateTime, Date, Time };

enum class FieldType { Text, Integer, Double, DateTime, Date, Time };

FieldType FieldTypeOf(ColumnSort sort);

struct ReportField {
    std::string name;
    FieldType type = FieldType::Text;
    std::size_t width = 1;  // characters; for text fields the longest text of the column
};

// One stored value; `null` for an empty or unconvertible text.
struct ReportValue {
    bool null = true;
    std::string text;          // Text
    std::int64_t integer = 0;  // Integer
    double number = 0;         // Double, or days since 1899-12-30 for dates and times
};

// What a list hands to the report.
class ReportSource {
public:
    virtual ~ReportSource() = default;
    // The visible columns, in the order shown.
    virtual std::size_t ColumnCount() const = 0;
    virtual std::string Caption(std::size_t column) const = 0;
    virtual ColumnSort SortOf(std::size_t column) const = 0;
    // Every row of the list, in list order.
    virtual std::size_t RowCount() const = 0;
    // The row's value in that column as text (the column's own value in the first column too).
    virtual std::string Text(std::size_t row, std::size_t column) const = 0;
    // For date, date-time and time columns: the row's own date (days since 1899-12-30), not
    // the text shown for it; nothing when the row has none.
    virtual std::optional<double> DateValue(std::size_t row, std::size_t column) const = 0;
    // The largest number of characters of the column's texts over every row of the list.
    virtual std::size_t LongestText(std::size_t column) const;
};

class ReportTable {
public:
    // Fields of every column of the source; records of the given rows in that order.
    ReportTable(const ReportSource& source, std::vector<std::size_t> rows);
    // Every row of the source.
    static ReportTable AllRows(const ReportSource& source);

    const std::vector<ReportField>& Fields() const { return fields_; }
    std::size_t RecordCount() const { return rows_.size(); }
    // The value of a field of a record, converted to the field's type.
    ReportValue Value(std::size_t record, std::size_t field) const;

    // Keeps only the fields named, in the order named; names the table lacks are dropped.
    void SelectFields(const std::vector<std::string>& names);

private:
    const ReportSource& source_;
    std::vector<ReportField> fields_;
    std::vector<std::size_t> columns_;  // the source column of each field
    std::vector<std::size_t> rows_;
};

// Conversions of a list's texts into field values.
std::optional<std::int64_t> IntegerOfText(std::string_view text);
std::optional<double> DoubleOfText(std::string_view text);

}  // namespace sonarchive::reports
