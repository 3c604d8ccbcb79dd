#include "formats/ogg_vorbis.h"

#include <gtest/gtest.h>

#include "ogg_test_files.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::MakeId3v2Tag;
using sonarchive::testing::MakeOggVorbis;
using sonarchive::testing::OggStreamBuilder;
using sonarchive::testing::RandomBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::TestOggVorbis;
using sonarchive::testing::VorbisIdentificationPacket;
using sonarchive::testing::WriteBytes;

TOggVorbis ReadBack(const std::string& path) {
    TOggVorbis ogg;
    EXPECT_TRUE(ogg.Read(path)) << ogg.LastError();
    return ogg;
}

TEST(TOggVorbisRead, TakesStreamPropertiesFromTheHeadersAndTheLastPage) {
    TempDir dir;
    TestOggVorbis layout;
    layout.channels = 1;
    layout.sampleRate = 48000;
    layout.nominalBitRate = 96500;  // rounds half to even: 96
    layout.samplesPerPage = 48000;
    layout.audioPages = 5;
    const std::string bytes = MakeOggVorbis(layout);
    WriteBytes(dir / "a.ogg", bytes);

    const TOggVorbis ogg = ReadBack(dir / "a.ogg");
    EXPECT_EQ(ogg.FileSize(), bytes.size());
    EXPECT_EQ(ogg.ChannelCount(), 1);
    EXPECT_EQ(ogg.SampleRate(), 48000u);
    EXPECT_EQ(ogg.NominalBitRate(), 96u);
    EXPECT_EQ(ogg.Samples(), 5u * 48000);
    EXPECT_EQ(ogg.ID3v2Size(), 0u);
    EXPECT_DOUBLE_EQ(ogg.Duration(), 5.0);
    EXPECT_EQ(ogg.BitRate(), static_cast<std::uint32_t>(bytes.size() / 5.0 / 125 + 0.5));
    EXPECT_TRUE(ogg.Valid());
    EXPECT_EQ(ogg.Vendor(), "test encoder 1.0");
    EXPECT_EQ(TOggVorbis::ChannelName(ogg.ChannelCount()), "Mono");
    EXPECT_EQ(TOggVorbis::ChannelName(0), "Unknown");
    EXPECT_EQ(TOggVorbis::ChannelName(2), "Stereo");
    EXPECT_EQ(TOggVorbis::ChannelName(6), "Unknown");

    layout.channels = 3;
    layout.nominalBitRate = 127500;
    WriteBytes(dir / "b.ogg", MakeOggVorbis(layout));
    const TOggVorbis surround = ReadBack(dir / "b.ogg");
    EXPECT_EQ(surround.NominalBitRate(), 128u);
    EXPECT_FALSE(surround.Valid());  // read, but not a file the catalog takes

    layout.channels = 2;
    layout.audioPages = 1;
    layout.samplesPerPage = 4410;  // exactly 0.1 s is too short
    WriteBytes(dir / "c.ogg", MakeOggVorbis(layout));
    EXPECT_FALSE(ReadBack(dir / "c.ogg").Valid());
}

TEST(TOggVorbisRead, ReadsTheManagedCommentFields) {
    TempDir dir;
    TestOggVorbis layout;
    layout.vendor = "vendor=with equals ";
    layout.fields = {
        "title=lower-case name", "ARTIST=First",
        "Artist=  Second \t",    "ALBUM=Bj\xC3\xB6rk \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5",
        "TRACKNUMBER=7/12",      "DATE=2004-05-01",
        "GENRE=Trip-Hop",        "COMMENT=" + std::string(1000, 'c') + "!",
        "no equals sign",        "REPLAYGAIN_TRACK_GAIN=-6.5 dB"};
    WriteBytes(dir / "a.ogg", MakeOggVorbis(layout));
    const TOggVorbis ogg = ReadBack(dir / "a.ogg");
    EXPECT_EQ(ogg.Vendor(), "vendor=with equals");
    EXPECT_EQ(ogg.Title(), "lower-case name");
    EXPECT_EQ(ogg.Artist(), "Second");  // the later field of a name wins
    EXPECT_EQ(ogg.Album(), "Bj\xC3\xB6rk \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5");
    EXPECT_EQ(ogg.Track(), 7);
    EXPECT_EQ(ogg.Date(), "2004-05-01");
    EXPECT_EQ(ogg.Genre(), "Trip-Hop");
    EXPECT_EQ(ogg.Comment(), std::string(1000, 'c') + "!");  // not cut to 250 bytes

    layout.fields = {"PERFORMER=Player", "DESCRIPTION=Described", "TRACKNUMBER=seven",
                     "TITLE=bad \xFF byte"};
    WriteBytes(dir / "b.ogg", MakeOggVorbis(layout));
    const TOggVorbis fallback = ReadBack(dir / "b.ogg");
    EXPECT_EQ(fallback.Artist(), "Player");
    EXPECT_EQ(fallback.Comment(), "Described");
    EXPECT_EQ(fallback.Track(), 0);
    EXPECT_EQ(fallback.Title(), "bad \xEF\xBF\xBD byte");  // repaired to valid UTF-8
}

TEST(TOggVorbisRead, FollowsACommentAcrossPagesAndSkipsHugeFields) {
    TempDir dir;
    TestOggVorbis layout;
    layout.headerSegmentsPerPage = 16;  // about 4 KB a page
    layout.fields = {"METADATA_BLOCK_PICTURE=" + RandomBytes(100 * 1024, 5), "TITLE=After",
                     "COMMENT=" + std::string(kVorbisFieldLoadLimit, 'x'), "GENRE=Last"};
    WriteBytes(dir / "a.ogg", MakeOggVorbis(layout));
    const TOggVorbis ogg = ReadBack(dir / "a.ogg");
    EXPECT_EQ(ogg.Title(), "After");
    EXPECT_EQ(ogg.Genre(), "Last");
    EXPECT_EQ(ogg.Comment(), "");  // above the load limit
    EXPECT_EQ(ogg.Samples(), 3u * 44100);
}

TEST(TOggVorbisRead, SkipsAnId3v2TagAndFindsVorbisAmongSeveralStreams) {
    TempDir dir;
    const std::string stream = MakeOggVorbis(TestOggVorbis());
    WriteBytes(dir / "tagged.ogg", MakeId3v2Tag(700) + stream);
    const TOggVorbis tagged = ReadBack(dir / "tagged.ogg");
    EXPECT_EQ(tagged.ID3v2Size(), 700u);
    EXPECT_EQ(tagged.Title(), "Song");
    EXPECT_DOUBLE_EQ(tagged.Duration(), 3.0);

    // Another stream's first page comes first; its pages interleave with the Vorbis ones.
    OggStreamBuilder other(0x0DD);
    other.AddPages({std::string("fishead\0", 8) + std::string(56, '\0')}, 0);
    OggStreamBuilder vorbis(0x5EED);
    vorbis.AddPages({VorbisIdentificationPacket(2, 22050, 64000)}, 0);
    OggStreamBuilder otherRest(0x0DD);
    otherRest.AddPages({"x"}, 0);
    vorbis.AddPages({sonarchive::testing::VorbisCommentPacket("v", {"TITLE=Muxed"})}, 0);
    WriteBytes(dir / "muxed.ogg", other.Bytes() + vorbis.Bytes().substr(0, 58) + otherRest.Bytes() +
                                      vorbis.Bytes().substr(58));
    const TOggVorbis muxed = ReadBack(dir / "muxed.ogg");
    EXPECT_EQ(muxed.SampleRate(), 22050u);
    EXPECT_EQ(muxed.Title(), "Muxed");
}

TEST(TOggVorbisRead, FindsTheLastWholePageOrFallsBackToTheNominalRate) {
    TempDir dir;
    TestOggVorbis layout;
    layout.channels = 1;
    const std::string stream = MakeOggVorbis(layout);

    // A cut-off last page and trailing bytes: the page before counts.
    WriteBytes(dir / "cut.ogg", stream.substr(0, stream.size() - 10));
    EXPECT_EQ(ReadBack(dir / "cut.ogg").Samples(), 2u * 44100);
    WriteBytes(dir / "junk.ogg", stream + "TAG" + std::string(125, ' '));
    EXPECT_EQ(ReadBack(dir / "junk.ogg").Samples(), 3u * 44100);
    std::string damaged = stream;
    damaged[damaged.size() - 5] ^= 0x55;
    WriteBytes(dir / "damaged.ogg", damaged);
    EXPECT_EQ(ReadBack(dir / "damaged.ogg").Samples(), 2u * 44100);

    // No page within reach of the end: the duration comes from the nominal rate alone, which
    // covers all channels together.
    const std::string far = stream + std::string(200 * 1024, '\0');
    WriteBytes(dir / "far.ogg", far);
    const TOggVorbis ogg = ReadBack(dir / "far.ogg");
    EXPECT_EQ(ogg.Samples(), 0u);
    EXPECT_DOUBLE_EQ(ogg.Duration(), far.size() / 128.0 / 125.0);
    EXPECT_EQ(ogg.BitRate(), 128u);
}

TEST(TOggVorbisRead, FailsWithAReasonForFilesItCannotUse) {
    TempDir dir;
    TOggVorbis ogg;
    EXPECT_FALSE(ogg.Read(dir / "missing.ogg"));
    EXPECT_EQ(ogg.LastError(), "cannot open the file");

    WriteBytes(dir / "empty.ogg", "");
    EXPECT_FALSE(ogg.Read(dir / "empty.ogg"));
    EXPECT_EQ(ogg.LastError(), "no Ogg page where the stream should start");

    const std::string stream = MakeOggVorbis(TestOggVorbis());
    WriteBytes(dir / "shifted.ogg", "x" + stream);
    EXPECT_FALSE(ogg.Read(dir / "shifted.ogg"));

    OggStreamBuilder opus(1);
    opus.AddPages({std::string("OpusHead\x01\x02", 10) + std::string(9, '\0')}, 0);
    opus.AddPages({"OpusTags"}, 0);
    WriteBytes(dir / "opus.ogg", opus.Bytes());
    EXPECT_FALSE(ogg.Read(dir / "opus.ogg"));
    EXPECT_EQ(ogg.LastError(), "no Vorbis identification header");
    EXPECT_EQ(ogg.SampleRate(), 0u);
    EXPECT_EQ(ogg.Title(), "");
}

}  // namespace
}  // namespace sonarchive::formats
