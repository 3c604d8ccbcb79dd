// Moves and copies on real filesystems, each inside a private mount namespace of a child
// process: two ext4 volumes with fixed identities, a filesystem that fills up, one that is
// read-only, and moves killed at random moments. Each test skips itself where mounting is
// not permitted.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "catalog_store/catalog.h"
#include "catalog_store/catalog_writer.h"
#include "catalog_store/path_rules.h"
#include "cataloguing/add_files.h"
#include "namespace_child.h"
#include "organize/disk_organizer.h"
#include "organize/file_transfer.h"
#include "platform/proc_mount_table.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::organize {
namespace {

namespace fs = std::filesystem;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::RunCommand;
using sonarchive::testing::RunInNewNamespaces;
using sonarchive::testing::ShellQuote;
using sonarchive::testing::SkipChild;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

void MountTmpfs(const std::string& place, const std::string& options) {
    fs::create_directories(place);
    if (::mount("tmpfs", place.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        SkipChild("tmpfs cannot be mounted here");
    }
}

void MountExt4(const std::string& image, const std::string& place, const std::string& uuid,
               const std::string& label) {
    if (!sonarchive::testing::HaveProgram("mkfs.ext4")) {
        SkipChild("mkfs.ext4 is not installed");
    }
    RunCommand("truncate -s 8M " + ShellQuote(image));
    if (RunCommand("mkfs.ext4 -q -F -U " + uuid + " -L " + label + " " + ShellQuote(image))
            .exitCode != 0) {
        SkipChild("mkfs.ext4 failed");
    }
    fs::create_directories(place);
    if (RunCommand("mount -o loop " + ShellQuote(image) + " " + ShellQuote(place)).exitCode != 0) {
        SkipChild("loop devices cannot be mounted here");
    }
}

TEST(OrganizeOnRealVolumes, AMoveBetweenTwoVolumesGivesTheRowTheTargetsIdentity) {
    TempDir dir;
    SONARCHIVE_REPORT_CHILD(RunInNewNamespaces(CLONE_NEWNS, [&] {
        MountExt4(dir / "one.img", dir / "media/ONE", "11111111-2222-4333-8444-555555555555",
                  "ONE");
        MountExt4(dir / "two.img", dir / "media/TWO", "aaaabbbb-cccc-4ddd-8eee-ffff00001111",
                  "TWO");
        WriteBytes(dir / "media/ONE/song.mp3", "the song's bytes");
        platform::ProcMountTable mounts;
        catalog::PosixPathRules rules(mounts);
        catalog::Catalog catalog(dir / "data");
        sonarchive::testing::ScriptedInteraction user;
        catalog::CatalogInserter inserter(
            catalog, rules,
            [](const std::string&, int, catalog::TCommentInfoType& tags,
               catalog::TEncoderInfoType&) {
                tags.Artist = "Ann";
                tags.Title = "Blue";
                return true;
            },
            {});
        cataloguing::FileAdder adder(catalog, rules, mounts, inserter, user);
        ASSERT_EQ(adder.AddOneFile(dir / "media/ONE/song.mp3").code, 0);
        platform::SettingsFile file(dir / "settings.json");
        catalog::Registry registry(file, user);
        catalog::GeneralSettings general = catalog::BuiltInGeneralSettings();
        general.ConfirmOrganizeFiles = false;
        DiskOrganizer organizer(catalog, rules, mounts, registry, general, user, adder, {});
        OrganizerSettings settings;
        settings.baseDir = dir / "media/TWO";
        settings.range = OrganizeRange::AllFiles;
        settings.action = OrganizeAction::Move;
        EXPECT_EQ(organizer.Run(settings, OrganizeMode::Move, std::nullopt, {}).done, 1);
        EXPECT_EQ(ReadBytes(dir / "media/TWO/Ann/song.mp3"), "the song's bytes");
        EXPECT_FALSE(fs::exists(dir / "media/ONE/song.mp3"));
        catalog::Query row(catalog.Engine(), "select * from maindata");
        EXPECT_EQ(row["dPath"].AsText(), "/Ann/song.mp3");
        EXPECT_EQ(row["dDriveSerialNumber"].AsText(), "AAAABBBB");
        EXPECT_EQ(row["dDriveLabel"].AsText(), "TWO");
        EXPECT_EQ(row["dDriveLetter"].AsText(), dir / "media/TWO");
        EXPECT_EQ(row["dDriveType"].AsInteger(), 3);
        const auto listed =
            RunCommand(std::string("SONARCHIVE_CONFIG_DIR=") + ShellQuote(dir / "config") + " " +
                       ShellQuote(SONARCHIVE_CLI) + " --data-dir " + ShellQuote(dir / "data") +
                       " list --json </dev/null");
        EXPECT_NE(listed.output.find("\"FullPath\":\"" + (dir / "media/TWO/Ann/song.mp3") + "\""),
                  std::string::npos)
            << listed.output;
        ::umount((dir / "media/ONE").c_str());
        ::umount((dir / "media/TWO").c_str());
    }));
}

TEST(OrganizeOnRealVolumes, AFullOrReadOnlyFilesystemLeavesBothFilesIntact) {
    TempDir dir;
    SONARCHIVE_REPORT_CHILD(RunInNewNamespaces(CLONE_NEWNS, [&] {
        MountTmpfs(dir / "small", "size=256k");
        MountTmpfs(dir / "readonly", "size=1m");
        const std::string big = sonarchive::testing::RandomBytes(400000, 1);
        WriteBytes(dir / "big.mp3", big);
        WriteBytes(dir / "small/big.mp3", "already there");
        WriteBytes(dir / "readonly/big.mp3", "kept");
        ASSERT_EQ(
            ::mount(nullptr, (dir / "readonly").c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr),
            0);
        for (const bool replace : {false, true}) {
            const TransferResult full = CopyFile(dir / "big.mp3", dir / "small/big.mp3", replace);
            EXPECT_FALSE(full.ok);
            EXPECT_EQ(full.reason, "No space left on device");
            EXPECT_FALSE(MoveFile(dir / "big.mp3", dir / "small/big.mp3", replace).ok);
            EXPECT_EQ(MoveFile(dir / "big.mp3", dir / "readonly/big.mp3", replace).reason,
                      "Read-only file system");
        }
        EXPECT_EQ(ReadBytes(dir / "big.mp3"), big);
        EXPECT_EQ(ReadBytes(dir / "small/big.mp3"), "already there");
        EXPECT_EQ(ReadBytes(dir / "readonly/big.mp3"), "kept");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir / "small"), fs::directory_iterator()),
                  1);  // no temporary file left behind
    }));
}

TEST(OrganizeOnRealVolumes, AMoveKilledAtAnyMomentNeverLeavesTheFileNowhere) {
    TempDir dir;
    SONARCHIVE_REPORT_CHILD(RunInNewNamespaces(CLONE_NEWNS, [&] {
        MountTmpfs(dir / "from", "size=64m");
        MountTmpfs(dir / "to", "size=64m");
        const std::string song = sonarchive::testing::RandomBytes(8 << 20, 2);
        std::mt19937 random(3);
        for (int attempt = 0; attempt < 12; ++attempt) {
            const std::string source = dir / "from/song.mp3";
            const std::string target = dir / "to/song.mp3";
            fs::remove(target);
            WriteBytes(source, song);
            const pid_t mover = ::fork();
            if (mover == 0) {
                MoveFile(source, target, false);
                ::_exit(0);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 60000));
            ::kill(mover, SIGKILL);
            ::waitpid(mover, nullptr, 0);
            const bool atSource = fs::exists(source) && ReadBytes(source) == song;
            const bool atTarget = fs::exists(target) && ReadBytes(target) == song;
            EXPECT_TRUE(atSource || atTarget) << "attempt " << attempt;
            if (fs::exists(target)) {
                EXPECT_TRUE(atTarget) << "a partial file under the target's name";
            }
            for (const auto& entry : fs::directory_iterator(dir / "to")) {
                fs::remove(entry.path());  // a temporary file a kill left behind
            }
        }
    }));
}

}  // namespace
}  // namespace sonarchive::organize
