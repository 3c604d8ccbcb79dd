#include "gui/shell/shell_drives.h"

#include <QSocketNotifier>

#include "platform/machine_ini.h"

namespace sonarchive::gui {

ShellDrives::ShellDrives(Sources sources, QObject* parent)
    : QObject(parent),
      sources_(std::move(sources)),
      pingTimeout_(platform::kDefaultPingTimeoutMs) {}

ShellDrives::~ShellDrives() = default;

void ShellDrives::BuildLocalDriveList() {
    localDrives_ = sources_.localDrives ? sources_.localDrives() : platform::LocalDriveList();
    emit drivesChanged();
}

void ShellDrives::CheckCatalogHosts(catalog::Database& database) {
    reachableHosts_.clear();
    if (sources_.reachableHosts) {
        reachableHosts_ = sources_.reachableHosts(database, pingTimeout_);
    }
}

void ShellDrives::WatchMountTable(int fd, std::function<void()> acknowledge) {
    acknowledge_ = std::move(acknowledge);
    mountWatch_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Exception);
    connect(mountWatch_.get(), &QSocketNotifier::activated, this, [this] {
        if (acknowledge_) {
            acknowledge_();
        }
        BuildLocalDriveList();
    });
}

}  // namespace sonarchive::gui
