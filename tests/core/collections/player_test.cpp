#include "collections/player.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "collections/player_command.h"
#include "support/fake_host_prober.h"
#include "support/fake_mount_table.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::collections {
namespace {

using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

// Records what it was asked to start and answers as told.
class FakeLauncher : public PlayerLauncher {
public:
    std::vector<std::string> calls;
    bool plays = true;
    bool opens = true;
    bool enqueues = true;

    bool Play(const std::string& path) override { return Record("play", path, plays); }
    bool Open(const std::string& path) override { return Record("open", path, opens); }
    bool Enqueue(const std::string& path) override { return Record("enqueue", path, enqueues); }

private:
    bool Record(const std::string& verb, const std::string& path, bool answer) {
        calls.push_back(verb + " " + path);
        return answer;
    }
};

class HandOffTest : public ::testing::Test {
protected:
    HandOffTest() {
        mounts.Add("/", "0A1B2C3D");
        mounts.AddNetwork("/mnt/nas", "//nas/music");
        prober->names["nas"] = {"10.0.0.5"};
    }

    TempDir temp;
    sonarchive::testing::FakeMountTable mounts;
    std::shared_ptr<sonarchive::testing::FakeHostProber> prober =
        std::make_shared<sonarchive::testing::FakeHostProber>();
    platform::ReachabilityCheck reachability{prober, 200};
    sonarchive::testing::ScriptedInteraction user;
    FakeLauncher launcher;
    PlayerHandOff handOff{launcher, mounts, reachability, user, temp.Path()};
};

TEST_F(HandOffTest, OneFileGoesItselfAndSeveralGoAsATemporaryPlaylist) {
    handOff.PlayFileList({}, PlayMode::Play);
    handOff.PlayFileList({"/music/one.mp3"}, PlayMode::Play);
    EXPECT_EQ(launcher.calls, std::vector<std::string>{"play /music/one.mp3"});

    launcher.calls.clear();
    handOff.PlayFileList({"/music/a b.mp3", "/music/c.ogg", "/music/d.mp3"}, PlayMode::Enqueue);
    ASSERT_EQ(launcher.calls.size(), 1u);
    const std::string playlist = launcher.calls[0].substr(std::string("enqueue ").size());
    const std::string name = std::filesystem::path(playlist).filename();
    EXPECT_EQ(std::filesystem::path(playlist).parent_path(), temp.Path());
    EXPECT_TRUE(name.starts_with("~sonarchv") && name.ends_with(".m3u")) << name;
    const int number = std::stoi(name.substr(9));
    EXPECT_TRUE(number >= 0 && number <= 99999);
    EXPECT_EQ(ReadBytes(playlist), "/music/a b.mp3\n/music/c.ogg\n/music/d.mp3\n");
    struct stat st {};
    ASSERT_EQ(::stat(playlist.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_TRUE(user.log.empty());
}

TEST_F(HandOffTest, TemporaryPlaylistsNeverReplaceAFile) {
    for (int i = 0; i < 50; ++i) {
        const std::string made = WriteTemporaryPlaylist({"/x.mp3"}, temp.Path());
        ASSERT_FALSE(made.empty());
    }
    // Fifty different files, each with its own content intact.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()),
                            std::filesystem::directory_iterator()),
              50);
    EXPECT_TRUE(WriteTemporaryPlaylist({"/x.mp3"}, temp / "missing").empty());
    PlayerHandOff nowhere(launcher, mounts, reachability, user, temp / "missing");
    nowhere.PlayFileList({"/a.mp3", "/b.mp3"}, PlayMode::Play);
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_EQ(user.Texts("error").size(), 1u);
}

TEST_F(HandOffTest, NetworkFilesGoOnlyWhenTheirHostAnswers) {
    EXPECT_EQ(handOff.NetworkHostOf("//nas/music/a.mp3"), "//nas");
    EXPECT_EQ(handOff.NetworkHostOf("/mnt/nas/a.mp3"), "//nas");
    EXPECT_EQ(handOff.NetworkHostOf("/mnt/nasty/a.mp3"), "");
    EXPECT_EQ(handOff.NetworkHostOf("/home/a.mp3"), "");

    handOff.HandToPlayer("/mnt/nas/rock/a.mp3", PlayMode::Play);
    handOff.HandToPlayer("//nas/music/rock/b.mp3", PlayMode::Enqueue);
    EXPECT_TRUE(launcher.calls.empty());  // the host does not answer
    EXPECT_EQ(prober->Lookups(), (std::vector<std::string>{"nas", "nas"}));
    EXPECT_TRUE(user.Texts("error").empty());

    prober->answering.insert("10.0.0.5");
    handOff.HandToPlayer("/mnt/nas/rock/a.mp3", PlayMode::Play);
    EXPECT_EQ(launcher.calls, std::vector<std::string>{"play /mnt/nas/rock/a.mp3"});
    handOff.HandToPlayer("/home/local.mp3", PlayMode::Play);
    EXPECT_EQ(prober->Lookups().size(), 3u);  // a local file asks no host
}

TEST_F(HandOffTest, PlayFallsBackToOpenAndAFailureIsReported) {
    launcher.plays = false;
    handOff.HandToPlayer("/a.mp3", PlayMode::Play);
    EXPECT_EQ(launcher.calls, (std::vector<std::string>{"play /a.mp3", "open /a.mp3"}));
    EXPECT_TRUE(user.log.empty());

    launcher.calls.clear();
    launcher.opens = false;
    handOff.HandToPlayer("/a.mp3", PlayMode::Play);
    launcher.enqueues = false;
    handOff.HandToPlayer("/b.mp3", PlayMode::Enqueue);
    EXPECT_EQ(launcher.calls,
              (std::vector<std::string>{"play /a.mp3", "open /a.mp3", "enqueue /b.mp3"}));
    EXPECT_EQ(user.Texts("error"), (std::vector<std::string>{"Couldn't open file (/a.mp3)",
                                                             "Couldn't open file (/b.mp3)"}));
}

TEST(PlayerCommand, TheFileIsAlwaysOneArgument) {
    const std::string file = "/music/it's \"a\" song; rm -rf ~.mp3";
    EXPECT_EQ(PlayerArguments("mpv --no-video %f", file),
              (std::vector<std::string>{"mpv", "--no-video", file}));
    EXPECT_EQ(PlayerArguments("vlc", file), (std::vector<std::string>{"vlc", file}));
    EXPECT_EQ(PlayerArguments("player --file=%f --x", file),
              (std::vector<std::string>{"player", "--file=" + file, "--x"}));
    EXPECT_EQ(PlayerArguments("'/opt/my player/run' \"a \\\"b\\\"\" c\\ d '%f'", "/x"),
              (std::vector<std::string>{"/opt/my player/run", "a \"b\"", "c d", "/x"}));
    EXPECT_EQ(PlayerArguments("  ", file), std::vector<std::string>{});
    EXPECT_FALSE(StartDetached({}));
    EXPECT_FALSE(StartDetached({"/no/such/player"}));
}

TEST(PlayerCommand, AConfiguredCommandGetsThePathAsOneArgument) {
    TempDir dir;
    const std::string script = dir / "record args";
    const std::string record = dir / "args.txt";
    WriteBytes(script, "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"" +
                           record + ".part\"\nmv \"" + record + ".part\" \"" + record + "\"\n");
    ::chmod(script.c_str(), 0755);

    class NoDefault : public FakeLauncher {
    } desktop;
    const std::string file = dir / "it's a \"song\"; echo gotcha.mp3";
    ConfiguredLauncher launcher({sonarchive::testing::ShellQuote(script) + " --play", ""}, desktop);
    ASSERT_TRUE(launcher.Play(file));
    for (int i = 0; i < 500 && !std::filesystem::exists(record); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(ReadBytes(record), "[--play]\n[" + file + "]\n");
    EXPECT_TRUE(desktop.calls.empty());

    // Without an enqueue command the default application takes the file; Open is always it.
    ASSERT_TRUE(launcher.Enqueue(file));
    ASSERT_TRUE(launcher.Open(file));
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"open " + file, "open " + file}));
    ConfiguredLauncher broken({"/no/such/player", "/no/such/enqueuer"}, desktop);
    EXPECT_FALSE(broken.Play(file));
    EXPECT_FALSE(broken.Enqueue(file));
}

}  // namespace
}  // namespace sonarchive::collections
