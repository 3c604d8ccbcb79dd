// Catalogs made directly for the benchmarks, so that a run times only what it measures.
#pragma once

#include <string>
#include <vector>

namespace sonarchive::benchmarks {

struct BenchmarkRow {
    std::string fullPath;
    std::string artist;
    std::string title;
    std::string album;
};

// Writes one row per file into the catalog of `dataDirectory` (made when missing), under the
// identity of the volume that holds it now. False with a message when a file lies on no drive.
bool WriteCatalog(const std::string& dataDirectory, const std::vector<BenchmarkRow>& rows);

}  // namespace sonarchive::benchmarks
