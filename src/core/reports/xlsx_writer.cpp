// The spreadsheet format, through libxlsxwriter in its constant-memory mode: rows go to disk
// as they are written, so a list of any length costs the same memory.
#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>

#include "reports/table_writers.h"
#include "text/text.h"

namespace sonarchive::reports {
namespace {

constexpr std::size_t kMaxCellText = 32767;  // characters a cell holds
constexpr std::size_t kMaxSheetName = LXW_SHEETNAME_MAX;

// Sheet names may not hold []:*?/\ and are at most 31 characters.
std::string SheetName(const std::string& tableName) {
    std::string name;
    for (const char c : tableName) {
        if (std::string_view("[]:*?/\\").find(c) == std::string_view::npos) {
            name += c;
        }
    }
    name = text::CutCodePoints(name, kMaxSheetName);
    return name.empty() ? std::string("Sheet1") : name;
}

class Workbook {
public:
    explicit Workbook(const std::string& path) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.use_zip64 = LXW_TRUE;
        book_ = workbook_new_opt(path.c_str(), &options);
    }
    ~Workbook() {
        if (book_ != nullptr) {
            workbook_close(book_);
        }
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* Get() const { return book_; }
    lxw_format* Format(const char* numberFormat, bool bold = false) {
        lxw_format* format = workbook_add_format(book_);
        if (numberFormat != nullptr) {
            format_set_num_format(format, numberFormat);
        }
        if (bold) {
            format_set_bold(format);
        }
        return format;
    }
    // Closes the file: 0 or an errno.
    int Close() {
        const lxw_error error = workbook_close(book_);
        book_ = nullptr;
        return error == LXW_NO_ERROR ? 0 : EIO;
    }

private:
    lxw_workbook* book_ = nullptr;
};

struct CellFormats {
    lxw_format* title;
    lxw_format* date;
    lxw_format* time;
    lxw_format* dateTime;
};

lxw_error WriteCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const ReportValue& value,
                    FieldType type, const CellFormats& formats) {
    if (value.null) {
        return LXW_NO_ERROR;
    }
    switch (type) {
        case FieldType::Text:
            return worksheet_write_string(
                sheet, row, column, text::CutCodePoints(value.text, kMaxCellText).c_str(), nullptr);
        case FieldType::Integer:
            return worksheet_write_number(sheet, row, column, static_cast<double>(value.integer),
                                          nullptr);
        case FieldType::Double:
            return worksheet_write_number(sheet, row, column, value.number, nullptr);
        case FieldType::Date:
            return worksheet_write_number(sheet, row, column, std::floor(value.number),
                                          formats.date);
        case FieldType::Time:
            return worksheet_write_number(sheet, row, column,
                                          value.number - std::floor(value.number), formats.time);
        case FieldType::DateTime:
            return worksheet_write_number(sheet, row, column, value.number, formats.dateTime);
    }
    return LXW_NO_ERROR;
}

}  // namespace

int WriteXlsx(const ReportTable& table, const ExportOptions& options,
              const std::string& systemPath) {
    Workbook book(systemPath);
    if (book.Get() == nullptr) {
        return errno != 0 ? errno : EIO;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book.Get(), SheetName(options.tableName).c_str());
    if (sheet == nullptr) {
        return EINVAL;
    }
    // Day numbers since 1899-12-30 are the spreadsheet's own date numbers.
    const CellFormats formats{book.Format(nullptr, true), book.Format("yyyy-mm-dd"),
                              book.Format("hh:mm:ss"), book.Format("yyyy-mm-dd hh:mm:ss")};
    const auto& fields = table.Fields();
    lxw_row_t row = 0;
    if (options.titleRow) {
        for (std::size_t f = 0; f < fields.size(); ++f) {
            worksheet_write_string(sheet, row, static_cast<lxw_col_t>(f), fields[f].name.c_str(),
                                   formats.title);
        }
        ++row;
    }
    for (std::size_t r = 0; r < table.RecordCount(); ++r, ++row) {
        if (row >= LXW_ROW_MAX) {
            return EFBIG;
        }
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (WriteCell(sheet, row, static_cast<lxw_col_t>(f), table.Value(r, f), fields[f].type,
                          formats) != LXW_NO_ERROR) {
                return EIO;
            }
        }
    }
    if (options.footer && row + 1 < LXW_ROW_MAX) {
        worksheet_write_string(sheet, row + 1, 0, kFooterText, nullptr);
    }
    return book.Close();
}

}  // namespace sonarchive::reports
