#include "formats/file_access.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/test_support.h"
#include "text/path_bytes.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

TEST(InputFile, ReadsOnlyRangesInsideTheFile) {
    TempDir dir;
    WriteBytes(dir / "f", "0123456789");
    InputFile in(dir / "f");
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(in.Size(), 10u);
    EXPECT_EQ(in.ReadAt(2, 3).value(), "234");
    EXPECT_EQ(in.ReadAt(0, 10).value(), "0123456789");
    EXPECT_FALSE(in.ReadAt(8, 3).has_value());
    EXPECT_FALSE(in.ReadAt(11, 0).has_value());
    EXPECT_FALSE(in.ReadAt(1, std::size_t(-1)).has_value());  // a hostile length
    EXPECT_EQ(in.ReadUpTo(7, 100), "789");
    EXPECT_EQ(in.ReadUpTo(10, 5), "");
    EXPECT_EQ(in.ReadAvailable(7, 100).value(), "789");
    EXPECT_EQ(in.ReadAvailable(12, 5).value(), "");
    EXPECT_FALSE(InputFile(dir / "missing").ReadAvailable(0, 1).has_value());

    EXPECT_FALSE(InputFile(dir / "missing").IsOpen());
    EXPECT_FALSE(InputFile(dir.Path()).IsOpen());  // a folder is not a file
}

TEST(ReadWholeFile, ReadsFilesOfUnknownSizeUpToALimit) {
    TempDir dir;
    const std::string big(200 * 1024, 'x');  // more than one read
    WriteBytes(dir / "big", big);
    EXPECT_EQ(ReadWholeFile(dir / "big", big.size()).value(), big);
    EXPECT_FALSE(ReadWholeFile(dir / "big", big.size() - 1).has_value());
    WriteBytes(dir / "empty", "");
    EXPECT_EQ(ReadWholeFile(dir / "empty", 10).value(), "");
    EXPECT_FALSE(ReadWholeFile(dir / "missing", 10).has_value());
    EXPECT_FALSE(ReadWholeFile(dir.Path(), 10).has_value());

    // /proc reports a size of 0 for files that have content.
    const auto status = ReadWholeFile("/proc/self/status", 1 << 20);
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(status->find("\nPid:\t" + std::to_string(::getpid()) + "\n"), std::string::npos);
}

TEST(RewriteFile, ReplacesTheFileKeepingItsModeAndFollowingLinks) {
    TempDir dir;
    const std::string path = dir / "song.mp3";
    WriteBytes(path, "HEADaudio");
    ::chmod(path.c_str(), 0444);
    std::filesystem::create_symlink(path, dir / "link.mp3");

    const bool ok = RewriteFile(dir / "link.mp3", [](const InputFile& original, OutputFile& out) {
        return out.Write("NEWHEAD") && out.CopyRest(original, 4);
    });
    ASSERT_TRUE(ok);
    EXPECT_EQ(ReadBytes(path), "NEWHEADaudio");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.mp3"));
    EXPECT_FALSE(std::filesystem::exists(path + "~"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);  // made writable for the owner, otherwise kept
}

TEST(RewriteFile, LeavesTheOriginalUntouchedOnAnyFailure) {
    TempDir dir;
    const std::string path = dir / "song.mp3";
    WriteBytes(path, "original bytes");

    // The producer gives up half-way.
    EXPECT_FALSE(RewriteFile(path, [](const InputFile&, OutputFile& out) {
        out.Write("partial");
        return false;
    }));
    EXPECT_EQ(ReadBytes(path), "original bytes");
    EXPECT_FALSE(std::filesystem::exists(path + "~"));

    // The producer asks for bytes the original does not have.
    EXPECT_FALSE(RewriteFile(path, [](const InputFile& original, OutputFile& out) {
        return out.CopyFrom(original, 5, 100);
    }));
    EXPECT_EQ(ReadBytes(path), "original bytes");

    EXPECT_FALSE(RewriteFile(dir / "missing", [](const InputFile&, OutputFile&) { return true; }));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing~"));
}

TEST(RewriteFile, NeverTouchesWhatHoldsTheTemporaryName) {
    TempDir dir;
    const std::string path = dir / "a.ogg";
    WriteBytes(path, "abc");
    WriteBytes(path + "~", "an editor's backup");
    std::filesystem::create_directory(path + "~1");
    std::filesystem::create_symlink(dir / "elsewhere", path + "~2");
    const auto dropFirstByte = [](const InputFile& original, OutputFile& out) {
        return out.CopyRest(original, 1);
    };
    ASSERT_TRUE(RewriteFile(path, dropFirstByte));
    EXPECT_EQ(ReadBytes(path), "bc");
    EXPECT_EQ(ReadBytes(path + "~"), "an editor's backup");
    EXPECT_TRUE(std::filesystem::is_directory(path + "~1"));
    EXPECT_TRUE(std::filesystem::is_symlink(path + "~2"));
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere"));
    EXPECT_FALSE(std::filesystem::exists(path + "~3"));  // renamed over the original

    // A failed rewrite removes only the temporary file it made itself.
    EXPECT_FALSE(RewriteFile(path, [](const InputFile&, OutputFile& out) {
        out.Write("partial");
        return false;
    }));
    EXPECT_EQ(ReadBytes(path), "bc");
    EXPECT_EQ(ReadBytes(path + "~"), "an editor's backup");
    EXPECT_FALSE(std::filesystem::exists(path + "~3"));
}

TEST(FileAccess, NamesThatAreNotUtf8ReachTheirFile) {
    TempDir dir;
    const std::string systemName = dir / "caf\xE9.mp3";
    WriteBytes(systemName, "HEADaudio");
    const std::string name = text::PathFromSystem(systemName);
    ASSERT_NE(name, systemName);
    EXPECT_EQ(InputFile(name).Size(), 9u);
    EXPECT_TRUE(OverwriteAt(name, 0, "head"));
    ASSERT_TRUE(RewriteFile(name, [](const InputFile& original, OutputFile& out) {
        return out.Write("NEW") && out.CopyRest(original, 4);
    }));
    EXPECT_EQ(ReadBytes(systemName), "NEWaudio");
    EXPECT_EQ(ReadWholeFile(name, 100).value(), "NEWaudio");
    EXPECT_FALSE(std::filesystem::exists(systemName + "~"));
}

TEST(InPlaceWrites, MakeReadOnlyFilesWritableAndReportMissingOnes) {
    TempDir dir;
    const std::string path = dir / "f";
    WriteBytes(path, "0123456789");
    ::chmod(path.c_str(), 0444);
    EXPECT_TRUE(OverwriteAt(path, 2, "ab"));
    EXPECT_EQ(ReadBytes(path), "01ab456789");
    EXPECT_TRUE(TruncateFile(path, 4));
    EXPECT_TRUE(AppendToFile(path, "XY"));
    EXPECT_EQ(ReadBytes(path), "01abXY");

    EXPECT_FALSE(OverwriteAt(dir / "none", 0, "x"));
    EXPECT_FALSE(TruncateFile(dir / "none", 0));
    EXPECT_FALSE(AppendToFile(dir / "none", "x"));
    EXPECT_FALSE(std::filesystem::exists(dir / "none"));
    EXPECT_FALSE(MakeWritableForOwner(dir.Path()));
}

}  // namespace
}  // namespace sonarchive::formats
