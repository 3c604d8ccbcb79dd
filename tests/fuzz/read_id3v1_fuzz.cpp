// The ID3v1 reader on any bytes: it must neither crash nor leave a genre name it cannot name.
#include "formats/id3v1.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    formats::TID3v1 tag;
    const bool read = tag.Read(fuzz::PutInScratchFile(fuzz::AsBytes(data, size)));
    fuzz::Require(read == (size >= 128), "a tag read fails exactly when 128 bytes are missing");
    if (tag.GenreIndex() < formats::GenreCount) {
        fuzz::Require(!tag.GenreName().empty(), "a genre index of the table has a name");
    }
    fuzz::Require(tag.Title().size() <= 60 && tag.Comment().size() <= 60,
                  "30 bytes of ISO-8859-1 give at most 60 bytes of UTF-8");
    return 0;
}
