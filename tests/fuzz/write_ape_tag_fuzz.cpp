// An APE tag written into any file: refused with the file unchanged, or the audio in front of
// the tag and a trailing ID3v1 tag kept byte for byte and the tag reading back as written.
#include "formats/ape_tag.h"
#include "formats/ape_tag_layout.h"
#include "formats/file_access.h"
#include "writer_checks.h"

namespace {

// Where the old tag began (the end of the audio) and whether an ID3v1 tag ends the file.
sonarchive::formats::ape::TagLocation LocationIn(const std::string& path) {
    const sonarchive::formats::InputFile file(path);
    const auto location = sonarchive::formats::ape::LocateTag(file);
    sonarchive::fuzz::Require(location.has_value(), "the scratch file can be read");
    return *location;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    const auto input = fuzz::TakeWriterInput(data, size);
    if (!input) {
        return 0;
    }
    const formats::ape::TagLocation old = LocationIn(input->path);
    formats::TAPEtag tag;
    tag.Read(input->path);
    fuzz::SetTexts(tag, input->texts);
    const bool written = tag.Write(input->path);
    const std::string after = fuzz::CheckedContentAfter(written, *input);
    if (!written) {
        return 0;
    }
    const std::string& before = input->before;
    const std::uint64_t audio = old.exists ? old.start : old.end;
    fuzz::Require(after.compare(0, audio, before, 0, audio) == 0, "the audio bytes are kept");
    if (old.hasId3v1) {
        fuzz::Require(after.size() >= 128 &&
                          after.compare(after.size() - 128, 128, before, before.size() - 128,
                                        128) == 0,
                      "the ID3v1 tag stays behind the new tag");
    }
    formats::TAPEtag back;
    fuzz::Require(back.Read(input->path) && back.Exists(), "the written tag is there");
    fuzz::Require(fuzz::HoldsTexts(back, input->texts), "the tag reads back as written");
    return 0;
}
