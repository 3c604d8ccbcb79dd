// Dates as the user reads and types them: the locale's short date format, always with a
// four-digit year.
#pragma once

#include <QDate>
#include <QString>
#include <string>

#include "lists/date_format.h"

namespace sonarchive::gui {

// The locale's short date pattern with the year widened to four digits ("dd.MM.yyyy"); the ISO
// form "yyyy-MM-dd" when the locale's pattern holds anything but day, month and year numbers
// (a month name could not be read back).
QString ShortDatePattern();
// That pattern as the lists write and read dates.
const lists::DateFormat& ShortDateFormat();

std::string ShortDateText(const QDate& date);
// The date a text in the short format names; an invalid date when it names none.
QDate ShortDateOf(const std::string& text);
// Days since 1899-12-30 of a date, as the catalog counts them.
double DaysOf(const QDate& date);

}  // namespace sonarchive::gui
