// The Monkey's Audio reader on any bytes: no crash, and an accepted header has figures a real
// file can have.
#include <cmath>

#include "formats/monkey.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    formats::TMonkey monkey;
    if (!monkey.Read(fuzz::PutInScratchFile(fuzz::AsBytes(data, size))) || !monkey.Valid()) {
        return 0;
    }
    const formats::MonkeyHeader& header = monkey.Header();
    fuzz::Require(header.Channels >= 1 && header.Channels <= 32, "1 to 32 channels");
    fuzz::Require(header.SampleRate >= 1 && header.SampleRate <= 1536000, "a real sample rate");
    const double duration = monkey.Duration();
    fuzz::Require(std::isfinite(duration) && duration >= 0 && duration <= 30.0 * 86400,
                  "at most 30 days");
    static_cast<void>(formats::TMonkey::PeakPercent(header.FormatFlags, header.PeakLevel));
    static_cast<void>(formats::TMonkey::VersionText(header.Version));
    return 0;
}
