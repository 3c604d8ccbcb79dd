// An ID3v2 tag written into any file: refused with the file unchanged, or the audio behind the
// tag kept byte for byte and the tag reading back as written.
#include "formats/id3v2.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    if (size == 0) {
        return 0;
    }
    const fuzz::TagTexts texts = fuzz::TextsFor(data[0]);
    const std::string before = std::string(fuzz::AsBytes(data + 1, size - 1));
    const std::string& path = fuzz::PutInScratchFile(before);
    formats::TID3v2 old;
    old.Read(path);

    formats::TID3v2 tag;
    tag.Read(path);
    tag.SetTitle(texts.title);
    tag.SetArtist(texts.artist);
    tag.SetAlbum(texts.album);
    tag.SetYear(texts.year);
    tag.SetGenre(texts.genre);
    tag.SetComment(texts.comment);
    tag.SetComposer(texts.artist);
    tag.SetTrack(texts.track);
    const bool written = tag.Write(path);
    const std::string after = fuzz::ContentOf(path);
    if (!written) {
        fuzz::Require(after == before, "a refused write leaves the file as it was");
        return 0;
    }
    formats::TID3v2 back;
    fuzz::Require(back.Read(path) && back.Exists(), "the written tag is there");
    fuzz::Require(after.compare(back.Size(), std::string::npos, before, old.Size(),
                                std::string::npos) == 0,
                  "the audio behind the tag is kept");
    fuzz::Require(back.Title() == texts.title && back.Artist() == texts.artist &&
                      back.Album() == texts.album && back.Year() == texts.year &&
                      back.Genre() == texts.genre && back.Comment() == texts.comment &&
                      back.Composer() == texts.artist && back.Track() == texts.track,
                  "the tag reads back as written");
    return 0;
}
