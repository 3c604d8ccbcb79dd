// Export profiles: what the user chose for an export (format, file, options and the
// columns in their order), kept in a small JSON file to be loaded for a later export.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "reports/report_export.h"

namespace sonarchive::reports {

struct ExportProfile {
    ExportFormat format = ExportFormat::Csv;
    std::string file;
    ExportOptions options;
    std::vector<std::string> columns;  // the captions exported, in their order
};

// {"format": "csv", "file": ..., "options": {...}, "columns": [...]}
std::string ProfileJson(const ExportProfile& profile);
// Nothing when the text is no profile; `problem` then says why.
std::optional<ExportProfile> ProfileFromJson(const std::string& json,
                                             std::string* problem = nullptr);

// 0 or the errno; the old file stays whole when the write fails.
int SaveProfile(const ExportProfile& profile, const std::string& file);
std::optional<ExportProfile> LoadProfile(const std::string& file, std::string* problem = nullptr);

// "Couldn't read the export specification FILE: PROBLEM"
std::string ProfileProblem(const std::string& file, const std::string& problem);

// The profile's columns that the table has, in the profile's order.
std::vector<std::string> ColumnsPresent(const ExportProfile& profile,
                                        const std::vector<ReportField>& fields);

}  // namespace sonarchive::reports
