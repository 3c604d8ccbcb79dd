// MPEG audio frames built bit by bit for the tests.
#pragma once

#include <string>
#include <string_view>

namespace sonarchive::formats::testing {

// The fields of a frame header; the defaults give MPEG 1 Layer III, 128 kbit/s, 44100 Hz,
// joint stereo.
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
