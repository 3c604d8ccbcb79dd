// Finding the Vorbis stream in an Ogg file and the facts about it that need no more than its
// first page and its last page.
#pragma once

#include <cstdint>
#include <string>

#include "formats/file_access.h"
#include "formats/ogg_page.h"

namespace sonarchive::formats {

// The identification header (Vorbis I, section 4.2.2).
struct VorbisIdentification {
    std::uint8_t channels = 0;
    std::uint32_t sampleRate = 0;
    // Bit rates in bit/s; 0 or below means "not set".
    std::int32_t maximumBitRate = 0;
    std::int32_t nominalBitRate = 0;
    std::int32_t minimumBitRate = 0;
};

// The working record of one analysis.
struct OggVorbisFileInfo {
    std::uint64_t fileSize = 0;
    std::uint64_t id3v2Size = 0;  // bytes of ID3v2 tag in front of the Ogg stream
    OggPageHeader firstPage;      // the page of the identification header
    VorbisIdentification identification;
};

// Finds the first Vorbis stream of the file: the Ogg stream starts right after any ID3v2 tag;
// its first pages are the first pages of its logical streams (RFC 3533), and the first one
// whose packet is a Vorbis identification header is taken. False, with a reason in `error`,
// when there is no Ogg page at the start or no Vorbis stream among the first pages.
bool LocateVorbisStream(const InputFile& file, OggVorbisFileInfo& info, std::string& error);

// The granule position of the stream's last whole page with a valid checksum, searched in a
// bounded block at the end of the file (a larger one when the small one holds none); 0 when
// there is none there. For Vorbis it counts samples per channel.
std::uint64_t LastGranulePosition(const InputFile& file, const OggVorbisFileInfo& info);

}  // namespace sonarchive::formats
