// The start-up network check: which network hosts of the catalog answer now.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalog_store/engine.h"
#include "catalog_store/path_rules.h"
#include "platform/reachability.h"
#include "platform/reachable_hosts.h"

namespace sonarchive::catalog {

struct HostCheck {
    std::string host;  // without leading separators
    platform::PingState state;

    bool operator==(const HostCheck&) const = default;
};

// "select distinct dDriveSerialnumber from maindata where dDriveSerialnumber like '//%'"
// (the network prefix of the rules): empties the reachable host list, checks every host the
// catalog refers to, all at the same time, and registers the ones that answer. Answers every
// host checked with its result, in the order of the query.
std::vector<HostCheck> CheckCatalogHosts(Database& database, const PathRules& rules,
                                         platform::ReachabilityCheck& check,
                                         platform::ReachableHosts& hosts,
                                         const std::function<void()>& letEventsRun = {});

}  // namespace sonarchive::catalog
