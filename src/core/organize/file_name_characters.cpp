#include "organize/file_name_characters.h"

#include <algorithm>

namespace sonarchive::organize {

bool IsIllegalFileNameCharacter(char c, bool backslashAllowed) {
    constexpr std::string_view kIllegal = "\"%*/:<>?|";
    return kIllegal.find(c) != std::string_view::npos || (c == '\\' && !backslashAllowed);
}

bool HasIllegalFileNameCharacter(std::string_view name, bool backslashAllowed) {
    return std::any_of(name.begin(), name.end(), [backslashAllowed](char c) {
        return IsIllegalFileNameCharacter(c, backslashAllowed);
    });
}

}  // namespace sonarchive::organize
