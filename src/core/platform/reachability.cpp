#include "platform/reachability.h"

#include <arpa/inet.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "interaction/scopes.h"

namespace sonarchive::platform {
namespace {

using Clock = std::chrono::steady_clock;

// How often the waiting thread lets events run.
constexpr auto kEventSlice = std::chrono::milliseconds(10);
// The probe keeps the time-out itself; this covers starting and ending its thread.
constexpr auto kProbeGrace = std::chrono::milliseconds(250);

// What the waiting thread knows of one host's check while it runs. The worker threads own it
// together with the waiting thread: a worker still stuck in a lookup when the wait ends
// finishes on its own later, and its result is dropped.
struct HostProgress {
    enum class Phase { LookingUp, Probing, Done };
    Phase phase = Phase::LookingUp;
    Clock::time_point probeDeadline{};
    bool reachable = false;
};

struct Checks {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<HostProgress> hosts;
};

// A host is settled once its answer is in, or once the time it may take is up: the lookup's
// share of it, then the probe's.
bool Settled(const HostProgress& host, Clock::time_point lookupDeadline, Clock::time_point now) {
    switch (host.phase) {
        case HostProgress::Phase::LookingUp:
            return now >= lookupDeadline;
        case HostProgress::Phase::Probing:
            return now >= host.probeDeadline;
        case HostProgress::Phase::Done:
            return true;
    }
    return true;
}

// The next moment at which an unsettled host would settle by its time running out.
Clock::time_point NextDeadline(const std::vector<HostProgress>& hosts,
                               Clock::time_point lookupDeadline) {
    Clock::time_point next = Clock::time_point::max();
    for (const auto& host : hosts) {
        if (host.phase == HostProgress::Phase::LookingUp) {
            next = std::min(next, lookupDeadline);
        } else if (host.phase == HostProgress::Phase::Probing) {
            next = std::min(next, host.probeDeadline);
        }
    }
    return next;
}

void CheckOneHost(const std::shared_ptr<Checks>& checks, std::size_t index,
                  const std::shared_ptr<HostProber>& prober, const std::string& host,
                  std::chrono::milliseconds timeout, Clock::time_point lookupDeadline) {
    std::vector<std::string> addresses;
    if (IsNumericAddress(host)) {
        addresses.push_back(host);
    } else if (!host.empty()) {
        addresses = prober->Resolve(host);
    }
    {
        std::lock_guard lock(checks->mutex);
        HostProgress& progress = checks->hosts[index];
        if (addresses.empty() || Clock::now() >= lookupDeadline) {
            progress.phase = HostProgress::Phase::Done;  // no address in time: unreachable
            checks->changed.notify_all();
            return;
        }
        progress.phase = HostProgress::Phase::Probing;
        progress.probeDeadline = Clock::now() + timeout + kProbeGrace;
    }
    const bool answered = prober->Probe(addresses, timeout);
    std::lock_guard lock(checks->mutex);
    checks->hosts[index].phase = HostProgress::Phase::Done;
    checks->hosts[index].reachable = answered;
    checks->changed.notify_all();
}

}  // namespace

bool IsNumericAddress(const std::string& host) {
    unsigned char buffer[sizeof(in6_addr)];
    return inet_pton(AF_INET, host.c_str(), buffer) == 1 ||
           inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

ReachabilityCheck::ReachabilityCheck(std::shared_ptr<HostProber> prober, int timeoutMs)
    : prober_(std::move(prober)), timeout_(std::max(timeoutMs, 0)) {}

PingState ReachabilityCheck::Check(const std::string& host,
                                   const std::function<void()>& letEventsRun) {
    return CheckAll({host}, letEventsRun).front();
}

std::vector<PingState> ReachabilityCheck::CheckAll(const std::vector<std::string>& hosts,
                                                   const std::function<void()>& letEventsRun) {
    state_ = PingState::Waiting;
    lastError_.clear();
    auto checks = std::make_shared<Checks>();
    checks->hosts.resize(hosts.size());
    const auto lookupDeadline = Clock::now() + timeout_;
    std::size_t started = 0;
    try {
        for (; started < hosts.size(); ++started) {
            std::thread(CheckOneHost, checks, started, prober_, hosts[started], timeout_,
                        lookupDeadline)
                .detach();
        }
    } catch (const std::system_error& error) {
        lastError_ = hosts[started] + ": can't start DNS lookup, error #" +
                     std::to_string(error.code().value());
    }

    std::unique_lock lock(checks->mutex);
    const auto allSettled = [&] {
        const auto now = Clock::now();
        for (std::size_t i = 0; i < started; ++i) {
            if (!Settled(checks->hosts[i], lookupDeadline, now)) {
                return false;
            }
        }
        return true;
    };
    while (!allSettled()) {
        const auto deadline = NextDeadline(checks->hosts, lookupDeadline);
        const auto until = letEventsRun ? std::min(deadline, Clock::now() + kEventSlice) : deadline;
        checks->changed.wait_until(lock, until);
        if (letEventsRun && !allSettled()) {
            lock.unlock();
            letEventsRun();
            lock.lock();
        }
    }
    std::vector<PingState> results;
    for (std::size_t i = 0; i < hosts.size(); ++i) {
        const HostProgress& progress = checks->hosts[i];
        const bool reachable =
            i < started && progress.phase == HostProgress::Phase::Done && progress.reachable;
        results.push_back(reachable ? PingState::Reachable : PingState::Unreachable);
    }
    state_ = results.empty() ? PingState::Unreachable : results.back();
    return results;
}

bool PingHost(ReachabilityCheck& check, std::string_view hostText, Interaction& user) {
    std::string host;
    std::copy_if(hostText.begin(), hostText.end(), std::back_inserter(host),
                 [](char c) { return c != '/' && c != '\\'; });
    const BusyScope busy(user);
    return check.Check(host, [&user] { user.ProcessPendingEvents(); }) == PingState::Reachable;
}

}  // namespace sonarchive::platform
