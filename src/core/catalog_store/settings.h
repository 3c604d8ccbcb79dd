// The program's settings by name, with the read and write rules the windows rely on, and the
// general settings the main window holds for the whole run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "interaction/interaction.h"
#include "platform/settings_file.h"

namespace sonarchive::catalog {

class Registry {
public:
    Registry(platform::SettingsFile& file, Interaction& interaction);

    // The value; -1 when the settings cannot be opened or the value is missing or no integer.
    std::int64_t ReadRegInteger(const std::string& name);
    // Shows "Couldn't write to registry (NAME)." when the value cannot be written.
    void WriteRegInteger(const std::string& name, std::int64_t value);
    // The value; empty when missing or unreadable.
    std::string ReadRegString(const std::string& name);
    void WriteRegString(const std::string& name, const std::string& value);
    std::optional<std::string> ReadRegBinary(const std::string& name);
    void WriteRegBinary(const std::string& name, const std::string& bytes);

    // Several values in one write; on failure shows `failureMessage` and answers false.
    bool WriteValues(const std::vector<std::pair<std::string, platform::SettingValue>>& values,
                     const std::string& failureMessage);

    platform::SettingsFile& File() { return file_; }
    Interaction& User() { return interaction_; }

private:
    void WriteOne(const std::string& name, platform::SettingValue value);

    platform::SettingsFile& file_;
    Interaction& interaction_;
};

struct GeneralSettings {
    bool ConfirmDelete = true;
    bool ConfirmDeleteIfInCollections = true;
    bool ConfirmDeleteFromHarddisk = true;
    bool ConfirmDeleteTag = true;
    bool ConfirmMassUpdate = true;
    bool ConfirmRenameFiles = true;
    bool ConfirmOrganizeFiles = true;
    bool FirstTimeUsage = true;
    bool SearchUseCombos = true;          // stored inverted as SEARCH_DONT_USE_COMBOS
    bool SearchRefreshPicklists = true;
    bool OggUseId3 = false;
    std::int64_t Mp3PrimaryTag = 0;
    std::int64_t MacPrimaryTag = 0;
    bool DiskOrgReplaceDeleteIllegal = true;
    bool DiskOrgReplaceIllegal = true;    // stored inverted as DISKORG_DELETE_ILLEGAL_CHARACTERS
    std::string DiskOrgReplaceWithCharacter = " ";

    // MP3 files read ID3v1 before ID3v2 for any stored value but 0.
    bool Mp3Id3v1First() const { return Mp3PrimaryTag != 0; }
};

// The values before the first read; they stay when the settings cannot be opened.
GeneralSettings BuiltInGeneralSettings();

// Reads every general setting with its rule and its default for a missing value.
void LoadGeneralSettings(Registry& registry, GeneralSettings& settings);

// Writes the general settings as a whole; shows "Sonarchive: Couldn't write to registry
// (GENERAL KEYS)." when they cannot be written.
void SaveGeneralSettings(Registry& registry, const GeneralSettings& settings);

}  // namespace sonarchive::catalog
