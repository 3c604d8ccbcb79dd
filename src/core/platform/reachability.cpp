#include "platform/reachability.h"

#include <arpa/inet.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
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

// Runs `work` on a thread of its own and waits for its result until `deadline`, letting events
// run meanwhile. A work item still running at the deadline is abandoned: it finishes on its
// own later and its result is dropped, which is why it owns everything it uses. Throws
// std::system_error when no thread can be started.
template <typename T>
std::optional<T> RunOffThread(std::function<T()> work, Clock::time_point deadline,
                              const std::function<void()>& letEventsRun) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<T> result;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, work = std::move(work)] {
        T result = work();
        std::lock_guard lock(shared->mutex);
        shared->result = std::move(result);
        shared->done.notify_all();
    }).detach();

    std::unique_lock lock(shared->mutex);
    while (true) {
        const auto until = letEventsRun ? std::min(deadline, Clock::now() + kEventSlice) : deadline;
        if (shared->done.wait_until(lock, until, [&] { return shared->result.has_value(); })) {
            return std::move(shared->result);
        }
        if (Clock::now() >= deadline) {
            return std::nullopt;
        }
        lock.unlock();
        letEventsRun();
        lock.lock();
    }
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
    state_ = PingState::Waiting;
    lastError_.clear();
    std::vector<std::string> addresses;
    try {
        if (IsNumericAddress(host)) {
            addresses.push_back(host);
        } else if (!host.empty()) {
            addresses = RunOffThread<std::vector<std::string>>(
                            [prober = prober_, host] { return prober->Resolve(host); },
                            Clock::now() + timeout_, letEventsRun)
                            .value_or(std::vector<std::string>{});
        }
        if (!addresses.empty()) {
            const bool answered = RunOffThread<bool>(
                                      [prober = prober_, addresses, timeout = timeout_] {
                                          return prober->Probe(addresses, timeout);
                                      },
                                      Clock::now() + timeout_ + kProbeGrace, letEventsRun)
                                      .value_or(false);
            state_ = answered ? PingState::Reachable : PingState::Unreachable;
            return state_;
        }
    } catch (const std::system_error& error) {
        lastError_ =
            host + ": can't start DNS lookup, error #" + std::to_string(error.code().value());
    }
    state_ = PingState::Unreachable;
    return state_;
}

bool PingHost(ReachabilityCheck& check, std::string_view hostText, Interaction& user) {
    std::string host;
    std::copy_if(hostText.begin(), hostText.end(), std::back_inserter(host),
                 [](char c) { return c != '/' && c != '\\'; });
    const BusyScope busy(user);
    return check.Check(host, [&user] { user.ProcessPendingEvents(); }) == PingState::Reachable;
}

}  // namespace sonarchive::platform
