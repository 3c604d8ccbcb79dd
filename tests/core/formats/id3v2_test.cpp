#include "formats/id3v2.h"

#include <gtest/gtest.h>

#include "id3v2_bytes.h"
#include "support/test_support.h"
#include "text/text.h"

namespace sonarchive::formats {
namespace {

using namespace sonarchive::testing::id3v2;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

// UTF-16 little-endian with byte-order mark, as encoding 1 holds it.
std::string Utf16(std::string_view utf8) {
    return "\xFF\xFE" + text::Utf8ToUtf16(utf8, text::ByteOrder::LittleEndian);
}

class ID3v2Read : public ::testing::Test {
protected:
    TID3v2 ReadFile(const std::string& bytes) {
        WriteBytes(path_, bytes);
        TID3v2 id3;
        EXPECT_TRUE(id3.Read(path_));
        return id3;
    }
    // A file whose tag holds `body` (frames of `version`) followed by audio.
    TID3v2 ReadTag(std::uint8_t version, const std::string& body, std::uint8_t flags = 0) {
        return ReadFile(Tag(version, body, 32, flags) + Audio());
    }

    TempDir dir_;
    std::string path_ = dir_ / "song.mp3";
};

TEST_F(ID3v2Read, TakesTheTwelveFieldsOfAVersion23Tag) {
    const std::string body = Frame23("TIT2", Text("Title")) + Frame23("TPE1", Text("Artist")) +
                             Frame23("TALB", Text("Alb\xFCm")) + Frame23("TRCK", Text("3/12")) +
                             Frame23("TYER", Text("1999")) + Frame23("TCON", Text("(17)Rock")) +
                             Frame23("COMM", Text(std::string("eng\0Comment", 11))) +
                             Frame23("TCOM", Text(std::string("Composer\0", 9))) +
                             Frame23("TENC", Text("  Encoder  ")) +
                             Frame23("TCOP", Text("(c) 1999")) + Frame23("TLAN", Text("eng")) +
                             Frame23("WXXX", Text(std::string("\0http://example.org/", 20)));
    const TID3v2 id3 = ReadTag(3, body);
    EXPECT_TRUE(id3.Exists());
    EXPECT_EQ(id3.Version(), 3);
    EXPECT_EQ(id3.Size(), 10 + body.size() + 32);
    EXPECT_EQ(id3.Title(), "Title");
    EXPECT_EQ(id3.Artist(), "Artist");
    EXPECT_EQ(id3.Album(), "Alb\u00FCm");
    EXPECT_EQ(id3.Track(), 3);
    EXPECT_EQ(id3.Year(), "1999");
    EXPECT_EQ(id3.Genre(), "Rock");
    EXPECT_EQ(id3.Comment(), "Comment");
    EXPECT_EQ(id3.Composer(), "Composer");
    EXPECT_EQ(id3.Encoder(), "Encoder");
    EXPECT_EQ(id3.Copyright(), "(c) 1999");
    EXPECT_EQ(id3.Language(), "eng");
    EXPECT_EQ(id3.Link(), "http://example.org/");
}

TEST_F(ID3v2Read, FallsBackToAlternateFramesAndLetsLaterFramesWin) {
    const TID3v2 id3 =
        ReadTag(3, Frame23("TIT1", Text("Group")) + Frame23("TOPE", Text("Original")) +
                       Frame23("TOAL", Text("Original album")) +
                       Frame23("TDRC", Text("2004-05-06T07:08")) + Frame23("TIT2", Text("")) +
                       Frame23("TCOM", Text("First")) + Frame23("TCOM", Text("Second")) +
                       Frame23("TENC", Text("Kept")) + Frame23("TENC", Text("unknown", '\x04')));
    EXPECT_EQ(id3.Title(), "Group");
    EXPECT_EQ(id3.Artist(), "Original");
    EXPECT_EQ(id3.Album(), "Original album");
    EXPECT_EQ(id3.Year(), "2004");
    EXPECT_EQ(id3.Composer(), "Second");
    EXPECT_EQ(id3.Encoder(), "Kept");  // an unknown encoding does not count
}

TEST_F(ID3v2Read, Version24SizesExtendedHeadersAndFooters) {
    // A 200-byte frame has a syncsafe size that differs from its plain reading; the frames
    // after it are found all the same.
    const std::string longTitle(199, 'x');
    std::string body = Frame24("TIT2", Text(longTitle)) + Frame24("TPE1", Text("After"));
    const std::string extended24 = std::string("\x00\x00\x00\x06\x01\x00", 6);
    TID3v2 id3 = ReadTag(4, extended24 + body, 0x40);
    EXPECT_EQ(id3.Title(), longTitle);
    EXPECT_EQ(id3.Artist(), "After");

    // 2.3 extended header: its size counts without its own four bytes; here with a CRC.
    const std::string extended23 =
        std::string("\x00\x00\x00\x0A\x80\x00\x00\x00\x00\x00", 10) + "CRC!";
    id3 = ReadTag(3, extended23 + Frame23("TIT2", Text("Behind")), 0x40);
    EXPECT_EQ(id3.Title(), "Behind");

    // A footer adds 10 bytes to the tag's size; its "3DI" is not read as a frame.
    std::string footed = Tag(4, Frame24("TIT2", Text("Footed")), 0, 0x10);
    footed += "3DI" + footed.substr(3, 7);
    id3 = ReadFile(footed + Audio());
    EXPECT_EQ(id3.Size(), footed.size());
    EXPECT_EQ(id3.Title(), "Footed");
}

TEST_F(ID3v2Read, UndoesUnsynchronisation) {
    // "\xFF\xE0" would look like an MPEG sync; the writer put a zero byte between.
    const std::string title = "\xFF\xE0 and \xFF";
    const std::string expected = "\u00FF\u00E0 and \u00FF";
    const std::string frames23 =
        Frame23("TIT2", Text(title)) + Frame23("TPE1", Text(Utf16("\u00FF\u00FF"), '\x01'));
    TID3v2 id3 = ReadTag(3, Unsynchronise(frames23), 0x80);
    EXPECT_EQ(id3.Title(), expected);
    EXPECT_EQ(id3.Artist(), "\u00FF\u00FF");

    id3 = ReadTag(2, Unsynchronise(Frame22("TT2", Text(title))), 0x80);
    EXPECT_EQ(id3.Title(), expected);

    // A tag larger than one read: a 0xFF at the end of one piece and its inserted zero at the
    // start of the next.
    std::string syncs;
    for (int i = 0; i < 50000; ++i) {
        syncs += "\xFF\xE0";
    }
    id3 = ReadTag(3, Unsynchronise(Frame23("PRIV", syncs) + Frame23("TIT2", Text("After"))), 0x80);
    EXPECT_EQ(id3.Title(), "After");

    // 2.4: per frame, with a data length indicator in front of the data.
    const std::string data = Unsynchronise(Text(title));
    std::string content;
    AppendSyncsafe32(content, static_cast<std::uint32_t>(Text(title).size()));
    content += data;
    id3 = ReadTag(4, Frame24("TIT2", content, 0x0003) + Frame24("TPE1", Text("Plain")));
    EXPECT_EQ(id3.Title(), expected);
    EXPECT_EQ(id3.Artist(), "Plain");
}

TEST_F(ID3v2Read, DecodesEveryTextEncoding) {
    const std::string japanese = "\u65E5\u672C\u8A9E";
    const std::string cyrillic = "\u041F\u0440\u0438\u0432\u0435\u0442";
    TID3v2 id3 = ReadTag(
        4, Frame24("TIT2", Text(text::Utf8ToUtf16(japanese, text::ByteOrder::BigEndian), '\x02')) +
               Frame24("TPE1", Text(cyrillic, '\x03')) +
               Frame24("TALB", Text("\xEF\xBB\xBF"
                                    "Stra\u00DFe",
                                    '\x03')) +
               // A 2.4 text may list several values.
               Frame24("TCOM", Text(std::string("Lennon\0McCartney\0", 17))) +
               Frame24("TCON", Text(std::string("17\0Pop", 6), '\x03')));
    EXPECT_EQ(id3.Title(), japanese);
    EXPECT_EQ(id3.Artist(), cyrillic);
    EXPECT_EQ(id3.Album(), "Stra\u00DFe");
    EXPECT_EQ(id3.Composer(), "Lennon / McCartney");
    EXPECT_EQ(id3.Genre(), "Rock / Pop");

    // UTF-16 honours its byte-order mark, and a character U+xxFF is no byte-order mark.
    const std::string bigEndian =
        "\xFE\xFF" + text::Utf8ToUtf16("\u00FFber", text::ByteOrder::BigEndian);
    // A comment with a description: the description's terminator is two zero bytes on a
    // code-unit boundary, not the zero high byte of "A" followed by the zero low byte of "d".
    const std::string comment =
        Text("eng" + Utf16("A") + std::string(2, '\0') + Utf16("\u0100d"), '\x01');
    id3 = ReadTag(3, Frame23("TIT2", Text(bigEndian, '\x01')) + Frame23("COMM", comment));
    EXPECT_EQ(id3.Title(), "\u00FFber");
    EXPECT_EQ(id3.Comment(), "\u0100d");
}

TEST_F(ID3v2Read, Version24TextsShowEveryValueAndEarlierVersionsTheFirst) {
    const std::string utf16Values = Utf16("Bj\u00F6rk") + std::string(2, '\0') + Utf16("Ann");
    TID3v2 id3 = ReadTag(4, Frame24("TPE1", Text(std::string("Ann\0Bob\0Cy", 11), '\x03')) +
                                Frame24("TALB", Text(utf16Values, '\x01')) +
                                // Empty values and a closing terminator leave no empty places.
                                Frame24("TCOM", Text(std::string("\0Lennon\0\0McCartney\0", 19))) +
                                Frame24("TIT2", Text("Single")));
    EXPECT_EQ(id3.Artist(), "Ann / Bob / Cy");
    EXPECT_EQ(id3.Album(), "Bj\u00F6rk / Ann");
    EXPECT_EQ(id3.Composer(), "Lennon / McCartney");
    EXPECT_EQ(id3.Title(), "Single");
    // Before 2.4 what follows the first terminator is to be ignored.
    id3 = ReadTag(3, Frame23("TPE1", Text(std::string("Ann\0Bob", 7))));
    EXPECT_EQ(id3.Artist(), "Ann");
}

TEST_F(ID3v2Read, PrefersTheCommentWithoutDescription) {
    const auto comment = [](std::string_view description, std::string_view text) {
        return Frame23("COMM", Text("eng" + std::string(description) + '\0' + std::string(text)));
    };
    TID3v2 id3 = ReadTag(3, comment("", "Mine") + comment("iTunNORM", " 00000A2B 00000B3C"));
    EXPECT_EQ(id3.Comment(), "Mine");
    id3 = ReadTag(3, comment("Description", "Only one"));
    EXPECT_EQ(id3.Comment(), "Only one");
}

TEST_F(ID3v2Read, ResolvesGenreReferences) {
    const auto genre = [&](std::string_view value) {
        return ReadTag(3, Frame23("TCON", Text(value))).Genre();
    };
    EXPECT_EQ(genre("(13)"), "Pop");
    EXPECT_EQ(genre("13"), "Pop");
    EXPECT_EQ(genre("(RX)"), "Remix");
    EXPECT_EQ(genre("(CR)"), "Cover");
    EXPECT_EQ(genre("(17)Rock"), "Rock");
    EXPECT_EQ(genre("(17)(13)"), "Rock/Pop");
    EXPECT_EQ(genre("Rock (live)"), "Rock (live)");
    EXPECT_EQ(genre("((Round) brackets"), "(Round) brackets");
    EXPECT_EQ(genre("(200)"), "(200)");
    EXPECT_EQ(genre("200"), "200");
    EXPECT_EQ(genre("Techno"), "Techno");
}

TEST_F(ID3v2Read, KeepsLongValuesWholeAndSkipsHugeFrames) {
    const std::string comment(3000, 'c');
    const std::string picture(70 * 1024, '\xFF');
    TID3v2 id3 = ReadTag(3, Frame23("APIC", Text(std::string("image/png\0\x03\0", 12) + picture)) +
                                Frame23("TIT2", Text(std::string(200 * 1024, 't'))) +
                                Frame23("COMM", Text("eng" + std::string(1, '\0') + comment)) +
                                Frame23("TPE1", Text("After the big ones")));
    EXPECT_EQ(id3.Comment(), comment);
    EXPECT_EQ(id3.Title(), "");  // larger than 64 KiB: skipped, never read
    EXPECT_EQ(id3.Artist(), "After the big ones");
}

TEST_F(ID3v2Read, PassesOverFramesItCannotInterpret) {
    std::string grouped = "\x07" + Text("Grouped");
    std::string compressed;
    AppendBE32(compressed, 100);
    compressed += "zlib data";
    const TID3v2 id3 =
        ReadTag(3, Frame23("TIT2", Text("Plain")) + Frame23("TIT2", compressed, 0x0080) +
                       Frame23("TPE1", grouped, 0x0020) + Frame23("TRCK", Text("70000")) +
                       Frame23("TALB", Text("x", '\x05')) + Frame23("TOAL", Text("Fallback")));
    EXPECT_EQ(id3.Title(), "Plain");
    EXPECT_EQ(id3.Artist(), "Grouped");
    EXPECT_EQ(id3.Track(), 0);  // above 65535
    EXPECT_EQ(id3.Album(), "Fallback");
}

TEST_F(ID3v2Read, Version22) {
    const TID3v2 id3 = ReadTag(
        2, Frame22("TT2", Text("Old title")) + Frame22("TP1", Text(Utf16("\u00C9mile"), '\x01')) +
               Frame22("TRK", Text("5")) + Frame22("TOR", Text("1987")) +
               Frame22("COM", Text(std::string("eng\0Old comment", 15))) +
               Frame22("TCO", Text("(8)")) + Frame22("WXX", Text(std::string("\0http://x/", 10))));
    EXPECT_EQ(id3.Version(), 2);
    EXPECT_EQ(id3.Title(), "Old title");
    EXPECT_EQ(id3.Artist(), "\u00C9mile");
    EXPECT_EQ(id3.Track(), 5);
    EXPECT_EQ(id3.Year(), "1987");
    EXPECT_EQ(id3.Comment(), "Old comment");
    EXPECT_EQ(id3.Genre(), "Jazz");
    EXPECT_EQ(id3.Link(), "http://x/");
}

TEST_F(ID3v2Read, FilesWithoutReadableTag) {
    TID3v2 id3;
    WriteBytes(path_, "ID3\x03");
    EXPECT_FALSE(id3.Read(path_));
    EXPECT_FALSE(id3.LastError().empty());
    EXPECT_FALSE(id3.Read(dir_ / "missing.mp3"));

    id3 = ReadFile(Audio());
    EXPECT_FALSE(id3.Exists());
    EXPECT_EQ(id3.Size(), 0u);

    // Versions without known frames: the tag is there, its fields are not read.
    id3 = ReadFile(Tag(5, Frame23("TIT2", Text("Future"))) + Audio());
    EXPECT_TRUE(id3.Exists());
    EXPECT_EQ(id3.Version(), 5);
    EXPECT_GT(id3.Size(), 0u);
    EXPECT_EQ(id3.Title(), "");
    id3 = ReadTag(2, Frame22("TT2", Text("Compressed")), 0x40);
    EXPECT_EQ(id3.Title(), "");

    // A size larger than the file.
    std::string huge = Tag(3, Frame23("TIT2", Text("Huge")));
    huge.replace(6, 4, "\x7F\x7F\x7F\x7F");
    id3 = ReadFile(huge + Audio());
    EXPECT_TRUE(id3.Exists());
    EXPECT_EQ(id3.Size(), 0u);
    EXPECT_EQ(id3.Title(), "");
}

TEST(ID3v2Setters, TrimBothEnds) {
    TID3v2 id3;
    id3.SetTitle("  \tTitle \r\n");
    id3.SetComment("\n Two\nlines \n");
    id3.SetTrack(65535);
    EXPECT_EQ(id3.Title(), "Title");
    EXPECT_EQ(id3.Comment(), "Two\nlines");
    EXPECT_EQ(id3.Track(), 65535);
    id3.Reset();
    EXPECT_EQ(id3.Fields(), Id3v2Fields());
}

}  // namespace
}  // namespace sonarchive::formats
