// The characters a file or folder name made from tags may not hold, and the legalizer that
// removes or replaces them.
#pragma once

#include <string>
#include <string_view>

namespace sonarchive::organize {

// `"` `%` `*` `/` `:` `<` `>` `?` `|`, and `\` unless the caller allows it. Only characters
// from 0x20 to 0x7F are tested: control characters and every byte of a multi-byte UTF-8
// sequence pass.
bool IsIllegalFileNameCharacter(char c, bool backslashAllowed);

// True when the name holds at least one illegal character.
bool HasIllegalFileNameCharacter(std::string_view name, bool backslashAllowed);

// How the user wants illegal characters handled (the main window's general settings).
struct LegalizeOptions {
    bool legalize = true;     // remove or replace them; otherwise a name holding one fails
    bool deleteMode = false;  // remove them rather than replace them
    std::string replacement;  // its first character replaces; empty, illegal or "." is a blank
};

// Which system's rules a name is made for.
enum class FileNameRules { Posix, Windows };

// Makes `name` usable as one file or folder name, in place, and answers whether it may be
// used. A name is one component: every separator in it is an illegal character like the rest,
// so a tag can never lead out of its folder ("AC/DC" gives "AC-DC" with "-" as replacement).
// Under the Windows rules a name holding "\" or ":" fails whatever the options. A name that is
// empty, "." or "..", or holds a NUL, after legalizing fails; a failed name is left unchanged.
bool LegalizeFileName(std::string& name, bool backslashAllowed, const LegalizeOptions& options,
                      FileNameRules rules = FileNameRules::Posix);

}  // namespace sonarchive::organize
