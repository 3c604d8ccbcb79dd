// An ID3v1 tag written into any file: refused with the file unchanged, or every byte in front
// of the tag kept and the tag reading back as written.
#include "formats/id3v1.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    if (size == 0) {
        return 0;
    }
    const fuzz::TagTexts texts = fuzz::TextsFor(data[0], 2);
    const std::string before = std::string(fuzz::AsBytes(data + 1, size - 1));
    const std::string& path = fuzz::PutInScratchFile(before);
    formats::TID3v1 old;
    old.Read(path);

    formats::TID3v1 tag;
    tag.SetTitle(texts.title);
    tag.SetArtist(texts.artist);
    tag.SetAlbum(texts.album);
    tag.SetYear(texts.year);
    tag.SetComment(texts.comment);
    tag.SetTrack(texts.track);
    tag.SetGenreIndex(17);
    const bool written = tag.Write(path);
    const std::string after = fuzz::ContentOf(path);
    if (!written) {
        fuzz::Require(after == before, "a refused write leaves the file as it was");
        return 0;
    }
    const std::size_t audio = before.size() - (old.Exists() ? 128 : 0);
    fuzz::Require(after.size() == audio + 128, "the file holds its audio and one tag");
    fuzz::Require(after.compare(0, audio, before, 0, audio) == 0, "the audio bytes are kept");
    formats::TID3v1 back;
    fuzz::Require(back.Read(path) && back.Exists(), "the written tag is there");
    fuzz::Require(back.Title() == texts.title && back.Artist() == texts.artist &&
                      back.Album() == texts.album && back.Year() == texts.year &&
                      back.Comment() == texts.comment && back.Track() == texts.track &&
                      back.GenreIndex() == 17,
                  "the tag reads back as written");
    return 0;
}
