#include "writer_checks.h"

namespace sonarchive::fuzz {

std::optional<WriterInput> TakeWriterInput(const std::uint8_t* data, std::size_t size,
                                           int kinds) {
    if (size == 0) {
        return std::nullopt;
    }
    WriterInput input{TextsFor(data[0], kinds), std::string(AsBytes(data + 1, size - 1)), {}};
    input.path = PutInScratchFile(input.before);
    return input;
}

std::string CheckedContentAfter(bool written, const WriterInput& input) {
    std::string after = ContentOf(input.path);
    Require(written || after == input.before, "a refused write leaves the file as it was");
    return after;
}

}  // namespace sonarchive::fuzz
