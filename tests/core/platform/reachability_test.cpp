#include "platform/reachability.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/reachable_hosts.h"
#include "platform/system_host_prober.h"
#include "support/fake_host_prober.h"
#include "support/scripted_interaction.h"

namespace sonarchive::platform {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using sonarchive::testing::FakeHostProber;

TEST(ReachableHosts, IgnoreCaseAndLeadingSeparators) {
    ReachableHosts hosts;
    EXPECT_EQ(hosts.IsHostReachable("srv1"), -1);
    hosts.RegisterHost("srv1");
    hosts.RegisterHost("SRV1");
    hosts.RegisterHost("//nas");
    EXPECT_EQ(hosts.Hosts(), (std::vector<std::string>{"srv1", "nas"}));
    EXPECT_EQ(hosts.IsHostReachable("//SRV1"), 0);
    EXPECT_EQ(hosts.IsHostReachable("\\\\Srv1"), 0);
    EXPECT_EQ(hosts.IsHostReachable("NAS"), 1);
    EXPECT_EQ(hosts.IsHostReachable("srv"), -1);
    hosts.Clear();
    EXPECT_EQ(hosts.IsHostReachable("nas"), -1);
}

class FakeReachability : public ::testing::Test {
protected:
    FakeReachability() {
        prober->names["nas"] = {"192.0.2.10"};
        prober->names["old-pc"] = {"192.0.2.20"};
        prober->names["dual"] = {"2001:db8::1", "192.0.2.30"};
        prober->answering = {"192.0.2.10", "192.0.2.30", "198.51.100.7"};
    }
    ~FakeReachability() override { prober->Release(); }

    std::shared_ptr<FakeHostProber> prober = std::make_shared<FakeHostProber>();
    ReachabilityCheck check{prober, 100};
};

TEST_F(FakeReachability, ThreeOutcomesOfNamesAndAddresses) {
    EXPECT_EQ(check.Check("nas"), PingState::Reachable);
    EXPECT_EQ(check.State(), PingState::Reachable);
    EXPECT_EQ(check.Check("old-pc"), PingState::Unreachable);        // resolves, does not answer
    EXPECT_EQ(check.Check("no-such-host"), PingState::Unreachable);  // lookup fails
    EXPECT_EQ(check.Check("dual"), PingState::Reachable);            // any address may answer
    EXPECT_EQ(check.Check("198.51.100.7"), PingState::Reachable);
    EXPECT_EQ(check.Check(""), PingState::Unreachable);
    EXPECT_EQ(check.LastError(), "");

    // Numeric addresses are probed as they are, without a lookup.
    EXPECT_EQ(prober->Lookups(),
              (std::vector<std::string>{"nas", "old-pc", "no-such-host", "dual"}));
    const auto probes = prober->Probes();
    ASSERT_EQ(probes.size(), 4u);  // a failed lookup probes nothing
    EXPECT_EQ(probes[2], (std::vector<std::string>{"2001:db8::1", "192.0.2.30"}));
    EXPECT_EQ(probes[3], (std::vector<std::string>{"198.51.100.7"}));
}

TEST_F(FakeReachability, AHangingLookupEndsAtTheTimeOutWhileEventsRun) {
    prober->HangLookups();
    int events = 0;
    PingState seenWhileWaiting = PingState::Reachable;
    const auto start = Clock::now();
    EXPECT_EQ(check.Check("nas",
                          [&] {
                              ++events;
                              seenWhileWaiting = check.State();
                          }),
              PingState::Unreachable);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, 100ms);
    EXPECT_LT(waited, 600ms);
    EXPECT_GE(events, 3);  // every 10 ms or so
    EXPECT_EQ(seenWhileWaiting, PingState::Waiting);
}

TEST_F(FakeReachability, TheHostsOfOneCheckAreTriedTogether) {
    prober->silentHostsWait = true;
    const std::vector<std::string> silent = {"192.0.2.2", "192.0.2.3", "192.0.2.4", "192.0.2.5",
                                             "192.0.2.6"};
    auto start = Clock::now();
    EXPECT_EQ(check.CheckAll(silent), std::vector<PingState>(5, PingState::Unreachable));
    auto waited = Clock::now() - start;
    EXPECT_GE(waited, 100ms);
    EXPECT_LT(waited, 300ms);  // one time-out, not five
    EXPECT_EQ(prober->Probes().size(), 5u);

    // Answers come back in the order asked, whichever arrives first.
    start = Clock::now();
    EXPECT_EQ(check.CheckAll({"old-pc", "nas", "no-such-host", "198.51.100.7"}),
              (std::vector<PingState>{PingState::Unreachable, PingState::Reachable,
                                      PingState::Unreachable, PingState::Reachable}));
    EXPECT_LT(Clock::now() - start, 300ms);
    EXPECT_EQ(check.State(), PingState::Reachable);
    EXPECT_TRUE(check.CheckAll({}).empty());
}

TEST_F(FakeReachability, AHangingLookupDelaysNoOtherHost) {
    prober->HangLookups();
    int events = 0;
    const auto start = Clock::now();
    EXPECT_EQ(check.CheckAll({"nas", "198.51.100.7", "192.0.2.10"}, [&] { ++events; }),
              (std::vector<PingState>{PingState::Unreachable, PingState::Reachable,
                                      PingState::Reachable}));
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, 100ms);  // the lookup's share of the time-out
    EXPECT_LT(waited, 300ms);
    EXPECT_GE(events, 3);
}

TEST_F(FakeReachability, PingHostDropsSeparatorsAndShowsTheBusyCursor) {
    struct CountingInteraction : sonarchive::testing::ScriptedInteraction {
        void ProcessPendingEvents() override { ++events; }
        int events = 0;
    } user;
    prober->HangLookups();
    EXPECT_FALSE(PingHost(check, "//old-pc", user));
    EXPECT_GT(user.events, 0);
    prober->Release();
    EXPECT_TRUE(PingHost(check, "\\\\nas", user));
    EXPECT_FALSE(PingHost(check, "//old-pc", user));
    EXPECT_EQ(user.log, (std::vector<std::string>{"busy", "idle", "busy", "idle", "busy", "idle"}));
    EXPECT_EQ(prober->Lookups(), (std::vector<std::string>{"old-pc", "nas", "old-pc"}));
}

// The only real traffic of the unit tests: loopback.
TEST(SystemReachability, LoopbackAnswersWithinTheTimeOut) {
    ReachabilityCheck check(std::make_shared<SystemHostProber>(), 1000);
    for (const char* host : {"127.0.0.1", "localhost"}) {
        const auto start = Clock::now();
        EXPECT_EQ(check.Check(host), PingState::Reachable) << host;
        EXPECT_LT(Clock::now() - start, 1000ms) << host;
    }
    EXPECT_TRUE(IsNumericAddress("127.0.0.1"));
    EXPECT_TRUE(IsNumericAddress("::1"));
    EXPECT_FALSE(IsNumericAddress("localhost"));
    EXPECT_FALSE(IsNumericAddress("127.0.0.1.example"));
}

}  // namespace
}  // namespace sonarchive::platform
