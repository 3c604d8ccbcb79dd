#include "platform/app_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "text/path_bytes.h"

namespace sonarchive::platform {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string HomeDirectory() {
    std::string home = Environment("HOME");
    if (home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr) {
            home = entry->pw_dir;
        }
    }
    return home;
}

// $<specific>, else $<xdgVariable>/sonarchive, else ~/<fallback>/sonarchive.
std::string UserDirectory(const char* specific, const char* xdgVariable, const char* fallback) {
    if (std::string dir = Environment(specific); !dir.empty()) {
        return dir;
    }
    if (std::string base = Environment(xdgVariable); !base.empty()) {
        return base + "/sonarchive";
    }
    return HomeDirectory() + "/" + fallback + "/sonarchive";
}

}  // namespace

std::string DataDirectory(const std::string& overrideDir) {
    if (!overrideDir.empty()) {
        return overrideDir;
    }
    return text::PathFromSystem(
        UserDirectory("SONARCHIVE_DATA_DIR", "XDG_DATA_HOME", ".local/share"));
}

std::string ConfigDirectory() {
    return UserDirectory("SONARCHIVE_CONFIG_DIR", "XDG_CONFIG_HOME", ".config");
}

std::string SettingsFilePath() { return ConfigDirectory() + "/settings.json"; }

std::string ExecutableDirectory() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : executable.parent_path().string();
}

}  // namespace sonarchive::platform
