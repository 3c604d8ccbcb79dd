#include "cli/cli_context.h"

#include <unistd.h>

#include <iostream>

#include "catalog_store/catalog_hosts.h"
#include "catalog_store/startup.h"
#include "platform/app_paths.h"
#include "platform/machine_ini.h"
#include "platform/system_host_prober.h"

namespace sonarchive::cli {

bool Arguments::TakeFlag(const std::string& name) {
    for (auto it = words_.begin(); it != words_.end(); ++it) {
        if (*it == name) {
            words_.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<std::string> Arguments::TakeOption(const std::string& name) {
    for (auto it = words_.begin(); it != words_.end(); ++it) {
        if (it->rfind(name + "=", 0) == 0) {
            std::string value = it->substr(name.size() + 1);
            words_.erase(it);
            return value;
        }
        if (*it == name) {
            if (it + 1 == words_.end()) {
                throw UsageError{name + " needs a value"};
            }
            std::string value = *(it + 1);
            words_.erase(it, it + 2);
            return value;
        }
    }
    return std::nullopt;
}

std::vector<std::string> Arguments::Rest() const {
    for (const auto& word : words_) {
        if (word.rfind("--", 0) == 0 && word != "--") {
            throw UsageError{"unknown option " + word};
        }
    }
    return words_;
}

CliContext::CliContext(std::string dataDirectory, bool assumeYes)
    : dataDirectory_(platform::DataDirectory(dataDirectory)),
      interaction_(std::cin, std::cout, std::cerr, assumeYes, ::isatty(STDIN_FILENO) == 1),
      settingsFile_(platform::SettingsFilePath()),
      registry_(settingsFile_, interaction_),
      general_(catalog::BuiltInGeneralSettings()) {
    catalog::LoadGeneralSettings(registry_, general_);
}

catalog::Catalog* CliContext::OpenCatalog() {
    if (catalog_) {
        return catalog_.get();
    }
    try {
        auto opened = std::make_unique<catalog::Catalog>(dataDirectory_);
        catalog::CatalogStartup startup(*opened, registry_, interaction_);
        const catalog::StartupOutcome outcome = startup.Run();
        if (outcome.endProgram) {
            return nullptr;
        }
        if (outcome.rereadRequested) {
            interaction_.ShowInformation("Run \"sonarchive-cli reread\" to read the tags again.");
        }
        catalog_ = std::move(opened);
    } catch (const catalog::EngineError& error) {
        interaction_.ShowError(error.Message());
        return nullptr;
    }
    return catalog_.get();
}

}  // namespace sonarchive::cli

namespace sonarchive::cli {

catalog::FileRecordReader CliContext::RecordReader() const {
    return [preferences = Preferences()](const std::string& path, int format,
                                         catalog::TCommentInfoType& tags,
                                         catalog::TEncoderInfoType& stream) {
        return cataloguing::ReadFileOfFormat(path, format, preferences, tags, stream);
    };
}

platform::ReachableHosts& CliContext::CheckedHosts() {
    catalog::Catalog* catalog = OpenCatalog();
    if (!hostsChecked_ && catalog != nullptr) {
        hostsChecked_ = true;
        platform::ReachabilityCheck check(std::make_shared<platform::SystemHostProber>(),
                                          platform::ReadPingTimeout());
        catalog::CheckCatalogHosts(catalog->Engine(), rules_, check, hosts_);
    }
    return hosts_;
}

}  // namespace sonarchive::cli
