#include "formats/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "text/path_bytes.h"

namespace sonarchive::formats {
namespace {

constexpr std::size_t kCopyBufferSize = 256 * 1024;
// FILE~, FILE~1 ... FILE~999: names taken by that many other files mean something is wrong.
constexpr int kTemporaryNameTries = 1000;

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool PreadAll(int fd, char* data, std::size_t size, std::uint64_t offset) {
    while (size > 0) {
        const ssize_t n = ::pread(fd, data, size, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

// The file a rewrite must replace: the target of a symbolic link, else the path itself.
std::string ResolveLinks(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    return path;
}

void SyncParentDirectory(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives the owner write permission when the file lacks it; `systemPath` is in the system's
// bytes.
bool MakeSystemPathWritable(const std::string& systemPath) {
    struct stat st {};
    if (::stat(systemPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    if ((st.st_mode & S_IWUSR) == 0 &&
        ::chmod(systemPath.c_str(), (st.st_mode & 07777) | S_IWUSR) != 0) {
        return false;
    }
    return ::access(systemPath.c_str(), W_OK) == 0;
}

// Opens an existing file for writing after making it writable; -1 on failure.
int OpenForWriting(const std::string& path, int extraFlags) {
    const std::string systemPath = text::PathToSystem(path);
    if (!MakeSystemPathWritable(systemPath)) {
        return -1;
    }
    return ::open(systemPath.c_str(), O_WRONLY | O_CLOEXEC | extraFlags);
}

// Creates the temporary file of a rewrite of `target` exclusively: target + "~", or with a
// number after the "~" when that name is taken by anything at all (an editor's backup, a
// folder), so that nothing which exists is ever replaced or removed. -1 on failure.
int CreateTemporaryFor(const std::string& target, std::string& temporary) {
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        temporary = target + "~" + (attempt == 0 ? std::string() : std::to_string(attempt));
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

InputFile::InputFile(const std::string& path) {
    fd_ = ::open(text::PathToSystem(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        return;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
}

InputFile::~InputFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::optional<std::string> InputFile::ReadAt(std::uint64_t offset, std::size_t count) const {
    if (fd_ < 0 || offset > size_ || count > size_ - offset) {
        return std::nullopt;
    }
    std::string bytes(count, '\0');
    if (!PreadAll(fd_, bytes.data(), count, offset)) {
        return std::nullopt;
    }
    return bytes;
}

std::string InputFile::ReadUpTo(std::uint64_t offset, std::size_t count) const {
    if (fd_ < 0 || offset >= size_) {
        return {};
    }
    const std::uint64_t available = size_ - offset;
    const auto length = static_cast<std::size_t>(count < available ? count : available);
    return ReadAt(offset, length).value_or(std::string());
}

std::optional<std::string> InputFile::ReadAvailable(std::uint64_t offset, std::size_t count) const {
    if (offset >= size_) {
        return fd_ >= 0 ? std::optional<std::string>(std::string()) : std::nullopt;
    }
    const std::uint64_t available = size_ - offset;
    return ReadAt(offset, static_cast<std::size_t>(count < available ? count : available));
}

bool OutputFile::Write(std::string_view bytes) {
    if (!WriteAll(fd_, bytes.data(), bytes.size())) {
        return false;
    }
    written_ += bytes.size();
    return true;
}

bool OutputFile::CopyFrom(const InputFile& source, std::uint64_t offset, std::uint64_t count) {
    if (!source.IsOpen() || offset > source.Size() || count > source.Size() - offset) {
        return false;
    }
    std::vector<char> buffer(kCopyBufferSize);
    while (count > 0) {
        const std::size_t chunk =
            count < buffer.size() ? static_cast<std::size_t>(count) : buffer.size();
        if (!PreadAll(source.Descriptor(), buffer.data(), chunk, offset) ||
            !WriteAll(fd_, buffer.data(), chunk)) {
            return false;
        }
        offset += chunk;
        count -= chunk;
        written_ += chunk;
    }
    return true;
}

bool OutputFile::CopyRest(const InputFile& source, std::uint64_t offset) {
    if (offset > source.Size()) {
        return false;
    }
    return CopyFrom(source, offset, source.Size() - offset);
}

std::optional<std::string> ReadWholeFile(int fd, std::size_t limit) {
    constexpr std::size_t kChunk = 64 * 1024;
    std::string content;
    while (true) {
        const std::size_t start = content.size();
        content.resize(start + kChunk);
        const ssize_t n = ::pread(fd, content.data() + start, kChunk, static_cast<off_t>(start));
        if (n < 0 && errno == EINTR) {
            content.resize(start);
            continue;
        }
        if (n < 0) {
            return std::nullopt;
        }
        content.resize(start + static_cast<std::size_t>(n));
        if (content.size() > limit) {
            return std::nullopt;
        }
        if (n == 0) {
            return content;
        }
    }
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit) {
    const int fd = ::open(text::PathToSystem(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    auto content = ReadWholeFile(fd, limit);
    ::close(fd);
    return content;
}

bool MakeWritableForOwner(const std::string& path) {
    return MakeSystemPathWritable(text::PathToSystem(path));
}

bool OverwriteAt(const std::string& path, std::uint64_t offset, std::string_view bytes) {
    const int fd = OpenForWriting(path, 0);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0 &&
                    WriteAll(fd, bytes.data(), bytes.size());
    return ::close(fd) == 0 && ok;
}

bool TruncateFile(const std::string& path, std::uint64_t size) {
    const int fd = OpenForWriting(path, 0);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    return ::close(fd) == 0 && ok;
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
    const int fd = OpenForWriting(path, O_APPEND);
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, bytes.data(), bytes.size());
    ok = ::fsync(fd) == 0 && ok;
    return ::close(fd) == 0 && ok;
}

bool RewriteFile(const std::string& path,
                 const std::function<bool(const InputFile& original, OutputFile& out)>& produce) {
    const std::string target = ResolveLinks(text::PathToSystem(path));
    if (!MakeSystemPathWritable(target)) {
        return false;
    }
    struct stat original {};
    if (::stat(target.c_str(), &original) != 0) {
        return false;
    }
    std::string temporary;
    const int fd = CreateTemporaryFor(target, temporary);
    if (fd < 0) {
        return false;
    }
    bool ok = false;
    {
        InputFile source(text::PathFromSystem(target));
        OutputFile out(fd);
        ok = source.IsOpen() && produce(source, out);
    }
    ok = ok && ::fchmod(fd, original.st_mode & 07777) == 0;
    if (ok && ::geteuid() == 0) {
        ok = ::fchown(fd, original.st_uid, original.st_gid) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());  // made by this rewrite, exclusively
        return false;
    }
    SyncParentDirectory(target);
    return true;
}

}  // namespace sonarchive::formats
