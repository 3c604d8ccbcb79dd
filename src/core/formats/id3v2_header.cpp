#include "formats/id3v2_header.h"

#include "formats/byte_order.h"

namespace sonarchive::formats {
namespace id3v2 {

std::optional<TagHeader> ParseHeader(std::string_view bytes) {
    if (bytes.size() < kHeaderSize || !bytes.starts_with("ID3")) {
        return std::nullopt;
    }
    TagHeader header;
    header.version = static_cast<std::uint8_t>(ByteAt(bytes, 3));
    header.revision = static_cast<std::uint8_t>(ByteAt(bytes, 4));
    header.flags = static_cast<std::uint8_t>(ByteAt(bytes, 5));
    // The bytes are deliberately not masked to 7 bits: writers that stored a plain size in a
    // small tag are still read right, and a wrong value only ever grows past the file size.
    header.bodySize = (ByteAt(bytes, 6) << 21) + (ByteAt(bytes, 7) << 14) +
                      (ByteAt(bytes, 8) << 7) + ByteAt(bytes, 9);
    return header;
}

}  // namespace id3v2

std::uint64_t Id3v2TagSizeAt(const InputFile& file) {
    const auto bytes = file.ReadAt(0, id3v2::kHeaderSize);
    const auto header = bytes ? id3v2::ParseHeader(*bytes) : std::nullopt;
    if (!header) {
        return 0;
    }
    const std::uint64_t size = header->TotalSize();
    return size > file.Size() ? 0 : size;
}

}  // namespace sonarchive::formats
