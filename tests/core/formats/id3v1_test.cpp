#include "formats/id3v1.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

const std::string kAudio = std::string("\xFF\xFB\x90\x64", 4) + std::string(300, '\x55');

std::string Padded(std::string_view text, std::size_t width) {
    std::string field(text);
    field.resize(width, '\0');
    return field;
}

// A tag whose comment field (30 bytes) is given whole, so that bytes 125 and 126 are chosen
// by the test.
std::string RawTag(std::string_view title, std::string_view comment30, char genre) {
    return "TAG" + Padded(title, 30) + Padded("Artist", 30) + Padded("Album", 30) + "1999" +
           Padded(comment30, 30) + genre;
}

TID3v1 ReadTag(const TempDir& dir, const std::string& tag) {
    WriteBytes(dir / "t.mp3", kAudio + tag);
    TID3v1 id3;
    EXPECT_TRUE(id3.Read(dir / "t.mp3"));
    return id3;
}

TEST(ID3v1Read, DecodesFieldsAndDecidesTheLayout) {
    TempDir dir;
    // ISO-8859-1 on disk, trailing blanks and zeros dropped, leading blanks kept.
    TID3v1 v10 =
        ReadTag(dir, RawTag(" Caf\xE9 ", Padded("A comment of thirty characters", 30), 17));
    EXPECT_TRUE(v10.Exists());
    EXPECT_EQ(v10.Version(), 1);
    EXPECT_EQ(v10.Title(), " Caf\u00E9");
    EXPECT_EQ(v10.Artist(), "Artist");
    EXPECT_EQ(v10.Album(), "Album");
    EXPECT_EQ(v10.Year(), "1999");
    EXPECT_EQ(v10.Comment(), "A comment of thirty characters");
    EXPECT_EQ(v10.Track(), 0);
    EXPECT_EQ(v10.GenreIndex(), 17);
    EXPECT_EQ(v10.GenreName(), "Rock");

    // Byte 125 zero and byte 126 not: ID3v1.1 with a track number.
    std::string comment = Padded("Short", 28) + '\0' + '\x0C';
    TID3v1 v11 = ReadTag(dir, RawTag("T", comment, '\xFF'));
    EXPECT_EQ(v11.Version(), 2);
    EXPECT_EQ(v11.Track(), 12);
    EXPECT_EQ(v11.Comment(), "Short");
    EXPECT_EQ(v11.GenreIndex(), 255);
    EXPECT_EQ(v11.GenreName(), "");

    // A space and a "7": also ID3v1.1, track 55, and the comment is 28 characters long.
    comment = std::string(28, 'c') + " 7";
    TID3v1 spaced = ReadTag(dir, RawTag("T", comment, 0));
    EXPECT_EQ(spaced.Version(), 2);
    EXPECT_EQ(spaced.Track(), 55);
    EXPECT_EQ(spaced.Comment(), std::string(28, 'c'));

    // Both zero: ID3v1.0, the whole field without its trailing zeros.
    comment = Padded("Twenty-eight characters long", 30);
    TID3v1 zeros = ReadTag(dir, RawTag("T", comment, 0));
    EXPECT_EQ(zeros.Version(), 1);
    EXPECT_EQ(zeros.Comment(), "Twenty-eight characters long");

    // A text ends at its zero byte; what a writer left behind it is not part of it.
    TID3v1 stale = ReadTag(dir, RawTag(std::string("Title\0junk", 10), Padded("", 30), 0));
    EXPECT_EQ(stale.Title(), "Title");
}

TEST(ID3v1Files, WithoutTagOrTooShort) {
    TempDir dir;
    const std::string shortFile = dir / "short.mp3";
    WriteBytes(shortFile, std::string(127, 'x'));
    TID3v1 id3;
    id3.SetTitle("x");
    EXPECT_FALSE(id3.Read(shortFile));
    EXPECT_FALSE(id3.LastError().empty());
    EXPECT_EQ(id3.Title(), "");
    EXPECT_FALSE(id3.Strip(shortFile));
    id3.SetTitle("x");
    EXPECT_FALSE(id3.Write(shortFile));
    EXPECT_EQ(ReadBytes(shortFile), std::string(127, 'x'));
    EXPECT_FALSE(id3.Read(dir / "missing.mp3"));
    EXPECT_FALSE(id3.Write(dir / "missing.mp3"));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.mp3"));

    const std::string plain = dir / "plain.mp3";
    WriteBytes(plain, kAudio);
    ::chmod(plain.c_str(), 0640);
    ASSERT_TRUE(id3.Read(plain));
    EXPECT_FALSE(id3.Exists());
    EXPECT_EQ(id3.Version(), 1);
    EXPECT_EQ(id3.Title(), "");
    EXPECT_EQ(id3.GenreIndex(), 255);
    EXPECT_TRUE(id3.Strip(plain));
    EXPECT_EQ(ReadBytes(plain), kAudio);
    struct stat st {};
    ASSERT_EQ(::stat(plain.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(ID3v1Files, AnApeTagWithHeaderAtTheEndIsNoId3v1Tag) {
    // A 131-byte APE tag (32-byte header, 67 bytes of items, 32-byte footer) puts the "TAG" of
    // its header's "APETAGEX" exactly 128 bytes before the end of the file.
    TempDir dir;
    const std::string path = dir / "ape-tagged.mp3";
    const std::string apeHeader = "APETAGEX" + std::string(24, '\0');
    const std::string apeFooter = "APETAGEX" + std::string(24, '\0');
    WriteBytes(path, kAudio + apeHeader + std::string(67, 'i') + apeFooter);
    TID3v1 id3;
    ASSERT_TRUE(id3.Read(path));
    EXPECT_FALSE(id3.Exists());
    EXPECT_TRUE(id3.Strip(path));
    EXPECT_EQ(ReadBytes(path).size(), kAudio.size() + 131);
}

TEST(ID3v1Write, RoundTripsOnceAtTheEndAndStripsAgain) {
    TempDir dir;
    const std::string path = dir / "song.mp3";
    WriteBytes(path, kAudio);
    ::chmod(path.c_str(), 0444);  // a read-only file is made writable first

    TID3v1 id3;
    id3.SetTitle("Fa\u00E7ade");
    id3.SetArtist("\u0411\u0430\u043D\u0434\u0430");  // Cyrillic: not in ISO-8859-1
    id3.SetAlbum("Stra\u00DFe");
    id3.SetYear("2004");
    id3.SetComment(std::string(30, 'c'));
    id3.SetTrack(7);
    id3.SetGenreIndex(13);
    ASSERT_TRUE(id3.Write(path));
    ASSERT_TRUE(id3.Write(path));  // twice: still one tag
    const std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), kAudio.size() + 128);
    EXPECT_EQ(bytes.substr(0, kAudio.size()), kAudio);
    // ISO-8859-1 on disk, zero-filled.
    EXPECT_EQ(bytes.substr(kAudio.size() + 3, 7), std::string("Fa") + '\xE7' + "ade" + '\0');

    TID3v1 back;
    ASSERT_TRUE(back.Read(path));
    EXPECT_EQ(back.Version(), 2);
    EXPECT_EQ(back.Title(), "Fa\u00E7ade");
    EXPECT_EQ(back.Artist(), "?????");
    EXPECT_EQ(back.Album(), "Stra\u00DFe");
    EXPECT_EQ(back.Year(), "2004");
    EXPECT_EQ(back.Comment(), std::string(28, 'c'));  // the track takes the last two bytes
    EXPECT_EQ(back.Track(), 7);
    EXPECT_EQ(back.GenreName(), "Pop");

    // Without a track number the comment has all 30 bytes again and the layout is 1.0.
    back.SetTrack(0);
    back.SetComment(std::string(30, 'd'));
    ASSERT_TRUE(back.Write(path));
    TID3v1 v10;
    ASSERT_TRUE(v10.Read(path));
    EXPECT_EQ(v10.Version(), 1);
    EXPECT_EQ(v10.Comment(), std::string(30, 'd'));

    ASSERT_TRUE(v10.Strip(path));
    EXPECT_EQ(ReadBytes(path), kAudio);
}

TEST(ID3v1Setters, CutTrailingBlanksThenCountCharacters) {
    TID3v1 id3;
    id3.SetTitle("  Title \t\r\n");
    EXPECT_EQ(id3.Title(), "  Title");
    id3.SetArtist(std::string(29, 'a') + "\u00E9\u00E9\u00E9");
    EXPECT_EQ(id3.Artist(), std::string(29, 'a') + "\u00E9");  // 30 characters, not bytes
    id3.SetAlbum("\u65E5\u672C\u8A9E");
    EXPECT_EQ(id3.Album(), "\u65E5\u672C\u8A9E");
    id3.SetYear("20041");
    EXPECT_EQ(id3.Year(), "2004");
    id3.SetComment(std::string(40, 'x') + "   ");
    EXPECT_EQ(id3.Comment(), std::string(30, 'x'));
    id3.Reset();
    EXPECT_EQ(id3.Title(), "");
    EXPECT_EQ(id3.GenreIndex(), 255);
}

TEST(GenreTable, NamesIndexesAndLookups) {
    EXPECT_EQ(GenreCount, 148);
    EXPECT_EQ(GenreNameAt(0), "Blues");
    EXPECT_EQ(GenreNameAt(79), "Hard Rock");
    EXPECT_EQ(GenreNameAt(92), "Progessive Rock");
    EXPECT_EQ(GenreNameAt(147), "Synthpop");
    EXPECT_EQ(GenreNameAt(148), "");
    EXPECT_EQ(GenreNameAt(-1), "");
    EXPECT_EQ(GenreIndexOf("rock"), 17);
    EXPECT_EQ(GenreIndexOf("ROCK & ROLL"), 78);
    EXPECT_EQ(GenreIndexOf("synthpop"), 147);
    EXPECT_EQ(GenreIndexOf(""), -1);
    EXPECT_EQ(GenreIndexOf("Polka "), -1);
    for (int i = 0; i < GenreCount; ++i) {
        EXPECT_EQ(GenreIndexOf(GenreNameAt(i)), i) << GenreNameAt(i);
    }
    TID3v1 id3;
    id3.SetGenreIndex(200);
    EXPECT_EQ(id3.GenreName(), "");
}

}  // namespace
}  // namespace sonarchive::formats
