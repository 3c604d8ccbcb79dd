#include <gtest/gtest.h>

#include <cmath>

#include "formats/byte_order.h"
#include "formats/monkey.h"
#include "formats/monkey_header.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::RandomBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

std::string Descriptor(std::uint16_t version, std::uint32_t descriptorBytes) {
    std::string b = "MAC ";
    AppendLE16(b, version);
    AppendLE16(b, 0);
    AppendLE32(b, descriptorBytes);
    return b + RandomBytes(80, version);
}

TEST(MonkeyHeaderRobustness, TruncatedRandomAndHostileHeaders) {
    TempDir dir;
    const std::string path = dir / "r.ape";
    const auto read = [&path](const std::string& bytes, std::uint64_t offset) {
        WriteBytes(path, bytes);
        const auto header = ReadMonkeyHeader(InputFile(path), offset);
        ASSERT_TRUE(header.has_value());
        if (!header->ID.empty()) {
            EXPECT_EQ(header->ID, "MAC ");
        }
    };
    const std::string sample = Descriptor(3990, 52);
    for (std::size_t length = 0; length <= sample.size(); ++length) {
        read(sample.substr(0, length), 0);
        read(sample.substr(0, length), 3);
    }
    for (const std::uint32_t descriptorBytes : {0u, 51u, 52u, 100u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        read(Descriptor(3990, descriptorBytes), 0);
        read(Descriptor(3970, descriptorBytes), 0);
    }
    for (unsigned seed = 0; seed < 150; ++seed) {
        read("MAC " + RandomBytes(seed % 120, seed), seed % 5);
    }
    read("", 0xFFFFFFFFFFFFFFFFull);
}

TEST(MonkeyRobustness, RandomFilesWithTags) {
    TempDir dir;
    const std::string path = dir / "m.ape";
    for (unsigned seed = 0; seed < 60; ++seed) {
        const std::string bytes = "ID3\x04\0\0" + RandomBytes(4, seed) + Descriptor(3990, 52) +
                                  RandomBytes(seed * 7, seed) + "APETAGEX" + RandomBytes(24, seed) +
                                  "TAG" + RandomBytes(125, seed);
        WriteBytes(path, bytes);
        TMonkey monkey;
        ASSERT_TRUE(monkey.Read(path));
        EXPECT_TRUE(std::isfinite(monkey.Duration()));
        EXPECT_GE(monkey.Duration(), 0);
    }
}

}  // namespace
}  // namespace sonarchive::formats
