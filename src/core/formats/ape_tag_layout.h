// Where an APE tag sits at the end of a file and which items it holds.
//
// APE tag layout (APEv1 and APEv2 documents): an optional 32-byte header, the items, and a
// 32-byte footer at the end of the file or directly before a trailing 128-byte ID3v1 tag.
// Header and footer: "APETAGEX", version (1000 or 2000), tag size (items + footer, without the
// header), item count, flags (bit 31: the tag has a header), 8 reserved bytes; numbers are
// 32-bit little-endian. Item: value size (32-bit little-endian), item flags (32-bit; in APEv2
// bits 1-2 give the type: 0 UTF-8 text, 1 binary, 2 locator), the key with a terminating zero
// byte, the value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/file_access.h"

namespace sonarchive::formats::ape {

inline constexpr std::size_t kFooterSize = 32;
inline constexpr std::uint32_t kFlagHasHeader = 1u << 31;
// Values up to this size are read into memory; larger ones (cover art) are only located.
inline constexpr std::uint32_t kMaxHeldValueSize = 64 * 1024;

struct TagLocation {
    bool hasId3v1 = false;  // a 128-byte ID3v1 tag ends the file
    bool exists = false;    // an APE footer whose sizes fit the file
    std::uint32_t version = 0;
    std::uint32_t size = 0;  // the footer's size field
    std::uint32_t itemCount = 0;
    std::uint32_t flags = 0;
    std::uint64_t end = 0;         // end of the APE tag: the file size less the ID3v1 tag
    std::uint64_t itemsStart = 0;  // first item
    std::uint64_t start = 0;       // first byte of the tag, its header included
};

// Finds the footer; nothing on an I/O error. A file too short for a footer, or a footer whose
// sizes do not fit the file, has no tag.
std::optional<TagLocation> LocateTag(const InputFile& file);

struct Item {
    std::uint64_t start = 0;  // offset of the value size field
    std::uint64_t end = 0;    // offset just after the value
    std::uint32_t flags = 0;
    std::string key;
    std::optional<std::string> value;  // held when at most kMaxHeldValueSize bytes
};

struct ItemList {
    std::vector<Item> items;
    bool ioError = false;  // the walk was cut short by a failed read
};

// The items of a located tag, in file order. The walk stops at the item count, at the end of
// the items or at the first item that does not fit them.
ItemList ReadItems(const InputFile& file, const TagLocation& tag);

// The item bytes: value size, flags, key, zero byte, value.
std::string EncodeItem(std::string_view key, std::uint32_t flags, std::string_view value);

// A footer without header flag for `size` bytes of items.
std::string EncodeFooter(std::uint32_t version, std::uint64_t itemBytes, std::uint32_t count);

}  // namespace sonarchive::formats::ape
