// The files a scan found, each checked against the catalog and, when it is not there yet,
// read ahead on the reader threads; handed to the writer in scan order.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "catalog_store/catalog_writer.h"
#include "catalog_store/engine.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/records.h"
#include "cataloguing/read_ahead.h"

namespace sonarchive::cataloguing {

class ScanReads {
public:
    ScanReads(catalog::Database& database, const catalog::PathRules& rules,
              const catalog::CatalogInserter& inserter,
              const std::vector<catalog::TMediaFileRec>& found, unsigned threads);

    // What was read of the next file in scan order; nothing when the file is catalogued
    // already (it is then never read). Call once per file, on the thread that writes, after
    // the previous file's row was written.
    std::optional<catalog::FileReading> Next();

private:
    enum class Plan {
        Catalogued,
        Queued,
        // An earlier file of this scan with the same identity was still to be written when
        // this one was planned: it is looked up again at its turn, as one after another would.
        LookUpAtTurn,
    };

    std::string IdentityOf(const catalog::TMediaFileRec& file) const;
    bool IsCatalogued(const catalog::TMediaFileRec& file) const;
    void PlanAhead();

    catalog::Database& database_;
    const catalog::PathRules& rules_;
    const catalog::CatalogInserter& inserter_;
    const std::vector<catalog::TMediaFileRec>& found_;
    ReadAhead<catalog::FileReading> reads_;
    std::deque<Plan> plans_;   // of the files from next_ on
    std::size_t next_ = 0;     // the file Next hands out
    std::size_t planned_ = 0;  // the first file not planned yet
    std::unordered_multiset<std::string> queuedIdentities_;
};

}  // namespace sonarchive::cataloguing
