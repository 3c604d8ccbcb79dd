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
    std::vector<std::string> names;
    for (const auto& serial : serials) {
        if (std::string host = rules.NetworkHostOf(serial, true); !host.empty()) {
            names.push_back(std::move(host));
        }
    }
    const std::vector<platform::PingState> states = check.CheckAll(names, letEventsRun);
    std::vector<HostCheck> checked;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (states[i] == platform::PingState::Reachable) {
            hosts.RegisterHost(names[i]);
        }
        checked.push_back({names[i], states[i]});
    }
    return checked;
}

}  // namespace sonarchive::catalog
