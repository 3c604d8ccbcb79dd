// Frames of a version 2.2 or 2.4 tag brought into the form a version 2.3 tag needs. (Frame
// headers, flags and unsynchronisation are dealt with when the frames are read.)
#pragma once

#include <cstdint>
#include <vector>

#include "formats/id3v2_frames.h"

namespace sonarchive::formats::id3v2 {

// Texts in the encodings 2.3 lacks (UTF-16 big-endian without byte-order mark, UTF-8) are
// rewritten in UTF-16 with byte-order mark; the several strings a 2.4 text may hold are joined
// by "/", the 2.3 way of listing values; a 2.4 recording time (TDRC) becomes the year, date and
// time frames of 2.3 (TYER, TDAT, TIME). Frames of other layouts, and compressed or encrypted
// ones, stay as they are. `frames` came from a tag of `version`.
void ConvertToVersion23(std::vector<Frame>& frames, std::uint8_t version);

}  // namespace sonarchive::formats::id3v2
