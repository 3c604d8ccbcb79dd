#include "organize/file_transfer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "support/test_support.h"

namespace sonarchive::organize {
namespace {

namespace fs = std::filesystem;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

// Names in the folder other than the ones given: left-over temporary files.
std::vector<std::string> Others(const std::string& folder, const std::vector<std::string>& known) {
    std::vector<std::string> others;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            others.push_back(name);
        }
    }
    return others;
}

bool CanBeDeniedWrite() {
    return ::geteuid() != 0;
}

TEST(RenameWithoutReplacing, NeverReplacesAnExistingFile) {
    TempDir dir;
    WriteBytes(dir / "a", "A");
    WriteBytes(dir / "b", "B");
    const TransferResult refused = RenameWithoutReplacing(dir / "a", dir / "b");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, EEXIST);
    EXPECT_EQ(ReadBytes(dir / "a"), "A");
    EXPECT_EQ(ReadBytes(dir / "b"), "B");
    EXPECT_TRUE(RenameWithoutReplacing(dir / "a", dir / "c").ok);
    EXPECT_EQ(ReadBytes(dir / "c"), "A");
    EXPECT_FALSE(fs::exists(dir / "a"));
}

TEST(CopyFile, KeepsBytesTimeAndModeAndReplacesOnlyWhenAllowed) {
    TempDir dir;
    const std::string bytes = sonarchive::testing::RandomBytes(700000, 3);
    WriteBytes(dir / "song.mp3", bytes);
    ::chmod((dir / "song.mp3").c_str(), 0640);
    const timespec times[2] = {{1000000000, 0}, {1100000000, 500}};
    ::utimensat(AT_FDCWD, (dir / "song.mp3").c_str(), times, 0);

    ASSERT_TRUE(CopyFile(dir / "song.mp3", dir / "copy.mp3", false).ok);
    EXPECT_EQ(ReadBytes(dir / "copy.mp3"), bytes);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "copy.mp3").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1100000000);
    EXPECT_EQ(ReadBytes(dir / "song.mp3"), bytes);

    WriteBytes(dir / "other.mp3", "other");
    EXPECT_EQ(CopyFile(dir / "other.mp3", dir / "copy.mp3", false).error, EEXIST);
    EXPECT_EQ(ReadBytes(dir / "copy.mp3"), bytes);
    ASSERT_TRUE(CopyFile(dir / "other.mp3", dir / "copy.mp3", true).ok);
    EXPECT_EQ(ReadBytes(dir / "copy.mp3"), "other");
    EXPECT_EQ(Others(dir.Path(), {"song.mp3", "copy.mp3", "other.mp3"}),
              std::vector<std::string>{});
}

TEST(CopyFile, AMissingSourceOrFolderFailsWithTheReasonAndLeavesNothing) {
    TempDir dir;
    const TransferResult missing = CopyFile(dir / "none.mp3", dir / "copy.mp3", false);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.reason, "No such file or directory");
    WriteBytes(dir / "a.mp3", "A");
    EXPECT_FALSE(CopyFile(dir / "a.mp3", dir / "no/such/folder/a.mp3", false).ok);
    EXPECT_EQ(Others(dir.Path(), {"a.mp3"}), std::vector<std::string>{});
}

TEST(CopyFile, AReadOnlyTargetFolderLeavesBothFilesIntact) {
    if (!CanBeDeniedWrite()) {
        GTEST_SKIP() << "root may write into read-only folders";
    }
    TempDir dir;
    fs::create_directories(dir / "ro");
    WriteBytes(dir / "a.mp3", "new");
    WriteBytes(dir / "ro/a.mp3", "old");
    ::chmod((dir / "ro").c_str(), 0555);
    for (const bool replace : {false, true}) {
        EXPECT_EQ(CopyFile(dir / "a.mp3", dir / "ro/a.mp3", replace).error, EACCES);
        EXPECT_EQ(MoveFile(dir / "a.mp3", dir / "ro/a.mp3", replace).error, EACCES);
    }
    EXPECT_EQ(ReadBytes(dir / "a.mp3"), "new");
    EXPECT_EQ(ReadBytes(dir / "ro/a.mp3"), "old");
}

TEST(MoveFile, WithinAndAcrossFilesystems) {
    TempDir dir;
    WriteBytes(dir / "a.mp3", "A");
    WriteBytes(dir / "b.mp3", "B");
    EXPECT_EQ(MoveFile(dir / "a.mp3", dir / "b.mp3", false).error, EEXIST);
    EXPECT_EQ(ReadBytes(dir / "b.mp3"), "B");
    ASSERT_TRUE(MoveFile(dir / "a.mp3", dir / "b.mp3", true).ok);
    EXPECT_EQ(ReadBytes(dir / "b.mp3"), "A");
    EXPECT_FALSE(fs::exists(dir / "a.mp3"));

    // /dev/shm is a filesystem of its own on Linux: the move becomes a copy and a removal.
    struct stat tmp {
    }, shm{};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(dir.Path().c_str(), &tmp) != 0 ||
        tmp.st_dev == shm.st_dev || ::access("/dev/shm", W_OK) != 0) {
        GTEST_SKIP() << "no second filesystem to move to";
    }
    const std::string other = "/dev/shm/sonarchive-move-" + std::to_string(::getpid()) + ".mp3";
    WriteBytes(other, "in the way");
    EXPECT_EQ(MoveFile(dir / "b.mp3", other, false).error, EEXIST);
    EXPECT_EQ(ReadBytes(other), "in the way");
    EXPECT_EQ(ReadBytes(dir / "b.mp3"), "A");
    ASSERT_TRUE(MoveFile(dir / "b.mp3", other, true).ok);
    EXPECT_EQ(ReadBytes(other), "A");
    EXPECT_FALSE(fs::exists(dir / "b.mp3"));
    ASSERT_TRUE(MoveFile(other, dir / "back.mp3", false).ok);
    EXPECT_EQ(ReadBytes(dir / "back.mp3"), "A");
    EXPECT_FALSE(fs::exists(other));
}

TEST(FileFacts, TellTheSameFileApart) {
    TempDir dir;
    WriteBytes(dir / "a", "12345");
    ASSERT_EQ(::link((dir / "a").c_str(), (dir / "hard").c_str()), 0);
    WriteBytes(dir / "b", "12345");
    EXPECT_TRUE(IsSameFile(dir / "a", dir / "hard"));
    EXPECT_FALSE(IsSameFile(dir / "a", dir / "b"));
    EXPECT_FALSE(IsSameFile(dir / "a", dir / "none"));
    const auto facts = FactsOf(dir / "a");
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->size, 5u);
    EXPECT_GT(facts->modified, 40000.0);
}

}  // namespace
}  // namespace sonarchive::organize
