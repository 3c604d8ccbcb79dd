// Creating maindata rows: the only place where catalog rows come into being.
#pragma once

#include <functional>
#include <string>

#include "catalog_store/catalog.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/records.h"
#include "catalog_store/sql_text.h"

namespace sonarchive::catalog {

// Reads a file's tags and stream properties into the two records; false when the reader for
// the format does not accept the file.
using FileRecordReader = std::function<bool(const std::string& fullPath, int formatCode,
                                            TCommentInfoType& tags, TEncoderInfoType& stream)>;

// Notes a network host (without leading separators) as in use, so its rows count as reachable.
using HostRegistration = std::function<void(const std::string& host)>;

// Writes one row from what was read of a file: the year rule, the 230-character limit on the
// stored path, every text cut to its column width, every number clamped. Returns false, and
// writes nothing, when the stored path is too long. Marks the search pick lists stale.
bool WriteCatalogRow(Catalog& catalog, const PathRules& rules, const TMediaFileRec& file,
                     const TCommentInfoType& tags, const TEncoderInfoType& stream, int formatCode,
                     double fileDate);

// The year as the catalog stores it: 0 for empty or non-integer text.
std::int64_t CatalogYear(const std::string& year);

// What was read of one file for its row.
struct FileReading {
    TCommentInfoType tags;
    TEncoderInfoType stream;
    int formatCode = kFormatOther;
    double fileDate = 0;
    bool readable = false;  // the reader of its format accepted the file
};

class CatalogInserter {
public:
    CatalogInserter(Catalog& catalog, const PathRules& rules, FileRecordReader reader,
                    HostRegistration registerHost);

    // Reads the file and writes its row; false when the file could not be read as its format
    // or its stored path is longer than 230 characters. Engine errors propagate.
    bool InsertCatalogRow(const TMediaFileRec& file);

    // The two halves of InsertCatalogRow. ReadFile touches nothing but the file (and the
    // reader, which must be safe to call from several threads at once), so files may be read
    // ahead on other threads; WriteRow writes on the catalog's connection.
    FileReading ReadFile(const TMediaFileRec& file) const;
    bool WriteRow(const TMediaFileRec& file, const FileReading& reading);

private:
    Catalog& catalog_;
    const PathRules& rules_;
    FileRecordReader reader_;
    HostRegistration registerHost_;
};

// The last-write time of a file as a date-time; 0 when it cannot be read.
double FileDateOf(const std::string& path);

}  // namespace sonarchive::catalog
