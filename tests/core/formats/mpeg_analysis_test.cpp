#include "formats/mpeg_analysis.h"

#include <gtest/gtest.h>

#include "format_bytes.h"

namespace sonarchive::formats {
namespace {

using testing::HeaderBits;

MpegStreamAnalysis Found(const HeaderBits& bits, std::uint64_t audioBytes) {
    MpegStreamAnalysis a;
    a.Frame = DecodeFrameHeader(bits.Bytes(), 0);
    a.Frame.Found = true;
    a.Frame.Size = static_cast<std::uint16_t>(FrameLength(a.Frame));
    a.AudioBytes = audioBytes;
    return a;
}

VBRData Vbr(std::string_view id, std::int32_t frames, std::int32_t bytes,
            std::string_view vendor = "") {
    VBRData vbr;
    vbr.Found = true;
    vbr.ID = std::string(id);
    vbr.Frames = frames;
    vbr.Bytes = bytes;
    vbr.VendorID = std::string(vendor);
    return vbr;
}

TEST(MpegFigures, ConstantBitRateFromTheFirstFrame) {
    MpegStreamAnalysis a = Found(HeaderBits(), 417 * 100 + 10);
    EXPECT_EQ(a.BitRate(), 128);
    EXPECT_EQ(a.Frames(), 100);
    EXPECT_DOUBLE_EQ(a.Duration(), (417.0 * 100 + 10) * 8 / 128000);
    // The position of the frame in its window is not audio.
    a.Frame.Position = 10;
    EXPECT_EQ(a.Frames(), 100);
    EXPECT_DOUBLE_EQ(a.Duration(), 417.0 * 100 * 8 / 128000);

    const MpegStreamAnalysis none;
    EXPECT_EQ(none.Duration(), 0);
    EXPECT_EQ(none.Frames(), 0);
    EXPECT_EQ(none.BitRate(), 0);
}

TEST(MpegFigures, VariableBitRateFromTheHeaderCounts) {
    MpegStreamAnalysis a = Found(HeaderBits(), 5000000);
    a.VBR = Vbr("Xing", 1000, 400000);
    // 400 bytes per frame at 44100 Hz: 122.5 kbit/s, rounded half to even.
    EXPECT_EQ(a.BitRate(), 122);
    EXPECT_EQ(a.Frames(), 1000);
    EXPECT_DOUBLE_EQ(a.Duration(), 1000.0 * 1152 / 44100);

    HeaderBits padded;
    padded.sampleRate = 1;  // 48000 Hz
    padded.padding = true;
    a = Found(padded, 5000000);
    a.VBR = Vbr("VBRI", 2, 743);  // (371.5 - 1) * 48000 / 144000 = 123.5
    EXPECT_EQ(a.BitRate(), 124);

    // MPEG 2 Layer III frames hold 576 samples.
    HeaderBits mpeg2;
    mpeg2.version = 2;
    mpeg2.bitRate = 8;
    a = Found(mpeg2, 100000);
    a.VBR = Vbr("Xing", 500, 100000);
    EXPECT_DOUBLE_EQ(a.Duration(), 500.0 * 576 / 22050);
    EXPECT_EQ(a.BitRate(), 61);  // 200 bytes per frame * 22050 / 72 / 1000 = 61.25

    // A constant-bit-rate stream's Info header counts frames; its rate is the header's.
    a.VBR = Vbr("Info", 500, 100000);
    EXPECT_EQ(a.BitRate(), 64);
    EXPECT_EQ(a.Frames(), 500);
    EXPECT_DOUBLE_EQ(a.Duration(), 500.0 * 576 / 22050);
}

TEST(MpegFigures, AHeaderWithoutCountsFallsBackToTheFirstFrame) {
    MpegStreamAnalysis a = Found(HeaderBits(), 417 * 50);
    a.VBR = Vbr("Xing", 0, 0);
    EXPECT_EQ(a.BitRate(), 128);
    EXPECT_EQ(a.Frames(), 50);
    EXPECT_DOUBLE_EQ(a.Duration(), 417.0 * 50 * 8 / 128000);

    // A frame count without a byte count: the stream's size stands in.
    a.VBR = Vbr("Xing", 100, 0);
    EXPECT_EQ(a.Frames(), 100);
    EXPECT_EQ(a.BitRate(), 64);  // 208.5 bytes per frame
}

TEST(MpegEncoderGuess, FromTheVbrHeader) {
    MpegStreamAnalysis a = Found(HeaderBits(), 1000);
    const auto guess = [&a](std::string_view id, std::string_view vendor) {
        a.VBR = Vbr(id, 10, 1000, vendor);
        return a.EncoderID();
    };
    EXPECT_EQ(guess("Xing", "LAME3.93"), kEncoderLAME);
    EXPECT_EQ(guess("Info", "LAME3.100"), kEncoderLAME);
    EXPECT_EQ(guess("Xing", "GOGO1.0"), kEncoderGoGo);
    EXPECT_EQ(guess("Xing", "MPGE1.0"), kEncoderGoGo);
    EXPECT_EQ(guess("Xing", ""), kEncoderXing);
    EXPECT_EQ(guess("Info", "other"), kEncoderXing);
    EXPECT_EQ(guess("VBRI", ""), kEncoderFhG);
    EXPECT_EQ(MpegStreamAnalysis().EncoderID(), kEncoderUnknown);
    EXPECT_EQ(MpegStreamAnalysis().Encoder(), "Unknown");
}

TEST(MpegEncoderGuess, FromTheHeaderBitsAndTheSignatureAtTheEnd) {
    const auto guess = [](auto change, std::string_view vendor = "") {
        HeaderBits bits;
        bits.bitRate = 11;  // 192 kbit/s, so that Blade's rule does not apply by default
        change(bits);
        MpegStreamAnalysis a = Found(bits, 1000);
        a.VendorID = std::string(vendor);
        return a.EncoderID();
    };
    EXPECT_EQ(guess([](HeaderBits&) {}), kEncoderFhG);
    EXPECT_EQ(guess([](HeaderBits& b) { b.original = b.crc = true; }), kEncoderLAME);
    EXPECT_EQ(guess([](HeaderBits& b) { b.bitRate = 9, b.mode = 0; }), kEncoderBlade);
    EXPECT_EQ(guess([](HeaderBits& b) { b.bitRate = 9; }), kEncoderFhG);  // joint stereo
    EXPECT_EQ(guess([](HeaderBits& b) { b.copyright = b.original = true; }), kEncoderXing);
    EXPECT_EQ(guess([](HeaderBits& b) { b.layer = 2; }), kEncoderQDesign);
    EXPECT_EQ(guess([](HeaderBits& b) { b.mode = 2, b.crc = true; }), kEncoderShine);
    EXPECT_EQ(guess([](HeaderBits& b) { b.layer = 2; }, "LAME3.70"), kEncoderLAME);
    EXPECT_EQ(guess([](HeaderBits&) {}, "GOGO"), kEncoderGoGo);

    MpegStreamAnalysis a = Found(HeaderBits(), 1000);
    a.Frame.OriginalBit = a.Frame.XingSignature = true;
    EXPECT_EQ(a.EncoderID(), kEncoderXing);
}

TEST(MpegEncoderGuess, EncoderTextCarriesLameVersions) {
    MpegStreamAnalysis a = Found(HeaderBits(), 1000);
    const auto text = [&a](std::string_view vbrVendor, std::string_view endVendor) {
        a.VBR = Vbr("Xing", 10, 1000, vbrVendor);
        a.VendorID = std::string(endVendor);
        return a.Encoder();
    };
    EXPECT_EQ(text("LAME3.93", ""), "LAME 3.93");
    EXPECT_EQ(text("LAMEx.yz", ""), "LAME");
    EXPECT_EQ(text("LAME3.100", ""), "LAME 3.100");
    EXPECT_EQ(text("LAME3.99", ""), "LAME 3.99");
    EXPECT_EQ(text("LAME3.9", ""), "LAME");
    EXPECT_EQ(text("LAME3.93", "LAME3.96"), "LAME 3.96");  // the signature at the end wins
    EXPECT_EQ(text("GOGO3.93", ""), "GoGo");
    EXPECT_EQ(MpegEncoderName(7), "QDesign");
    EXPECT_EQ(MpegEncoderName(8), "");
    EXPECT_EQ(MpegEncoderName(-1), "");
}

}  // namespace
}  // namespace sonarchive::formats
