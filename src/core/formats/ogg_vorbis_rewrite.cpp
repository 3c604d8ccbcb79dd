#include "formats/ogg_vorbis_rewrite.h"

#include <limits>
#include <string_view>
#include <vector>

#include "formats/ogg_packet_reader.h"
#include "formats/ogg_page.h"
#include "formats/ogg_vorbis_stream.h"

namespace sonarchive::formats {
namespace {

constexpr std::string_view kSetupHeaderId("\x05vorbis", 7);
constexpr std::string_view kSeveralStreams = "the file holds more than one logical stream";

// The comment and setup headers as they are in the file, and the pages they take.
struct HeaderPackets {
    VorbisComment comment;
    std::string setup;
    std::uint32_t pageCount = 0;  // pages after the identification page
    std::uint64_t end = 0;        // file offset after the last of them
    std::uint8_t lastPageFlags = 0;
};

bool ReadHeaderPackets(const InputFile& file, const OggVorbisFileInfo& info, HeaderPackets& headers,
                       std::string& error) {
    OggPacketReader packet(file);
    if (!packet.Start(info.firstPage) || !packet.NextPacket() ||
        !ReadVorbisComment(packet, std::numeric_limits<std::uint64_t>::max(), headers.comment)) {
        error = "no Vorbis comment header";
        return false;
    }
    if (!headers.comment.complete || !packet.ReadRest(headers.comment.trailer)) {
        error = "the Vorbis comment header is damaged";
        return false;
    }
    if (!packet.NextPacket() || !packet.ReadRest(headers.setup) ||
        headers.setup.compare(0, kSetupHeaderId.size(), kSetupHeaderId) != 0) {
        error = "no complete Vorbis setup header";
        return false;
    }
    if (packet.PassedOtherStreams()) {
        error = kSeveralStreams;
        return false;
    }
    if (!packet.PacketEndsPage()) {
        error = "audio data shares a page with the Vorbis headers";
        return false;
    }
    headers.pageCount = packet.PagesVisited() - 1;
    headers.end = packet.Page().End();
    headers.lastPageFlags = packet.Page().flags & kOggLastPage;
    return true;
}

// Copies the pages from `offset` on, shifting their sequence numbers by `shift`. Bytes after
// the last page that are no page are copied as they are.
bool CopyPagesRenumbered(const InputFile& original, std::uint64_t offset,
                         std::uint32_t serialNumber, std::uint32_t shift, OutputFile& out,
                         std::string& error) {
    while (offset < original.Size()) {
        const auto page = ReadOggPageHeader(original, offset);
        if (!page) {
            return out.CopyRest(original, offset);
        }
        if (page->serialNumber != serialNumber || page->FirstOfStream()) {
            error = kSeveralStreams;
            return false;
        }
        auto bytes = original.ReadAt(offset, static_cast<std::size_t>(page->Size()));
        if (!bytes) {
            return false;
        }
        if (shift != 0) {
            RenumberOggPage(*bytes, page->sequenceNumber + shift);
        }
        if (!out.Write(*bytes)) {
            return false;
        }
        offset = page->End();
    }
    return true;
}

// The reader loads no field above the load limit, so a longer text would be written and then
// never read back.
bool FitsLoadLimit(const VorbisTagTexts& texts) {
    // The longest name a managed text is written under, with its "=".
    constexpr std::size_t kNameRoom = sizeof("DESCRIPTION=") - 1;
    for (const std::string* text : {&texts.title, &texts.artist, &texts.album, &texts.date,
                                    &texts.genre, &texts.comment}) {
        if (text->size() + kNameRoom > kVorbisFieldLoadLimit) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool RewriteOggVorbis(const InputFile& original, const VorbisTagTexts& wanted, OutputFile& out,
                      std::string& error) {
    if (!FitsLoadLimit(wanted)) {
        error = "a text is too long for the comment";
        return false;
    }
    OggVorbisFileInfo info;
    if (!LocateVorbisStream(original, info, error)) {
        return false;
    }
    if (info.firstPage.offset != info.id3v2Size) {
        error = kSeveralStreams;
        return false;
    }
    if (!info.firstPage.HoldsOnePacket()) {
        error = "the identification header shares its page";
        return false;
    }
    HeaderPackets headers;
    if (!ReadHeaderPackets(original, info, headers, error)) {
        return false;
    }
    headers.comment.fields = RewriteVorbisFields(headers.comment.fields, wanted);
    const std::vector<std::string> pages = PaginateHeaderPackets(
        {BuildVorbisCommentPacket(headers.comment), headers.setup},
        {info.firstPage.serialNumber, info.firstPage.sequenceNumber + 1, headers.lastPageFlags});
    if (!out.CopyFrom(original, 0, info.firstPage.End())) {
        return false;
    }
    for (const std::string& page : pages) {
        if (!out.Write(page)) {
            return false;
        }
    }
    // Sequence numbers wrap around modulo 2^32, as the pages' own numbering does.
    const auto shift = static_cast<std::uint32_t>(pages.size() - headers.pageCount);
    return CopyPagesRenumbered(original, headers.end, info.firstPage.serialNumber, shift, out,
                               error);
}

}  // namespace sonarchive::formats
