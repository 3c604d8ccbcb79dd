#include "reports/value_text.h"

#include <charconv>
#include <cstdio>

#include "catalog_store/date_time.h"

namespace sonarchive::reports {
namespace {

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

std::string Digits(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

std::string ShortestDouble(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Groups the digits before the decimal separator in threes.
std::string Grouped(const std::string& number, char decimalSeparator) {
    const std::size_t start = !number.empty() && number[0] == '-' ? 1 : 0;
    std::size_t end = number.find(decimalSeparator);
    end = end == std::string::npos ? number.size() : end;
    std::string out = number.substr(0, start);
    for (std::size_t i = start; i < end; ++i) {
        if (i > start && (end - i) % 3 == 0) {
            out.append(kNoBreakSpace);
        }
        out += number[i];
    }
    return out + number.substr(end);
}

std::string DateOf(const catalog::CivilDateTime& c, const char* separator, bool dayFirst) {
    return dayFirst
               ? Digits(c.day, 2) + separator + Digits(c.month, 2) + separator + Digits(c.year, 4)
               : Digits(c.year, 4) + separator + Digits(c.month, 2) + separator + Digits(c.day, 2);
}

std::string TimeOf(const catalog::CivilDateTime& c) {
    return Digits(c.hour, 2) + ":" + Digits(c.minute, 2) + ":" + Digits(c.second, 2);
}

// Dates and times in the two conventions.
std::string DateTimeOf(double days, FieldType type, bool readable) {
    const catalog::CivilDateTime c = catalog::CivilFromDateTime(days);
    const std::string date = DateOf(c, readable ? "." : "-", readable);
    switch (type) {
        case FieldType::Date:
            return date;
        case FieldType::Time:
            return TimeOf(c);
        default:
            return date + (readable ? " " : "T") + TimeOf(c);
    }
}

}  // namespace

bool IsNumeric(FieldType type) {
    return type == FieldType::Integer || type == FieldType::Double;
}

std::string QuotedDoubling(std::string_view text, char quote) {
    std::string out(1, quote);
    for (const char c : text) {
        out += c;
        if (c == quote) {
            out += quote;
        }
    }
    return out + quote;
}

std::string ReadableText(const ReportValue& value, FieldType type, bool digitGrouping) {
    if (value.null) {
        return {};
    }
    switch (type) {
        case FieldType::Text:
            return value.text;
        case FieldType::Integer: {
            const std::string digits = std::to_string(value.integer);
            return digitGrouping ? Grouped(digits, ',') : digits;
        }
        case FieldType::Double: {
            std::string number = ShortestDouble(value.number);
            for (char& c : number) {
                c = c == '.' ? ',' : c;
            }
            return digitGrouping ? Grouped(number, ',') : number;
        }
        default:
            return DateTimeOf(value.number, type, true);
    }
}

std::string DataText(const ReportValue& value, FieldType type) {
    if (value.null) {
        return {};
    }
    switch (type) {
        case FieldType::Text:
            return value.text;
        case FieldType::Integer:
            return std::to_string(value.integer);
        case FieldType::Double:
            return ShortestDouble(value.number);
        default:
            return DateTimeOf(value.number, type, false);
    }
}

}  // namespace sonarchive::reports
