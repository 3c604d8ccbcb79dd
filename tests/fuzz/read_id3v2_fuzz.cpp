// The ID3v2 reader on any bytes: no crash, and a stated size never lies past the file.
#include "formats/id3v2.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    formats::TID3v2 tag;
    const bool read = tag.Read(fuzz::PutInScratchFile(fuzz::AsBytes(data, size)));
    fuzz::Require(read == (size >= 10), "a tag read fails exactly when 10 bytes are missing");
    fuzz::Require(tag.Size() <= size, "the tag lies within the file");
    fuzz::Require(tag.Exists() || tag.Size() == 0, "without a tag, the audio starts at 0");
    return 0;
}
