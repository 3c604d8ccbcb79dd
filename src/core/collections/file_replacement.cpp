#include "collections/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include "text/path_bytes.h"

namespace sonarchive::collections {
namespace {

constexpr std::size_t kFlushSize = 1 << 16;

// Where a link finally points; the path itself when it is no link or cannot be resolved.
std::string FollowLinks(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

FileReplacement::FileReplacement(const std::string& target)
    : target_(FollowLinks(text::PathToSystem(target))) {
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    std::random_device seed;
    std::mt19937 random(seed());
    const std::string stem = FolderOf(target_) + "/." + NameOf(target_) + ".";
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporary_ = stem + std::to_string(random() % 1000000) + "~";
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        error_ = errno;
        temporary_.clear();
        return;
    }
    if (exists) {
        ::fchmod(fd_, old.st_mode & 07777);
        [[maybe_unused]] const int owned = ::fchown(fd_, old.st_uid, old.st_gid);
    }
}

FileReplacement::~FileReplacement() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!committed_ && !temporary_.empty()) {
        ::unlink(temporary_.c_str());
    }
}

bool FileReplacement::Write(std::string_view bytes) {
    if (error_ != 0) {
        return false;
    }
    buffer_.append(bytes);
    return buffer_.size() < kFlushSize || Flush();
}

bool FileReplacement::Flush() {
    std::size_t done = 0;
    while (error_ == 0 && done < buffer_.size()) {
        const ssize_t written = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            error_ = written < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    buffer_.clear();
    return error_ == 0;
}

int FileReplacement::Commit() {
    if (error_ == 0 && !Flush()) {
        return error_;
    }
    if (error_ == 0 && ::fsync(fd_) != 0) {
        error_ = errno;
    }
    if (fd_ >= 0 && ::close(fd_) != 0 && error_ == 0) {
        error_ = errno;
    }
    fd_ = -1;
    if (error_ == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error_ = errno;
    }
    committed_ = error_ == 0;
    return error_;
}

int ReplaceFileContent(const std::string& target, std::string_view content) {
    FileReplacement replacement(target);
    replacement.Write(content);
    return replacement.Commit();
}

}  // namespace sonarchive::collections
