#include "formats/mpeg_audio.h"

#include <array>
#include <string_view>

#include "formats/file_access.h"
#include "formats/mpeg_stream.h"
#include "formats/name_table.h"

namespace sonarchive::formats {
namespace {

constexpr std::uint64_t kId3v1Size = 128;

}  // namespace

void TMPEGaudio::Reset() {
    *this = TMPEGaudio();
}

bool TMPEGaudio::Read(const std::string& fileName) {
    Reset();
    if (!id3v2_.Read(fileName) || !id3v1_.Read(fileName)) {
        const std::string reason =
            "cannot read the tags: " +
            (id3v2_.LastError().empty() ? id3v1_.LastError() : id3v2_.LastError());
        Reset();
        lastError_ = reason;
        return false;
    }
    const InputFile file(fileName);
    const auto analysis = AnalyseMpegStream(file, id3v2_.Size(), id3v1_.Exists() ? kId3v1Size : 0);
    if (!analysis) {
        Reset();
        lastError_ = "read error";
        return false;
    }
    if (!analysis->Frame.Found) {
        Reset();
        lastError_ = "no MPEG audio frame found";
        return true;
    }
    fileLength_ = file.Size();
    analysis_ = *analysis;
    return true;
}

bool TMPEGaudio::Valid() const {
    const std::uint16_t bitRate = BitRate();
    return analysis_.Frame.Found && bitRate >= 8 && bitRate <= 448 && Duration() >= 0.1;
}

std::string TMPEGaudio::VersionName(int id) {
    static constexpr std::array<std::string_view, 4> kNames = {"MPEG 2.5", "MPEG ?", "MPEG 2",
                                                               "MPEG 1"};
    return NameAt(kNames, id);
}

std::string TMPEGaudio::LayerName(int id) {
    static constexpr std::array<std::string_view, 4> kNames = {"Layer ?", "Layer III", "Layer II",
                                                               "Layer I"};
    return NameAt(kNames, id);
}

std::string TMPEGaudio::ChannelModeName(int id) {
    static constexpr std::array<std::string_view, 5> kNames = {"Stereo", "Joint Stereo",
                                                               "Dual Channel", "Mono", "Unknown"};
    return NameAt(kNames, id);
}

std::string TMPEGaudio::EmphasisName(int id) {
    static constexpr std::array<std::string_view, 4> kNames = {"None", "50/15 ms", "Unknown",
                                                               "CCIT J.17"};
    return NameAt(kNames, id);
}

}  // namespace sonarchive::formats
