// Tags, chunks, headers and frames built field by field for the tests of the format readers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sonarchive::formats::testing {

// 32-bit integers as bytes.
std::string Le32(std::uint32_t value);
std::string Be32(std::uint32_t value);

// An ID3v2.3 tag of `size` bytes in all: the header and zero padding.
std::string Id3v2Tag(std::uint32_t size);
// An empty ID3v1 tag: "TAG" and 125 zero bytes.
std::string Id3v1Tag();

// An APE tag item: value size, flags, key, zero byte, value.
std::string ApeItem(std::string_view key, std::string_view value, std::uint32_t flags = 0);
// An APE header or footer ("APETAGEX", version, size of items + 32, count, flags, reserved).
std::string ApeFrame(std::uint32_t version, std::size_t itemBytes, std::uint32_t count,
                     std::uint32_t flags);
// A whole APE tag: an optional header (flag bit 31 set in both), the items, the footer.
std::string ApeTag(std::uint32_t version, const std::string& items, std::uint32_t count,
                   bool withHeader = false);

// A RIFF chunk, padded to an even length.
std::string RiffChunk(std::string_view id, std::string_view body);

// The Monkey's Audio header of the layout before version 3.98: the 32 fixed bytes (with 44 WAV
// header bytes and no terminating bytes), then `optional` (peak level, seek elements).
std::string MonkeyOldHeader(std::uint16_t version, std::uint16_t level, std::uint16_t flags,
                            std::uint16_t channels, std::uint32_t rate, std::uint32_t frames,
                            std::uint32_t finalBlocks, const std::string& optional = "");

// The descriptor layout of version 3.98 and later: the descriptor (52 bytes, or more when
// `descriptorBytes` says so; 37 frames of 73728 blocks and 5000 in the final one) followed by
// the 24-byte header with the given figures.
std::string MonkeyNewHeader(std::uint16_t version, std::uint32_t descriptorBytes,
                            std::uint16_t bits, std::uint16_t channels, std::uint32_t rate);

// The fields of an MPEG audio frame header; the defaults give MPEG 1 Layer III, 128 kbit/s,
// 44100 Hz, joint stereo.
struct HeaderBits {
    int version = 3;
    int layer = 1;
    int bitRate = 9;
    int sampleRate = 0;
    bool crc = false;
    bool padding = false;
    bool privateBit = false;
    int mode = 1;
    int modeExtension = 0;
    bool copyright = false;
    bool original = false;
    int emphasis = 0;

    std::string Bytes() const;
};

// One frame: the header, then `body`, then filler bytes (0x55) up to `length`.
std::string Frame(const HeaderBits& header, std::size_t length, std::string_view body = {});

// `count` frames of `length` bytes each.
std::string Frames(const HeaderBits& header, std::size_t length, int count);

}  // namespace sonarchive::formats::testing
