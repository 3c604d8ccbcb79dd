// Rebuilding an Ogg Vorbis file with a new comment header.
#pragma once

#include <string>

#include "formats/file_access.h"
#include "formats/vorbis_comment.h"

namespace sonarchive::formats {

// Writes `original` to `out` with `wanted` written into its comment header (see
// RewriteVorbisFields). Everything in front of the stream and the identification page are
// copied; the comment and setup headers are laid out on as many pages as they need; every
// later page is copied, renumbered (with a new checksum) when the number of header pages
// changed. False, with a reason in `error`, for a file this cannot rewrite safely: more than
// one logical stream, header packets that share pages with other data, a damaged header.
bool RewriteOggVorbis(const InputFile& original, const VorbisTagTexts& wanted, OutputFile& out,
                      std::string& error);

}  // namespace sonarchive::formats
