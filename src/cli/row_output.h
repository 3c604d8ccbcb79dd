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

// Where the row's file can be opened now: empty when its volume is not mounted, or its network
// host did not answer or is not mounted here.
std::string FullPathNow(const catalog::Query& row, const catalog::PathRules& rules,
                        const platform::ReachableHosts& hosts);

// A number printed after FullPath for every row.
struct ExtraColumn {
    std::string name;
    std::function<std::int64_t(const catalog::Query& row)> value;
};

struct RowPrinting {
    std::vector<ExtraColumn> extra;
    bool header = true;  // the header line of the text form
};

// Prints every row of the query with all its columns and "FullPath"; answers how many there
// were.
std::size_t PrintRows(catalog::Query& rows, const catalog::PathRules& rules,
                      const platform::ReachableHosts& hosts, bool json, std::ostream& out,
                      const RowPrinting& how = {});

// A column printed under a name of its own.
struct OutputColumn {
    std::string name;    // as printed
    std::string source;  // the query's column
};

// The columns of the standard result-list select, each under its own name.
const std::vector<OutputColumn>& StandardColumns();

// Prints the chosen columns of every row, then "FullPath".
std::size_t PrintRows(catalog::Query& rows, const std::vector<OutputColumn>& columns,
                      const catalog::PathRules& rules, const platform::ReachableHosts& hosts,
                      bool json, std::ostream& out, const RowPrinting& how = {});

}  // namespace sonarchive::cli
