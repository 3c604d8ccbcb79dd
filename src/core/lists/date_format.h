// How dates are written for and read from the user. The desktop program passes the locale's
// short date pattern, the command-line program ISO dates; core itself knows no locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sonarchive::lists {

class DateFormat {
public:
    virtual ~DateFormat() = default;
    // The day of a date-time (days since 1899-12-30; the time of day is not written).
    virtual std::string Write(double daysSince1899) const = 0;
    // The date a text names, at midnight; nothing when it names no valid date.
    virtual std::optional<double> Read(std::string_view text) const = 0;
};

// A date pattern of day, month and year fields: "d" or "dd", "M" or "MM", and any run of "y"
// (the year is always written with four digits, so "dd.MM.yy" writes 31.05.2004). Every other
// character stands for itself. On reading, a year below 100 is a two-digit year: 50 to 99 are
// 1950 to 1999 and 0 to 49 are 2000 to 2049.
class PatternDateFormat final : public DateFormat {
public:
    explicit PatternDateFormat(std::string pattern);

    std::string Write(double daysSince1899) const override;
    std::optional<double> Read(std::string_view text) const override;

    // "yyyy-MM-dd", the form the command line and the catalog use.
    static const PatternDateFormat& Iso();

private:
    std::string pattern_;
};

}  // namespace sonarchive::lists
