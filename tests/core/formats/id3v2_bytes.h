// ID3v2 tags built byte by byte for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formats/byte_order.h"

namespace sonarchive::testing::id3v2 {

using formats::AppendBE16;
using formats::AppendBE32;
using formats::AppendSyncsafe32;

// Stand-in audio: an MPEG frame sync and bytes of every value, so that a shifted or damaged
// copy shows.
inline std::string Audio() {
    std::string audio = "\xFF\xFB\x90\x64";
    for (int i = 0; i < 600; ++i) {
        audio += static_cast<char>(i * 7);
    }
    return audio;
}

// The content of a text frame: encoding byte and bytes.
inline std::string Text(std::string_view bytes, char encoding = '\0') {
    return encoding + std::string(bytes);
}

inline std::string Frame22(std::string_view id, std::string_view content) {
    std::string frame(id);
    frame += static_cast<char>((content.size() >> 16) & 0xFF);
    AppendBE16(frame, static_cast<std::uint32_t>(content.size() & 0xFFFF));
    return frame + std::string(content);
}

inline std::string Frame23(std::string_view id, std::string_view content, std::uint16_t flags = 0) {
    std::string frame(id);
    AppendBE32(frame, static_cast<std::uint32_t>(content.size()));
    AppendBE16(frame, flags);
    return frame + std::string(content);
}

inline std::string Frame24(std::string_view id, std::string_view content, std::uint16_t flags = 0) {
    std::string frame(id);
    AppendSyncsafe32(frame, static_cast<std::uint32_t>(content.size()));
    AppendBE16(frame, flags);
    return frame + std::string(content);
}

// A tag: header of `version` with `flags`, the body, and `padding` zero bytes.
inline std::string Tag(std::uint8_t version, std::string_view body, std::size_t padding = 0,
                       std::uint8_t flags = 0) {
    std::string tag = "ID3";
    tag += static_cast<char>(version);
    tag += '\0';
    tag += static_cast<char>(flags);
    AppendSyncsafe32(tag, static_cast<std::uint32_t>(body.size() + padding));
    return tag + std::string(body) + std::string(padding, '\0');
}

// The unsynchronisation scheme: a zero byte after every 0xFF that is followed by a byte of
// 0xE0 or more or by zero, and after a final 0xFF.
inline std::string Unsynchronise(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        const bool ff = static_cast<unsigned char>(bytes[i]) == 0xFF;
        const bool needs = i + 1 == bytes.size() ||
                           static_cast<unsigned char>(bytes[i + 1]) >= 0xE0 || bytes[i + 1] == '\0';
        if (ff && needs) {
            out += '\0';
        }
    }
    return out;
}

}  // namespace sonarchive::testing::id3v2
