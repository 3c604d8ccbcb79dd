// Text conversions shared by the whole program.
//
// Every text inside the program is a std::string holding UTF-8. Bytes that come from disk in
// another encoding are converted here and nowhere else. Widths and cuts count Unicode code
// points, never bytes. Case mapping uses ICU's full Unicode mapping with the root locale so
// that the results do not depend on the user's locale (the SQL functions built on it back
// indexes and must stay deterministic).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sonarchive::text {

// ISO-8859-1 bytes to UTF-8; every byte is a character, so this cannot fail.
std::string Latin1ToUtf8(std::string_view latin1);

// UTF-8 to ISO-8859-1. A character that ISO-8859-1 cannot hold becomes `replacement`.
// Invalid UTF-8 bytes are decoded as U+FFFD first and therefore also become `replacement`.
std::string Utf8ToLatin1(std::string_view utf8, char replacement = '?');

// True when every character of the (valid or repaired) UTF-8 text fits ISO-8859-1.
bool IsLatin1Representable(std::string_view utf8);

enum class ByteOrder { LittleEndian, BigEndian };

// UTF-16 code units, two bytes each in `order`, to UTF-8. An odd trailing byte is ignored;
// unpaired surrogates become U+FFFD. No byte-order mark is interpreted here.
std::string Utf16ToUtf8(std::string_view bytes, ByteOrder order);

// UTF-16 with an optional byte-order mark (FF FE little-endian, FE FF big-endian). Without a
// mark the text is taken as `fallback` order.
std::string Utf16WithBomToUtf8(std::string_view bytes,
                               ByteOrder fallback = ByteOrder::LittleEndian);

// UTF-8 to UTF-16 code units in `order`, without byte-order mark or terminator.
std::string Utf8ToUtf16(std::string_view utf8, ByteOrder order);

// Repairs bytes that claim to be UTF-8: every invalid or truncated sequence becomes U+FFFD.
// Never throws; the result is always valid UTF-8.
std::string SanitizeUtf8(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

// Number of code points of a UTF-8 text (invalid bytes count one each).
std::size_t CodePointCount(std::string_view utf8);

// The first `count` code points of a UTF-8 text; never splits a sequence.
std::string CutCodePoints(std::string_view utf8, std::size_t count);

// The longest start of a UTF-8 text that fits `maxBytes` bytes; never splits a sequence.
// For fixed-size byte fields that hold text.
std::string CutToBytes(std::string_view utf8, std::size_t maxBytes);

// Full Unicode case mapping with the root locale ("ß" upper-cases to "SS").
std::string UpperCase(std::string_view utf8);
std::string LowerCase(std::string_view utf8);

// Lower-cases everything, then upper-cases the first character and every character that
// follows a blank, "&", "." or "/".
std::string TitleCase(std::string_view utf8);

// Compares two texts after upper-casing both.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Removes leading and/or trailing characters with codes 0 to 32 (blanks, control characters
// and NUL padding of fixed-width fields).
std::string TrimControlAndBlank(std::string_view text);
std::string TrimTrailingControlAndBlank(std::string_view text);

// Appends the UTF-8 encoding of one code point (U+FFFD for values that are not scalar values).
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace sonarchive::text
