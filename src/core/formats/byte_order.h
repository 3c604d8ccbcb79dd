// Fixed-width integers in the byte orders that audio containers use. Callers check that the
// bytes exist before calling these; the functions themselves do not bounds-check.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sonarchive::formats {

inline std::uint32_t ByteAt(std::string_view b, std::size_t i) {
    return static_cast<unsigned char>(b[i]);
}

inline std::uint16_t ReadLE16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(ByteAt(b, at) | (ByteAt(b, at + 1) << 8));
}

inline std::uint32_t ReadLE32(std::string_view b, std::size_t at) {
    return ByteAt(b, at) | (ByteAt(b, at + 1) << 8) | (ByteAt(b, at + 2) << 16) |
           (ByteAt(b, at + 3) << 24);
}

inline std::uint64_t ReadLE64(std::string_view b, std::size_t at) {
    return static_cast<std::uint64_t>(ReadLE32(b, at)) |
           (static_cast<std::uint64_t>(ReadLE32(b, at + 4)) << 32);
}

inline std::uint16_t ReadBE16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>((ByteAt(b, at) << 8) | ByteAt(b, at + 1));
}

inline std::uint32_t ReadBE24(std::string_view b, std::size_t at) {
    return (ByteAt(b, at) << 16) | (ByteAt(b, at + 1) << 8) | ByteAt(b, at + 2);
}

inline std::uint32_t ReadBE32(std::string_view b, std::size_t at) {
    return (ByteAt(b, at) << 24) | (ByteAt(b, at + 1) << 16) | (ByteAt(b, at + 2) << 8) |
           ByteAt(b, at + 3);
}

// A 28-bit "syncsafe" integer: four bytes of which only the low 7 bits count.
inline std::uint32_t ReadSyncsafe32(std::string_view b, std::size_t at) {
    return ((ByteAt(b, at) & 0x7F) << 21) | ((ByteAt(b, at + 1) & 0x7F) << 14) |
           ((ByteAt(b, at + 2) & 0x7F) << 7) | (ByteAt(b, at + 3) & 0x7F);
}

inline void AppendLE16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

inline void AppendLE32(std::string& out, std::uint32_t v) {
    AppendLE16(out, v & 0xFFFF);
    AppendLE16(out, v >> 16);
}

inline void AppendBE16(std::string& out, std::uint32_t v) {
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v & 0xFF);
}

inline void AppendBE32(std::string& out, std::uint32_t v) {
    out += static_cast<char>((v >> 24) & 0xFF);
    out += static_cast<char>((v >> 16) & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v & 0xFF);
}

inline void AppendSyncsafe32(std::string& out, std::uint32_t v) {
    out += static_cast<char>((v >> 21) & 0x7F);
    out += static_cast<char>((v >> 14) & 0x7F);
    out += static_cast<char>((v >> 7) & 0x7F);
    out += static_cast<char>(v & 0x7F);
}

}  // namespace sonarchive::formats
