#include "formats/id3v2.h"

#include "formats/byte_order.h"
#include "formats/file_access.h"
#include "formats/id3v2_convert.h"
#include "formats/id3v2_fields.h"
#include "formats/id3v2_frames.h"
#include "formats/id3v2_header.h"
#include "text/text.h"

namespace sonarchive::formats {

using id3v2::Frame;
using id3v2::kHeaderSize;
using id3v2::LargeFrames;
using id3v2::ParseHeader;
using id3v2::TagHeader;

namespace {

// The size a rebuilt tag is padded to, and the most padding an in-place write may leave: a
// tag that would keep more is rebuilt smaller rather than carry the dead space on.
constexpr std::uint32_t kPaddedTagSize = 4096;
constexpr std::uint32_t kLargestPaddingInPlace = 4096;
// The size field has 28 bits.
constexpr std::uint64_t kLargestTagBody = (1u << 28) - 1;

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

// The new tag, version 2.3.0 without flags, before padding; its size field is set by PadTag.
std::string BuildTag(const std::vector<Frame>& frames) {
    std::string tag("ID3\x03\0\0", 6);
    tag.resize(kHeaderSize);
    for (const Frame& frame : frames) {
        tag += id3v2::SerializeFrame(frame);
    }
    return tag;
}

// A field as the setters store it: valid UTF-8 without blanks and control characters around.
std::string Cleaned(std::string_view value) {
    return text::TrimControlAndBlank(text::SanitizeUtf8(value));
}

void PadTag(std::string& tag, std::uint64_t paddedSize) {
    if (tag.size() < paddedSize) {
        tag.resize(paddedSize, '\0');
    }
    std::string size;
    AppendSyncsafe32(size, static_cast<std::uint32_t>(tag.size() - kHeaderSize));
    tag.replace(6, 4, size);
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
    if (size_ > 0) {
        const auto frames =
            id3v2::ReadFrames(file, tag->header, id3v2::IsFieldFrame, LargeFrames::Skip);
        fields_ = id3v2::DeriveFields(frames, version_);
    }
    return true;
}

// Frames of fields that did not change are kept as they are, so that nothing the user did not
// touch is rewritten. What counts as unchanged is judged on the frames in their 2.3 form: a
// value that would read differently after the conversion is written anew.
bool TID3v2::Write(const std::string& fileName) {
    lastError_.clear();
    std::uint32_t oldSize = 0;
    std::vector<Frame> frames;
    {
        const InputFile file(fileName);
        if (!file.IsOpen()) {
            return Fail("cannot open the file for reading");
        }
        if (const auto tag = FindTag(file); tag && tag->size > 0) {
            oldSize = tag->size;
            frames = id3v2::ReadFrames(
                file, tag->header, [](std::string_view) { return true; }, LargeFrames::Load);
            id3v2::ConvertToVersion23(frames, tag->header.version);
        }
    }
    const Id3v2Fields before = id3v2::DeriveFields(frames, 3);
    std::optional<std::vector<Frame>> changed =
        id3v2::ApplyFieldChanges(std::move(frames), before, fields_);
    if (!changed) {
        return Fail("a text is too long for the tag");
    }

    std::string tag = BuildTag(*changed);
    if (tag.size() - kHeaderSize > kLargestTagBody) {
        return Fail("the tag would be larger than ID3v2 allows");
    }
    // Cover art makes tags far larger than their padding; such a tag is still rewritten in
    // place as long as the new frames fit, so an edit never copies the audio for its sake.
    const bool inPlace = oldSize >= tag.size() && oldSize - tag.size() <= kLargestPaddingInPlace;
    PadTag(tag, inPlace ? oldSize : kPaddedTagSize);
    if (inPlace) {
        return OverwriteAt(fileName, 0, tag) || Fail("cannot write the tag");
    }
    const bool ok = RewriteFile(fileName, [&](const InputFile& original, OutputFile& out) {
        return out.Write(tag) && out.CopyRest(original, oldSize);
    });
    return ok || Fail("cannot rebuild the file with the new tag");
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
    fields_.title = Cleaned(title);
}
void TID3v2::SetArtist(std::string_view artist) {
    fields_.artist = Cleaned(artist);
}
void TID3v2::SetAlbum(std::string_view album) {
    fields_.album = Cleaned(album);
}
void TID3v2::SetYear(std::string_view year) {
    fields_.year = Cleaned(year);
}
void TID3v2::SetGenre(std::string_view genre) {
    fields_.genre = Cleaned(genre);
}
void TID3v2::SetComment(std::string_view comment) {
    fields_.comment = Cleaned(comment);
}
void TID3v2::SetComposer(std::string_view composer) {
    fields_.composer = Cleaned(composer);
}
void TID3v2::SetEncoder(std::string_view encoder) {
    fields_.encoder = Cleaned(encoder);
}
void TID3v2::SetCopyright(std::string_view copyright) {
    fields_.copyright = Cleaned(copyright);
}
void TID3v2::SetLanguage(std::string_view language) {
    fields_.language = Cleaned(language);
}
void TID3v2::SetLink(std::string_view link) {
    fields_.link = Cleaned(link);
}

}  // namespace sonarchive::formats
