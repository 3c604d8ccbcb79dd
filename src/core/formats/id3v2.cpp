#include "formats/id3v2.h"

#include "formats/file_access.h"
#include "formats/id3v2_header.h"
#include "text/text.h"

namespace sonarchive::formats {

using id3v2::kHeaderSize;
using id3v2::ParseHeader;
using id3v2::TagHeader;

namespace {

// The header of the file's tag and the bytes it occupies (0 when its size field points past
// the end of the file).
struct ExistingTag {
    TagHeader header;
    std::uint32_t size = 0;
};

std::optional<ExistingTag> FindTag(const InputFile& file) {
    const auto first = file.ReadAt(0, kHeaderSize);
    if (!first) {
        return std::nullopt;
    }
    const auto header = ParseHeader(*first);
    if (!header) {
        return std::nullopt;
    }
    const std::uint64_t total = header->TotalSize();
    return ExistingTag{*header, total <= file.Size() ? static_cast<std::uint32_t>(total) : 0};
}

}  // namespace

void TID3v2::Reset() {
    *this = TID3v2();
}

bool TID3v2::Fail(std::string reason) {
    lastError_ = std::move(reason);
    return false;
}

bool TID3v2::Read(const std::string& fileName) {
    Reset();
    const InputFile file(fileName);
    if (!file.IsOpen()) {
        return Fail("cannot open the file for reading");
    }
    if (file.Size() < kHeaderSize) {
        return Fail("the file is shorter than an ID3v2 header");
    }
    const auto tag = FindTag(file);
    if (!tag) {
        return true;
    }
    exists_ = true;
    version_ = tag->header.version;
    size_ = tag->size;
    return true;
}

bool TID3v2::Write(const std::string&) {
    return Fail("writing is not available yet");
}

bool TID3v2::Strip(const std::string& fileName) {
    lastError_.clear();
    std::uint32_t tagSize = 0;
    {
        const InputFile file(fileName);
        if (!file.IsOpen()) {
            return Fail("cannot open the file for reading");
        }
        const auto tag = FindTag(file);
        if (!tag) {
            return Fail("the file has no ID3v2 tag");
        }
        if (tag->size == 0) {
            return Fail("the ID3v2 tag claims more bytes than the file has");
        }
        tagSize = tag->size;
    }
    const bool ok = RewriteFile(fileName, [tagSize](const InputFile& original, OutputFile& out) {
        return out.CopyRest(original, tagSize);
    });
    return ok || Fail("cannot rebuild the file without its tag");
}

void TID3v2::SetTitle(std::string_view title) {
    fields_.title = text::TrimControlAndBlank(title);
}
void TID3v2::SetArtist(std::string_view artist) {
    fields_.artist = text::TrimControlAndBlank(artist);
}
void TID3v2::SetAlbum(std::string_view album) {
    fields_.album = text::TrimControlAndBlank(album);
}
void TID3v2::SetYear(std::string_view year) {
    fields_.year = text::TrimControlAndBlank(year);
}
void TID3v2::SetGenre(std::string_view genre) {
    fields_.genre = text::TrimControlAndBlank(genre);
}
void TID3v2::SetComment(std::string_view comment) {
    fields_.comment = text::TrimControlAndBlank(comment);
}
void TID3v2::SetComposer(std::string_view composer) {
    fields_.composer = text::TrimControlAndBlank(composer);
}
void TID3v2::SetEncoder(std::string_view encoder) {
    fields_.encoder = text::TrimControlAndBlank(encoder);
}
void TID3v2::SetCopyright(std::string_view copyright) {
    fields_.copyright = text::TrimControlAndBlank(copyright);
}
void TID3v2::SetLanguage(std::string_view language) {
    fields_.language = text::TrimControlAndBlank(language);
}
void TID3v2::SetLink(std::string_view link) {
    fields_.link = text::TrimControlAndBlank(link);
}

}  // namespace sonarchive::formats
