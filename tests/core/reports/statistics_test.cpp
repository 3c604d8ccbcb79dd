#include "reports/statistics.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "catalog_store/catalog.h"
#include "support/fake_mount_table.h"
#include "support/test_support.h"

namespace sonarchive::reports {
namespace {

class StatisticsTest : public ::testing::Test {
protected:
    void Add(int driveType, const std::string& serial, const std::string& label, int kilobytes,
             double seconds, int format = 2, int bitrate = 128, int frequency = 44100) {
        catalog::TableAppender row(catalog.Engine(), "maindata");
        row.SetInteger("dDriveType", driveType);
        row.SetText("dDriveSerialNumber", serial);
        row.SetText("dDriveLabel", label);
        row.SetText("dPath", serial.starts_with("//") ? serial + "/share/x.mp3" : "/x.mp3");
        row.SetInteger("dFileSize", kilobytes);
        row.SetDouble("dLength", seconds);
        row.SetInteger("dFormat", format);
        row.SetInteger("dMPEGBitrate", bitrate);
        row.SetInteger("dMPEGFrequency", frequency);
        row.Post();
    }

    StatisticsNode Node(NodeKind kind) {
        for (const auto& node : TopNodes(rules)) {
            if (node.kind == kind) {
                return node;
            }
        }
        return {};
    }

    sonarchive::testing::TempDir dir;
    catalog::Catalog catalog{dir.Path()};
    sonarchive::testing::FakeMountTable mounts;
    catalog::PosixPathRules rules{mounts};
};

TEST_F(StatisticsTest, TheTreeHasFourTopNodesAndAChildPerVolumeOrComputer) {
    Add(3, "0A1B2C3D", "DATA", 100, 60);
    Add(3, "0A1B2C3D", "DATA", 100, 60);
    Add(3, "0A1B2C3D", "RENAMED", 100, 60);
    Add(2, "5E6F7A8B", "STICK", 100, 60);
    Add(5, "CD000001", "O'DISC", 100, 60);
    Add(4, "//nas", "", 100, 60);
    Add(4, "BROKEN", "", 100, 60);  // a network row whose serial is no host

    std::vector<std::string> texts;
    for (const auto& node : TopNodes(rules)) {
        texts.push_back(node.text + " | " + node.condition);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Total | ", "Fixed drives | where ddrivetype = 3",
                         "Removable media | where ddrivetype in (5,2)",
                         "Computers | where ddrivetype = 4 and dDriveSerialNumber like '//%'"}));

    std::vector<std::string> statements;
    catalog.Engine().SetStatementObserver(
        [&](const std::string& sql) { statements.push_back(sql); });
    std::vector<std::string> children;
    for (const NodeKind kind :
         {NodeKind::FixedDrives, NodeKind::RemovableMedia, NodeKind::Computers, NodeKind::Total}) {
        for (const auto& child : ChildNodes(catalog.Engine(), rules, Node(kind))) {
            children.push_back(child.text + " | " + child.key + " | " + child.condition);
        }
    }
    EXPECT_EQ(children, (std::vector<std::string>{
                            "DATA (0A1B2C3D) | 0A1B2C3D | where dDriveSerialNumber = '0A1B2C3D'",
                            "RENAMED (0A1B2C3D) | 0A1B2C3D | where dDriveSerialNumber = '0A1B2C3D'",
                            "STICK (5E6F7A8B) | 5E6F7A8B | where dDriveSerialNumber = '5E6F7A8B'",
                            "O'DISC (CD000001) | CD000001 | where dDriveSerialNumber = 'CD000001'",
                            "nas | //nas | where dDriveSerialNumber = '//nas'"}));
    EXPECT_EQ(statements, (std::vector<std::string>{
                              "select distinct dDriveSerialNumber, dDriveLabel from maindata where "
                              "ddrivetype = 3",
                              "select distinct dDriveSerialNumber, dDriveLabel from maindata where "
                              "ddrivetype in (2,5)",
                              "select distinct dDriveSerialNumber, dDriveLabel from maindata where "
                              "ddrivetype = 4"}));
}

TEST_F(StatisticsTest, FiguresAreWordedAndRoundedAsShown) {
    Add(3, "0A1B2C3D", "DATA", 4000000, 5000.4, 2, 128, 44100);
    Add(3, "0A1B2C3D", "DATA", 567890, 400, 11, 200, 48000);
    Add(4, "//nas", "", 10, 0, 5, 16, 22050);  // WAV rows store bits per sample
    std::vector<std::string> statements;
    catalog.Engine().SetStatementObserver(
        [&](const std::string& sql) { statements.push_back(sql); });
    const StatisticsNode fixed = Node(NodeKind::FixedDrives);
    const FigureTexts texts = TextsOf(ComputeFigures(catalog.Engine(), fixed.condition), '.');
    EXPECT_EQ(texts.files, "2");
    EXPECT_EQ(texts.diskSize, "4567 MB");
    EXPECT_EQ(texts.duration, "1.5 hours");
    EXPECT_EQ(texts.media, "1");
    EXPECT_EQ(texts.averageFileSize, "2283945 KB");
    EXPECT_EQ(texts.averageBitrate, "164");
    EXPECT_EQ(texts.averageDuration, "2700 seconds");
    EXPECT_EQ(texts.averageSampleRate, "46050 Hertz");
    EXPECT_EQ(TextsOf(ComputeFigures(catalog.Engine(), fixed.condition), ',').duration,
              "1,5 hours");
    EXPECT_EQ(statements[0], "select count(id) from maindata where ddrivetype = 3");
    EXPECT_NE(std::find(statements.begin(), statements.end(),
                        "select avg(dmpegbitrate) from maindata where ddrivetype = 3 and "
                        "dformat in (2,11)"),
              statements.end());
    EXPECT_NE(std::find(statements.begin(), statements.end(),
                        "select distinct dDriveSerialNumber from maindata where ddrivetype = 3"),
              statements.end());

    const StatisticsFigures total = ComputeFigures(catalog.Engine(), "");
    EXPECT_EQ(total.files, 3);
    EXPECT_EQ(total.media, 2);
    EXPECT_DOUBLE_EQ(total.averageBitrate, 164);  // the WAV row's 16 is no bit rate
    const FigureTexts computers =
        TextsOf(ComputeFigures(catalog.Engine(), Node(NodeKind::Computers).condition), '.');
    EXPECT_EQ(computers.files, "1");

    const FigureTexts none =
        TextsOf(ComputeFigures(catalog.Engine(), Node(NodeKind::RemovableMedia).condition), '.');
    EXPECT_EQ(std::vector<std::string>({none.files, none.diskSize, none.duration, none.media,
                                        none.averageFileSize, none.averageBitrate,
                                        none.averageDuration, none.averageSampleRate}),
              (std::vector<std::string>{"0", "0 MB", "0.0 hours", "0", "0 KB", "0", "0 seconds",
                                        "0 Hertz"}));
}

TEST_F(StatisticsTest, SharesGroupByFormatAndByTheLargestVolumes) {
    for (int volume = 0; volume < 14; ++volume) {
        const std::string serial = "0000000" + std::string(1, static_cast<char>('A' + volume));
        Add(3, serial, "V" + std::to_string(volume), 1000 * (volume + 1), 60, volume % 2 ? 2 : 11);
    }
    Add(4, "//nas", "", 500, 60, 13);
    const auto formats = SharesByFormat(catalog.Engine(), "");
    ASSERT_EQ(formats.size(), 3u);
    EXPECT_EQ(formats[0].label, "MP3");
    EXPECT_EQ(formats[0].files, 7);
    EXPECT_EQ(formats[2].label, "Monkey's Audio");

    const auto volumes = SharesByVolume(catalog.Engine(), rules, "");
    ASSERT_EQ(volumes.size(), 13u);
    EXPECT_EQ(volumes[0].label, "V13 (0000000N)");
    EXPECT_EQ(volumes[0].kilobytes, 14000);
    EXPECT_EQ(volumes[11].label, "V2 (0000000C)");
    EXPECT_EQ(volumes[12].label, "Others");
    EXPECT_EQ(volumes[12].kilobytes, 1000 + 2000 + 500);
    EXPECT_EQ(volumes[12].files, 3);
    const auto network =
        SharesByVolume(catalog.Engine(), rules, Node(NodeKind::Computers).condition);
    ASSERT_EQ(network.size(), 1u);
    EXPECT_EQ(network[0].label, "nas");
}

}  // namespace
}  // namespace sonarchive::reports
