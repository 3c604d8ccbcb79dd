// Printing result-list rows: tab-separated text with a header line, or JSON objects named by
// the select's columns with the file's current full path added.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "catalog_store/engine.h"
#include "catalog_store/path_rules.h"
#include "platform/reachable_hosts.h"

namespace sonarchive::cli {

// A number printed after FullPath for every row.
struct ExtraColumn {
    std::string name;
    std::function<std::int64_t(const catalog::Query& row)> value;
};

struct RowPrinting {
    std::vector<ExtraColumn> extra;
    bool header = true;  // the header line of the text form
};

// Prints every row of the query and answers how many there were. "FullPath" is where the file
// can be opened now: empty when its volume is not mounted, or its network host did not answer or
// is not mounted here.
std::size_t PrintRows(catalog::Query& rows, const catalog::PathRules& rules,
                      const platform::ReachableHosts& hosts, bool json, std::ostream& out,
                      const RowPrinting& how = {});

}  // namespace sonarchive::cli
