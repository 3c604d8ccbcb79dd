// Date-times as the catalog's records hold them: days since 1899-12-30 as a double, the
// fraction being the time of day. In the database they are ISO texts ('YYYY-MM-DD',
// 'HH:MM:SS', 'YYYY-MM-DD HH:MM:SS'), so that comparisons with date literals work as text.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace sonarchive::catalog {

struct CivilDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

double DateTimeFromCivil(const CivilDateTime& civil);
CivilDateTime CivilFromDateTime(double daysSince1899);

std::string DateText(double daysSince1899);      // 2004-05-31
std::string TimeText(double daysSince1899);      // 13:05:09
std::string DateTimeText(double daysSince1899);  // 2004-05-31 13:05:09

// Reads any of the three texts above (a "T" may separate date and time); 0 for empty or
// unreadable text.
double ParseDateTimeText(std::string_view text);

// The current local date and time.
double NowDateTime();
// A file time (seconds since the epoch) as local date and time.
double DateTimeFromUnixTime(std::time_t seconds);

}  // namespace sonarchive::catalog
