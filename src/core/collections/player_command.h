// Starting the user's audio player from a configured command line, without a shell: the
// command is split into arguments as a shell would split it (blanks, quotes, backslashes), and
// "%f" stands for the file, which is always one argument whatever it holds.
#pragma once

#include <string>
#include <vector>

namespace sonarchive::collections {

// The arguments of `command` for `path`: every "%f" replaced by the path (inside a word too),
// the path appended as a last argument when the command has no "%f". Empty for a command with
// no words.
std::vector<std::string> PlayerArguments(const std::string& command, const std::string& path);

// Starts the program in a session of its own and does not wait for it. False when it could not
// be started (not found, not executable).
bool StartDetached(const std::vector<std::string>& arguments);

}  // namespace sonarchive::collections
