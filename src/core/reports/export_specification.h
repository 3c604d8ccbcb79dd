// Export specifications: what the user chose for an export (format, file, options and the
// columns in their order), kept in a small JSON file to be loaded for a later export.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "reports/report_export.h"

namespace sonarchive::reports {

struct ExportSpecification {
    ExportFormat format = ExportFormat::Csv;
    std::string file;
    ExportOptions options;
    std::vector<std::string> columns;  // the captions exported, in their order
};

// {"format": "csv", "file": ..., "options": {...}, "columns": [...]}
std::string SpecificationJson(const ExportSpecification& specification);
// Nothing when the text is no specification; `problem` then says why.
std::optional<ExportSpecification> SpecificationFromJson(const std::string& json,
                                                         std::string* problem = nullptr);

// 0 or the errno; the old file stays whole when the write fails.
int SaveSpecification(const ExportSpecification& specification, const std::string& file);
std::optional<ExportSpecification> LoadSpecification(const std::string& file,
                                                     std::string* problem = nullptr);

// "Couldn't read the export specification FILE: PROBLEM"
std::string SpecificationProblem(const std::string& file, const std::string& problem);

// The specification's columns that the table has, in the specification's order.
std::vector<std::string> ColumnsPresent(const ExportSpecification& specification,
                                        const std::vector<ReportField>& fields);

}  // namespace sonarchive::reports
