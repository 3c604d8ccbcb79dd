#include "formats/id3v2_convert.h"

#include <optional>
#include <string_view>

#include "formats/id3v2_fields.h"
#include "formats/id3v2_text.h"
#include "text/text.h"

namespace sonarchive::formats::id3v2 {
namespace {

// The layout of a text-bearing frame after its encoding byte, one letter a piece:
//   L  a three-character language     B  one byte
//   l  an ISO-8859-1 string           s  a string in the frame's encoding
//   t  the rest: text in the frame's encoding
//   r  the rest: bytes that are not text in the frame's encoding
// Text frames other than TXXX are "t".
std::string_view LayoutOf(std::string_view id) {
    struct Entry {
        std::string_view id;
        std::string_view layout;
    };
    static constexpr Entry kLayouts[] = {
        {"TXXX", "st"}, {"COMM", "Lst"},  {"USLT", "Lst"},  {"USER", "Lt"},
        {"WXXX", "sr"}, {"APIC", "lBsr"}, {"GEOB", "lssr"},
    };
    for (const Entry& entry : kLayouts) {
        if (entry.id == id) {
            return entry.layout;
        }
    }
    return id.starts_with('T') ? "t" : "";
}

// The content in the 2.3 encodings: ISO-8859-1 stays, every other encoding becomes UTF-16
// with byte-order mark. Nothing when the content does not match its layout.
std::optional<std::string> Reencode(std::string_view content, std::string_view layout,
                                    bool textIsList) {
    const auto encoding = static_cast<std::uint8_t>(content[0]);
    const std::uint8_t target = encoding == kLatin1 ? kLatin1 : kUtf16;
    std::string out(1, static_cast<char>(target));
    std::size_t at = 1;
    for (const char piece : layout) {
        const std::string_view rest = content.substr(at);
        std::size_t used = rest.size();
        switch (piece) {
            case 'L':
            case 'B':
                used = piece == 'L' ? 3 : 1;
                if (rest.size() < used) {
                    return std::nullopt;
                }
                out += rest.substr(0, used);
                break;
            case 'l':
                used = SkipString(rest, 0, kLatin1);
                out += rest.substr(0, used);
                break;
            case 's':
                used = SkipString(rest, 0, encoding);
                out += EncodeString(DecodeString(rest, encoding), target);
                out += Terminator(target);
                break;
            case 't':
                out += EncodeString(
                    textIsList ? JoinStrings(DecodeStrings(rest, encoding), kValueSeparator)
                               : DecodeString(rest, encoding),
                    target);
                break;
            default:
                out += rest;
                break;
        }
        at += used;
    }
    return out;
}

bool IsDigits(std::string_view s, std::size_t from, std::size_t count) {
    if (s.size() < from + count) {
        return false;
    }
    for (std::size_t i = from; i < from + count; ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return false;
        }
    }
    return true;
}

// A 2.4 timestamp "yyyy-MM-ddTHH:mm:ss" (any leading part of it) as TYER "yyyy", TDAT "ddMM"
// and TIME "HHmm". Nothing when it does not begin with a year.
std::optional<std::vector<Frame>> SplitRecordingTime(std::string_view time) {
    if (!IsDigits(time, 0, 4)) {
        return std::nullopt;
    }
    std::vector<Frame> frames{MakeTextFrame("TYER", time.substr(0, 4))};
    if (IsDigits(time, 5, 2) && IsDigits(time, 8, 2) && time[4] == '-' && time[7] == '-') {
        frames.push_back(
            MakeTextFrame("TDAT", std::string(time.substr(8, 2)) + std::string(time.substr(5, 2))));
        if (IsDigits(time, 11, 2) && IsDigits(time, 14, 2) && time[10] == 'T' && time[13] == ':') {
            frames.push_back(MakeTextFrame(
                "TIME", std::string(time.substr(11, 2)) + std::string(time.substr(14, 2))));
        }
    }
    return frames;
}

}  // namespace

void ConvertToVersion23(std::vector<Frame>& frames, std::uint8_t version) {
    if (version == 3) {
        return;
    }
    std::vector<Frame> converted;
    converted.reserve(frames.size());
    for (Frame& frame : frames) {
        const std::string_view layout = LayoutOf(frame.id);
        if (frame.Opaque() || layout.empty() || frame.content.empty() ||
            !IsKnownEncoding(frame.Encoding())) {
            converted.push_back(std::move(frame));
            continue;
        }
        if (version >= 4 && frame.id == "TDRC") {
            if (auto split = SplitRecordingTime(TextFrameValue(frame, version).value_or(""))) {
                converted.insert(converted.end(), split->begin(), split->end());
                continue;
            }
        }
        if (auto content = Reencode(frame.content, layout, version >= 4)) {
            frame.content = std::move(*content);
        }
        converted.push_back(std::move(frame));
    }
    frames = std::move(converted);
}

}  // namespace sonarchive::formats::id3v2
