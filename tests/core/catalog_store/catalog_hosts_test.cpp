#include "catalog_store/catalog_hosts.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "catalog_store/catalog.h"
#include "support/fake_host_prober.h"
#include "support/fake_mount_table.h"
#include "support/test_support.h"

namespace sonarchive::catalog {
namespace {

using platform::PingState;
using sonarchive::testing::FakeHostProber;
using sonarchive::testing::FakeMountTable;
using sonarchive::testing::TempDir;

bool ByHost(const HostCheck& a, const HostCheck& b) {
    return a.host < b.host;
}

TEST(CheckCatalogHosts, ChecksEveryNetworkHostOfTheCatalogOnce) {
    TempDir dir;
    Catalog catalog(dir.Path());
    for (const char* serial :
         {"//srv1", "//SRV1", "//srv1", "//dead", "//nowhere", "0A1B2C3D", "\\\\winsrv"}) {
        catalog.Engine().Execute("insert into maindata (dPath, dDriveSerialNumber) values ('" +
                                 std::string(serial) + "/a.mp3', '" + serial + "')");
    }
    auto prober = std::make_shared<FakeHostProber>();
    prober->names = {{"srv1", {"192.0.2.1"}}, {"SRV1", {"192.0.2.1"}}, {"dead", {"192.0.2.2"}}};
    prober->answering = {"192.0.2.1"};
    platform::ReachabilityCheck check(prober, 100);
    platform::ReachableHosts hosts;
    hosts.RegisterHost("left-from-before");
    FakeMountTable mounts;
    const PosixPathRules rules(mounts);
    std::vector<std::string> statements;
    catalog.Engine().SetStatementObserver(
        [&](const std::string& sql) { statements.push_back(sql); });

    auto checked = CheckCatalogHosts(catalog.Engine(), rules, check, hosts);
    EXPECT_EQ(statements.front(),
              "select distinct dDriveSerialnumber from maindata where "
              "dDriveSerialnumber like '//%'");
    std::sort(checked.begin(), checked.end(), ByHost);
    EXPECT_EQ(checked, (std::vector<HostCheck>{{"SRV1", PingState::Reachable},
                                               {"dead", PingState::Unreachable},
                                               {"nowhere", PingState::Unreachable},
                                               {"srv1", PingState::Reachable}}));
    // Both spellings were checked; the list holds the host once and finds it in any case.
    EXPECT_EQ(hosts.Hosts().size(), 1u);
    EXPECT_EQ(hosts.IsHostReachable("//Srv1"), 0);
    EXPECT_EQ(hosts.IsHostReachable("left-from-before"), -1);
    EXPECT_EQ(hosts.IsHostReachable("dead"), -1);
}

}  // namespace
}  // namespace sonarchive::catalog
