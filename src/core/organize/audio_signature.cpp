#include "organize/audio_signature.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>

#include "formats/id3v2_header.h"
#include "formats/ogg_page.h"
#include "text/path_bytes.h"

namespace sonarchive::organize {
namespace {

// Header pages a Vorbis stream may plausibly have before its audio.
constexpr int kMaxHeaderPages = 512;

class OpenFile {
public:
    explicit OpenFile(const std::string& path)
        : fd_(::open(text::PathToSystem(path).c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat st {};
        if (fd_ >= 0 && ::fstat(fd_, &st) == 0) {
            size_ = static_cast<std::uint64_t>(st.st_size);
        }
    }
    ~OpenFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    std::uint64_t Size() const { return size_; }

    // Up to `count` bytes at `offset`; fewer at the end of the file or on a read error.
    std::string Read(std::uint64_t offset, std::size_t count) const {
        std::string bytes(count, '\0');
        std::size_t got = 0;
        while (got < count) {
            const ssize_t n =
                ::pread(fd_, bytes.data() + got, count - got, static_cast<off_t>(offset + got));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        return bytes;
    }

private:
    int fd_;
    std::uint64_t size_ = 0;
};

std::uint64_t AfterId3v2Tag(const OpenFile& file) {
    const auto header = formats::id3v2::ParseHeader(file.Read(0, formats::id3v2::kHeaderSize));
    return header && header->TotalSize() <= file.Size() ? header->TotalSize() : 0;
}

// Header packets end on pages whose granule position is 0; the first audio page follows them.
std::uint64_t AfterOggHeaderPages(const OpenFile& file, std::uint64_t offset) {
    for (int page = 0; page < kMaxHeaderPages; ++page) {
        const std::string head =
            file.Read(offset, formats::kOggPageHeaderSize + formats::kOggMaxSegments);
        const std::optional<formats::OggPageHeader> header =
            formats::ParseOggPageHeader(head, offset);
        if (!header || header->granulePosition != 0 || header->End() > file.Size()) {
            break;
        }
        offset = header->End();
    }
    return offset;
}

}  // namespace

std::string ReadSignature(const std::string& path) {
    const OpenFile file(path);
    if (!file.IsOpen()) {
        return {};
    }
    std::uint64_t start = AfterId3v2Tag(file);
    if (file.Read(start, 4) == "OggS") {
        start = AfterOggHeaderPages(file, start);
    }
    std::string signature = file.Read(start, kSignatureLength);
    std::replace(signature.begin(), signature.end(), '\0', ' ');
    return signature;
}

}  // namespace sonarchive::organize
