// What the fuzz targets share: the readers and writers take paths, so every input is put into
// a scratch file first; a writer target compares the file before and after a write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sonarchive::fuzz {

// The scratch file of this process (in $TMPDIR, named after the process id, so targets that run
// side by side do not meet), holding `bytes`.
const std::string& PutInScratchFile(std::string_view bytes);

// The whole content of a file; empty when it cannot be read.
std::string ContentOf(const std::string& path);

// Stops the run with the message when `holds` is false: libFuzzer keeps the input as a crash.
void Require(bool holds, const char* what);

// The input as bytes.
inline std::string_view AsBytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Texts a writer target sets: the input's first byte picks a kind, so the writers' encoding
// choices are fuzzed along with the file behind it.
struct TagTexts {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string genre;
    std::string comment;
    std::uint8_t track = 0;
};

// Kinds: 0 plain ASCII, 1 Latin-1 letters, 2 letters beyond Latin-1, 3 long texts; `kinds`
// limits the choice to the first few (an ID3v1 tag holds neither of the last two).
TagTexts TextsFor(std::uint8_t selector, int kinds = 4);

}  // namespace sonarchive::fuzz
