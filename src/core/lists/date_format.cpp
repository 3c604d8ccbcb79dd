#include "lists/date_format.h"

#include <cstdio>

#include "catalog_store/date_time.h"
#include "text/text.h"

namespace sonarchive::lists {
namespace {

bool IsField(char c) {
    return c == 'd' || c == 'M' || c == 'y';
}

std::size_t RunLength(std::string_view pattern, std::size_t at) {
    std::size_t end = at;
    while (end < pattern.size() && pattern[end] == pattern[at]) {
        ++end;
    }
    return end - at;
}

std::string Number(int value, int minimumDigits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", minimumDigits, value);
    return buffer;
}

// Up to `maxDigits` digits at `at`; advances past them.
std::optional<int> ReadDigits(std::string_view text, std::size_t& at, std::size_t maxDigits) {
    int value = 0;
    std::size_t digits = 0;
    while (at < text.size() && digits < maxDigits && text[at] >= '0' && text[at] <= '9') {
        value = value * 10 + (text[at] - '0');
        ++at;
        ++digits;
    }
    return digits == 0 ? std::nullopt : std::optional<int>(value);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

PatternDateFormat::PatternDateFormat(std::string pattern) : pattern_(std::move(pattern)) {}

const PatternDateFormat& PatternDateFormat::Iso() {
    static const PatternDateFormat iso("yyyy-MM-dd");
    return iso;
}

std::string PatternDateFormat::Write(double daysSince1899) const {
    const catalog::CivilDateTime civil = catalog::CivilFromDateTime(daysSince1899);
    std::string out;
    for (std::size_t i = 0; i < pattern_.size();) {
        const char c = pattern_[i];
        if (!IsField(c)) {
            out += c;
            ++i;
            continue;
        }
        const std::size_t run = RunLength(pattern_, i);
        if (c == 'd') {
            out += Number(civil.day, run >= 2 ? 2 : 1);
        } else if (c == 'M') {
            out += Number(civil.month, run >= 2 ? 2 : 1);
        } else {
            out += Number(civil.year, 4);
        }
        i += run;
    }
    return out;
}

std::optional<double> PatternDateFormat::Read(std::string_view typed) const {
    const std::string trimmed = text::TrimControlAndBlank(typed);
    const std::string_view text = trimmed;
    std::optional<int> day;
    std::optional<int> month;
    std::optional<int> year;
    std::size_t at = 0;
    for (std::size_t i = 0; i < pattern_.size();) {
        const char c = pattern_[i];
        if (!IsField(c)) {
            if (at >= text.size() || text[at] != c) {
                return std::nullopt;
            }
            ++at;
            ++i;
            continue;
        }
        std::optional<int>& field = c == 'd' ? day : (c == 'M' ? month : year);
        field = ReadDigits(text, at, c == 'y' ? 4 : 2);
        if (!field) {
            return std::nullopt;
        }
        i += RunLength(pattern_, i);
    }
    if (at != text.size() || !day || !month || !year) {
        return std::nullopt;
    }
    int fullYear = *year;
    if (fullYear < 50) {
        fullYear += 2000;
    } else if (fullYear < 100) {
        fullYear += 1900;
    }
    if (*month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(fullYear, *month)) {
        return std::nullopt;
    }
    return catalog::DateTimeFromCivil({fullYear, *month, *day, 0, 0, 0});
}

}  // namespace sonarchive::lists
