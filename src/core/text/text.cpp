#include "text/text.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace sonarchive::text {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// One step of a tolerant UTF-8 decoder: returns the code point starting at `pos` and advances
// `pos` past it. Invalid, overlong, surrogate or truncated sequences yield U+FFFD and advance
// by one byte, so decoding always terminates and never reads past the end.
char32_t DecodeOne(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacementCharacter;
    }
    if (pos + length > s.size()) {
        ++pos;
        return kReplacementCharacter;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kReplacementCharacter;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++pos;
        return kReplacementCharacter;
    }
    pos += length;
    return value;
}

template <typename Visitor>
void ForEachCodePoint(std::string_view utf8, Visitor&& visit) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const char32_t cp = DecodeOne(utf8, pos);
        if (!visit(cp, start, pos)) {
            return;
        }
    }
}

std::uint16_t UnitAt(std::string_view bytes, std::size_t index, ByteOrder order) {
    const auto a = static_cast<unsigned char>(bytes[index]);
    const auto b = static_cast<unsigned char>(bytes[index + 1]);
    return order == ByteOrder::LittleEndian ? static_cast<std::uint16_t>(a | (b << 8))
                                            : static_cast<std::uint16_t>((a << 8) | b);
}

void AppendUnit(std::string& out, std::uint16_t unit, ByteOrder order) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    if (order == ByteOrder::LittleEndian) {
        out += low;
        out += high;
    } else {
        out += high;
        out += low;
    }
}

std::string FromIcu(const icu::UnicodeString& s) {
    std::string out;
    s.toUTF8String(out);
    return out;
}

icu::UnicodeString ToIcu(std::string_view utf8) {
    // ICU repairs invalid input itself, but going through SanitizeUtf8 keeps the replacement
    // rule identical everywhere.
    const std::string clean = SanitizeUtf8(utf8);
    return icu::UnicodeString::fromUTF8(icu::StringPiece(clean.data(),
                                                          static_cast<int32_t>(clean.size())));
}

bool IsControlOrBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Plain ASCII maps the same under every rule; skipping ICU for it keeps the SQL functions and
// the per-file comparisons cheap.
bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string MapAscii(std::string_view s, char first, char last, int shift) {
    std::string out(s);
    for (char& c : out) {
        if (c >= first && c <= last) {
            c = static_cast<char>(c + shift);
        }
    }
    return out;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = kReplacementCharacter;
    }
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (const char c : latin1) {
        AppendUtf8(out, static_cast<unsigned char>(c));
    }
    return out;
}

std::string Utf8ToLatin1(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    ForEachCodePoint(utf8, [&](char32_t cp, std::size_t, std::size_t) {
        out += cp <= 0xFF && cp != kReplacementCharacter ? static_cast<char>(cp) : replacement;
        return true;
    });
    return out;
}

bool IsLatin1Representable(std::string_view utf8) {
    bool representable = true;
    ForEachCodePoint(utf8, [&](char32_t cp, std::size_t, std::size_t) {
        representable = cp <= 0xFF;
        return representable;
    });
    return representable;
}

std::string Utf16ToUtf8(std::string_view bytes, ByteOrder order) {
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint16_t unit = UnitAt(bytes, 2 * i, order);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const std::uint16_t next = UnitAt(bytes, 2 * (i + 1), order);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, unit);  // lone surrogates become U+FFFD inside AppendUtf8
    }
    return out;
}

std::string Utf16WithBomToUtf8(std::string_view bytes, ByteOrder fallback) {
    if (bytes.size() >= 2) {
        const auto a = static_cast<unsigned char>(bytes[0]);
        const auto b = static_cast<unsigned char>(bytes[1]);
        if (a == 0xFF && b == 0xFE) {
            return Utf16ToUtf8(bytes.substr(2), ByteOrder::LittleEndian);
        }
        if (a == 0xFE && b == 0xFF) {
            return Utf16ToUtf8(bytes.substr(2), ByteOrder::BigEndian);
        }
    }
    return Utf16ToUtf8(bytes, fallback);
}

std::string Utf8ToUtf16(std::string_view utf8, ByteOrder order) {
    std::string out;
    out.reserve(utf8.size() * 2);
    ForEachCodePoint(utf8, [&](char32_t cp, std::size_t, std::size_t) {
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            AppendUnit(out, static_cast<std::uint16_t>(0xD800 + (v >> 10)), order);
            AppendUnit(out, static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF)), order);
        } else {
            AppendUnit(out, static_cast<std::uint16_t>(cp), order);
        }
        return true;
    });
    return out;
}

std::string SanitizeUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    ForEachCodePoint(bytes, [&](char32_t cp, std::size_t start, std::size_t end) {
        if (cp == kReplacementCharacter && end - start == 1) {
            AppendUtf8(out, cp);
        } else {
            out.append(bytes.substr(start, end - start));
        }
        return true;
    });
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    bool valid = true;
    ForEachCodePoint(bytes, [&](char32_t cp, std::size_t start, std::size_t end) {
        valid = !(cp == kReplacementCharacter && end - start == 1);
        return valid;
    });
    return valid;
}

std::size_t CodePointCount(std::string_view utf8) {
    std::size_t count = 0;
    ForEachCodePoint(utf8, [&](char32_t, std::size_t, std::size_t) {
        ++count;
        return true;
    });
    return count;
}

std::string CutCodePoints(std::string_view utf8, std::size_t count) {
    std::size_t seen = 0;
    std::size_t cut = utf8.size();
    ForEachCodePoint(utf8, [&](char32_t, std::size_t start, std::size_t) {
        if (seen == count) {
            cut = start;
            return false;
        }
        ++seen;
        return true;
    });
    return std::string(utf8.substr(0, cut));
}

std::string CutToBytes(std::string_view utf8, std::size_t maxBytes) {
    std::size_t cut = 0;
    ForEachCodePoint(utf8, [&](char32_t, std::size_t, std::size_t end) {
        if (end > maxBytes) {
            return false;
        }
        cut = end;
        return true;
    });
    return std::string(utf8.substr(0, cut));
}

std::string UpperCase(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return MapAscii(utf8, 'a', 'z', 'A' - 'a');
    }
    return FromIcu(ToIcu(utf8).toUpper(icu::Locale::getRoot()));
}

std::string LowerCase(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return MapAscii(utf8, 'A', 'Z', 'a' - 'A');
    }
    return FromIcu(ToIcu(utf8).toLower(icu::Locale::getRoot()));
}

std::string TitleCase(std::string_view utf8) {
    const std::string lower = LowerCase(utf8);
    std::string out;
    out.reserve(lower.size());
    bool upperNext = true;
    ForEachCodePoint(lower, [&](char32_t cp, std::size_t start, std::size_t end) {
        const std::string_view character = std::string_view(lower).substr(start, end - start);
        out += upperNext ? UpperCase(character) : std::string(character);
        upperNext = cp == U' ' || cp == U'&' || cp == U'.' || cp == U'/';
        return true;
    });
    return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return UpperCase(a) == UpperCase(b);
}

std::string TrimControlAndBlank(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsControlOrBlank(text[begin])) {
        ++begin;
    }
    return TrimTrailingControlAndBlank(text.substr(begin));
}

std::string TrimTrailingControlAndBlank(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsControlOrBlank(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(0, end));
}

}  // namespace sonarchive::text
