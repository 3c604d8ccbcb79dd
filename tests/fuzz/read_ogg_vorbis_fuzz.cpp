// The Ogg Vorbis reader on any bytes: no crash, and the figures it derives stay finite.
#include <cmath>

#include "formats/ogg_vorbis.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    formats::TOggVorbis ogg;
    if (!ogg.Read(fuzz::PutInScratchFile(fuzz::AsBytes(data, size)))) {
        return 0;
    }
    const double duration = ogg.Duration();
    fuzz::Require(std::isfinite(duration) && duration >= 0, "a playing time is a finite figure");
    fuzz::Require(ogg.ID3v2Size() <= size, "the skipped ID3v2 tag lies within the file");
    if (ogg.Valid()) {
        fuzz::Require(ogg.BitRate() > 0, "a valid stream has a bit rate");
    }
    return 0;
}
