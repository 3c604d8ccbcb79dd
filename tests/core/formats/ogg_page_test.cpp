#include "formats/ogg_page.h"

#include <gtest/gtest.h>

#include "ogg_test_files.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::JoinPackets;
using sonarchive::testing::OggStreamBuilder;
using sonarchive::testing::ParsedPage;
using sonarchive::testing::RandomBytes;
using sonarchive::testing::SplitPages;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

TEST(OggCrc, MatchesTheCatalogueCheckValueAndTheBitwiseReference) {
    // CRC-32/POSIX (same polynomial and start, final inversion) has the check value 0x765E7680.
    EXPECT_EQ(OggCrc("123456789"), 0x765E7680U ^ 0xFFFFFFFFU);
    EXPECT_EQ(OggCrc(""), 0u);

    // Pages built with the bit-by-bit reference checksum are accepted.
    OggStreamBuilder stream(7);
    stream.AddPages({RandomBytes(3000, 1), RandomBytes(10, 2)}, 99);
    const std::string& page = stream.Bytes();
    EXPECT_TRUE(OggPageChecksumValid(page));
    std::string damaged = page;
    damaged[100] ^= 0x01;
    EXPECT_FALSE(OggPageChecksumValid(damaged));
}

TEST(OggPageHeader, IsParsedOnlyWhenCompleteAndInsideTheFile) {
    OggStreamBuilder stream(0xABCD);
    stream.AddPages({std::string(600, 'a'), "bb"}, 1234, kOggLastPage);
    const std::string page = stream.Bytes();

    const auto header = ParseOggPageHeader(page, 40);
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->offset, 40u);
    EXPECT_EQ(header->flags, kOggFirstPage | kOggLastPage);
    EXPECT_EQ(header->granulePosition, 1234u);
    EXPECT_EQ(header->serialNumber, 0xABCDu);
    EXPECT_EQ(header->lacing, std::string("\xFF\xFF\x5A\x02", 4));
    EXPECT_EQ(header->dataSize, 602u);
    EXPECT_EQ(header->Size(), page.size());
    EXPECT_FALSE(header->HoldsOnePacket());

    EXPECT_FALSE(ParseOggPageHeader(page.substr(0, 30), 0));  // segment table cut off
    EXPECT_FALSE(ParseOggPageHeader("OggT" + page.substr(4), 0));
    std::string version1 = page;
    version1[4] = 1;
    EXPECT_FALSE(ParseOggPageHeader(version1, 0));

    TempDir dir;
    WriteBytes(dir / "whole", page);
    WriteBytes(dir / "cut", page.substr(0, page.size() - 1));
    EXPECT_TRUE(ReadOggPageHeader(InputFile(dir / "whole"), 0));
    EXPECT_FALSE(ReadOggPageHeader(InputFile(dir / "cut"), 0));  // data reaches past the end
    EXPECT_FALSE(ReadOggPageHeader(InputFile(dir / "whole"), page.size()));
}

TEST(PaginateHeaderPackets, SplitsPacketsByLacingValuesAndMarksContinuations) {
    const std::string big(255 * 300, 'c');  // exactly 300 lacing values of 255, then a 0
    const std::string small(255, 's');      // 255 then 0
    const auto pages = PaginateHeaderPackets({big, small}, {77, 1, kOggLastPage});
    ASSERT_EQ(pages.size(), 2u);
    std::string joined;
    for (const std::string& page : pages) {
        joined += page;
    }
    const std::vector<ParsedPage> parsed = SplitPages(joined);
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[0].lacing.size(), 255u);
    EXPECT_EQ(parsed[0].flags, 0);
    EXPECT_EQ(parsed[0].granule, kOggNoGranule);  // no packet ends on it
    EXPECT_EQ(parsed[1].flags, kOggContinuedPacket | kOggLastPage);
    EXPECT_EQ(parsed[1].granule, 0u);
    EXPECT_EQ(parsed[1].lacing.size(), 45u + 1 + 2);
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        EXPECT_TRUE(parsed[i].checksumValid);
        EXPECT_EQ(parsed[i].serial, 77u);
        EXPECT_EQ(parsed[i].sequence, 1 + i);
    }
    EXPECT_EQ(JoinPackets(parsed), (std::vector<std::string>{big, small}));

    // An empty packet still takes one lacing value.
    const auto one = SplitPages(PaginateHeaderPackets({""}, {1, 5, 0}).at(0));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].lacing, std::string(1, '\0'));
}

TEST(RenumberOggPage, KeepsGoodChecksumsGoodAndBadOnesBad) {
    OggStreamBuilder stream(3);
    stream.AddPages({RandomBytes(500, 4)}, 10);
    std::string page = stream.Bytes();
    RenumberOggPage(page, 41);
    EXPECT_EQ(ParseOggPageHeader(page, 0)->sequenceNumber, 41u);
    EXPECT_TRUE(OggPageChecksumValid(page));

    page[60] ^= 0x40;
    RenumberOggPage(page, 42);
    EXPECT_EQ(ParseOggPageHeader(page, 0)->sequenceNumber, 42u);
    EXPECT_FALSE(OggPageChecksumValid(page));
}

}  // namespace
}  // namespace sonarchive::formats
