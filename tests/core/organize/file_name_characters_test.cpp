#include "organize/file_name_characters.h"

#include <gtest/gtest.h>

namespace sonarchive::organize {
namespace {

TEST(FileNameCharacters, KnowsTheIllegalOnes) {
    for (const char c : std::string("\"%*/:<>?|")) {
        EXPECT_TRUE(IsIllegalFileNameCharacter(c, false)) << c;
        EXPECT_TRUE(IsIllegalFileNameCharacter(c, true)) << c;
    }
    EXPECT_TRUE(IsIllegalFileNameCharacter('\\', false));
    EXPECT_FALSE(IsIllegalFileNameCharacter('\\', true));
    for (const char c : std::string(" -_.'&()[]!")) {
        EXPECT_FALSE(IsIllegalFileNameCharacter(c, false)) << c;
    }
    EXPECT_FALSE(HasIllegalFileNameCharacter("Björk – Jóga", false));  // multi-byte characters pass
    EXPECT_FALSE(HasIllegalFileNameCharacter(std::string("tab\there"), false));
    EXPECT_TRUE(HasIllegalFileNameCharacter("AC/DC", false));
    EXPECT_TRUE(HasIllegalFileNameCharacter("What?", false));
    EXPECT_FALSE(HasIllegalFileNameCharacter("", false));
}

}  // namespace
}  // namespace sonarchive::organize
