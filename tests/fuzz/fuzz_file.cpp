#include "fuzz_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace sonarchive::fuzz {
namespace {

std::string ScratchPath() {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
           "/sonarchive-fuzz-" + std::to_string(::getpid());
}

// Removes the scratch file when the process ends normally.
struct Scratch {
    std::string path = ScratchPath();
    ~Scratch() { std::remove(path.c_str()); }
};

}  // namespace

const std::string& PutInScratchFile(std::string_view bytes) {
    static const Scratch scratch;
    std::ofstream out(scratch.path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    Require(static_cast<bool>(out), "the scratch file could not be written");
    return scratch.path;
}

std::string ContentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

TagTexts TextsFor(std::uint8_t selector, int kinds) {
    switch (selector % kinds) {
        case 1:
            return {"Café Müller", "Björk Guðmundsdóttir", "Señor Ñandú", "1999", "Électro",
                    "Grüße", 7};
        case 2:
            return {"Ночь", "夜の歌", "Ελληνικά", "2024", "Поп", "コメント", 12};
        case 3:
            return {std::string(300, 't'), std::string(1000, 'a'), std::string(70000, 'l'),
                    "1800", std::string(256, 'g'), std::string(5000, 'c'), 255};
        default:
            return {"Title", "Artist", "Album", "2001", "Rock", "Comment", 3};
    }
}

}  // namespace sonarchive::fuzz
