#include "organize/organizer_targets.h"

#include <sys/stat.h>

#include <vector>

#include "organize/file_format.h"
#include "platform/mount_paths.h"
#include "text/path_bytes.h"

namespace sonarchive::organize {
namespace {

void DropTrailingSlash(std::string& path) {
    if (!path.empty() && path.back() == '/') {
        path.pop_back();
    }
}

bool IsFolder(const std::string& local) {
    struct stat st {};
    const std::string path = local.empty() ? "/" : text::PathToSystem(local);
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Where a typed absolute path or network address can be opened; empty when nothing reaches it.
std::string LocalFolderOf(const std::string& typed, const platform::MountTable& mounts,
                          const catalog::PathRules& rules) {
    if (rules.IsNetworkPath(typed)) {
        return rules.ResolveTypedFolder(typed);
    }
    if (typed.empty() || typed[0] != '/') {
        return {};
    }
    const auto drives = mounts.Drives();
    const platform::MountEntry* drive = platform::PlaceOfPath(*drives, typed).drive;
    if (drive == nullptr || (drive->driveType == "Remote" && drive->networkAddress.empty())) {
        return {};
    }
    return typed;
}

}  // namespace

Place Place::Child(const std::string& name) const {
    return {shown + "/" + name, local + "/" + name};
}

std::optional<Place> ResolveBaseFolder(const std::string& typed, const platform::MountTable& mounts,
                                       const catalog::PathRules& rules) {
    Place base{typed, LocalFolderOf(typed, mounts, rules)};
    if (base.local.empty()) {
        return std::nullopt;
    }
    DropTrailingSlash(base.shown);
    DropTrailingSlash(base.local);
    if (!IsFolder(base.local)) {
        return std::nullopt;
    }
    return base;
}

TargetFolder TargetFolderOf(const Place& base, FolderNaming naming,
                            const catalog::TMainDataRecComplete& row,
                            const LegalizeOptions& legalize) {
    std::vector<std::string> levels;
    bool fromTags = true;
    switch (naming) {
        case FolderNaming::Artist:
            levels = {row.dArtist};
            break;
        case FolderNaming::ArtistAlbum:
            levels = {row.dArtist, row.dAlbum};
            break;
        case FolderNaming::Album:
            levels = {row.dAlbum};
            break;
        case FolderNaming::Comment:
            levels = {row.dComment};
            break;
        case FolderNaming::Genre:
            levels = {row.dGenre};
            break;
        case FolderNaming::Year:
            levels = {std::to_string(row.dYear)};
            fromTags = false;
            break;
        case FolderNaming::Skip:
            break;
    }
    TargetFolder target;
    target.ok = true;
    target.displayed = base.shown;
    target.folder = base;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        std::string name = levels[i];
        target.displayed += "/" + levels[i];
        if (fromTags && !LegalizeFileName(name, false, legalize)) {
            target.ok = false;
        }
        if (i + 1 < levels.size()) {
            target.parent = target.folder.Child(name);
        }
        target.folder = target.folder.Child(name);
    }
    return target;
}

std::string TargetFileNameOf(FileNaming naming, const std::string& customFormat,
                             const catalog::TMainDataRecComplete& row) {
    std::string format;
    switch (naming) {
        case FileNaming::NoChanges:
            return std::string(LastPathComponent(row.dPath));
        case FileNaming::ArtistTitle:
            format = "%0 - %1";
            break;
        case FileNaming::Title:
            format = "%1";
            break;
        case FileNaming::Custom:
            format = customFormat;
            break;
    }
    return ExpandFileFormat(format, &row, true, false).value + std::string(ExtensionOf(row.dPath));
}

}  // namespace sonarchive::organize
