// The drives and network hosts the main window keeps for every window: the local drive list,
// rebuilt whenever a drive is mounted or unmounted, and the hosts known to answer. List
// windows recolour their rows when `drivesChanged` is emitted.
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "catalog_store/engine.h"
#include "catalog_store/path_rules.h"
#include "platform/drive_list.h"
#include "platform/mount_table.h"
#include "platform/mount_watcher.h"
#include "platform/reachability.h"
#include "platform/reachable_hosts.h"

class QSocketNotifier;

namespace sonarchive::gui {

class ShellDrives : public QObject {
    Q_OBJECT
public:
    ShellDrives(std::shared_ptr<const platform::MountTable> mounts,
                std::shared_ptr<platform::HostProber> prober, QObject* parent = nullptr);
    ~ShellDrives() override;

    const platform::MountTable& Mounts() const { return *mounts_; }
    // How full paths map onto catalog rows through the current mounts.
    const catalog::PathRules& PathRules() const { return *rules_; }
    const platform::LocalDriveList& LocalDrives() const { return localDrives_; }
    platform::ReachableHosts& Hosts() { return hosts_; }
    // The reachability check with the PING_TIMEOUT of this machine.
    platform::ReachabilityCheck& Reachability() { return *check_; }
    void SetPingTimeout(int milliseconds);

    // Rebuilds the local drive list and tells the list windows.
    void BuildLocalDriveList();
    // Empties the reachable-host list and fills it with the catalog's hosts that answer.
    void CheckCatalogHosts(catalog::Database& database);

    // From now on every mount and unmount rebuilds the drive list; `signalFile` is the mount
    // table whose changes the kernel signals.
    void WatchMountTable(const std::string& signalFile = "/proc/self/mountinfo");

signals:
    void drivesChanged();

private:
    void TakeDrives(const platform::LocalDriveList& drives);

    std::shared_ptr<const platform::MountTable> mounts_;
    std::shared_ptr<platform::HostProber> prober_;
    std::unique_ptr<catalog::PathRules> rules_;
    std::unique_ptr<platform::ReachabilityCheck> check_;
    platform::LocalDriveList localDrives_;
    platform::ReachableHosts hosts_;
    std::unique_ptr<platform::MountWatcher> watcher_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace sonarchive::gui
