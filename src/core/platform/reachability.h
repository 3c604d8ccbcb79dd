// Whether a network host answers now ("ping").
//
// The name lookup and the probe of each host run on a worker thread of their own, so that the
// hosts of one check are tried at the same time; the calling thread waits for them at most the
// time-out each, letting its pending events run meanwhile, so a window stays responsive while
// dead hosts are tried, and five dead hosts cost no more than one.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "interaction/interaction.h"

namespace sonarchive::platform {

// The marker of a check: Waiting while it runs, then one of the results.
enum class PingState : int { Waiting = 0, Reachable = 1, Unreachable = -9 };

// The means of testing a host; tests put a fake in its place.
class HostProber {
public:
    virtual ~HostProber() = default;
    // The numeric addresses of a host name ("127.0.0.1", "::1"); empty when the lookup fails.
    // May block; called off the calling thread.
    virtual std::vector<std::string> Resolve(const std::string& host) = 0;
    // True when the host answers at one of its numeric addresses within the time-out. Called off
    // the calling thread.
    virtual bool Probe(const std::vector<std::string>& addresses,
                       std::chrono::milliseconds timeout) = 0;
};

class ReachabilityCheck {
public:
    // `timeoutMs` is PING_TIMEOUT; a negative value counts as 0.
    ReachabilityCheck(std::shared_ptr<HostProber> prober, int timeoutMs);

    // Checks a host name or numeric address and waits for the result, calling `letEventsRun`
    // every few milliseconds while it waits. A name that cannot be resolved within the
    // time-out, or a host that does not answer within it, is Unreachable.
    PingState Check(const std::string& host, const std::function<void()>& letEventsRun = {});

    // Checks every host at the same time and waits for them all: the result of each, in the
    // order given. State() is then the last host's result.
    std::vector<PingState> CheckAll(const std::vector<std::string>& hosts,
                                    const std::function<void()>& letEventsRun = {});

    // Waiting while a check runs (seen from `letEventsRun`), else the last result.
    PingState State() const { return state_; }
    // Why the last check could not even start (for every host); empty otherwise.
    const std::string& LastError() const { return lastError_; }
    std::chrono::milliseconds Timeout() const { return timeout_; }

private:
    std::shared_ptr<HostProber> prober_;
    std::chrono::milliseconds timeout_;
    PingState state_ = PingState::Unreachable;
    std::string lastError_;
};

// Before handing a network file to a player: every separator is removed from the host text
// ("//srv" -> "srv"), the user sees the busy cursor while the check runs, and pending events
// run meanwhile.
bool PingHost(ReachabilityCheck& check, std::string_view hostText, Interaction& user);

// True for a dotted IPv4 or an IPv6 address, which needs no name lookup.
bool IsNumericAddress(const std::string& host);

}  // namespace sonarchive::platform
