// The drives and network hosts the main window keeps for every window: the local drive list,
// rebuilt whenever the mount table changes, and the hosts that answered at start-up. List
// windows recolour their rows when `drivesChanged` is emitted.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalog_store/engine.h"
#include "platform/drive_list.h"

class QSocketNotifier;

namespace sonarchive::gui {

class ShellDrives : public QObject {
    Q_OBJECT
public:
    // Where the drive list and the reachable hosts come from.
    struct Sources {
        std::function<platform::LocalDriveList()> localDrives;
        // The catalog's network hosts that answer within the time-out (milliseconds).
        std::function<std::vector<std::string>(catalog::Database&, int timeoutMs)> reachableHosts;
    };

    explicit ShellDrives(Sources sources, QObject* parent = nullptr);
    ~ShellDrives() override;

    const platform::LocalDriveList& LocalDrives() const { return localDrives_; }
    const std::vector<std::string>& ReachableHosts() const { return reachableHosts_; }

    void SetPingTimeout(int milliseconds) { pingTimeout_ = milliseconds; }
    int PingTimeout() const { return pingTimeout_; }

    // Rebuilds the local drive list and tells the list windows.
    void BuildLocalDriveList();
    // Fills the reachable-host list with the catalog's hosts that answer.
    void CheckCatalogHosts(catalog::Database& database);

    // Rebuilds the drive list whenever `fd` reports a change of the mount table (priority
    // data, as the kernel signals it); `acknowledge` is called first to take the event.
    void WatchMountTable(int fd, std::function<void()> acknowledge);

signals:
    void drivesChanged();

private:
    Sources sources_;
    platform::LocalDriveList localDrives_;
    std::vector<std::string> reachableHosts_;
    int pingTimeout_;
    std::unique_ptr<QSocketNotifier> mountWatch_;
    std::function<void()> acknowledge_;
};

}  // namespace sonarchive::gui
