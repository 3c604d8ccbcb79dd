#include "formats/ogg_vorbis.h"

#include <cmath>
#include <limits>

#include "formats/channel_name.h"
#include "formats/file_access.h"
#include "formats/ogg_packet_reader.h"
#include "formats/ogg_vorbis_rewrite.h"
#include "formats/ogg_vorbis_stream.h"
#include "text/text.h"

namespace sonarchive::formats {
namespace {

constexpr double kMinimumValidDuration = 0.1;  // seconds

// A rate in bit/s as kbit/s, rounded half to even (the default rounding mode).
std::uint32_t KbitPerSecond(std::int32_t bitsPerSecond) {
    return bitsPerSecond > 0 ? static_cast<std::uint32_t>(std::nearbyint(bitsPerSecond / 1000.0))
                             : 0;
}

}  // namespace

void TOggVorbis::Reset() {
    *this = TOggVorbis();
}

bool TOggVorbis::Fail(std::string reason) {
    lastError_ = std::move(reason);
    return false;
}

bool TOggVorbis::Read(const std::string& fileName) {
    Reset();
    const InputFile file(fileName);
    if (!file.IsOpen()) {
        return Fail("cannot open the file");
    }
    OggVorbisFileInfo info;
    std::string error;
    if (!LocateVorbisStream(file, info, error)) {
        return Fail(error);
    }
    fileSize_ = info.fileSize;
    id3v2Size_ = info.id3v2Size;
    channelCount_ = info.identification.channels;
    sampleRate_ = info.identification.sampleRate;
    nominalBitRate_ = KbitPerSecond(info.identification.nominalBitRate);

    // A missing or damaged comment header leaves the texts empty; the stream is still usable.
    OggPacketReader packet(file);
    VorbisComment comment;
    if (packet.Start(info.firstPage) && packet.NextPacket() &&
        ReadVorbisComment(packet, kVorbisFieldLoadLimit, comment)) {
        vendor_ = text::SanitizeUtf8(text::TrimControlAndBlank(comment.vendor));
        texts_ = TagTextsOf(comment.fields);
    }
    samples_ = LastGranulePosition(file, info);
    return true;
}

bool TOggVorbis::Write(const std::string& fileName) {
    lastError_.clear();
    std::string error;
    const bool written = RewriteFile(fileName, [&](const InputFile& original, OutputFile& out) {
        return RewriteOggVorbis(original, texts_, out, error);
    });
    if (!written) {
        return Fail(error.empty() ? "cannot write the file" : error);
    }
    return true;
}

bool TOggVorbis::Valid() const {
    return (channelCount_ == 1 || channelCount_ == 2) && sampleRate_ > 0 &&
           Duration() > kMinimumValidDuration && BitRate() > 0;
}

double TOggVorbis::Duration() const {
    if (samples_ > 0) {
        return sampleRate_ > 0 ? static_cast<double>(samples_) / sampleRate_ : 0.0;
    }
    // Without a last page, estimate from the nominal rate, which covers all channels together.
    if (nominalBitRate_ > 0 && channelCount_ > 0) {
        return static_cast<double>(fileSize_ - id3v2Size_) / nominalBitRate_ / 125.0;
    }
    return 0.0;
}

std::uint32_t TOggVorbis::BitRate() const {
    const double duration = Duration();
    if (duration <= 0) {
        return 0;
    }
    const double rate =
        std::nearbyint(static_cast<double>(fileSize_ - id3v2Size_) / duration / 125.0);
    constexpr auto kLargest = std::numeric_limits<std::uint32_t>::max();
    return rate >= kLargest ? kLargest : static_cast<std::uint32_t>(rate);
}

std::string TOggVorbis::ChannelName(unsigned channelCount) {
    return ChannelCountName(channelCount);
}

}  // namespace sonarchive::formats
