#include "formats/id3v2_text.h"

#include "text/text.h"

namespace sonarchive::formats::id3v2 {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsUtf16(std::uint8_t encoding) {
    return encoding == kUtf16 || encoding == kUtf16BigEndian;
}

// Offset of the terminator of the string starting at `from`, or npos.
std::size_t FindTerminator(std::string_view bytes, std::size_t from, std::uint8_t encoding) {
    if (!IsUtf16(encoding)) {
        return bytes.find('\0', from);
    }
    for (std::size_t i = from; i + 1 < bytes.size(); i += 2) {
        if (bytes[i] == '\0' && bytes[i + 1] == '\0') {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string DecodeUtf8(std::string_view bytes) {
    std::string utf8 = text::SanitizeUtf8(bytes);
    if (utf8.starts_with(kUtf8ByteOrderMark)) {
        utf8.erase(0, kUtf8ByteOrderMark.size());
    }
    return utf8;
}

}  // namespace

std::size_t SkipString(std::string_view bytes, std::size_t from, std::uint8_t encoding) {
    const std::size_t end = FindTerminator(bytes, from, encoding);
    return end == std::string_view::npos ? bytes.size() : end + Terminator(encoding).size();
}

std::string DecodeString(std::string_view bytes, std::uint8_t encoding) {
    bytes = bytes.substr(0, FindTerminator(bytes, 0, encoding));
    switch (encoding) {
        case kLatin1:
            return text::Latin1ToUtf8(bytes);
        case kUtf16:
            return text::Utf16WithBomToUtf8(bytes, text::ByteOrder::LittleEndian);
        case kUtf16BigEndian:
            return text::Utf16WithBomToUtf8(bytes, text::ByteOrder::BigEndian);
        default:
            return DecodeUtf8(bytes);
    }
}

std::vector<std::string> DecodeStrings(std::string_view bytes, std::uint8_t encoding) {
    std::vector<std::string> strings;
    std::size_t from = 0;
    while (from < bytes.size()) {
        std::string decoded = text::TrimControlAndBlank(DecodeString(bytes.substr(from), encoding));
        if (!decoded.empty()) {
            strings.push_back(std::move(decoded));
        }
        from = SkipString(bytes, from, encoding);
    }
    return strings;
}

std::string JoinStrings(const std::vector<std::string>& strings, std::string_view separator) {
    std::string joined;
    for (std::size_t i = 0; i < strings.size(); ++i) {
        if (i > 0) {
            joined += separator;
        }
        joined += strings[i];
    }
    return joined;
}

std::uint8_t EncodingFor(std::string_view utf8) {
    return text::IsLatin1Representable(utf8) ? kLatin1 : kUtf16;
}

std::string EncodeString(std::string_view utf8, std::uint8_t encoding) {
    if (encoding == kLatin1) {
        return text::Utf8ToLatin1(utf8);
    }
    return "\xFF\xFE" + text::Utf8ToUtf16(utf8, text::ByteOrder::LittleEndian);
}

std::string_view Terminator(std::uint8_t encoding) {
    return IsUtf16(encoding) ? std::string_view("\0\0", 2) : std::string_view("\0", 1);
}

}  // namespace sonarchive::formats::id3v2
