// The last resort for a catalog whose table pages are damaged beyond what rebuilding the
// indexes can mend: every row that can still be read is copied into a fresh catalog, and the
// damaged file is kept, unchanged, under another name.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace sonarchive::catalog {

struct SalvagedTable {
    std::string name;
    std::int64_t saved = 0;  // rows copied
};

struct SalvageReport {
    std::vector<SalvagedTable> tables;  // maindata, SubColl, SubCollD
    // What could not be read: "maindata: rows 1201 to 1225 could not be read".
    std::vector<std::string> problems;
};

// `databasePath` + ".damaged-YYYYMMDD-HHMMSS" for the local time `when`, with "-2", "-3" ...
// appended when a file of that name exists already. Paths in the system's bytes.
std::string DamagedFileName(const std::string& databasePath, std::time_t when);

// Reads every row of maindata, SubColl and SubCollD that can still be read from the catalog
// file at `databasePath` (by rowid ranges; a range that fails is read row by row, and the rows
// that fail are skipped), writes them with their ids into a fresh catalog of the current
// schema, keeps the id sequences so that no id is handed out again, and only then renames the
// damaged file (and its -wal and -shm files) to `damagedPath` and puts the fresh catalog in its
// place. The damaged file is only ever read. Throws EngineError when nothing can be salvaged
// (its schema cannot be read) or a file cannot be renamed; the catalog file is then where it
// was and no file of the salvage is left behind. No connection may be open on the file.
SalvageReport SalvageDatabase(const std::string& databasePath, const std::string& damagedPath);

// At most `limit` lines, each followed by a line break, then "(N more)" for the rest.
std::string LimitedLines(const std::vector<std::string>& lines, std::size_t limit = 10);

}  // namespace sonarchive::catalog
