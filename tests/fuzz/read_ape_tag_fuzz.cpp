// The APE tag reader on any bytes: no crash, and a tag it finds fits the file.
#include "formats/ape_tag.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    formats::TAPEtag tag;
    fuzz::Require(tag.Read(fuzz::PutInScratchFile(fuzz::AsBytes(data, size))),
                  "a readable file always gives a tag read");
    if (tag.Exists()) {
        fuzz::Require(tag.Size() <= size, "the tag lies within the file");
        static_cast<void>(tag.Track());
    }
    return 0;
}
