// An ID3v2 tag written into any file: refused with the file unchanged, or the audio behind the
// tag kept byte for byte and the tag reading back as written.
#include "formats/id3v2.h"
#include "writer_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    const auto input = fuzz::TakeWriterInput(data, size);
    if (!input) {
        return 0;
    }
    formats::TID3v2 tag;
    tag.Read(input->path);
    const std::uint32_t oldSize = tag.Size();
    fuzz::SetTexts(tag, input->texts);
    tag.SetComposer(input->texts.artist);
    const bool written = tag.Write(input->path);
    const std::string after = fuzz::CheckedContentAfter(written, *input);
    if (!written) {
        return 0;
    }
    formats::TID3v2 back;
    fuzz::Require(back.Read(input->path) && back.Exists(), "the written tag is there");
    fuzz::Require(after.compare(back.Size(), std::string::npos, input->before, oldSize,
                                std::string::npos) == 0,
                  "the audio behind the tag is kept");
    fuzz::Require(fuzz::HoldsTexts(back, input->texts) && back.Composer() == input->texts.artist,
                  "the tag reads back as written");
    return 0;
}
