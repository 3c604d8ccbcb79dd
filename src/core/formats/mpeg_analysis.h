// What the analysis of an MPEG audio stream found, and the figures derived from it: bit rate,
// frame count, playing time and a guess of the encoder that made the file.
#pragma once

#include <cstdint>
#include <string>

#include "formats/mpeg_frame.h"

namespace sonarchive::formats {

// The VBR header of the first frame.
struct VBRData {
    bool Found = false;
    // "Xing", "Info" (the same header in constant-bit-rate files) or "VBRI".
    std::string ID;
    std::int32_t Frames = 0;  // 0 when the header stores no usable count
    std::int32_t Bytes = 0;   // 0 when the header stores no usable count
    std::uint8_t Scale = 0;   // the quality value
    // The encoder's version text behind a Xing/Info header ("LAME3.93", "LAME3.100"); empty
    // for VBRI.
    std::string VendorID;
};

// Indexes of the encoder name table.
enum MpegEncoderID {
    kEncoderUnknown = 0,
    kEncoderXing = 1,
    kEncoderFhG = 2,
    kEncoderLAME = 3,
    kEncoderBlade = 4,
    kEncoderGoGo = 5,
    kEncoderShine = 6,
    kEncoderQDesign = 7,
};

// "Unknown", "Xing", "FhG", "LAME", "Blade", "GoGo", "Shine", "QDesign"; empty outside.
std::string MpegEncoderName(int id);

struct MpegStreamAnalysis {
    FrameHeader Frame;
    VBRData VBR;
    // "LAME" with its version, or "GOGO", found near the end of the file; searched only when
    // the first frame has no VBR header.
    std::string VendorID;
    // Bytes of the stream between the tags at its start and end.
    std::uint64_t AudioBytes = 0;

    // kbit/s: the average of the VBR header's counts, else (and for a constant-bit-rate "Info"
    // header) the first frame's table bit rate.
    std::uint16_t BitRate() const;
    // The VBR header's frame count, else the stream bytes divided by the first frame's size.
    std::int64_t Frames() const;
    // Seconds; 0 when no frame was found.
    double Duration() const;
    MpegEncoderID EncoderID() const;
    // The encoder name, with LAME's version when it is known ("LAME 3.100").
    std::string Encoder() const;

  private:
    bool HasVbrFrameCount() const { return VBR.Found && VBR.Frames > 0; }
    // Bytes from the first frame to the end of the stream.
    std::uint64_t StreamBytes() const;
};

}  // namespace sonarchive::formats
