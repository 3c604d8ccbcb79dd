#include "collections/playlist_document.h"

#include <algorithm>
#include <iterator>
#include <set>

#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::collections {
namespace {

const std::set<std::string> kCataloguedExtensions = {".MP3", ".OGG", ".APE", ".MAC"};

// The upper-cased extension with its dot; empty for a name without one (or ending in a dot).
std::string ExtensionOf(std::string_view path) {
    const auto slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == name.size()) {
        return {};
    }
    return text::UpperCase(name.substr(dot));
}

bool IsAbsolute(std::string_view path) {
    return path.starts_with('/');
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

std::vector<bool> SelectionMask(const std::vector<std::size_t>& selected, std::size_t size) {
    std::vector<bool> chosen(size, false);
    for (const std::size_t index : selected) {
        if (index < size) {
            chosen[index] = true;
        }
    }
    return chosen;
}

std::string Joined(const std::string& folder, const std::string& path) {
    return folder.ends_with('/') ? folder + path : folder + "/" + path;
}

}  // namespace

const std::vector<std::string> kPlaylistFileExtensions = {".MP3", ".MP2", ".MP1", ".OGG", ".MID",
                                                          ".WAV", ".WMA", ".APE", ".MAC", ".MPC"};

bool IsPlaylistFileName(std::string_view path) {
    const std::string extension = ExtensionOf(path);
    return extension == ".M3U" || extension == ".M3U8";
}

std::string WriteProblem(const std::string& file) {
    return "There was a problem writing to the file (" + text::PathForDisplay(file) + ") ";
}

std::string CouldNotOpen(const std::string& file) {
    return "Couldn't open file (" + text::PathForDisplay(file) + ")";
}

PlaylistDocument::PlaylistDocument(std::string file) : file_(std::move(file)) {}

bool PlaylistDocument::Open() {
    std::vector<PlaylistEntry> read;
    if (!ReadPlaylist(file_, read, &encoding_)) {
        return false;
    }
    entries_ = std::move(read);
    return true;
}

int PlaylistDocument::Create() {
    entries_.clear();
    encoding_ = PlaylistEncoding::Utf8;
    return Save();
}

int PlaylistDocument::Save() const {
    return WritePlaylist(entries_, file_, encoding_);
}

std::size_t PlaylistDocument::AddPaths(const std::vector<std::string>& paths, Interaction& user,
                                       ExtractChoice extract) {
    const std::size_t before = entries_.size();
    for (const std::string& path : paths) {
        if (path.empty() || path.find_first_of("\r\n") != std::string::npos) {
            continue;
        }
        const std::string extension = ExtensionOf(path);
        if (kCataloguedExtensions.count(extension) != 0) {
            entries_.push_back({path, ExtInfLine(ResolvedPath(path))});
        } else if (IsPlaylistFileName(path)) {
            const bool yes =
                extract == ExtractChoice::Ask
                    ? user.AskYesNo("Extract files in \"" + text::PathForDisplay(path) + "\" ?")
                    : extract == ExtractChoice::Always;
            if (yes) {
                AddExtracted(path, user);
            } else {
                entries_.push_back({path, {}});
            }
        } else if (std::find(kPlaylistFileExtensions.begin(), kPlaylistFileExtensions.end(),
                             extension) != kPlaylistFileExtensions.end()) {
            entries_.push_back({path, {}});
        }
    }
    return entries_.size() - before;
}

void PlaylistDocument::AddExtracted(const std::string& playlist, Interaction& user) {
    std::vector<PlaylistEntry> extracted;
    if (!ReadPlaylist(ResolvedPath(playlist), extracted)) {
        user.ShowError(CouldNotOpen(playlist));
        return;
    }
    // Relative entries name files beside the other playlist, not beside this one.
    const std::string folder = FolderOf(ResolvedPath(playlist));
    for (PlaylistEntry& entry : extracted) {
        if (!IsAbsolute(entry.path)) {
            entry.path = Joined(folder, entry.path);
        }
        entry.infoLine = ExtInfLine(entry.path);
        entries_.push_back(std::move(entry));
    }
}

void PlaylistDocument::InsertEntries(const std::vector<PlaylistEntry>& copies, std::size_t index) {
    const auto at =
        entries_.begin() + static_cast<std::ptrdiff_t>(std::min(index, entries_.size()));
    entries_.insert(at, copies.begin(), copies.end());
}

std::size_t PlaylistDocument::MoveEntries(const std::vector<std::size_t>& selected,
                                          std::size_t target) {
    const std::vector<bool> chosen = SelectionMask(selected, entries_.size());
    std::vector<PlaylistEntry> moving;
    std::vector<PlaylistEntry> staying;
    std::size_t insertAt = 0;  // the staying entries that stand before the target
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (chosen[i]) {
            moving.push_back(std::move(entries_[i]));
        } else {
            staying.push_back(std::move(entries_[i]));
            insertAt += i < target ? 1 : 0;
        }
    }
    staying.insert(staying.begin() + static_cast<std::ptrdiff_t>(insertAt),
                   std::make_move_iterator(moving.begin()), std::make_move_iterator(moving.end()));
    entries_ = std::move(staying);
    return insertAt;
}

void PlaylistDocument::RemoveEntries(const std::vector<std::size_t>& selected) {
    const std::vector<bool> chosen = SelectionMask(selected, entries_.size());
    std::vector<PlaylistEntry> kept;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!chosen[i]) {
            kept.push_back(std::move(entries_[i]));
        }
    }
    entries_ = std::move(kept);
}

void PlaylistDocument::Randomize(std::mt19937& random) {
    std::shuffle(entries_.begin(), entries_.end(), random);
}

std::string PlaylistDocument::ResolvedPath(std::size_t index) const {
    return index < entries_.size() ? ResolvedPath(entries_[index].path) : std::string();
}

std::string PlaylistDocument::ResolvedPath(const std::string& entryPath) const {
    return IsAbsolute(entryPath) ? entryPath : Joined(FolderOf(file_), entryPath);
}

std::optional<std::size_t> PlaylistDocument::FindFrom(const std::string& needle,
                                                      std::size_t from) const {
    const std::string wanted = text::UpperCase(text::PathForDisplay(needle));
    for (std::size_t i = from; i < entries_.size(); ++i) {
        if (text::UpperCase(text::PathForDisplay(entries_[i].path)).find(wanted) !=
            std::string::npos) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace sonarchive::collections
