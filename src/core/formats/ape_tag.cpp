#include "formats/ape_tag.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <vector>

#include "formats/ape_tag_layout.h"
#include "formats/file_access.h"
#include "text/text.h"

namespace sonarchive::formats {

const std::array<std::string_view, TAPEtag::kFieldCount> TAPEtag::kFieldKeys = {
    "Title", "Artist", "Album", "Track", "Year", "Genre", "Comment", "Copyright"};

namespace {

constexpr std::uint32_t kVersion1 = 1000;
constexpr std::uint32_t kVersion2 = 2000;
constexpr std::uint32_t kItemTypeMask = 6;  // APEv2 item flags bits 1-2: 0 is UTF-8 text

using Values = std::array<std::string, TAPEtag::kFieldCount>;

std::optional<std::size_t> FieldOfKey(std::string_view key) {
    static const auto upperKeys = [] {
        std::array<std::string, TAPEtag::kFieldCount> keys;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            keys[i] = text::UpperCase(TAPEtag::kFieldKeys[i]);
        }
        return keys;
    }();
    const std::string upper = text::UpperCase(key);
    for (std::size_t i = 0; i < upperKeys.size(); ++i) {
        if (upper == upperKeys[i]) {
            return i;
        }
    }
    return std::nullopt;
}

// APE 1.0 values are ISO-8859-1, APE 2.0 values UTF-8.
std::string DecodeValue(std::string_view value, std::uint32_t version) {
    return text::TrimControlAndBlank(version <= kVersion1 ? text::Latin1ToUtf8(value)
                                                          : text::SanitizeUtf8(value));
}

bool IsAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// Produces the file with its new tag: the bytes in front of the old tag, then the items, then
// the footer.
class TagWriter {
public:
    explicit TagWriter(const Values& values) : values_(values) {}

    bool Produce(const InputFile& original, OutputFile& out) {
        const auto tag = ape::LocateTag(original);
        if (!tag) {
            return false;
        }
        const ape::ItemList list = ape::ReadItems(original, *tag);
        if (list.ioError) {
            return false;
        }
        fileVersion_ = tag->exists ? tag->version : kVersion1;
        version_ = fileVersion_ > kVersion1 || !AllLatin1() ? kVersion2 : kVersion1;
        if (!out.CopyFrom(original, 0, tag->exists ? tag->start : tag->end) ||
            !WriteItems(original, list.items, out)) {
            return false;
        }
        if (itemBytes_ > std::numeric_limits<std::uint32_t>::max() - ape::kFooterSize) {
            return false;
        }
        // A trailing ID3v1 tag belongs to the user as much as the APE tag does: it stays
        // behind the new tag, byte for byte.
        return out.Write(ape::EncodeFooter(version_, itemBytes_, count_)) &&
               out.CopyRest(original, tag->end);
    }

private:
    bool AllLatin1() const {
        for (const std::string& value : values_) {
            if (!text::IsLatin1Representable(value)) {
                return false;
            }
        }
        return true;
    }

    // Items keep their order; a field's last item is replaced in its place (earlier items of
    // the same key are dropped, as reading let the last one win); fields the tag did not
    // have follow in table order.
    bool WriteItems(const InputFile& original, const std::vector<ape::Item>& items,
                    OutputFile& out) {
        std::vector<std::optional<std::size_t>> fields;
        std::array<std::size_t, TAPEtag::kFieldCount> last{};
        for (std::size_t i = 0; i < items.size(); ++i) {
            fields.push_back(FieldOfKey(items[i].key));
            if (fields[i]) {
                last[*fields[i]] = i;
            }
        }
        std::array<bool, TAPEtag::kFieldCount> written{};
        for (std::size_t i = 0; i < items.size(); ++i) {
            const ape::Item& item = items[i];
            if (!fields[i]) {
                if (!Keep(original, item, out)) {
                    return false;
                }
                continue;
            }
            const std::size_t field = *fields[i];
            if (last[field] != i) {
                continue;
            }
            written[field] = true;
            const bool ok =
                IsUnchanged(item, field) ? Keep(original, item, out) : WriteField(field, out);
            if (!ok) {
                return false;
            }
        }
        for (std::size_t field = 0; field < TAPEtag::kFieldCount; ++field) {
            if (!written[field] && !WriteField(field, out)) {
                return false;
            }
        }
        return true;
    }

    // A value too large to be read counts as unchanged while its field is empty.
    bool IsUnchanged(const ape::Item& item, std::size_t field) const {
        return item.value ? DecodeValue(*item.value, fileVersion_) == values_[field]
                          : values_[field].empty();
    }

    bool WriteField(std::size_t field, OutputFile& out) {
        const std::string& value = values_[field];
        if (value.empty()) {
            return true;
        }
        return Emit(ape::EncodeItem(TAPEtag::kFieldKeys[field], 0,
                                    version_ == kVersion1 ? text::Utf8ToLatin1(value) : value),
                    out);
    }

    // Copies an item byte for byte. When a 1.0 tag becomes 2.0, a text item's ISO-8859-1
    // value is re-encoded as UTF-8; values holding zero bytes are binary data and stay as
    // they are.
    bool Keep(const InputFile& original, const ape::Item& item, OutputFile& out) {
        const bool reencode = fileVersion_ <= kVersion1 && version_ == kVersion2 && item.value &&
                              (item.flags & kItemTypeMask) == 0 && !IsAscii(*item.value) &&
                              item.value->find('\0') == std::string::npos;
        if (reencode) {
            return Emit(ape::EncodeItem(item.key, item.flags, text::Latin1ToUtf8(*item.value)),
                        out);
        }
        ++count_;
        itemBytes_ += item.end - item.start;
        return out.CopyFrom(original, item.start, item.end - item.start);
    }

    bool Emit(const std::string& itemBytes, OutputFile& out) {
        ++count_;
        itemBytes_ += itemBytes.size();
        return out.Write(itemBytes);
    }

    const Values& values_;
    std::uint32_t fileVersion_ = kVersion1;
    std::uint32_t version_ = kVersion1;
    std::uint64_t itemBytes_ = 0;
    std::uint32_t count_ = 0;
};

}  // namespace

void TAPEtag::Reset() {
    *this = TAPEtag();
}

bool TAPEtag::Read(const std::string& fileName) {
    Reset();
    const InputFile file(fileName);
    const auto tag = ape::LocateTag(file);
    if (!tag) {
        lastError_ = file.IsOpen() ? "read error" : "cannot open the file";
        return false;
    }
    if (!tag->exists) {
        return true;
    }
    exists_ = true;
    version_ = tag->version;
    size_ = tag->size;
    // A failed read ends the walk; the items read so far are kept.
    for (const ape::Item& item : ape::ReadItems(file, *tag).items) {
        const auto field = FieldOfKey(item.key);
        if (field && item.value) {
            values_[*field] = DecodeValue(*item.value, version_);
        }
    }
    return true;
}

bool TAPEtag::Write(const std::string& fileName) {
    lastError_.clear();
    // Longer values are only located when a tag is read, so they would be written and then
    // never read back.
    if (std::any_of(values_.begin(), values_.end(),
                    [](const std::string& value) { return value.size() > ape::kMaxHeldValueSize; })) {
        lastError_ = "a text is too long for the tag";
        return false;
    }
    TagWriter writer(values_);
    if (!RewriteFile(fileName, [&writer](const InputFile& original, OutputFile& out) {
            return writer.Produce(original, out);
        })) {
        lastError_ = "cannot rewrite the file";
        return false;
    }
    return true;
}

bool TAPEtag::Strip(const std::string& fileName) {
    lastError_.clear();
    std::optional<ape::TagLocation> tag;
    std::uint64_t size = 0;
    {
        const InputFile file(fileName);
        tag = ape::LocateTag(file);
        size = file.Size();
    }
    if (!tag) {
        lastError_ = "cannot read the file";
        return false;
    }
    if (!tag->exists) {
        return true;
    }
    if (tag->end == size) {
        if (!TruncateFile(fileName, tag->start)) {
            lastError_ = "cannot truncate the file";
            return false;
        }
        return true;
    }
    // An ID3v1 tag follows: it moves up to where the APE tag began, through a temporary copy
    // so that no failure can leave the file without it.
    const bool stripped = RewriteFile(fileName, [](const InputFile& original, OutputFile& out) {
        const auto located = ape::LocateTag(original);
        return located && located->exists && out.CopyFrom(original, 0, located->start) &&
               out.CopyRest(original, located->end);
    });
    if (!stripped) {
        lastError_ = "cannot rewrite the file";
        return false;
    }
    return true;
}

std::uint8_t TAPEtag::Track() const {
    const std::string& text = values_[kTrack];
    const std::string_view number = std::string_view(text).substr(0, text.find('/'));
    unsigned value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || value > 255) {
        return 0;
    }
    return static_cast<std::uint8_t>(value);
}

void TAPEtag::SetTrack(std::uint8_t track) {
    if (track != Track()) {
        values_[kTrack] = track == 0 ? std::string() : std::to_string(track);
    }
}

void TAPEtag::SetText(Field field, std::string_view text) {
    values_[field] = text::TrimControlAndBlank(text::SanitizeUtf8(text));
}

}  // namespace sonarchive::formats
