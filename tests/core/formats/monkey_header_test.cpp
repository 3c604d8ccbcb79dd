#include "formats/monkey_header.h"

#include <gtest/gtest.h>

#include "format_bytes.h"
#include "formats/byte_order.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;
using testing::MonkeyOldHeader;

std::string NewHeader(std::uint16_t version, std::uint32_t descriptorBytes) {
    return testing::MonkeyNewHeader(version, descriptorBytes, 24, 1, 96000);
}

MonkeyHeader ReadAt(const TempDir& dir, const std::string& bytes, std::uint64_t offset = 0) {
    const std::string path = dir / "a.ape";
    WriteBytes(path, bytes + std::string(100, '\0'));
    const InputFile file(path);
    const auto header = ReadMonkeyHeader(file, offset);
    EXPECT_TRUE(header.has_value());
    return header.value_or(MonkeyHeader());
}

TEST(MonkeyHeader, DescriptorLayoutOfVersion398AndLater) {
    TempDir dir;
    MonkeyHeader h = ReadAt(dir, "ID3junk" + NewHeader(3990, 52), 7);
    EXPECT_EQ(h.ID, "MAC ");
    EXPECT_EQ(h.Version, 3990);
    EXPECT_EQ(h.CompressionLevel, 2000);
    EXPECT_EQ(h.FormatFlags, 0);
    EXPECT_EQ(h.Channels, 1);
    EXPECT_EQ(h.SampleRate, 96000u);
    EXPECT_EQ(h.BitsPerSample, 24);
    EXPECT_EQ(h.BlocksPerFrame, 73728u);
    EXPECT_EQ(h.TotalFrames, 37u);
    EXPECT_EQ(h.FinalFrameBlocks, 5000u);
    EXPECT_EQ(h.SeekElements, 37u);
    EXPECT_EQ(h.HeaderBytes, 44u);
    EXPECT_EQ(h.TerminatingBytes, 2u);
    EXPECT_EQ(h.PeakLevel, 0u);

    // A larger descriptor moves the header.
    h = ReadAt(dir, NewHeader(4060, 64));
    EXPECT_EQ(h.ID, "MAC ");
    EXPECT_EQ(h.SampleRate, 96000u);
    EXPECT_EQ(h.BlocksPerFrame, 73728u);

    // A descriptor size below the descriptor itself, or pointing past the file: no header.
    std::string bad = NewHeader(3990, 52);
    bad[8] = 20;
    EXPECT_EQ(ReadAt(dir, bad).ID, "");
    bad[8] = 0;
    bad[11] = '\x7f';
    EXPECT_EQ(ReadAt(dir, bad).ID, "");
}

TEST(MonkeyHeader, OldLayoutWithItsOptionalNumbers) {
    TempDir dir;
    std::string optional;
    AppendLE32(optional, 16384);  // peak level
    AppendLE32(optional, 99);     // seek elements
    MonkeyHeader h =
        ReadAt(dir, MonkeyOldHeader(3970, 4000, 4 | 16 | 8, 2, 44100, 100, 1000, optional));
    EXPECT_EQ(h.ID, "MAC ");
    EXPECT_EQ(h.Version, 3970);
    EXPECT_EQ(h.CompressionLevel, 4000);
    EXPECT_EQ(h.Channels, 2);
    EXPECT_EQ(h.SampleRate, 44100u);
    EXPECT_EQ(h.TotalFrames, 100u);
    EXPECT_EQ(h.FinalFrameBlocks, 1000u);
    EXPECT_EQ(h.PeakLevel, 16384u);
    EXPECT_EQ(h.SeekElements, 99u);
    EXPECT_EQ(h.HeaderBytes, 44u);
    EXPECT_EQ(h.BitsPerSample, 24);
    EXPECT_EQ(h.BlocksPerFrame, 294912u);

    // Without a peak level the seek element count comes first; without their flags both are 0.
    std::string seekOnly;
    AppendLE32(seekOnly, 77);
    h = ReadAt(dir, MonkeyOldHeader(3800, 4000, 16 | 1, 1, 22050, 5, 10, seekOnly));
    EXPECT_EQ(h.PeakLevel, 0u);
    EXPECT_EQ(h.SeekElements, 77u);
    EXPECT_EQ(h.BitsPerSample, 8);
    EXPECT_EQ(h.BlocksPerFrame, 73728u);
    h = ReadAt(dir, MonkeyOldHeader(3800, 3000, 0, 1, 22050, 5, 10, optional));
    EXPECT_EQ(h.PeakLevel, 0u);
    EXPECT_EQ(h.SeekElements, 0u);
    EXPECT_EQ(h.BitsPerSample, 16);
    EXPECT_EQ(h.BlocksPerFrame, 9216u);
}

TEST(MonkeyHeader, BlocksPerFrameAndBitsOfTheOldLayout) {
    EXPECT_EQ(MonkeyOldBlocksPerFrame(3950, 1000), 294912u);
    EXPECT_EQ(MonkeyOldBlocksPerFrame(3949, 1000), 73728u);
    EXPECT_EQ(MonkeyOldBlocksPerFrame(3900, 1000), 73728u);
    EXPECT_EQ(MonkeyOldBlocksPerFrame(3899, 4000), 73728u);
    EXPECT_EQ(MonkeyOldBlocksPerFrame(3899, 3000), 9216u);
    EXPECT_EQ(MonkeyOldBlocksPerFrame(3799, 4000), 9216u);
    EXPECT_EQ(MonkeyBitsFromFlags(0), 16);
    EXPECT_EQ(MonkeyBitsFromFlags(1), 8);
    EXPECT_EQ(MonkeyBitsFromFlags(8 | 1), 24);
}

TEST(MonkeyHeader, BytesThatAreNoHeader) {
    TempDir dir;
    EXPECT_EQ(ReadAt(dir, "MAC!" + std::string(60, '\0')).ID, "");
    const std::string path = dir / "short.ape";
    WriteBytes(path, MonkeyOldHeader(3970, 2000, 0, 2, 44100, 1, 1, "").substr(0, 31));
    const InputFile file(path);
    EXPECT_EQ(ReadMonkeyHeader(file, 0)->ID, "");
    EXPECT_EQ(ReadMonkeyHeader(file, 1000)->ID, "");
    EXPECT_FALSE(ReadMonkeyHeader(InputFile(dir / "missing"), 0).has_value());
}

}  // namespace
}  // namespace sonarchive::formats
