#include "text/text.h"

#include <gtest/gtest.h>

namespace sonarchive::text {
namespace {

TEST(Latin1, RoundTripsEveryByteAndReplacesWhatItCannotHold) {
    std::string all;
    for (int i = 0; i < 256; ++i) {
        all += static_cast<char>(i);
    }
    const std::string utf8 = Latin1ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(CodePointCount(utf8), 256u);
    EXPECT_EQ(Utf8ToLatin1(utf8), all);

    EXPECT_EQ(Latin1ToUtf8("Bj\xF6rk"), "Björk");
    EXPECT_EQ(Utf8ToLatin1("Björk"), "Bj\xF6rk");
    EXPECT_EQ(Utf8ToLatin1("Москва"), "??????");
    EXPECT_EQ(Utf8ToLatin1("a\xFF" "b"), "a?b");  // an invalid byte is not passed through
    EXPECT_TRUE(IsLatin1Representable("Straße é"));
    EXPECT_FALSE(IsLatin1Representable("日本"));
    EXPECT_FALSE(IsLatin1Representable("\xC3"));
}

TEST(Utf16, DecodesBothByteOrdersSurrogatesAndMarks) {
    EXPECT_EQ(Utf16ToUtf8(std::string("A\0\xE9\0", 4), ByteOrder::LittleEndian), "Aé");
    EXPECT_EQ(Utf16ToUtf8(std::string("\0A\0\xE9", 4), ByteOrder::BigEndian), "Aé");
    // U+1F3B5 as a surrogate pair
    EXPECT_EQ(Utf16ToUtf8(std::string("\x3C\xD8\xB5\xDF", 4), ByteOrder::LittleEndian),
              "\xF0\x9F\x8E\xB5");
    // a lone high surrogate and an odd trailing byte
    EXPECT_EQ(Utf16ToUtf8(std::string("\x3C\xD8" "A\0" "x", 5), ByteOrder::LittleEndian),
              "\xEF\xBF\xBD" "A");
    EXPECT_EQ(Utf16WithBomToUtf8(std::string("\xFE\xFF\0B", 4)), "B");
    EXPECT_EQ(Utf16WithBomToUtf8(std::string("\xFF\xFE" "B\0", 4)), "B");
    EXPECT_EQ(Utf16WithBomToUtf8(std::string("\0B", 2), ByteOrder::BigEndian), "B");

    for (const std::string sample : {"Björk", "日本語のタイトル", "Москва", "\xF0\x9F\x8E\xB5 x"}) {
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(sample, ByteOrder::LittleEndian),
                              ByteOrder::LittleEndian), sample);
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(sample, ByteOrder::BigEndian), ByteOrder::BigEndian),
                  sample);
    }
}

TEST(Utf8, RepairsBadBytesInsteadOfFailing) {
    EXPECT_EQ(SanitizeUtf8("ok"), "ok");
    EXPECT_EQ(SanitizeUtf8("a\xC3"), "a\xEF\xBF\xBD");             // truncated sequence
    EXPECT_EQ(SanitizeUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // overlong "/"
    EXPECT_EQ(SanitizeUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // surrogate
    EXPECT_EQ(SanitizeUtf8("\xF4\x90\x80\x80").substr(0, 3), "\xEF\xBF\xBD");  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\x80"));
    EXPECT_TRUE(IsValidUtf8("日本"));
}

TEST(Utf8, CutsCountCodePointsNeverBytes) {
    EXPECT_EQ(CodePointCount("Björk"), 5u);
    EXPECT_EQ(CutCodePoints("Björk", 3), "Bjö");
    EXPECT_EQ(CutCodePoints("日本語", 2), "日本");
    EXPECT_EQ(CutCodePoints("abc", 10), "abc");
    EXPECT_EQ(CutCodePoints("abc", 0), "");
    const std::string sixty(60, 'x');
    EXPECT_EQ(CutCodePoints(sixty, 50), std::string(50, 'x'));
}

TEST(Utf8, ByteCutsKeepWholeSequences) {
    EXPECT_EQ(CutToBytes("Björk", 3), "Bj");  // "ö" takes bytes 3 and 4
    EXPECT_EQ(CutToBytes("Björk", 4), "Bjö");
    EXPECT_EQ(CutToBytes("abc", 10), "abc");
    EXPECT_EQ(CutToBytes("日本", 5), "日");
    EXPECT_EQ(CutToBytes("abc", 0), "");
}

TEST(CaseMapping, UsesFullUnicodeMappingIndependentOfLocale) {
    EXPECT_EQ(UpperCase("Björk"), "BJÖRK");
    EXPECT_EQ(UpperCase("straße"), "STRASSE");
    EXPECT_EQ(LowerCase("ÀÉÎ МОСКВА"), "àéî москва");
    EXPECT_EQ(UpperCase("i"), "I");  // root locale: no Turkish dotted capital
    EXPECT_TRUE(EqualsIgnoringCase("rock", "ROCK"));
    EXPECT_FALSE(EqualsIgnoringCase("rock", "rocks"));
}

TEST(CaseMapping, TitleCaseStartsWordsAfterBlankAmpersandDotAndSlash) {
    EXPECT_EQ(TitleCase("the BEATLES"), "The Beatles");
    EXPECT_EQ(TitleCase("rock&roll"), "Rock&Roll");
    EXPECT_EQ(TitleCase("r.e.m."), "R.E.M.");
    EXPECT_EQ(TitleCase("ac/dc"), "Ac/Dc");
    EXPECT_EQ(TitleCase("o'brien-smith"), "O'brien-smith");
    EXPECT_EQ(TitleCase("élan vital"), "Élan Vital");
    EXPECT_EQ(TitleCase(""), "");
}

TEST(Trimming, RemovesCodesUpToBlankOnly) {
    EXPECT_EQ(TrimControlAndBlank(std::string("\0 \tab c\r\n\0", 10)), "ab c");
    EXPECT_EQ(TrimTrailingControlAndBlank(std::string("  ab\0\0", 6)), "  ab");
    EXPECT_EQ(TrimTrailingControlAndBlank(std::string("a\0b\0", 4)), std::string("a\0b", 3));
    EXPECT_EQ(TrimControlAndBlank("é "), "é");  // bytes above 127 are never trimmed
}

}  // namespace
}  // namespace sonarchive::text
