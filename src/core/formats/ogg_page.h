// Ogg pages (RFC 3533): reading page headers with every length checked against the file,
// building pages, and the page checksum.
//
// A page is a 27-byte header, a segment table of up to 255 lacing values and the data those
// values measure. A packet is a run of lacing values of 255 ended by one value below 255; a
// run that reaches the end of the table continues on the stream's next page, which then
// carries the "continued" flag. So a page holds at most 27 + 255 + 255 * 255 bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/file_access.h"

namespace sonarchive::formats {

inline constexpr std::size_t kOggPageHeaderSize = 27;
inline constexpr std::size_t kOggMaxSegments = 255;
inline constexpr std::uint64_t kOggMaxPageSize =
    kOggPageHeaderSize + kOggMaxSegments + kOggMaxSegments * 255;

// Header type flags.
inline constexpr std::uint8_t kOggContinuedPacket = 0x01;
inline constexpr std::uint8_t kOggFirstPage = 0x02;  // "beginning of stream"
inline constexpr std::uint8_t kOggLastPage = 0x04;   // "end of stream"

// Granule position of a page on which no packet ends.
inline constexpr std::uint64_t kOggNoGranule = ~std::uint64_t{0};

struct OggPageHeader {
    std::uint64_t offset = 0;  // where the page starts in the file
    std::uint8_t flags = 0;
    std::uint64_t granulePosition = 0;
    std::uint32_t serialNumber = 0;
    std::uint32_t sequenceNumber = 0;
    std::uint32_t checksum = 0;
    std::string lacing;          // the segment table, one byte per segment
    std::uint64_t dataSize = 0;  // sum of the lacing values

    std::size_t HeaderSize() const { return kOggPageHeaderSize + lacing.size(); }
    std::uint64_t Size() const { return HeaderSize() + dataSize; }
    std::uint64_t DataOffset() const { return offset + HeaderSize(); }
    std::uint64_t End() const { return offset + Size(); }
    std::uint8_t LacingValue(std::size_t segment) const {
        return static_cast<std::uint8_t>(lacing[segment]);
    }
    bool Continued() const { return (flags & kOggContinuedPacket) != 0; }
    bool FirstOfStream() const { return (flags & kOggFirstPage) != 0; }
    // True when the page holds one whole packet and nothing else.
    bool HoldsOnePacket() const;
};

// Parses the header at the start of `bytes` (capture pattern "OggS", structure version 0, the
// whole segment table present). The page's data is not checked; `offset` is recorded as given.
std::optional<OggPageHeader> ParseOggPageHeader(std::string_view bytes, std::uint64_t offset);

// The page header at `offset`, accepted only when the whole page lies inside the file.
std::optional<OggPageHeader> ReadOggPageHeader(const InputFile& file, std::uint64_t offset);

// The page checksum: CRC-32 with generator polynomial 0x04C11DB7, most significant bit first,
// initial value 0 and no final inversion, over the whole page with its checksum field taken as
// zero. `page` must hold at least a page header.
std::uint32_t OggPageChecksum(std::string_view page);

// The plain CRC of the page checksum over any bytes (for tests and checks).
std::uint32_t OggCrc(std::string_view bytes);

bool OggPageChecksumValid(std::string_view page);

// Gives a complete page a new sequence number. A page whose checksum was right gets a new
// right one; a damaged page stays recognisably damaged.
void RenumberOggPage(std::string& page, std::uint32_t sequenceNumber);

struct OggPaginationStart {
    std::uint32_t serialNumber = 0;
    std::uint32_t firstSequenceNumber = 0;
    std::uint8_t lastPageFlags = 0;  // extra flags for the final page (end of stream)
};

// Lays complete packets out on as many pages as they need, at most 255 lacing values a page.
// Pages on which a packet ends carry granule position 0 (these are header packets); pages on
// which none ends carry the "no packet ends here" position.
std::vector<std::string> PaginateHeaderPackets(const std::vector<std::string>& packets,
                                               const OggPaginationStart& start);

}  // namespace sonarchive::formats
