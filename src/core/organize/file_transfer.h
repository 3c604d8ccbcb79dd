// Renaming, copying and moving the user's files without ever losing one.
//
// Nothing is replaced unless the caller says so: renames that must not replace use the
// kernel's no-replace rename (link + unlink where a filesystem lacks it). A copy, and a move
// to another filesystem, is written to a hidden temporary file in the target folder, made
// durable, and only then renamed into place; a move removes its source only after that. A
// failure at any point leaves the source and an existing target byte for byte as they were;
// a crash leaves the file in one place or in both. Copies keep modification time and mode.
//
// Paths are in the program's form (text::PathFromSystem); they go to the system through
// text::PathToSystem here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sonarchive::organize {

struct TransferResult {
    bool ok = false;
    int error = 0;       // errno of the step that failed
    std::string reason;  // the system's words for it

    static TransferResult Success() { return {true, 0, {}}; }
    static TransferResult Failure(int error);
};

// What the system knows of a file, looked up without following a last symbolic link.
struct FileFacts {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    double modified = 0;  // days since 1899-12-30, local time
    bool isDirectory = false;
};
std::optional<FileFacts> FactsOf(const std::string& path);

// True when both names lead to the same file (same device and inode).
bool IsSameFile(const std::string& a, const std::string& b);

// Renames; fails with EEXIST when `to` exists.
TransferResult RenameWithoutReplacing(const std::string& from, const std::string& to);

// Copies `from` to `to`; an existing `to` is replaced only when `replace` is set.
TransferResult CopyFile(const std::string& from, const std::string& to, bool replace);

// Moves `from` to `to`, copying across filesystems; an existing `to` is replaced only when
// `replace` is set.
TransferResult MoveFile(const std::string& from, const std::string& to, bool replace);

}  // namespace sonarchive::organize
