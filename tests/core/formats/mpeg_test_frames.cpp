#include "mpeg_test_frames.h"

namespace sonarchive::formats::testing {

std::string HeaderBits::Bytes() const {
    std::string b(4, '\0');
    b[0] = '\xff';
    b[1] = static_cast<char>(0xE0 | (version << 3) | (layer << 1) | (crc ? 0 : 1));
    b[2] = static_cast<char>((bitRate << 4) | (sampleRate << 2) | (padding ? 2 : 0) |
                             (privateBit ? 1 : 0));
    b[3] = static_cast<char>((mode << 6) | (modeExtension << 4) | (copyright ? 8 : 0) |
                             (original ? 4 : 0) | emphasis);
    return b;
}

std::string Frame(const HeaderBits& header, std::size_t length, std::string_view body) {
    std::string frame = header.Bytes() + std::string(body);
    frame.resize(length, '\x55');
    return frame;
}

std::string Frames(const HeaderBits& header, std::size_t length, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += Frame(header, length);
    }
    return out;
}

}  // namespace sonarchive::formats::testing
