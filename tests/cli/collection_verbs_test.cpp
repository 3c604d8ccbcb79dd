// The collection, playlist, stats and export verbs on files made by real encoders.
#include <gtest/gtest.h>

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
using sonarchive::testing::ReadBytes;
using sonarchive::testing::ShellQuote;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;


std::vector<std::string> Lines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Two MP3 files and a WAV file, catalogued in that order (ids 1, 2, 3).
class CollectionVerbs : public ::testing::Test {
protected:
    CollectionVerbs() {
        const std::string music = cli.dir / "music";
        std::filesystem::create_directories(music);
        EXPECT_TRUE(sonarchive::testing::MakeToneWav(music + "/c.wav", 3, 8000, 1));
        EXPECT_TRUE(sonarchive::testing::EncodeMp3(music + "/c.wav", music + "/a.mp3",
                                                   "-b 32 --ta Ann --tt 'Blue Sky'"));
        EXPECT_TRUE(sonarchive::testing::EncodeMp3(music + "/c.wav", music + "/b.mp3",
                                                   "-b 32 --ta Bob --tt Rain"));
        for (const char* name : {"a.mp3", "b.mp3", "c.wav"}) {
            EXPECT_EQ(cli.Run("add " + ShellQuote(music + "/" + name)).exitCode, 0);
        }
    }

    std::string Music(const std::string& name) const { return cli.dir / ("music/" + name); }

    CommandResult Ok(const std::string& arguments) {
        CommandResult result = cli.RunStdout(arguments);
        EXPECT_EQ(result.exitCode, 0) << arguments << "\n" << cli.Run(arguments).output;
        return result;
    }

    CliRun cli;
};

TEST_F(CollectionVerbs, ACollectionIsMadeFilledOrderedAndDeleted) {
    EXPECT_EQ(Ok("collection new 'Road trip'").output, "1\n");
    Ok("collection add 1 3 1 2 1");
    auto members = JsonLines(Ok("collection show 1 --json").output);
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(members[0]["FileId"], 3);
    EXPECT_EQ(members[1]["Position"], 2.0);
    EXPECT_EQ(members[3]["FileId"], 1);  // a file may be a member twice
    EXPECT_EQ(members[1]["FullPath"], Music("a.mp3"));
    const std::vector<std::string> shown = Lines(Ok("collection show 1").output);
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_TRUE(shown[0].starts_with("MemberId\tPosition\tFileId\tId\tdDateAdded\t"));
    EXPECT_EQ(shown[5], "Files: 4");
    EXPECT_EQ(shown[6], "Total size: 0 MB");

    const auto list = JsonLines(Ok("collection list --json").output);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["name"], "Road trip");
    EXPECT_EQ(list[0]["files"], 4);  // adding wrote the totals

    Ok("collection move 1 --up 2 3");
    members = JsonLines(Ok("collection show 1 --json").output);
    EXPECT_EQ(members[0]["FileId"], 1);
    EXPECT_EQ(members[1]["FileId"], 2);
    EXPECT_EQ(members[2]["FileId"], 3);

    // Removing asks; without a terminal nothing is removed.
    EXPECT_EQ(cli.Run("collection remove 1 2").exitCode, 1);
    EXPECT_EQ(JsonLines(Ok("collection show 1 --json").output).size(), 4u);
    Ok("--yes collection remove 1 2 99");
    members = JsonLines(Ok("collection show 1 --json").output);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0]["MemberId"], 3);

    Ok("collection set 1 --name 'Party mix' --sortable");
    const CommandResult refused = cli.Run("collection move 1 --down 3");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.output.find("Can't move items in a sortable collection. Open \"Edit "
                                  "properties\" to change collection behavior."),
              std::string::npos);
    EXPECT_EQ(JsonLines(Ok("collection list --json").output)[0]["name"], "Party mix");

    EXPECT_EQ(cli.Run("collection delete 1").exitCode, 1);
    Ok("--yes collection delete 1");
    EXPECT_TRUE(Ok("collection list --json").output.empty());

    EXPECT_EQ(cli.Run("collection").exitCode, 2);
    EXPECT_EQ(cli.Run("collection frob").exitCode, 2);
    EXPECT_EQ(cli.Run("collection add x 1").exitCode, 2);
    EXPECT_EQ(cli.Run("collection add 7 1").exitCode, 1);
    Ok("collection new Other");
    EXPECT_EQ(cli.Run("collection add 2 42").exitCode, 1);  // no such file
}

TEST_F(CollectionVerbs, SavedAsPlaylistACollectionLeavesOutWhatCannotBeTagged) {
    Ok("collection new Mix");
    Ok("collection add 1 2 3 1");
    const std::string playlist = cli.dir / "mix.m3u";
    Ok("collection export 1 --out " + ShellQuote(playlist));
    EXPECT_EQ(ReadBytes(playlist), "#EXTM3U\r\n#EXTINF:3,Bob - Rain\r\n" + Music("b.mp3") +
                                       "\r\n#EXTINF:3,Ann - Blue Sky\r\n" + Music("a.mp3") +
                                       "\r\n");
    EXPECT_EQ(
        cli.Run("collection export 1 --out " + ShellQuote(cli.dir / "no/such/x.m3u")).exitCode, 1);
    EXPECT_TRUE(ReadBytes(playlist).starts_with("#EXTM3U\r\n#EXTINF:3,Bob"));
}

TEST_F(CollectionVerbs, PlaylistsAreMadeFilledAndShown) {
    const std::string playlist = cli.dir / "list.m3u";
    Ok("playlist new " + ShellQuote(playlist));
    EXPECT_EQ(ReadBytes(playlist), "#EXTM3U\r\n");
    WriteBytes(cli.dir / "other.m3u", "#EXTM3U\r\nmusic/b.mp3\r\n");
    EXPECT_EQ(Ok("playlist add " + ShellQuote(playlist) + " " + ShellQuote(Music("a.mp3")) + " " +
                 ShellQuote(Music("c.wav")) + " " + ShellQuote(cli.dir / "notes.txt") + " " +
                 ShellQuote(cli.dir / "other.m3u"))
                  .output,
              "Entries added: 3\n");
    Ok("playlist add --extract " + ShellQuote(playlist) + " " + ShellQuote(cli.dir / "other.m3u"));
    EXPECT_EQ(ReadBytes(playlist), "#EXTM3U\r\n#EXTINF:3,Ann - Blue Sky\r\n" + Music("a.mp3") +
                                       "\r\n" + Music("c.wav") + "\r\n" + cli.dir / "other.m3u" +
                                       "\r\n#EXTINF:3,Bob - Rain\r\n" + Music("b.mp3") + "\r\n");
    const auto entries = JsonLines(Ok("playlist show --json " + ShellQuote(playlist)).output);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[3]["info"], "#EXTINF:3,Bob - Rain");
    const CommandResult missing = cli.Run("playlist show " + ShellQuote(cli.dir / "gone.m3u"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("Couldn't open file (" + cli.dir / "gone.m3u" + ")"),
              std::string::npos);
}

TEST_F(CollectionVerbs, StatsPrintTheSummarysFigures) {
    const std::vector<std::string> total = Lines(Ok("stats").output);
    ASSERT_GE(total.size(), 9u);
    EXPECT_EQ(total[0], "Total");
    EXPECT_EQ(total[1], "  Number of files: 3");
    EXPECT_EQ(total[3], "  Duration: 0.0 hours");
    EXPECT_EQ(total[4], "  Number of media: 1");
    EXPECT_EQ(total[6], "  Avg. bitrate: 32");  // the WAV file's bits per sample do not count
    const json computers = json::parse(Ok("stats --node computers --json").output);
    EXPECT_EQ(computers["Number of files"], "0");
    EXPECT_EQ(cli.Run("stats --node nowhere").exitCode, 1);
}

TEST_F(CollectionVerbs, ExportWritesTheChosenRowsAndColumns) {
    const std::string csv = cli.dir / "all.csv";
    EXPECT_EQ(Ok("export --format csv --out " + ShellQuote(csv)).output, "Rows exported: 3\n");
    const auto lines = Lines(ReadBytes(csv));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              "Artist,Title,Album,Bit rate,Composer,Comment,Date added,Drive letter,Filename,File "
              "date,Genre,Length (m:s),Sample rate (Hz),Serialno. media,Size (KB),Volume "
              "label,Year\r");

    Ok("collection new Mix");
    Ok("collection add 1 2 1");
    const std::string tab = cli.dir / "mix.txt";
    Ok("export --format tab --out " + ShellQuote(tab) +
       " --columns 'POS,Title,Length (m:s)' --collection 1");
    EXPECT_EQ(ReadBytes(tab),
              "POS\tTitle\tLength (m:s)\r\n1\tRain\t00:03\r\n2\tBlue Sky\t00:03\r\n"
              "Generated by Sonarchive\r\n");
    EXPECT_EQ(cli.Run("export --format tab --out x --columns Nonsense").exitCode, 2);
    EXPECT_EQ(cli.Run("export --format dbase --out x").exitCode, 2);
    // PDF is the desktop program's: the command line says so and leaves no file behind.
    const CommandResult pdf = cli.Run("export --format pdf --out " + ShellQuote(cli.dir / "x.pdf"));
    EXPECT_EQ(pdf.exitCode, 2);
    EXPECT_NE(pdf.output.find("the desktop program writes PDF files"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(cli.dir / "x.pdf"));

    // A profile decides format, file, options and columns; a missing column is dropped.
    const std::string profile = cli.dir / "profile.json";
    WriteBytes(profile, "{\"format\": \"json\", \"file\": " + json(cli.dir / "profile.out").dump() +
                            ", \"columns\": [\"Year\", \"No such column\", \"Artist\"]}");
    Ok("export --spec " + ShellQuote(profile) + " 3 1");
    const json exported = json::parse(ReadBytes(cli.dir / "profile.out"));
    ASSERT_EQ(exported.size(), 2u);
    EXPECT_EQ(exported[1], (json{{"Year", 0}, {"Artist", "Ann"}}));
    EXPECT_EQ(exported[0]["Artist"], nullptr);
}

}  // namespace
}  // namespace sonarchive::cli
