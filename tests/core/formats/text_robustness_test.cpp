#include <gtest/gtest.h>

#include "support/test_support.h"
#include "text/text.h"

namespace sonarchive::text {
namespace {

// Tag readers hand arbitrary bytes to the decoders; none may read out of bounds or produce
// invalid UTF-8.
TEST(TextRobustness, RandomBytesAlwaysDecodeToValidUtf8) {
    for (unsigned seed = 0; seed < 200; ++seed) {
        const std::string bytes = sonarchive::testing::RandomBytes(seed % 64, seed);
        EXPECT_TRUE(IsValidUtf8(SanitizeUtf8(bytes)));
        EXPECT_TRUE(IsValidUtf8(Utf16ToUtf8(bytes, ByteOrder::LittleEndian)));
        EXPECT_TRUE(IsValidUtf8(Utf16WithBomToUtf8(bytes)));
        EXPECT_TRUE(IsValidUtf8(Latin1ToUtf8(bytes)));
        EXPECT_TRUE(IsValidUtf8(CutCodePoints(bytes, seed % 7)) || !IsValidUtf8(bytes));
        EXPECT_TRUE(IsValidUtf8(UpperCase(bytes)));
        EXPECT_LE(Utf8ToLatin1(bytes).size(), bytes.size());
    }
}

}  // namespace
}  // namespace sonarchive::text
