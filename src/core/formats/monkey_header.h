// The header of a Monkey's Audio (.ape, .mac) file.
//
// Two layouts exist, told apart by the version number at offset 4 (version × 1000):
// - before 3.98: one 32-byte header ("MAC ", version, compression level, format flags,
//   channels, sample rate, WAV header bytes, WAV terminating bytes, total frames, blocks in the
//   final frame), followed by the peak level when format flag 4 is set and the number of seek
//   elements when format flag 16 is set;
// - 3.98 and later: a descriptor ("MAC ", version, padding, descriptor bytes, header bytes,
//   seek table bytes, WAV header bytes, frame data bytes (low, high), WAV terminating bytes,
//   MD5) followed, at the descriptor's size, by the header (compression level, format flags,
//   blocks per frame, blocks in the final frame, total frames, bits per sample, channels,
//   sample rate).
// All numbers are little-endian.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "formats/file_access.h"

namespace sonarchive::formats {

struct MonkeyHeader {
    std::string ID;  // "MAC " for a header that was read; empty otherwise
    std::uint16_t Version = 0;
    std::uint16_t CompressionLevel = 0;  // 1000 fast ... 4000 extra high, 5000 insane
    std::uint16_t FormatFlags = 0;
    std::uint16_t Channels = 0;
    std::uint32_t SampleRate = 0;
    std::uint32_t HeaderBytes = 0;       // bytes of the original WAV header kept in the file
    std::uint32_t TerminatingBytes = 0;  // bytes of the original WAV file's end kept
    std::uint32_t TotalFrames = 0;
    std::uint32_t FinalFrameBlocks = 0;  // samples (per channel) in the final frame
    std::uint32_t PeakLevel = 0;         // 0 unless format flag 4 is set (old layout only)
    std::uint32_t SeekElements = 0;
    std::uint16_t BitsPerSample = 0;
    std::uint32_t BlocksPerFrame = 0;
};

inline constexpr std::uint16_t kMonkeyFlag8Bit = 1;
inline constexpr std::uint16_t kMonkeyFlagPeakLevel = 4;
inline constexpr std::uint16_t kMonkeyFlag24Bit = 8;
inline constexpr std::uint16_t kMonkeyFlagSeekElements = 16;

// Reads the header that starts at `offset`. Nothing on an I/O error; a header whose ID is
// empty when the bytes there are not a complete Monkey's Audio header.
std::optional<MonkeyHeader> ReadMonkeyHeader(const InputFile& file, std::uint64_t offset);

// Sample width the old layout gives through its format flags: 24 with flag 8, 8 with flag 1,
// else 16.
std::uint16_t MonkeyBitsFromFlags(std::uint16_t flags);

// Blocks per frame of the old layout, which does not store it: 294912 from version 3.95,
// 73728 from 3.90 or from 3.80 at compression level 4000, else 9216.
std::uint32_t MonkeyOldBlocksPerFrame(std::uint16_t version, std::uint16_t compressionLevel);

}  // namespace sonarchive::formats
