// Ogg Vorbis files built byte by byte for unit and robustness tests. The pages are laid out
// here, independently of the pagination code under test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sonarchive::testing {

// Appends the pages of one logical stream.
class OggStreamBuilder {
  public:
    explicit OggStreamBuilder(std::uint32_t serialNumber) : serialNumber_(serialNumber) {}

    // Lays `packets` out on new pages of at most `maxSegments` lacing values; the last page
    // ends with the last packet. Pages on which a packet ends get `granule`, the others the
    // "none" position. The stream's first page gets the "first page" flag.
    void AddPages(const std::vector<std::string>& packets, std::uint64_t granule,
                  std::uint8_t lastPageFlags = 0, std::size_t maxSegments = 255);

    const std::string& Bytes() const { return bytes_; }
    std::uint32_t PageCount() const { return sequence_; }

  private:
    std::uint32_t serialNumber_;
    std::uint32_t sequence_ = 0;
    std::string bytes_;
};

std::string VorbisIdentificationPacket(std::uint8_t channels, std::uint32_t sampleRate,
                                       std::int32_t nominalBitRate);
std::string VorbisCommentPacket(const std::string& vendor, const std::vector<std::string>& fields,
                                const std::string& trailer = "\x01");
std::string VorbisSetupPacket(std::size_t size);

struct TestOggVorbis {
    std::uint8_t channels = 2;
    std::uint32_t sampleRate = 44100;
    std::int32_t nominalBitRate = 128000;
    std::string vendor = "test encoder 1.0";
    std::vector<std::string> fields = {"TITLE=Song", "ARTIST=Band"};
    std::string commentTrailer = "\x01";
    std::size_t headerSegmentsPerPage = 255;  // small values spread the headers over pages
    std::size_t setupSize = 300;
    int audioPages = 3;
    std::uint64_t samplesPerPage = 44100;
    std::uint32_t serialNumber = 0x5EED;
};

// The stream's bytes; audio packets are pseudo-random and the last page ends the stream.
std::string MakeOggVorbis(const TestOggVorbis& layout);

// A minimal ID3v2.3 tag of `size` bytes in total (header included), padded with zeros.
std::string MakeId3v2Tag(std::size_t size);

struct ParsedPage {
    std::uint8_t flags = 0;
    std::uint64_t granule = 0;
    std::uint32_t serial = 0;
    std::uint32_t sequence = 0;
    bool checksumValid = false;
    std::string lacing;
    std::string data;
};

// Splits a stream into its pages with a checksum computed bit by bit; stops at the first bytes
// that are no page.
std::vector<ParsedPage> SplitPages(const std::string& bytes);

// The packets of the pages, joined by their lacing values.
std::vector<std::string> JoinPackets(const std::vector<ParsedPage>& pages);

}  // namespace sonarchive::testing
