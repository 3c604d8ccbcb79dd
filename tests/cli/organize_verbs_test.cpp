// rename, organize and duplicates on files made by lame, as a user would run them.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_support.h"
#include "support/encoders.h"

namespace sonarchive::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using sonarchive::testing::CliRun;
using sonarchive::testing::CommandResult;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::ShellQuote;
using sonarchive::testing::TempDir;

class OrganizeVerbs : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        songs_ = new TempDir;
        const std::string wav = *songs_ / "tone.wav";
        ASSERT_TRUE(sonarchive::testing::MakeToneWav(wav, 2.5, 44100, 2));
        ASSERT_TRUE(sonarchive::testing::EncodeMp3(
            wav, *songs_ / "blue.mp3", "-b 128 --ta Ann --tt 'Blue Sky' --tl Sky --tn 3"));
        ASSERT_TRUE(sonarchive::testing::EncodeMp3(
            wav, *songs_ / "acdc.mp3", "-b 128 --ta AC/DC --tt 'Live: 1999' --tl Rock"));
        ASSERT_TRUE(sonarchive::testing::EncodeMp3(wav, *songs_ / "copy.mp3",
                                                   "-b 128 --ta ANN --tt 'BLUE SKY' --tl Other"));
    }
    static void TearDownTestSuite() {
        delete songs_;
        songs_ = nullptr;
    }

    // The three songs in a folder of the test's own, added in the order blue, acdc, copy.
    void AddSongs() {
        fs::create_directories(In());
        for (const char* name : {"blue.mp3", "acdc.mp3", "copy.mp3"}) {
            fs::copy_file(*songs_ / name, In() + "/" + name);
            ASSERT_EQ(cli.Run("add " + ShellQuote(In() + "/" + name)).exitCode, 0);
        }
    }

    std::string In() const { return cli.dir / "in"; }
    std::string Out() const { return cli.dir / "out"; }

    std::vector<json> Rows() {
        std::vector<json> rows;
        std::istringstream lines(cli.RunStdout("list --json").output);
        for (std::string line; std::getline(lines, line);) {
            rows.push_back(json::parse(line));
        }
        return rows;
    }

    static TempDir* songs_;
    CliRun cli;
};

TempDir* OrganizeVerbs::songs_ = nullptr;

TEST_F(OrganizeVerbs, RenamePreviewsAsksAndRenames) {
    AddSongs();
    const CommandResult preview = cli.RunStdout("rename --preview --format '%3 %1' 1 2");
    EXPECT_EQ(preview.exitCode, 0);
    EXPECT_EQ(preview.output, "blue.mp3\t03 Blue Sky.mp3\nacdc.mp3\t00 Live: 1999.mp3\n");

    // Without --yes and without a terminal the question is answered Cancel.
    EXPECT_EQ(cli.Run("rename --format '%3 %1' 1").exitCode, 1);
    EXPECT_TRUE(fs::exists(In() + "/blue.mp3"));

    sonarchive::testing::WriteBytes(In() + "/BLUE SKY.mp3", "in the way");
    const CommandResult renamed = cli.Run("--yes rename --format '%1' 1 3");
    EXPECT_EQ(renamed.exitCode, 1) << renamed.output;
    EXPECT_NE(renamed.output.find("Couldn't rename file to: " + In() + "/BLUE SKY.mp3"),
              std::string::npos)
        << renamed.output;
    EXPECT_EQ(ReadBytes(In() + "/BLUE SKY.mp3"), "in the way");
    EXPECT_TRUE(fs::exists(In() + "/Blue Sky.mp3"));
    EXPECT_EQ(Rows().at(0)["dPath"], In() + "/Blue Sky.mp3");
    EXPECT_EQ(Rows().at(2)["dPath"], In() + "/copy.mp3");
}

TEST_F(OrganizeVerbs, OrganizeMovesAndNeverReplacesWithoutOverwrite) {
    AddSongs();
    fs::create_directories(Out());
    const std::string common =
        "--base " + ShellQuote(Out()) + " --folders artist --names title --move --remove-empty";
    const CommandResult preview = cli.RunStdout("organize " + common + " --all --preview --json");
    EXPECT_EQ(preview.exitCode, 0) << preview.output;
    EXPECT_NE(preview.output.find("{\"NewPath\":\"" + Out() + "/Ann/Blue Sky.mp3\",\"OldPath\":\"" +
                                  In() + "/blue.mp3\"}"),
              std::string::npos)
        << preview.output;
    EXPECT_TRUE(fs::exists(In() + "/blue.mp3"));

    // A file already at Ann's target: asked without a terminal, so not replaced.
    fs::create_directories(Out() + "/Ann");
    sonarchive::testing::WriteBytes(Out() + "/Ann/Blue Sky.mp3", "kept");
    const CommandResult moved = cli.Run("--yes organize " + common + " 1 2");
    EXPECT_EQ(moved.exitCode, 0) << moved.output;
    EXPECT_EQ(ReadBytes(Out() + "/Ann/Blue Sky.mp3"), "kept");
    EXPECT_TRUE(fs::exists(In() + "/blue.mp3"));
    EXPECT_TRUE(fs::exists(Out() + "/AC DC/Live  1999.mp3"));  // the default blank replaces

    const CommandResult replaced = cli.Run("--yes organize " + common + " --overwrite 1");
    EXPECT_EQ(replaced.exitCode, 0) << replaced.output;
    EXPECT_EQ(ReadBytes(Out() + "/Ann/Blue Sky.mp3"), ReadBytes(*songs_ / "blue.mp3"));
    EXPECT_EQ(Rows().at(0)["dPath"], Out() + "/Ann/Blue Sky.mp3");
    EXPECT_EQ(Rows().at(0)["dDriveLetter"], "/");
}

TEST_F(OrganizeVerbs, OrganizeReportsWhatFailedAndExitsWithOne) {
    AddSongs();
    const CommandResult missing =
        cli.Run("--yes organize --base " + ShellQuote(cli.dir / "none") + " --all");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("Please select a valid parent folder."), std::string::npos);
    fs::create_directories(Out());
    sonarchive::testing::WriteBytes(Out() + "/Ann", "a file in the folder's place");
    const CommandResult blocked =
        cli.Run("--yes organize --base " + ShellQuote(Out()) + " --folders artist --copy 1");
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_NE(blocked.output.find("Couldn't create folder " + Out() + "/Ann\n"), std::string::npos)
        << blocked.output;
    EXPECT_EQ(blocked.output.find("Description"), std::string::npos);
}

TEST_F(OrganizeVerbs, DuplicatesByTagsAndByContent) {
    AddSongs();
    const CommandResult tags = cli.RunStdout("duplicates --method artist-title --json");
    EXPECT_EQ(tags.exitCode, 0);
    std::vector<json> rows;
    std::istringstream lines(tags.output);
    for (std::string line; std::getline(lines, line);) {
        rows.push_back(json::parse(line));
    }
    ASSERT_EQ(rows.size(), 2u) << tags.output;
    EXPECT_EQ(rows[0]["Id"], 1);
    EXPECT_EQ(rows[1]["Id"], 3);
    EXPECT_EQ(rows[0]["Group"], 1);
    EXPECT_EQ(rows[1]["FullPath"], In() + "/copy.mp3");

    // One tone encoded three times: equal audio, whatever the tags.
    const CommandResult content = cli.RunStdout("duplicates --method bit-pattern");
    EXPECT_EQ(content.exitCode, 0);
    EXPECT_EQ(std::count(content.output.begin(), content.output.end(), '\n'), 4) << content.output;
    EXPECT_EQ(cli.Run("duplicates --method custom").exitCode, 2);
    EXPECT_EQ(cli.RunStdout("duplicates --method custom --fields album").output, "");
}

}  // namespace
}  // namespace sonarchive::cli
