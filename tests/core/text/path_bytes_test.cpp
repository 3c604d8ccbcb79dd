#include "text/path_bytes.h"

#include <gtest/gtest.h>

#include "text/text.h"

namespace sonarchive::text {
namespace {

TEST(PathBytes, ValidUtf8NamesAreUnchanged) {
    for (const std::string name : {"/Rock/a.mp3", "/Björk/Jóga.ogg", "/日本/歌.wav", ""}) {
        EXPECT_EQ(PathFromSystem(name), name);
        EXPECT_EQ(PathToSystem(name), name);
        EXPECT_EQ(PathForDisplay(name), name);
        EXPECT_FALSE(HasKeptBytes(name));
    }
}

TEST(PathBytes, InvalidBytesAreKeptAsPrivateUseCharactersAndGivenBack) {
    const std::string latin1Name = "/caf\xE9.mp3";
    const std::string kept = PathFromSystem(latin1Name);
    EXPECT_EQ(kept, "/caf\uEFE9.mp3");
    EXPECT_TRUE(IsValidUtf8(kept));
    EXPECT_TRUE(HasKeptBytes(kept));
    EXPECT_EQ(PathToSystem(kept), latin1Name);
    EXPECT_EQ(PathForDisplay(kept), "/café.mp3");

    // A truncated sequence, a lone continuation byte and an overlong form.
    const std::string broken =
        "a\xC3"
        "b\x80"
        "c\xC0\xAF"
        "d\xE2\x82";
    EXPECT_EQ(PathFromSystem(broken), "a\uEFC3b\uEF80c\uEFC0\uEFAFd\uEFE2\uEF82");
    EXPECT_EQ(PathToSystem(PathFromSystem(broken)), broken);
}

TEST(PathBytes, EveryByteStringRoundTrips) {
    std::string all;
    for (int i = 1; i < 256; ++i) {
        all += static_cast<char>(i);
    }
    EXPECT_EQ(PathToSystem(PathFromSystem(all)), all);
    EXPECT_TRUE(IsValidUtf8(PathFromSystem(all)));
}

TEST(PathBytes, APrivateUseCharacterInAValidNameIsNotTakenForAKeptByte) {
    const std::string name = "/x\uEF80y";  // the character itself, as valid UTF-8
    const std::string kept = PathFromSystem(name);
    EXPECT_NE(kept, name);
    EXPECT_EQ(PathToSystem(kept), name);
}

}  // namespace
}  // namespace sonarchive::text
