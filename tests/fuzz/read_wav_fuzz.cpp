// The WAV reader on any bytes: no crash, and an accepted header has figures a real file can
// have.
#include <cmath>

#include "formats/wav_file.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    formats::TWAVfile wav;
    if (!wav.Read(fuzz::PutInScratchFile(fuzz::AsBytes(data, size))) || !wav.Valid()) {
        return 0;
    }
    fuzz::Require(wav.Channels() >= 1 && wav.Channels() <= 32, "1 to 32 channels");
    fuzz::Require(wav.SampleRate() >= 1 && wav.SampleRate() <= 1536000, "a real sample rate");
    fuzz::Require(wav.HeaderSize() + wav.AudioBytes() <= size, "the sound data lies in the file");
    const double duration = wav.Duration();
    fuzz::Require(std::isfinite(duration) && duration >= 0 && duration <= 30.0 * 86400,
                  "at most 30 days");
    static_cast<void>(formats::TWAVfile::FormatName(wav.FormatTag()));
    return 0;
}
