#include "collections/playlist.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <csignal>
#include <filesystem>

#include "collections/playlist_document.h"
#include "formats/mpeg_audio.h"
#include "support/encoders.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"
#include "text/path_bytes.h"

namespace sonarchive::collections {
namespace {

using sonarchive::testing::ReadBytes;
using sonarchive::testing::ScriptedInteraction;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

std::vector<PlaylistEntry> Read(const std::string& file, PlaylistEncoding* encoding = nullptr) {
    std::vector<PlaylistEntry> entries;
    EXPECT_TRUE(ReadPlaylist(file, entries, encoding));
    return entries;
}

TEST(PlaylistFile, ReadingSkipsCommentsAndBlankLinesAndWritingGivesTheCanonicalForm) {
    TempDir dir;
    WriteBytes(dir / "in.m3u",
               "#EXTM3U\n  #EXTINF:10,a - b\t\nx.mp3\n#comment\n\ny.mp3\n#EXTINF:9,dropped\n");
    const auto entries = Read(dir / "in.m3u");
    EXPECT_EQ(entries, (std::vector<PlaylistEntry>{{"x.mp3", "#EXTINF:10,a - b"}, {"y.mp3", ""}}));
    ASSERT_EQ(WritePlaylist(entries, dir / "out.m3u"), 0);
    EXPECT_EQ(ReadBytes(dir / "out.m3u"), "#EXTM3U\r\n#EXTINF:10,a - b\r\nx.mp3\r\ny.mp3\r\n");

    // A new playlist holds exactly the header; a later info line replaces an earlier one.
    ASSERT_EQ(WritePlaylist({}, dir / "new.m3u"), 0);
    EXPECT_EQ(ReadBytes(dir / "new.m3u"), "#EXTM3U\r\n");
    WriteBytes(dir / "two.m3u", "#EXTINF:1,first\r\n#EXTINF:2,second\r\n../up/z.ogg\r");
    EXPECT_EQ(Read(dir / "two.m3u"),
              (std::vector<PlaylistEntry>{{"../up/z.ogg", "#EXTINF:2,second"}}));

    std::vector<PlaylistEntry> none;
    EXPECT_FALSE(ReadPlaylist(dir / "missing.m3u", none));
    EXPECT_FALSE(ReadPlaylist(dir.Path(), none));
    EXPECT_TRUE(none.empty());
}

TEST(PlaylistFile, TextsKeepTheirEncodingAndPathsTheirBytes) {
    TempDir dir;
    // ISO-8859-1 texts and a file name that is no UTF-8.
    const std::string latin1 = "#EXTM3U\r\n#EXTINF:5,Bj\xF6rk - J\xF3ga\r\n/m/caf\xE9.mp3\r\n";
    WriteBytes(dir / "latin1.m3u", latin1);
    PlaylistEncoding encoding{};
    auto entries = Read(dir / "latin1.m3u", &encoding);
    EXPECT_EQ(encoding, PlaylistEncoding::Latin1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].infoLine, "#EXTINF:5,Björk - Jóga");
    EXPECT_EQ(text::PathToSystem(entries[0].path), "/m/caf\xE9.mp3");
    ASSERT_EQ(WritePlaylist(entries, dir / "latin1.m3u", encoding), 0);
    EXPECT_EQ(ReadBytes(dir / "latin1.m3u"), latin1);

    // A character ISO-8859-1 lacks makes the texts UTF-8, never "?"; the file reads back alike.
    entries.push_back({"/m/b.mp3", "#EXTINF:7,Дельфин - Любовь"});
    ASSERT_EQ(WritePlaylist(entries, dir / "latin1.m3u", encoding), 0);
    const std::string written = ReadBytes(dir / "latin1.m3u");
    EXPECT_NE(written.find("#EXTINF:5,Björk - Jóga\r\n"), std::string::npos);
    EXPECT_EQ(written.find('?'), std::string::npos);
    EXPECT_EQ(Read(dir / "latin1.m3u", &encoding), entries);
    EXPECT_EQ(encoding, PlaylistEncoding::Utf8);

    // A byte-order mark is skipped and written back.
    WriteBytes(dir / "bom.m3u8", "\xEF\xBB\xBF#EXTM3U\r\nä.mp3\r\n");
    entries = Read(dir / "bom.m3u8", &encoding);
    EXPECT_EQ(encoding, PlaylistEncoding::Utf8WithMark);
    EXPECT_EQ(entries, (std::vector<PlaylistEntry>{{"ä.mp3", ""}}));
    ASSERT_EQ(WritePlaylist(entries, dir / "bom.m3u8", encoding), 0);
    EXPECT_EQ(ReadBytes(dir / "bom.m3u8"), "\xEF\xBB\xBF#EXTM3U\r\nä.mp3\r\n");
}

TEST(PlaylistFile, AFailedWriteKeepsTheOldFileWhole) {
    TempDir dir;
    const std::string file = dir / "keep.m3u";
    WriteBytes(file, "#EXTM3U\r\n/old.mp3\r\n");
    ::chmod(file.c_str(), 0640);
    std::vector<PlaylistEntry> many(5000, PlaylistEntry{"/a/rather/long/path/to/a/song.mp3", ""});

    // A file size limit makes the write fail part way, whoever runs the test.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int error = WritePlaylist(many, file);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(ReadBytes(file), "#EXTM3U\r\n/old.mp3\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind

    // A successful write keeps the file's permissions; a folder that is missing fails.
    ASSERT_EQ(WritePlaylist({{"/new.mp3", ""}}, file), 0);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(WritePlaylist({}, dir / "no/such/folder.m3u"), ENOENT);
}

TEST(PlaylistFile, InfoLinesComeFromTheMpegStreamAndItsTags) {
    TempDir dir;
    ASSERT_TRUE(sonarchive::testing::MakeToneWav(dir / "tone.wav", 187.5, 8000, 1));
    ASSERT_TRUE(sonarchive::testing::EncodeMp3(dir / "tone.wav", dir / "v2.mp3",
                                               "-b 32 --id3v2-only --ta Ann --tt 'Blue Sky'"));
    ASSERT_TRUE(sonarchive::testing::EncodeMp3(dir / "tone.wav", dir / "v1.mp3",
                                               "-b 32 --id3v1-only --ta Bob --tt Old"));
    ASSERT_TRUE(sonarchive::testing::EncodeMp3(dir / "tone.wav", dir / "none.mp3", "-b 32"));
    ASSERT_TRUE(sonarchive::testing::EncodeOgg(dir / "tone.wav", dir / "x.ogg", "-t Title -a A"));

    formats::TMPEGaudio mpeg;
    ASSERT_TRUE(mpeg.Read(dir / "v2.mp3"));
    ASSERT_EQ(std::floor(mpeg.Duration()), 187);
    EXPECT_EQ(ExtInfLine(dir / "v2.mp3"), "#EXTINF:187,Ann - Blue Sky");
    EXPECT_EQ(ExtInfLine(dir / "v1.mp3"), "#EXTINF:187,Bob - Old");
    EXPECT_EQ(ExtInfLine(dir / "none.mp3"), "#EXTINF:187, - ");
    EXPECT_EQ(ExtInfLine(dir / "x.ogg"), "");
    EXPECT_EQ(ExtInfLine(dir / "tone.wav"), "");
    EXPECT_EQ(ExtInfLine(dir / "missing.mp3"), "");
    EXPECT_EQ(InfoLineOf(61.99, "A\r\nB", "T\x01"), "#EXTINF:61,A  B - T ");
}

class PlaylistDocumentTest : public ::testing::Test {
protected:
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const auto& entry : document.Entries()) {
            paths.push_back(entry.path);
        }
        return paths;
    }

    TempDir dir;
    PlaylistDocument document{dir / "list.m3u"};
    ScriptedInteraction user;
};

TEST_F(PlaylistDocumentTest, PathsAreAddedByTheirExtension) {
    ASSERT_EQ(document.Create(), 0);
    const std::size_t added = document.AddPaths(
        {"/m/a.mp3", "/m/B.OGG", "/m/c.Wav", "/m/d.mpc", "/m/x.m", "/m/x.", "/m/noextension",
         "/m/e.flac", "/m/bad\nname.mp3", "/m.dir/f", "/m/g.APE", "/m/h.mac"},
        user);
    EXPECT_EQ(added, 6u);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/m/a.mp3", "/m/B.OGG", "/m/c.Wav", "/m/d.mpc",
                                                 "/m/g.APE", "/m/h.mac"}));
    EXPECT_TRUE(user.log.empty());
    ASSERT_EQ(document.Save(), 0);
    PlaylistDocument reopened(document.File());
    ASSERT_TRUE(reopened.Open());
    EXPECT_EQ(reopened.Entries(), document.Entries());
}

TEST_F(PlaylistDocumentTest, APlaylistIsExtractedOrAddedItself) {
    std::filesystem::create_directories(dir / "other/sub");
    WriteBytes(dir / "other/more.M3U8",
               "#EXTM3U\r\n#EXTINF:3,stale\r\nsub/a.mp3\r\n/abs/b.ogg\r\n");
    ASSERT_EQ(document.Create(), 0);
    user.AnswerNo();
    user.AnswerYes();
    document.AddPaths({dir / "other/more.M3U8", dir / "other/more.M3U8"}, user);
    EXPECT_EQ(Paths(), (std::vector<std::string>{dir / "other/more.M3U8", dir / "other/sub/a.mp3",
                                                 "/abs/b.ogg"}));
    // The stale info lines are replaced by fresh ones (none: the files are not there).
    for (const auto& entry : document.Entries()) {
        EXPECT_EQ(entry.infoLine, "");
    }
    EXPECT_EQ(user.Texts("question"),
              (std::vector<std::string>{"Extract files in \"" + dir / "other/more.M3U8" + "\" ?",
                                        "Extract files in \"" + dir / "other/more.M3U8" + "\" ?"}));
    user.AnswerYes();
    document.AddPaths({dir / "gone.m3u"}, user);
    EXPECT_EQ(user.Texts("error"),
              std::vector<std::string>{"Couldn't open file (" + dir / "gone.m3u" + ")"});
}

TEST_F(PlaylistDocumentTest, EntriesMoveAsABlockAndCopiesGoWhereDropped) {
    WriteBytes(document.File(), "#EXTM3U\r\na.mp3\r\nb.mp3\r\nc.mp3\r\nd.mp3\r\ne.mp3\r\n");
    ASSERT_TRUE(document.Open());
    EXPECT_EQ(document.MoveEntries({3, 4}, 1), 1u);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"a.mp3", "d.mp3", "e.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(document.MoveEntries({0, 2}, 99), 3u);  // below the last entry: to the end
    EXPECT_EQ(Paths(), (std::vector<std::string>{"d.mp3", "b.mp3", "c.mp3", "a.mp3", "e.mp3"}));
    EXPECT_EQ(document.MoveEntries({1, 2}, 2), 1u);  // onto itself: stays
    EXPECT_EQ(Paths(), (std::vector<std::string>{"d.mp3", "b.mp3", "c.mp3", "a.mp3", "e.mp3"}));

    document.InsertEntries({{"x.mp3", "#EXTINF:1,x - y"}}, 1);
    document.InsertEntries({{"z.mp3", ""}}, 100);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"d.mp3", "x.mp3", "b.mp3", "c.mp3", "a.mp3",
                                                 "e.mp3", "z.mp3"}));
    document.RemoveEntries({0, 6, 6, 42});
    EXPECT_EQ(Paths(), (std::vector<std::string>{"x.mp3", "b.mp3", "c.mp3", "a.mp3", "e.mp3"}));

    std::mt19937 random(3);
    document.Randomize(random);
    auto shuffled = Paths();
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled, (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3", "e.mp3", "x.mp3"}));
}

TEST_F(PlaylistDocumentTest, RelativeEntriesResolveBesideThePlaylistAndFindIgnoresCase) {
    WriteBytes(document.File(), "#EXTM3U\r\nsub/Blue.mp3\r\n/abs/blues.mp3\r\n/abs/red.mp3\r\n");
    ASSERT_TRUE(document.Open());
    EXPECT_EQ(document.ResolvedPath(0), dir / "sub/Blue.mp3");
    EXPECT_EQ(document.ResolvedPath(1), "/abs/blues.mp3");
    EXPECT_EQ(document.FindFrom("BLUE", 0), 0u);
    EXPECT_EQ(document.FindFrom("blue", 1), 1u);
    EXPECT_FALSE(document.FindFrom("blue", 2).has_value());
    ASSERT_EQ(document.Save(), 0);
    EXPECT_NE(ReadBytes(document.File()).find("\r\nsub/Blue.mp3\r\n"), std::string::npos);
}

}  // namespace
}  // namespace sonarchive::collections
