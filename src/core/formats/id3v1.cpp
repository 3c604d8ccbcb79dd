#include "formats/id3v1.h"

#include <array>
#include <optional>

#include "formats/file_access.h"
#include "text/text.h"

namespace sonarchive::formats {
namespace {

// The names keep the spellings other programs have stored in tags for decades ("Psychadelic",
// "Progessive Rock"): a catalog matches them by text, so they must not be corrected.
// clang-format off
constexpr std::array<std::string_view, GenreCount> kGenres = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
    "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno",
    "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno",
    "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental",
    "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul",
    "Punk", "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic",
    "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",
    "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk",
    "Jungle", "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes",
    "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical",
    "Rock & Roll", "Hard Rock",
    // The extended list from here on.
    "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion",
    "Bebob", "Latin", "Revival", "Celtic", "Bluegrass", "Avantgarde", "Gothic Rock",
    "Progessive Rock", "Psychedelic Rock", "Symphonic Rock", "Slow Rock", "Big Band", "Chorus",
    "Easy Listening", "Acoustic", "Humour", "Speech", "Chanson", "Opera", "Chamber Music",
    "Sonata", "Symphony", "Booty Bass", "Primus", "Porn Groove", "Satire", "Slow Jam", "Club",
    "Tango", "Samba", "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul", "Freestyle", "Duet",
    "Punk Rock", "Drum Solo", "A capella", "Euro-House", "Dance Hall", "Goa", "Drum & Bass",
    "Club-House", "Hardcore", "Terror", "Indie", "BritPop", "Negerpunk", "Polsk Punk", "Beat",
    "Christian Gangsta Rap", "Heavy Metal", "Black Metal", "Crossover", "Contemporary Christian",
    "Christian Rock", "Merengue", "Salsa", "Trash Metal", "Anime", "JPop", "Synthpop",
};
// clang-format on

// Layout of the 128-byte block (offsets from its first byte).
constexpr std::size_t kTagSize = 128;
constexpr std::string_view kMagic = "TAG";

struct Field {
    std::size_t offset;
    std::size_t width;
};
constexpr Field kTitle{3, 30};
constexpr Field kArtist{33, 30};
constexpr Field kAlbum{63, 30};
constexpr Field kYear{93, 4};
constexpr Field kComment{97, 30};
constexpr Field kShortComment{97, 28};  // ID3v1.1: bytes 125 and 126 hold 0 and the track
constexpr std::size_t kTrackMarker = 125;
constexpr std::size_t kTrackByte = 126;
constexpr std::size_t kGenreByte = 127;

struct LastBlock {
    std::uint64_t fileSize = 0;
    std::string bytes;

    // A file that ends in an APE tag footer has no ID3v1 tag, even when the "TAG" inside an
    // APE header ("APETAGEX") lies exactly 128 bytes before its end.
    bool IsTag() const {
        return bytes.starts_with(kMagic) && bytes.compare(kTagSize - 32, 8, "APETAGEX") != 0;
    }
};

std::optional<LastBlock> ReadLastBlock(const std::string& fileName, std::string& error) {
    const InputFile file(fileName);
    if (!file.IsOpen()) {
        error = "cannot open the file for reading";
        return std::nullopt;
    }
    if (file.Size() < kTagSize) {
        error = "the file is shorter than an ID3v1 tag";
        return std::nullopt;
    }
    auto bytes = file.ReadAt(file.Size() - kTagSize, kTagSize);
    if (!bytes) {
        error = "cannot read the end of the file";
        return std::nullopt;
    }
    return LastBlock{file.Size(), std::move(*bytes)};
}

// A field's text ends at its first zero byte: writers terminate shorter texts with one and
// some leave stale bytes of their buffers behind it. Blanks and control characters at the end
// are padding.
std::string ReadText(std::string_view block, Field field) {
    std::string_view raw = block.substr(field.offset, field.width);
    raw = raw.substr(0, raw.find('\0'));
    return text::Latin1ToUtf8(text::TrimTrailingControlAndBlank(raw));
}

void PutText(std::string& block, Field field, std::string_view utf8) {
    const std::string latin1 = text::Utf8ToLatin1(utf8);
    block.replace(field.offset, std::min(latin1.size(), field.width), latin1, 0, field.width);
}

bool IsVersion11(std::string_view block) {
    const char marker = block[kTrackMarker];
    const char track = block[kTrackByte];
    return (marker == '\0' && track != '\0') || (marker == ' ' && track != ' ');
}

std::string CutField(std::string_view value, std::size_t characters) {
    return text::CutCodePoints(text::TrimTrailingControlAndBlank(text::SanitizeUtf8(value)),
                               characters);
}

}  // namespace

std::string_view GenreNameAt(int index) {
    if (index < 0 || index >= GenreCount) {
        return {};
    }
    return kGenres[static_cast<std::size_t>(index)];
}

int GenreIndexOf(std::string_view name) {
    if (name.empty()) {
        return -1;
    }
    for (int i = 0; i < GenreCount; ++i) {
        if (text::EqualsIgnoringCase(kGenres[static_cast<std::size_t>(i)], name)) {
            return i;
        }
    }
    return -1;
}

void TID3v1::Reset() {
    *this = TID3v1();
}

bool TID3v1::Fail(std::string reason) {
    lastError_ = std::move(reason);
    return false;
}

bool TID3v1::Read(const std::string& fileName) {
    Reset();
    const auto last = ReadLastBlock(fileName, lastError_);
    if (!last) {
        return false;
    }
    if (!last->IsTag()) {
        return true;
    }
    const std::string_view block = last->bytes;
    exists_ = true;
    version_ = IsVersion11(block) ? 2 : 1;
    title_ = ReadText(block, kTitle);
    artist_ = ReadText(block, kArtist);
    album_ = ReadText(block, kAlbum);
    year_ = ReadText(block, kYear);
    if (version_ == 2) {
        comment_ = ReadText(block, kShortComment);
        track_ = static_cast<std::uint8_t>(block[kTrackByte]);
    } else {
        comment_ = ReadText(block, kComment);
    }
    genreIndex_ = static_cast<std::uint8_t>(block[kGenreByte]);
    return true;
}

bool TID3v1::Strip(const std::string& fileName) {
    lastError_.clear();
    const auto last = ReadLastBlock(fileName, lastError_);
    if (!last) {
        return false;
    }
    if (!last->IsTag()) {
        return true;
    }
    if (!TruncateFile(fileName, last->fileSize - kTagSize)) {
        return Fail("cannot cut the tag off the file");
    }
    return true;
}

bool TID3v1::Write(const std::string& fileName) {
    lastError_.clear();
    std::string block(kTagSize, '\0');
    block.replace(0, kMagic.size(), kMagic);
    PutText(block, kTitle, title_);
    PutText(block, kArtist, artist_);
    PutText(block, kAlbum, album_);
    PutText(block, kYear, year_);
    PutText(block, kComment, comment_);
    if (track_ != 0) {
        block[kTrackMarker] = '\0';
        block[kTrackByte] = static_cast<char>(track_);
    }
    block[kGenreByte] = static_cast<char>(genreIndex_);

    const auto last = ReadLastBlock(fileName, lastError_);
    if (!last) {
        return false;
    }
    // An existing tag is overwritten where it stands, so no failure can leave the file without
    // one; a new tag is appended, and a failed append is cut off again.
    if (last->IsTag()) {
        return OverwriteAt(fileName, last->fileSize - kTagSize, block) ||
               Fail("cannot write the tag");
    }
    if (!AppendToFile(fileName, block)) {
        TruncateFile(fileName, last->fileSize);
        return Fail("cannot append the tag");
    }
    return true;
}

std::string TID3v1::GenreName() const {
    return std::string(GenreNameAt(genreIndex_));
}

void TID3v1::SetTitle(std::string_view title) {
    title_ = CutField(title, kTitle.width);
}
void TID3v1::SetArtist(std::string_view artist) {
    artist_ = CutField(artist, kArtist.width);
}
void TID3v1::SetAlbum(std::string_view album) {
    album_ = CutField(album, kAlbum.width);
}
void TID3v1::SetYear(std::string_view year) {
    year_ = CutField(year, kYear.width);
}
void TID3v1::SetComment(std::string_view comment) {
    comment_ = CutField(comment, kComment.width);
}

}  // namespace sonarchive::formats
