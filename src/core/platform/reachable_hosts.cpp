#include "platform/reachable_hosts.h"

#include "text/text.h"

namespace sonarchive::platform {
namespace {

std::string_view WithoutLeadingSeparators(std::string_view host) {
    if (host.starts_with("//") || host.starts_with("\\\\")) {
        host.remove_prefix(2);
    }
    return host;
}

}  // namespace

int ReachableHosts::IsHostReachable(std::string_view host) const {
    host = WithoutLeadingSeparators(host);
    for (std::size_t i = 0; i < hosts_.size(); ++i) {
        if (text::EqualsIgnoringCase(hosts_[i], host)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ReachableHosts::RegisterHost(std::string_view host) {
    if (IsHostReachable(host) < 0) {
        hosts_.emplace_back(WithoutLeadingSeparators(host));
    }
}

}  // namespace sonarchive::platform
