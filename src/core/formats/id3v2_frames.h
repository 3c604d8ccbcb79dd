// The frames of an ID3v2 tag, brought into one shape whatever the tag's version: version 2.2
// identifiers translated to their 2.3 names, the unsynchronisation scheme undone, and the flags
// and header additions of 2.4 frames expressed in the 2.3 form, so that the writer can put
// every frame it keeps into a 2.3 tag.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/file_access.h"
#include "formats/id3v2_header.h"

namespace sonarchive::formats::id3v2 {

// Frames above this size are skipped when a tag is read for its fields; no field is ever taken
// from them, so a tag reads the same whether they were loaded or not.
inline constexpr std::size_t kLargestFieldFrame = 64 * 1024;

struct Frame {
    Frame(std::string frameId, std::string frameContent, std::uint16_t frameFlags = 0,
          std::string frameAdditions = {})
        : id(std::move(frameId)),
          content(std::move(frameContent)),
          flags(frameFlags),
          additions(std::move(frameAdditions)) {}

    std::string id;       // four characters
    std::string content;  // the frame's data after the header additions
    // Version 2.3 flags (status byte, format byte) and the bytes they add after the frame
    // header: decompressed size, encryption method, group, in that order.
    std::uint16_t flags = 0;
    std::string additions;
    bool oversized = false;  // the data exceeded kLargestFieldFrame

    // Compressed or encrypted: the content cannot be interpreted.
    bool Opaque() const { return (flags & 0x00C0) != 0; }
    bool HoldsField() const { return !oversized && !Opaque(); }
    // The text encoding byte of a text-bearing frame.
    std::uint8_t Encoding() const {
        return content.empty() ? 0 : static_cast<std::uint8_t>(content[0]);
    }
};

using FrameFilter = std::function<bool(std::string_view id)>;

enum class LargeFrames { Skip, Load };

// The frames of the tag that starts the file and has `header`, in tag order, as far as they
// can be found: reading stops at padding, at a frame that does not fit the tag and at
// anything else that is not a frame. Frames whose identifier `wanted` refuses are skipped
// without being read; so are large frames unless `large` asks for them. Frames that cannot be
// brought into the 2.3 form are left out (version 2.2 frames without a 2.3 counterpart, 2.4
// frames compressed without a data length, malformed header additions).
std::vector<Frame> ReadFrames(const InputFile& file, const TagHeader& header,
                              const FrameFilter& wanted, LargeFrames large);

// The frame as it stands in a version 2.3 tag: header, additions, content.
std::string SerializeFrame(const Frame& frame);

}  // namespace sonarchive::formats::id3v2
