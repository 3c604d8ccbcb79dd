#include "formats/mpeg_stream.h"

#include "formats/byte_order.h"

namespace sonarchive::formats {
namespace {

constexpr std::size_t kHeaderSize = 4;
// An encoder's signature with its version: "LAME3.93", "LAME3.100".
constexpr std::size_t kVendorTextSize = 8;
constexpr std::size_t kVendorSearchFrames = 5;
// The longest frame: MPEG 2.5 Layer II at 160 kbit/s and 8000 Hz, 2880 bytes and a padding
// byte. A frame found at the last candidate offset is confirmed within this reach.
constexpr std::size_t kLongestFrame = 2881;

// Xing/Info header (Xing's VBR header description, with LAME's "Info" for constant bit rate):
// "Xing" or "Info", a 32-bit big-endian flag word, then only the fields whose flags are set:
// frame count (flag 1), byte count (flag 2), a 100-byte table of contents (flag 4) and a
// quality value (flag 8), each count 32-bit big-endian. An encoder's version text (LAME tag)
// follows the fields that are present.
constexpr std::uint32_t kXingFrames = 1;
constexpr std::uint32_t kXingBytes = 2;
constexpr std::uint32_t kXingToc = 4;
constexpr std::uint32_t kXingQuality = 8;
constexpr std::size_t kXingTocSize = 100;

// VBRI header (Fraunhofer): "VBRI", version (2), delay (2), quality (2), byte count (4), frame
// count (4), then the table of contents; big-endian. Encoders write it 32 bytes after the frame
// header, whatever the version and channel mode.
constexpr std::size_t kVbriOffset = 36;
constexpr std::size_t kVbriSize = 18;

// The Xing/Info header sits behind the side information of Layer III: 32 bytes for MPEG 1
// stereo, 17 for MPEG 1 mono and MPEG 2/2.5 stereo, 9 for MPEG 2/2.5 mono.
std::size_t XingOffset(const FrameHeader& frame) {
    const bool mono = frame.ModeID == kMpegModeMono;
    if (frame.VersionID == kMpegVersion1) {
        return mono ? 21 : 36;
    }
    return mono ? 13 : 21;
}

// A 32-bit count; values of 2^31 and above are no sensible count and count as missing.
std::int32_t CountAt(std::string_view b, std::size_t at) {
    if (at + 4 > b.size()) {
        return 0;
    }
    const std::uint32_t value = ReadBE32(b, at);
    return value < 0x80000000u ? static_cast<std::int32_t>(value) : 0;
}

// Up to `count` characters at `at`, ending at the first byte that is not printable ASCII.
std::string PrintableText(std::string_view b, std::size_t at, std::size_t count) {
    std::string text;
    for (std::size_t i = at; i < b.size() && i < at + count; ++i) {
        const auto c = static_cast<unsigned char>(b[i]);
        if (c < 0x20 || c > 0x7E) {
            break;
        }
        text += static_cast<char>(c);
    }
    return text;
}

// Eight characters such as "LAME3.93", and a ninth when it is a digit, as in "LAME3.100".
std::string VendorText(std::string_view b, std::size_t at) {
    std::string text = PrintableText(b, at, kVendorTextSize + 1);
    if (text.size() > kVendorTextSize && (text.back() < '0' || text.back() > '9')) {
        text.pop_back();
    }
    return text;
}

VBRData ReadXing(std::string_view b, std::size_t at) {
    VBRData vbr;
    vbr.Found = true;
    vbr.ID = std::string(b.substr(at, 4));
    const std::uint32_t flags = ReadBE32(b, at + 4);
    std::size_t pos = at + 8;
    if ((flags & kXingFrames) != 0) {
        vbr.Frames = CountAt(b, pos);
        pos += 4;
    }
    if ((flags & kXingBytes) != 0) {
        vbr.Bytes = CountAt(b, pos);
        pos += 4;
    }
    if ((flags & kXingToc) != 0) {
        pos += kXingTocSize;
    }
    if ((flags & kXingQuality) != 0) {
        vbr.Scale = pos + 4 <= b.size() ? static_cast<std::uint8_t>(ByteAt(b, pos + 3)) : 0;
        pos += 4;
    }
    vbr.VendorID = VendorText(b, pos);
    return vbr;
}

VBRData ReadVbri(std::string_view b, std::size_t at) {
    VBRData vbr;
    vbr.Found = true;
    vbr.ID = "VBRI";
    vbr.Scale = static_cast<std::uint8_t>(ByteAt(b, at + 9));
    vbr.Bytes = CountAt(b, at + 10);
    vbr.Frames = CountAt(b, at + 14);
    return vbr;
}

// The header bytes at `offset` of the window followed by `behind`: the next frame's header may
// begin in the window and end behind it. Shorter where the file ends.
std::string HeaderBytesAt(std::string_view window, std::string_view behind, std::size_t offset) {
    if (offset >= window.size()) {
        const std::size_t at = offset - window.size();
        return at < behind.size() ? std::string(behind.substr(at, kHeaderSize)) : std::string();
    }
    const std::string_view start = window.substr(offset);
    return std::string(start) + std::string(behind.substr(0, kHeaderSize - start.size()));
}

}  // namespace

std::optional<FrameHeader> FindFirstFrame(const InputFile& file, const MpegWindow& window,
                                          std::size_t first, std::size_t last) {
    const std::string_view b = window.bytes;
    std::optional<std::string> behind;  // the bytes behind the window, read once when needed
    for (std::size_t i = first; i <= last && i + kHeaderSize <= b.size(); ++i) {
        if (!IsFrameHeader(b, i)) {
            continue;
        }
        FrameHeader frame = DecodeFrameHeader(b, i);
        const std::size_t length = FrameLength(frame);
        const std::size_t next = i + length;
        bool confirmed = false;
        if (next + kHeaderSize <= b.size()) {
            confirmed = IsFrameHeader(b, next);
        } else {
            if (!behind) {
                // A frame starting in the window ends less than a longest frame behind it.
                behind = file.ReadAvailable(window.start + b.size(), kLongestFrame + kHeaderSize);
                if (!behind) {
                    return std::nullopt;
                }
            }
            const std::string header = HeaderBytesAt(b, *behind, next);
            confirmed = header.size() == kHeaderSize && IsFrameHeader(header, 0);
        }
        if (confirmed) {
            frame.Found = true;
            frame.Position = static_cast<std::int64_t>(i);
            frame.Size = static_cast<std::uint16_t>(length);
            frame.XingSignature =
                i + 10 <= b.size() && b.substr(i + 4, 6) == std::string_view("\0\0\0\0\0\0", 6);
            return frame;
        }
    }
    return FrameHeader();
}

VBRData ReadVbrHeader(std::string_view window, const FrameHeader& frame) {
    const auto start = static_cast<std::size_t>(frame.Position);
    const std::size_t xing = start + XingOffset(frame);
    if (xing + 8 <= window.size()) {
        const std::string_view id = window.substr(xing, 4);
        if (id == "Xing" || id == "Info") {
            return ReadXing(window, xing);
        }
    }
    const std::size_t vbri = start + kVbriOffset;
    if (vbri + kVbriSize <= window.size() && window.substr(vbri, 4) == "VBRI") {
        return ReadVbri(window, vbri);
    }
    return VBRData();
}

std::string FindVendorSignature(std::string_view window, std::size_t searchLength) {
    const std::size_t n = window.size();
    if (n < 8) {
        return "";
    }
    const std::size_t last = searchLength + 8 > n ? n - 8 : searchLength;
    for (std::size_t k = 0; k <= last; ++k) {
        const std::size_t at = n - k - 8;
        const std::string_view signature = window.substr(at, 4);
        if (signature == "LAME") {
            return VendorText(window, at);
        }
        if (signature == "GOGO") {
            return "GOGO";
        }
    }
    return "";
}

std::optional<MpegStreamAnalysis> AnalyseMpegStream(const InputFile& file, std::uint64_t audioStart,
                                                    std::uint64_t tailBytes) {
    const std::uint64_t size = file.Size();
    const auto readWindow = [&file](std::uint64_t start) -> std::optional<MpegWindow> {
        auto bytes = file.ReadAvailable(start, kMpegWindowSize);
        if (!bytes) {
            return std::nullopt;
        }
        return MpegWindow{start, std::move(*bytes)};
    };
    MpegStreamAnalysis analysis;
    analysis.AudioBytes = size > audioStart + tailBytes ? size - audioStart - tailBytes : 0;
    auto window = readWindow(audioStart);
    if (!window) {
        return std::nullopt;
    }
    auto frame = FindFirstFrame(file, *window);
    const bool firstWindowFull = window->bytes.size() == kMpegWindowSize;
    if (frame && !frame->Found && firstWindowFull) {
        // Junk in front of the audio: the search goes on through the following bytes, read at
        // once, so that the first frame (and the VBR header in it, which counts the frames)
        // is found where it is. Positions stay counted from the start of the stream.
        const auto rest = file.ReadAvailable(audioStart + kMpegWindowSize, kMpegJunkReach);
        if (!rest) {
            return std::nullopt;
        }
        window->bytes += *rest;
        frame = FindFirstFrame(file, *window, kMpegLastCandidate + 1, kMpegJunkReach);
    }
    if (frame && !frame->Found && firstWindowFull) {
        // Still nothing: try the middle of the stream (not of the file, which a large tag in
        // front of the audio would put inside the tag).
        window = readWindow(audioStart + analysis.AudioBytes / 2);
        frame = window ? FindFirstFrame(file, *window) : std::nullopt;
    }
    if (!frame) {
        return std::nullopt;
    }
    analysis.Frame = *frame;
    if (!frame->Found) {
        return analysis;
    }
    analysis.VBR = ReadVbrHeader(window->bytes, *frame);
    if (!analysis.VBR.Found) {
        // The last window of the stream, never reaching back into the tag in front of it.
        const std::uint64_t end = size > tailBytes ? size - tailBytes : 0;
        std::uint64_t start = end > kMpegWindowSize ? end - kMpegWindowSize : 0;
        start = start > audioStart ? start : (audioStart < end ? audioStart : end);
        const auto last = file.ReadAt(start, static_cast<std::size_t>(end - start));
        if (!last) {
            return std::nullopt;
        }
        analysis.VendorID = FindVendorSignature(*last, kVendorSearchFrames * frame->Size);
    }
    return analysis;
}

}  // namespace sonarchive::formats
