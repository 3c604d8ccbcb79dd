#include "organize/organizer_settings.h"

namespace sonarchive::organize {
namespace {

template <typename Option>
void ReadOption(catalog::Registry& registry, const char* name, int last, Option& option) {
    const auto value = registry.File().ReadInteger(name);
    if (value && *value >= 0 && *value <= last) {
        option = static_cast<Option>(*value);
    }
}

std::int64_t Stored(auto option) {
    return static_cast<std::int64_t>(option);
}

}  // namespace

void ReadOrganizerSettings(catalog::Registry& registry, OrganizerSettings& s) {
    s.baseDir = registry.ReadRegString("DISK_ORG_BASE_DIR");
    ReadOption(registry, "DISK_ORG_ACTION", 1, s.action);
    if (const auto remove = registry.File().ReadInteger("DISK_ORG_REMOVE_EMPTY_FOLDERS")) {
        s.removeEmptyFolders = *remove == 1;
    }
    ReadOption(registry, "DISK_ORG_RANGE", 1, s.range);
    ReadOption(registry, "DISK_ORG_FOLDER_NAME", 6, s.folders);
    ReadOption(registry, "DISK_ORG_FILE_NAMES", 3, s.names);
    s.customFormat = registry.ReadRegString("DISK_ORG_CUSTOM_FILE_NAMES_FORMAT");
}

bool WriteOrganizerSettings(catalog::Registry& registry, const OrganizerSettings& s) {
    return registry.WriteValues(
        {
            {"DISK_ORG_BASE_DIR", s.baseDir},
            {"DISK_ORG_ACTION", Stored(s.action)},
            {"DISK_ORG_REMOVE_EMPTY_FOLDERS", std::int64_t{s.removeEmptyFolders ? 1 : 0}},
            {"DISK_ORG_RANGE", Stored(s.range)},
            {"DISK_ORG_FOLDER_NAME", Stored(s.folders)},
            {"DISK_ORG_FILE_NAMES", Stored(s.names)},
            {"DISK_ORG_CUSTOM_FILE_NAMES_FORMAT", s.customFormat},
        },
        "Couldn't write to registry (DISK_ORG_BASE_DIR).");
}

}  // namespace sonarchive::organize
