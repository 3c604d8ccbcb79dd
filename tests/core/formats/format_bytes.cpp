#include "format_bytes.h"

#include "formats/byte_order.h"

namespace sonarchive::formats::testing {

std::string Le32(std::uint32_t value) {
    std::string out;
    AppendLE32(out, value);
    return out;
}

std::string Be32(std::uint32_t value) {
    std::string out;
    AppendBE32(out, value);
    return out;
}

std::string Id3v2Tag(std::uint32_t size) {
    std::string tag = "ID3";
    tag += '\x03';
    tag += std::string(2, '\0');
    AppendSyncsafe32(tag, size - 10);
    tag.resize(size, '\0');
    return tag;
}

std::string Id3v1Tag() {
    return "TAG" + std::string(125, '\0');
}

std::string ApeItem(std::string_view key, std::string_view value, std::uint32_t flags) {
    std::string out = Le32(static_cast<std::uint32_t>(value.size())) + Le32(flags);
    return out + std::string(key) + '\0' + std::string(value);
}

std::string ApeFrame(std::uint32_t version, std::size_t itemBytes, std::uint32_t count,
                     std::uint32_t flags) {
    return "APETAGEX" + Le32(version) + Le32(static_cast<std::uint32_t>(itemBytes + 32)) +
           Le32(count) + Le32(flags) + std::string(8, '\0');
}

std::string ApeTag(std::uint32_t version, const std::string& items, std::uint32_t count,
                   bool withHeader) {
    constexpr std::uint32_t kHasHeader = 1u << 31;
    constexpr std::uint32_t kIsHeader = 1u << 29;
    if (!withHeader) {
        return items + ApeFrame(version, items.size(), count, 0);
    }
    return ApeFrame(version, items.size(), count, kHasHeader | kIsHeader) + items +
           ApeFrame(version, items.size(), count, kHasHeader);
}

std::string RiffChunk(std::string_view id, std::string_view body) {
    std::string out = std::string(id) + Le32(static_cast<std::uint32_t>(body.size()));
    out += body;
    if (body.size() % 2 != 0) {
        out += '\0';
    }
    return out;
}

std::string MonkeyOldHeader(std::uint16_t version, std::uint16_t level, std::uint16_t flags,
                            std::uint16_t channels, std::uint32_t rate, std::uint32_t frames,
                            std::uint32_t finalBlocks, const std::string& optional) {
    std::string b = "MAC ";
    AppendLE16(b, version);
    AppendLE16(b, level);
    AppendLE16(b, flags);
    AppendLE16(b, channels);
    return b + Le32(rate) + Le32(44) + Le32(0) + Le32(frames) + Le32(finalBlocks) + optional;
}

std::string MonkeyNewHeader(std::uint16_t version, std::uint32_t descriptorBytes,
                            std::uint16_t bits, std::uint16_t channels, std::uint32_t rate) {
    std::string b = "MAC ";
    AppendLE16(b, version);
    AppendLE16(b, 0);  // padding
    AppendLE32(b, descriptorBytes);
    AppendLE32(b, 24);             // header bytes
    AppendLE32(b, 4 * 37);         // seek table bytes
    AppendLE32(b, 44);             // WAV header bytes
    AppendLE32(b, 123456);         // frame data bytes
    AppendLE32(b, 0);              // frame data bytes, high part
    AppendLE32(b, 2);              // WAV terminating bytes
    b += std::string(16, '\x11');  // MD5
    b.resize(descriptorBytes, '\0');
    AppendLE16(b, 2000);   // compression level: normal
    AppendLE16(b, 0);      // format flags
    AppendLE32(b, 73728);  // blocks per frame
    AppendLE32(b, 5000);   // blocks in the final frame
    AppendLE32(b, 37);     // total frames
    AppendLE16(b, bits);
    AppendLE16(b, channels);
    AppendLE32(b, rate);
    return b;
}

std::string HeaderBits::Bytes() const {
    std::string b(4, '\0');
    b[0] = '\xff';
    b[1] = static_cast<char>(0xE0 | (version << 3) | (layer << 1) | (crc ? 0 : 1));
    b[2] = static_cast<char>((bitRate << 4) | (sampleRate << 2) | (padding ? 2 : 0) |
                             (privateBit ? 1 : 0));
    b[3] = static_cast<char>((mode << 6) | (modeExtension << 4) | (copyright ? 8 : 0) |
                             (original ? 4 : 0) | emphasis);
    return b;
}

std::string Frame(const HeaderBits& header, std::size_t length, std::string_view body) {
    std::string frame = header.Bytes() + std::string(body);
    frame.resize(length, '\x55');
    return frame;
}

std::string Frames(const HeaderBits& header, std::size_t length, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += Frame(header, length);
    }
    return out;
}

}  // namespace sonarchive::formats::testing
