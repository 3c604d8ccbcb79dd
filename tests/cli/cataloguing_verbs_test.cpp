// The cataloguing verbs on files made by real encoders, checked against what ffprobe and the
// encoders say.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_support.h"
#include "support/encoders.h"

namespace sonarchive::cli {
namespace {

using nlohmann::json;
using sonarchive::testing::CliRun;
using sonarchive::testing::CommandResult;
using sonarchive::testing::JsonLines;
using sonarchive::testing::ShellQuote;
using sonarchive::testing::TempDir;

// Made once for the whole suite: encoding is the slow part.
class CataloguingVerbs : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        files_ = new TempDir;
        const TempDir& d = *files_;
        const std::string tone = d / "tone.wav";
        ASSERT_TRUE(sonarchive::testing::MakeToneWav(tone, 2.5, 44100, 2));
        ASSERT_TRUE(sonarchive::testing::MakeToneWav(d / "mono8k.wav", 1.5, 8000, 1, "-b 8"));
        ASSERT_TRUE(sonarchive::testing::EncodeMp3(
            tone, d / "cbr.mp3",
            "-b 128 --tt 'Jóga' --ta 'Björk' --tl Homogenic --ty 1997 --tn 2/10 --tg Rock "
            "--tc 'a comment'"));
        ASSERT_TRUE(sonarchive::testing::EncodeMp3(d / "mono8k.wav", d / "mono.mp3", "-V 2"));
        ASSERT_TRUE(sonarchive::testing::EncodeOgg(
            tone, d / "song.ogg",
            "-q 2 -t 'Москва' -a 'Кино' -l Album -c DATE=1988 -c TRACKNUMBER=7/12 -G Pop"));
        ASSERT_TRUE(sonarchive::testing::RunFfmpeg("-i " + ShellQuote(tone) +
                                                   " -c:a mp2 -b:a 192k -f mp2 " +
                                                   ShellQuote(d / "layer2.mp3")));
    }
    static void TearDownTestSuite() {
        delete files_;
        files_ = nullptr;
    }

    static std::string File(const std::string& name) { return *files_ / name; }

    // One object per line of an inspect --json run.
    json Inspect(const std::string& file) {
        const CommandResult result = cli.RunStdout("inspect --json " + ShellQuote(file));
        EXPECT_EQ(result.exitCode, 0) << result.output;
        return json::parse(result.output, nullptr, false);
    }

    // Copies files into a folder of their own.
    std::string FolderWith(const std::string& name, const std::vector<std::string>& sources) {
        const std::string folder = cli.dir / name;
        std::filesystem::create_directories(folder);
        for (const auto& source : sources) {
            std::filesystem::copy_file(File(source), folder + "/" + source);
        }
        return folder;
    }

    static TempDir* files_;
    CliRun cli;
};

TempDir* CataloguingVerbs::files_ = nullptr;

void ExpectSameFigures(const json& ours, const std::string& path) {
    const json probe = sonarchive::testing::Probe(path);
    ASSERT_FALSE(probe.is_null());
    const json& audio = probe["streams"][0];
    const double duration = sonarchive::testing::ProbedDuration(probe);
    const double got = ours["stream"]["Duration"].get<double>();
    EXPECT_LE(std::abs(got - duration), std::max(0.05, duration * 0.005))
        << path << ": " << got << " s against ffprobe's " << duration << " s";
    EXPECT_EQ(ours["stream"]["SampleRate"].get<int>(), std::stoi(audio["sample_rate"].get<std::string>()));
    const int channels = audio["channels"].get<int>();
    if (ours["format"] == 2) {  // MPEG keeps the channel mode: 3 is mono
        EXPECT_EQ(ours["stream"]["ChannelMode"].get<int>() == 3 ? 1 : 2, channels);
    } else {
        EXPECT_EQ(ours["stream"]["ChannelMode"].get<int>(), channels);
    }
}

TEST_F(CataloguingVerbs, InspectAgreesWithFfprobeAndTheTagsWritten) {
    const json mp3 = Inspect(File("cbr.mp3"));
    EXPECT_EQ(mp3["format"], 2);
    EXPECT_EQ(mp3["valid"], true);
    EXPECT_EQ(mp3["tags"]["Title"], "Jóga");
    EXPECT_EQ(mp3["tags"]["Artist"], "Björk");
    EXPECT_EQ(mp3["tags"]["Album"], "Homogenic");
    EXPECT_EQ(mp3["tags"]["Year"], "1997");
    EXPECT_EQ(mp3["tags"]["Track"], 2);
    EXPECT_EQ(mp3["tags"]["Genre"], "Rock");
    EXPECT_EQ(mp3["tags"]["Comment"], "a comment");
    EXPECT_EQ(mp3["stream"]["Bitrate"], 128);
    EXPECT_EQ(mp3["stream"]["Version"], 3);
    EXPECT_EQ(mp3["stream"]["Layer"], 1);
    EXPECT_EQ(mp3["stream"]["EncoderName"].get<std::string>().rfind("LAME", 0), 0u);
    EXPECT_EQ(mp3["tags_by_type"]["id3v2"]["Version"], 3);
    EXPECT_EQ(mp3["tags_by_type"]["id3v1"]["Title"], "J\u00f3ga");
    EXPECT_TRUE(mp3["tags_by_type"]["ape"].is_null());
    EXPECT_TRUE(mp3["tags_by_type"]["ogg"].is_null());
    ExpectSameFigures(mp3, File("cbr.mp3"));

    const json ogg = Inspect(File("song.ogg"));
    EXPECT_EQ(ogg["format"], 11);
    EXPECT_EQ(ogg["tags"]["Title"], "Москва");
    EXPECT_EQ(ogg["tags"]["Artist"], "Кино");
    EXPECT_EQ(ogg["tags"]["Track"], 7);
    EXPECT_EQ(ogg["tags"]["Year"], "");  // the DATE comment is not the year
    EXPECT_EQ(ogg["tags_by_type"]["ogg"]["Genre"], "Pop");
    ExpectSameFigures(ogg, File("song.ogg"));

    const json mono = Inspect(File("mono.mp3"));
    EXPECT_EQ(mono["stream"]["Version"], 0);  // 8 kHz is MPEG 2.5
    EXPECT_EQ(mono["stream"]["ChannelMode"], 3);
    ExpectSameFigures(mono, File("mono.mp3"));

    const json layer2 = Inspect(File("layer2.mp3"));
    EXPECT_EQ(layer2["stream"]["Layer"], 2);
    EXPECT_EQ(layer2["stream"]["Bitrate"], 192);
    ExpectSameFigures(layer2, File("layer2.mp3"));

    const json wav = Inspect(File("mono8k.wav"));
    EXPECT_EQ(wav["format"], 5);
    EXPECT_EQ(wav["stream"]["Bitrate"], 8);
    EXPECT_EQ(wav["stream"]["Frames"], 8000);
    EXPECT_TRUE(wav["tags_by_type"]["id3v2"].is_null());
    ExpectSameFigures(wav, File("mono8k.wav"));
}

TEST_F(CataloguingVerbs, InspectReportsOtherFilesAndMissingOnes) {
    const std::string text = cli.dir / "notes.txt";
    sonarchive::testing::WriteBytes(text, "not audio");
    const json other = Inspect(text);
    EXPECT_EQ(other["format"], -1);
    EXPECT_EQ(other["valid"], false);
    const CommandResult missing = cli.Run("inspect " + ShellQuote(cli.dir / "none.mp3"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("File not found"), std::string::npos);
    EXPECT_EQ(cli.Run("inspect").exitCode, 2);

    const CommandResult readable = cli.RunStdout("inspect " + ShellQuote(File("cbr.mp3")));
    EXPECT_NE(readable.output.find("  MPEG type: MPEG 1 Layer III\n"), std::string::npos);
    EXPECT_NE(readable.output.find("  Sample rate: 44100 Hz\n"), std::string::npos);
    EXPECT_NE(readable.output.find("  Title: Jóga\n"), std::string::npos);
}

TEST_F(CataloguingVerbs, AddCountsWhatItFoundAndListsTheRows) {
    const std::string folder = FolderWith("music", {"cbr.mp3", "song.ogg", "mono8k.wav"});
    sonarchive::testing::WriteBytes(folder + "/broken.mp3", std::string(5000, 'x'));
    sonarchive::testing::WriteBytes(folder + "/cover.jpg", "jpeg");
    ASSERT_EQ(cli.Run("add " + ShellQuote(folder + "/cbr.mp3")).exitCode, 0);

    const CommandResult added = cli.Run("add --formats all " + ShellQuote(folder));
    EXPECT_EQ(added.exitCode, 0) << added.output;
    EXPECT_NE(added.output.find("Files found: 4\nFiles added: 2\nFiles already in archive: 1\n"
                                "Invalid files: 1\n"),
              std::string::npos)
        << added.output;
    EXPECT_NE(added.output.find("Invalid File " + folder + "/broken.mp3"), std::string::npos);

    const CommandResult again = cli.RunStdout("add --formats mp3,wav --json " + ShellQuote(folder));
    EXPECT_EQ(again.output, "");  // nothing new, so no rows

    const auto rows = JsonLines(cli.RunStdout("list --json").output);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]["Id"], 1);
    EXPECT_EQ(rows[0]["dTitle"], "Jóga");
    EXPECT_EQ(rows[0]["FullPath"], folder + "/cbr.mp3");
    EXPECT_EQ(rows[1]["dTitle"], "Москва");  // the masks' order: MP3, OGG, then WAV
    EXPECT_EQ(rows[2]["dFormat"], 5);
    const auto since = JsonLines(cli.RunStdout("list --json --since-id 2").output);
    ASSERT_EQ(since.size(), 1u);
    EXPECT_EQ(since[0]["Id"], 3);
    EXPECT_EQ(cli.Run("list --since-id x").exitCode, 2);

    const CommandResult dropped =
        cli.Run("add " + ShellQuote(folder + "/cover.jpg") + " " + ShellQuote(File("mono.mp3")));
    EXPECT_NE(dropped.output.find("Invalid file extension \"" + folder + "/cover.jpg\""),
              std::string::npos);
    EXPECT_NE(dropped.output.find("Files added: 1"), std::string::npos);
    EXPECT_EQ(cli.Run("add").exitCode, 2);
    EXPECT_EQ(cli.Run("add --formats flac " + ShellQuote(folder)).exitCode, 2);
    EXPECT_EQ(cli.Run("add " + ShellQuote(cli.dir / "no-such-folder/")).exitCode, 0);
}

TEST_F(CataloguingVerbs, CheckAndRereadFollowTheFiles) {
    const std::string folder = FolderWith("kept", {"cbr.mp3", "song.ogg"});
    ASSERT_EQ(cli.Run("add " + ShellQuote(folder)).exitCode, 0);
    std::filesystem::remove(folder + "/song.ogg");

    const CommandResult asked = cli.RunStdout("check --individual");
    EXPECT_EQ(asked.output, "References to files no longer existing:\n1 records found\n");
    EXPECT_EQ(cli.RunStdout("count").output, "Files in archive: 2\n");
    const CommandResult deleted = cli.RunStdout("check --individual --yes");
    EXPECT_EQ(deleted.output,
              "References to files no longer existing:\n1 records found\n1 records deleted\n");
    EXPECT_EQ(cli.RunStdout("count").output, "Files in archive: 1\n");

    // Another program retags the file; the re-read brings the catalog up to date.
    ASSERT_TRUE(sonarchive::testing::RunFfmpeg(
        "-i " + ShellQuote(folder + "/cbr.mp3") + " -c copy -id3v2_version 3 -metadata " +
        "title=Retitled " + ShellQuote(folder + "/retagged.mp3")));
    std::filesystem::rename(folder + "/retagged.mp3", folder + "/cbr.mp3");
    const CommandResult reread = cli.RunStdout("reread");
    EXPECT_EQ(reread.exitCode, 0);
    EXPECT_EQ(reread.output, "Finished re-reading tags\n");
    const auto rows = JsonLines(cli.RunStdout("list --json").output);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]["dTitle"], "Retitled");
}

}  // namespace
}  // namespace sonarchive::cli
