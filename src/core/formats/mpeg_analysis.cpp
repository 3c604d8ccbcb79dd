#include "formats/mpeg_analysis.h"

#include <array>
#include <cmath>
#include <string_view>

#include "formats/name_table.h"

namespace sonarchive::formats {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

MpegEncoderID GuessFromVbrHeader(const VBRData& vbr) {
    const std::string_view vendor = vbr.VendorID;
    MpegEncoderID id = kEncoderUnknown;
    const bool lame = StartsWith(vendor, "LAME");
    const bool gogo = StartsWith(vendor, "GOGO") || StartsWith(vendor, "MPGE");
    if (lame) {
        id = kEncoderLAME;
    }
    if (gogo) {
        id = kEncoderGoGo;
    }
    if ((vbr.ID == "Xing" || vbr.ID == "Info") && !lame && !gogo) {
        id = kEncoderXing;
    }
    if (vbr.ID == "VBRI") {
        id = kEncoderFhG;
    }
    return id;
}

// Habits of the encoders of the time in setting header bits; each later match overrides.
MpegEncoderID GuessFromHeaderBits(const FrameHeader& f, std::string_view vendorID) {
    MpegEncoderID id = f.OriginalBit && f.ProtectionBit ? kEncoderLAME : kEncoderFhG;
    if (TableBitRate(f) <= 160 && f.ModeID == kMpegModeStereo) {
        id = kEncoderBlade;
    }
    if (f.CopyrightBit && f.OriginalBit && !f.ProtectionBit) {
        id = kEncoderXing;
    }
    if (f.XingSignature && f.OriginalBit) {
        id = kEncoderXing;
    }
    if (f.LayerID == kMpegLayer2) {
        id = kEncoderQDesign;
    }
    if (f.ModeID == kMpegModeDualChannel && f.ProtectionBit) {
        id = kEncoderShine;
    }
    if (StartsWith(vendorID, "LAME")) {
        id = kEncoderLAME;
    }
    if (StartsWith(vendorID, "GOGO")) {
        id = kEncoderGoGo;
    }
    return id;
}

}  // namespace

std::string MpegEncoderName(int id) {
    static constexpr std::array<std::string_view, 8> kNames = {
        "Unknown", "Xing", "FhG", "LAME", "Blade", "GoGo", "Shine", "QDesign"};
    return NameAt(kNames, id);
}

std::uint64_t MpegStreamAnalysis::StreamBytes() const {
    const auto position = static_cast<std::uint64_t>(Frame.Position);
    return AudioBytes > position ? AudioBytes - position : 0;
}

std::uint16_t MpegStreamAnalysis::BitRate() const {
    // "Info" marks a constant-bit-rate stream: every header states the exact rate, while the
    // header's byte count also covers the Info frame that its frame count leaves out.
    if (!HasVbrFrameCount() || VBR.ID == "Info") {
        return TableBitRate(Frame);
    }
    // Average frame size less the first frame's padding, turned back into a rate; a header
    // without a byte count leaves the stream's size to stand for it.
    const double bytes = VBR.Bytes > 0 ? VBR.Bytes : static_cast<double>(StreamBytes());
    const double bytesPerFrame = bytes / VBR.Frames - PaddingSize(Frame);
    const double kbps =
        bytesPerFrame * SampleRateOf(Frame) / (SamplesPerFrame(Frame) / 8.0) / 1000.0;
    if (!(kbps > 0)) {
        return 0;
    }
    return kbps >= 65535 ? 65535 : static_cast<std::uint16_t>(std::nearbyint(kbps));
}

std::int64_t MpegStreamAnalysis::Frames() const {
    if (HasVbrFrameCount()) {
        return VBR.Frames;
    }
    if (!Frame.Found || Frame.Size == 0) {
        return 0;
    }
    return static_cast<std::int64_t>(StreamBytes() / Frame.Size);
}

double MpegStreamAnalysis::Duration() const {
    if (!Frame.Found) {
        return 0;
    }
    if (HasVbrFrameCount()) {
        return static_cast<double>(VBR.Frames) * SamplesPerFrame(Frame) / SampleRateOf(Frame);
    }
    const std::uint16_t bitRate = TableBitRate(Frame);
    return bitRate == 0 ? 0 : static_cast<double>(StreamBytes()) * 8 / (bitRate * 1000.0);
}

MpegEncoderID MpegStreamAnalysis::EncoderID() const {
    if (!Frame.Found) {
        return kEncoderUnknown;
    }
    return VBR.Found ? GuessFromVbrHeader(VBR) : GuessFromHeaderBits(Frame, VendorID);
}

std::string MpegStreamAnalysis::Encoder() const {
    const MpegEncoderID id = EncoderID();
    std::string name = MpegEncoderName(id);
    const std::string_view vendor = VendorID.empty() ? VBR.VendorID : VendorID;
    // "LAME3.93" gives "LAME 3.93", "LAME3.100" "LAME 3.100"; "LAMEx.yz" gives "LAME".
    if (id == kEncoderLAME && vendor.size() >= 8 && IsDigit(vendor[4]) && vendor[5] == '.' &&
        IsDigit(vendor[6]) && IsDigit(vendor[7])) {
        name += ' ';
        name += vendor.substr(4);
    }
    return name;
}

}  // namespace sonarchive::formats
