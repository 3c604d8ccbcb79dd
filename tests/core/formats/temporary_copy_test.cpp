// Every writer that rebuilds a file does it through a temporary copy beside it; a file that
// already has that name (an editor's backup "song.mp3~") is the user's and stays as it is.
#include <gtest/gtest.h>

#include <filesystem>

#include "format_bytes.h"
#include "formats/ape_tag.h"
#include "formats/id3v2.h"
#include "formats/ogg_vorbis.h"
#include "id3v2_bytes.h"
#include "ogg_test_files.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

class TemporaryCopy : public ::testing::Test {
protected:
    // Writes the file and a backup of the temporary copy's name beside it.
    std::string Prepare(const std::string& name, const std::string& bytes) {
        const std::string path = dir / name;
        WriteBytes(path, bytes);
        WriteBytes(path + "~", kBackup);
        return path;
    }

    void ExpectBackupKept(const std::string& path) {
        EXPECT_EQ(ReadBytes(path + "~"), kBackup);
        EXPECT_FALSE(std::filesystem::exists(path + "~1"));
    }

    const std::string kBackup = std::string("an editor's backup\0\xFF", 21);
    TempDir dir;
};

TEST_F(TemporaryCopy, ID3v2RebuildKeepsTheBackup) {
    using namespace sonarchive::testing::id3v2;
    const std::string path =
        Prepare("song.mp3", Tag(3, Frame23("TIT2", Text("Title")), 20) + Audio());
    TID3v2 id3;
    ASSERT_TRUE(id3.Read(path));
    id3.SetComment(std::string(200, 'c'));  // does not fit: the file is rebuilt
    ASSERT_TRUE(id3.Write(path)) << id3.LastError();
    ExpectBackupKept(path);
    TID3v2 back;
    ASSERT_TRUE(back.Read(path));
    EXPECT_EQ(back.Comment(), std::string(200, 'c'));
    EXPECT_EQ(ReadBytes(path).substr(back.Size()), Audio());
}

TEST_F(TemporaryCopy, OggVorbisRewriteKeepsTheBackup) {
    const std::string path = Prepare(
        "song.ogg", sonarchive::testing::MakeOggVorbis(sonarchive::testing::TestOggVorbis()));
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Read(path));
    ogg.SetTitle(std::string(300, 't'));
    ASSERT_TRUE(ogg.Write(path)) << ogg.LastError();
    ExpectBackupKept(path);
    TOggVorbis back;
    ASSERT_TRUE(back.Read(path));
    EXPECT_EQ(back.Title(), std::string(300, 't'));
}

TEST_F(TemporaryCopy, ApeTagRewriteKeepsTheBackup) {
    const std::string path = Prepare(
        "song.ape", "MAC audio " + testing::ApeTag(1000, testing::ApeItem("Title", "Old"), 1));
    TAPEtag tag;
    ASSERT_TRUE(tag.Read(path));
    tag.SetTitle("New title");
    ASSERT_TRUE(tag.Write(path)) << tag.LastError();
    ExpectBackupKept(path);
    TAPEtag back;
    ASSERT_TRUE(back.Read(path));
    EXPECT_EQ(back.Title(), "New title");
}

}  // namespace
}  // namespace sonarchive::formats
