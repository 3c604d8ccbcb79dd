#include "tags/tag_editor.h"

#include <gtest/gtest.h>

#include "format_bytes.h"
#include "formats/ape_tag.h"
#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "ogg_test_files.h"
#include "tags_test_files.h"

namespace sonarchive::tags {
namespace {

namespace bytes = formats::testing;
using cataloguing::TagPreferences;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;
using testing::MpegAudio;

// Which import and remove commands a session offers: "v" visible, "e" enabled too, "-" hidden.
std::string Commands(const TagEditorSession& session) {
    std::string shown;
    for (const int tagType : {kTagId3v1, kTagId3v2, kTagOgg, kTagApe}) {
        const TagCommand command = session.ImportCommand(tagType);
        shown += command.visible ? (command.enabled ? "e" : "v") : "-";
    }
    shown += " ";
    for (const int tagType : {kTagId3v1, kTagId3v2, kTagApe}) {
        const TagCommand command = session.RemoveCommand(tagType);
        shown += command.visible ? (command.enabled ? "e" : "v") : "-";
    }
    return shown;
}

class TagEditorTest : public ::testing::Test {
protected:
    std::string Mp3WithId3v1(const std::string& name) {
        const std::string path = dir / name;
        WriteBytes(path, MpegAudio());
        formats::TID3v1 v1;
        v1.SetTitle("v1 title");
        v1.SetYear("1987");
        v1.SetGenreIndex(8);
        EXPECT_TRUE(v1.Write(path));
        return path;
    }

    TempDir dir;
};

TEST_F(TagEditorTest, AnId3v1OnlyFileIsEditedAsId3v2AndCanImportItsId3v1Tag) {
    const std::string path = Mp3WithId3v1("song.mp3");
    TagEditorSession session(path, TagPreferences{});
    session.DetectTags();
    EXPECT_TRUE(session.FileExists());
    EXPECT_EQ(session.TagType(), kTagId3v2);
    EXPECT_EQ(session.TagTypeLabel(), "Id3v2");
    EXPECT_EQ(Commands(session), "e--- ev-");
    EXPECT_EQ(session.LoadEdited().Title, "");

    const catalog::TCommentInfoType imported = session.Load(kTagId3v1);
    EXPECT_EQ(imported.Title, "v1 title");
    EXPECT_EQ(imported.Genre, "Jazz");
    ASSERT_TRUE(session.Update(imported));
    EXPECT_EQ(session.LastWritten(), kTagId3v2);
    formats::TID3v2 v2;
    ASSERT_TRUE(v2.Read(path));
    EXPECT_EQ(v2.Title(), "v1 title");
    EXPECT_EQ(v2.Year(), "1987");
    session.DetectTags();
    EXPECT_EQ(Commands(session), "e--- ee-");
}

TEST_F(TagEditorTest, TagTypeAndCommandsFollowTheFormatAndThePreferences) {
    struct Case {
        const char* name;
        TagPreferences preferences;
        const char* label;
        const char* commands;  // before any tag exists
    };
    const Case cases[] = {
        {"a.MP3", {1, 0, false}, "Id3v1", "-v-- vv-"},
        {"a.ogg", {0, 0, false}, "Ogg tag", "-v-- -v-"},
        {"a.ogg", {0, 0, true}, "Id3v2", "--e- -v-"},
        {"a.ape", {0, 0, false}, "Ape 1.0", "vv-- vvv"},
        {"a.mac", {0, 1, false}, "Id3v1", "-v-v vvv"},
        {"a.ape", {0, 2, false}, "Id3v2", "v--v vvv"},
        {"a.ape", {0, 7, false}, "N/A", "vv-v vvv"},
        {"a.wav", {0, 0, false}, "N/A", "vv-- vv-"},
    };
    for (const Case& c : cases) {
        const std::string path = dir / c.name;
        WriteBytes(path, c.name == std::string("a.ogg") ? sonarchive::testing::MakeOggVorbis({})
                                                        : std::string(400, '\x11'));
        TagEditorSession session(path, c.preferences);
        session.DetectTags();
        EXPECT_EQ(session.TagTypeLabel(), c.label) << c.name;
        EXPECT_EQ(Commands(session), c.commands) << c.name << " " << c.label;
        EXPECT_EQ(session.GenreListOnly(), std::string(c.label) == "Id3v1") << c.name;
    }
    // Without a tag type every update fails.
    TagEditorSession wav(dir / "a.wav", TagPreferences{});
    EXPECT_FALSE(wav.Update({}));
    EXPECT_EQ(wav.LastWritten(), kTagNone);
    EXPECT_FALSE(TagEditorSession(dir / "missing.mp3", TagPreferences{}).FileExists());
}

TEST_F(TagEditorTest, RemovingTheEditedTagLeavesItsFieldsEmpty) {
    const std::string path = Mp3WithId3v1("song.mp3");
    formats::TID3v2 v2;
    v2.SetTitle("v2 title");
    ASSERT_TRUE(v2.Write(path));
    TagEditorSession session(path, TagPreferences{});
    session.DetectTags();
    EXPECT_EQ(session.LoadEdited().Title, "v2 title");
    ASSERT_TRUE(session.Remove(kTagId3v2));
    EXPECT_FALSE(session.Presence().id3v2);
    EXPECT_TRUE(session.Presence().id3v1);
    EXPECT_EQ(session.LoadEdited().Title, "");
    EXPECT_EQ(ReadBytes(path).substr(0, MpegAudio().size()), MpegAudio());
    EXPECT_EQ(session.LastWritten(), kTagNone);  // a removal is no write

    // A tag that is not there cannot be stripped; the reason is kept.
    EXPECT_FALSE(session.Remove(kTagId3v2));
    EXPECT_FALSE(session.RemoveError().empty());
}

TEST_F(TagEditorTest, RemovingTheApeTagKeepsTheId3v1TagBehindIt) {
    const std::string path = dir / "song.ape";
    std::string id3v1 = bytes::Id3v1Tag();
    id3v1.replace(3, 8, "v1 title");
    const std::string audio = "MAC " + std::string(500, '\x22');
    WriteBytes(path, audio + bytes::ApeTag(2000, bytes::ApeItem("Title", "ape"), 1, true) + id3v1);
    TagEditorSession session(path, TagPreferences{});
    session.DetectTags();
    EXPECT_EQ(Commands(session), "ev-- eve");
    ASSERT_TRUE(session.Remove(kTagApe));
    EXPECT_EQ(ReadBytes(path), audio + id3v1);
    EXPECT_EQ(Commands(session), "ev-- evv");
}

}  // namespace
}  // namespace sonarchive::tags
