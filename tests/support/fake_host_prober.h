// A host prober whose names and answering addresses the test sets. It never touches the
// network.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/reachability.h"

namespace sonarchive::testing {

class FakeHostProber : public platform::HostProber {
public:
    // The addresses each name resolves to; a name not listed fails to resolve.
    std::map<std::string, std::vector<std::string>> names;
    // The addresses that answer a probe.
    std::set<std::string> answering;
    // Probes of addresses that do not answer take the whole time-out, as on a real network.
    bool silentHostsWait = false;

    // Makes lookups block until Release (a resolver that does not answer).
    void HangLookups() {
        std::lock_guard lock(mutex_);
        hang_ = true;
    }
    void Release() {
        std::lock_guard lock(mutex_);
        hang_ = false;
        released_.notify_all();
    }

    std::vector<std::string> Resolve(const std::string& host) override {
        std::unique_lock lock(mutex_);
        lookups_.push_back(host);
        released_.wait(lock, [this] { return !hang_; });
        const auto found = names.find(host);
        return found == names.end() ? std::vector<std::string>{} : found->second;
    }

    bool Probe(const std::vector<std::string>& addresses,
               std::chrono::milliseconds timeout) override {
        bool wait = false;
        {
            std::lock_guard lock(mutex_);
            probes_.push_back(addresses);
            for (const auto& address : addresses) {
                if (answering.count(address) != 0) {
                    return true;
                }
            }
            wait = silentHostsWait;
        }
        if (wait) {
            std::this_thread::sleep_for(timeout);
        }
        return false;
    }

    std::vector<std::string> Lookups() const {
        std::lock_guard lock(mutex_);
        return lookups_;
    }
    std::vector<std::vector<std::string>> Probes() const {
        std::lock_guard lock(mutex_);
        return probes_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool hang_ = false;
    std::vector<std::string> lookups_;
    std::vector<std::vector<std::string>> probes_;
};

}  // namespace sonarchive::testing
