// Reading the words of a verb: sub-verbs, ids and paths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/cli_context.h"

namespace sonarchive::cli {

// Takes the first word as one of the sub-verbs (UsageError when it is none of them) and leaves
// the rest in `arguments`.
std::string TakeSubVerb(Arguments& arguments, const std::string& verb,
                        const std::vector<std::string>& subVerbs);

// A whole non-negative number; UsageError ("... needs <what>") otherwise.
std::int64_t IdArgument(const std::string& word, const std::string& what);

// A path typed by the user, made absolute from the current folder, in the program's form.
std::string AbsolutePathArgument(const std::string& word);

}  // namespace sonarchive::cli
