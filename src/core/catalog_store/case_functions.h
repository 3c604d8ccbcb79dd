// The catalog's Unicode case mapping in SQL.
//
// Statements are worded with upper() and lower(), and the catalog means full Unicode case
// mapping by them (upper(dArtist) = 'BJÖRK' finds "Björk"). SQLite's own upper() and lower()
// map ASCII only, and every other program that opens the catalog has those. Indexes built on a
// function of that name would hold keys other programs compute differently: their writes would
// corrupt the index unnoticed. So the program's functions carry names of their own,
// unicode_upper and unicode_lower, and statement texts are mapped onto them before SQLite sees
// them. Another program then gets "no such function: unicode_upper" for a write that touches
// those indexes, instead of corrupting them, and reads the catalog freely.
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace sonarchive::catalog {

// Registers unicode_upper and unicode_lower (deterministic, so they may back indexes) on a
// connection. False when SQLite refuses.
bool RegisterCaseFunctions(sqlite3* handle);

// The statement with every call of upper( and lower( (any case, blanks allowed before the
// parenthesis) outside quoted literals and quoted names turned into unicode_upper( and
// unicode_lower(. Other text, and a statement without such a call, is returned unchanged.
std::string MapCaseFunctions(std::string_view sql);

}  // namespace sonarchive::catalog
