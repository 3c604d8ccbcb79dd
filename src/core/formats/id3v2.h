// The ID3v2 tag at the start of an audio file: versions 2.2, 2.3 and 2.4 are read, version 2.3
// is written.
//
// The class reads twelve text fields. Writing replaces only the frames of the fields that
// differ from what the file holds; every other frame (pictures, lyrics, other texts, private
// data) is carried over, converted to the 2.3 form when the tag had another version. A new tag
// that fits the old tag's space and leaves at most 4096 bytes of it as padding is written in
// place, whatever the tag's size; otherwise the file is rebuilt behind a tag padded to 4096
// bytes, through a temporary copy that is made durable before it replaces the original.
//
// Size() also tells the MPEG and Monkey's Audio analysers where the audio begins.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sonarchive::formats {

// The texts a tag holds, in UTF-8.
struct Id3v2Fields {
    std::string title;
    std::string artist;
    std::string album;
    std::uint16_t track = 0;  // 0 = none
    std::string year;
    std::string genre;
    std::string comment;
    std::string composer;
    std::string encoder;
    std::string copyright;
    std::string language;
    std::string link;

    bool operator==(const Id3v2Fields&) const = default;
};

class TID3v2 {
public:
    TID3v2() = default;

    // The cleared state: no tag, version 0, size 0, empty fields.
    void Reset();

    // Reads the tag. False only when the first 10 bytes cannot be read (missing file, file
    // shorter than 10 bytes, I/O error); otherwise true, with Exists() telling whether there
    // was a tag.
    bool Read(const std::string& fileName);

    // Writes the fields as a version 2.3 tag, replacing any ID3v2 tag the file has.
    bool Write(const std::string& fileName);

    // Removes the tag; false when there is none or the file cannot be rebuilt.
    bool Strip(const std::string& fileName);

    // An "ID3" header was found at offset 0.
    bool Exists() const { return exists_; }
    // The major version byte of the header (2, 3 or 4; no frames are read for other values).
    std::uint8_t Version() const { return version_; }
    // Bytes the tag occupies at the start of the file, header and footer included; 0 when
    // there is no tag or its size field points past the end of the file.
    std::uint32_t Size() const { return size_; }

    const std::string& Title() const { return fields_.title; }
    const std::string& Artist() const { return fields_.artist; }
    const std::string& Album() const { return fields_.album; }
    std::uint16_t Track() const { return fields_.track; }
    const std::string& Year() const { return fields_.year; }
    const std::string& Genre() const { return fields_.genre; }
    const std::string& Comment() const { return fields_.comment; }
    const std::string& Composer() const { return fields_.composer; }
    const std::string& Encoder() const { return fields_.encoder; }
    const std::string& Copyright() const { return fields_.copyright; }
    const std::string& Language() const { return fields_.language; }
    const std::string& Link() const { return fields_.link; }
    const Id3v2Fields& Fields() const { return fields_; }

    // Why the last operation gave false.
    const std::string& LastError() const { return lastError_; }

    // The text setters drop leading and trailing characters with codes 0 to 32.
    void SetTitle(std::string_view title);
    void SetArtist(std::string_view artist);
    void SetAlbum(std::string_view album);
    void SetTrack(std::uint16_t track) { fields_.track = track; }
    void SetYear(std::string_view year);
    void SetGenre(std::string_view genre);
    void SetComment(std::string_view comment);
    void SetComposer(std::string_view composer);
    void SetEncoder(std::string_view encoder);
    void SetCopyright(std::string_view copyright);
    void SetLanguage(std::string_view language);
    void SetLink(std::string_view link);

private:
    bool Fail(std::string reason);

    bool exists_ = false;
    std::uint8_t version_ = 0;
    std::uint32_t size_ = 0;
    Id3v2Fields fields_;
    std::string lastError_;
};

}  // namespace sonarchive::formats
