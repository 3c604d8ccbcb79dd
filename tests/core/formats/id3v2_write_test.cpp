#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "formats/id3v2.h"
#include "id3v2_bytes.h"
#include "support/test_support.h"
#include "text/text.h"

namespace sonarchive::formats {
namespace {

using namespace sonarchive::testing::id3v2;
using namespace std::string_literals;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

bool Contains(std::string_view haystack, std::string_view needle) {
    return haystack.find(needle) != std::string_view::npos;
}

// 30 KB of cover art, as taggers embed it.
std::string RandomPicture() {
    return "\xFF\xD8\xFF\xE0" + sonarchive::testing::RandomBytes(30 * 1024, 7);
}

class ID3v2Write : public ::testing::Test {
protected:
    // Writes `bytes` to the file, reads its tag, lets `edit` change the fields, writes them and
    // returns the new file.
    template <typename Edit>
    std::string Rewrite(const std::string& bytes, Edit edit) {
        WriteBytes(path_, bytes);
        TID3v2 id3;
        EXPECT_TRUE(id3.Read(path_));
        edit(id3);
        EXPECT_TRUE(id3.Write(path_)) << id3.LastError();
        return ReadBytes(path_);
    }

    TID3v2 ReadBack() {
        TID3v2 id3;
        EXPECT_TRUE(id3.Read(path_));
        return id3;
    }

    TempDir dir_;
    std::string path_ = dir_ / "song.mp3";
};

// The reader takes no field from a frame above 64 KiB: a longer text would be written, the
// write reported as done, and the field then read back empty.
TEST_F(ID3v2Write, RefusesATextTooLongToBeReadBackAndKeepsTheFile) {
    const std::string original = Tag(3, Frame23("TALB", Text("Old")), 64) + Audio();
    WriteBytes(path_, original);
    TID3v2 id3;
    ASSERT_TRUE(id3.Read(path_));
    id3.SetAlbum(std::string(70000, 'a'));
    EXPECT_FALSE(id3.Write(path_));
    EXPECT_EQ(id3.LastError(), "a text is too long for the tag");
    EXPECT_EQ(ReadBytes(path_), original);

    const std::string longest(60000, 'a');
    Rewrite(original, [&](TID3v2& edit) { edit.SetAlbum(longest); });
    EXPECT_EQ(ReadBack().Album(), longest);
}

TEST_F(ID3v2Write, KeepsAFrameOfSeveralValuesWhenItsFieldIsUnchanged) {
    const std::string artists = Text(std::string("Ann\0Bob", 7), '\x03');
    const std::string tag = Tag(4, Frame24("TPE1", artists) + Frame24("TIT2", Text("Old")), 64);
    const std::string written = Rewrite(tag + Audio(), [](TID3v2& id3) {
        EXPECT_EQ(id3.Artist(), "Ann / Bob");
        id3.SetArtist(id3.Artist());  // the same text
        id3.SetTitle("New");
    });
    // Brought into the 2.3 form, which holds one string (and no UTF-8), and read the same.
    const std::string utf16 =
        "\xFF\xFE" + text::Utf8ToUtf16("Ann / Bob", text::ByteOrder::LittleEndian);
    EXPECT_TRUE(Contains(written, Frame23("TPE1", Text(utf16, '\x01'))));
    EXPECT_EQ(ReadBack().Artist(), "Ann / Bob");
    EXPECT_EQ(ReadBack().Title(), "New");
}

TEST_F(ID3v2Write, RoundTripsLatin1AndOtherScripts) {
    const std::string written = Rewrite(Audio(), [](TID3v2& id3) {
        id3.SetTitle("Caf\u00E9 Stra\u00DFe");
        id3.SetArtist("\u0411\u0430\u043D\u0434\u0430");
        id3.SetAlbum("\u65E5\u672C\u8A9E\u306E\u30A2\u30EB\u30D0\u30E0");
        id3.SetTrack(12);
        id3.SetYear("2004");
        id3.SetGenre("Rock");
        id3.SetComment("Comment \u00E9\u20AC");
        id3.SetComposer("Composer");
        id3.SetEncoder("Encoder");
        id3.SetCopyright("(c) Someone");
        id3.SetLanguage("deu");
        id3.SetLink("http://example.org/\u65E5");
    });
    // A new tag is padded to 4096 bytes; the audio follows untouched.
    ASSERT_EQ(written.size(), 4096 + Audio().size());
    EXPECT_EQ(written.substr(4096), Audio());
    EXPECT_EQ(written.substr(0, 10), std::string("ID3\x03\0\0\0\0\x1F\x76", 10));
    // ISO-8859-1 where it suffices, UTF-16 with byte-order mark where it does not.
    EXPECT_TRUE(Contains(written, Frame23("TIT2", Text("Caf\xE9 Stra\xDF"
                                                       "e"))));
    EXPECT_TRUE(Contains(
        written,
        Frame23("TPE1", Text("\xFF\xFE" + text::Utf8ToUtf16("\u0411\u0430\u043D\u0434\u0430",
                                                            text::ByteOrder::LittleEndian),
                             '\x01'))));
    EXPECT_TRUE(Contains(written, Frame23("TRCK", Text("12"))));
    EXPECT_TRUE(Contains(written,
                         Frame23("WXXX", Text(std::string("\0http://example.org/%E6%97%A5", 29)))));

    const TID3v2 back = ReadBack();
    EXPECT_EQ(back.Version(), 3);
    EXPECT_EQ(back.Size(), 4096u);
    EXPECT_EQ(back.Title(), "Caf\u00E9 Stra\u00DFe");
    EXPECT_EQ(back.Artist(), "\u0411\u0430\u043D\u0434\u0430");
    EXPECT_EQ(back.Album(), "\u65E5\u672C\u8A9E\u306E\u30A2\u30EB\u30D0\u30E0");
    EXPECT_EQ(back.Track(), 12);
    EXPECT_EQ(back.Year(), "2004");
    EXPECT_EQ(back.Genre(), "Rock");
    EXPECT_EQ(back.Comment(), "Comment \u00E9\u20AC");
    EXPECT_EQ(back.Composer(), "Composer");
    EXPECT_EQ(back.Encoder(), "Encoder");
    EXPECT_EQ(back.Copyright(), "(c) Someone");
    EXPECT_EQ(back.Language(), "deu");
    EXPECT_EQ(back.Link(), "http://example.org/%E6%97%A5");
}

TEST_F(ID3v2Write, KeepsEveryFrameItDoesNotChangeByteForByte) {
    const std::string picture =
        Text(std::string("image/jpeg\0\x03\0", 13) +
             std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0\xFF\0", 13) + std::string(9000, '\xAB'));
    const std::string kept = Frame23("APIC", picture) +
                             Frame23("USLT", Text(std::string("eng\0Line one\nLine two", 21))) +
                             Frame23("TXXX", Text(std::string("MOOD\0Calm", 9))) +
                             Frame23("PRIV", std::string("owner\0\x01\x02\x03", 9)) +
                             Frame23("TOPE", Text("Original")) + Frame23("TIT1", Text("Group")) +
                             Frame23("TIT3", std::string("\0\0\0\x05zlib", 9), 0x0080) +
                             Frame23("COMM", Text(std::string("eng\0Mine", 8))) +
                             Frame23("COMM", Text(std::string("engiTunNORM\0 0000", 17))) +
                             Frame23("TRCK", Text("3/12")) + Frame23("TCON", Text("(17)")) +
                             Frame23("TLEN", Text("1000"), 0x8000);
    const std::string original = Tag(3, Frame23("TIT2", Text("Old")) + kept, 100) + Audio();
    const std::string written = Rewrite(original, [](TID3v2& id3) { id3.SetTitle("New"); });

    const std::string tag = written.substr(0, written.size() - Audio().size());
    EXPECT_EQ(written.substr(tag.size()), Audio());
    EXPECT_TRUE(Contains(tag, Frame23("TIT2", Text("New"))));
    EXPECT_FALSE(Contains(tag, "Old"));
    EXPECT_TRUE(Contains(tag, kept));  // in their order, flags and all
    const TID3v2 back = ReadBack();
    EXPECT_EQ(back.Track(), 3);
    EXPECT_EQ(back.Genre(), "Rock");
    EXPECT_EQ(back.Comment(), "Mine");
}

TEST_F(ID3v2Write, WritesInPlaceWhenTheTagFitsWithAtMost4096BytesOfPadding) {
    const std::string frames = Frame23("TIT2", Text("Title")) + Frame23("TPE1", Text("Artist"));

    // The new content fits a 4096-byte tag: overwritten in place, padding fills the rest.
    std::string written = Rewrite(Tag(3, frames, 4096 - 10 - frames.size()) + Audio(),
                                  [](TID3v2& id3) { id3.SetAlbum(std::string(300, 'a')); });
    EXPECT_EQ(written.size(), 4096 + Audio().size());
    EXPECT_EQ(ReadBack().Size(), 4096u);
    EXPECT_EQ(ReadBack().Album(), std::string(300, 'a'));

    // An 8192-byte tag of small frames would keep more than 4096 bytes of padding: rebuilt to
    // 4096 bytes.
    written = Rewrite(Tag(3, frames, 8192 - 10 - frames.size()) + Audio(),
                      [](TID3v2& id3) { id3.SetAlbum("Album"); });
    EXPECT_EQ(written.size(), 4096 + Audio().size());
    EXPECT_EQ(written.substr(4096), Audio());

    // A tag made large by a picture is written in place, into the very same file, as long as
    // the new frames fit; the picture stays byte for byte.
    const std::string picture = Frame23("APIC", Text("image/jpeg\0\3\0"s + RandomPicture()));
    const std::string pictured = Tag(3, frames + picture, 1024) + Audio();
    WriteBytes(path_, pictured);
    struct stat before {};
    ASSERT_EQ(::stat(path_.c_str(), &before), 0);
    written = Rewrite(pictured, [](TID3v2& id3) { id3.SetComment(std::string(900, 'c')); });
    struct stat after {};
    ASSERT_EQ(::stat(path_.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(written.size(), pictured.size());
    EXPECT_TRUE(Contains(written, picture));
    EXPECT_EQ(written.substr(written.size() - Audio().size()), Audio());
    EXPECT_EQ(ReadBack().Comment(), std::string(900, 'c'));

    // A tag that outgrows its space is rebuilt with padding to 4096 bytes.
    written = Rewrite(Tag(3, frames, 10) + Audio(),
                      [](TID3v2& id3) { id3.SetComment(std::string(100, 'c')); });
    EXPECT_EQ(written.size(), 4096 + Audio().size());

    // Contents beyond 4096 bytes get no padding.
    written = Rewrite(Tag(3, frames) + Audio(),
                      [](TID3v2& id3) { id3.SetComment(std::string(5000, 'c')); });
    const std::uint32_t size = ReadBack().Size();
    EXPECT_EQ(written.size(), size + Audio().size());
    EXPECT_EQ(written.substr(size), Audio());
    EXPECT_EQ(size, 10 + frames.size() + 10 + 5005);  // header, old frames, COMM
}

TEST_F(ID3v2Write, RemovesTheFramesOfEmptiedFields) {
    const auto comment = [](std::string_view description, std::string_view text) {
        return Frame23("COMM", Text("eng" + std::string(description) + '\0' + std::string(text)));
    };
    std::string written = Rewrite(
        Tag(3, Frame23("TRCK", Text("4")) + Frame23("TIT2", Text("Title")) + comment("", "Mine")) +
            Audio(),
        [](TID3v2& id3) {
            id3.SetTrack(0);
            id3.SetComment("");
        });
    EXPECT_FALSE(Contains(written, "TRCK"));
    EXPECT_FALSE(Contains(written, "COMM"));
    EXPECT_EQ(ReadBack().Title(), "Title");

    // Another program's comment with a description stays, and does not become the comment.
    const std::string theirs = comment("iTunNORM", " 00000A2B");
    written = Rewrite(Tag(3, comment("", "Mine") + theirs) + Audio(),
                      [](TID3v2& id3) { id3.SetComment(""); });
    EXPECT_TRUE(Contains(written, theirs));
    EXPECT_FALSE(Contains(written, "Mine"));
    EXPECT_EQ(ReadBack().Comment(), "");
}

TEST_F(ID3v2Write, ConvertsAVersion24TagToVersion23) {
    std::string unsynchronisedData;
    AppendSyncsafe32(unsynchronisedData, 4);
    unsynchronisedData += Unsynchronise(Text("\xFF\xFF\xFF"));
    const std::string picture =
        std::string("image/png\0\x03", 11) + "Bild \u00FC" + '\0' + std::string("\x89PNG\xFF\0", 6);
    const std::string original =
        Tag(4,
            Frame24("TIT2", Text(std::string(300, 't'))) +
                Frame24("TPE1", Text("\u0411\u0430\u043D\u0434\u0430", '\x03')) +
                Frame24("TCOM", Text(std::string("A\0B", 3))) +
                Frame24("TDRC", Text("2004-05-06T07:08:09")) +
                Frame24("TOPE", unsynchronisedData, 0x4003) +
                Frame24("APIC", Text(picture, '\x03')) + Frame24("TSOP", Text("Sort, The"), 0x2000),
            50) +
        Audio();
    WriteBytes(path_, original);
    TID3v2 before;
    ASSERT_TRUE(before.Read(path_));
    const std::string written = Rewrite(original, [](TID3v2& id3) { id3.SetAlbum("Album"); });

    EXPECT_EQ(written.substr(0, 6), std::string("ID3\x03\0\0", 6));
    EXPECT_TRUE(Contains(written, Frame23("TIT2", Text(std::string(300, 't')))));  // plain size
    const std::string cyrillic = "\xFF\xFE" + text::Utf8ToUtf16("\u0411\u0430\u043D\u0434\u0430",
                                                                text::ByteOrder::LittleEndian);
    EXPECT_TRUE(Contains(written, Frame23("TPE1", Text(cyrillic, '\x01'))));
    EXPECT_TRUE(Contains(written, Frame23("TCOM", Text("A / B"))));
    EXPECT_TRUE(Contains(written, Frame23("TYER", Text("2004")) + Frame23("TDAT", Text("0605")) +
                                      Frame23("TIME", Text("0708"))));
    EXPECT_FALSE(Contains(written, "TDRC"));
    EXPECT_TRUE(Contains(written, Frame23("TOPE", Text("\xFF\xFF\xFF"))));  // flags cleared
    const std::string convertedPicture =
        std::string("\x01image/png\0\x03", 12) + "\xFF\xFE" +
        text::Utf8ToUtf16("Bild \u00FC", text::ByteOrder::LittleEndian) + std::string(2, '\0') +
        std::string("\x89PNG\xFF\0", 6);
    EXPECT_TRUE(Contains(written, Frame23("APIC", convertedPicture)));
    EXPECT_TRUE(Contains(written, Frame23("TSOP", Text("Sort, The"))));
    EXPECT_EQ(written.substr(written.size() - Audio().size()), Audio());

    Id3v2Fields expected = before.Fields();
    expected.album = "Album";
    EXPECT_EQ(ReadBack().Fields(), expected);
}

TEST_F(ID3v2Write, ConvertsAVersion22TagToVersion23) {
    const std::string original =
        Tag(2, Frame22("TT2", Text("Title")) +
                   Frame22("PIC", Text(std::string("JPG\x03\0\xFF\xD8", 7))) +
                   Frame22("CNT", std::string("\0\0\0\x09", 4)) +
                   Frame22("TOA", Text("Original"))) +
        Audio();
    const std::string written = Rewrite(original, [](TID3v2& id3) { id3.SetArtist("Artist"); });
    EXPECT_TRUE(Contains(written, Frame23("TIT2", Text("Title"))));
    EXPECT_TRUE(
        Contains(written, Frame23("APIC", Text(std::string("image/jpeg\0\x03\0\xFF\xD8", 15)))));
    EXPECT_TRUE(Contains(written, Frame23("TOPE", Text("Original"))));
    EXPECT_FALSE(Contains(written, "CNT"));
    EXPECT_EQ(ReadBack().Artist(), "Artist");
}

TEST_F(ID3v2Write, AChangedYearReplacesTheRecordingTime) {
    const std::string original =
        Tag(3, Frame23("TDRC", Text("2004-05-06")) + Frame23("TIT2", Text("T"))) + Audio();
    std::string written = Rewrite(original, [](TID3v2& id3) { id3.SetTitle("U"); });
    EXPECT_TRUE(Contains(written, Frame23("TDRC", Text("2004-05-06"))));  // unchanged: kept
    written = Rewrite(original, [](TID3v2& id3) { id3.SetYear("2010"); });
    EXPECT_FALSE(Contains(written, "TDRC"));
    EXPECT_TRUE(Contains(written, Frame23("TYER", Text("2010"))));
    written = Rewrite(original, [](TID3v2& id3) { id3.SetYear(""); });
    EXPECT_FALSE(Contains(written, "TDRC"));
    EXPECT_EQ(ReadBack().Year(), "");
}

TEST_F(ID3v2Write, EscapesAGenreTextThatLooksLikeAReference) {
    const std::string written = Rewrite(Audio(), [](TID3v2& id3) { id3.SetGenre("(Live) Rock"); });
    EXPECT_TRUE(Contains(written, Frame23("TCON", Text("((Live) Rock"))));
    EXPECT_EQ(ReadBack().Genre(), "(Live) Rock");
}

TEST_F(ID3v2Write, AFailedWriteLeavesTheFileAsItWas) {
    const std::string original = Tag(3, Frame23("TIT2", Text("Title")), 20) + Audio();
    const std::string path = sonarchive::testing::LongestFileName(dir_, ".mp3");
    WriteBytes(path, original);  // the temporary file's name would be too long
    TID3v2 id3;
    ASSERT_TRUE(id3.Read(path));
    id3.SetComment(std::string(200, 'c'));  // does not fit: the file must be rebuilt
    EXPECT_FALSE(id3.Write(path));
    EXPECT_FALSE(id3.LastError().empty());
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_FALSE(id3.Strip(path));
    EXPECT_EQ(ReadBytes(path), original);

    EXPECT_FALSE(id3.Write(dir_ / "missing.mp3"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.mp3"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.mp3~"));
}

TEST_F(ID3v2Write, MakesAReadOnlyFileWritable) {
    WriteBytes(path_, Audio());
    ::chmod(path_.c_str(), 0444);
    TID3v2 id3;
    id3.SetTitle("Title");
    ASSERT_TRUE(id3.Write(path_));
    struct stat st {};
    ASSERT_EQ(::stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_EQ(ReadBack().Title(), "Title");
}

TEST_F(ID3v2Write, StripRemovesTheWholeTagOrNothing) {
    TID3v2 id3;
    WriteBytes(path_, Audio());
    EXPECT_FALSE(id3.Strip(path_));  // no tag
    EXPECT_EQ(ReadBytes(path_), Audio());

    std::string footed = Tag(4, Frame24("TIT2", Text("T")), 0, 0x10);
    footed += "3DI" + footed.substr(3, 7);
    WriteBytes(path_, footed + Audio());
    ASSERT_TRUE(id3.Strip(path_));
    EXPECT_EQ(ReadBytes(path_), Audio());

    std::string huge = Tag(3, Frame23("TIT2", Text("T")));
    huge.replace(6, 4, "\x7F\x7F\x7F\x7F");
    WriteBytes(path_, huge + Audio());
    EXPECT_FALSE(id3.Strip(path_));  // a size beyond the file: nothing to cut safely
    EXPECT_EQ(ReadBytes(path_), huge + Audio());
}

}  // namespace
}  // namespace sonarchive::formats
