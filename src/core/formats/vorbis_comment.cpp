#include "formats/vorbis_comment.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "formats/byte_order.h"
#include "text/text.h"

namespace sonarchive::formats {
namespace {

constexpr std::string_view kCommentHeaderId("\x03vorbis", 7);

// The fields this program manages.
enum Managed : std::size_t {
    kTitle,
    kArtist,
    kAlbum,
    kTrackNumber,
    kDate,
    kGenre,
    kComment,
    kPerformer,
    kDescription,
    kManagedCount
};

constexpr std::array<std::string_view, kManagedCount> kManagedNames = {
    "TITLE", "ARTIST",  "ALBUM",     "TRACKNUMBER", "DATE",
    "GENRE", "COMMENT", "PERFORMER", "DESCRIPTION"};

// The texts a user edits, in the order new fields are appended. ARTIST and COMMENT stand in for
// PERFORMER and DESCRIPTION when they are empty.
struct EditedText {
    Managed name;
    std::optional<Managed> fallback;
};

constexpr std::array<EditedText, 7> kEditedTexts = {{{kTitle, std::nullopt},
                                                     {kArtist, kPerformer},
                                                     {kAlbum, std::nullopt},
                                                     {kTrackNumber, std::nullopt},
                                                     {kDate, std::nullopt},
                                                     {kGenre, std::nullopt},
                                                     {kComment, kDescription}}};

using ManagedValues = std::array<std::string, kManagedCount>;
using EditedValues = std::array<std::string, kEditedTexts.size()>;

// Field names are ASCII, compared without regard to case (Vorbis I, section 5.2.3).
bool SameFieldName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
        if (upper(a[i]) != upper(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<Managed> ManagedNameOf(std::string_view field) {
    const auto equals = field.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kManagedCount; ++i) {
        if (SameFieldName(field.substr(0, equals), kManagedNames[i])) {
            return static_cast<Managed>(i);
        }
    }
    return std::nullopt;
}

std::string CleanText(std::string_view text) {
    return text::SanitizeUtf8(text::TrimControlAndBlank(text));
}

ManagedValues ValuesOf(const std::vector<std::string>& fields) {
    ManagedValues values;
    for (const std::string& field : fields) {
        const auto name = ManagedNameOf(field);
        if (name && field.size() <= kVorbisFieldLoadLimit) {
            values[*name] = CleanText(std::string_view(field).substr(field.find('=') + 1));
        }
    }
    return values;
}

std::string TrackText(std::uint16_t track) {
    return track > 0 ? std::to_string(track) : "";
}

EditedValues EditedValuesOf(const VorbisTagTexts& texts) {
    return {CleanText(texts.title),  CleanText(texts.artist), CleanText(texts.album),
            TrackText(texts.track),  CleanText(texts.date),   CleanText(texts.genre),
            CleanText(texts.comment)};
}

bool ReadLength(OggPacketReader& packet, std::uint32_t& length) {
    std::string bytes;
    if (!packet.Read(4, bytes)) {
        return false;
    }
    length = ReadLE32(bytes, 0);
    return true;
}

// Reads a length-prefixed text; one above `loadLimit` is skipped and `loaded` stays false.
bool ReadText(OggPacketReader& packet, std::uint64_t loadLimit, std::string& text, bool& loaded) {
    std::uint32_t length = 0;
    if (!ReadLength(packet, length)) {
        return false;
    }
    loaded = length <= loadLimit;
    return loaded ? packet.Read(length, text) : packet.Skip(length);
}

}  // namespace

bool ReadVorbisComment(OggPacketReader& packet, std::uint64_t loadLimit, VorbisComment& comment) {
    comment = VorbisComment();
    std::string id;
    if (!packet.Read(kCommentHeaderId.size(), id) || id != kCommentHeaderId) {
        return false;
    }
    bool loaded = false;
    std::string vendor;
    std::uint32_t count = 0;
    if (!ReadText(packet, loadLimit, vendor, loaded) || !ReadLength(packet, count)) {
        return true;
    }
    if (loaded) {
        comment.vendor = std::move(vendor);
    }
    // Every field takes at least its 4 length bytes, so a hostile count ends with the packet.
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string field;
        if (!ReadText(packet, loadLimit, field, loaded)) {
            return true;
        }
        if (loaded) {
            comment.fields.push_back(std::move(field));
        }
    }
    comment.complete = true;
    return true;
}

std::string BuildVorbisCommentPacket(const VorbisComment& comment) {
    std::string packet(kCommentHeaderId);
    AppendLE32(packet, static_cast<std::uint32_t>(comment.vendor.size()));
    packet += comment.vendor;
    AppendLE32(packet, static_cast<std::uint32_t>(comment.fields.size()));
    for (const std::string& field : comment.fields) {
        AppendLE32(packet, static_cast<std::uint32_t>(field.size()));
        packet += field;
    }
    packet += comment.trailer.empty() ? std::string("\x01") : comment.trailer;
    return packet;
}

VorbisTagTexts TagTextsOf(const std::vector<std::string>& fields) {
    const ManagedValues v = ValuesOf(fields);
    const auto either = [](const std::string& first, const std::string& second) {
        return first.empty() ? second : first;
    };
    return {v[kTitle],
            either(v[kArtist], v[kPerformer]),
            v[kAlbum],
            ParseTrackNumber(v[kTrackNumber]),
            v[kDate],
            v[kGenre],
            either(v[kComment], v[kDescription])};
}

std::vector<std::string> RewriteVorbisFields(const std::vector<std::string>& fields,
                                             const VorbisTagTexts& wanted) {
    const ManagedValues stored = ValuesOf(fields);
    const EditedValues before = EditedValuesOf(TagTextsOf(fields));
    const EditedValues after = EditedValuesOf(wanted);

    // Which edited text each managed name belongs to; a fallback name belongs to it only when it
    // supplied the text the reader showed.
    std::array<std::optional<std::size_t>, kManagedCount> textOfName;
    for (std::size_t t = 0; t < kEditedTexts.size(); ++t) {
        textOfName[kEditedTexts[t].name] = t;
        if (kEditedTexts[t].fallback && stored[kEditedTexts[t].name].empty()) {
            textOfName[*kEditedTexts[t].fallback] = t;
        }
    }
    std::array<bool, kEditedTexts.size()> replace{};
    for (std::size_t t = 0; t < kEditedTexts.size(); ++t) {
        replace[t] = before[t] != after[t];
    }
    for (const std::string& field : fields) {
        const auto name = ManagedNameOf(field);
        if (name && textOfName[*name] && kEditedTexts[*textOfName[*name]].name != *name) {
            replace[*textOfName[*name]] = true;  // folded into its main name
        }
    }

    std::vector<std::string> result;
    std::array<bool, kEditedTexts.size()> written{};
    const auto writeText = [&](std::size_t t) {
        if (!written[t] && !after[t].empty()) {
            result.push_back(std::string(kManagedNames[kEditedTexts[t].name]) + "=" + after[t]);
        }
        written[t] = true;
    };
    for (const std::string& field : fields) {
        const auto name = ManagedNameOf(field);
        const auto text = name ? textOfName[*name] : std::nullopt;
        if (text && replace[*text]) {
            writeText(*text);
        } else {
            result.push_back(field);
        }
    }
    for (std::size_t t = 0; t < kEditedTexts.size(); ++t) {
        if (replace[t]) {
            writeText(t);
        }
    }
    return result;
}

std::uint16_t ParseTrackNumber(const std::string& text) {
    const std::string number = text::TrimControlAndBlank(text.substr(0, text.find('/')));
    std::uint16_t value = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    return error == std::errc() && stop == end && !number.empty() ? value : 0;
}

}  // namespace sonarchive::formats
