// An ID3v1 tag written into any file: refused with the file unchanged, or every byte in front
// of the tag kept and the tag reading back as written.
#include "formats/id3v1.h"
#include "writer_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    const auto input = fuzz::TakeWriterInput(data, size, 2);
    if (!input) {
        return 0;
    }
    formats::TID3v1 old;
    old.Read(input->path);
    formats::TID3v1 tag;
    fuzz::SetTexts(tag, input->texts);
    const bool written = tag.Write(input->path);
    const std::string after = fuzz::CheckedContentAfter(written, *input);
    if (!written) {
        return 0;
    }
    const std::size_t audio = input->before.size() - (old.Exists() ? 128 : 0);
    fuzz::Require(after.size() == audio + 128, "the file holds its audio and one tag");
    fuzz::Require(after.compare(0, audio, input->before, 0, audio) == 0,
                  "the audio bytes are kept");
    formats::TID3v1 back;
    fuzz::Require(back.Read(input->path) && back.Exists(), "the written tag is there");
    fuzz::Require(fuzz::HoldsTexts(back, input->texts), "the tag reads back as written");
    return 0;
}
