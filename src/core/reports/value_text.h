// Field values as the export formats write them.
#pragma once

#include <string>

#include "reports/report_table.h"

namespace sonarchive::reports {

// For readers: "31.05.2004", "13:05:09", "31.05.2004 13:05:09", "1,5", "4 567 890" (a no-break
// space between groups, only when grouping). Empty for a null value.
std::string ReadableText(const ReportValue& value, FieldType type, bool digitGrouping);

// For programs: "2004-05-31", "13:05:09", "2004-05-31T13:05:09", "1.5", "4567890". Empty for
// a null value.
std::string DataText(const ReportValue& value, FieldType type);

bool IsNumeric(FieldType type);

// The text between two quote characters, each quote inside it doubled.
std::string QuotedDoubling(std::string_view text, char quote);

}  // namespace sonarchive::reports
