// Real mounts and sockets, each inside namespaces of a child process of its own.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "catalog_store/catalog.h"
#include "catalog_store/catalog_hosts.h"
#include "catalog_store/catalog_rows.h"
#include "catalog_store/catalog_writer.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/sql_text.h"
#include "cataloguing/archive_check.h"
#include "namespace_child.h"
#include "platform/disk_info.h"
#include "platform/drive_list.h"
#include "platform/mount_watcher.h"
#include "platform/proc_mount_table.h"
#include "platform/system_host_prober.h"
#include "support/fake_mount_table.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::platform {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using sonarchive::testing::ChildOutcome;
using sonarchive::testing::FakeMountTable;
using sonarchive::testing::RunCommand;
using sonarchive::testing::RunInNewNamespaces;
using sonarchive::testing::ShellQuote;
using sonarchive::testing::SkipChild;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

constexpr const char* kUuid = "0012abcd-5678-4def-8123-456789abcdef";
constexpr const char* kSerial = "0012ABCD";
constexpr const char* kLabel = "SONARCHIVE";

void MountImage(const std::string& image, const std::string& place) {
    std::filesystem::create_directories(place);
    const auto mounted = RunCommand("mount -o loop " + ShellQuote(image) + " " + ShellQuote(place));
    if (mounted.exitCode != 0) {
        SkipChild("loop devices cannot be mounted here: " + mounted.output);
    }
}

void Unmount(const std::string& place) {
    ASSERT_EQ(::umount(place.c_str()), 0) << place;
}

// A stick catalogued at one place, taken away, and found again at another.
TEST(VolumeIdentity, AVolumeIsFoundAgainUnderAnotherMountPoint) {
    if (!sonarchive::testing::HaveProgram("mkfs.ext4")) {
        GTEST_SKIP() << "mkfs.ext4 (e2fsprogs) is not installed";
    }
    TempDir dir;
    const std::string image = dir / "stick.img";
    const auto made = RunCommand("truncate -s 4M " + ShellQuote(image) + " && mkfs.ext4 -q -U " +
                                 kUuid + " -L " + kLabel + " " + ShellQuote(image));
    ASSERT_EQ(made.exitCode, 0) << made.output;
    const std::string placeA = dir / "media/first";
    const std::string placeB = dir / "media/second place";  // a blank: "\040" in mountinfo

    SONARCHIVE_REPORT_CHILD(RunInNewNamespaces(CLONE_NEWNS, [&] {
        const ProcMountTable mounts;
        const catalog::PosixPathRules rules(mounts);
        catalog::Catalog catalog(dir / "data");

        MountImage(image, placeA);
        std::filesystem::create_directories(placeA + "/Music");
        WriteBytes(placeA + "/Music/a.mp3", "not really audio");
        TDiskInfo info(mounts);
        info.SetDrive(placeA + "/Music/a.mp3");
        EXPECT_EQ(info.Drive(), placeA);
        EXPECT_EQ(info.SerialNumber(), kSerial);
        EXPECT_EQ(info.VolumeName(), kLabel);
        EXPECT_EQ(info.FileSystemType(), "ext4");
        EXPECT_EQ(info.DriveType(), "Fixed");  // a loop device is no removable disk

        const catalog::TMediaFileRec file{placeA + "/Music/a.mp3",
                                          0,
                                          catalog::DriveTypeCodeOf(info.DriveType()),
                                          info.SerialNumber(),
                                          info.VolumeName(),
                                          info.Drive()};
        ASSERT_TRUE(catalog::WriteCatalogRow(catalog, rules, file, {}, {}, catalog::kFormatMp3, 0));
        catalog::Query row(catalog.Engine(),
                           "select id, dPath, dDriveSerialNumber, dDriveLetter from maindata");
        ASSERT_FALSE(row.AtEnd());
        const auto id = row["id"].AsInteger();
        const std::string storedPath = row["dPath"].AsText();
        EXPECT_EQ(storedPath, "/Music/a.mp3");
        EXPECT_EQ(row["dDriveSerialNumber"].AsText(), kSerial);
        EXPECT_EQ(row["dDriveLetter"].AsText(), placeA);

        Unmount(placeA);
        EXPECT_EQ(rules.BuildFullPath(kSerial, storedPath), "");
        EXPECT_EQ(CurrentDriveLetter(BuildLocalDriveList(mounts), kSerial), "?");
        EXPECT_EQ(info.DriveType(), "Root Directory does not exist");

        MountImage(image, placeB);
        const std::string foundAt = rules.BuildFullPath(kSerial, storedPath);
        EXPECT_EQ(foundAt, placeB + "/Music/a.mp3");
        EXPECT_TRUE(std::filesystem::exists(foundAt));
        EXPECT_EQ(CurrentDriveLetter(BuildLocalDriveList(mounts), kSerial), placeB);
        EXPECT_EQ(catalog::FindFileId(catalog.Engine(), rules, foundAt, kSerial), id);
        Unmount(placeB);
    }));
}

TEST(MountWatcher, NoticesAMountAndAnUnmountWithinASecond) {
    TempDir dir;
    const std::string place = dir / "ram disk";
    std::filesystem::create_directories(place);

    SONARCHIVE_REPORT_CHILD(RunInNewNamespaces(CLONE_NEWNS, [&] {
        const ProcMountTable mounts;
        MountWatcher watcher(mounts);
        int notified = 0;
        watcher.Subscribe([&](const LocalDriveList&) { ++notified; });
        const auto onList = [&] {
            const auto& drives = watcher.LocalDrives();
            return std::any_of(drives.begin(), drives.end(),
                               [&](const TDriveRec& drive) { return drive.Letter == place; });
        };
        EXPECT_FALSE(onList());

        ASSERT_EQ(::mount("sonarchive-test", place.c_str(), "tmpfs", 0, "size=1m"), 0)
            << std::strerror(errno);
        auto start = Clock::now();
        EXPECT_TRUE(watcher.WaitForChange(1000));
        EXPECT_LT(Clock::now() - start, 1s);
        EXPECT_TRUE(onList());
        EXPECT_EQ(notified, 1);

        Unmount(place);
        start = Clock::now();
        EXPECT_TRUE(watcher.WaitForChange(1000));
        EXPECT_LT(Clock::now() - start, 1s);
        EXPECT_FALSE(onList());
        EXPECT_EQ(notified, 2);
    }));
}

void BringLoopbackUp() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    request.ifr_flags = IFF_UP | IFF_LOOPBACK | IFF_RUNNING;
    const bool up = fd >= 0 && ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    if (!up) {
        SkipChild(std::string("the loopback interface cannot be started: ") + std::strerror(errno));
    }
}

// Inside the child: loopback up and ICMP datagram sockets allowed, else the child skips.
void PrepareLoopbackWithPings() {
    BringLoopbackUp();
    WriteBytes("/proc/sys/net/ipv4/ping_group_range", "0 2147483647");
    const int icmp = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
    if (icmp < 0) {
        SkipChild("ICMP datagram sockets cannot be allowed here");
    }
    ::close(icmp);
}

// A network namespace of the test's own: its loopback starts down, and its ICMP setting can
// be changed without touching the machine's.
TEST(SystemReachability, EchoAndConnectProbesInANetworkOfTheTestsOwn) {
    SONARCHIVE_REPORT_CHILD(RunInNewNamespaces(CLONE_NEWNET, [] {
        SystemHostProber prober;
        const auto start = Clock::now();
        EXPECT_FALSE(prober.Probe({"127.0.0.1", "::1"}, 1000ms));  // no network at all
        EXPECT_LT(Clock::now() - start, 500ms);                    // refused at once, no waiting

        PrepareLoopbackWithPings();
        EXPECT_TRUE(prober.Probe({"127.0.0.1"}, 1000ms));
    }));
}

void Firewall(const std::string& rule) {
    const auto result = RunCommand("nft " + rule);
    if (result.exitCode != 0) {
        SkipChild("nft rules cannot be set here: " + result.output);
    }
}

// A socket listening on 127.0.0.1 at `port`; closed with the object.
class Listener {
public:
    explicit Listener(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0)
            << std::strerror(errno);
        EXPECT_EQ(::listen(fd_, 4), 0);
    }
    ~Listener() { ::close(fd_); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

private:
    int fd_;
};

// A NAS or Windows PC whose firewall drops pings but serves files, and switched-off PCs whose
// packets vanish: the firewall of the test's own network namespace plays them on loopback.
TEST(SystemReachability, AHostThatDropsPingsButServesFilesIsReachable) {
    if (!sonarchive::testing::HaveProgram("nft")) {
        GTEST_SKIP() << "nft (nftables) is not installed";
    }
    TempDir dir;
    SONARCHIVE_REPORT_CHILD(RunInNewNamespaces(CLONE_NEWNET, [&] {
        PrepareLoopbackWithPings();
        Firewall("add table inet sonarchive");
        Firewall("add chain inet sonarchive input '{ type filter hook input priority 0; }'");
        Firewall("add rule inet sonarchive input icmp type echo-request drop");
        Firewall("add rule inet sonarchive input ip daddr 127.0.0.2-127.0.0.6 drop");
        Firewall(
            "add rule inet sonarchive input ip daddr 127.0.0.1 tcp dport '{ 139, 2049, 22 }' "
            "drop");
        constexpr int kTimeoutMs = 1000;
        ReachabilityCheck check(std::make_shared<SystemHostProber>(), kTimeoutMs);

        catalog::Catalog catalog(dir / "data");
        for (const char* host : {"//127.0.0.1", "//127.0.0.2"}) {
            catalog.Engine().Execute(
                "insert into maindata (dDriveSerialNumber, dDriveType, dPath) values ('" +
                std::string(host) + "', 4, '" + host + "/music/a.mp3')");
        }
        const FakeMountTable noMounts;
        const catalog::PosixPathRules rules(noMounts);
        ReachableHosts hosts;
        {
            const Listener fileServer(445);
            EXPECT_EQ(check.Check("127.0.0.1"), PingState::Reachable);  // the echo got no reply
            catalog::CheckCatalogHosts(catalog.Engine(), rules, check, hosts);
        }
        EXPECT_EQ(hosts.Hosts(), std::vector<std::string>{"127.0.0.1"});
        sonarchive::testing::ScriptedInteraction user;
        user.AnswerYes();
        cataloguing::ArchiveCheck archiveCheck(catalog, rules, user, [](const std::string&) {});
        archiveCheck.Run({false, true, false}, {}, hosts.Hosts());
        catalog::Query left(catalog.Engine(), "select dDriveSerialNumber from maindata");
        ASSERT_FALSE(left.AtEnd());
        EXPECT_EQ(left[0].AsText(), "//127.0.0.1");
        left.Next();
        EXPECT_TRUE(left.AtEnd());

        // Nothing listening, and the port dropped like the others: no answer at all.
        Firewall("add rule inet sonarchive input ip daddr 127.0.0.1 tcp dport 445 drop");
        auto start = Clock::now();
        EXPECT_EQ(check.Check("127.0.0.1"), PingState::Unreachable);
        EXPECT_GE(Clock::now() - start, 900ms);

        // Five switched-off PCs cost one time-out, not five.
        start = Clock::now();
        EXPECT_EQ(check.CheckAll({"127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5", "127.0.0.6"}),
                  std::vector<PingState>(5, PingState::Unreachable));
        const auto waited = Clock::now() - start;
        EXPECT_GE(waited, 900ms);
        EXPECT_LT(waited, 1600ms);
        std::printf("five silent hosts: %lld ms with a %d ms time-out\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::milliseconds>(waited).count()),
                    kTimeoutMs);
    }));
}

}  // namespace
}  // namespace sonarchive::platform
