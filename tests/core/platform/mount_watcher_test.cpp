#include "platform/mount_watcher.h"

#include <gtest/gtest.h>

#include <chrono>

#include "support/fake_mount_table.h"
#include "support/test_support.h"

namespace sonarchive::platform {
namespace {

using sonarchive::testing::FakeMountTable;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

TEST(MountWatcher, RebuildsAndNotifiesOnlyWhenTheDrivesChanged) {
    FakeMountTable mounts;
    mounts.Add("/", "3F1C2B4A");
    TempDir dir;
    WriteBytes(dir / "signal", "");
    MountWatcher watcher(mounts, dir / "signal");
    EXPECT_GE(watcher.FileDescriptor(), 0);
    EXPECT_EQ(watcher.LocalDrives(), (LocalDriveList{{"/", "3F1C2B4A"}}));

    std::vector<LocalDriveList> seen;
    const int token =
        watcher.Subscribe([&](const LocalDriveList& drives) { seen.push_back(drives); });
    EXPECT_FALSE(watcher.ProcessChange());  // nothing changed: nobody is disturbed
    EXPECT_TRUE(seen.empty());

    mounts.Add("/media/ann/STICK", "ABCD1234", "Removable");
    EXPECT_TRUE(watcher.ProcessChange());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (LocalDriveList{{"/", "3F1C2B4A"}, {"/media/ann/STICK", "ABCD1234"}}));
    EXPECT_EQ(watcher.LocalDrives(), seen[0]);

    // A network share coming up changes no local drive, but its rows become reachable.
    mounts.AddNetwork("/mnt/nas", "//nas/music");
    EXPECT_TRUE(watcher.ProcessChange());
    EXPECT_EQ(seen.size(), 2u);

    watcher.Unsubscribe(token);
    mounts.drives.pop_back();
    EXPECT_TRUE(watcher.ProcessChange());
    EXPECT_EQ(seen.size(), 2u);
}

TEST(MountWatcher, WaitingWithoutChangeEndsAtTheTimeOut) {
    FakeMountTable mounts;
    TempDir dir;
    WriteBytes(dir / "signal", "");  // a plain file never signals
    MountWatcher watcher(mounts, dir / "signal");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(watcher.WaitForChange(50));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(45));
    EXPECT_LT(waited, std::chrono::milliseconds(500));

    const MountWatcher unwatched(mounts, dir / "missing");
    EXPECT_EQ(unwatched.FileDescriptor(), -1);
}

}  // namespace
}  // namespace sonarchive::platform
