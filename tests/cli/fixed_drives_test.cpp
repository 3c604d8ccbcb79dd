// "Check archive" on a real block device: a fixed disk that is attached but not mounted still
// exists; only one that no device carries any more is offered for deletion.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli_support.h"
#include "support/encoders.h"

namespace sonarchive::cli {
namespace {

using sonarchive::testing::CliRun;
using sonarchive::testing::CommandResult;
using sonarchive::testing::RunCommand;
using sonarchive::testing::ShellQuote;

constexpr const char* kUuid = "5e1f0c2a-77d3-4b9e-a1c4-0d2e3f405162";
constexpr const char* kSerial = "5E1F0C2A";

// A loop device for an image, detached with the object.
class LoopDevice {
public:
    explicit LoopDevice(const std::string& image) {
        const CommandResult attached = RunCommand("losetup -f --show " + ShellQuote(image));
        if (attached.exitCode == 0 && attached.output.rfind("/dev/loop", 0) == 0) {
            device_ = attached.output.substr(0, attached.output.find('\n'));
        } else {
            why_ = attached.output;
        }
    }
    ~LoopDevice() { Detach(); }
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;

    void Detach() {
        if (!device_.empty()) {
            RunCommand("losetup -d " + ShellQuote(device_));
            device_.clear();
        }
    }
    const std::string& Device() const { return device_; }
    const std::string& WhyNot() const { return why_; }

private:
    std::string device_;
    std::string why_;
};

TEST(FixedDrives, AnAttachedDiskKeepsItsRowsUntilNoDeviceCarriesIt) {
    for (const char* tool : {"losetup", "mkfs.ext4", "unshare", "mount"}) {
        if (!sonarchive::testing::HaveProgram(tool)) {
            GTEST_SKIP() << tool << " is not installed";
        }
    }
    if (::geteuid() != 0) {
        GTEST_SKIP() << "attaching loop devices needs root";
    }
    CliRun cli;
    const std::string content = cli.dir / "content";
    std::filesystem::create_directories(content + "/Music");
    ASSERT_TRUE(sonarchive::testing::MakeToneWav(content + "/Music/song.wav", 0.5, 8000, 1));
    const std::string image = cli.dir / "data-disk.img";
    const CommandResult made =
        RunCommand("truncate -s 8M " + ShellQuote(image) + " && mkfs.ext4 -q -U " + kUuid +
                   " -L DATA -d " + ShellQuote(content) + " " + ShellQuote(image));
    ASSERT_EQ(made.exitCode, 0) << made.output;
    LoopDevice loop(image);
    if (loop.Device().empty()) {
        GTEST_SKIP() << "loop devices cannot be attached here: " << loop.WhyNot();
    }

    // Catalogued while mounted, in a mount namespace of its own that ends with the command.
    const std::string place = cli.dir / "mnt";
    const std::string mountThenRun =
        "unshare -m --propagation private sh -c " +
        ShellQuote("mkdir -p " + ShellQuote(place) + " && mount -o ro " +
                   ShellQuote(loop.Device()) + " " + ShellQuote(place) + " && exec \"$@\"") +
        " sh";
    const CommandResult added = cli.RunUnder(mountThenRun, "add " + ShellQuote(place));
    if (added.output.find("mount:") != std::string::npos) {
        GTEST_SKIP() << "the image cannot be mounted here: " << added.output;
    }
    ASSERT_NE(added.output.find("Files added: 1\n"), std::string::npos) << added.output;
    const auto row = nlohmann::json::parse(cli.RunStdout("list --json").output);
    EXPECT_EQ(row["dDriveSerialNumber"], kSerial);
    EXPECT_EQ(row["dDriveType"], 3);
    EXPECT_EQ(row["FullPath"], "");  // not at hand: mounted nowhere now

    EXPECT_EQ(cli.RunStdout("check --fixed --yes").output,
              "References to files where fixed drives no longer exists:\n0 records found\n");
    EXPECT_EQ(cli.RunStdout("count").output, "Files in archive: 1\n");

    loop.Detach();
    EXPECT_EQ(cli.RunStdout("check --fixed --yes").output,
              "References to files where fixed drives no longer exists:\n1 records found\n"
              "1 records deleted\n");
    EXPECT_EQ(cli.RunStdout("count").output, "Files in archive: 0\n");
}

}  // namespace
}  // namespace sonarchive::cli
