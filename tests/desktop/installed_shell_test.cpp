// What an installation gives the shell: the manual pages as man renders them, and the
// completion as bash runs it, both following the verbs the installed program has.
#include <filesystem>
#include <sstream>

#include "installation.h"

namespace sonarchive::testing {
namespace {

class InstalledShell : public Installation {
protected:
    static std::string Cli() { return Installed("bin/sonarchive-cli"); }
    static std::string CompletionScript() {
        return Installed("share/bash-completion/completions/sonarchive-cli");
    }

    // The verbs the installed program's --help lists.
    static std::vector<std::string> Verbs() {
        const CommandResult help = RunCommand(ShellQuote(Cli()) + " --help");
        std::vector<std::string> verbs;
        std::istringstream lines(help.output.substr(help.output.find("Verbs:\n") + 7));
        for (std::string line; std::getline(lines, line) && line.rfind("  ", 0) == 0;) {
            verbs.push_back(line.substr(2, line.find(' ', 2) - 2));
        }
        return verbs;
    }

    // COMPREPLY of the installed completion for a command line whose last word is completed,
    // in a bash of its own that finds the installed program first on its PATH.
    std::vector<std::string> Completions(const std::vector<std::string>& words) {
        std::string quoted;
        for (const std::string& word : words) {
            quoted += " " + ShellQuote(word);
        }
        const CommandResult run =
            RunCommand("PATH=" + ShellQuote(Prefix() + "/bin") + ":\"$PATH\" SONARCHIVE_DATA_DIR=" +
                       ShellQuote(*home_ / "data") + " bash --norc --noprofile -c " +
                       ShellQuote("source \"$1\"; COMP_WORDS=(\"${@:2}\"); "
                                  "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _sonarchive_cli; "
                                  "printf '%s\\n' \"${COMPREPLY[@]}\"") +
                       " _ " + ShellQuote(CompletionScript()) + " sonarchive-cli" + quoted);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        std::vector<std::string> replies;
        std::istringstream lines(run.output);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty()) {
                replies.push_back(line);
            }
        }
        std::sort(replies.begin(), replies.end());
        return replies;
    }

    std::unique_ptr<TempDir> home_ = std::make_unique<TempDir>();
};

TEST_F(InstalledShell, ManualPagesRenderCleanlyWithASectionForEveryVerb) {
    ExpectTool("man");
    for (const char* page : {"sonarchive", "sonarchive-cli"}) {
        const std::string path = Installed(std::string("share/man/man1/") + page + ".1.gz");
        // As packaging checks do: every warning of groff and man shows on standard error.
        const CommandResult checked = RunCommand(
            "LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z " +
            ShellQuote(path) + " 2>&1 >/dev/null");
        EXPECT_EQ(checked.exitCode, 0) << page;
        EXPECT_EQ(checked.output, "") << page;
    }
    const CommandResult shown =
        RunCommand("LC_ALL=C.UTF-8 MANWIDTH=200 man -l " +
                   ShellQuote(Installed("share/man/man1/sonarchive-cli.1.gz")) + " 2>/dev/null");
    const std::vector<std::string> verbs = Verbs();
    ASSERT_GE(verbs.size(), 10u);
    for (const std::string& verb : verbs) {
        const std::size_t at = shown.output.find("\n   " + verb + "\n");
        ASSERT_NE(at, std::string::npos) << verb;
        // The section ends where the next heading (three spaces in, or none) begins.
        std::size_t end = at + 1;
        do {
            end = shown.output.find('\n', end + 1);
        } while (end != std::string::npos && (shown.output.compare(end + 1, 1, "\n") == 0 ||
                                              shown.output.compare(end + 1, 7, "       ") == 0));
        const std::string section = shown.output.substr(at, end - at);
        EXPECT_NE(section.find("sonarchive-cli"), std::string::npos) << verb;
        EXPECT_NE(section.find("Options: "), std::string::npos) << verb;
        EXPECT_NE(section.find("Exit status: 0 on success"), std::string::npos) << verb;
    }
    for (const char* part : {"EXIT STATUS", "FILES", "ENVIRONMENT", "SEE ALSO", "--data-dir DIR"}) {
        EXPECT_NE(shown.output.find(part), std::string::npos) << part;
    }
}

TEST_F(InstalledShell, CompletionAsksTheInstalledProgram) {
    ExpectTool("bash");
    EXPECT_EQ(Completions({"co"}), (std::vector<std::string>{"collection", "count"}));
    EXPECT_EQ(Completions({""}).size(), Verbs().size());
    const std::vector<std::string> captions = Completions({"search", "--field", ""});
    EXPECT_EQ(captions.size(), 20u);
    for (const char* caption : {"Artist", "Album", "Title", "Year", "Date\\ Added"}) {
        EXPECT_NE(std::find(captions.begin(), captions.end(), caption), captions.end()) << caption;
    }
    EXPECT_EQ(Completions({"search", "--field", "Da"}), std::vector<std::string>{"Date\\ Added"});
    EXPECT_EQ(Completions({"verify", "--"}),
              (std::vector<std::string>{"--help", "--json", "--quick"}));

    // Files through bash's own compgen, and collection ids from the catalog named.
    WriteBytes(*home_ / "song one.mp3", "");
    EXPECT_EQ(Completions({"inspect", *home_ / "song"}),
              std::vector<std::string>{*home_ / "song one.mp3"});
    const std::string data = *home_ / "other";
    for (const char* name : {"Road", "Rain"}) {
        const CommandResult made = RunCommand(
            "SONARCHIVE_CONFIG_DIR=" + ShellQuote(*home_ / "cfg") + " " + ShellQuote(Cli()) +
            " --data-dir " + ShellQuote(data) + " collection new " + name);
        ASSERT_EQ(made.exitCode, 0) << made.output;
    }
    EXPECT_EQ(Completions({"--data-dir", data, "collection", "show", ""}),
              (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(Completions({"collection", "show", ""}).empty());  // the default catalog has none
}

TEST_F(InstalledShell, BashCompletionFindsTheScriptWhereItWasInstalled) {
    const std::string loader = "/usr/share/bash-completion/bash_completion";
    if (!std::filesystem::exists(loader)) {
        GTEST_FAIL() << "bash-completion is missing; scripts/test installs it";
    }
    const CommandResult loaded = RunCommand("XDG_DATA_DIRS=" + ShellQuote(Prefix() + "/share") +
                                            " bash --norc --noprofile -c " +
                                            ShellQuote("source " + loader +
                                                       "; _completion_loader sonarchive-cli; "
                                                       "complete -p sonarchive-cli"));
    EXPECT_EQ(loaded.output, "complete -F _sonarchive_cli sonarchive-cli\n");
}

}  // namespace
}  // namespace sonarchive::testing
