#include "formats/monkey.h"

#include <gtest/gtest.h>

#include "format_bytes.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

// The header before version 3.98 with a peak level stored (flag 4).
std::string OldHeader(std::uint16_t version, std::uint16_t flags, std::uint32_t frames,
                      std::uint32_t finalBlocks) {
    return testing::MonkeyOldHeader(version, 2000, flags | 4, 2, 44100, frames, finalBlocks,
                                    testing::Le32(12345));
}

TEST(Monkey, ReadsTheHeaderBehindTheId3v2TagAndTheTags) {
    TempDir dir;
    const std::string path = dir / "a.ape";
    WriteBytes(path, testing::Id3v2Tag(300) + OldHeader(3970, 0, 100, 1000) +
                         std::string(500, '\x33') +
                         testing::ApeTag(2000, testing::ApeItem("Title", "Hello"), 1) +
                         testing::Id3v1Tag());
    TMonkey monkey;
    ASSERT_TRUE(monkey.Read(path));
    ASSERT_TRUE(monkey.Valid());
    EXPECT_TRUE(monkey.ID3v2().Exists());
    EXPECT_TRUE(monkey.ID3v1().Exists());
    EXPECT_EQ(monkey.APEtag().Title(), "Hello");
    EXPECT_EQ(monkey.Header().Version, 3970);
    EXPECT_EQ(monkey.Header().PeakLevel, 12345u);
    EXPECT_EQ(monkey.BitsPerSample(), 16);
    EXPECT_EQ(monkey.BlocksPerFrame(), 294912u);
    EXPECT_EQ(monkey.Samples(), 294912u * 99 + 1000);
    EXPECT_DOUBLE_EQ(monkey.Duration(), (294912.0 * 99 + 1000) / 44100);
    EXPECT_GT(monkey.FileLength(), 300u);

    // No frames: no samples, not a wrapped-around count.
    WriteBytes(path, OldHeader(3950, 0, 0, 0) + std::string(200, '\0'));
    ASSERT_TRUE(monkey.Read(path));
    EXPECT_TRUE(monkey.Valid());
    EXPECT_EQ(monkey.Samples(), 0u);
}

TEST(Monkey, InvalidHeadersGiveNoFigures) {
    TempDir dir;
    const std::string path = dir / "a.ape";
    TMonkey monkey;
    WriteBytes(path, std::string(300, 'x'));
    ASSERT_TRUE(monkey.Read(path));
    EXPECT_FALSE(monkey.Valid());

    EXPECT_FALSE(monkey.Read(dir / "missing.ape"));
    WriteBytes(path, OldHeader(3970, 0, 1, 1));  // shorter than an ID3v1 tag
    EXPECT_FALSE(monkey.Read(path));
}

TEST(Monkey, ImpossibleFiguresMakeTheReadFail) {
    TempDir dir;
    const std::string path = dir / "a.ape";
    const auto read = [&](const std::string& header) {
        WriteBytes(path, header + std::string(200, '\0'));
        TMonkey monkey;
        const bool result = monkey.Read(path);
        EXPECT_FALSE(result && monkey.LastError() != "") << monkey.LastError();
        return result;
    };
    const auto old = [](std::uint16_t channels, std::uint32_t rate, std::uint32_t frames) {
        return testing::MonkeyOldHeader(3970, 2000, 0, channels, rate, frames, 10);
    };
    EXPECT_TRUE(read(old(2, 44100, 10)));
    EXPECT_TRUE(read(old(32, 1536000, 10)));
    EXPECT_FALSE(read(old(0, 44100, 10)));
    EXPECT_FALSE(read(old(33, 44100, 10)));
    EXPECT_FALSE(read(old(50688, 44100, 10)));  // what a damaged file once claimed
    EXPECT_FALSE(read(old(2, 0, 10)));
    EXPECT_FALSE(read(old(2, 1536001, 10)));
    // 294912 blocks a frame at 44100 Hz: 387598 frames are 30 days less 5 seconds.
    EXPECT_TRUE(read(old(2, 44100, 387598)));
    EXPECT_FALSE(read(old(2, 44100, 387599)));
    EXPECT_FALSE(read(old(2, 8000, 0xFFFFFFFF)));
    // The newer layout states its sample width.
    EXPECT_TRUE(read(testing::MonkeyNewHeader(3990, 52, 64, 2, 48000)));
    EXPECT_FALSE(read(testing::MonkeyNewHeader(3990, 52, 0, 2, 48000)));
    EXPECT_FALSE(read(testing::MonkeyNewHeader(3990, 52, 65, 2, 48000)));
}

TEST(Monkey, PanelHelpers) {
    EXPECT_EQ(TMonkey::VersionText(3970), "3.97");
    EXPECT_EQ(TMonkey::VersionText(990), "0.99");
    EXPECT_EQ(TMonkey::VersionText(0), "");
    EXPECT_EQ(TMonkey::ChannelName(1), "Mono");
    EXPECT_EQ(TMonkey::ChannelName(2), "Stereo");
    EXPECT_EQ(TMonkey::BitsFromFlags(9), 24);
    EXPECT_DOUBLE_EQ(TMonkey::PeakPercent(4, 16384), 50);
    EXPECT_DOUBLE_EQ(TMonkey::PeakPercent(4 | 8, 4194304), 50);
    EXPECT_DOUBLE_EQ(TMonkey::PeakPercent(4 | 1, 32), 25);
    EXPECT_EQ(TMonkey::PeakPercent(8, 4194304), 0);
}

}  // namespace
}  // namespace sonarchive::formats
