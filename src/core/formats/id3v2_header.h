// The size of an ID3v2 tag in front of an audio stream, from its 10-byte header alone.
//
// Every reader of a stream that may sit behind an ID3v2 tag (Ogg, MPEG audio, Monkey's Audio)
// needs to know where the stream starts, without understanding the tag's frames.
#pragma once

#include <cstdint>

#include "formats/file_access.h"

namespace sonarchive::formats {

// Bytes taken by the ID3v2 tag at offset 0 of `file`: the header's syncsafe size plus the
// 10-byte header, plus 10 more when the footer flag is set (ID3v2.4.0 structure document,
// section 3.1). 0 when the file does not begin with "ID3" or the tag would be larger than
// the file.
std::uint64_t Id3v2TagSizeAt(const InputFile& file);

}  // namespace sonarchive::formats
