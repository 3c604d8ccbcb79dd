// What the writer targets share: the texts chosen by the input's first byte, set on a tag and
// compared with what a new read of the file gives.
#pragma once

#include <optional>
#include <string>

#include "fuzz_file.h"

namespace sonarchive::fuzz {

// An ID3v1 tag holds a genre index rather than a text.
inline constexpr std::uint8_t kWrittenGenreIndex = 17;

struct WriterInput {
    TagTexts texts;
    std::string before;  // the file as it was
    std::string path;    // the scratch file holding it
};

// Nothing for an empty input; `kinds` as for TextsFor.
std::optional<WriterInput> TakeWriterInput(const std::uint8_t* data, std::size_t size,
                                           int kinds = 4);

// The file after the write; a refused write must have left it as it was.
std::string CheckedContentAfter(bool written, const WriterInput& input);

template <typename Tag>
void SetTexts(Tag& tag, const TagTexts& texts) {
    tag.SetTitle(texts.title);
    tag.SetArtist(texts.artist);
    tag.SetAlbum(texts.album);
    if constexpr (requires { tag.SetDate(texts.year); }) {
        tag.SetDate(texts.year);
    } else {
        tag.SetYear(texts.year);
    }
    if constexpr (requires { tag.SetGenre(texts.genre); }) {
        tag.SetGenre(texts.genre);
    } else {
        tag.SetGenreIndex(kWrittenGenreIndex);
    }
    tag.SetComment(texts.comment);
    tag.SetTrack(texts.track);
}

template <typename Tag>
bool HoldsTexts(const Tag& tag, const TagTexts& texts) {
    bool year = false;
    if constexpr (requires { tag.Date(); }) {
        year = tag.Date() == texts.year;
    } else {
        year = tag.Year() == texts.year;
    }
    bool genre = false;
    if constexpr (requires { tag.Genre(); }) {
        genre = tag.Genre() == texts.genre;
    } else {
        genre = tag.GenreIndex() == kWrittenGenreIndex;
    }
    return year && genre && tag.Title() == texts.title && tag.Artist() == texts.artist &&
           tag.Album() == texts.album && tag.Comment() == texts.comment &&
           tag.Track() == texts.track;
}

}  // namespace sonarchive::fuzz
