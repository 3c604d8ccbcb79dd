// File access for the tag and stream readers and writers.
//
// Readers open a file for one operation and read ranges with positioned reads; every range is
// checked against the file size before anything is allocated, so a hostile length field can
// never make a reader allocate more than the file holds.
//
// Writers never leave a half-written file behind: a change that alters the length in front of
// the audio is produced in a temporary file named after the original with "~" appended, made
// durable, and only then renamed over the original in one step. Until that rename the original
// is untouched; if anything fails, the temporary file is removed and the original stays as it
// was. The temporary file is created exclusively: a file of that name that is already there (an
// editor's backup) is never touched; the rewrite takes "~1", "~2" ... instead.
//
// Paths are in the program's form (text/path_bytes.h) and turned into the system's bytes here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sonarchive::formats {

class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    std::uint64_t Size() const { return size_; }

    // Exactly `count` bytes at `offset`; nothing when the range is not wholly inside the file
    // or the read fails.
    std::optional<std::string> ReadAt(std::uint64_t offset, std::size_t count) const;

    // Up to `count` bytes at `offset`, fewer at the end of the file; empty on failure.
    std::string ReadUpTo(std::uint64_t offset, std::size_t count) const;

    // Up to `count` bytes at `offset`, fewer at the end of the file (none at or past it);
    // nothing only on an I/O error, so a short result is told apart from a failed read.
    std::optional<std::string> ReadAvailable(std::uint64_t offset, std::size_t count) const;

    int Descriptor() const { return fd_; }

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The temporary file being produced by RewriteFile.
class OutputFile {
public:
    explicit OutputFile(int fd) : fd_(fd) {}

    bool Write(std::string_view bytes);
    // Copies `count` bytes of `source` starting at `offset`; false when they are not there.
    bool CopyFrom(const InputFile& source, std::uint64_t offset, std::uint64_t count);
    // Copies everything of `source` from `offset` to its end.
    bool CopyRest(const InputFile& source, std::uint64_t offset);
    std::uint64_t BytesWritten() const { return written_; }

private:
    int fd_;
    std::uint64_t written_ = 0;
};

// The whole content of a file whose size the system does not tell beforehand (/proc, /sys),
// read from its start; nothing when the read fails or the content is longer than `limit` bytes.
std::optional<std::string> ReadWholeFile(int fd, std::size_t limit);
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit);

// The Linux form of "reset the attributes to normal": gives the owner write permission when
// the file lacks it. False when the file does not exist or stays unwritable.
bool MakeWritableForOwner(const std::string& path);

// Overwrites bytes of an existing file in place (the file keeps its length unless the bytes
// reach past its end). Makes the file writable first. The change is left to the system to
// flush: no byte around it is ever at risk, so a crash can at most lose the change itself.
bool OverwriteAt(const std::string& path, std::uint64_t offset, std::string_view bytes);

// Cuts the file to `size` bytes. Makes the file writable first.
bool TruncateFile(const std::string& path, std::uint64_t size);

// Appends bytes at the end of the file. Makes the file writable first.
bool AppendToFile(const std::string& path, std::string_view bytes);

// Produces a new version of `path` through the temporary file path + "~", or "~1", "~2" ...
// when that name is taken (see the file comment). `produce` reads the original and writes the
// complete new content; returning false abandons the rewrite. The new file keeps the original's
// permission bits (and owner, where the process may set it). A symbolic link is followed: its
// target is rewritten.
bool RewriteFile(const std::string& path,
                 const std::function<bool(const InputFile& original, OutputFile& out)>& produce);

}  // namespace sonarchive::formats
