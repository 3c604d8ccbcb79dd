// Analysis of the stream part of an MPEG audio file without decoding it: the first confirmed
// frame, the VBR header inside it, and an encoder signature near the end of the file.
//
// Cataloguing must stay fast on slow media, so the analysis reads little: a window of 3458
// bytes where the audio starts, and only when that holds no frame the next 64 KiB behind it
// and then a window in the middle of the stream; a window at the end of the file when the
// first frame carries no VBR header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formats/file_access.h"
#include "formats/mpeg_analysis.h"
#include "formats/mpeg_frame.h"

namespace sonarchive::formats {

inline constexpr std::size_t kMpegWindowSize = 3458;
// Frames are looked for at offsets 0 to 1729 of a window, so that the following header, which
// confirms the frame, usually lies inside the same window.
inline constexpr std::size_t kMpegLastCandidate = kMpegWindowSize - 1729;

struct MpegWindow {
    std::uint64_t start = 0;  // file offset of the first byte
    std::string bytes;        // fewer than kMpegWindowSize at the end of a short file
};

// Junk between a tag and the first frame (left by rippers and by tags written over) is looked
// through up to this far behind the start of the stream before the middle of the stream is
// tried.
inline constexpr std::size_t kMpegJunkReach = 64 * 1024;

// Looks for the first frame at offsets `first` to `last` of the window that is followed, at
// its frame length, by another valid header. Following headers beyond the window are looked
// for in the bytes behind it, read from the file at most once. Nothing on an I/O error; Found
// false when no frame was confirmed.
std::optional<FrameHeader> FindFirstFrame(const InputFile& file, const MpegWindow& window,
                                          std::size_t first = 0,
                                          std::size_t last = kMpegLastCandidate);

// The Xing/Info or VBRI header of a frame found in `window` at `frame.Position`.
VBRData ReadVbrHeader(std::string_view window, const FrameHeader& frame);

// Looks for "LAME" plus its version, or "GOGO", ending within the last `searchLength` + 8
// bytes of the window, nearest to the end first.
std::string FindVendorSignature(std::string_view window, std::size_t searchLength);

// Runs the three-window analysis on a stream that starts at `audioStart` and ends `tailBytes`
// (a trailing ID3v1 tag) before the end of the file. Nothing on an I/O error; Frame.Found
// false when no frame was found.
std::optional<MpegStreamAnalysis> AnalyseMpegStream(const InputFile& file, std::uint64_t audioStart,
                                                    std::uint64_t tailBytes);

}  // namespace sonarchive::formats
