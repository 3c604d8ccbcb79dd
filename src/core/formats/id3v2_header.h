// The 10-byte header that opens an ID3v2 tag (ID3v2.4.0 structure document, section 3.1; the
// 2.2 and 2.3 documents use the same layout with other flags).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "formats/file_access.h"

namespace sonarchive::formats {
namespace id3v2 {

inline constexpr std::size_t kHeaderSize = 10;
inline constexpr std::size_t kFooterSize = 10;

struct TagHeader {
    std::uint8_t version = 0;
    std::uint8_t revision = 0;
    std::uint8_t flags = 0;
    // The size field: the bytes after the header, footer excluded.
    std::uint32_t bodySize = 0;

    bool Unsynchronised() const { return (flags & 0x80) != 0; }
    // Version 2.2 used this bit for compression, whose scheme was never defined.
    bool Compressed() const { return version == 2 && (flags & 0x40) != 0; }
    bool HasExtendedHeader() const { return version >= 3 && (flags & 0x40) != 0; }
    bool HasFooter() const { return version >= 4 && (flags & 0x10) != 0; }
    bool HasReadableFrames() const { return version >= 2 && version <= 4 && !Compressed(); }
    // Header, body and footer.
    std::uint64_t TotalSize() const {
        return kHeaderSize + bodySize + (HasFooter() ? kFooterSize : 0);
    }
};

// The header in the first 10 bytes, or nothing when they do not begin with "ID3".
std::optional<TagHeader> ParseHeader(std::string_view bytes);

}  // namespace id3v2

// Bytes taken by the ID3v2 tag at offset 0 of `file`, from its header alone: what every reader
// of a stream behind such a tag (Ogg, MPEG audio, Monkey's Audio) needs to find the stream.
// 0 when the file does not begin with "ID3" or the tag would be larger than the file.
std::uint64_t Id3v2TagSizeAt(const InputFile& file);

}  // namespace sonarchive::formats
