// The characters a file or folder name made from tags may not hold.
#pragma once

#include <string_view>

namespace sonarchive::organize {

// `"` `%` `*` `/` `:` `<` `>` `?` `|`, and `\` unless the caller allows it. Only characters
// from 0x20 to 0x7F are tested: control characters and every byte of a multi-byte UTF-8
// sequence pass.
bool IsIllegalFileNameCharacter(char c, bool backslashAllowed);

// True when the name holds at least one illegal character.
bool HasIllegalFileNameCharacter(std::string_view name, bool backslashAllowed);

}  // namespace sonarchive::organize
