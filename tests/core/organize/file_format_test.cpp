#include "organize/file_format.h"

#include <gtest/gtest.h>

#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::organize {
namespace {

catalog::TMainDataRecComplete Song() {
    catalog::TMainDataRecComplete r;
    r.dArtist = "Ann";
    r.dTitle = "Blue Sky";
    r.dAlbum = "Sky";
    r.dTrack = 3;
    r.dGenre = "Pop";
    r.dComment = "live";
    r.dPath = "/Music/Mr. Jones.mp3";
    r.dYear = 1999;
    r.dComposer = "Bo";
    return r;
}

ExpandedFormat Expand(std::string_view format, bool twoDigits = true) {
    const auto song = Song();
    return ExpandFileFormat(format, &song, twoDigits, false);
}

TEST(ExpandFileFormat, EveryTokenGivesItsWordAndItsValue) {
    const ExpandedFormat all = Expand("%0|%1|%2|%3|%4|%5|%6|%7|%8");
    EXPECT_EQ(all.explanation, "Artist|Title|Album|Track|Genre|Comment|Filename|Year|Composer");
    EXPECT_EQ(all.value, "Ann|Blue Sky|Sky|03|Pop|live|Mr. Jones|1999|Bo");
    EXPECT_EQ(Expand("%0 - %1").value, "Ann - Blue Sky");
    EXPECT_EQ(Expand("%0 - %1").explanation, "Artist - Title");
}

TEST(ExpandFileFormat, PercentSignsThatStartNoTokenAreCopied) {
    EXPECT_EQ(Expand("50%%0").value, "50%Ann");
    EXPECT_EQ(Expand("%%1").value, "%Blue Sky");
    EXPECT_EQ(Expand("%9").value, "%9");
    EXPECT_EQ(Expand("%9").explanation, "%9");
    EXPECT_EQ(Expand("100%").value, "100%");
    EXPECT_EQ(Expand("%").explanation, "%");
    const ExpandedFormat empty = Expand("");
    EXPECT_TRUE(empty.value.empty());
    EXPECT_TRUE(empty.explanation.empty());
}

TEST(ExpandFileFormat, TracksYearsAndFileNames) {
    auto song = Song();
    EXPECT_EQ(Expand("%3. %1").value, "03. Blue Sky");
    EXPECT_EQ(Expand("%3. %1", false).value, "3. Blue Sky");
    song.dTrack = 0;
    song.dYear = 0;
    EXPECT_EQ(ExpandFileFormat("%3 %7", &song, true, false).value, "00 0");
    song.dTrack = 12;
    EXPECT_EQ(ExpandFileFormat("%3", &song, true, false).value, "12");
    song.dTrack = -1;
    EXPECT_EQ(ExpandFileFormat("%3", &song, true, false).value, "-1");
    // The file name is cut at its last dot; a hidden file or a bare extension gives nothing.
    song.dPath = "/a.b/01. Intro.mp3";
    EXPECT_EQ(ExpandFileFormat("%6", &song, true, false).value, "01. Intro");
    song.dPath = "/Music/.hidden";
    EXPECT_EQ(ExpandFileFormat("%6", &song, true, false).value, "");
    song.dPath = "/Music/noextension";
    EXPECT_EQ(ExpandFileFormat("%6", &song, true, false).value, "noextension");
}

TEST(ExpandFileFormat, ExplainOnlyOrWithoutARecordGivesNoValue) {
    EXPECT_EQ(ExpandFileFormat("%0 - %1", nullptr, true, true).explanation, "Artist - Title");
    EXPECT_TRUE(ExpandFileFormat("%0 - %1", nullptr, true, false).value.empty());
    const auto song = Song();
    EXPECT_TRUE(ExpandFileFormat("%0 - %1", &song, true, true).value.empty());
}

TEST(StoredPaths, ComponentFolderAndExtension) {
    EXPECT_EQ(LastPathComponent("/Music/a.mp3"), "a.mp3");
    EXPECT_EQ(FolderOfPath("/Music/a.mp3"), "/Music/");
    EXPECT_EQ(FolderOfPath("a.mp3"), "");
    EXPECT_EQ(ExtensionOf("/Music.old/a.b.mp3"), ".mp3");
    EXPECT_EQ(ExtensionOf("/Music.old/readme"), "");
}

TEST(PredefinedFormats, ReadAsStoredAndWrittenBack) {
    EXPECT_EQ(ParsePredefinedFormats("a;;b;c"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(ParsePredefinedFormats(""), std::vector<std::string>{});
    EXPECT_EQ(JoinPredefinedFormats({"%0 - %1", "%0 - %2 - %1"}), "%0 - %1;%0 - %2 - %1;");

    sonarchive::testing::TempDir dir;
    platform::SettingsFile file(dir / "settings.json");
    sonarchive::testing::ScriptedInteraction user;
    catalog::Registry registry(file, user);
    EXPECT_TRUE(ReadPredefinedFormats(registry).empty());
    WritePredefinedFormats(registry, {"%1", "", "%0"});
    EXPECT_EQ(registry.ReadRegString("RENAME_FORMAT_PREDEFINED"), "%1;;%0;");
    EXPECT_EQ(ReadPredefinedFormats(registry), (std::vector<std::string>{"%1", "", "%0"}));
}

}  // namespace
}  // namespace sonarchive::organize
