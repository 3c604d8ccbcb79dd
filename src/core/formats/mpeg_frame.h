// The 4-byte header of an MPEG audio frame (ISO/IEC 11172-3 and 13818-3) and the figures it
// gives: bit rate, sample rate, samples and bytes per frame.
//
// Header bits, most significant first: frame sync (11 bits, all set), version (2: 0 MPEG 2.5,
// 1 reserved, 2 MPEG 2, 3 MPEG 1), layer (2: 0 reserved, 1 Layer III, 2 Layer II, 3 Layer I),
// protection (1: 0 means a 16-bit CRC follows the header), bit-rate index (4), sample-rate
// index (2), padding (1), private (1), channel mode (2: stereo, joint stereo, dual channel,
// mono), mode extension (2), copyright (1), original (1), emphasis (2: none, 50/15 ms,
// reserved, CCITT J.17).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace sonarchive::formats {

inline constexpr std::uint8_t kMpegVersion25 = 0;
inline constexpr std::uint8_t kMpegVersion2 = 2;
inline constexpr std::uint8_t kMpegVersion1 = 3;
inline constexpr std::uint8_t kMpegLayer3 = 1;
inline constexpr std::uint8_t kMpegLayer2 = 2;
inline constexpr std::uint8_t kMpegLayer1 = 3;
inline constexpr std::uint8_t kMpegModeStereo = 0;
inline constexpr std::uint8_t kMpegModeDualChannel = 2;
inline constexpr std::uint8_t kMpegModeMono = 3;

// The first frame of a stream. The cleared values of the version, sample-rate, mode and
// emphasis ids are ones the name tables answer with "MPEG ?", no rate, "Unknown", "Unknown".
struct FrameHeader {
    bool Found = false;
    std::int64_t Position = 0;   // offset of the frame inside the window it was found in
    std::uint16_t Size = 0;      // frame length in bytes
    bool XingSignature = false;  // the six bytes after the header are all zero
    std::array<std::uint8_t, 4> Data{};
    std::uint8_t VersionID = 1;
    std::uint8_t LayerID = 0;
    bool ProtectionBit = false;  // the frames carry a CRC (the header bit is 0)
    std::uint16_t BitRateID = 0;
    std::uint16_t SampleRateID = 3;
    bool PaddingBit = false;
    bool PrivateBit = false;
    std::uint8_t ModeID = 4;
    std::uint8_t ModeExtensionID = 4;
    bool CopyrightBit = false;
    bool OriginalBit = false;
    std::uint8_t EmphasisID = 2;
};

// The four bytes at `at` (which must exist) form a header this reader accepts: sync, no
// reserved version, layer, sample rate or emphasis, and neither a free-format (0) nor a bad
// (15) bit-rate index.
bool IsFrameHeader(std::string_view bytes, std::size_t at);

// Decodes the four bytes at `at` into the header fields (Found, Position and Size untouched).
FrameHeader DecodeFrameHeader(std::string_view bytes, std::size_t at);

// Bit rate of the frame's bit-rate index, kbit/s; 0 for reserved values.
std::uint16_t TableBitRate(const FrameHeader& frame);

// Sample rate in Hz; 0 for reserved values.
std::uint32_t SampleRateOf(const FrameHeader& frame);

// 384 for Layer I, 1152 for Layer II and MPEG 1 Layer III, 576 for MPEG 2/2.5 Layer III.
std::uint32_t SamplesPerFrame(const FrameHeader& frame);

// Bytes the padding bit adds: one slot, 4 bytes in Layer I and 1 byte in Layers II and III.
std::uint32_t PaddingSize(const FrameHeader& frame);

// Frame length in bytes from the header's bit rate, sample rate and padding; 0 when the
// header gives no rate.
std::uint32_t FrameLength(const FrameHeader& frame);

}  // namespace sonarchive::formats
