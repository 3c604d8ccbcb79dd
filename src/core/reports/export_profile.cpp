#include "reports/export_profile.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "collections/file_replacement.h"
#include "formats/file_access.h"

namespace sonarchive::reports {
namespace {

constexpr std::size_t kMaxProfileBytes = 1 << 20;

using Json = nlohmann::ordered_json;

template <typename T>
void Take(const Json& object, const char* name, T& into) {
    const auto found = object.find(name);
    if (found != object.end() && !found->is_null()) {
        into = found->get<T>();
    }
}

}  // namespace

std::string ProfileJson(const ExportProfile& s) {
    Json json;
    json["format"] = std::string(FormatName(s.format));
    json["file"] = s.file;
    json["options"] = {{"titleRow", s.options.titleRow},
                       {"footer", s.options.footer},
                       {"digitGrouping", s.options.digitGrouping},
                       {"tableName", s.options.tableName}};
    json["columns"] = s.columns;
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::optional<ExportProfile> ProfileFromJson(const std::string& text, std::string* problem) {
    try {
        const Json json = Json::parse(text);
        ExportProfile s;
        const auto format = FormatNamed(json.at("format").get<std::string>());
        if (!format) {
            throw std::invalid_argument("unknown format " + json.at("format").dump());
        }
        s.format = *format;
        Take(json, "file", s.file);
        if (const auto options = json.find("options"); options != json.end()) {
            Take(*options, "titleRow", s.options.titleRow);
            Take(*options, "footer", s.options.footer);
            Take(*options, "digitGrouping", s.options.digitGrouping);
            Take(*options, "tableName", s.options.tableName);
        }
        Take(json, "columns", s.columns);
        return s;
    } catch (const std::exception& error) {
        if (problem != nullptr) {
            *problem = error.what();
        }
        return std::nullopt;
    }
}

int SaveProfile(const ExportProfile& profile, const std::string& file) {
    return collections::ReplaceFileContent(file, ProfileJson(profile));
}

std::optional<ExportProfile> LoadProfile(const std::string& file, std::string* problem) {
    formats::InputFile input(file);
    const auto content = input.IsOpen() && input.Size() <= kMaxProfileBytes
                             ? input.ReadAt(0, static_cast<std::size_t>(input.Size()))
                             : std::nullopt;
    if (!content) {
        if (problem != nullptr) {
            *problem = input.IsOpen() ? "the file is too large" : "the file cannot be read";
        }
        return std::nullopt;
    }
    return ProfileFromJson(*content, problem);
}

std::string ProfileProblem(const std::string& file, const std::string& problem) {
    return "Couldn't read the export specification " + file + ": " + problem;
}

std::vector<std::string> ColumnsPresent(const ExportProfile& profile,
                                        const std::vector<ReportField>& fields) {
    std::vector<std::string> present;
    for (const std::string& column : profile.columns) {
        if (std::any_of(fields.begin(), fields.end(),
                        [&](const ReportField& f) { return f.name == column; })) {
            present.push_back(column);
        }
    }
    return present;
}

}  // namespace sonarchive::reports
