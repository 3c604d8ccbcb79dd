#include "catalog_store/date_time.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace sonarchive::catalog {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (the well-known era-based method).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2 ? 1 : 0));
}

const long long kEpochOffset = DaysFromCivil(1899, 12, 30);  // 1899-12-30 in epoch days

bool ReadNumber(std::string_view text, std::size_t at, std::size_t digits, int& out) {
    if (at + digits > text.size()) {
        return false;
    }
    const char* begin = text.data() + at;
    const auto [end, error] = std::from_chars(begin, begin + digits, out);
    return error == std::errc() && end == begin + digits;
}

double FromLocalTm(const std::tm& tm) {
    return DateTimeFromCivil({tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                              tm.tm_min, tm.tm_sec});
}

}  // namespace

double DateTimeFromCivil(const CivilDateTime& c) {
    const long long days = DaysFromCivil(c.year, static_cast<unsigned>(c.month),
                                         static_cast<unsigned>(c.day)) -
                           kEpochOffset;
    return static_cast<double>(days) + (c.hour * 3600 + c.minute * 60 + c.second) / 86400.0;
}

CivilDateTime CivilFromDateTime(double daysSince1899) {
    CivilDateTime c;
    const double whole = std::floor(daysSince1899);
    auto seconds = static_cast<long long>(std::llround((daysSince1899 - whole) * 86400.0));
    long long days = static_cast<long long>(whole);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    CivilFromDays(days + kEpochOffset, c.year, c.month, c.day);
    c.hour = static_cast<int>(seconds / 3600);
    c.minute = static_cast<int>(seconds / 60 % 60);
    c.second = static_cast<int>(seconds % 60);
    return c;
}

std::string DateText(double daysSince1899) {
    const CivilDateTime c = CivilFromDateTime(daysSince1899);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c.year, c.month, c.day);
    return buffer;
}

std::string TimeText(double daysSince1899) {
    const CivilDateTime c = CivilFromDateTime(daysSince1899);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", c.hour, c.minute, c.second);
    return buffer;
}

std::string DateTimeText(double daysSince1899) {
    return DateText(daysSince1899) + " " + TimeText(daysSince1899);
}

double ParseDateTimeText(std::string_view text) {
    CivilDateTime c;
    std::size_t timeAt = 0;
    if (text.size() >= 10 && text[4] == '-' && text[7] == '-') {
        if (!ReadNumber(text, 0, 4, c.year) || !ReadNumber(text, 5, 2, c.month) ||
            !ReadNumber(text, 8, 2, c.day) || c.month < 1 || c.month > 12 || c.day < 1 ||
            c.day > 31) {
            return 0;
        }
        if (text.size() == 10) {
            return DateTimeFromCivil(c);
        }
        timeAt = 11;
    }
    if (text.size() >= timeAt + 8 && text[timeAt + 2] == ':' && text[timeAt + 5] == ':' &&
        ReadNumber(text, timeAt, 2, c.hour) && ReadNumber(text, timeAt + 3, 2, c.minute) &&
        ReadNumber(text, timeAt + 6, 2, c.second)) {
        return DateTimeFromCivil(c);
    }
    return timeAt > 0 ? DateTimeFromCivil({c.year, c.month, c.day, 0, 0, 0}) : 0;
}

double NowDateTime() { return DateTimeFromUnixTime(std::time(nullptr)); }

double DateTimeFromUnixTime(std::time_t seconds) {
    std::tm tm{};
    localtime_r(&seconds, &tm);
    return FromLocalTm(tm);
}

}  // namespace sonarchive::catalog
