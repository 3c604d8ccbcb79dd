#include "formats/ape_tag.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "format_bytes.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using namespace std::string_literals;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;
using testing::ApeFrame;
using testing::ApeItem;
using testing::ApeTag;
using testing::Id3v1Tag;

const std::string kAudio = "MAC audio frames " + std::string(300, '\x5a');

TAPEtag ReadTag(const std::string& path) {
    TAPEtag tag;
    EXPECT_TRUE(tag.Read(path));
    return tag;
}

TEST(ApeTag, ReadsTheEightItemsWithTheEncodingOfTheVersion) {
    TempDir dir;
    const std::string path = dir / "a.ape";
    const std::string longComment(1000, 'c');
    const std::string items = ApeItem("TITLE", "  Old  ") + ApeItem("title", "Bj\xf6rk") +
                              ApeItem("artist", "Sigur R\xf3s") + ApeItem("Track", "3/10") +
                              ApeItem("Comment", longComment) + ApeItem("Year", "2001") +
                              ApeItem("Genre", "Rock") + ApeItem("Album", "\x01 A \x02") +
                              ApeItem("Copyright", "(c)");
    WriteBytes(path, kAudio + ApeTag(1000, items, 9));
    TAPEtag tag = ReadTag(path);
    EXPECT_TRUE(tag.Exists());
    EXPECT_EQ(tag.Version(), 1000u);
    EXPECT_EQ(tag.Size(), items.size() + 32);
    EXPECT_EQ(tag.Title(), "Bj\u00f6rk");  // the later of two items wins
    EXPECT_EQ(tag.Artist(), "Sigur R\u00f3s");
    EXPECT_EQ(tag.Album(), "A");
    EXPECT_EQ(tag.Track(), 3);
    EXPECT_EQ(tag.Year(), "2001");
    EXPECT_EQ(tag.Genre(), "Rock");
    EXPECT_EQ(tag.Comment(), longComment);  // kept whole
    EXPECT_EQ(tag.Copyright(), "(c)");

    // Version 2.0 values are UTF-8; a header in front and an ID3v1 tag behind are allowed.
    WriteBytes(path, kAudio +
                         ApeTag(2000, ApeItem("Title", "Bj\u00f6rk \u263a") + ApeItem("Track", "x"),
                                2, true) +
                         Id3v1Tag());
    tag = ReadTag(path);
    EXPECT_EQ(tag.Version(), 2000u);
    EXPECT_EQ(tag.Title(), "Bj\u00f6rk \u263a");
    EXPECT_EQ(tag.Track(), 0);

    tag.SetTrack(7);
    EXPECT_EQ(tag.Track(), 7);
    tag.SetTitle(" \t Trimmed \n");
    EXPECT_EQ(tag.Title(), "Trimmed");
    tag.Reset();
    EXPECT_FALSE(tag.Exists());
    EXPECT_EQ(tag.Title(), "");
}

TEST(ApeTag, FilesWithoutATagOrWithSizesThatDoNotFit) {
    TempDir dir;
    const std::string path = dir / "a.ape";
    WriteBytes(path, kAudio + Id3v1Tag());
    EXPECT_FALSE(ReadTag(path).Exists());
    WriteBytes(path, "tiny");
    EXPECT_FALSE(ReadTag(path).Exists());

    // A footer claiming more bytes than the file holds is no tag.
    std::string footer = ApeFrame(1000, 0, 0, 0);
    footer[12] = '\xff';
    footer[13] = '\xff';
    WriteBytes(path, "abc" + footer);
    EXPECT_FALSE(ReadTag(path).Exists());

    // An item whose value runs past the items ends the walk; the items before it count.
    std::string broken = ApeItem("Title", "ok") + ApeItem("Artist", "runs past the end");
    broken[19] = '\x7f';  // high byte of the second item's value size
    WriteBytes(path, kAudio + ApeTag(2000, broken, 2));
    TAPEtag tag = ReadTag(path);
    EXPECT_TRUE(tag.Exists());
    EXPECT_EQ(tag.Title(), "ok");
    EXPECT_EQ(tag.Artist(), "");

    EXPECT_FALSE(tag.Read(dir / "missing.ape"));
    EXPECT_FALSE(tag.LastError().empty());
}

TEST(ApeTag, RewriteKeepsOtherItemsAndUnchangedValuesByteForByte) {
    TempDir dir;
    const std::string path = dir / "a.ape";
    const std::string cover = ApeItem("Cover Art (Front)", "cover.jpg\0\xff\xd8\xff\xe0\0\x10"s, 2);
    const std::string bigCover =
        ApeItem("Cover Art (Back)", sonarchive::testing::RandomBytes(70000, 1), 2);
    const std::string composer = ApeItem("Composer", "Arvo P\xc3\xa4rt");
    const std::string track = ApeItem("TRACK", "3/10");
    const std::string oldTitle = ApeItem("Title", "Old\0"s);  // an older writer's zero byte
    WriteBytes(path, kAudio +
                         ApeTag(2000,
                                cover + track + composer + bigCover + oldTitle +
                                    ApeItem("Artist", "Someone"),
                                6, true) +
                         Id3v1Tag());

    TAPEtag tag = ReadTag(path);
    ASSERT_EQ(tag.Title(), "Old");
    tag.SetArtist("Somebody else");
    tag.SetTrack(3);
    tag.SetAlbum("\u00c5lbum \u263a");
    ASSERT_TRUE(tag.Write(path));

    // The ID3v1 tag behind the APE tag stays where it was, byte for byte.
    const std::string items = cover + track + composer + bigCover + oldTitle +
                              ApeItem("Artist", "Somebody else") +
                              ApeItem("Album", "\u00c5lbum \u263a");
    EXPECT_EQ(ReadBytes(path), kAudio + ApeTag(2000, items, 7) + Id3v1Tag());
    tag = ReadTag(path);
    EXPECT_EQ(tag.Album(), "\u00c5lbum \u263a");
    EXPECT_EQ(tag.Track(), 3);

    // Writing again without changes gives the same bytes.
    ASSERT_TRUE(tag.Write(path));
    EXPECT_EQ(ReadBytes(path), kAudio + ApeTag(2000, items, 7) + Id3v1Tag());

    // Clearing fields removes their items; the others stay.
    tag.SetTrack(0);
    tag.SetTitle("");
    tag.SetArtist("");
    tag.SetAlbum("");
    ASSERT_TRUE(tag.Write(path));
    EXPECT_EQ(ReadBytes(path), kAudio + ApeTag(2000, cover + composer + bigCover, 3) + Id3v1Tag());

    // A file with only an ID3v1 tag gets the APE tag in front of it.
    WriteBytes(path, kAudio + Id3v1Tag());
    tag = ReadTag(path);
    tag.SetTitle("T");
    ASSERT_TRUE(tag.Write(path));
    EXPECT_EQ(ReadBytes(path), kAudio + ApeTag(1000, ApeItem("Title", "T"), 1) + Id3v1Tag());
}

TEST(ApeTag, WritesVersionOneUnlessTheTagWasTwoOrAValueNeedsIt) {
    TempDir dir;
    const std::string path = dir / "a.ape";
    WriteBytes(path, kAudio);
    TAPEtag tag;
    tag.SetTitle("Caf\u00e9");
    tag.SetTrack(12);
    ASSERT_TRUE(tag.Write(path));
    EXPECT_EQ(ReadBytes(path),
              kAudio + ApeTag(1000, ApeItem("Title", "Caf\xe9") + ApeItem("Track", "12"), 2));

    // A 1.0 tag whose value needs more than ISO-8859-1 becomes 2.0: kept ISO-8859-1 texts
    // are re-encoded, binary values with zero bytes are left alone.
    const std::string binary = ApeItem("Data", "\xe9\0\xe9"s);
    WriteBytes(
        path,
        kAudio +
            ApeTag(1000, ApeItem("Title", "Caf\xe9") + ApeItem("Place", "G\xe4vle") + binary, 3));
    tag = ReadTag(path);
    tag.SetArtist("\u041c\u0438\u0440");
    ASSERT_TRUE(tag.Write(path));
    EXPECT_EQ(ReadBytes(path),
              kAudio + ApeTag(2000,
                              ApeItem("Title", "Caf\u00e9") + ApeItem("Place", "G\u00e4vle") +
                                  binary + ApeItem("Artist", "\u041c\u0438\u0440"),
                              4));

    // A binary item of a 1.0 tag (its flags say so) without any zero byte, whose high bytes
    // would read as ISO-8859-1 text, is no text to re-encode: it keeps its bytes too.
    const std::string picture = ApeItem("Cover Art (Front)", "\xff\xd8\xff\xe0\x89PNG\xc3", 2);
    WriteBytes(path, kAudio + ApeTag(1000, ApeItem("Title", "Caf\xe9") + picture, 2));
    tag = ReadTag(path);
    tag.SetArtist("\u041c\u0438\u0440");
    ASSERT_TRUE(tag.Write(path));
    EXPECT_EQ(ReadBytes(path), kAudio + ApeTag(2000,
                                               ApeItem("Title", "Caf\u00e9") + picture +
                                                   ApeItem("Artist", "\u041c\u0438\u0440"),
                                               3));

    // Empty fields on a file without a tag still give a tag: a footer without items.
    WriteBytes(path, kAudio);
    ASSERT_TRUE(TAPEtag().Write(path));
    EXPECT_EQ(ReadBytes(path), kAudio + ApeTag(1000, "", 0));
}

TEST(ApeTag, StripRemovesTheTagWithItsHeaderAndKeepsTheId3v1TagBehindIt) {
    TempDir dir;
    const std::string path = dir / "a.ape";
    TAPEtag tag;
    std::string id3v1 = Id3v1Tag();
    id3v1.replace(3, 5, "Title");
    WriteBytes(path, kAudio + ApeTag(2000, ApeItem("Title", "x"), 1, true) + id3v1);
    ASSERT_TRUE(tag.Strip(path));
    EXPECT_EQ(ReadBytes(path), kAudio + id3v1);

    // A file with an ID3v1 tag only has nothing to strip.
    ASSERT_TRUE(tag.Strip(path));
    EXPECT_EQ(ReadBytes(path), kAudio + id3v1);

    // When the ID3v1 tag cannot be moved, nothing changes.
    const std::string both = kAudio + ApeTag(1000, ApeItem("Title", "x"), 1) + id3v1;
    const std::string blocked = sonarchive::testing::LongestFileName(dir, ".ape");
    WriteBytes(blocked, both);
    EXPECT_FALSE(tag.Strip(blocked));
    EXPECT_EQ(ReadBytes(blocked), both);

    WriteBytes(path, kAudio + ApeTag(2000, ApeItem("Title", "x"), 1, true));
    ASSERT_TRUE(tag.Strip(path));
    EXPECT_EQ(ReadBytes(path), kAudio);

    // A header flag without a header in front of the items cuts no audio.
    const std::string items = ApeItem("Title", "x");
    WriteBytes(path, kAudio + items + ApeFrame(2000, items.size(), 1, 1u << 31));
    ASSERT_TRUE(tag.Strip(path));
    EXPECT_EQ(ReadBytes(path), kAudio);

    // A tag with header of 131 bytes: the "TAG" in its "APETAGEX" is no ID3v1 tag.
    const std::string tag131 = ApeTag(2000, ApeItem("Title", std::string(53, 't')), 1, true);
    ASSERT_EQ(tag131.size(), 131u);
    WriteBytes(path, kAudio + tag131);
    EXPECT_EQ(ReadTag(path).Title(), std::string(53, 't'));
    ASSERT_TRUE(tag.Strip(path));
    EXPECT_EQ(ReadBytes(path), kAudio);

    // Nothing to strip: the file, even a read-only one, is not touched.
    ::chmod(path.c_str(), 0444);
    ASSERT_TRUE(tag.Strip(path));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);

    EXPECT_FALSE(tag.Strip(dir / "missing.ape"));
}

TEST(ApeTag, AFailedWriteLeavesTheFileIntactAndReadOnlyFilesAreWritten) {
    TempDir dir;
    const std::string path = dir / "a.ape";
    const std::string original = kAudio + ApeTag(1000, ApeItem("Title", "Old"), 1) + Id3v1Tag();
    const std::string blocked = sonarchive::testing::LongestFileName(dir, ".ape");
    WriteBytes(blocked, original);  // the temporary file's name would be too long
    TAPEtag tag;
    tag.SetTitle("New");
    EXPECT_FALSE(tag.Write(blocked));
    EXPECT_FALSE(tag.LastError().empty());
    EXPECT_EQ(ReadBytes(blocked), original);

    WriteBytes(path, original);
    ::chmod(path.c_str(), 0444);
    ASSERT_TRUE(tag.Write(path));
    EXPECT_EQ(ReadTag(path).Title(), "New");
    EXPECT_FALSE(tag.Write(dir / "missing.ape"));
}

// Longer values are only located when a tag is read: such a text would be written and read
// back empty.
TEST(ApeTag, ATextTooLongToBeReadBackIsRefused) {
    TempDir dir;
    const std::string path = dir / "a.ape";
    const std::string original = kAudio + ApeTag(2000, ApeItem("Title", "Old"), 1);
    WriteBytes(path, original);
    TAPEtag tag = ReadTag(path);
    tag.SetTitle(std::string(70000, 't'));
    EXPECT_FALSE(tag.Write(path));
    EXPECT_EQ(tag.LastError(), "a text is too long for the tag");
    EXPECT_EQ(ReadBytes(path), original);

    const std::string longest(60000, 't');
    tag.SetTitle(longest);
    ASSERT_TRUE(tag.Write(path)) << tag.LastError();
    EXPECT_EQ(ReadTag(path).Title(), longest);
}

}  // namespace
}  // namespace sonarchive::formats
