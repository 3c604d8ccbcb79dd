#include "ogg_test_files.h"

#include "support/test_support.h"

namespace sonarchive::testing {
namespace {

void PutLE(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint64_t GetLE(const std::string& in, std::size_t at, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

// The Ogg CRC computed one bit at a time, as a reference for the table-driven one.
std::uint32_t BitwiseOggCrc(const std::string& bytes) {
    std::uint32_t crc = 0;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000U) != 0 ? (crc << 1) ^ 0x04C11DB7U : crc << 1;
        }
    }
    return crc;
}

}  // namespace

void OggStreamBuilder::AddPages(const std::vector<std::string>& packets, std::uint64_t granule,
                                std::uint8_t lastPageFlags, std::size_t maxSegments) {
    std::string lacing;
    std::string data;
    for (const std::string& packet : packets) {
        lacing.append(packet.size() / 255, '\xFF');
        lacing += static_cast<char>(packet.size() % 255);
        data += packet;
    }
    std::size_t dataAt = 0;
    bool continued = false;
    for (std::size_t first = 0; first < lacing.size(); first += maxSegments) {
        const std::string table = lacing.substr(first, maxSegments);
        std::size_t size = 0;
        bool ends = false;
        for (const char v : table) {
            size += static_cast<unsigned char>(v);
            ends = ends || static_cast<unsigned char>(v) != 255;
        }
        std::uint8_t flags = continued ? 0x01 : 0;
        flags |= sequence_ == 0 ? 0x02 : 0;
        flags |= first + maxSegments >= lacing.size() ? lastPageFlags : 0;
        std::string page = "OggS";
        page += '\0';
        page += static_cast<char>(flags);
        PutLE(page, ends ? granule : ~std::uint64_t{0}, 8);
        PutLE(page, serialNumber_, 4);
        PutLE(page, sequence_++, 4);
        PutLE(page, 0, 4);
        page += static_cast<char>(table.size());
        page += table;
        page += data.substr(dataAt, size);
        const std::uint32_t crc = BitwiseOggCrc(page);
        std::string crcBytes;
        PutLE(crcBytes, crc, 4);
        page.replace(22, 4, crcBytes);
        bytes_ += page;
        dataAt += size;
        continued = static_cast<unsigned char>(table.back()) == 255;
    }
}

std::string VorbisIdentificationPacket(std::uint8_t channels, std::uint32_t sampleRate,
                                       std::int32_t nominalBitRate) {
    std::string p("\x01vorbis", 7);
    PutLE(p, 0, 4);  // version
    p += static_cast<char>(channels);
    PutLE(p, sampleRate, 4);
    PutLE(p, 0, 4);
    PutLE(p, static_cast<std::uint32_t>(nominalBitRate), 4);
    PutLE(p, 0, 4);
    p += '\xB8';  // block sizes 256 and 2048
    p += '\x01';  // framing
    return p;
}

std::string VorbisCommentPacket(const std::string& vendor, const std::vector<std::string>& fields,
                                const std::string& trailer) {
    std::string p("\x03vorbis", 7);
    PutLE(p, vendor.size(), 4);
    p += vendor;
    PutLE(p, fields.size(), 4);
    for (const std::string& field : fields) {
        PutLE(p, field.size(), 4);
        p += field;
    }
    return p + trailer;
}

std::string VorbisSetupPacket(std::size_t size) {
    std::string p("\x05vorbis", 7);
    return p + RandomBytes(size > 7 ? size - 7 : 0, 99);
}

std::string MakeOggVorbis(const TestOggVorbis& layout) {
    OggStreamBuilder stream(layout.serialNumber);
    stream.AddPages(
        {VorbisIdentificationPacket(layout.channels, layout.sampleRate, layout.nominalBitRate)}, 0);
    stream.AddPages({VorbisCommentPacket(layout.vendor, layout.fields, layout.commentTrailer),
                     VorbisSetupPacket(layout.setupSize)},
                    0, 0, layout.headerSegmentsPerPage);
    for (int i = 1; i <= layout.audioPages; ++i) {
        std::vector<std::string> packets;
        for (unsigned p = 0; p < 4; ++p) {
            packets.push_back(RandomBytes(200 + 50 * p, static_cast<unsigned>(i) * 10 + p));
        }
        stream.AddPages(packets, layout.samplesPerPage * static_cast<std::uint64_t>(i),
                        i == layout.audioPages ? 0x04 : 0);
    }
    return stream.Bytes();
}

std::string MakeId3v2Tag(std::size_t size) {
    const std::size_t body = size - 10;
    std::string tag("ID3\x03\x00\x00", 6);
    tag += static_cast<char>((body >> 21) & 0x7F);
    tag += static_cast<char>((body >> 14) & 0x7F);
    tag += static_cast<char>((body >> 7) & 0x7F);
    tag += static_cast<char>(body & 0x7F);
    std::string frame = "TIT2";
    const std::string text("\x00ID3 title", 10);
    frame += std::string("\x00\x00\x00", 3) + static_cast<char>(text.size()) + std::string(2, '\0');
    frame += text;
    return tag + frame + std::string(body - frame.size(), '\0');
}

std::vector<ParsedPage> SplitPages(const std::string& bytes) {
    std::vector<ParsedPage> pages;
    std::size_t at = 0;
    while (at + 27 <= bytes.size() && bytes.compare(at, 4, "OggS") == 0) {
        const std::size_t segments = static_cast<unsigned char>(bytes[at + 26]);
        if (at + 27 + segments > bytes.size()) {
            break;
        }
        ParsedPage page;
        page.flags = static_cast<std::uint8_t>(bytes[at + 5]);
        page.granule = GetLE(bytes, at + 6, 8);
        page.serial = static_cast<std::uint32_t>(GetLE(bytes, at + 14, 4));
        page.sequence = static_cast<std::uint32_t>(GetLE(bytes, at + 18, 4));
        page.lacing = bytes.substr(at + 27, segments);
        std::size_t size = 0;
        for (const char v : page.lacing) {
            size += static_cast<unsigned char>(v);
        }
        if (at + 27 + segments + size > bytes.size()) {
            break;
        }
        page.data = bytes.substr(at + 27 + segments, size);
        std::string zeroed = bytes.substr(at, 27 + segments + size);
        zeroed.replace(22, 4, std::string(4, '\0'));
        page.checksumValid = BitwiseOggCrc(zeroed) == GetLE(bytes, at + 22, 4);
        pages.push_back(page);
        at += 27 + segments + size;
    }
    return pages;
}

std::vector<std::string> JoinPackets(const std::vector<ParsedPage>& pages) {
    std::vector<std::string> packets;
    std::string current;
    for (const ParsedPage& page : pages) {
        std::size_t at = 0;
        for (const char v : page.lacing) {
            const auto length = static_cast<unsigned char>(v);
            current += page.data.substr(at, length);
            at += length;
            if (length < 255) {
                packets.push_back(current);
                current.clear();
            }
        }
    }
    return packets;
}

}  // namespace sonarchive::testing
