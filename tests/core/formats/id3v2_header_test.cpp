#include "formats/id3v2_header.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

std::uint64_t TagSizeOf(const std::string& bytes) {
    TempDir dir;
    WriteBytes(dir / "f", bytes);
    return Id3v2TagSizeAt(InputFile(dir / "f"));
}

TEST(Id3v2TagSizeAt, ReadsTheSyncsafeSizeAndTheFooterFlag) {
    const std::string body(300, 'x');
    // 0x02 0x2C as syncsafe bytes: 2 * 128 + 44 = 300.
    EXPECT_EQ(TagSizeOf(std::string("ID3\x03\x00\x00\x00\x00\x02\x2C", 10) + body), 310u);
    EXPECT_EQ(TagSizeOf(std::string("ID3\x04\x00\x10\x00\x00\x02\x2C", 10) + body + "3DI......."),
              320u);
    // The whole file is the tag.
    EXPECT_EQ(TagSizeOf(std::string("ID3\x03\x00\x00\x00\x00\x00\x05", 10) + "12345"), 15u);
}

TEST(Id3v2TagSizeAt, IsZeroWithoutATagThatFitsTheFile) {
    EXPECT_EQ(TagSizeOf("OggS and more bytes"), 0u);
    EXPECT_EQ(TagSizeOf("ID3"), 0u);  // shorter than a header
    EXPECT_EQ(TagSizeOf(""), 0u);
    EXPECT_EQ(TagSizeOf(std::string("ID3\x03\x00\x00\x7F\x7F\x7F\x7F", 10) + "short"), 0u);
    EXPECT_EQ(TagSizeOf(std::string("ID3\x03\x00\x00\x00\x00\x00\x06", 10) + "12345"), 0u);
}

}  // namespace
}  // namespace sonarchive::formats
