// Audio files built byte by byte for the tag editing tests, and a way to tell that a file was
// left exactly as it was.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <string>

#include "format_bytes.h"
#include "support/test_support.h"

namespace sonarchive::tags::testing {

// 40 frames of MPEG 1 Layer III: enough for the stream analysis to accept the file.
inline std::string MpegAudio() {
    return formats::testing::Frames(formats::testing::HeaderBits{}, 417, 40);
}

// The bytes of a file and its modification time, set into the past first so that any write
// would show.
struct FileState {
    std::string bytes;
    timespec modified{};

    bool operator==(const FileState& other) const {
        return bytes == other.bytes && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

inline FileState Snapshot(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return {sonarchive::testing::ReadBytes(path), st.st_mtim};
}

inline FileState AgedSnapshot(const std::string& path) {
    const timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), past, 0);
    return Snapshot(path);
}

}  // namespace sonarchive::tags::testing
