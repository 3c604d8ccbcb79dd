// The Vorbis comment header (Vorbis I, section 5): reading its fields, the
// fields this program manages, and rebuilding it with new values while every other field stays
// as it was.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/ogg_packet_reader.h"

namespace sonarchive::formats {

// Fields longer than this are not loaded when reading tags (they are pictures and the like);
// when a file is rewritten they are carried over byte for byte.
inline constexpr std::uint64_t kVorbisFieldLoadLimit = 64 * 1024;

struct VorbisComment {
    std::string vendor;
    // "NAME=value" texts as stored, in file order; when reading with a load limit, the fields
    // above the limit are missing.
    std::vector<std::string> fields;
    // What follows the last field inside the packet: the framing bit and any padding (left to
    // the caller to read; a packet built without one gets the framing bit alone).
    std::string trailer;
    // Every announced field was read.
    bool complete = false;
};

// Reads the comment header from the start of the reader's current packet. False when the packet
// is no comment header. Fields above `loadLimit` bytes are skipped by their length; the vendor
// string is skipped the same way. A cut-short header keeps the fields read before the cut.
bool ReadVorbisComment(OggPacketReader& packet, std::uint64_t loadLimit, VorbisComment& comment);

// The complete comment header packet.
std::string BuildVorbisCommentPacket(const VorbisComment& comment);

// The tag texts this program shows and edits.
struct VorbisTagTexts {
    std::string title, artist, album;
    std::uint16_t track = 0;
    std::string date, genre, comment;
};

// The texts a reader shows for these fields: the last field of each name counts (names compared
// without regard to case), values trimmed and made valid UTF-8; ARTIST falls back to PERFORMER
// and COMMENT to DESCRIPTION; the track is the number before a "/" of TRACKNUMBER. Fields above
// the load limit are not looked at.
VorbisTagTexts TagTextsOf(const std::vector<std::string>& fields);

// The fields with `wanted` written into them. A text that did not change keeps its fields
// exactly as they were (several values, other spellings, "7/12"). A changed text replaces every
// field of its name at the place of the first one (appended when there was none) or removes
// them when the new text is empty; PERFORMER and DESCRIPTION go with ARTIST and COMMENT when
// they were what the reader showed. Fields of other names stay as they are, in their order.
std::vector<std::string> RewriteVorbisFields(const std::vector<std::string>& fields,
                                             const VorbisTagTexts& wanted);

// The number before the first "/" (the whole text without one); 0 when that is not a number
// from 0 to 65535.
std::uint16_t ParseTrackNumber(const std::string& text);

}  // namespace sonarchive::formats
