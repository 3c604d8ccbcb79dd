#include "formats/ape_tag_layout.h"

#include <algorithm>
#include <string_view>

#include "formats/byte_order.h"

namespace sonarchive::formats::ape {
namespace {

constexpr std::uint64_t kId3v1Size = 128;
constexpr std::size_t kItemHeaderSize = 8;  // value size and flags
constexpr std::size_t kMaxKeySize = 255;
// One read serves the header, key and held value of an item, and usually the whole tag.
constexpr std::size_t kBlockSize = 2 * kMaxHeldValueSize;

// Serves reads inside [.., end) of a file from one block that is refilled on demand, so a
// tag of small items costs one read whatever its item count.
class BlockReader {
  public:
    BlockReader(const InputFile& file, std::uint64_t end) : file_(file), end_(end) {}

    // Up to `count` (at most kBlockSize) bytes at `offset`, fewer where the range ends;
    // nothing on an I/O error.
    std::optional<std::string_view> Bytes(std::uint64_t offset, std::size_t count) {
        if (offset >= end_) {
            return std::string_view();
        }
        const std::uint64_t left = end_ - offset;
        const auto wanted = static_cast<std::size_t>(count < left ? count : left);
        if (offset < blockStart_ || offset + wanted > blockStart_ + block_.size()) {
            auto block = file_.ReadAt(
                offset, static_cast<std::size_t>(kBlockSize < left ? kBlockSize : left));
            if (!block) {
                return std::nullopt;
            }
            block_ = std::move(*block);
            blockStart_ = offset;
        }
        return std::string_view(block_).substr(offset - blockStart_, wanted);
    }

  private:
    const InputFile& file_;
    std::uint64_t end_;
    std::uint64_t blockStart_ = 0;
    std::string block_;
};

bool IsApeSignature(std::string_view bytes) {
    return bytes.substr(0, 8) == "APETAGEX";
}

}  // namespace

std::optional<TagLocation> LocateTag(const InputFile& file) {
    if (!file.IsOpen()) {
        return std::nullopt;
    }
    // One read covers an ID3v1 tag and an APE footer in front of it.
    const std::uint64_t tailSize = std::min<std::uint64_t>(file.Size(), kId3v1Size + kFooterSize);
    const auto tail = file.ReadAt(file.Size() - tailSize, static_cast<std::size_t>(tailSize));
    if (!tail) {
        return std::nullopt;
    }
    TagLocation tag;
    tag.end = file.Size();
    // A file that ends in an APE footer has no ID3v1 tag, even when the "TAG" of an
    // "APETAGEX" happens to lie 128 bytes before its end.
    const bool endsInFooter =
        tailSize >= kFooterSize &&
        IsApeSignature(std::string_view(*tail).substr(tailSize - kFooterSize));
    if (!endsInFooter && tailSize >= kId3v1Size &&
        tail->compare(tailSize - kId3v1Size, 3, "TAG") == 0) {
        tag.hasId3v1 = true;
        tag.end -= kId3v1Size;
    }
    if (tag.end < kFooterSize) {
        return tag;
    }
    const std::string_view footer = std::string_view(*tail).substr(
        static_cast<std::size_t>(tailSize - (file.Size() - tag.end)) - kFooterSize, kFooterSize);
    tag.size = ReadLE32(footer, 12);
    if (!IsApeSignature(footer) || tag.size < kFooterSize || tag.size > tag.end) {
        return tag;
    }
    tag.version = ReadLE32(footer, 8);
    tag.itemCount = ReadLE32(footer, 16);
    tag.flags = ReadLE32(footer, 20);
    tag.exists = true;
    tag.itemsStart = tag.end - tag.size;
    tag.start = tag.itemsStart;
    // The header is counted only when it is really there: a flag alone must not make a
    // writer cut audio bytes.
    if ((tag.flags & kFlagHasHeader) != 0 && tag.itemsStart >= kFooterSize) {
        const auto header = file.ReadAt(tag.itemsStart - kFooterSize, 8);
        if (!header) {
            return std::nullopt;
        }
        tag.start -= IsApeSignature(*header) ? kFooterSize : 0;
    }
    return tag;
}

ItemList ReadItems(const InputFile& file, const TagLocation& tag) {
    ItemList list;
    if (!tag.exists) {
        return list;
    }
    const std::uint64_t itemsEnd = tag.end - kFooterSize;
    BlockReader reader(file, itemsEnd);
    std::uint64_t pos = tag.itemsStart;
    for (std::uint32_t n = 0; n < tag.itemCount && pos < itemsEnd; ++n) {
        const auto head = reader.Bytes(pos, kItemHeaderSize + kMaxKeySize + 1);
        if (!head) {
            list.ioError = true;
            break;
        }
        const std::size_t keyEnd = head->find('\0', kItemHeaderSize);
        if (head->size() <= kItemHeaderSize || keyEnd == std::string_view::npos ||
            keyEnd == kItemHeaderSize) {
            break;
        }
        Item item;
        item.start = pos;
        item.flags = ReadLE32(*head, 4);
        item.key = std::string(head->substr(kItemHeaderSize, keyEnd - kItemHeaderSize));
        const std::uint32_t valueSize = ReadLE32(*head, 0);
        const std::uint64_t valueStart = pos + keyEnd + 1;
        if (valueSize > itemsEnd - valueStart) {
            break;
        }
        item.end = valueStart + valueSize;
        if (valueSize <= kMaxHeldValueSize) {
            const auto value = reader.Bytes(valueStart, valueSize);
            if (!value) {
                list.ioError = true;
                break;
            }
            item.value = std::string(*value);
        }
        list.items.push_back(std::move(item));
        pos = list.items.back().end;
    }
    return list;
}

std::string EncodeItem(std::string_view key, std::uint32_t flags, std::string_view value) {
    std::string out;
    AppendLE32(out, static_cast<std::uint32_t>(value.size()));
    AppendLE32(out, flags);
    out += key;
    out += '\0';
    out += value;
    return out;
}

std::string EncodeFooter(std::uint32_t version, std::uint64_t itemBytes, std::uint32_t count) {
    std::string out = "APETAGEX";
    AppendLE32(out, version);
    AppendLE32(out, static_cast<std::uint32_t>(itemBytes + kFooterSize));
    AppendLE32(out, count);
    AppendLE32(out, 0);
    out.append(8, '\0');
    return out;
}

}  // namespace sonarchive::formats::ape
