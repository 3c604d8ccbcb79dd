#include "formats/id3v2_fields.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "formats/id3v1.h"
#include "formats/id3v2_text.h"
#include "text/text.h"

namespace sonarchive::formats::id3v2 {
namespace {

constexpr std::array<std::string_view, 17> kFieldFrames = {
    "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM", "TCOM", "TENC",
    "TCOP", "TLAN", "WXXX", "TDRC", "TORY", "TOPE", "TIT1", "TOAL",
};

// Written comments are marked English, as most programs do.
constexpr std::string_view kCommentLanguage = "eng";

bool IsNumber(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsGenreReference(std::string_view s) {
    return (IsNumber(s) && s.size() <= 3) || s == "RX" || s == "CR";
}

// Empty text for a number outside the genre table.
std::string GenreReferenceName(std::string_view reference) {
    if (reference == "RX") {
        return "Remix";
    }
    if (reference == "CR") {
        return "Cover";
    }
    return std::string(GenreNameAt(std::stoi(std::string(reference))));
}

// A COMM or WXXX frame: a description that tells frames of one identifier apart, and the text.
struct DescribedText {
    std::string description;
    std::string text;
};

std::optional<DescribedText> ReadDescribed(const Frame& frame) {
    const std::uint8_t encoding = frame.Encoding();
    const std::size_t descriptionStart = frame.id == "COMM" ? 4 : 1;  // COMM: and a language
    if (!frame.HoldsField() || frame.content.size() < descriptionStart ||
        !IsKnownEncoding(encoding)) {
        return std::nullopt;
    }
    const std::string_view content = frame.content;
    const std::size_t textStart = SkipString(content, descriptionStart, encoding);
    // A link is always ISO-8859-1; the encoding byte covers its description only.
    const std::uint8_t textEncoding = frame.id == "WXXX" ? kLatin1 : encoding;
    return DescribedText{
        text::TrimControlAndBlank(DecodeString(content.substr(descriptionStart), encoding)),
        text::TrimControlAndBlank(DecodeString(content.substr(textStart), textEncoding))};
}

bool HasNoDescription(const Frame& frame) {
    const auto described = ReadDescribed(frame);
    return described && described->description.empty();
}

// The comment is the frame without description: frames with one hold other programs' data
// (iTunNORM and the like). Only when there is no such frame does a described one stand in.
std::string SelectDescribedText(const std::vector<Frame>& frames, std::string_view id) {
    std::optional<DescribedText> plain;
    std::optional<DescribedText> any;
    for (const Frame& frame : frames) {
        if (frame.id != id) {
            continue;
        }
        if (auto described = ReadDescribed(frame)) {
            if (described->description.empty()) {
                plain = described;
            }
            any = std::move(described);
        }
    }
    if (plain) {
        return plain->text;
    }
    return any ? any->text : std::string();
}

std::string LastText(const std::vector<Frame>& frames, std::string_view id, std::uint8_t version) {
    std::string value;
    for (const Frame& frame : frames) {
        if (frame.id != id) {
            continue;
        }
        if (auto text = TextFrameValue(frame, version)) {
            value = std::move(*text);
        }
    }
    return value;
}

std::string Either(std::string primary, std::string fallback) {
    return primary.empty() ? std::move(fallback) : std::move(primary);
}

// The number before a "/" (which gives the number of tracks); 0 when there is none or it
// does not fit.
std::uint16_t ParseTrack(std::string_view trackText) {
    const std::string number = text::TrimControlAndBlank(trackText.substr(0, trackText.find('/')));
    if (!IsNumber(number) || number.size() > 5) {
        return 0;
    }
    const int value = std::stoi(number);
    return value <= 0xFFFF ? static_cast<std::uint16_t>(value) : 0;
}

// A link is ISO-8859-1 by definition; characters beyond it are given as percent-encoded UTF-8,
// which every browser reads back as the same address.
std::string EncodeLink(std::string_view utf8) {
    if (text::IsLatin1Representable(utf8)) {
        return text::Utf8ToLatin1(utf8);
    }
    static constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

Frame MakeDescribedFrame(std::string_view id, std::string_view value) {
    const bool isLink = id == "WXXX";
    const std::uint8_t encoding = isLink ? kLatin1 : EncodingFor(value);
    std::string content(1, static_cast<char>(encoding));
    if (!isLink) {
        content += kCommentLanguage;
    }
    content += EncodeString("", encoding);
    content += Terminator(encoding);
    content += isLink ? EncodeLink(value) : EncodeString(value, encoding);
    return Frame{std::string(id), std::move(content)};
}

void RemoveFrames(std::vector<Frame>& frames, std::initializer_list<std::string_view> ids) {
    std::erase_if(frames, [&](const Frame& frame) {
        return std::find(ids.begin(), ids.end(), frame.id) != ids.end();
    });
}

// Frames under construction: the frames kept from the old tag and the new ones.
struct FrameChanges {
    std::vector<Frame> kept;
    std::vector<Frame> added;

    // A changed text field: the frames it was taken from give way to one frame with the new
    // value, or to none when the value is empty.
    void ReplaceText(std::string_view id, std::string_view value,
                     std::initializer_list<std::string_view> sources) {
        RemoveFrames(kept, sources);
        if (!value.empty()) {
            added.push_back(MakeTextFrame(std::string(id), value));
        }
    }

    // A changed comment or link: frames without description give way to the new one. Frames
    // with a description stay; when the new value is empty and some remain, an empty frame
    // keeps them from standing in for the removed value.
    void ReplaceDescribed(std::string_view id, std::string_view value) {
        std::erase_if(
            kept, [&](const Frame& frame) { return frame.id == id && HasNoDescription(frame); });
        const bool describedRemain = std::any_of(kept.begin(), kept.end(), [&](const Frame& f) {
            return f.id == id && ReadDescribed(f).has_value();
        });
        if (!value.empty() || describedRemain) {
            added.push_back(MakeDescribedFrame(id, value));
        }
    }
};

}  // namespace

bool IsFieldFrame(std::string_view id) {
    return std::find(kFieldFrames.begin(), kFieldFrames.end(), id) != kFieldFrames.end();
}

std::optional<std::string> TextFrameValue(const Frame& frame, std::uint8_t version) {
    const std::uint8_t encoding = frame.Encoding();
    if (!frame.HoldsField() || frame.content.empty() || !IsKnownEncoding(encoding)) {
        return std::nullopt;
    }
    const std::string_view strings = std::string_view(frame.content).substr(1);
    std::vector<std::string> values =
        version >= 4 ? DecodeStrings(strings, encoding)
                     : std::vector{text::TrimControlAndBlank(DecodeString(strings, encoding))};
    if (frame.id == "TCON") {
        std::transform(values.begin(), values.end(), values.begin(), ResolveGenre);
    }
    return JoinStrings(values, kValueSeparator);
}

std::string ResolveGenre(std::string_view genre) {
    std::string_view rest = genre;
    std::vector<std::string> names;
    while (rest.starts_with('(') && !rest.starts_with("((")) {
        const std::size_t close = rest.find(')');
        if (close == std::string_view::npos || !IsGenreReference(rest.substr(1, close - 1))) {
            break;
        }
        std::string name = GenreReferenceName(rest.substr(1, close - 1));
        if (!name.empty()) {
            names.push_back(std::move(name));
        }
        rest.remove_prefix(close + 1);
    }
    if (rest.starts_with("((")) {
        rest.remove_prefix(1);
    }
    const std::string refinement = text::TrimControlAndBlank(rest);
    if (!refinement.empty()) {
        if (rest.size() == genre.size() && IsGenreReference(refinement)) {
            const std::string name = GenreReferenceName(refinement);
            return name.empty() ? refinement : name;
        }
        return refinement;
    }
    return names.empty() ? std::string(genre) : JoinStrings(names, "/");
}

Id3v2Fields DeriveFields(const std::vector<Frame>& frames, std::uint8_t version) {
    const auto last = [&](std::string_view id) { return LastText(frames, id, version); };
    Id3v2Fields fields;
    fields.title = Either(last("TIT2"), last("TIT1"));
    fields.artist = Either(last("TPE1"), last("TOPE"));
    fields.album = Either(last("TALB"), last("TOAL"));
    fields.track = ParseTrack(last("TRCK"));
    // Version 2.2 has no recording time; its fallback is the original release year.
    fields.year =
        Either(last("TYER"), text::CutCodePoints(last(version == 2 ? "TORY" : "TDRC"), 4));
    fields.genre = last("TCON");
    fields.comment = SelectDescribedText(frames, "COMM");
    fields.composer = last("TCOM");
    fields.encoder = last("TENC");
    fields.copyright = last("TCOP");
    fields.language = last("TLAN");
    fields.link = SelectDescribedText(frames, "WXXX");
    return fields;
}

Frame MakeTextFrame(std::string id, std::string_view utf8) {
    const std::uint8_t encoding = EncodingFor(utf8);
    return Frame{std::move(id), static_cast<char>(encoding) + EncodeString(utf8, encoding)};
}

std::optional<std::vector<Frame>> ApplyFieldChanges(std::vector<Frame> frames,
                                                    const Id3v2Fields& before,
                                                    const Id3v2Fields& after) {
    FrameChanges changes{std::move(frames), {}};
    const auto text = [&](const std::string Id3v2Fields::*field, std::string_view id,
                          std::initializer_list<std::string_view> sources) {
        if (before.*field != after.*field) {
            changes.ReplaceText(id, after.*field, sources);
        }
    };
    text(&Id3v2Fields::title, "TIT2", {"TIT2"});
    text(&Id3v2Fields::artist, "TPE1", {"TPE1"});
    text(&Id3v2Fields::album, "TALB", {"TALB"});
    if (before.track != after.track) {
        changes.ReplaceText("TRCK", after.track == 0 ? "" : std::to_string(after.track), {"TRCK"});
    }
    text(&Id3v2Fields::year, "TYER", {"TYER", "TDRC"});
    if (before.genre != after.genre) {
        // A text that starts with "(" is written "((" so that it does not read as a reference.
        changes.ReplaceText("TCON", after.genre.starts_with('(') ? "(" + after.genre : after.genre,
                            {"TCON"});
    }
    if (before.comment != after.comment) {
        changes.ReplaceDescribed("COMM", after.comment);
    }
    text(&Id3v2Fields::composer, "TCOM", {"TCOM"});
    text(&Id3v2Fields::encoder, "TENC", {"TENC"});
    text(&Id3v2Fields::copyright, "TCOP", {"TCOP"});
    text(&Id3v2Fields::language, "TLAN", {"TLAN"});
    if (before.link != after.link) {
        changes.ReplaceDescribed("WXXX", after.link);
    }
    if (std::any_of(changes.added.begin(), changes.added.end(), [](const Frame& frame) {
            return frame.content.size() > kLargestFieldFrame;
        })) {
        return std::nullopt;
    }
    changes.added.insert(changes.added.end(), std::make_move_iterator(changes.kept.begin()),
                         std::make_move_iterator(changes.kept.end()));
    return std::move(changes.added);
}

}  // namespace sonarchive::formats::id3v2
