#include "platform/machine_ini.h"

#include <ini.h>

#include <charconv>
#include <cstring>
#include <filesystem>

#include "platform/app_paths.h"

namespace sonarchive::platform {
namespace {

struct PingTimeoutSearch {
    bool found = false;
    std::string value;
};

int Handler(void* user, const char* section, const char* name, const char* value) {
    auto* search = static_cast<PingTimeoutSearch*>(user);
    if (strcasecmp(section, "SYSTEM") == 0 && strcasecmp(name, "PING_TIMEOUT") == 0) {
        search->found = true;
        search->value = value;
    }
    return 1;
}

}  // namespace

std::vector<std::string> MachineIniCandidates() {
    std::vector<std::string> files;
    if (const std::string dir = ExecutableDirectory(); !dir.empty()) {
        files.push_back(dir + "/sonarchv.ini");
    }
    files.push_back(ConfigDirectory() + "/sonarchv.ini");
    return files;
}

int ReadPingTimeout(const std::vector<std::string>& iniFiles) {
    for (const auto& file : iniFiles) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error)) {
            continue;
        }
        PingTimeoutSearch search;
        ini_parse(file.c_str(), &Handler, &search);
        int timeout = 0;
        const char* begin = search.value.data();
        const char* end = begin + search.value.size();
        const auto [stop, parseError] = std::from_chars(begin, end, timeout);
        return search.found && parseError == std::errc() && stop == end ? timeout
                                                                         : kDefaultPingTimeoutMs;
    }
    return kDefaultPingTimeoutMs;
}

}  // namespace sonarchive::platform
