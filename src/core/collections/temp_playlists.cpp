#include "collections/temp_playlists.h"

#include <filesystem>
#include <system_error>

namespace sonarchive::collections {
namespace {

constexpr std::string_view kPrefix = "~sonarchv";
constexpr std::string_view kExtension = ".m3u";

bool IsTempPlaylistName(const std::string& name) {
    return name.size() >= kPrefix.size() + kExtension.size() && name.starts_with(kPrefix) &&
           name.ends_with(kExtension);
}

}  // namespace

std::string TempPlaylistFolder() {
    std::error_code error;
    const auto folder = std::filesystem::temp_directory_path(error);
    return error ? std::string("/tmp") : folder.string();
}

int ClearTempPlaylists(const std::string& folder) {
    int deleted = 0;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (IsTempPlaylistName(it->path().filename().string()) && it->is_regular_file(ignored) &&
            std::filesystem::remove(it->path(), ignored)) {
            ++deleted;
        }
    }
    return deleted;
}

}  // namespace sonarchive::collections
