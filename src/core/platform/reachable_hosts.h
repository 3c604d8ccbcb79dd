// The network hosts known to answer in this run: those that answered the start-up check and
// those files were added from since.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sonarchive::platform {

class ReachableHosts {
public:
    // The index of the host in the list, or -1. Two leading separators ("//srv", "\\srv") are
    // removed from the argument; the comparison ignores case.
    int IsHostReachable(std::string_view host) const;
    // Appends the host, without leading separators, unless IsHostReachable finds it.
    void RegisterHost(std::string_view host);
    void Clear() { hosts_.clear(); }

    const std::vector<std::string>& Hosts() const { return hosts_; }

private:
    std::vector<std::string> hosts_;
};

}  // namespace sonarchive::platform
