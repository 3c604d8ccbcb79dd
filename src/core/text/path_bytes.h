// File and folder names are bytes on Linux, not text: a name copied from an old USB stick or
// CD may hold ISO-8859-1 bytes that are no valid UTF-8. Inside the program every name is
// UTF-8, so each byte that is not part of a valid UTF-8 sequence is kept as the private-use
// character U+EF00 + byte (U+EF80 to U+EFFF). The mapping is reversible: whatever a name held,
// PathToSystem(PathFromSystem(name)) gives its bytes back, so the catalog's path still names
// the file.
//
// Every name that comes from the system (directory listings, arguments, the mount table,
// dropped file URLs) goes through PathFromSystem; every path handed to a system call goes
// through PathToSystem; a window or a plain-text line shows PathForDisplay.
#pragma once

#include <string>
#include <string_view>

namespace sonarchive::text {

// Bytes from the system to the program's form. Valid UTF-8 is unchanged, except that a
// character that is itself in U+EF80 to U+EFFF is kept byte by byte, so that it cannot be
// mistaken for a kept byte on the way back.
std::string PathFromSystem(std::string_view bytes);

// The program's form back to the bytes the system knows the file by.
std::string PathToSystem(std::string_view path);

// For reading: each kept byte becomes its ISO-8859-1 character ("caf\xE9" shows as "café").
std::string PathForDisplay(std::string_view path);

// True when the text holds a kept byte.
bool HasKeptBytes(std::string_view path);

}  // namespace sonarchive::text
