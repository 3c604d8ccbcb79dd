// The APE tag at the end of a file (Monkey's Audio files and others): eight text items read
// and written, every other item kept.
//
// Reading decodes APE 1.0 values as ISO-8859-1 and APE 2.0 values as UTF-8. Writing replaces
// the tag (with its header, if it had one) by one tag without header; an ID3v1 tag behind it
// stays behind the new one. Items other than the eight (other texts, cover art and other binary
// items) are copied byte for byte, and so is every one of the eight whose value was not changed.
// The tag is written as version 2.0 when the file's tag was 2.0 or a value needs characters outside
// ISO-8859-1, otherwise as version 1.0.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sonarchive::formats {

class TAPEtag {
public:
    void Reset();

    // False only when the file could not be opened or read; otherwise true, with Exists()
    // telling whether there was a tag.
    bool Read(const std::string& fileName);

    // Replaces any APE tag by a tag of the current fields, through a temporary copy: on
    // failure the file is left as it was. A trailing ID3v1 tag is kept byte for byte.
    bool Write(const std::string& fileName);

    // Removes the APE tag; a trailing ID3v1 tag is kept byte for byte, and a file without an
    // APE tag is not touched.
    bool Strip(const std::string& fileName);

    bool Exists() const { return exists_; }
    // The version field: 1000 for APE 1.0, 2000 for APE 2.0.
    std::uint32_t Version() const { return version_; }
    // The footer's size field: items and footer, without a header.
    std::uint32_t Size() const { return size_; }

    const std::string& Title() const { return values_[kTitle]; }
    const std::string& Artist() const { return values_[kArtist]; }
    const std::string& Album() const { return values_[kAlbum]; }
    // The number before a "/" of the Track item; 0 when there is none or it exceeds 255.
    std::uint8_t Track() const;
    const std::string& Year() const { return values_[kYear]; }
    const std::string& Genre() const { return values_[kGenre]; }
    const std::string& Comment() const { return values_[kComment]; }
    const std::string& Copyright() const { return values_[kCopyright]; }

    // Setters drop leading and trailing characters with codes 0 to 32.
    void SetTitle(std::string_view text) { SetText(kTitle, text); }
    void SetArtist(std::string_view text) { SetText(kArtist, text); }
    void SetAlbum(std::string_view text) { SetText(kAlbum, text); }
    // 0 removes the Track item. Setting the number the item already holds keeps its text
    // ("3/10" stays "3/10").
    void SetTrack(std::uint8_t track);
    void SetYear(std::string_view text) { SetText(kYear, text); }
    void SetGenre(std::string_view text) { SetText(kGenre, text); }
    void SetComment(std::string_view text) { SetText(kComment, text); }
    void SetCopyright(std::string_view text) { SetText(kCopyright, text); }

    const std::string& LastError() const { return lastError_; }

    // The eight items, in the order in which new ones are written; keys are matched without
    // regard to case.
    enum Field { kTitle, kArtist, kAlbum, kTrack, kYear, kGenre, kComment, kCopyright };
    static constexpr std::size_t kFieldCount = 8;
    static const std::array<std::string_view, kFieldCount> kFieldKeys;

private:
    void SetText(Field field, std::string_view text);

    bool exists_ = false;
    std::uint32_t version_ = 0;
    std::uint32_t size_ = 0;
    // UTF-8 texts; the Track entry holds the item's text.
    std::array<std::string, kFieldCount> values_;
    std::string lastError_;
};

}  // namespace sonarchive::formats
