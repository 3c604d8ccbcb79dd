// Testing hosts with the system's own means.
#pragma once

#include "platform/reachability.h"

namespace sonarchive::platform {

// Names are resolved with getaddrinfo. A host is probed at once with one ICMP echo request (56
// data bytes, time-to-live 64) on an unprivileged ICMP datagram socket where the system allows
// those (net.ipv4.ping_group_range), and with TCP connects to the ports of the file-sharing
// services (445, 139, 2049, 22): the first answer wins, and a refused connection proves the
// host is up as well as an accepted one.
class SystemHostProber final : public HostProber {
public:
    std::vector<std::string> Resolve(const std::string& host) override;
    bool Probe(const std::vector<std::string>& addresses,
               std::chrono::milliseconds timeout) override;
};

}  // namespace sonarchive::platform
