// A read-only passthrough filesystem that answers every open and every read only after a
// delay, without page cache: a stand-in for a network share or a slow USB stick.
//
//   slow_fuse SOURCE MOUNTPOINT MILLISECONDS
//
// It runs in the foreground until the mount point is unmounted (fusermount3 -u) or it gets
// SIGTERM. Requests are served by up to 32 threads, so reads in flight wait side by side.
#define FUSE_USE_VERSION 312
#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

constexpr unsigned kServerThreads = 32;

struct SlowSource {
    std::string root;
    std::chrono::milliseconds delay;
};

const SlowSource& Source() {
    return *static_cast<const SlowSource*>(fuse_get_context()->private_data);
}

std::string SourcePath(const char* path) {
    return Source().root + path;
}

void Wait() {
    std::this_thread::sleep_for(Source().delay);
}

void* Init(fuse_conn_info*, fuse_config* config) {
    config->use_ino = 1;  // the catalog tells files apart by their inode numbers
    config->direct_io = 1;
    config->kernel_cache = 0;
    return fuse_get_context()->private_data;
}

int GetAttributes(const char* path, struct stat* attributes, fuse_file_info*) {
    return ::lstat(SourcePath(path).c_str(), attributes) == 0 ? 0 : -errno;
}

int ReadLink(const char* path, char* buffer, std::size_t size) {
    const ssize_t length = ::readlink(SourcePath(path).c_str(), buffer, size - 1);
    if (length < 0) {
        return -errno;
    }
    buffer[length] = '\0';
    return 0;
}

int ReadDirectory(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
                  fuse_readdir_flags) {
    DIR* directory = ::opendir(SourcePath(path).c_str());
    if (directory == nullptr) {
        return -errno;
    }
    while (const dirent* entry = ::readdir(directory)) {
        struct stat attributes {};
        attributes.st_ino = entry->d_ino;
        attributes.st_mode = static_cast<mode_t>(DTTOIF(entry->d_type));
        if (fill(buffer, entry->d_name, &attributes, 0, static_cast<fuse_fill_dir_flags>(0)) != 0) {
            break;
        }
    }
    ::closedir(directory);
    return 0;
}

int Open(const char* path, fuse_file_info* file) {
    if ((file->flags & O_ACCMODE) != O_RDONLY) {
        return -EROFS;
    }
    Wait();
    const int fd = ::open(SourcePath(path).c_str(), O_RDONLY);
    if (fd < 0) {
        return -errno;
    }
    file->fh = static_cast<std::uint64_t>(fd);
    file->direct_io = 1;
    return 0;
}

int Read(const char*, char* buffer, std::size_t size, off_t offset, fuse_file_info* file) {
    Wait();
    const ssize_t count = ::pread(static_cast<int>(file->fh), buffer, size, offset);
    return count < 0 ? -errno : static_cast<int>(count);
}

int Release(const char*, fuse_file_info* file) {
    ::close(static_cast<int>(file->fh));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: slow_fuse SOURCE MOUNTPOINT MILLISECONDS\n");
        return 2;
    }
    SlowSource source{argv[1], std::chrono::milliseconds(std::stoi(argv[3]))};
    fuse_operations operations{};
    operations.init = Init;
    operations.getattr = GetAttributes;
    operations.readlink = ReadLink;
    operations.readdir = ReadDirectory;
    operations.open = Open;
    operations.read = Read;
    operations.release = Release;
    fuse_args arguments = FUSE_ARGS_INIT(0, nullptr);
    for (const char* argument : {"slow_fuse", "-o", "ro,fsname=sonarchive-slow"}) {
        fuse_opt_add_arg(&arguments, argument);
    }
    fuse* filesystem = fuse_new(&arguments, &operations, sizeof(operations), &source);
    fuse_opt_free_args(&arguments);
    if (filesystem == nullptr || fuse_mount(filesystem, argv[2]) != 0) {
        return 1;
    }
    fuse_set_signal_handlers(fuse_get_session(filesystem));
    // Enough threads that the largest reader pool never waits for a free one.
    fuse_loop_config* loop = fuse_loop_cfg_create();
    fuse_loop_cfg_set_max_threads(loop, kServerThreads);
    const int result = fuse_loop_mt(filesystem, loop);
    fuse_loop_cfg_destroy(loop);
    fuse_remove_signal_handlers(fuse_get_session(filesystem));
    fuse_unmount(filesystem);
    fuse_destroy(filesystem);
    return result == 0 ? 0 : 1;
}
