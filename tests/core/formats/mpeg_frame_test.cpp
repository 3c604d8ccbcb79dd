#include "formats/mpeg_frame.h"

#include <gtest/gtest.h>

#include "format_bytes.h"

namespace sonarchive::formats {
namespace {

using testing::HeaderBits;

FrameHeader Decode(const HeaderBits& bits) {
    return DecodeFrameHeader(bits.Bytes(), 0);
}

TEST(MpegFrameHeader, DecodesEveryField) {
    HeaderBits bits;
    bits.version = 2;
    bits.layer = 2;
    bits.crc = true;
    bits.bitRate = 14;
    bits.sampleRate = 1;
    bits.padding = true;
    bits.privateBit = true;
    bits.mode = 2;
    bits.modeExtension = 3;
    bits.copyright = true;
    bits.original = true;
    bits.emphasis = 3;
    const FrameHeader f = Decode(bits);
    EXPECT_EQ(f.VersionID, kMpegVersion2);
    EXPECT_EQ(f.LayerID, kMpegLayer2);
    EXPECT_TRUE(f.ProtectionBit);
    EXPECT_EQ(f.BitRateID, 14);
    EXPECT_EQ(f.SampleRateID, 1);
    EXPECT_TRUE(f.PaddingBit);
    EXPECT_TRUE(f.PrivateBit);
    EXPECT_EQ(f.ModeID, 2);
    EXPECT_EQ(f.ModeExtensionID, 3);
    EXPECT_TRUE(f.CopyrightBit);
    EXPECT_TRUE(f.OriginalBit);
    EXPECT_EQ(f.EmphasisID, 3);
    EXPECT_EQ(f.Data[0], 0xFF);
    EXPECT_EQ(TableBitRate(f), 160);
    EXPECT_EQ(SampleRateOf(f), 24000u);

    const FrameHeader plain = Decode(HeaderBits());
    EXPECT_FALSE(plain.ProtectionBit);
    EXPECT_FALSE(plain.PaddingBit || plain.PrivateBit || plain.CopyrightBit || plain.OriginalBit);

    // The cleared state answers "not analysed" through the name tables.
    const FrameHeader cleared;
    EXPECT_EQ(cleared.VersionID, 1);
    EXPECT_EQ(cleared.SampleRateID, 3);
    EXPECT_EQ(cleared.ModeID, 4);
    EXPECT_EQ(cleared.ModeExtensionID, 4);
    EXPECT_EQ(cleared.EmphasisID, 2);
    EXPECT_EQ(SampleRateOf(cleared), 0u);
    EXPECT_EQ(FrameLength(cleared), 0u);
}

TEST(MpegFrameHeader, AcceptsOnlyHeadersThatCanStartAStream) {
    EXPECT_TRUE(IsFrameHeader(HeaderBits().Bytes(), 0));
    const auto rejected = [](auto change) {
        HeaderBits bits;
        change(bits);
        return !IsFrameHeader(bits.Bytes(), 0);
    };
    EXPECT_TRUE(rejected([](HeaderBits& b) { b.version = 1; }));
    EXPECT_TRUE(rejected([](HeaderBits& b) { b.layer = 0; }));
    EXPECT_TRUE(rejected([](HeaderBits& b) { b.bitRate = 15; }));
    EXPECT_TRUE(rejected([](HeaderBits& b) { b.bitRate = 0; }));  // free format
    EXPECT_TRUE(rejected([](HeaderBits& b) { b.sampleRate = 3; }));
    EXPECT_TRUE(rejected([](HeaderBits& b) { b.emphasis = 2; }));
    std::string bytes = HeaderBits().Bytes();
    bytes[0] = '\xfe';
    EXPECT_FALSE(IsFrameHeader(bytes, 0));
    bytes = HeaderBits().Bytes();
    bytes[1] = static_cast<char>(bytes[1] & 0xDF);  // one sync bit missing
    EXPECT_FALSE(IsFrameHeader(bytes, 0));
}

TEST(MpegFrameHeader, TablesOfRatesAndFrameLengths) {
    const auto frame = [](int version, int layer, int bitRate, int sampleRate, bool padding) {
        HeaderBits bits;
        bits.version = version;
        bits.layer = layer;
        bits.bitRate = bitRate;
        bits.sampleRate = sampleRate;
        bits.padding = padding;
        return Decode(bits);
    };
    // MPEG 1 Layer III, 128 kbit/s, 44100 Hz: 144 * 128000 / 44100 = 417.9.
    EXPECT_EQ(FrameLength(frame(3, 1, 9, 0, false)), 417u);
    EXPECT_EQ(FrameLength(frame(3, 1, 9, 0, true)), 418u);
    EXPECT_EQ(TableBitRate(frame(3, 1, 14, 0, false)), 320);
    // MPEG 2 Layer III, 64 kbit/s, 22050 Hz: 72 * 64000 / 22050 = 208.9.
    EXPECT_EQ(TableBitRate(frame(2, 1, 8, 0, false)), 64);
    EXPECT_EQ(FrameLength(frame(2, 1, 8, 0, false)), 208u);
    EXPECT_EQ(SamplesPerFrame(frame(2, 1, 8, 0, false)), 576u);
    // MPEG 2.5 Layer III, 8 kbit/s, 8000 Hz.
    EXPECT_EQ(SampleRateOf(frame(0, 1, 1, 2, false)), 8000u);
    EXPECT_EQ(FrameLength(frame(0, 1, 1, 2, false)), 72u);
    // Layer II: 144 bytes per kbit/s and Hz in every version; MPEG 1 384 kbit/s at 48 kHz.
    EXPECT_EQ(TableBitRate(frame(3, 2, 14, 1, false)), 384);
    EXPECT_EQ(FrameLength(frame(3, 2, 14, 1, false)), 1152u);
    EXPECT_EQ(FrameLength(frame(2, 2, 14, 2, true)), 1441u);  // 160 kbit/s at 16 kHz
    // Layer I counts 4-byte slots: (12 * 32000 / 44100 = 8.7 -> 8) * 4, padding one slot.
    EXPECT_EQ(FrameLength(frame(3, 3, 1, 0, false)), 32u);
    EXPECT_EQ(FrameLength(frame(3, 3, 1, 0, true)), 36u);
    EXPECT_EQ(TableBitRate(frame(3, 3, 14, 0, false)), 448);
    // MPEG 2 Layer I has 384 samples too: (12 * 32000 / 22050 = 17.4 -> 17) * 4.
    EXPECT_EQ(FrameLength(frame(2, 3, 1, 0, false)), 68u);
    EXPECT_EQ(TableBitRate(frame(2, 3, 14, 0, false)), 256);
    EXPECT_EQ(SamplesPerFrame(frame(2, 3, 1, 0, false)), 384u);
    // Reserved version: no rates at all.
    EXPECT_EQ(TableBitRate(frame(1, 1, 9, 0, false)), 0);
    EXPECT_EQ(SampleRateOf(frame(1, 1, 9, 0, false)), 0u);
}

}  // namespace
}  // namespace sonarchive::formats
