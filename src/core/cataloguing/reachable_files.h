// The catalog rows whose files can be looked at now: rows on a volume that is present, or on
// a network host that answered and whose share is mounted here, each with its full path.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog_store/engine.h"
#include "catalog_store/path_rules.h"
#include "platform/drive_list.h"

namespace sonarchive::cataloguing {

struct ReachableFile {
    std::int64_t Id = 0;
    std::string FullPath;
};

// "('serial1','serial2')" of the local drives; empty for none.
std::string SerialList(const platform::LocalDriveList& drives);
// "('//HOST1','//HOST2')" of host names without separators, upper-cased because host names
// compare without regard to case; empty for none.
std::string HostList(const std::vector<std::string>& hosts, const catalog::PathRules& rules);

// The rows on the present volumes first, in the engine's order, then the rows of the reachable
// network hosts.
std::vector<ReachableFile> ReachableFiles(catalog::Database& database,
                                          const catalog::PathRules& rules,
                                          const platform::LocalDriveList& drives,
                                          const std::vector<std::string>& reachableHosts);

}  // namespace sonarchive::cataloguing
