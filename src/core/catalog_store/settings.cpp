#include "catalog_store/settings.h"

#include "text/text.h"

namespace sonarchive::catalog {
namespace {

// A 0/1 value read as "value = 1", with the value to use when it is missing.
bool ReadFlag(platform::SettingsFile& file, const std::string& name, bool whenMissing) {
    const auto value = file.ReadInteger(name);
    return value ? *value == 1 : whenMissing;
}

std::int64_t AsStored(bool flag) { return flag ? 1 : 0; }

}  // namespace

Registry::Registry(platform::SettingsFile& file, Interaction& interaction)
    : file_(file), interaction_(interaction) {}

std::int64_t Registry::ReadRegInteger(const std::string& name) {
    return file_.ReadInteger(name).value_or(-1);
}

void Registry::WriteOne(const std::string& name, platform::SettingValue value) {
    WriteValues({{name, std::move(value)}}, "Couldn't write to registry (" + name + ").");
}

void Registry::WriteRegInteger(const std::string& name, std::int64_t value) {
    WriteOne(name, value);
}

std::string Registry::ReadRegString(const std::string& name) {
    return file_.ReadString(name).value_or(std::string());
}

void Registry::WriteRegString(const std::string& name, const std::string& value) {
    WriteOne(name, value);
}

std::optional<std::string> Registry::ReadRegBinary(const std::string& name) {
    return file_.ReadBinary(name);
}

void Registry::WriteRegBinary(const std::string& name, const std::string& bytes) {
    WriteOne(name, platform::BinaryValue{bytes});
}

bool Registry::WriteValues(
    const std::vector<std::pair<std::string, platform::SettingValue>>& values,
    const std::string& failureMessage) {
    if (file_.Write(values)) {
        return true;
    }
    interaction_.ShowError(failureMessage);
    return false;
}

GeneralSettings BuiltInGeneralSettings() { return GeneralSettings{}; }

void LoadGeneralSettings(Registry& registry, GeneralSettings& s) {
    platform::SettingsFile& file = registry.File();
    if (!file.CanOpen()) {
        return;
    }
    s.ConfirmDelete = ReadFlag(file, "CONFIRM_DELETE", true);
    s.ConfirmDeleteIfInCollections = ReadFlag(file, "CONFIRM_DELETE_IF_IN_COLLECTIONS", true);
    s.ConfirmDeleteFromHarddisk = ReadFlag(file, "CONFIRM_DELETE_FROM_HARDDISK", true);
    s.ConfirmDeleteTag = ReadFlag(file, "CONFIRM_DELETE_TAG", true);
    s.ConfirmMassUpdate = ReadFlag(file, "CONFIRM_MASS_UPDATE", true);
    s.ConfirmRenameFiles = ReadFlag(file, "CONFIRM_RENAME_FILES", true);
    s.ConfirmOrganizeFiles = ReadFlag(file, "CONFIRM_ORGANIZE_FILES", true);
    s.FirstTimeUsage = ReadFlag(file, "FIRST_TIME_USAGE", true);
    const auto dontUseCombos = file.ReadInteger("SEARCH_DONT_USE_COMBOS");
    s.SearchUseCombos = dontUseCombos ? *dontUseCombos == 0 : true;
    s.SearchRefreshPicklists = ReadFlag(file, "SEARCH_REFRESH_PICKLISTS", true);
    s.OggUseId3 = ReadFlag(file, "OGG_USE_ID3", false);
    s.Mp3PrimaryTag = file.ReadInteger("MP3_PRIMARY_TAG").value_or(0);
    s.MacPrimaryTag = file.ReadInteger("MAC_PRIMARY_TAG").value_or(0);
    // Missing reads as on, as the built-in value and the preferences have it: otherwise the
    // save at the first start would store "off" for a user who never chose it.
    s.DiskOrgReplaceDeleteIllegal =
        ReadFlag(file, "DISKORG_REPLACE_DELETE_ILLEGAL_CHARACTERS", true);
    const auto deleteIllegal = file.ReadInteger("DISKORG_DELETE_ILLEGAL_CHARACTERS");
    s.DiskOrgReplaceIllegal = deleteIllegal ? *deleteIllegal == 0 : true;
    if (const auto replacement = file.ReadString("DISKORG_REPLACE_WITH_CHARACTER")) {
        s.DiskOrgReplaceWithCharacter = text::CutCodePoints(*replacement, 1);
    } else {
        // A value of another type reads as a blank, a missing one as empty.
        s.DiskOrgReplaceWithCharacter.assign(
            file.Contains("DISKORG_REPLACE_WITH_CHARACTER") ? 1 : 0, ' ');
    }
}

void SaveGeneralSettings(Registry& registry, const GeneralSettings& s) {
    std::vector<std::pair<std::string, platform::SettingValue>> values = {
        {"CONFIRM_DELETE", AsStored(s.ConfirmDelete)},
        {"CONFIRM_DELETE_IF_IN_COLLECTIONS", AsStored(s.ConfirmDeleteIfInCollections)},
        {"CONFIRM_DELETE_FROM_HARDDISK", AsStored(s.ConfirmDeleteFromHarddisk)},
        {"CONFIRM_DELETE_TAG", AsStored(s.ConfirmDeleteTag)},
        {"CONFIRM_MASS_UPDATE", AsStored(s.ConfirmMassUpdate)},
        {"CONFIRM_RENAME_FILES", AsStored(s.ConfirmRenameFiles)},
        {"CONFIRM_ORGANIZE_FILES", AsStored(s.ConfirmOrganizeFiles)},
        {"FIRST_TIME_USAGE", AsStored(s.FirstTimeUsage)},
        {"SEARCH_DONT_USE_COMBOS", AsStored(!s.SearchUseCombos)},
        {"SEARCH_REFRESH_PICKLISTS", AsStored(s.SearchRefreshPicklists)},
        {"OGG_USE_ID3", AsStored(s.OggUseId3)},
        {"MP3_PRIMARY_TAG", s.Mp3PrimaryTag},
        {"MAC_PRIMARY_TAG", s.MacPrimaryTag},
        {"DISKORG_REPLACE_DELETE_ILLEGAL_CHARACTERS", AsStored(s.DiskOrgReplaceDeleteIllegal)},
        {"DISKORG_DELETE_ILLEGAL_CHARACTERS", AsStored(!s.DiskOrgReplaceIllegal)},
    };
    if (!s.DiskOrgReplaceWithCharacter.empty()) {
        values.emplace_back("DISKORG_REPLACE_WITH_CHARACTER", s.DiskOrgReplaceWithCharacter);
    }
    registry.WriteValues(values, "Sonarchive: Couldn't write to registry (GENERAL KEYS).");
}

}  // namespace sonarchive::catalog
