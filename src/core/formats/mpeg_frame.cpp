#include "formats/mpeg_frame.h"

#include "formats/byte_order.h"

namespace sonarchive::formats {
namespace {

using BitRateRow = std::array<std::uint16_t, 16>;

// kbit/s by bit-rate index; ISO/IEC 11172-3 for MPEG 1, ISO/IEC 13818-3 for MPEG 2, which
// MPEG 2.5 shares.
constexpr BitRateRow kMpeg1Layer1 = {0,   32,  64,  96,  128, 160, 192, 224,
                                     256, 288, 320, 352, 384, 416, 448, 0};
constexpr BitRateRow kMpeg1Layer2 = {0,   32,  48,  56,  64,  80,  96,  112,
                                     128, 160, 192, 224, 256, 320, 384, 0};
constexpr BitRateRow kMpeg1Layer3 = {0,   32,  40,  48,  56,  64,  80,  96,
                                     112, 128, 160, 192, 224, 256, 320, 0};
constexpr BitRateRow kMpeg2Layer1 = {0,   32,  48,  56,  64,  80,  96,  112,
                                     128, 144, 160, 176, 192, 224, 256, 0};
constexpr BitRateRow kMpeg2Layers2And3 = {0,  8,  16, 24,  32,  40,  48,  56,
                                          64, 80, 96, 112, 128, 144, 160, 0};

constexpr std::array<std::uint32_t, 4> kMpeg1Rates = {44100, 48000, 32000, 0};
constexpr std::array<std::uint32_t, 4> kMpeg2Rates = {22050, 24000, 16000, 0};
constexpr std::array<std::uint32_t, 4> kMpeg25Rates = {11025, 12000, 8000, 0};

bool IsReservedVersion(std::uint8_t versionID) {
    return versionID != kMpegVersion1 && versionID != kMpegVersion2 && versionID != kMpegVersion25;
}

}  // namespace

bool IsFrameHeader(std::string_view bytes, std::size_t at) {
    const std::uint32_t b0 = ByteAt(bytes, at);
    const std::uint32_t b1 = ByteAt(bytes, at + 1);
    const std::uint32_t b2 = ByteAt(bytes, at + 2);
    const std::uint32_t b3 = ByteAt(bytes, at + 3);
    const std::uint32_t bitRate = b2 >> 4;
    return b0 == 0xFF && (b1 & 0xE0) == 0xE0 && ((b1 >> 3) & 3) != 1 && ((b1 >> 1) & 3) != 0 &&
           bitRate != 15 && bitRate != 0 && ((b2 >> 2) & 3) != 3 && (b3 & 3) != 2;
}

FrameHeader DecodeFrameHeader(std::string_view bytes, std::size_t at) {
    FrameHeader f;
    for (std::size_t i = 0; i < 4; ++i) {
        f.Data[i] = static_cast<std::uint8_t>(ByteAt(bytes, at + i));
    }
    const std::uint8_t b1 = f.Data[1];
    const std::uint8_t b2 = f.Data[2];
    const std::uint8_t b3 = f.Data[3];
    f.VersionID = (b1 >> 3) & 3;
    f.LayerID = (b1 >> 1) & 3;
    f.ProtectionBit = (b1 & 1) == 0;
    f.BitRateID = b2 >> 4;
    f.SampleRateID = (b2 >> 2) & 3;
    f.PaddingBit = (b2 & 2) != 0;
    f.PrivateBit = (b2 & 1) != 0;
    f.ModeID = b3 >> 6;
    f.ModeExtensionID = (b3 >> 4) & 3;
    f.CopyrightBit = (b3 & 8) != 0;
    f.OriginalBit = (b3 & 4) != 0;
    f.EmphasisID = b3 & 3;
    return f;
}

std::uint16_t TableBitRate(const FrameHeader& frame) {
    if (IsReservedVersion(frame.VersionID) || frame.BitRateID > 15) {
        return 0;
    }
    const bool mpeg1 = frame.VersionID == kMpegVersion1;
    switch (frame.LayerID) {
        case kMpegLayer1:
            return (mpeg1 ? kMpeg1Layer1 : kMpeg2Layer1)[frame.BitRateID];
        case kMpegLayer2:
            return (mpeg1 ? kMpeg1Layer2 : kMpeg2Layers2And3)[frame.BitRateID];
        case kMpegLayer3:
            return (mpeg1 ? kMpeg1Layer3 : kMpeg2Layers2And3)[frame.BitRateID];
        default:
            return 0;
    }
}

std::uint32_t SampleRateOf(const FrameHeader& frame) {
    if (frame.SampleRateID > 3) {
        return 0;
    }
    switch (frame.VersionID) {
        case kMpegVersion1:
            return kMpeg1Rates[frame.SampleRateID];
        case kMpegVersion2:
            return kMpeg2Rates[frame.SampleRateID];
        case kMpegVersion25:
            return kMpeg25Rates[frame.SampleRateID];
        default:
            return 0;
    }
}

std::uint32_t SamplesPerFrame(const FrameHeader& frame) {
    switch (frame.LayerID) {
        case kMpegLayer1:
            return 384;
        case kMpegLayer2:
            return 1152;
        case kMpegLayer3:
            return frame.VersionID == kMpegVersion1 ? 1152 : 576;
        default:
            return 0;
    }
}

std::uint32_t PaddingSize(const FrameHeader& frame) {
    if (!frame.PaddingBit) {
        return 0;
    }
    return frame.LayerID == kMpegLayer1 ? 4 : 1;
}

std::uint32_t FrameLength(const FrameHeader& frame) {
    const std::uint32_t sampleRate = SampleRateOf(frame);
    if (sampleRate == 0) {
        return 0;
    }
    const std::uint32_t bitsPerSecond = TableBitRate(frame) * 1000u;
    // A frame carries SamplesPerFrame samples at the bit rate, counted in slots: 4-byte slots
    // in Layer I, bytes otherwise.
    if (frame.LayerID == kMpegLayer1) {
        return (12 * bitsPerSecond / sampleRate) * 4 + PaddingSize(frame);
    }
    return SamplesPerFrame(frame) / 8 * bitsPerSecond / sampleRate + PaddingSize(frame);
}

}  // namespace sonarchive::formats
