#include "organize/file_transfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "catalog_store/date_time.h"
#include "text/path_bytes.h"

namespace sonarchive::organize {
namespace {

std::string FolderOf(const std::string& systemPath) {
    const auto slash = systemPath.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : systemPath.substr(0, slash);
}

// Makes a rename or a new name in a folder durable.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CopyContents(int in, int out) {
    std::vector<char> buffer(1 << 18);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(got))) {
            return false;
        }
    }
}

bool NoReplaceUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP;
}

bool HardLinksUnsupported(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EMLINK;
}

// The no-replace rename on system paths; answers 0 or an errno.
int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (!NoReplaceUnsupported(errno)) {
        return errno;
    }
    if (::link(from.c_str(), to.c_str()) == 0) {
        if (::unlink(from.c_str()) == 0) {
            return 0;
        }
        const int error = errno;
        ::unlink(to.c_str());
        return error;
    }
    if (!HardLinksUnsupported(errno)) {
        return errno;
    }
    // A filesystem without either (some FAT and network filesystems): the best left is to look
    // first. Only another program creating the same name in between could be overwritten.
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
        return EEXIST;
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Copies through a hidden temporary file beside the target; answers 0 or an errno.
int CopyIntoPlace(const std::string& from, const std::string& to, bool replace) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return errno;
    }
    struct stat source {};
    if (::fstat(in, &source) != 0 || !S_ISREG(source.st_mode)) {
        const int error = S_ISREG(source.st_mode) ? errno : EINVAL;
        ::close(in);
        return error;
    }
    const std::string folder = FolderOf(to);
    std::string temporary = folder + "/.sonarchive-copy-XXXXXX";
    const int out = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return error;
    }
    const timespec times[2] = {source.st_atim, source.st_mtim};
    int error = 0;
    if (!CopyContents(in, out) || ::fchmod(out, source.st_mode & 07777) != 0 ||
        ::futimens(out, times) != 0 || ::fsync(out) != 0) {
        error = errno;
    }
    ::close(in);
    if (::close(out) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0) {
        if (replace) {
            error = ::rename(temporary.c_str(), to.c_str()) == 0 ? 0 : errno;
        } else {
            error = RenameNoReplace(temporary, to);
        }
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    SyncFolder(folder);
    return 0;
}

}  // namespace

TransferResult TransferResult::Failure(int error) {
    return {false, error, std::strerror(error)};
}

std::optional<FileFacts> FactsOf(const std::string& path) {
    struct stat st {};
    if (::lstat(text::PathToSystem(path).c_str(), &st) != 0) {
        return std::nullopt;
    }
    return FileFacts{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                     static_cast<std::uint64_t>(st.st_size),
                     catalog::DateTimeFromUnixTime(st.st_mtime), S_ISDIR(st.st_mode)};
}

bool IsSameFile(const std::string& a, const std::string& b) {
    const auto first = FactsOf(a);
    const auto second = FactsOf(b);
    return first && second && first->device == second->device && first->inode == second->inode;
}

TransferResult RenameWithoutReplacing(const std::string& from, const std::string& to) {
    const int error = RenameNoReplace(text::PathToSystem(from), text::PathToSystem(to));
    return error == 0 ? TransferResult::Success() : TransferResult::Failure(error);
}

TransferResult CopyFile(const std::string& from, const std::string& to, bool replace) {
    const int error = CopyIntoPlace(text::PathToSystem(from), text::PathToSystem(to), replace);
    return error == 0 ? TransferResult::Success() : TransferResult::Failure(error);
}

TransferResult MoveFile(const std::string& from, const std::string& to, bool replace) {
    const std::string source = text::PathToSystem(from);
    const std::string target = text::PathToSystem(to);
    int error = replace ? (::rename(source.c_str(), target.c_str()) == 0 ? 0 : errno)
                        : RenameNoReplace(source, target);
    if (error == 0) {
        // A rename within one filesystem is atomic: after a crash the file has one of its two
        // names, so it needs no flush of its own.
        return TransferResult::Success();
    }
    if (error != EXDEV) {
        return TransferResult::Failure(error);
    }
    error = CopyIntoPlace(source, target, replace);
    if (error != 0) {
        return TransferResult::Failure(error);
    }
    if (::unlink(source.c_str()) != 0) {
        error = errno;
        // The source stays where it was. A copy that replaced nothing is taken back, so the
        // file is not left in two places; one that replaced a file the user gave up stays.
        if (!replace) {
            ::unlink(target.c_str());
        }
        return TransferResult::Failure(error);
    }
    SyncFolder(FolderOf(source));
    return TransferResult::Success();
}

}  // namespace sonarchive::organize
