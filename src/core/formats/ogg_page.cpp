#include "formats/ogg_page.h"

#include <array>

#include "formats/byte_order.h"

namespace sonarchive::formats {
namespace {

constexpr std::size_t kVersionAt = 4;
constexpr std::size_t kFlagsAt = 5;
constexpr std::size_t kGranuleAt = 6;
constexpr std::size_t kSerialAt = 14;
constexpr std::size_t kSequenceAt = 18;
constexpr std::size_t kChecksumAt = 22;
constexpr std::size_t kSegmentCountAt = 26;
constexpr std::uint32_t kCrcPolynomial = 0x04C11DB7;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t r = i << 24;
        for (int bit = 0; bit < 8; ++bit) {
            r = (r & 0x80000000U) != 0 ? (r << 1) ^ kCrcPolynomial : r << 1;
        }
        table[i] = r;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

std::uint32_t UpdateCrc(std::uint32_t crc, std::string_view bytes) {
    for (const char c : bytes) {
        crc = (crc << 8) ^ kCrcTable[((crc >> 24) ^ static_cast<unsigned char>(c)) & 0xFF];
    }
    return crc;
}

void StoreLE32(std::string& bytes, std::size_t at, std::uint32_t value) {
    std::string encoded;
    AppendLE32(encoded, value);
    bytes.replace(at, 4, encoded);
}

void StoreChecksum(std::string& page) {
    StoreLE32(page, kChecksumAt, OggPageChecksum(page));
}

std::string BuildPage(const OggPaginationStart& start, std::uint32_t sequence, std::uint8_t flags,
                      std::uint64_t granule, std::string_view lacing, std::string_view data) {
    std::string page = "OggS";
    page += '\0';  // structure version
    page += static_cast<char>(flags);
    AppendLE32(page, static_cast<std::uint32_t>(granule));
    AppendLE32(page, static_cast<std::uint32_t>(granule >> 32));
    AppendLE32(page, start.serialNumber);
    AppendLE32(page, sequence);
    AppendLE32(page, 0);  // checksum, filled in below
    page += static_cast<char>(lacing.size());
    page += lacing;
    page += data;
    StoreChecksum(page);
    return page;
}

}  // namespace

bool OggPageHeader::HoldsOnePacket() const {
    if (Continued() || lacing.empty()) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < lacing.size(); ++i) {
        if (LacingValue(i) < 255) {
            return false;
        }
    }
    return LacingValue(lacing.size() - 1) < 255;
}

std::optional<OggPageHeader> ParseOggPageHeader(std::string_view bytes, std::uint64_t offset) {
    if (bytes.size() < kOggPageHeaderSize || bytes.substr(0, 4) != "OggS" ||
        bytes[kVersionAt] != 0) {
        return std::nullopt;
    }
    const std::size_t segments = ByteAt(bytes, kSegmentCountAt);
    if (bytes.size() < kOggPageHeaderSize + segments) {
        return std::nullopt;
    }
    OggPageHeader header;
    header.offset = offset;
    header.flags = static_cast<std::uint8_t>(ByteAt(bytes, kFlagsAt));
    header.granulePosition = ReadLE64(bytes, kGranuleAt);
    header.serialNumber = ReadLE32(bytes, kSerialAt);
    header.sequenceNumber = ReadLE32(bytes, kSequenceAt);
    header.checksum = ReadLE32(bytes, kChecksumAt);
    header.lacing = std::string(bytes.substr(kOggPageHeaderSize, segments));
    for (std::size_t i = 0; i < segments; ++i) {
        header.dataSize += header.LacingValue(i);
    }
    return header;
}

std::optional<OggPageHeader> ReadOggPageHeader(const InputFile& file, std::uint64_t offset) {
    auto header =
        ParseOggPageHeader(file.ReadUpTo(offset, kOggPageHeaderSize + kOggMaxSegments), offset);
    if (!header || header->Size() > file.Size() - offset) {
        return std::nullopt;
    }
    return header;
}

std::uint32_t OggCrc(std::string_view bytes) {
    return UpdateCrc(0, bytes);
}

std::uint32_t OggPageChecksum(std::string_view page) {
    static constexpr char kZeroChecksum[4] = {0, 0, 0, 0};
    std::uint32_t crc = UpdateCrc(0, page.substr(0, kChecksumAt));
    crc = UpdateCrc(crc, std::string_view(kZeroChecksum, 4));
    return UpdateCrc(crc, page.substr(kChecksumAt + 4));
}

bool OggPageChecksumValid(std::string_view page) {
    return page.size() >= kOggPageHeaderSize &&
           ReadLE32(page, kChecksumAt) == OggPageChecksum(page);
}

void RenumberOggPage(std::string& page, std::uint32_t sequenceNumber) {
    const bool wasValid = OggPageChecksumValid(page);
    StoreLE32(page, kSequenceAt, sequenceNumber);
    if (wasValid) {
        StoreChecksum(page);
    }
}

std::vector<std::string> PaginateHeaderPackets(const std::vector<std::string>& packets,
                                               const OggPaginationStart& start) {
    std::string lacing;
    std::string data;
    for (const std::string& packet : packets) {
        lacing.append(packet.size() / 255, static_cast<char>(255));
        lacing += static_cast<char>(packet.size() % 255);
        data += packet;
    }
    std::vector<std::string> pages;
    std::size_t dataAt = 0;
    bool continued = false;
    for (std::size_t first = 0; first < lacing.size(); first += kOggMaxSegments) {
        const std::string_view table = std::string_view(lacing).substr(first, kOggMaxSegments);
        std::size_t pageDataSize = 0;
        bool packetEnds = false;
        for (const char value : table) {
            pageDataSize += static_cast<unsigned char>(value);
            packetEnds = packetEnds || static_cast<unsigned char>(value) < 255;
        }
        const bool last = first + table.size() == lacing.size();
        std::uint8_t flags = continued ? kOggContinuedPacket : 0;
        if (last) {
            flags |= start.lastPageFlags;
        }
        pages.push_back(
            BuildPage(start, start.firstSequenceNumber + static_cast<std::uint32_t>(pages.size()),
                      flags, packetEnds ? 0 : kOggNoGranule, table,
                      std::string_view(data).substr(dataAt, pageDataSize)));
        dataAt += pageDataSize;
        continued = static_cast<unsigned char>(table.back()) == 255;
    }
    return pages;
}

}  // namespace sonarchive::formats
