#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "catalog_store/catalog.h"
#include "cli_support.h"
#include "platform/disk_info.h"
#include "platform/drive_list.h"
#include "platform/proc_mount_table.h"

namespace sonarchive::cli {
namespace {

using sonarchive::testing::CliRun;

// The lines of a text in sorted order: hosts are checked in the order the catalog returns them.
std::vector<std::string> SortedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(DrivesVerb, ListsTheLocalDrivesAsTheProgramSeesThem) {
    CliRun cli;
    const auto json = cli.RunStdout("drives --json");
    ASSERT_EQ(json.exitCode, 0) << json.output;
    const auto drives = nlohmann::json::parse(json.output);

    const platform::ProcMountTable mounts;
    const platform::LocalDriveList expected = platform::BuildLocalDriveList(mounts);
    ASSERT_EQ(drives.size(), expected.size());
    platform::TDiskInfo info(mounts);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        info.SetDrive(expected[i].Letter);
        const nlohmann::json wanted = {{"Drive", expected[i].Letter},
                                       {"DriveType", info.DriveType()},
                                       {"SerialNumber", expected[i].SerialNumber},
                                       {"VolumeName", info.VolumeName()},
                                       {"FileSystemType", info.FileSystemType()}};
        EXPECT_EQ(drives[i], wanted);
        EXPECT_NE(drives[i]["DriveType"], "Remote");
    }

    const auto text = cli.RunStdout("drives");
    EXPECT_EQ(text.exitCode, 0);
    std::istringstream lines(text.output);
    std::string first;
    std::getline(lines, first);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(first, expected[0].Letter + "\t" + drives[0]["DriveType"].get<std::string>() + "\t" +
                         expected[0].SerialNumber + "\t" +
                         drives[0]["VolumeName"].get<std::string>() + "\t" +
                         drives[0]["FileSystemType"].get<std::string>());

    EXPECT_EQ(cli.Run("drives surplus").exitCode, 2);
    EXPECT_EQ(cli.Run("drives --help").exitCode, 0);
}

class HostsVerb : public ::testing::Test {
protected:
    HostsVerb() {
        catalog::Catalog catalog(cli.DataDir());
        for (const char* host : {"localhost", "127.0.0.1", "localhost"}) {
            catalog.Engine().Execute(
                "insert into maindata (dPath, dDriveSerialNumber) values ('//" + std::string(host) +
                "/music/a.mp3', '//" + host + "')");
        }
        catalog.Engine().Execute(
            "insert into maindata (dPath, dDriveSerialNumber) values ('/b.mp3', '0A1B2C3D')");
    }
    CliRun cli;
};

TEST_F(HostsVerb, LoopbackHostsAnswer) {
    const auto text = cli.RunStdout("hosts");
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(SortedLines(text.output),
              (std::vector<std::string>{"127.0.0.1: reachable", "localhost: reachable"}));
    auto json = nlohmann::json::parse(cli.RunStdout("hosts --json").output);
    std::sort(json.begin(), json.end(),
              [](const auto& a, const auto& b) { return a["Host"] < b["Host"]; });
    EXPECT_EQ(json, nlohmann::json::parse(R"([{"Host": "127.0.0.1", "Reachable": true},
                                              {"Host": "localhost", "Reachable": true}])"));
}

// In a network namespace of its own even loopback is down: nothing answers, nothing leaves.
TEST_F(HostsVerb, NothingAnswersWithoutANetwork) {
    if (sonarchive::testing::RunCommand("unshare -n true").exitCode != 0) {
        GTEST_SKIP() << "network namespaces are not permitted here";
    }
    const auto text = cli.RunUnder("unshare -n", "hosts 2>/dev/null");
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(SortedLines(text.output),
              (std::vector<std::string>{"127.0.0.1: unreachable", "localhost: unreachable"}));
}

}  // namespace
}  // namespace sonarchive::cli
