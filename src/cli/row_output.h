// Printing result-list rows: tab-separated text with a header line, or JSON objects named by
// the select's columns with the file's current full path added.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

#include "catalog_store/engine.h"
#include "catalog_store/path_rules.h"
#include "platform/reachable_hosts.h"

namespace sonarchive::cli {

// Prints every row of the query and answers how many there were. "FullPath" is where the file can
// be opened now: empty when its volume is not mounted, or its network host did not answer or is not
// mounted here.
std::size_t PrintRows(catalog::Query& rows, const catalog::PathRules& rules,
                      const platform::ReachableHosts& hosts, bool json, std::ostream& out);

}  // namespace sonarchive::cli
