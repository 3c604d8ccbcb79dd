// MPEG audio files (MP3, MPEG Layer I and II): the stream figures the catalog keeps, from the
// first frame, its VBR header and the tags around the stream.
#pragma once

#include <cstdint>
#include <string>

#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "formats/mpeg_analysis.h"

namespace sonarchive::formats {

class TMPEGaudio {
  public:
    // The cleared state: nothing analysed, name tables answer "MPEG ?", "Unknown".
    void Reset();

    // Reads both ID3 tags and analyses the stream behind the ID3v2 tag. True when the file was
    // read to the end of the analysis; Frame().Found tells whether a frame was found (without
    // one the object is cleared again). False when a tag read or the file read failed.
    bool Read(const std::string& fileName);

    // A frame was found, 8 <= BitRate() <= 448 and Duration() >= 0.1 s. Callers take the file
    // for MPEG audio only when Read and Valid both say so.
    bool Valid() const;

    std::uint64_t FileLength() const { return fileLength_; }
    // "LAME" with its version, or "GOGO", found near the end of the file.
    const std::string& VendorID() const { return analysis_.VendorID; }
    const VBRData& VBR() const { return analysis_.VBR; }
    const FrameHeader& Frame() const { return analysis_.Frame; }
    const TID3v1& ID3v1() const { return id3v1_; }
    const TID3v2& ID3v2() const { return id3v2_; }

    std::uint8_t VersionID() const { return analysis_.Frame.VersionID; }
    std::uint8_t LayerID() const { return analysis_.Frame.LayerID; }
    std::uint8_t ChannelModeID() const { return analysis_.Frame.ModeID; }
    std::uint8_t EmphasisID() const { return analysis_.Frame.EmphasisID; }
    std::uint32_t SampleRate() const { return SampleRateOf(analysis_.Frame); }
    std::uint16_t BitRate() const { return analysis_.BitRate(); }
    std::int64_t Frames() const { return analysis_.Frames(); }
    double Duration() const { return analysis_.Duration(); }
    MpegEncoderID EncoderID() const { return analysis_.EncoderID(); }
    std::string Encoder() const { return analysis_.Encoder(); }

    // Why the last Read gave false, or why no frame was found.
    const std::string& LastError() const { return lastError_; }

    // Texts of the raw ids; empty text outside the tables.
    static std::string VersionName(int id);
    static std::string LayerName(int id);
    static std::string ChannelModeName(int id);
    static std::string EmphasisName(int id);

  private:
    std::uint64_t fileLength_ = 0;
    MpegStreamAnalysis analysis_;
    TID3v1 id3v1_;
    TID3v2 id3v2_;
    std::string lastError_;
};

}  // namespace sonarchive::formats
