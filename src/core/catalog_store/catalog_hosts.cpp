#include "catalog_store/catalog_hosts.h"

#include "catalog_store/sql_text.h"

namespace sonarchive::catalog {

std::vector<HostCheck> CheckCatalogHosts(Database& database, const PathRules& rules,
                                         platform::ReachabilityCheck& check,
                                         platform::ReachableHosts& hosts,
                                         const std::function<void()>& letEventsRun) {
    hosts.Clear();
    // Read before checking: the checks take seconds and let events run meanwhile, which must
    // not find the catalog held by an open query.
    std::vector<std::string> serials;
    for (Query query(database,
                     "select distinct dDriveSerialnumber from maindata where "
                     "dDriveSerialnumber like '" +
                         SqlQuote(rules.NetworkPrefix()) + "%'");
         !query.AtEnd(); query.Next()) {
        serials.push_back(query[0].AsText());
    }
    std::vector<HostCheck> checked;
    for (const auto& serial : serials) {
        const std::string host = rules.NetworkHostOf(serial, true);
        if (host.empty()) {
            continue;
        }
        const platform::PingState state = check.Check(host, letEventsRun);
        if (state == platform::PingState::Reachable) {
            hosts.RegisterHost(host);
        }
        checked.push_back({host, state});
    }
    return checked;
}

}  // namespace sonarchive::catalog
