#include "formats/ogg_vorbis_stream.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "formats/byte_order.h"
#include "formats/id3v2_header.h"
#include "formats/ogg_packet_reader.h"

namespace sonarchive::formats {
namespace {

constexpr std::string_view kIdentificationId("\x01vorbis", 7);
constexpr std::size_t kIdentificationSize = 30;

// Usual last pages are a few kilobytes; the larger block holds two pages of the largest size,
// enough to pass a cut-off last page.
constexpr std::array<std::uint64_t, 2> kTailBlocks = {16 * 1024, 2 * kOggMaxPageSize};

bool ReadIdentification(const InputFile& file, const OggPageHeader& page,
                        VorbisIdentification& identification) {
    OggPacketReader packet(file);
    std::string bytes;
    if (!packet.Start(page) || !packet.Read(kIdentificationSize, bytes) ||
        bytes.compare(0, kIdentificationId.size(), kIdentificationId) != 0) {
        return false;
    }
    identification.channels = static_cast<std::uint8_t>(ByteAt(bytes, 11));
    identification.sampleRate = ReadLE32(bytes, 12);
    identification.maximumBitRate = static_cast<std::int32_t>(ReadLE32(bytes, 16));
    identification.nominalBitRate = static_cast<std::int32_t>(ReadLE32(bytes, 20));
    identification.minimumBitRate = static_cast<std::int32_t>(ReadLE32(bytes, 24));
    return true;
}

// A whole page of the stream at `at` inside `block` whose granule position counts samples.
std::optional<std::uint64_t> GranuleOfPageAt(std::string_view block, std::size_t at,
                                             std::uint32_t serialNumber) {
    const auto page = ParseOggPageHeader(block.substr(at), 0);
    if (!page || page->serialNumber != serialNumber || page->Size() > block.size() - at ||
        page->granulePosition >> 63 != 0 ||
        !OggPageChecksumValid(block.substr(at, static_cast<std::size_t>(page->Size())))) {
        return std::nullopt;
    }
    return page->granulePosition;
}

}  // namespace

bool LocateVorbisStream(const InputFile& file, OggVorbisFileInfo& info, std::string& error) {
    info = OggVorbisFileInfo();
    info.fileSize = file.Size();
    info.id3v2Size = Id3v2TagSizeAt(file);
    auto page = ReadOggPageHeader(file, info.id3v2Size);
    if (!page) {
        error = "no Ogg page where the stream should start";
        return false;
    }
    for (;;) {
        if (ReadIdentification(file, *page, info.identification)) {
            info.firstPage = std::move(*page);
            return true;
        }
        page = ReadOggPageHeader(file, page->End());
        if (!page || !page->FirstOfStream()) {
            error = "no Vorbis identification header";
            return false;
        }
    }
}

std::uint64_t LastGranulePosition(const InputFile& file, const OggVorbisFileInfo& info) {
    const std::uint64_t streamStart = info.firstPage.offset;
    for (const std::uint64_t blockSize : kTailBlocks) {
        const std::uint64_t start =
            std::max(streamStart, info.fileSize - std::min(blockSize, info.fileSize));
        const std::string block = file.ReadUpTo(start, static_cast<std::size_t>(blockSize));
        const std::string_view view(block);
        for (std::size_t at = view.rfind("OggS"); at != std::string_view::npos;
             at = at == 0 ? std::string_view::npos : view.rfind("OggS", at - 1)) {
            if (const auto granule = GranuleOfPageAt(view, at, info.firstPage.serialNumber)) {
                return *granule;
            }
        }
        if (start == streamStart) {
            break;
        }
    }
    return 0;
}

}  // namespace sonarchive::formats
