#include "formats/monkey.h"

#include <cstdio>

#include "formats/channel_name.h"
#include "formats/file_access.h"
#include "formats/stream_limits.h"

namespace sonarchive::formats {

void TMonkey::Reset() {
    *this = TMonkey();
}

bool TMonkey::Read(const std::string& fileName) {
    Reset();
    if (!id3v1_.Read(fileName) || !id3v2_.Read(fileName) || !apeTag_.Read(fileName)) {
        lastError_ = "cannot read the tags";
        return false;
    }
    const InputFile file(fileName);
    const auto header = ReadMonkeyHeader(file, id3v2_.Size());
    if (!header) {
        lastError_ = "read error";
        return false;
    }
    fileLength_ = file.Size();
    header_ = *header;
    if (header_.ID != "MAC ") {
        lastError_ = "no Monkey's Audio header";
        return true;
    }
    if (!PlausibleStream(header_.Channels, header_.SampleRate, header_.BitsPerSample, Duration())) {
        lastError_ = "impossible stream figures in the header";
        return false;
    }
    return true;
}

bool TMonkey::Valid() const {
    return header_.ID == "MAC " && header_.SampleRate >= 1 && header_.Channels != 0;
}

std::uint64_t TMonkey::Samples() const {
    if (!Valid() || header_.TotalFrames == 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(header_.BlocksPerFrame) * (header_.TotalFrames - 1) +
           header_.FinalFrameBlocks;
}

double TMonkey::Duration() const {
    return Valid() ? static_cast<double>(Samples()) / header_.SampleRate : 0;
}

std::string TMonkey::VersionText(std::uint16_t version) {
    if (version == 0) {
        return "";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%4.2f", version / 1000.0);
    return text;
}

std::string TMonkey::ChannelName(unsigned count) {
    return ChannelCountName(count);
}

double TMonkey::PeakPercent(std::uint16_t flags, std::uint32_t peak) {
    if ((flags & kMonkeyFlagPeakLevel) == 0) {
        return 0;
    }
    double fullScale = 32768;
    switch (BitsFromFlags(flags)) {
        case 8:
            fullScale = 128;
            break;
        case 24:
            fullScale = 8388608;
            break;
        default:
            break;
    }
    return peak / fullScale * 100;
}

}  // namespace sonarchive::formats
