// Files whose names are not UTF-8 (ISO-8859-1 bytes from old sticks and discs, stray bytes)
// still name their files everywhere: the catalog keeps them reversibly, plain text shows their
// ISO-8859-1 reading, --json the stored form.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>

#include "cli_support.h"
#include "support/encoders.h"
#include "text/path_bytes.h"

namespace sonarchive::cli {
namespace {

using nlohmann::json;
using sonarchive::testing::CliRun;
using sonarchive::testing::CommandResult;
using sonarchive::testing::JsonLines;
using sonarchive::testing::ShellQuote;
using text::PathFromSystem;
using text::PathToSystem;

bool IsFile(const std::string& systemPath) {
    struct stat st {};
    return ::stat(systemPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

class OddNames : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder);
        const std::string tone = cli.dir / "tone.wav";
        ASSERT_TRUE(sonarchive::testing::MakeToneWav(tone, 1.0, 22050, 1));
        ASSERT_TRUE(
            sonarchive::testing::EncodeMp3(tone, folder + "/caf\xE9.mp3", "-b 64 --tt 'Jóga'"));
        ASSERT_TRUE(sonarchive::testing::EncodeOgg(tone, folder + "/\x80\xFF.ogg", "-q 0"));
        std::filesystem::copy_file(tone, folder + "/Jóga.wav");
    }

    CliRun cli;
    // A folder name in ISO-8859-1: "Lieder Älter".
    const std::string folder = cli.dir / "Lieder \xC4lter";
};

TEST_F(OddNames, AreAddedListedReAddedCheckedAndInspected) {
    const CommandResult added = cli.Run("add " + ShellQuote(folder));
    ASSERT_EQ(added.exitCode, 0) << added.output;
    EXPECT_NE(added.output.find("Files added: 3\n"), std::string::npos) << added.output;

    // The stored paths give the bytes back: every full path names its file.
    const auto rows = JsonLines(cli.RunStdout("list --json").output);
    ASSERT_EQ(rows.size(), 3u);
    std::set<std::string> names;
    for (const auto& row : rows) {
        const std::string fullPath = row["FullPath"];
        EXPECT_TRUE(IsFile(PathToSystem(fullPath))) << fullPath;
        names.insert(std::filesystem::path(PathToSystem(fullPath)).filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"caf\xE9.mp3", "\x80\xFF.ogg", "Jóga.wav"}));
    EXPECT_EQ(rows[0]["FullPath"], PathFromSystem(folder + "/caf\xE9.mp3"));
    EXPECT_TRUE(rows[0]["dPath"].get<std::string>().ends_with("/Lieder \uEFC4lter/caf\uEFE9.mp3"))
        << rows[0]["dPath"];
    EXPECT_EQ(rows[0]["dTitle"], "Jóga");

    // Plain text is for reading: the bytes show as ISO-8859-1 characters, in UTF-8.
    const std::string listed = cli.RunStdout("list").output;
    EXPECT_NE(listed.find("/Lieder Älter/café.mp3"), std::string::npos) << listed;
    EXPECT_NE(listed.find("/Lieder Älter/\u0080ÿ.ogg"), std::string::npos);

    const CommandResult again = cli.Run("add " + ShellQuote(folder));
    EXPECT_NE(again.output.find("Files added: 0\nFiles already in archive: 3\n"), std::string::npos)
        << again.output;
    const CommandResult dropped = cli.Run("add " + ShellQuote(folder + "/caf\xE9.mp3"));
    EXPECT_NE(dropped.output.find("File already exists in database \"" +
                                  text::PathForDisplay(PathFromSystem(folder)) + "/café.mp3\""),
              std::string::npos)
        << dropped.output;

    EXPECT_EQ(cli.RunStdout("check --individual --yes").output,
              "References to files no longer existing:\n0 records found\n");
    EXPECT_EQ(cli.RunStdout("count").output, "Files in archive: 3\n");

    const CommandResult inspected = cli.RunStdout("inspect " + ShellQuote(folder + "/caf\xE9.mp3"));
    EXPECT_EQ(inspected.exitCode, 0);
    EXPECT_NE(inspected.output.find("Lieder Älter/café.mp3\n  Valid: yes\n"), std::string::npos)
        << inspected.output;
    const json object =
        json::parse(cli.RunStdout("inspect --json " + ShellQuote(folder + "/\x80\xFF.ogg")).output);
    EXPECT_EQ(object["path"], PathFromSystem(folder + "/\x80\xFF.ogg"));
    EXPECT_EQ(object["valid"], true);
}

}  // namespace
}  // namespace sonarchive::cli
