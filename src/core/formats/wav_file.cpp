#include "formats/wav_file.h"

#include <optional>
#include <string_view>

#include "formats/byte_order.h"
#include "formats/channel_name.h"
#include "formats/file_access.h"
#include "formats/stream_limits.h"

namespace sonarchive::formats {
namespace {

// RIFF file: "RIFF", size of what follows (32-bit little-endian), form type "WAVE"; then
// chunks of an identifier, a 32-bit little-endian size and that many bytes, padded to an even
// length.
constexpr std::uint64_t kRiffHeaderSize = 12;
constexpr std::uint64_t kChunkHeaderSize = 8;
// Files of the wild put "JUNK", "bext", "LIST" and the like before "data"; a handful at most.
// The bound keeps a hostile file of tiny chunks from costing thousands of reads.
constexpr int kMaxChunksBeforeData = 64;

// WAVEFORMATEX: format tag (0), channels (2), samples per second (4), average bytes per
// second (8), block align (12), bits per sample (14), extra size (16); WAVEFORMATEXTENSIBLE
// adds valid bits (18), channel mask (20) and the sub-format GUID (24), whose first two bytes
// are the format tag of the samples.
constexpr std::size_t kBasicFormatSize = 16;
constexpr std::size_t kExtensibleFormatSize = 40;
constexpr std::size_t kSubFormatOffset = 24;

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatIeeeFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

struct ChunkHeader {
    std::string_view id;
    std::uint64_t bodyStart;
    std::uint32_t size;
};

// The figures a chunk walk collects before the sound data.
struct ChunkWalk {
    std::optional<std::string> format;  // the format chunk's first bytes
    std::uint32_t sampleCount = 0;
    std::optional<std::uint64_t> dataStart;
    std::uint64_t dataSize = 0;
    std::uint64_t end = kRiffHeaderSize;  // where the walk stopped without finding "data"
};

// Walks the chunks from the first one to "data". False on an I/O error.
bool WalkChunks(const InputFile& file, ChunkWalk& walk) {
    std::uint64_t pos = kRiffHeaderSize;
    for (int n = 0; n < kMaxChunksBeforeData && pos + kChunkHeaderSize <= file.Size(); ++n) {
        const auto header = file.ReadAt(pos, kChunkHeaderSize);
        if (!header) {
            return false;
        }
        const ChunkHeader chunk{std::string_view(*header).substr(0, 4), pos + kChunkHeaderSize,
                                ReadLE32(*header, 4)};
        if (chunk.id == "data") {
            walk.dataStart = chunk.bodyStart;
            const std::uint64_t inFile = file.Size() - chunk.bodyStart;
            walk.dataSize = chunk.size < inFile ? chunk.size : inFile;
            return true;
        }
        if ((chunk.id == "fmt " && !walk.format) || chunk.id == "fact") {
            const std::size_t wanted = chunk.id == "fmt " ? kExtensibleFormatSize : 4;
            const auto body =
                file.ReadAvailable(chunk.bodyStart, chunk.size < wanted ? chunk.size : wanted);
            if (!body) {
                return false;
            }
            if (chunk.id == "fact" && body->size() == 4) {
                walk.sampleCount = ReadLE32(*body, 0);
            } else if (chunk.id == "fmt " && body->size() >= kBasicFormatSize) {
                walk.format = body;
            }
        }
        pos = chunk.bodyStart + chunk.size + (chunk.size & 1);
        walk.end = pos < file.Size() ? pos : file.Size();
    }
    return true;
}

}  // namespace

void TWAVfile::Reset() {
    *this = TWAVfile();
}

bool TWAVfile::Read(const std::string& fileName) {
    Reset();
    const InputFile file(fileName);
    if (!file.IsOpen()) {
        lastError_ = "cannot open the file";
        return false;
    }
    const auto riff = file.ReadAvailable(0, kRiffHeaderSize);
    ChunkWalk walk;
    if (!riff || (riff->size() == kRiffHeaderSize && !WalkChunks(file, walk))) {
        lastError_ = "read error";
        return false;
    }
    if (riff->size() < kRiffHeaderSize || riff->compare(0, 4, "RIFF") != 0 ||
        riff->compare(8, 4, "WAVE") != 0 || !walk.format) {
        lastError_ = "not a RIFF/WAVE file with a format chunk";
        return true;
    }
    const std::string& format = *walk.format;
    const std::uint16_t channels = ReadLE16(format, 2);
    if (channels > kMaxChannels || channels == 0) {
        lastError_ = "impossible channel count";
        return false;
    }
    if (channels != 1 && channels != 2) {
        lastError_ = "channel count other than 1 or 2";
        return true;
    }
    valid_ = true;
    formatTag_ = ReadLE16(format, 0);
    sampleFormat_ = formatTag_ == kFormatExtensible && format.size() >= kExtensibleFormatSize
                        ? ReadLE16(format, kSubFormatOffset)
                        : formatTag_;
    channels_ = channels;
    sampleRate_ = ReadLE32(format, 4);
    bytesPerSecond_ = ReadLE32(format, 8);
    blockAlign_ = ReadLE16(format, 12);
    bitsPerSample_ = ReadLE16(format, 14);
    sampleCount_ = walk.sampleCount;
    headerSize_ = walk.dataStart.value_or(walk.end);
    audioBytes_ = walk.dataSize;
    fileSize_ = static_cast<std::uint64_t>(ReadLE32(*riff, 4)) + 8;
    if (fileSize_ < headerSize_) {
        // The RIFF size does not even cover the header: nothing is trusted as sound data.
        headerSize_ = fileSize_;
        audioBytes_ = 0;
    }
    if (!PlausibleStream(channels_, sampleRate_, bitsPerSample_, Duration(), !IsUncompressed())) {
        const std::string reason = "impossible stream figures in the format chunk";
        Reset();
        lastError_ = reason;
        return false;
    }
    return true;
}

bool TWAVfile::IsUncompressed() const {
    return sampleFormat_ == kFormatPcm || sampleFormat_ == kFormatIeeeFloat;
}

double TWAVfile::Duration() const {
    if (!valid_) {
        return 0;
    }
    // A compressed stream's length in bytes says little about its samples; its "fact" chunk
    // counts them. For plain samples the data chunk is exact, and some writers leave a stale
    // "fact" chunk behind.
    if (!IsUncompressed() && sampleCount_ > 0 && sampleRate_ > 0) {
        return static_cast<double>(sampleCount_) / sampleRate_;
    }
    if (bytesPerSecond_ > 0) {
        return static_cast<double>(audioBytes_) / bytesPerSecond_;
    }
    return 0;
}

std::string TWAVfile::FormatName(std::uint16_t formatTag) {
    switch (formatTag) {
        case 1:
            return "Windows PCM";
        case 2:
            return "Microsoft ADPCM";
        case 6:
            return "A-LAW";
        case 7:
            return "MU-LAW";
        case 17:
            return "DVI/IMA ADPCM";
        case 85:
            return "MPEG Layer III";
        default:
            return "";
    }
}

std::string TWAVfile::ChannelName(unsigned count) {
    return ChannelCountName(count);
}

}  // namespace sonarchive::formats
