// Manual pages written from help texts: what roff is given, and what of the help reaches it.
#include "man_pages/man_page.h"

#include <gtest/gtest.h>

namespace sonarchive::man {
namespace {

TEST(ManPage, TextIsMadeLiteralForRoff) {
    EXPECT_EQ(RoffText("--data-dir C:\\x"), "\\-\\-data\\-dir C:\\ex");
    EXPECT_EQ(RoffText(".hidden\n'quoted' it's\nok."), "\\&.hidden\n\\&'quoted' it's\nok.");
    EXPECT_EQ(RoffText("Björk"), "Björk");
}

TEST(ManPage, HelpBodyGivesParagraphsListsAndTheExitStatus) {
    const HelpBody body = ReadHelpBody(
        "Keeps a catalog.\nOf audio files.\n\n"
        "Options:\n"
        "  -h, --help        Displays help.\n"
        "  --data-dir <DIR>  The catalog's folder (default: a,\n"
        "                    else b).\n\n"
        "Verbs:\n"
        "  add         add files\n"
        "  abcdefghijkl sorts the rest\n\n"
        "Exit status: 0 on success, 2 on bad usage.\n\n"
        "  indented example\n  second line\n");
    ASSERT_EQ(body.paragraphs.size(), 2u);
    EXPECT_EQ(body.paragraphs[0], "Keeps a catalog.\nOf audio files.");
    EXPECT_EQ(body.paragraphs[1], "  indented example\n  second line");
    ASSERT_EQ(body.sections.size(), 2u);
    EXPECT_EQ(body.sections[0].heading, "Options");
    ASSERT_EQ(body.sections[0].entries.size(), 2u);
    EXPECT_EQ(body.sections[0].entries[0].term, "-h, --help");
    EXPECT_EQ(body.sections[0].entries[1].term, "--data-dir <DIR>");
    EXPECT_EQ(body.sections[0].entries[1].description,
              "The catalog's folder (default: a, else b).");
    ASSERT_EQ(body.sections[1].entries.size(), 2u);
    EXPECT_EQ(body.sections[1].entries[1].term, "abcdefghijkl");
    EXPECT_EQ(body.sections[1].entries[1].description, "sorts the rest");
    EXPECT_EQ(body.exitStatus, "Exit status: 0 on success, 2 on bad usage.");
}

TEST(ManPage, EveryVerbGetsASectionWithItsUsageOptionsAndExitStatus) {
    ManPageSource source;
    source.name = "prog";
    source.summary = "does things";
    source.version = "1.2";
    source.help =
        "Usage: /build/prog [--data-dir DIR] VERB\n\nDoes things.\n\n"
        "Verbs:\n  one  the first\n  two  the second\n\nExit status: 0 fine, 1 not.\n";
    source.verbs = {{"one", "the first",
                     "Usage: prog [--data-dir DIR] one [--json] [--by a|b] FILE...\n\n"
                     "Reads FILE.\n.Dotted line.\n"},
                    {"two", "the second", "Usage: prog two\n\nExit status 1 when two fails.\n"}};
    source.includedRoff = ".SH FILES\nsome.\n";
    source.seeAlso = {"other"};
    const std::string page = WriteManPage(source);

    const auto has = [&page](const std::string& part) {
        return page.find(part) != std::string::npos;
    };
    EXPECT_EQ(page.rfind(".TH \"PROG\" 1 \"\" \"prog 1.2\" \"User Commands\"\n", 0), 0u);
    EXPECT_TRUE(has(".SH NAME\nprog \\- does things\n"));
    // The usage shows the page's name, not the path the help was made with.
    EXPECT_TRUE(has(".SH SYNOPSIS\n\\fBprog\\fR [\\-\\-data\\-dir DIR] VERB\n"));
    EXPECT_FALSE(has("/build/prog"));
    EXPECT_TRUE(has(".SH DESCRIPTION\n.PP\nDoes things.\n"));
    EXPECT_TRUE(
        has(".SH VERBS\n.SS one\nthe first.\n.PP\n\\fBprog\\fR [\\-\\-data\\-dir DIR] "
            "\\fBone\\fR [\\-\\-json] [\\-\\-by a|b] FILE...\n.PP\nReads FILE.\n"
            "\\&.Dotted line.\n"));
    EXPECT_TRUE(
        has(".PP\nOptions: \\fB\\-\\-json\\fR, \\fB\\-\\-by\\fR \\fIa|b\\fR\n"
            ".PP\nExit status: 0 fine, 1 not.\n.SS two\n"));
    // A verb's own word on its exit status comes before the program's.
    EXPECT_TRUE(has("Options: none\n.PP\nExit status 1 when two fails.\n.PP\nExit status: 0 fine"));
    EXPECT_TRUE(
        has(".SH \"EXIT STATUS\"\n0 fine, 1 not.\n.SH FILES\nsome.\n"
            ".SH \"SEE ALSO\"\n.BR other (1)\n"));
}

}  // namespace
}  // namespace sonarchive::man
