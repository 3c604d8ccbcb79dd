#include "formats/monkey_header.h"

#include "formats/byte_order.h"

namespace sonarchive::formats {
namespace {

constexpr std::uint16_t kFirstDescriptorVersion = 3980;
constexpr std::size_t kOldHeaderSize = 32;
constexpr std::size_t kOldOptionalSize = 8;  // peak level and seek elements
constexpr std::size_t kDescriptorSize = 52;
constexpr std::size_t kNewHeaderSize = 24;

void ParseOldLayout(std::string_view b, MonkeyHeader& h) {
    h.CompressionLevel = ReadLE16(b, 6);
    h.FormatFlags = ReadLE16(b, 8);
    h.Channels = ReadLE16(b, 10);
    h.SampleRate = ReadLE32(b, 12);
    h.HeaderBytes = ReadLE32(b, 16);
    h.TerminatingBytes = ReadLE32(b, 20);
    h.TotalFrames = ReadLE32(b, 24);
    h.FinalFrameBlocks = ReadLE32(b, 28);
    // The optional numbers follow each other: the seek element count moves up when no peak
    // level is stored.
    std::size_t pos = kOldHeaderSize;
    if ((h.FormatFlags & kMonkeyFlagPeakLevel) != 0 && pos + 4 <= b.size()) {
        h.PeakLevel = ReadLE32(b, pos);
        pos += 4;
    }
    if ((h.FormatFlags & kMonkeyFlagSeekElements) != 0 && pos + 4 <= b.size()) {
        h.SeekElements = ReadLE32(b, pos);
    }
    h.BitsPerSample = MonkeyBitsFromFlags(h.FormatFlags);
    h.BlocksPerFrame = MonkeyOldBlocksPerFrame(h.Version, h.CompressionLevel);
}

void ParseNewLayout(std::string_view descriptor, std::string_view header, MonkeyHeader& h) {
    h.SeekElements = ReadLE32(descriptor, 16) / 4;
    h.HeaderBytes = ReadLE32(descriptor, 20);
    h.TerminatingBytes = ReadLE32(descriptor, 32);
    h.CompressionLevel = ReadLE16(header, 0);
    h.FormatFlags = ReadLE16(header, 2);
    h.BlocksPerFrame = ReadLE32(header, 4);
    h.FinalFrameBlocks = ReadLE32(header, 8);
    h.TotalFrames = ReadLE32(header, 12);
    h.BitsPerSample = ReadLE16(header, 16);
    h.Channels = ReadLE16(header, 18);
    h.SampleRate = ReadLE32(header, 20);
}

}  // namespace

std::optional<MonkeyHeader> ReadMonkeyHeader(const InputFile& file, std::uint64_t offset) {
    // One read covers the old header with its optional numbers and a descriptor with the
    // header right behind it.
    const auto bytes = file.ReadAvailable(offset, kDescriptorSize + kNewHeaderSize);
    if (!bytes) {
        return std::nullopt;
    }
    MonkeyHeader h;
    if (bytes->size() < kOldHeaderSize || bytes->compare(0, 4, "MAC ") != 0) {
        return h;
    }
    h.Version = ReadLE16(*bytes, 4);
    if (h.Version < kFirstDescriptorVersion) {
        ParseOldLayout(std::string_view(*bytes).substr(0, kOldHeaderSize + kOldOptionalSize), h);
        h.ID = "MAC ";
        return h;
    }
    if (bytes->size() < kDescriptorSize) {
        return MonkeyHeader();
    }
    const std::uint32_t descriptorBytes = ReadLE32(*bytes, 8);
    if (descriptorBytes < kDescriptorSize) {
        return MonkeyHeader();
    }
    std::string header;
    if (descriptorBytes + kNewHeaderSize <= bytes->size()) {
        header = bytes->substr(descriptorBytes, kNewHeaderSize);
    } else {
        const auto more = file.ReadAvailable(offset + descriptorBytes, kNewHeaderSize);
        if (!more) {
            return std::nullopt;
        }
        if (more->size() < kNewHeaderSize) {
            return MonkeyHeader();
        }
        header = *more;
    }
    ParseNewLayout(*bytes, header, h);
    h.ID = "MAC ";
    return h;
}

std::uint16_t MonkeyBitsFromFlags(std::uint16_t flags) {
    if ((flags & kMonkeyFlag24Bit) != 0) {
        return 24;
    }
    return (flags & kMonkeyFlag8Bit) != 0 ? 8 : 16;
}

std::uint32_t MonkeyOldBlocksPerFrame(std::uint16_t version, std::uint16_t compressionLevel) {
    if (version >= 3950) {
        return 294912;
    }
    if (version >= 3900 || (version >= 3800 && compressionLevel == 4000)) {
        return 73728;
    }
    return 9216;
}

}  // namespace sonarchive::formats
