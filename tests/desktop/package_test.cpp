// The Debian package as scripts/package makes it from the built tree: what it holds, the
// libraries it asks for, and programs that run from it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "support/test_support.h"

namespace sonarchive::testing {
namespace {

const std::string kId = SONARCHIVE_DESKTOP_ID;

bool Lists(const std::string& listing, const std::string& path) {
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() >= path.size() &&
            line.compare(line.size() - path.size(), path.size(), path) == 0) {
            return true;
        }
    }
    return false;
}

TEST(DebianPackage, HoldsTheProgramsWhatTheDesktopAndShellUseAndTheLibrariesTheyNeed) {
    if (!HaveProgram("dpkg-deb") || !HaveProgram("dpkg-shlibdeps")) {
        GTEST_FAIL() << "dpkg-deb and dpkg-shlibdeps are missing; scripts/package installs them";
    }
    TempDir out;
    const CommandResult made = RunCommand(
        "cd " + ShellQuote(SONARCHIVE_BUILD_DIR) + " && " + ShellQuote(SONARCHIVE_CPACK) +
        " --config CPackConfig.cmake -B " + ShellQuote(out.Path()) + " 2>&1");
    ASSERT_EQ(made.exitCode, 0) << made.output;
    std::string deb;
    for (const auto& entry : std::filesystem::directory_iterator(out.Path())) {
        if (entry.path().extension() == ".deb") {
            deb = entry.path().string();
        }
    }
    ASSERT_NE(deb, "") << made.output;

    const std::string contents = RunCommand("dpkg-deb -c " + ShellQuote(deb)).output;
    std::vector<std::string> expected = {"./usr/bin/sonarchive",
                                         "./usr/bin/sonarchive-cli",
                                         "./usr/share/applications/" + kId + ".desktop",
                                         "./usr/share/metainfo/" + kId + ".metainfo.xml",
                                         "./usr/share/icons/hicolor/scalable/apps/" + kId + ".svg",
                                         "./usr/share/man/man1/sonarchive.1.gz",
                                         "./usr/share/man/man1/sonarchive-cli.1.gz",
                                         "./usr/share/bash-completion/completions/sonarchive-cli",
                                         "./usr/share/doc/sonarchive/copyright"};
    for (const char* size : {"16", "22", "24", "32", "48", "64", "128", "256", "512"}) {
        expected.push_back("./usr/share/icons/hicolor/" + std::string(size) + "x" + size +
                           "/apps/" + kId + ".png");
    }
    for (const std::string& path : expected) {
        EXPECT_TRUE(Lists(contents, path)) << path << " missing from\n" << contents;
    }

    const std::string depends = RunCommand("dpkg-deb -f " + ShellQuote(deb) + " Depends").output;
    for (const char* library : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6network6",
                                "libqt6multimedia6", "libsqlite3-0", "libicu"}) {
        EXPECT_NE(depends.find(library), std::string::npos) << library << " not in " << depends;
    }

    // The unpacked programs run on this system's libraries.
    TempDir unpacked;
    ASSERT_EQ(
        RunCommand("dpkg-deb -x " + ShellQuote(deb) + " " + ShellQuote(unpacked.Path())).exitCode,
        0);
    const CommandResult count =
        RunCommand(ShellQuote(unpacked / "usr/bin/sonarchive-cli") + " --data-dir " +
                   ShellQuote(unpacked / "data") + " count 2>&1");
    EXPECT_EQ(count.exitCode, 0) << count.output;
    EXPECT_EQ(count.output, "Files in archive: 0\n");
    const CommandResult help =
        RunCommand(ShellQuote(unpacked / "usr/bin/sonarchive") + " --help 2>&1");
    EXPECT_EQ(help.exitCode, 0) << help.output;
    EXPECT_NE(help.output.find("[FILE...]"), std::string::npos) << help.output;

    // Everything it depends on can be had here: dpkg would install it as it is.
    if (::geteuid() == 0) {
        const CommandResult dryRun = RunCommand("dpkg --dry-run -i " + ShellQuote(deb) + " 2>&1");
        EXPECT_EQ(dryRun.exitCode, 0) << dryRun.output;
    }
}

}  // namespace
}  // namespace sonarchive::testing
