#include "cataloguing/add_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <limits>

#include "catalog_store/batched_transaction.h"
#include "catalog_store/catalog_rows.h"
#include "catalog_store/sql_text.h"
#include "cataloguing/scan_reads.h"
#include "interaction/scopes.h"
#include "platform/mount_paths.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::cataloguing {
namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::int32_t SizeInKilobytes(const struct stat& st) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(st.st_size / 1024, std::numeric_limits<std::int32_t>::max()));
}

// An absolute, lexically clean form of a path the user gave.
std::string Absolute(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(text::PathToSystem(path), error);
    if (error) {
        return path;
    }
    std::string clean = text::PathFromSystem(absolute.lexically_normal().string());
    if (clean.size() > 1 && clean.back() == '/') {
        clean.pop_back();
    }
    return clean;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// One folder's entries: matching candidates and subfolders, each in name order.
struct FolderListing {
    struct File {
        std::string name;
        std::int32_t sizeKB;
    };
    struct Folder {
        std::string name;
        bool otherFilesystem;
    };
    std::vector<File> files;
    std::vector<Folder> folders;

    // Hidden (dot) entries are skipped; links to files are followed, links to folders are not,
    // so a scan can never loop. An unreadable folder lists as empty.
    static FolderListing Read(const std::string& folder) {
        FolderListing listing;
        DIR* dir = ::opendir(text::PathToSystem(folder).c_str());
        if (dir == nullptr) {
            return listing;
        }
        struct stat self {};
        const int fd = ::dirfd(dir);
        const bool haveSelf = ::fstat(fd, &self) == 0;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = text::PathFromSystem(entry->d_name);
            if (name.empty() || name[0] == '.') {
                continue;
            }
            struct stat st {};
            if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                continue;
            }
            if (S_ISLNK(st.st_mode)) {
                if (::fstatat(fd, entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) {
                    continue;
                }
            }
            if (S_ISREG(st.st_mode)) {
                listing.files.push_back({name, SizeInKilobytes(st)});
            } else if (S_ISDIR(st.st_mode)) {
                listing.folders.push_back({name, haveSelf && st.st_dev != self.st_dev});
            }
        }
        ::closedir(dir);
        std::sort(listing.files.begin(), listing.files.end(),
                  [](const File& a, const File& b) { return a.name < b.name; });
        std::sort(listing.folders.begin(), listing.folders.end(),
                  [](const Folder& a, const Folder& b) { return a.name < b.name; });
        return listing;
    }
};

// Where a subfolder met by a scan leads: on into the same volume, into a drive mounted there
// (whose files belong to that volume), or into a filesystem that is no drive (such as /proc),
// which is never entered.
enum class Subfolder { SameVolume, OtherDrive, NoDrive };

Subfolder KindOfSubfolder(const platform::MountTable& mounts, const std::string& path,
                          bool otherFilesystem) {
    const auto drives = mounts.Drives();
    const platform::PathPlace place = platform::PlaceOfPath(*drives, path);
    if (place.drive != nullptr && place.mountPoint == path) {
        return Subfolder::OtherDrive;
    }
    return otherFilesystem ? Subfolder::NoDrive : Subfolder::SameVolume;
}

void AppendFolderFiles(const platform::MountTable& mounts, const std::string& folder,
                       const std::vector<std::string>& masks, std::vector<std::string>& files) {
    const FolderListing listing = FolderListing::Read(folder);
    for (const auto& mask : masks) {
        for (const auto& file : listing.files) {
            if (MatchesMask(file.name, mask)) {
                files.push_back(JoinPath(folder, file.name));
            }
        }
    }
    for (const auto& sub : listing.folders) {
        const std::string path = JoinPath(folder, sub.name);
        if (KindOfSubfolder(mounts, path, sub.otherFilesystem) != Subfolder::NoDrive) {
            AppendFolderFiles(mounts, path, masks, files);
        }
    }
}

}  // namespace

std::vector<std::string> ExtensionMasks(const FormatSelection& formats) {
    if (formats.all) {
        return {"*.MP3", "*.OGG", "*.MAC", "*.APE", "*.WAV"};
    }
    std::vector<std::string> masks;
    if (formats.mp3) {
        masks.emplace_back("*.MP3");
    }
    if (formats.ogg) {
        masks.emplace_back("*.OGG");
    }
    if (formats.monkey) {
        masks.emplace_back("*.MAC");
        masks.emplace_back("*.APE");
    }
    if (formats.wave) {
        masks.emplace_back("*.WAV");
    }
    return masks;
}

bool MatchesMask(std::string_view fileName, std::string_view mask) {
    const std::string_view extension = mask.substr(1);  // ".MP3"
    return fileName.size() > extension.size() &&
           text::EqualsIgnoringCase(fileName.substr(fileName.size() - extension.size()), extension);
}

std::vector<std::string> FolderFiles(const platform::MountTable& mounts, const std::string& folder,
                                     const std::vector<std::string>& masks) {
    std::vector<std::string> files;
    if (!masks.empty()) {
        AppendFolderFiles(mounts, Absolute(folder), masks, files);
    }
    return files;
}

AddCounters& AddCounters::operator+=(const AddCounters& other) {
    found += other.found;
    added += other.added;
    alreadyInArchive += other.alreadyInArchive;
    invalid += other.invalid;
    return *this;
}

FileAdder::FileAdder(catalog::Catalog& catalog, const catalog::PathRules& rules,
                     const platform::MountTable& mounts, catalog::CatalogInserter& inserter,
                     Interaction& interaction, AddObserver observer)
    : catalog_(catalog),
      rules_(rules),
      mounts_(mounts),
      inserter_(inserter),
      interaction_(interaction),
      observer_(std::move(observer)) {}

void FileAdder::SetPlaylistOpener(std::function<void(const std::string&)> opener) {
    openPlaylist_ = std::move(opener);
}

std::string FileAdder::LocalPath(const std::string& typed) const {
    return rules_.IsNetworkPath(typed) ? rules_.ResolveTypedFolder(typed) : Absolute(typed);
}

bool FileAdder::Cancelled() {
    cancelled_ = cancelled_ || interaction_.CancelRequested();
    return cancelled_;
}

void FileAdder::RememberFirstId() {
    if (firstIdBefore_ < 0) {
        firstIdBefore_ = catalog::LastMaindataId(catalog_.Engine());
    }
}

void FileAdder::ReportCounters() {
    if (observer_.counters) {
        observer_.counters(current_);
    }
}

void FileAdder::AddError(const std::string& line) {
    errorLines_.push_back(line);
    if (observer_.errorLine) {
        observer_.errorLine(line);
    }
}

bool FileAdder::AddFromFolder(const std::string& folder, bool recurse,
                              const std::vector<std::string>& masks) {
    RememberFirstId();
    const std::string local = LocalPath(folder);
    std::error_code error;
    if (local.empty() || !std::filesystem::is_directory(text::PathToSystem(local), error)) {
        interaction_.ShowInformation("Folder not found " + Quoted(folder));
        return false;
    }
    const IdentityResult identity = VolumeIdentityOf(mounts_, rules_, local);
    if (identity.problem != IdentityProblem::None) {
        interaction_.ShowInformation(
            "Can't add files on mapped network drives. Please use network address instead.");
        return false;
    }
    crossMounts_ = true;
    BusyScope busy(interaction_);
    ScanVolume(local, recurse, masks, identity.identity);
    return true;
}

void FileAdder::AddFromAllDrives(const std::vector<std::string>& masks) {
    RememberFirstId();
    crossMounts_ = false;  // every drive is scanned as itself
    BusyScope busy(interaction_);
    const auto drives = mounts_.Drives();
    std::vector<const platform::MountEntry*> local;
    for (const auto& drive : *drives) {
        if (drive.driveType != "Remote") {
            local.push_back(&drive);
        }
    }
    std::sort(local.begin(), local.end(),
              [](const auto* a, const auto* b) { return a->mountPoint < b->mountPoint; });
    for (const platform::MountEntry* drive : local) {
        if (Cancelled()) {
            break;
        }
        ScanVolume(drive->mountPoint, true, masks, IdentityOfDrive(*drive));
    }
}

void FileAdder::ScanVolume(const std::string& folder, bool recurse,
                           const std::vector<std::string>& masks, const VolumeIdentity& volume) {
    if (observer_.volume) {
        observer_.volume(volume);
    }
    current_ = {};
    ReportCounters();
    std::vector<catalog::TMediaFileRec> found;
    ScanFolder(folder, recurse, masks, 0, volume, found);
    AddFoundFiles(found);
    totals_ += current_;
}

void FileAdder::ScanFolder(const std::string& folder, bool recurse,
                           const std::vector<std::string>& masks, int depth,
                           const VolumeIdentity& volume,
                           std::vector<catalog::TMediaFileRec>& found) {
    interaction_.ProcessPendingEvents();
    if (masks.empty()) {
        return;
    }
    const FolderListing listing = FolderListing::Read(folder);
    if (depth == 0) {
        interaction_.SetTaskText("Looking for files");
        interaction_.SetProgressMaximum(recurse ? static_cast<int>(listing.folders.size()) : 0);
    }
    for (const auto& mask : masks) {
        bool first = true;
        for (const auto& file : listing.files) {
            if (!MatchesMask(file.name, mask)) {
                continue;
            }
            if (!first && Cancelled()) {
                break;
            }
            first = false;
            found.push_back({JoinPath(folder, file.name), file.sizeKB, volume.typeCode,
                             volume.serial, volume.label, volume.letter});
            current_.found = static_cast<int>(found.size());
            ReportCounters();
        }
    }
    if (!recurse) {
        return;
    }
    for (std::size_t i = 0; i < listing.folders.size() && !Cancelled(); ++i) {
        if (depth == 0) {
            interaction_.SetProgressPosition(static_cast<int>(i));
        }
        const auto& sub = listing.folders[i];
        const std::string path = JoinPath(folder, sub.name);
        const Subfolder kind = KindOfSubfolder(mounts_, path, sub.otherFilesystem);
        if (kind == Subfolder::SameVolume) {
            ScanFolder(path, recurse, masks, depth + 1, volume, found);
        }
        // Scanning every drive, a drive mounted inside another comes in its own turn.
        if (kind != Subfolder::OtherDrive || !crossMounts_) {
            continue;
        }
        const IdentityResult inner = VolumeIdentityOf(mounts_, rules_, path);
        if (inner.problem == IdentityProblem::None) {
            ScanFolder(path, recurse, masks, depth + 1, inner.identity, found);
        }
    }
}

void FileAdder::AddFoundFiles(const std::vector<catalog::TMediaFileRec>& found) {
    interaction_.SetTaskText("Adding files to archive");
    interaction_.SetProgressMaximum(static_cast<int>(found.size()));
    catalog::BatchedTransaction batch(catalog_.Engine());
    ScanReads reads(catalog_.Engine(), rules_, inserter_, found, readerThreads_);
    for (std::size_t i = 0; i < found.size() && !Cancelled(); ++i) {
        const catalog::TMediaFileRec& file = found[i];
        if (const std::optional<catalog::FileReading> reading = reads.Next()) {
            batch.BeforeWrite();
            if (inserter_.WriteRow(file, *reading)) {
                ++current_.added;
                batch.AfterWrite();
            } else {
                ++current_.invalid;
                AddError("Invalid File " + file.FullPath);
            }
        } else {
            ++current_.alreadyInArchive;
        }
        ReportCounters();
        interaction_.SetProgressPosition(static_cast<int>(i + 1));
        interaction_.ProcessPendingEvents();
    }
    batch.Commit();
    catalog_.Events().Notify(catalog::CatalogChange::FileCountChanged);
}

void FileAdder::AddDroppedFiles(const std::vector<std::string>& paths) {
    RememberFirstId();
    current_ = {};
    catalog::BatchedTransaction batch(catalog_.Engine());
    for (const auto& path : paths) {
        if (Cancelled()) {
            break;
        }
        batch.BeforeWrite();
        const AddOneFileResult result = AddOneFile(path);
        ++current_.found;
        if (result.code == 0) {
            ++current_.added;
            batch.AfterWrite();
        } else {
            ++(result.code == -3 ? current_.alreadyInArchive : current_.invalid);
            AddError(result.message);
        }
        ReportCounters();
        interaction_.ProcessPendingEvents();
    }
    batch.Commit();
    totals_ += current_;
    catalog_.Events().Notify(catalog::CatalogChange::FileCountChanged);
}

AddOneFileResult FileAdder::AddOneFile(const std::string& path) {
    if (catalog::FormatCodeOf(path) == catalog::kFormatOther) {
        const auto dot = path.rfind('.');
        if (dot != std::string::npos && text::UpperCase(path.substr(dot)) == ".M3U") {
            if (openPlaylist_) {
                openPlaylist_(path);
            }
            return {-1, "Playlist " + Quoted(path) + " opened"};
        }
        return {-1, "Invalid file extension " + Quoted(path)};
    }
    const std::string local = LocalPath(path);
    struct stat st {};
    if (local.empty() || ::stat(text::PathToSystem(local).c_str(), &st) != 0 ||
        !S_ISREG(st.st_mode)) {
        return {-1, "File not found " + Quoted(path)};
    }
    const IdentityResult identity = VolumeIdentityOf(mounts_, rules_, local);
    if (identity.problem == IdentityProblem::UntranslatableNetworkMount) {
        return {-2, "Can't add " + Quoted(path) +
                        " from mapped network drive, please use network adress instead."};
    }
    if (identity.problem == IdentityProblem::NoVolume) {
        return {-2, "Couldn't find disk identifier " + Quoted(path)};
    }
    const VolumeIdentity& volume = identity.identity;
    if (catalog::FindFileId(catalog_.Engine(), rules_, local, volume.serial) >= 0) {
        return {-3, "File already exists in database " + Quoted(path)};
    }
    const catalog::TMediaFileRec file{local,         SizeInKilobytes(st), volume.typeCode,
                                      volume.serial, volume.label,        volume.letter};
    if (!inserter_.InsertCatalogRow(file)) {
        return {-4, "Invalid File " + path};
    }
    return {0, ""};
}

}  // namespace sonarchive::cataloguing
