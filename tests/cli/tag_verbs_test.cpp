// The tag verbs on files made by lame, oggenc and ffmpeg, checked against what ffprobe,
// vorbiscomment and id3v2 read back and against the catalog.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli_support.h"
#include "support/encoders.h"

namespace sonarchive::cli {
namespace {

using nlohmann::json;
using sonarchive::testing::CliRun;
using sonarchive::testing::CommandResult;
using sonarchive::testing::JsonLines;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::RunCommand;
using sonarchive::testing::ShellQuote;
using sonarchive::testing::TempDir;

const char* const kTagColumns[] = {"dTitle",    "dArtist",   "dAlbum",   "dComment",
                                   "dGenre",    "dComposer", "dEncoder", "dCopyright",
                                   "dLanguage", "dLink",     "dYear",    "dTrack"};

// The bytes and modification time of a file, to tell that nothing touched it.
std::pair<std::string, std::int64_t> Untouched(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return {ReadBytes(path), st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

class TagVerbs : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        pool_ = new TempDir;
        const TempDir& d = *pool_;
        const std::string tone = d / "tone.wav";
        ASSERT_TRUE(sonarchive::testing::MakeToneWav(tone, 2, 44100, 2));
        ASSERT_TRUE(sonarchive::testing::EncodeMp3(
            tone, d / "lame.mp3",
            "-b 128 --add-id3v2 --tt Title --ta Artist --tl Album --ty 1999 --tn 4 --tg Rock"));
        ASSERT_TRUE(sonarchive::testing::EncodeOgg(
            tone, d / "song.ogg",
            "-q 2 -t Title -a Artist -d 1987 -c 'REPLAYGAIN_TRACK_GAIN=-3.10 dB'"));
        ASSERT_TRUE(sonarchive::testing::RunFfmpeg(
            "-i " + ShellQuote(tone) + " -metadata title=Ffmpeg -metadata artist=Lavf " +
            ShellQuote(d / "ffmpeg.mp3")));
    }
    static void TearDownTestSuite() {
        delete pool_;
        pool_ = nullptr;
    }

    // A fresh copy of a pool file in the test's folder.
    std::string Copy(const std::string& name) {
        const std::string copy = cli.dir / name;
        std::filesystem::copy_file(*pool_ / name, copy,
                                   std::filesystem::copy_options::overwrite_existing);
        return copy;
    }

    void Settings(const std::string& jsonText) {
        std::filesystem::create_directories(cli.ConfigDir());
        std::ofstream(cli.ConfigDir() + "/settings.json") << jsonText;
    }

    // The rows of the catalog by id, as "list --json" prints them.
    std::map<std::int64_t, json> Rows() {
        std::map<std::int64_t, json> rows;
        for (const json& row : JsonLines(cli.RunStdout("list --json").output)) {
            rows[row["Id"].get<std::int64_t>()] = row;
        }
        return rows;
    }

    std::vector<std::int64_t> Add(const std::vector<std::string>& files) {
        std::string arguments = "add --json";
        for (const std::string& file : files) {
            arguments += " " + ShellQuote(file);
        }
        std::vector<std::int64_t> ids;
        for (const json& row : JsonLines(cli.RunStdout(arguments).output)) {
            ids.push_back(row["Id"].get<std::int64_t>());
        }
        EXPECT_EQ(ids.size(), files.size());
        return ids;
    }

    static std::string Tool(const std::string& commandLine) {
        const CommandResult result = RunCommand(commandLine);
        EXPECT_EQ(result.exitCode, 0) << commandLine << "\n" << result.output;
        return result.output;
    }

    // The decoded samples of an Ogg file.
    static std::string DecodedOgg(const std::string& path) {
        return Tool("ffmpeg -nostdin -v error -i " + ShellQuote(path) + " -f s16le - | md5sum");
    }

    static TempDir* pool_;
    CliRun cli;
};

TempDir* TagVerbs::pool_ = nullptr;

TEST_F(TagVerbs, ShowGivesTheEditorsView) {
    const std::string mp3 = Copy("lame.mp3");
    const CommandResult shown = cli.RunStdout("tag show --json " + ShellQuote(mp3));
    ASSERT_EQ(shown.exitCode, 0) << shown.output;
    const json view = json::parse(shown.output);
    EXPECT_EQ(view["tag_type"], 0);
    EXPECT_EQ(view["tag_type_label"], "Id3v2");
    EXPECT_EQ(view["fields"]["Title"], "Title");
    EXPECT_EQ(view["fields"]["Track"], 4);
    EXPECT_EQ(view["editable"]["Link"], true);
    EXPECT_EQ(view["tags"],
              json({{"id3v1", true}, {"id3v2", true}, {"ape", false}, {"ogg", false}}));

    const json ogg =
        json::parse(cli.RunStdout("tag show --json " + ShellQuote(Copy("song.ogg"))).output);
    EXPECT_EQ(ogg["tag_type_label"], "Ogg tag");
    EXPECT_EQ(ogg["editable"]["Year"], false);
    EXPECT_EQ(ogg["editable"]["Composer"], false);
    EXPECT_EQ(ogg["tags"]["ogg"], true);

    const json wav =
        json::parse(cli.RunStdout("tag show --json " + ShellQuote(*pool_ / "tone.wav")).output);
    EXPECT_EQ(wav["tag_type"], -1);
    EXPECT_EQ(wav["tag_type_label"], "N/A");
    const CommandResult plain = cli.RunStdout("tag show " + ShellQuote(Copy("song.ogg")));
    EXPECT_NE(plain.output.find("Tag type: Ogg tag\n"), std::string::npos);
    EXPECT_NE(plain.output.find("Year:   (read-only)\n"), std::string::npos);

    const CommandResult missing = cli.Run("tag show " + ShellQuote(cli.dir / "none.mp3"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("File not found (" + cli.dir / "none.mp3" + ")"),
              std::string::npos);
    EXPECT_EQ(cli.Run("tag").exitCode, 2);
    EXPECT_EQ(cli.Run("tag show").exitCode, 2);
}

TEST_F(TagVerbs, EditWritesTheTagAndTheRowEqualsTheTagReadBack) {
    const std::string mp3 = Copy("lame.mp3");
    const std::string before = ReadBytes(mp3);
    const std::int64_t id = Add({mp3})[0];
    const CommandResult edited = cli.RunStdout(
        "tag edit --title 'Éléphant' --comment \"It's new\" --composer Bach --track 12 --json " +
        ShellQuote(mp3));
    ASSERT_EQ(edited.exitCode, 0) << edited.output;
    const json result = json::parse(edited.output);
    EXPECT_EQ(result["Id"], id);
    EXPECT_EQ(result["tag"]["Title"], "Éléphant");
    EXPECT_EQ(result["tag"]["Artist"], "Artist");  // loaded from the file, written back

    const json row = Rows()[id];
    const json& tag = result["tag"];
    EXPECT_EQ(row["dTitle"], tag["Title"]);
    EXPECT_EQ(row["dArtist"], tag["Artist"]);
    EXPECT_EQ(row["dAlbum"], tag["Album"]);
    EXPECT_EQ(row["dComment"], tag["Comment"]);
    EXPECT_EQ(row["dGenre"], tag["Genre"]);
    EXPECT_EQ(row["dComposer"], tag["Composer"]);
    EXPECT_EQ(row["dTrack"], tag["Track"]);
    EXPECT_EQ(row["dYear"], std::stoi(tag["Year"].get<std::string>()));

    // The other tools read what was written; lame's own frames and the ID3v1 tag stay.
    const std::string listed = Tool("id3v2 -l " + ShellQuote(mp3));
    EXPECT_NE(listed.find("TIT2 (Title/songname/content description): Éléphant"), std::string::npos)
        << listed;
    EXPECT_NE(listed.find("TCOM (Composer): Bach"), std::string::npos);
    EXPECT_NE(listed.find("TSSE"), std::string::npos);
    EXPECT_NE(listed.find("Title  : Title"), std::string::npos);  // ID3v1
    const json probe = sonarchive::testing::Probe(mp3);
    EXPECT_EQ(probe["format"]["tags"]["title"], "Éléphant");
    EXPECT_EQ(probe["format"]["tags"]["comment"], "It's new");
    EXPECT_EQ(probe["format"]["tags"]["track"], "12");
    // The audio and the ID3v1 tag are the same bytes behind the new tag.
    const std::string after = ReadBytes(mp3);
    const auto tagSize = [](const std::string& bytes) {
        return 10 + (std::size_t(bytes[6]) << 21 | std::size_t(bytes[7]) << 14 |
                     std::size_t(bytes[8]) << 7 | std::size_t(bytes[9]));
    };
    EXPECT_EQ(after.substr(tagSize(after)), before.substr(tagSize(before)));

    // A file outside the catalog is written all the same, without a row.
    const std::string other = Copy("ffmpeg.mp3");
    const json loose =
        json::parse(cli.RunStdout("tag edit --album A --json " + ShellQuote(other)).output);
    EXPECT_TRUE(loose["Id"].is_null());
    EXPECT_EQ(loose["tag"]["Title"], "Ffmpeg");
    EXPECT_EQ(loose["tag"]["Album"], "A");
}

TEST_F(TagVerbs, AFileWhoseNameIsNotUtf8IsEditedAndItsRowFollows) {
    const std::string odd = cli.dir / "caf\xE9.mp3";  // one ISO-8859-1 byte in the name
    std::filesystem::copy_file(*pool_ / "lame.mp3", odd);
    const std::int64_t id = Add({odd})[0];

    const CommandResult edited =
        cli.RunStdout("tag edit --title Renamed --json " + ShellQuote(odd));
    ASSERT_EQ(edited.exitCode, 0) << edited.output;
    EXPECT_EQ(json::parse(edited.output)["Id"], id);
    EXPECT_NE(Tool("id3v2 -l " + ShellQuote(odd)).find(": Renamed"), std::string::npos);

    ASSERT_EQ(cli.RunStdout("tag set --yes --field Comment --value Kept " + std::to_string(id))
                  .exitCode,
              0);
    const json row = Rows()[id];
    EXPECT_EQ(row["dTitle"], "Renamed");
    EXPECT_EQ(row["dComment"], "Kept");
    EXPECT_FALSE(std::filesystem::exists(cli.dir / "caf\xC3\xA9.mp3"));  // no second file
}

TEST_F(TagVerbs, EditRefusesWhatTheEditedTagCannotTakeAndLeavesTheFileAlone) {
    const std::string ogg = Copy("song.ogg");
    const std::string mp3 = Copy("lame.mp3");
    const auto oggBefore = Untouched(ogg);
    const auto mp3Before = Untouched(mp3);
    for (const std::string& arguments :
         {"--year 2001 " + ShellQuote(ogg), "--composer X " + ShellQuote(ogg),
          "--track 65536 " + ShellQuote(ogg), "--track 70000 " + ShellQuote(mp3),
          "--import ogg " + ShellQuote(mp3), "--import ape " + ShellQuote(mp3)}) {
        const CommandResult refused = cli.Run("tag edit " + arguments);
        EXPECT_EQ(refused.exitCode, 1) << arguments << "\n" << refused.output;
    }
    Settings(R"({"MP3_PRIMARY_TAG": 1})");
    EXPECT_EQ(cli.Run("tag edit --genre Krautrock " + ShellQuote(mp3)).exitCode, 1);
    EXPECT_EQ(cli.Run("tag edit --copyright X " + ShellQuote(mp3)).exitCode, 1);
    EXPECT_EQ(cli.Run("tag edit --track 256 " + ShellQuote(mp3)).exitCode, 1);
    EXPECT_TRUE(Untouched(ogg) == oggBefore);
    EXPECT_TRUE(Untouched(mp3) == mp3Before);

    // With ID3v1 preferred, a genre of its list goes in; the ID3v2 tag is left alone.
    const CommandResult v1 = cli.Run("tag edit --genre jazz --title Short " + ShellQuote(mp3));
    EXPECT_EQ(v1.exitCode, 0) << v1.output;
    const std::string listed = Tool("id3v2 -l " + ShellQuote(mp3));
    EXPECT_NE(listed.find("Genre: Jazz (8)"), std::string::npos) << listed;
    EXPECT_NE(listed.find("TIT2 (Title/songname/content description): Title"), std::string::npos);

    EXPECT_EQ(cli.Run("tag edit --track x " + ShellQuote(mp3)).exitCode, 2);
    EXPECT_EQ(cli.Run("tag edit --import flac " + ShellQuote(mp3)).exitCode, 2);
}

TEST_F(TagVerbs, SetInSyncKeepsTagsAndRowsTogetherSoAReReadChangesNothing) {
    const std::string mp3 = Copy("lame.mp3");
    const std::string ogg = Copy("song.ogg");
    const std::string ffmpeg = Copy("ffmpeg.mp3");
    const std::string decoded = DecodedOgg(ogg);
    const std::vector<std::int64_t> ids = Add({mp3, ogg, ffmpeg});
    std::string idList;
    for (const std::int64_t id : ids) {
        idList += " " + std::to_string(id);
    }
    for (const std::string& change :
         {std::string("--field Comment --value \"It's set\""),
          std::string("--field dtitle --value New"), std::string("--field TRACK --value 9"),
          std::string("--field Genre --value Polka")}) {
        const CommandResult set = cli.Run("--yes tag set --sync " + change + idList);
        EXPECT_EQ(set.exitCode, 0) << change << "\n" << set.output;
        EXPECT_NE(set.output.find("Tags written: 3 of 3"), std::string::npos) << set.output;
    }
    // The Vorbis comment holds no year: that row is left out, and the run says so.
    const CommandResult year = cli.Run("--yes tag set --sync --field Year --value 2010" + idList);
    EXPECT_EQ(year.exitCode, 1);
    EXPECT_NE(year.output.find("Field not supported by current tag (Ogg tag): " + ogg),
              std::string::npos)
        << year.output;
    EXPECT_NE(year.output.find("Tags written: 2 of 3"), std::string::npos);

    const auto rows = Rows();
    ASSERT_EQ(cli.Run("reread").exitCode, 0);
    const auto reread = Rows();
    for (const std::int64_t id : ids) {
        for (const char* column : kTagColumns) {
            EXPECT_EQ(reread.at(id)[column], rows.at(id)[column]) << id << " " << column;
        }
    }
    EXPECT_EQ(rows.at(ids[0])["dComment"], "It's set");
    EXPECT_EQ(rows.at(ids[0])["dYear"], 2010);
    EXPECT_EQ(rows.at(ids[1])["dYear"], 0);

    const std::string comments = Tool("vorbiscomment -l " + ShellQuote(ogg));
    EXPECT_NE(comments.find("COMMENT=It's set\n"), std::string::npos) << comments;
    EXPECT_NE(comments.find("REPLAYGAIN_TRACK_GAIN=-3.10 dB\n"), std::string::npos);
    EXPECT_NE(comments.find("=1987\n"), std::string::npos);  // the date stays
    EXPECT_NE(comments.find("TRACKNUMBER=9\n"), std::string::npos);
    EXPECT_EQ(DecodedOgg(ogg), decoded);
    const std::string listed = Tool("id3v2 -l " + ShellQuote(ffmpeg));
    EXPECT_NE(listed.find("TYER (Year): 2010"), std::string::npos) << listed;
    EXPECT_NE(listed.find("TCON (Content type): Polka"), std::string::npos) << listed;
}

TEST_F(TagVerbs, SetReportsEveryRowAsksFirstAndFailsWhenARowIsLeftOut) {
    const std::string mp3 = Copy("lame.mp3");
    const std::string wav = cli.dir / "tone.wav";
    std::filesystem::copy_file(*pool_ / "tone.wav", wav);
    const std::vector<std::int64_t> ids = Add({mp3, wav});
    const std::string idList = " " + std::to_string(ids[0]) + " " + std::to_string(ids[1]);

    // Nobody at a terminal to answer: nothing changes.
    const CommandResult unasked = cli.Run("tag set --field Album --value X" + idList);
    EXPECT_EQ(unasked.exitCode, 1);
    EXPECT_NE(unasked.output.find("Update 2 files?"), std::string::npos) << unasked.output;
    EXPECT_EQ(Rows()[ids[0]]["dAlbum"], "Album");

    const CommandResult set =
        cli.RunStdout("--yes tag set --sync --json --field Album --value X" + idList);
    EXPECT_EQ(set.exitCode, 1);
    const std::vector<json> results = JsonLines(set.output);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0], json({{"Id", ids[0]},
                                {"path", mp3},
                                {"tag_written", true},
                                {"catalog_updated", true},
                                {"message", nullptr}}));
    EXPECT_EQ(results[1]["tag_written"], false);
    EXPECT_EQ(results[1]["catalog_updated"], false);
    EXPECT_EQ(results[1]["message"], "Field not supported by current tag (): " + wav);

    // The default mode updates every row; with the question switched off nothing is asked.
    Settings(R"({"CONFIRM_MASS_UPDATE": 0})");
    const CommandResult always = cli.Run("tag set --field Album --value Y" + idList);
    EXPECT_EQ(always.exitCode, 0) << always.output;
    EXPECT_NE(always.output.find("Tags written: 1 of 2"), std::string::npos);
    EXPECT_EQ(Rows()[ids[1]]["dAlbum"], "Y");

    EXPECT_EQ(cli.Run("tag set --field Year --value 1e3" + idList).exitCode, 2);
    EXPECT_EQ(cli.Run("tag set --field Year --value 10000" + idList).exitCode, 2);
    EXPECT_EQ(cli.Run("tag set --field dPath --value x" + idList).exitCode, 2);
    EXPECT_EQ(cli.Run("tag set --field Album --value x").exitCode, 2);
    EXPECT_EQ(cli.Run("tag set --field Album --value x 999").exitCode, 1);
}

TEST_F(TagVerbs, RemoveAsksFirstAndLeavesTheCatalogAlone) {
    const std::string mp3 = Copy("lame.mp3");
    const std::int64_t id = Add({mp3})[0];
    const auto before = Untouched(mp3);
    const CommandResult unasked = cli.Run("tag remove --id3v1 " + ShellQuote(mp3));
    EXPECT_EQ(unasked.exitCode, 1);
    EXPECT_NE(unasked.output.find("Remove tag?"), std::string::npos);
    EXPECT_TRUE(Untouched(mp3) == before);

    ASSERT_EQ(cli.Run("--yes tag remove --id3v1 " + ShellQuote(mp3)).exitCode, 0);
    EXPECT_EQ(ReadBytes(mp3), before.first.substr(0, before.first.size() - 128));
    EXPECT_NE(Tool("id3v2 -l " + ShellQuote(mp3)).find("No ID3v1 tag"), std::string::npos);
    EXPECT_EQ(cli.Run("--yes tag remove --id3v1 " + ShellQuote(mp3)).exitCode, 1);  // gone
    EXPECT_EQ(cli.Run("--yes tag remove --ape " + ShellQuote(mp3)).exitCode, 1);    // no APE in MP3
    EXPECT_EQ(cli.Run("--yes tag remove " + ShellQuote(mp3)).exitCode, 2);

    Settings(R"({"CONFIRM_DELETE_TAG": 0})");
    ASSERT_EQ(cli.Run("tag remove --id3v2 " + ShellQuote(mp3)).exitCode, 0);
    EXPECT_EQ(ReadBytes(mp3).substr(0, 4),
              std::string("\xFF\xFB", 2) + ReadBytes(mp3).substr(2, 2));
    EXPECT_EQ(Rows()[id]["dTitle"], "Title");
}

}  // namespace
}  // namespace sonarchive::cli
