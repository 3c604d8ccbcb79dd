// Figures no recording has. A header that states them is damaged (or was never a header), and
// its file must not enter the catalog with a length of decades or thousands of channels.
#pragma once

#include <cstdint>

namespace sonarchive::formats {

inline constexpr unsigned kMaxChannels = 32;
inline constexpr std::uint32_t kMaxSampleRate = 1536000;  // eight times 192 kHz
inline constexpr unsigned kMaxBitsPerSample = 64;
inline constexpr double kMaxPlayingSeconds = 30.0 * 24 * 60 * 60;

// Channels 1 to 32, a sample rate of 1 to 1 536 000 Hz, 1 to 64 bits per sample (0 allowed
// where `bitsMayBeZero`: compressed streams such as MPEG audio in a WAV file state none) and a
// playing time of at most 30 days.
inline bool PlausibleStream(unsigned channels, std::uint32_t sampleRate, unsigned bitsPerSample,
                            double seconds, bool bitsMayBeZero = false) {
    return channels >= 1 && channels <= kMaxChannels && sampleRate >= 1 &&
           sampleRate <= kMaxSampleRate && (bitsPerSample >= 1 || bitsMayBeZero) &&
           bitsPerSample <= kMaxBitsPerSample && seconds <= kMaxPlayingSeconds;
}

}  // namespace sonarchive::formats
