#include "organize/file_name_characters.h"

#include <algorithm>

#include "text/text.h"

namespace sonarchive::organize {
namespace {

// The character that takes an illegal one's place: the first of the replacement text, a blank
// when that is empty or would itself be refused.
std::string ReplacementOf(const std::string& replacement, bool backslashAllowed) {
    const std::string first = text::CutCodePoints(replacement, 1);
    if (first.empty() || first == "." || first[0] == '\0' ||
        (first.size() == 1 && IsIllegalFileNameCharacter(first[0], backslashAllowed))) {
        return " ";
    }
    return first;
}

bool UsableName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('\0') == std::string::npos;
}

}  // namespace

bool IsIllegalFileNameCharacter(char c, bool backslashAllowed) {
    constexpr std::string_view kIllegal = "\"%*/:<>?|";
    return kIllegal.find(c) != std::string_view::npos || (c == '\\' && !backslashAllowed);
}

bool HasIllegalFileNameCharacter(std::string_view name, bool backslashAllowed) {
    return std::any_of(name.begin(), name.end(), [backslashAllowed](char c) {
        return IsIllegalFileNameCharacter(c, backslashAllowed);
    });
}

bool LegalizeFileName(std::string& name, bool backslashAllowed, const LegalizeOptions& options,
                      FileNameRules rules) {
    if (rules == FileNameRules::Windows && name.find_first_of(":\\") != std::string::npos) {
        return false;
    }
    if (!HasIllegalFileNameCharacter(name, backslashAllowed)) {
        return UsableName(name);
    }
    if (!options.legalize) {
        return false;
    }
    const std::string replacement =
        options.deleteMode ? std::string() : ReplacementOf(options.replacement, backslashAllowed);
    std::string legal;
    legal.reserve(name.size());
    for (const char c : name) {
        if (IsIllegalFileNameCharacter(c, backslashAllowed)) {
            legal += replacement;
        } else {
            legal += c;
        }
    }
    if (!UsableName(legal)) {
        return false;
    }
    name = std::move(legal);
    return true;
}

}  // namespace sonarchive::organize
