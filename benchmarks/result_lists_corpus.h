// A large catalog for the result-list benchmarks, made straight in the database: 4000 artists
// in mixed case (one of them with 1 % of the rows), non-ASCII names, rows on a mounted and on
// an unmounted volume, and network rows of a reachable host.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "catalog_store/catalog.h"
#include "platform/mount_table.h"
#include "platform/reachable_hosts.h"

namespace sonarchive::benchmarks {

// A mount table whose drives the benchmark sets.
class StaticMountTable final : public platform::MountTable {
public:
    void Set(std::vector<platform::MountEntry> drives) {
        drives_ = std::make_shared<const std::vector<platform::MountEntry>>(std::move(drives));
    }
    platform::MountSnapshot Drives() const override { return drives_; }

private:
    platform::MountSnapshot drives_ = std::make_shared<const std::vector<platform::MountEntry>>();
};

struct ResultListCorpus {
    std::size_t rows = 0;
    std::size_t artists = 0;
    // The drives at the start, and after the unmounted volume has been inserted.
    std::vector<platform::MountEntry> drives;
    std::vector<platform::MountEntry> drivesAfterChange;
    platform::ReachableHosts hosts;
    std::string largestArtist;  // as stored; its group holds 1 % of the rows
    std::string titleWord;      // held by the titles of 1 % of the rows
};

// Fills an empty catalog with `rows` rows (4000 artists at 200 000 rows, fewer for fewer).
ResultListCorpus FillResultListCatalog(catalog::Catalog& catalog, std::size_t rows);

}  // namespace sonarchive::benchmarks
