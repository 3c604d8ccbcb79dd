// Monkey's Audio files (.ape, .mac): the header behind an optional ID3v2 tag, the figures
// derived from it, and the tags the file may carry.
#pragma once

#include <cstdint>
#include <string>

#include "formats/ape_tag.h"
#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "formats/monkey_header.h"

namespace sonarchive::formats {

class TMonkey {
  public:
    void Reset();

    // Reads the ID3v1, ID3v2 and APE tags and the header. False when one of them could not be
    // read, or the header states impossible figures (no channels or more than 32, a sample rate
    // of 0 or above 1 536 000 Hz, bits per sample outside 1 to 64, more than 30 days); true
    // otherwise, with Valid() telling whether the header is usable.
    bool Read(const std::string& fileName);

    // The header starts with "MAC ", its sample rate is at least 1 and it has channels.
    bool Valid() const;

    std::uint64_t FileLength() const { return fileLength_; }
    const MonkeyHeader& Header() const { return header_; }
    const TID3v1& ID3v1() const { return id3v1_; }
    const TID3v2& ID3v2() const { return id3v2_; }
    const TAPEtag& APEtag() const { return apeTag_; }

    // The figures below are 0 when the header is not valid.
    std::uint16_t BitsPerSample() const { return Valid() ? header_.BitsPerSample : 0; }
    std::uint32_t BlocksPerFrame() const { return Valid() ? header_.BlocksPerFrame : 0; }
    // Samples per channel: full frames and the final one.
    std::uint64_t Samples() const;
    double Duration() const;

    const std::string& LastError() const { return lastError_; }

    // Version × 1000 as "3.97"; empty for 0.
    static std::string VersionText(std::uint16_t version);
    static std::string ChannelName(unsigned count);
    static std::uint16_t BitsFromFlags(std::uint16_t flags) { return MonkeyBitsFromFlags(flags); }
    // The peak level in percent of full scale for the sample width the flags give; 0 when the
    // flags say no peak level is stored.
    static double PeakPercent(std::uint16_t flags, std::uint32_t peak);

  private:
    std::uint64_t fileLength_ = 0;
    MonkeyHeader header_;
    TID3v1 id3v1_;
    TID3v2 id3v2_;
    TAPEtag apeTag_;
    std::string lastError_;
};

}  // namespace sonarchive::formats
