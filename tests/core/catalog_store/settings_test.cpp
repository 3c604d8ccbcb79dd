#include "catalog_store/settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "platform/machine_ini.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::catalog {
namespace {

using sonarchive::testing::ReadBytes;
using sonarchive::testing::ScriptedInteraction;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

class SettingsTest : public ::testing::Test {
protected:
    TempDir dir;
    platform::SettingsFile file{dir / "config/settings.json"};
    ScriptedInteraction user;
    Registry registry{file, user};
};

TEST_F(SettingsTest, AFreshUserGetsTheDefaults) {
    GeneralSettings s = BuiltInGeneralSettings();
    LoadGeneralSettings(registry, s);
    EXPECT_TRUE(s.ConfirmDelete && s.ConfirmDeleteIfInCollections && s.ConfirmDeleteFromHarddisk &&
                s.ConfirmDeleteTag && s.ConfirmMassUpdate && s.ConfirmRenameFiles &&
                s.ConfirmOrganizeFiles);
    EXPECT_TRUE(s.FirstTimeUsage);
    EXPECT_TRUE(s.SearchUseCombos);
    EXPECT_TRUE(s.SearchRefreshPicklists);
    EXPECT_FALSE(s.OggUseId3);
    EXPECT_EQ(s.Mp3PrimaryTag, 0);
    EXPECT_FALSE(s.Mp3Id3v1First());
    EXPECT_EQ(s.MacPrimaryTag, 0);
    EXPECT_TRUE(s.DiskOrgReplaceDeleteIllegal);
    EXPECT_TRUE(s.DiskOrgReplaceIllegal);
    EXPECT_EQ(s.DiskOrgReplaceWithCharacter, "");
    EXPECT_EQ(registry.ReadRegInteger("INDEX_PAGE_SIZE"), -1);
    EXPECT_EQ(registry.ReadRegString("SEARCH_PATH"), "");
    EXPECT_TRUE(user.log.empty());
}

TEST_F(SettingsTest, ReadsEachValueWithItsRule) {
    std::filesystem::create_directories(dir / "config");
    WriteBytes(file.Path(), R"({"MP3_PRIMARY_TAG": 5, "DISKORG_REPLACE_WITH_CHARACTER": 7,
        "CONFIRM_DELETE": 2, "SEARCH_DONT_USE_COMBOS": 1, "DISKORG_DELETE_ILLEGAL_CHARACTERS": 1,
        "OGG_USE_ID3": 1, "CONFIRM_RENAME_FILES": "1", "INDEX_PAGE_SIZE": "4096"})");
    GeneralSettings s = BuiltInGeneralSettings();
    LoadGeneralSettings(registry, s);
    EXPECT_EQ(s.Mp3PrimaryTag, 5);
    EXPECT_TRUE(s.Mp3Id3v1First());                 // 5 behaves as 1
    EXPECT_EQ(s.DiskOrgReplaceWithCharacter, " ");  // stored as an integer: a blank
    EXPECT_FALSE(s.ConfirmDelete);                  // only 1 is true
    EXPECT_FALSE(s.SearchUseCombos);
    EXPECT_FALSE(s.DiskOrgReplaceIllegal);
    EXPECT_TRUE(s.OggUseId3);
    EXPECT_TRUE(s.ConfirmRenameFiles);  // a text is no integer: missing, so the default
    EXPECT_EQ(registry.ReadRegInteger("INDEX_PAGE_SIZE"), -1);
    EXPECT_EQ(registry.ReadRegString("MP3_PRIMARY_TAG"), "");
}

TEST_F(SettingsTest, WritesTheGeneralSettingsAsAWholeWithInvertedFlags) {
    GeneralSettings s = BuiltInGeneralSettings();
    LoadGeneralSettings(registry, s);
    s.ConfirmMassUpdate = false;
    s.SearchUseCombos = true;
    s.DiskOrgReplaceIllegal = false;
    s.DiskOrgReplaceDeleteIllegal = false;
    s.DiskOrgReplaceWithCharacter = "_";
    SaveGeneralSettings(registry, s);
    EXPECT_EQ(registry.ReadRegInteger("CONFIRM_MASS_UPDATE"), 0);
    EXPECT_EQ(registry.ReadRegInteger("CONFIRM_DELETE"), 1);
    EXPECT_EQ(registry.ReadRegInteger("SEARCH_DONT_USE_COMBOS"), 0);
    EXPECT_EQ(registry.ReadRegInteger("DISKORG_DELETE_ILLEGAL_CHARACTERS"), 1);
    EXPECT_EQ(registry.ReadRegInteger("DISKORG_REPLACE_DELETE_ILLEGAL_CHARACTERS"), 0);
    EXPECT_EQ(registry.ReadRegString("DISKORG_REPLACE_WITH_CHARACTER"), "_");

    GeneralSettings again = BuiltInGeneralSettings();
    LoadGeneralSettings(registry, again);
    EXPECT_FALSE(again.ConfirmMassUpdate);
    EXPECT_FALSE(again.DiskOrgReplaceIllegal);
    EXPECT_EQ(again.DiskOrgReplaceWithCharacter, "_");

    // An empty replacement character is not written, so the stored one stays.
    again.DiskOrgReplaceWithCharacter.clear();
    SaveGeneralSettings(registry, again);
    EXPECT_EQ(registry.ReadRegString("DISKORG_REPLACE_WITH_CHARACTER"), "_");
    EXPECT_FALSE(std::filesystem::exists(file.Path() + ".tmp"));
}

TEST_F(SettingsTest, TextsAndBinaryValuesSurviveUnchanged) {
    registry.WriteRegString("SEARCH_PATH", "/media/ann/Musik/Björk — 日本");
    std::string binary;
    for (int i = 0; i < 256; ++i) {
        binary += static_cast<char>(i);
    }
    registry.WriteRegBinary("SEARCH_HISTORY", binary);
    registry.WriteRegInteger("LASTSEARCHTYPE", -7);

    platform::SettingsFile reopened(file.Path());
    ScriptedInteraction other;
    Registry second(reopened, other);
    EXPECT_EQ(second.ReadRegString("SEARCH_PATH"), "/media/ann/Musik/Björk — 日本");
    EXPECT_EQ(second.ReadRegBinary("SEARCH_HISTORY").value(), binary);
    EXPECT_EQ(second.ReadRegInteger("LASTSEARCHTYPE"), -7);
    EXPECT_FALSE(second.ReadRegBinary("SEARCH_PATH").has_value());

    // A second program's write is seen, and neither loses the other's values.
    second.WriteRegInteger("FIELD_ARTIST", 1);
    registry.WriteRegInteger("FIELD_TITLE", 0);
    EXPECT_EQ(second.ReadRegInteger("FIELD_TITLE"), 0);
    EXPECT_EQ(registry.ReadRegInteger("FIELD_ARTIST"), 1);
    EXPECT_EQ(registry.ReadRegString("SEARCH_PATH"), "/media/ann/Musik/Björk — 日本");
}

TEST_F(SettingsTest, ACorruptFileIsMovedAsideAndReadsAsAFreshUser) {
    std::filesystem::create_directories(dir / "config");
    WriteBytes(file.Path(), "{\"CONFIRM_DELETE\": 0,");
    GeneralSettings s = BuiltInGeneralSettings();
    LoadGeneralSettings(registry, s);
    EXPECT_TRUE(s.ConfirmDelete);
    EXPECT_EQ(ReadBytes(file.Path() + ".bad"), "{\"CONFIRM_DELETE\": 0,");
    registry.WriteRegInteger("CONFIRM_DELETE", 0);
    EXPECT_EQ(registry.ReadRegInteger("CONFIRM_DELETE"), 0);
}

TEST(SettingsUnavailable, KeepBuiltInValuesAndReportEveryWrite) {
    TempDir dir;
    WriteBytes(dir / "blocker", "a file where the settings folder should be");
    platform::SettingsFile file(dir / "blocker/settings.json");
    ScriptedInteraction user;
    Registry registry(file, user);
    GeneralSettings s = BuiltInGeneralSettings();
    LoadGeneralSettings(registry, s);
    EXPECT_TRUE(s.DiskOrgReplaceDeleteIllegal);
    EXPECT_EQ(s.DiskOrgReplaceWithCharacter, " ");
    EXPECT_EQ(registry.ReadRegInteger("CONFIRM_DELETE"), -1);

    registry.WriteRegInteger("SEARCH_PATH_X", 1);
    registry.WriteRegString("SEARCH_PATH", "x");
    SaveGeneralSettings(registry, s);
    EXPECT_FALSE(registry.WriteValues({{"CHECK_FIXED_DRIVES", std::int64_t{1}}},
                                      "Couldn't write to registry (Validity check)."));
    EXPECT_EQ(user.Texts("error"),
              (std::vector<std::string>{"Couldn't write to registry (SEARCH_PATH_X).",
                                        "Couldn't write to registry (SEARCH_PATH).",
                                        "Sonarchive: Couldn't write to registry (GENERAL KEYS).",
                                        "Couldn't write to registry (Validity check)."}));
}

TEST(SettingsFile, ASaveThatFailsPartWayLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string path = dir / "settings.json";
    {
        platform::SettingsFile file(path);
        ASSERT_TRUE(file.Write(
            {{"SEARCH_PATH", std::string("/music")}, {"CHECK_FIXED_DRIVES", std::int64_t{1}}}));
    }
    const std::string before = ReadBytes(path);
    // A child process may write no more than 300 bytes to any file: the new settings, far
    // longer, stop part-way as on a full disk.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{300, 300};
        ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        platform::SettingsFile file(path);
        const bool written = file.Write({{"SEARCH_HISTORY", std::string(20000, 'h')}});
        ::_exit(written ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write was to fail";
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    platform::SettingsFile reread(path);
    EXPECT_EQ(reread.ReadString("SEARCH_PATH"), "/music");
    EXPECT_EQ(reread.ReadInteger("CHECK_FIXED_DRIVES"), 1);
}

TEST(MachineIni, ReadsThePingTimeoutOrFallsBackTo1000) {
    TempDir dir;
    EXPECT_EQ(platform::ReadPingTimeout({dir / "missing.ini"}), 1000);
    WriteBytes(dir / "a.ini", "[SYSTEM]\nPING_TIMEOUT=250\n");
    WriteBytes(dir / "b.ini", "[system]\nping_timeout = 1500 \n");
    WriteBytes(dir / "c.ini", "[SYSTEM]\nPING_TIMEOUT=fast\n");
    WriteBytes(dir / "d.ini", "[OTHER]\nPING_TIMEOUT=5\n");
    EXPECT_EQ(platform::ReadPingTimeout({dir / "missing.ini", dir / "a.ini"}), 250);
    EXPECT_EQ(platform::ReadPingTimeout({dir / "b.ini"}), 1500);
    EXPECT_EQ(platform::ReadPingTimeout({dir / "c.ini", dir / "a.ini"}), 1000);  // first wins
    EXPECT_EQ(platform::ReadPingTimeout({dir / "d.ini"}), 1000);
}

TEST(Base64, RoundTripsAndRejectsGarbage) {
    for (const std::string sample : {"", "f", "fo", "foo", "foob", "fooba", "foobar"}) {
        EXPECT_EQ(platform::Base64Decode(platform::Base64Encode(sample)).value(), sample);
    }
    EXPECT_EQ(platform::Base64Encode("foobar"), "Zm9vYmFy");
    EXPECT_EQ(platform::Base64Encode("fo"), "Zm8=");
    EXPECT_FALSE(platform::Base64Decode("Zm9").has_value());
    EXPECT_FALSE(platform::Base64Decode("Zm=v").has_value());
    EXPECT_FALSE(platform::Base64Decode("Zm9!").has_value());
}

}  // namespace
}  // namespace sonarchive::catalog
