#include "text/path_bytes.h"

#include "text/text.h"

namespace sonarchive::text {
namespace {

constexpr char32_t kKeptByteBase = 0xEF00;

// Length of the valid UTF-8 sequence starting at `pos`, 0 when the bytes there are not one.
std::size_t ValidSequenceLength(std::string_view s, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (pos + length > s.size() || !IsValidUtf8(s.substr(pos, length))) {
        return 0;
    }
    return length;
}

// The three-byte sequence EE BE 80 .. EE BF BF encodes U+EF80 .. U+EFFF.
bool IsKeptByteSequence(std::string_view s, std::size_t pos) {
    if (pos + 3 > s.size() || static_cast<unsigned char>(s[pos]) != 0xEE) {
        return false;
    }
    const auto second = static_cast<unsigned char>(s[pos + 1]);
    const auto third = static_cast<unsigned char>(s[pos + 2]);
    return (second == 0xBE || second == 0xBF) && third >= 0x80 && third <= 0xBF;
}

unsigned char KeptByteAt(std::string_view s, std::size_t pos) {
    const auto second = static_cast<unsigned char>(s[pos + 1]);
    const auto third = static_cast<unsigned char>(s[pos + 2]);
    return static_cast<unsigned char>(0x80 | ((second & 0x01) << 6) | (third & 0x3F));
}

void AppendKeptByte(std::string& out, unsigned char byte) {
    AppendUtf8(out, kKeptByteBase + byte);
}

template <typename OnKeptByte>
std::string MapKeptBytes(std::string_view path, OnKeptByte&& onKeptByte) {
    std::string out;
    out.reserve(path.size());
    std::size_t pos = 0;
    while (pos < path.size()) {
        if (IsKeptByteSequence(path, pos)) {
            onKeptByte(out, KeptByteAt(path, pos));
            pos += 3;
        } else {
            out += path[pos++];
        }
    }
    return out;
}

}  // namespace

std::string PathFromSystem(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t length = ValidSequenceLength(bytes, pos);
        if (length == 0 || IsKeptByteSequence(bytes, pos)) {
            // An invalid byte, or a character that would read back as kept bytes: keep each
            // of its bytes on its own.
            const std::size_t count = length == 0 ? 1 : length;
            for (std::size_t i = 0; i < count; ++i) {
                AppendKeptByte(out, static_cast<unsigned char>(bytes[pos + i]));
            }
            pos += count;
        } else {
            out.append(bytes.substr(pos, length));
            pos += length;
        }
    }
    return out;
}

std::string PathToSystem(std::string_view path) {
    return MapKeptBytes(
        path, [](std::string& out, unsigned char byte) { out += static_cast<char>(byte); });
}

std::string PathForDisplay(std::string_view path) {
    return MapKeptBytes(path, [](std::string& out, unsigned char byte) { AppendUtf8(out, byte); });
}

bool HasKeptBytes(std::string_view path) {
    for (std::size_t pos = 0; pos + 3 <= path.size(); ++pos) {
        if (IsKeptByteSequence(path, pos)) {
            return true;
        }
    }
    return false;
}

}  // namespace sonarchive::text
