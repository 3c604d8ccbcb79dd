#include "gui/shell/shell_drives.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include "catalog_store/catalog_hosts.h"
#include "platform/machine_ini.h"

namespace sonarchive::gui {

ShellDrives::ShellDrives(std::shared_ptr<const platform::MountTable> mounts,
                         std::shared_ptr<platform::HostProber> prober, QObject* parent)
    : QObject(parent),
      mounts_(std::move(mounts)),
      prober_(std::move(prober)),
      rules_(std::make_unique<catalog::PosixPathRules>(*mounts_)),
      check_(std::make_unique<platform::ReachabilityCheck>(prober_,
                                                           platform::kDefaultPingTimeoutMs)) {}

ShellDrives::~ShellDrives() = default;

void ShellDrives::SetPingTimeout(int milliseconds) {
    check_ = std::make_unique<platform::ReachabilityCheck>(prober_, milliseconds);
}

void ShellDrives::BuildLocalDriveList() {
    TakeDrives(platform::BuildLocalDriveList(*mounts_));
}

void ShellDrives::TakeDrives(const platform::LocalDriveList& drives) {
    localDrives_ = drives;
    emit drivesChanged();
}

void ShellDrives::CheckCatalogHosts(catalog::Database& database) {
    // The window stays painted while a dead host is tried; commands wait for the start-up.
    catalog::CheckCatalogHosts(database, *rules_, *check_, hosts_, [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

void ShellDrives::WatchMountTable(const std::string& signalFile) {
    notifier_.reset();
    watcher_ = std::make_unique<platform::MountWatcher>(*mounts_, signalFile);
    watcher_->Subscribe([this](const platform::LocalDriveList& drives) { TakeDrives(drives); });
    if (watcher_->FileDescriptor() < 0) {
        return;  // no mount table to watch: the list stays as built
    }
    notifier_ =
        std::make_unique<QSocketNotifier>(watcher_->FileDescriptor(), QSocketNotifier::Exception);
    connect(notifier_.get(), &QSocketNotifier::activated, this,
            [this] { watcher_->ProcessChange(); });
}

}  // namespace sonarchive::gui
