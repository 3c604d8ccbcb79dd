// search, browse and delete on a catalog made by add from files made by real encoders.
#include <gtest/gtest.h>

#include <algorithm>
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
using sonarchive::testing::ShellQuote;
using sonarchive::testing::TempDir;

struct Song {
    const char* file;
    const char* tags;  // lame's options
};

// Tagged alike in all but case, apostrophes, a missing album, and a non-ASCII artist.
constexpr Song kSongs[] = {
    {"yesterday.mp3", "--ta 'THE BEATLES' --tt Yesterday --tl Help! --ty 1965 --tg Rock"},
    {"help.mp3", "--ta 'the beatles' --tt Help --tl Help! --ty 1965 --tg rock"},
    {"quote.mp3", "--ta \"O'Neil\" --tt Quote --ty 1990 --tg Pop"},
    {"joga.mp3", "--ta 'Björk' --tt 'Jóga' --tl Homogenic --ty 1997 --tg Pop"},
};

class ListVerbs : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        files_ = new TempDir;
        const std::string tone = *files_ / "tone.wav";
        ASSERT_TRUE(sonarchive::testing::MakeToneWav(tone, 0.5, 44100, 1));
        for (const Song& song : kSongs) {
            ASSERT_TRUE(sonarchive::testing::EncodeMp3(tone, *files_ / song.file,
                                                       std::string("-b 128 ") + song.tags));
        }
    }
    static void TearDownTestSuite() {
        delete files_;
        files_ = nullptr;
    }

    ListVerbs() {
        std::filesystem::create_directories(music);
        for (const Song& song : kSongs) {
            std::filesystem::copy_file(*files_ / song.file, music + "/" + song.file);
        }
        const CommandResult added = cli.Run("add " + ShellQuote(music));
        EXPECT_EQ(added.exitCode, 0) << added.output;
    }

    // The JSON objects of the standard output, one a line.
    std::vector<json> Objects(const std::string& arguments, int expectedExit = 0) {
        const CommandResult result = cli.RunStdout(arguments);
        EXPECT_EQ(result.exitCode, expectedExit) << result.output;
        std::vector<json> objects;
        std::istringstream lines(result.output);
        for (std::string line; std::getline(lines, line);) {
            objects.push_back(json::parse(line));
        }
        return objects;
    }

    std::vector<std::string> Titles(const std::string& arguments) {
        std::vector<std::string> titles;
        for (const json& row : Objects(arguments + " --json")) {
            titles.push_back(row["dTitle"]);
        }
        return titles;
    }

    // The same, in sorted order, where the engine decides the order.
    std::vector<std::string> SortedTitles(const std::string& arguments) {
        std::vector<std::string> titles = Titles(arguments);
        std::sort(titles.begin(), titles.end());
        return titles;
    }

    std::string IdOf(const std::string& title) {
        const auto rows = Objects("search --json --field Title --condition 'Exact match' --value " +
                                  ShellQuote(title));
        EXPECT_EQ(rows.size(), 1u) << title;
        return rows.empty() ? "" : std::to_string(rows[0]["Id"].get<int>());
    }

    std::vector<std::string> Lines(const std::string& output) {
        std::vector<std::string> lines;
        std::istringstream in(output);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    static TempDir* files_;
    CliRun cli;
    std::string music = cli.dir / "music";
};

TempDir* ListVerbs::files_ = nullptr;

TEST_F(ListVerbs, SearchPrintsTheRowsThenTheCaption) {
    const CommandResult plain =
        cli.RunStdout("search --field Artist --condition Contains --value \"o'neil\"");
    ASSERT_EQ(plain.exitCode, 0) << plain.output;
    const std::vector<std::string> lines = Lines(plain.output);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].starts_with("Id\tdDateAdded\t"));
    EXPECT_NE(lines[1].find("\tO'Neil\tQuote\t"), std::string::npos);
    EXPECT_EQ(lines[2], "\"Artist Contains o'neil\" - found 1 rows");

    // With --json the caption goes to standard error.
    const CommandResult both =
        cli.Run("search --json --field artist --condition 'Exact match' --value BJÖRK");
    EXPECT_NE(both.output.find("\"dTitle\":\"Jóga\""), std::string::npos);
    EXPECT_NE(both.output.find("\"artist Exact match BJÖRK\" - found 1 rows"), std::string::npos);
    const auto rows = Objects("search --json --field Year --condition '>=' --value 1990");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]["FullPath"], music + "/joga.mp3");
    EXPECT_EQ(Titles("search --field 'Date Added' --condition '>' --value 2000-01-01").size(), 4u);
}

TEST_F(ListVerbs, SearchWithUpToFiveConditionsCheckedAsTheGridChecksThem) {
    EXPECT_EQ(SortedTitles("search --where 'Artist|Contains|beatles|AND' --where 'Year|>|1964'"),
              (std::vector<std::string>{"Help", "Yesterday"}));
    EXPECT_EQ(SortedTitles(
                  "search --where 'Genre|Exact match|pop|OR' --where 'Title|Contains|help|IGNORE'"
                  " --where 'Year|=|1965'"),
              (std::vector<std::string>{"Help", "Jóga", "Quote"}));
    const CommandResult caption = cli.Run("search --where 'Sample rate (hz)|>=|44100'");
    EXPECT_NE(caption.output.find("Advanced search - found 4 rows"), std::string::npos);

    for (const char* refused :
         {"--where 'Year|>|199x'", "--where 'Year|Contains|1'", "--where 'Colour|=|1'",
          "--where 'Title|Contains|a|XOR'", "--where 'Date Added|>|1.5.2004'",
          "--where 'Title|Contains'", "--field Title --condition '>' --value a",
          "--field Track --condition = --value -1", "--field Title",
          "--where 'Year|=|1|AND' --field Title --condition Contains",
          "--where 'Year|=|1|AND' --where 'Year|=|1|AND' --where 'Year|=|1|AND' "
          "--where 'Year|=|1|AND' --where 'Year|=|1|AND' --where 'Year|=|1'"}) {
        EXPECT_EQ(cli.Run(std::string("search ") + refused).exitCode, 2) << refused;
    }
}

TEST_F(ListVerbs, BrowseListsGroupsAndTheRowsOfOneInAnyCase) {
    const CommandResult artists = cli.RunStdout("browse --by artist");
    EXPECT_EQ(artists.output, "Björk\nO'neil\nThe Beatles\n");
    const auto albums = Objects("browse --by album --json");
    ASSERT_EQ(albums.size(), 3u);
    EXPECT_EQ(albums[0], (json{{"group", ""}, {"key", ""}}));
    EXPECT_EQ(albums[1], (json{{"group", "Help!"}, {"key", "HELP!"}}));

    EXPECT_EQ(Titles("browse --by artist 'the BEATLES'"),
              (std::vector<std::string>{"Help", "Yesterday"}));
    EXPECT_EQ(Titles("browse --by artist \"o'neil\""), std::vector<std::string>{"Quote"});
    EXPECT_EQ(Titles("browse --by album ''"), std::vector<std::string>{"Quote"});
    EXPECT_EQ(SortedTitles("browse --by genre ROCK"),
              (std::vector<std::string>{"Help", "Yesterday"}));
    const std::vector<std::string> plain = Titles("browse --by plain");
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(std::vector(plain.begin(), plain.begin() + 2),
              (std::vector<std::string>{"Jóga", "Quote"}))
        << "ordered by artist as the engine compares texts";
    EXPECT_EQ(cli.Run("browse --by plain x").exitCode, 2);
    EXPECT_EQ(cli.Run("browse --by year").exitCode, 2);
    EXPECT_EQ(cli.Run("browse").exitCode, 2);
}

TEST_F(ListVerbs, DeleteAsksAndReportsWhatWentAndWhatFailed) {
    const std::string quote = IdOf("Quote");
    const CommandResult refused = cli.Run("delete " + quote + " " + IdOf("Help"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.output.find("Remove 2 file references from the archive?"), std::string::npos);
    EXPECT_EQ(Objects("search --json --field Year --condition '>' --value 0").size(), 4u);

    const json deleted = json::parse(R"({"deleted":[)" + quote + R"(],"failed":[]})");
    EXPECT_EQ(Objects("delete --yes --json " + quote), std::vector<json>{deleted});
    EXPECT_TRUE(std::filesystem::exists(music + "/quote.mp3"));

    // From disk: one file was removed behind the catalog's back, so deleting it fails.
    const std::string help = IdOf("Help");
    std::filesystem::remove(music + "/yesterday.mp3");
    const auto group = Objects("delete --yes --json --from-disk --group artist 'The Beatles'", 1);
    ASSERT_EQ(group.size(), 1u);
    EXPECT_EQ(group[0]["deleted"], json::parse("[" + help + "]"));
    EXPECT_EQ(group[0]["failed"], json({"Couldn't delete file \"" + music + "/yesterday.mp3\""}));
    EXPECT_FALSE(std::filesystem::exists(music + "/help.mp3"));
    EXPECT_EQ(SortedTitles("browse --by plain"), (std::vector<std::string>{"Jóga", "Yesterday"}));

    const CommandResult unknown = cli.Run("delete --yes 99");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.output.find("no row has the id 99"), std::string::npos);
    EXPECT_EQ(cli.Run("delete --yes --from-disk " + IdOf("Jóga")).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(music + "/joga.mp3"));
    EXPECT_EQ(cli.Run("delete --group artist").exitCode, 2);
    EXPECT_EQ(cli.Run("delete").exitCode, 2);
    EXPECT_EQ(cli.Run("delete x").exitCode, 2);
}

}  // namespace
}  // namespace sonarchive::cli
