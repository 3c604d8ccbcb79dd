// What the verbs' help texts are read to take, and what the completion offers from that.
#include "cli/completion.h"

#include <gtest/gtest.h>

#include "cli/usage_forms.h"

namespace sonarchive::cli {
namespace {

using Words = std::vector<std::string>;

int NoRun(Arguments&, CliContext&) {
    return 0;
}

const std::vector<Verb>& FakeVerbs() {
    static const std::vector<Verb> verbs = {
        {"add", "add files",
         "Usage: sonarchive-cli [--data-dir DIR] add [--formats LIST|all] [--no-subfolders]\n"
         "                      [--json] FOLDER|FILE...\n"
         "       sonarchive-cli [--data-dir DIR] add [--formats LIST|all] --all-drives\n\n"
         "Adds [--not-an-option] files.\n",
         NoRun},
        {"search", "find rows",
         "Usage: sonarchive-cli [--data-dir DIR] search [--json] --field CAPTION --condition OP\n"
         "                      [--value V]\n"
         "       sonarchive-cli search --where \"FIELD|CONDITION\"...\n",
         NoRun},
        {"collection", "collections",
         "Usage: sonarchive-cli [--data-dir DIR] collection new NAME [--sortable]\n"
         "       sonarchive-cli collection add ID FILEID...\n"
         "       sonarchive-cli collection move ID --up|--down MEMBERID...\n"
         "       sonarchive-cli collection delete ID... [--yes]\n"
         "       sonarchive-cli collection export ID --out FILE\n",
         NoRun},
        {"count", "count rows", "Usage: sonarchive-cli [--data-dir DIR] count\n", NoRun},
        {"organize", "organize",
         "Usage: sonarchive-cli organize [--base DIR] [--copy|--move] [--all|ID...]\n"
         "          [--names keep|title|format:F] [--fields a,b]\n",
         NoRun},
    };
    return verbs;
}

class Completing : public ::testing::Test {
protected:
    Completion Complete(const Words& words) {
        return CompleteCommandLine(words, {FakeVerbs(),
                                           [] {
                                               return Words{"Artist", "Album", "Date Added"};
                                           },
                                           [this](const std::string& dataDirectory) {
                                               askedDataDirectory = dataDirectory;
                                               return Words{"3", "12"};
                                           }});
    }
    Words Offered(const Words& words) {
        const Completion completion = Complete(words);
        EXPECT_EQ(completion.kind, CompletionKind::Words);
        return completion.words;
    }
    std::string askedDataDirectory = "(not asked)";
};

TEST(UsageForms, OptionsValuesAlternativesAndArgumentsOfEveryStatement) {
    const auto add = ReadUsageForms("add", FakeVerbs()[0].help);
    ASSERT_EQ(add.size(), 2u);
    EXPECT_EQ(add[0].subVerb, "");
    ASSERT_EQ(add[0].options.size(), 3u);
    EXPECT_EQ(add[0].options[0].name, "--formats");
    EXPECT_EQ(add[0].options[0].value, "LIST|all");
    EXPECT_EQ(add[0].options[1].value, "");
    EXPECT_EQ(add[0].positionals, Words{"FOLDER|FILE..."});  // from the statement's 2nd line
    EXPECT_EQ(add[1].options.back().name, "--all-drives");

    const auto search = ReadUsageForms("search", FakeVerbs()[1].help);
    ASSERT_EQ(search.size(), 2u);
    EXPECT_EQ(search[0].options[1].value, "CAPTION");
    EXPECT_EQ(search[0].options[3].name, "--value");
    EXPECT_EQ(search[1].options[0].value, "\"FIELD|CONDITION\"...");  // a quoted value repeats

    const auto collection = ReadUsageForms("collection", FakeVerbs()[2].help);
    ASSERT_EQ(collection.size(), 5u);
    EXPECT_EQ(collection[0].subVerb, "new");
    EXPECT_EQ(collection[0].positionals, Words{"NAME"});
    // Alternatives are flags, and the repeated word after them is an argument, not their value.
    EXPECT_EQ(collection[2].options.size(), 2u);
    EXPECT_EQ(collection[2].options[1].value, "");
    EXPECT_EQ(collection[2].positionals, (Words{"ID", "MEMBERID..."}));
    EXPECT_EQ(collection[4].options[0].value, "FILE");

    const auto organize = ReadUsageForms("organize", FakeVerbs()[4].help);
    ASSERT_EQ(organize.size(), 1u);
    EXPECT_EQ(organize[0].options[0].value, "DIR");
    EXPECT_EQ(organize[0].options[3].name, "--all");
    EXPECT_EQ(organize[0].positionals, Words{"ID..."});

    EXPECT_TRUE(ReadUsageForms("count", "no usage here").empty());
}

TEST(UsageForms, SplitsUsageFromTheTextAlsoWithoutAnEmptyLine) {
    const HelpParts parts =
        SplitHelp("Usage: /opt/bin/prog [options] files\nKeeps things.\n\nOptions:\n  -h  help\n");
    EXPECT_EQ(parts.usage, Words{"/opt/bin/prog [options] files"});
    EXPECT_EQ(parts.body, "Keeps things.\n\nOptions:\n  -h  help\n");
    EXPECT_EQ(SplitHelp("no usage").body, "no usage");

    EXPECT_EQ(PlaceholderChoices("artist|album|genre"), (Words{"artist", "album", "genre"}));
    EXPECT_EQ(PlaceholderChoices("LIST|all"), Words{"all"});
    EXPECT_EQ(PlaceholderChoices("keep|title|format:F"), (Words{"keep", "title"}));
    EXPECT_TRUE(PlaceholderChoices("a,b").empty());
}

TEST_F(Completing, VerbsSubVerbsAndOptionsByWhatIsTyped) {
    EXPECT_EQ(Offered({"co"}), (Words{"collection", "count"}));
    EXPECT_EQ(Offered({""}).size(), FakeVerbs().size());
    EXPECT_EQ(Offered({"-"}), (Words{"--data-dir", "--help", "--yes"}));
    EXPECT_EQ(Offered({"--data-dir", "/x", "se"}), Words{"search"});
    EXPECT_EQ(Offered({"collection", ""}), (Words{"new", "add", "move", "delete", "export"}));
    EXPECT_EQ(Offered({"collection", "move", "3", "--"}), (Words{"--up", "--down", "--help"}));
    // Each option once, from every statement of the verb; words of the text are none.
    EXPECT_EQ(Offered({"add", "--"}),
              (Words{"--formats", "--no-subfolders", "--json", "--all-drives", "--help"}));
    EXPECT_TRUE(Offered({"frobnicate", ""}).empty());
}

TEST_F(Completing, ValuesOfOptionsAndArguments) {
    EXPECT_EQ(Offered({"search", "--field", ""}), (Words{"Artist", "Album", "Date Added"}));
    EXPECT_EQ(Offered({"search", "--json", "--field", "\"Da"}), Words{"Date Added"});
    EXPECT_EQ(Offered({"add", "--formats", ""}), Words{"all"});
    EXPECT_EQ(Offered({"organize", "--names", "t"}), Words{"title"});
    EXPECT_EQ(Complete({"add", ""}).kind, CompletionKind::Files);
    EXPECT_EQ(Complete({"add", "a.mp3", "b/"}).kind, CompletionKind::Files);  // repeats
    EXPECT_EQ(Complete({"organize", "--base", ""}).kind, CompletionKind::Folders);
    EXPECT_EQ(Complete({"collection", "export", "3", "--out", ""}).kind, CompletionKind::Files);
    EXPECT_EQ(Complete({"--data-dir", ""}).kind, CompletionKind::Folders);
    EXPECT_EQ(Complete({"count", "--data-dir", ""}).kind, CompletionKind::Folders);
    EXPECT_TRUE(Offered({"collection", "new", ""}).empty());  // a NAME is the user's own
}

TEST_F(Completing, CollectionIdsFromTheCatalogOfTheDataDirectoryGiven) {
    EXPECT_EQ(Offered({"collection", "delete", "1"}), Words{"12"});
    EXPECT_EQ(askedDataDirectory, "");
    EXPECT_EQ(Offered({"--data-dir", "/music/db", "collection", "add", ""}), (Words{"3", "12"}));
    EXPECT_EQ(askedDataDirectory, "/music/db");
    Offered({"collection", "delete", "--data-dir=/other", "3", ""});  // every ID is one
    EXPECT_EQ(askedDataDirectory, "/other");

    // After the collection come file and member ids, which are no collections.
    askedDataDirectory = "(not asked)";
    EXPECT_TRUE(Offered({"collection", "add", "3", ""}).empty());
    EXPECT_TRUE(Offered({"collection", "move", "3", "--up", ""}).empty());
    EXPECT_TRUE(Offered({"organize", "--all", ""}).empty());
    EXPECT_EQ(askedDataDirectory, "(not asked)");
}

}  // namespace
}  // namespace sonarchive::cli
