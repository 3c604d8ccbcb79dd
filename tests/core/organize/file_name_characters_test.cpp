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

namespace sonarchive::organize {
namespace {

LegalizeOptions Replacing(std::string with) {
    return {true, false, std::move(with)};
}

std::string Legalized(std::string name, const LegalizeOptions& options, bool expectOk = true,
                      FileNameRules rules = FileNameRules::Posix) {
    EXPECT_EQ(LegalizeFileName(name, false, options, rules), expectOk) << name;
    return name;
}

TEST(LegalizeFileName, ReplacesOrDeletesEveryIllegalCharacterSeparatorsIncluded) {
    EXPECT_EQ(Legalized("AC/DC?", Replacing("-")), "AC-DC-");
    EXPECT_EQ(Legalized("AC/DC?", {true, true, "-"}), "ACDC");
    EXPECT_EQ(Legalized("What?", {true, true, ""}), "What");
    EXPECT_EQ(Legalized("Live: 1999", Replacing("_")), "Live_ 1999");
    EXPECT_EQ(Legalized("a\\b", Replacing("-")), "a-b");
    EXPECT_EQ(Legalized("Björk", Replacing("-")), "Björk");
    // Only the first character of the replacement counts; one that would itself be refused,
    // "." or nothing at all acts as a blank.
    EXPECT_EQ(Legalized("a?b", Replacing("xyz")), "axb");
    EXPECT_EQ(Legalized("a?b", Replacing("é")), "aéb");
    EXPECT_EQ(Legalized("a?b", Replacing("")), "a b");
    EXPECT_EQ(Legalized("a?b", Replacing("/")), "a b");
    EXPECT_EQ(Legalized("a?b", Replacing("*")), "a b");
    EXPECT_EQ(Legalized("a?b", Replacing(".")), "a b");
}

TEST(LegalizeFileName, WithLegalizingOffAnIllegalCharacterFailsAndLeavesTheName) {
    EXPECT_EQ(Legalized("What?", {false, false, "-"}, false), "What?");
    EXPECT_EQ(Legalized("AC/DC", {false, true, "-"}, false), "AC/DC");
    EXPECT_EQ(Legalized("Fine name", {false, false, "-"}), "Fine name");
}

TEST(LegalizeFileName, NamesThatNameNoFileFail) {
    EXPECT_EQ(Legalized("", Replacing("-"), false), "");
    EXPECT_EQ(Legalized(".", Replacing("-"), false), ".");
    EXPECT_EQ(Legalized("..", Replacing("-"), false), "..");
    // Legalizing that leaves nothing, or only dots, fails too.
    EXPECT_EQ(Legalized("??", {true, true, ""}, false), "??");
    EXPECT_EQ(Legalized(".?.", {true, true, ""}, false), ".?.");
    EXPECT_EQ(Legalized(std::string("a\0b", 3), Replacing("-"), false), std::string("a\0b", 3));
}

TEST(LegalizeFileName, WindowsRulesRefuseFolderPartsWhateverTheOptions) {
    EXPECT_EQ(Legalized("Live: 1999", Replacing("-"), false, FileNameRules::Windows), "Live: 1999");
    EXPECT_EQ(Legalized("C:\\Windows", Replacing("-"), false, FileNameRules::Windows),
              "C:\\Windows");
    EXPECT_EQ(Legalized("AC/DC", Replacing("-"), true, FileNameRules::Windows), "AC-DC");
}

}  // namespace
}  // namespace sonarchive::organize
