#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "formats/ogg_vorbis.h"
#include "ogg_test_files.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::JoinPackets;
using sonarchive::testing::MakeId3v2Tag;
using sonarchive::testing::MakeOggVorbis;
using sonarchive::testing::OggStreamBuilder;
using sonarchive::testing::ParsedPage;
using sonarchive::testing::RandomBytes;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::SplitPages;
using sonarchive::testing::TempDir;
using sonarchive::testing::TestOggVorbis;
using sonarchive::testing::VorbisCommentPacket;
using sonarchive::testing::WriteBytes;

// The comment fields of a stream, parsed here independently of the code under test.
std::vector<std::string> CommentFieldsOf(const std::string& stream) {
    const std::string packet = JoinPackets(SplitPages(stream)).at(1);
    std::vector<std::string> fields;
    std::size_t at = 7;
    const auto length = [&] {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) {
            v = (v << 8) | static_cast<unsigned char>(packet.at(at + static_cast<std::size_t>(i)));
        }
        at += 4;
        return v;
    };
    at += length();  // vendor
    for (std::uint32_t count = length(); count > 0; --count) {
        const std::uint32_t size = length();
        fields.push_back(packet.substr(at, size));
        at += size;
    }
    return fields;
}

// Every page of a stream carries a valid checksum, the stream's serial number and the next
// sequence number; granule positions and audio packets are returned for comparison.
struct StreamShape {
    std::vector<std::uint64_t> granules;
    std::vector<std::string> audioPackets;
};

StreamShape CheckStream(const std::string& stream) {
    const std::vector<ParsedPage> pages = SplitPages(stream);
    StreamShape shape;
    std::size_t total = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(pages[i].checksumValid) << "page " << i;
        EXPECT_EQ(pages[i].sequence, i);
        EXPECT_EQ(pages[i].serial, pages[0].serial);
        total += 27 + pages[i].lacing.size() + pages[i].data.size();
        shape.granules.push_back(pages[i].granule);
    }
    EXPECT_EQ(total, stream.size());
    const std::vector<std::string> packets = JoinPackets(pages);
    shape.audioPackets.assign(packets.begin() + 3, packets.end());
    shape.granules.erase(shape.granules.begin(),
                         shape.granules.end() - static_cast<std::ptrdiff_t>(3));
    return shape;
}

void WriteTitle(const std::string& path, const std::string& title) {
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Read(path)) << ogg.LastError();
    ogg.SetTitle(title);
    ASSERT_TRUE(ogg.Write(path)) << ogg.LastError();
}

TEST(TOggVorbisWrite, ReplacesManagedFieldsAndKeepsEveryOtherFieldInItsPlace) {
    TempDir dir;
    TestOggVorbis layout;
    layout.fields = {"REPLAYGAIN_TRACK_GAIN=-6.5 dB",
                     "title=Old",
                     "TITLE=Older",
                     "MUSICBRAINZ_TRACKID=1234",
                     "ARTIST=A1",
                     "ARTIST=A2",
                     "TRACKNUMBER=7/12",
                     "DATE=2004",
                     "COMMENT=old comment",
                     "no equals sign",
                     "DESCRIPTION=kept, COMMENT was set"};
    layout.commentTrailer = std::string("\x01\0\0\0", 4);  // padding after the framing bit
    const std::string path = dir / "a.ogg";
    WriteBytes(path, MakeOggVorbis(layout));

    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Read(path));
    ogg.SetTitle("  New title ");
    ogg.SetAlbum("Bj\xC3\xB6rk");
    ogg.SetComment("");
    ogg.SetGenre("Rock");
    ASSERT_TRUE(ogg.Write(path)) << ogg.LastError();

    const std::string written = ReadBytes(path);
    EXPECT_EQ(CommentFieldsOf(written),
              (std::vector<std::string>{
                  "REPLAYGAIN_TRACK_GAIN=-6.5 dB", "TITLE=New title", "MUSICBRAINZ_TRACKID=1234",
                  "ARTIST=A1", "ARTIST=A2", "TRACKNUMBER=7/12", "DATE=2004", "no equals sign",
                  "DESCRIPTION=kept, COMMENT was set", "ALBUM=Bj\xC3\xB6rk", "GENRE=Rock"}));
    const std::string commentPacket = JoinPackets(SplitPages(written)).at(1);
    EXPECT_EQ(commentPacket.substr(commentPacket.size() - 4), layout.commentTrailer);

    const TOggVorbis back = [&] {
        TOggVorbis o;
        EXPECT_TRUE(o.Read(path));
        return o;
    }();
    EXPECT_EQ(back.Title(), "New title");
    EXPECT_EQ(back.Artist(), "A2");
    EXPECT_EQ(back.Track(), 7);
    EXPECT_EQ(back.Comment(), "kept, COMMENT was set");
    EXPECT_EQ(back.Vendor(), layout.vendor);
}

TEST(TOggVorbisWrite, FoldsPerformerAndDescriptionAndWritesTheTrackNumber) {
    TempDir dir;
    TestOggVorbis layout;
    layout.fields = {"PERFORMER=Player", "DESCRIPTION=About", "TRACKNUMBER=3", "OTHER=x"};
    const std::string path = dir / "a.ogg";
    WriteBytes(path, MakeOggVorbis(layout));
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Read(path));
    ogg.SetTrack(12);
    ASSERT_TRUE(ogg.Write(path));
    EXPECT_EQ(
        CommentFieldsOf(ReadBytes(path)),
        (std::vector<std::string>{"ARTIST=Player", "COMMENT=About", "TRACKNUMBER=12", "OTHER=x"}));

    // Empty texts remove the managed fields; the vendor stays.
    for (const auto& set : {&TOggVorbis::SetTitle, &TOggVorbis::SetArtist, &TOggVorbis::SetAlbum,
                            &TOggVorbis::SetDate, &TOggVorbis::SetGenre, &TOggVorbis::SetComment}) {
        (ogg.*set)("");
    }
    ogg.SetTrack(0);
    layout.fields = {"TITLE=t", "ARTIST=a", "ALBUM=b",   "TRACKNUMBER=1",
                     "DATE=d",  "GENRE=g",  "COMMENT=c", "PERFORMER=p"};
    WriteBytes(path, MakeOggVorbis(layout));
    ASSERT_TRUE(ogg.Write(path));  // written without reading first
    EXPECT_EQ(CommentFieldsOf(ReadBytes(path)), std::vector<std::string>{"PERFORMER=p"});
    EXPECT_EQ(JoinPackets(SplitPages(ReadBytes(path))).at(1),
              VorbisCommentPacket(layout.vendor, {"PERFORMER=p"}));
}

TEST(TOggVorbisWrite, RepaginatesTheHeadersAndRenumbersTheFollowingPages) {
    TempDir dir;
    TestOggVorbis layout;
    layout.audioPages = 6;
    layout.fields = {"TITLE=short", "METADATA_BLOCK_PICTURE=" + RandomBytes(100 * 1024, 3)};
    const std::string original = MakeOggVorbis(layout);
    const StreamShape before = CheckStream(original);
    const std::string path = dir / "a.ogg";
    WriteBytes(path, original);

    // The picture fits two full pages; a long title needs a third.
    WriteTitle(path, std::string(40000, 'L'));
    std::string written = ReadBytes(path);
    EXPECT_EQ(SplitPages(written).size(), SplitPages(original).size() + 1);
    StreamShape after = CheckStream(written);
    EXPECT_EQ(after.granules, before.granules);
    EXPECT_EQ(after.audioPackets, before.audioPackets);
    EXPECT_EQ(CommentFieldsOf(written).at(1), layout.fields[1]);

    // Back to a short title: back to the original bytes.
    WriteTitle(path, "short");
    EXPECT_EQ(ReadBytes(path), original);

    // Headers spread over many small pages shrink to few.
    layout.headerSegmentsPerPage = 8;
    const std::string spread = MakeOggVorbis(layout);
    WriteBytes(path, spread);
    WriteTitle(path, "x");
    written = ReadBytes(path);
    EXPECT_LT(SplitPages(written).size() + 40, SplitPages(spread).size());
    after = CheckStream(written);
    EXPECT_EQ(after.granules, before.granules);
    EXPECT_EQ(after.audioPackets, before.audioPackets);
}

TEST(TOggVorbisWrite, KeepsWhatSurroundsTheStream) {
    TempDir dir;
    const std::string stream = MakeOggVorbis(TestOggVorbis());
    const std::string id3 = MakeId3v2Tag(1000);
    const std::string trailing = "TAG" + std::string(125, 'z');
    const std::string path = dir / "a.ogg";
    WriteBytes(path, id3 + stream + trailing);
    ::chmod(path.c_str(), 0444);

    WriteTitle(path, "Tagged");
    const std::string written = ReadBytes(path);
    ASSERT_GT(written.size(), id3.size() + trailing.size());
    EXPECT_EQ(written.substr(0, id3.size()), id3);
    EXPECT_EQ(written.substr(written.size() - trailing.size()), trailing);
    CheckStream(written.substr(id3.size(), written.size() - id3.size() - trailing.size()));
    TOggVorbis back;
    ASSERT_TRUE(back.Read(path));
    EXPECT_EQ(back.Title(), "Tagged");
    EXPECT_EQ(back.ID3v2Size(), 1000u);
}

// Writes that must fail and leave the file exactly as it was.
class TOggVorbisWriteRefusal : public ::testing::Test {
  protected:
    void ExpectRefused(const std::string& bytes, const std::string& reason) {
        const std::string path = dir_ / "refused.ogg";
        WriteBytes(path, bytes);
        TOggVorbis ogg;
        ogg.SetTitle("new");
        EXPECT_FALSE(ogg.Write(path));
        EXPECT_EQ(ogg.LastError(), reason);
        EXPECT_EQ(ReadBytes(path), bytes);
        EXPECT_FALSE(std::filesystem::exists(path + "~"));
    }
    TempDir dir_;
};

// The reader loads no field above 64 KiB: a longer text would be written and read back empty.
TEST_F(TOggVorbisWriteRefusal, ATextTooLongToBeReadBack) {
    const std::string path = dir_ / "long.ogg";
    const std::string original = MakeOggVorbis(TestOggVorbis());
    WriteBytes(path, original);
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Read(path));
    ogg.SetComment(std::string(70000, 'c'));
    EXPECT_FALSE(ogg.Write(path));
    EXPECT_EQ(ogg.LastError(), "a text is too long for the comment");
    EXPECT_EQ(ReadBytes(path), original);

    const std::string longest(60000, 'c');
    ogg.SetComment(longest);
    ASSERT_TRUE(ogg.Write(path)) << ogg.LastError();
    TOggVorbis back;
    ASSERT_TRUE(back.Read(path));
    EXPECT_EQ(back.Comment(), longest);
}

TEST_F(TOggVorbisWriteRefusal, SeveralLogicalStreams) {
    const std::string stream = MakeOggVorbis(TestOggVorbis());
    ExpectRefused(stream + stream, "the file holds more than one logical stream");  // chained

    TestOggVorbis second;
    second.serialNumber = 99;
    const std::string other = MakeOggVorbis(second);
    ExpectRefused(stream.substr(0, 58) + other.substr(0, 58) + stream.substr(58) + other.substr(58),
                  "the file holds more than one logical stream");  // multiplexed
}

TEST_F(TOggVorbisWriteRefusal, HeadersItCannotRebuildSafely) {
    ExpectRefused("", "no Ogg page where the stream should start");

    OggStreamBuilder noComment(1);
    noComment.AddPages({sonarchive::testing::VorbisIdentificationPacket(2, 44100, 128000)}, 0);
    noComment.AddPages({sonarchive::testing::VorbisSetupPacket(100)}, 0);
    ExpectRefused(noComment.Bytes(), "no Vorbis comment header");

    std::string lying = VorbisCommentPacket("v", {"TITLE=a"});
    lying[7 + 4 + 1] = 5;  // announces five fields, holds one
    OggStreamBuilder damaged(1);
    damaged.AddPages({sonarchive::testing::VorbisIdentificationPacket(2, 44100, 128000)}, 0);
    damaged.AddPages({lying, sonarchive::testing::VorbisSetupPacket(100)}, 0);
    ExpectRefused(damaged.Bytes(), "the Vorbis comment header is damaged");

    OggStreamBuilder shared(1);
    shared.AddPages({sonarchive::testing::VorbisIdentificationPacket(2, 44100, 128000)}, 0);
    shared.AddPages(
        {VorbisCommentPacket("v", {}), sonarchive::testing::VorbisSetupPacket(100), "audio"}, 0);
    ExpectRefused(shared.Bytes(), "audio data shares a page with the Vorbis headers");

    OggStreamBuilder noSetup(1);
    noSetup.AddPages({sonarchive::testing::VorbisIdentificationPacket(2, 44100, 128000)}, 0);
    noSetup.AddPages({VorbisCommentPacket("v", {}), "audio"}, 0);
    ExpectRefused(noSetup.Bytes(), "no complete Vorbis setup header");
}

TEST_F(TOggVorbisWriteRefusal, ATemporaryFileThatCannotBeMade) {
    const std::string path = sonarchive::testing::LongestFileName(dir_, ".ogg");
    const std::string bytes = MakeOggVorbis(TestOggVorbis());
    WriteBytes(path, bytes);  // the temporary file's name would be too long
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Read(path));
    ogg.SetTitle("new");
    EXPECT_FALSE(ogg.Write(path));
    EXPECT_EQ(ogg.LastError(), "cannot write the file");
    EXPECT_EQ(ReadBytes(path), bytes);
}

}  // namespace
}  // namespace sonarchive::formats
