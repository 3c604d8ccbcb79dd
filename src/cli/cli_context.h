// What every verb of the command-line program works with: the catalog of the chosen data
// directory, the user's settings, and the terminal.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalog_store/catalog.h"
#include "catalog_store/catalog_writer.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/settings.h"
#include "cataloguing/record_builder.h"
#include "cli/terminal_interaction.h"
#include "platform/proc_mount_table.h"
#include "platform/reachable_hosts.h"
#include "platform/settings_file.h"

namespace sonarchive::cli {

// Exit statuses of the program.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// The arguments of one verb, with its flags taken out as they are asked for.
class Arguments {
public:
    explicit Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

    // Removes "--name" and answers whether it was there.
    bool TakeFlag(const std::string& name);
    // Removes "--name VALUE" or "--name=VALUE"; nothing when absent. A missing value is a
    // usage error (UsageError thrown).
    std::optional<std::string> TakeOption(const std::string& name);
    // What is left; a word that still starts with "--" is an unknown option (UsageError).
    std::vector<std::string> Rest() const;
    // What is left, options included.
    const std::vector<std::string>& Words() const { return words_; }

private:
    std::vector<std::string> words_;
};

struct UsageError {
    std::string message;
};

class CliContext {
public:
    CliContext(std::string dataDirectory, bool assumeYes);

    // The data directory in use (--data-dir, the environment or the default).
    const std::string& DataDirectory() const { return dataDirectory_; }
    TerminalInteraction& User() { return interaction_; }
    catalog::Registry& Registry() { return registry_; }
    catalog::GeneralSettings& General() { return general_; }
    // Opens the catalog on first use and runs the start-up checks; null (after telling the
    // user) when it cannot be opened or is damaged beyond repair.
    catalog::Catalog* OpenCatalog();

    const platform::MountTable& Mounts() { return mounts_; }
    const catalog::PathRules& Rules() { return rules_; }
    // The hosts known to answer: on first use every network host of the open catalog is
    // checked, as the desktop program does at start.
    platform::ReachableHosts& CheckedHosts();
    cataloguing::TagPreferences Preferences() const {
        return cataloguing::TagPreferences::From(general_);
    }
    // Reads a file into its records with the user's tag preferences.
    catalog::FileRecordReader RecordReader() const;

private:
    std::string dataDirectory_;
    TerminalInteraction interaction_;
    platform::SettingsFile settingsFile_;
    catalog::Registry registry_;
    catalog::GeneralSettings general_;
    std::unique_ptr<catalog::Catalog> catalog_;
    platform::ProcMountTable mounts_;
    catalog::PosixPathRules rules_{mounts_};
    platform::ReachableHosts hosts_;
    bool hostsChecked_ = false;
};

}  // namespace sonarchive::cli
