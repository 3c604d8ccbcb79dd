#include "formats/id3v2_frames.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "formats/byte_order.h"

namespace sonarchive::formats::id3v2 {
namespace {

// Bytes read from the file at a time: a tag of usual size comes in with one read.
// Small windows: the text frames come first in practice, and a picture behind them is then
// skipped by position instead of being read.
constexpr std::uint64_t kReadWindow = 4 * 1024;

// Version 2.2 frames and their 2.3 names: the text frames and the comment, picture and link
// frames (ID3v2.2 document, section 4). Other 2.2 frames have no 2.3 form here and are dropped.
constexpr std::array<std::pair<std::string_view, std::string_view>, 39> kVersion22Names = {{
    {"COM", "COMM"}, {"PIC", "APIC"}, {"TAL", "TALB"}, {"TBP", "TBPM"}, {"TCM", "TCOM"},
    {"TCO", "TCON"}, {"TCR", "TCOP"}, {"TDA", "TDAT"}, {"TDY", "TDLY"}, {"TEN", "TENC"},
    {"TFT", "TFLT"}, {"TIM", "TIME"}, {"TKE", "TKEY"}, {"TLA", "TLAN"}, {"TLE", "TLEN"},
    {"TMT", "TMED"}, {"TOA", "TOPE"}, {"TOF", "TOFN"}, {"TOL", "TOLY"}, {"TOR", "TORY"},
    {"TOT", "TOAL"}, {"TP1", "TPE1"}, {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TP4", "TPE4"},
    {"TPA", "TPOS"}, {"TPB", "TPUB"}, {"TRC", "TSRC"}, {"TRD", "TRDA"}, {"TRK", "TRCK"},
    {"TSI", "TSIZ"}, {"TSS", "TSSE"}, {"TT1", "TIT1"}, {"TT2", "TIT2"}, {"TT3", "TIT3"},
    {"TXT", "TEXT"}, {"TXX", "TXXX"}, {"TYE", "TYER"}, {"WXX", "WXXX"},
}};

// Version 2.3 format flags (ID3v2.3 document, section 3.3.1).
constexpr std::uint16_t kCompressed23 = 0x80;
constexpr std::uint16_t kEncrypted23 = 0x40;
constexpr std::uint16_t kGrouped23 = 0x20;

// Version 2.4 format flags (ID3v2.4.0 structure document, section 4.1.2).
constexpr std::uint8_t kGrouped24 = 0x40;
constexpr std::uint8_t kCompressed24 = 0x08;
constexpr std::uint8_t kEncrypted24 = 0x04;
constexpr std::uint8_t kUnsynchronised24 = 0x02;
constexpr std::uint8_t kDataLength24 = 0x01;

// Undoes the unsynchronisation scheme: every zero byte that follows a 0xFF byte was inserted by
// the writer. `afterFF` carries the state from one piece of a longer stream to the next.
std::string Resynchronise(std::string_view bytes, bool& afterFF) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        if (afterFF && c == '\0') {
            afterFF = false;
            continue;
        }
        out += c;
        afterFF = static_cast<unsigned char>(c) == 0xFF;
    }
    return out;
}

std::string Resynchronise(std::string_view bytes) {
    bool afterFF = false;
    return Resynchronise(bytes, afterFF);
}

// The bytes after the tag header, read front to back a window at a time, with the tag-wide
// unsynchronisation of versions 2.2 and 2.3 undone on the way. Skipped ranges of a tag without
// unsynchronisation are never read.
class TagBodyReader {
  public:
    TagBodyReader(const InputFile& file, std::uint64_t begin, std::uint64_t end,
                  bool unsynchronised)
        : file_(file), next_(begin), end_(end), unsynchronised_(unsynchronised) {}

    // The next `count` bytes; nothing when fewer remain.
    std::optional<std::string> Take(std::size_t count) {
        if (!Fill(count)) {
            return std::nullopt;
        }
        std::string bytes = buffer_.substr(used_, count);
        used_ += count;
        return bytes;
    }

    bool Skip(std::uint64_t count) {
        if (count <= Buffered()) {
            used_ += static_cast<std::size_t>(count);
            return true;
        }
        count -= Buffered();
        buffer_.clear();
        used_ = 0;
        if (!unsynchronised_) {
            if (count > end_ - next_) {
                return false;
            }
            next_ += count;
            return true;
        }
        while (count > 0) {
            if (!Fill(1)) {
                return false;
            }
            const auto step = static_cast<std::size_t>(std::min<std::uint64_t>(count, Buffered()));
            used_ += step;
            count -= step;
        }
        return true;
    }

    // Bytes left; with unsynchronisation an upper bound.
    std::uint64_t RemainingAtMost() const { return Buffered() + (end_ - next_); }

  private:
    std::size_t Buffered() const { return buffer_.size() - used_; }

    bool Fill(std::size_t count) {
        if (count <= Buffered()) {
            return true;
        }
        if (count > RemainingAtMost()) {
            return false;
        }
        buffer_.erase(0, used_);
        used_ = 0;
        while (buffer_.size() < count && next_ < end_) {
            const std::uint64_t wanted =
                std::max<std::uint64_t>(count - buffer_.size(), kReadWindow);
            const auto chunk = static_cast<std::size_t>(std::min(wanted, end_ - next_));
            const auto raw = file_.ReadAt(next_, chunk);
            if (!raw) {
                return false;
            }
            next_ += chunk;
            buffer_ += unsynchronised_ ? Resynchronise(*raw, afterFF_) : *raw;
        }
        return buffer_.size() >= count;
    }

    const InputFile& file_;
    std::uint64_t next_;
    std::uint64_t end_;
    bool unsynchronised_;
    bool afterFF_ = false;
    std::string buffer_;
    std::size_t used_ = 0;
};

bool IsSyncsafe(std::string_view bytes, std::size_t at) {
    return ((ByteAt(bytes, at) | ByteAt(bytes, at + 1) | ByteAt(bytes, at + 2) |
             ByteAt(bytes, at + 3)) &
            0x80) == 0;
}

// Version 2.3 counts the extended header's size without its own four bytes, 2.4 with them.
bool SkipExtendedHeader(TagBodyReader& reader, std::uint8_t version) {
    const auto sizeBytes = reader.Take(4);
    if (!sizeBytes) {
        return false;
    }
    if (version == 3) {
        return reader.Skip(ReadBE32(*sizeBytes, 0));
    }
    const std::uint32_t size = ReadSyncsafe32(*sizeBytes, 0);
    return IsSyncsafe(*sizeBytes, 0) && size >= 6 && reader.Skip(size - 4);
}

std::size_t FrameHeaderSize(std::uint8_t version) {
    return version == 2 ? 6 : 10;
}

// Frame sizes are 24-bit in 2.2, plain 32-bit in 2.3 and syncsafe in 2.4.
std::optional<std::uint32_t> FrameSize(std::string_view header, std::uint8_t version) {
    switch (version) {
        case 2:
            return ReadBE24(header, 3);
        case 3:
            return ReadBE32(header, 4);
        default:
            if (!IsSyncsafe(header, 4)) {
                return std::nullopt;
            }
            return ReadSyncsafe32(header, 4);
    }
}

std::string_view Version23Name(std::string_view version22Id) {
    for (const auto& [old, current] : kVersion22Names) {
        if (old == version22Id) {
            return current;
        }
    }
    return {};
}

std::string MimeTypeOfImageFormat(std::string_view format) {
    if (format == "JPG") {
        return "image/jpeg";
    }
    if (format == "-->") {  // the picture is a link
        return std::string(format);
    }
    std::string mime = "image/";
    std::transform(format.begin(), format.end(), std::back_inserter(mime), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return mime;
}

// PIC names its image format with three characters where APIC has a MIME type; the rest of
// the layout is the same.
std::optional<Frame> FromVersion22Picture(std::string_view content) {
    if (content.size() < 5) {
        return std::nullopt;
    }
    std::string converted(content.substr(0, 1));
    converted += MimeTypeOfImageFormat(content.substr(1, 3));
    converted += '\0';
    converted += content.substr(4);
    return Frame{"APIC", std::move(converted)};
}

std::optional<Frame> FromVersion22(std::string_view id, std::string_view body) {
    if (id == "APIC") {
        return FromVersion22Picture(body);
    }
    return Frame{std::string(id), std::string(body)};
}

std::optional<Frame> FromVersion23(std::string_view id, std::uint16_t flags,
                                   std::string_view body) {
    const std::size_t additions = ((flags & kCompressed23) != 0 ? 4 : 0) +
                                  ((flags & kEncrypted23) != 0 ? 1 : 0) +
                                  ((flags & kGrouped23) != 0 ? 1 : 0);
    if (additions > body.size()) {
        return std::nullopt;
    }
    return Frame{std::string(id), std::string(body.substr(additions)), flags,
                 std::string(body.substr(0, additions))};
}

// The status flags are cleared; the format additions come in the order group, encryption
// method, data length and go out in the 2.3 order decompressed size, method, group.
std::optional<Frame> FromVersion24(std::string_view id, std::uint16_t flags, std::string_view body,
                                   bool tagUnsynchronised) {
    const auto format = static_cast<std::uint8_t>(flags & 0xFF);
    const std::string data = (format & kUnsynchronised24) != 0 || tagUnsynchronised
                                 ? Resynchronise(body)
                                 : std::string(body);
    const bool grouped = (format & kGrouped24) != 0;
    const bool encrypted = (format & kEncrypted24) != 0;
    const bool compressed = (format & kCompressed24) != 0;
    const bool hasDataLength = (format & kDataLength24) != 0;
    const std::size_t additions = (grouped ? 1 : 0) + (encrypted ? 1 : 0) + (hasDataLength ? 4 : 0);
    if (additions > data.size() || (compressed && !hasDataLength)) {
        return std::nullopt;
    }
    Frame frame{std::string(id), data.substr(additions)};
    std::size_t at = 0;
    const std::string group = grouped ? data.substr(at++, 1) : std::string();
    const std::string method = encrypted ? data.substr(at++, 1) : std::string();
    if (compressed) {
        frame.flags |= kCompressed23;
        AppendBE32(frame.additions, ReadSyncsafe32(data, at));
    }
    if (encrypted) {
        frame.flags |= kEncrypted23;
        frame.additions += method;
    }
    if (grouped) {
        frame.flags |= kGrouped23;
        frame.additions += group;
    }
    return frame;
}

}  // namespace

std::vector<Frame> ReadFrames(const InputFile& file, const TagHeader& header,
                              const FrameFilter& wanted, LargeFrames large) {
    std::vector<Frame> frames;
    const std::uint8_t version = header.version;
    if (!header.HasReadableFrames()) {
        return frames;
    }
    const std::uint64_t bodyEnd = kHeaderSize + static_cast<std::uint64_t>(header.bodySize);
    // In 2.4 the header flag only says that every frame is unsynchronised by itself.
    TagBodyReader reader(file, kHeaderSize, std::min(bodyEnd, file.Size()),
                         header.Unsynchronised() && version < 4);
    if (header.HasExtendedHeader() && !SkipExtendedHeader(reader, version)) {
        return frames;
    }
    const std::size_t headerSize = FrameHeaderSize(version);
    while (const auto frameHeader = reader.Take(headerSize)) {
        if (frameHeader->front() < 'A' || frameHeader->front() > 'Z') {
            break;  // padding, or whatever it is, no frame
        }
        const auto size = FrameSize(*frameHeader, version);
        if (!size || *size > reader.RemainingAtMost()) {
            break;
        }
        const std::string_view rawId =
            std::string_view(*frameHeader).substr(0, version == 2 ? 3 : 4);
        const std::string_view id = version == 2 ? Version23Name(rawId) : rawId;
        const bool oversized = *size > kLargestFieldFrame;
        if (id.empty() || !wanted(id) || (oversized && large == LargeFrames::Skip)) {
            if (!reader.Skip(*size)) {
                break;
            }
            continue;
        }
        const auto body = reader.Take(*size);
        if (!body) {
            break;
        }
        const std::uint16_t flags = version == 2 ? 0 : ReadBE16(*frameHeader, 8);
        std::optional<Frame> frame = version == 2 ? FromVersion22(id, *body)
                                     : version == 3
                                         ? FromVersion23(id, flags, *body)
                                         : FromVersion24(id, flags, *body, header.Unsynchronised());
        if (frame) {
            frame->oversized = oversized;
            frames.push_back(std::move(*frame));
        }
    }
    return frames;
}

std::string SerializeFrame(const Frame& frame) {
    std::string out = frame.id;
    AppendBE32(out, static_cast<std::uint32_t>(frame.additions.size() + frame.content.size()));
    AppendBE16(out, frame.flags);
    out += frame.additions;
    out += frame.content;
    return out;
}

}  // namespace sonarchive::formats::id3v2
