// The MPEG audio analysis on any bytes: no crash, and the figures it derives stay finite.
#include <cmath>

#include "formats/mpeg_audio.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    formats::TMPEGaudio audio;
    if (!audio.Read(fuzz::PutInScratchFile(fuzz::AsBytes(data, size)))) {
        return 0;
    }
    const double duration = audio.Duration();
    fuzz::Require(std::isfinite(duration) && duration >= 0, "a playing time is a finite figure");
    if (audio.Valid()) {
        fuzz::Require(audio.SampleRate() > 0 && audio.Frames() >= 0,
                      "a valid stream has a sample rate and a frame count");
        fuzz::Require(!formats::TMPEGaudio::VersionName(audio.VersionID()).empty() &&
                          !formats::TMPEGaudio::LayerName(audio.LayerID()).empty(),
                      "a valid stream's version and layer have names");
        static_cast<void>(audio.Encoder());
    }
    return 0;
}
