// Texts inside ID3v2 frames: the encoding byte that opens a text-bearing frame, terminated
// strings and lists of strings (ID3v2.4.0 structure document, section 4).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sonarchive::formats::id3v2 {

inline constexpr std::uint8_t kLatin1 = 0;
inline constexpr std::uint8_t kUtf16 = 1;           // with byte-order mark
inline constexpr std::uint8_t kUtf16BigEndian = 2;  // version 2.4 only
inline constexpr std::uint8_t kUtf8 = 3;            // version 2.4 only

inline bool IsKnownEncoding(std::uint8_t encoding) {
    return encoding <= kUtf8;
}

// Offset just past the terminated string that starts at `from`; the terminator (one zero byte,
// or two on a code-unit boundary for UTF-16) is searched from `from` on. Without a terminator,
// the end of `bytes`.
std::size_t SkipString(std::string_view bytes, std::size_t from, std::uint8_t encoding);

// One string, up to its terminator, as UTF-8 without byte-order mark. A UTF-16 string honours
// its byte-order mark; without one it is taken in the encoding's default order.
std::string DecodeString(std::string_view bytes, std::uint8_t encoding);

// The strings of a list of terminated strings, each without leading and trailing characters
// of codes 0 to 32; empty ones are left out.
std::vector<std::string> DecodeStrings(std::string_view bytes, std::uint8_t encoding);

// What stands between the values of a version 2.4 text frame that lists several, both where
// the field is read and where the frame is brought into the version 2.3 form (which holds one
// string): a field read from either form is the same text, so a write that leaves the field
// alone leaves its frame alone.
inline constexpr std::string_view kValueSeparator = " / ";

// The strings with `separator` between them.
std::string JoinStrings(const std::vector<std::string>& strings, std::string_view separator);

// The encoding a written text needs: ISO-8859-1 when it can hold every character, else UTF-16.
std::uint8_t EncodingFor(std::string_view utf8);

// A UTF-8 text in ISO-8859-1 or UTF-16 (little-endian, with byte-order mark); no terminator.
std::string EncodeString(std::string_view utf8, std::uint8_t encoding);

// The terminator of a string in `encoding`.
std::string_view Terminator(std::uint8_t encoding);

}  // namespace sonarchive::formats::id3v2
