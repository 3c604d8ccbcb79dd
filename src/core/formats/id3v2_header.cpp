#include "formats/id3v2_header.h"

#include "formats/byte_order.h"

namespace sonarchive::formats {
namespace {

constexpr std::size_t kHeaderSize = 10;
constexpr std::uint32_t kFooterPresentFlag = 0x10;

}  // namespace

std::uint64_t Id3v2TagSizeAt(const InputFile& file) {
    const auto header = file.ReadAt(0, kHeaderSize);
    if (!header || header->compare(0, 3, "ID3") != 0) {
        return 0;
    }
    std::uint64_t size = std::uint64_t{ReadSyncsafe32(*header, 6)} + kHeaderSize;
    if ((ByteAt(*header, 5) & kFooterPresentFlag) != 0) {
        size += kHeaderSize;
    }
    return size > file.Size() ? 0 : size;
}

}  // namespace sonarchive::formats
