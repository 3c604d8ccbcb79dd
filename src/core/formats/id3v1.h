// The ID3v1 / ID3v1.1 tag: 128 bytes at the very end of an audio file, and the genre table
// whose indexes its genre byte holds.
//
// Texts are UTF-8 inside the program and ISO-8859-1 on disk (one byte a character); a character
// ISO-8859-1 cannot hold is written as "?". Every operation opens the file for its own duration
// only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sonarchive::formats {

// The genre table: indexes 0 to 79 are the genres of the ID3v1 document, 80 to 147 the extended
// list that other programs added. The tag editor lists them from index 0 upward, so a list
// position equals a genre index.
inline constexpr int GenreCount = 148;

// The name at `index`; empty text for an index outside 0..GenreCount-1.
std::string_view GenreNameAt(int index);

// The index of the first genre whose name equals `name` ignoring case; -1 when there is none
// (empty text included).
int GenreIndexOf(std::string_view name);

class TID3v1 {
  public:
    static constexpr std::uint8_t NoGenre = 255;

    TID3v1() = default;

    // The cleared state: no tag, version 1.0, empty texts, track 0, no genre.
    void Reset();

    // Reads the last 128 bytes. False only when they cannot be read (missing file, file shorter
    // than 128 bytes, I/O error); otherwise true, with Exists() telling whether a tag was there.
    bool Read(const std::string& fileName);

    // Replaces any existing tag by one built from the fields (appends one when there is none).
    // A file shorter than 128 bytes is left alone and gives false.
    bool Write(const std::string& fileName);

    // Removes the tag. True when there was none (the file is not touched) or it was removed.
    bool Strip(const std::string& fileName);

    bool Exists() const { return exists_; }
    // 1 = ID3v1.0 layout, 2 = ID3v1.1 layout (track number in the comment field).
    std::uint8_t Version() const { return version_; }
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    const std::string& Year() const { return year_; }
    const std::string& Comment() const { return comment_; }
    std::uint8_t Track() const { return track_; }
    std::uint8_t GenreIndex() const { return genreIndex_; }
    // The table's name for GenreIndex(); empty when the index is above the table.
    std::string GenreName() const;

    // Why the last operation gave false.
    const std::string& LastError() const { return lastError_; }

    // The text setters drop trailing characters with codes 0 to 32 and then keep at most 30
    // characters (4 for the year); leading blanks stay.
    void SetTitle(std::string_view title);
    void SetArtist(std::string_view artist);
    void SetAlbum(std::string_view album);
    void SetYear(std::string_view year);
    void SetComment(std::string_view comment);
    void SetTrack(std::uint8_t track) { track_ = track; }
    void SetGenreIndex(std::uint8_t genreIndex) { genreIndex_ = genreIndex; }

  private:
    bool Fail(std::string reason);

    bool exists_ = false;
    std::uint8_t version_ = 1;
    std::string title_;
    std::string artist_;
    std::string album_;
    std::string year_;
    std::string comment_;
    std::uint8_t track_ = 0;
    std::uint8_t genreIndex_ = NoGenre;
    std::string lastError_;
};

}  // namespace sonarchive::formats
