#include "gui/shell/program.h"

#include <QApplication>

#include "gui/catalog_store/init_window.h"
#include "gui/catalog_store/message_window.h"
#include "gui/catalog_store/welcome_dialog.h"
#include "gui/lists/confirm_dialog.h"
#include "gui/shell/about_box.h"
#include "gui/shell/app_context.h"
#include "gui/shell/help_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/mini_player.h"
#include "gui/shell/opened_files.h"
#include "gui/shell/preferences_dialog.h"
#include "gui/shell/qt_media_backend.h"
#include "gui/shell/tips_window.h"
#include "platform/proc_mount_table.h"
#include "platform/system_host_prober.h"

namespace sonarchive::gui {

Program::Program(std::string dataDirectory, platform::SettingsFile& settings, ProgramParts parts)
    : interaction_(parts.interaction != nullptr ? *parts.interaction : dialogs_),
      app_(std::make_unique<AppContext>(std::move(dataDirectory), settings, interaction_)) {
    CreateWindows(parts);
}

Program::~Program() = default;

void Program::CreateWindows(ProgramParts& parts) {
    std::shared_ptr<const platform::MountTable> mounts =
        parts.mounts ? std::move(parts.mounts) : std::make_shared<platform::ProcMountTable>();
    std::shared_ptr<platform::HostProber> prober =
        parts.hostProber ? std::move(parts.hostProber)
                         : std::make_shared<platform::SystemHostProber>();
    main_ = std::make_unique<TFMain>(*app_, std::move(parts.providers), std::move(mounts),
                                     std::move(prober));
    TFMain* owner = main_.get();
    windows_.help = new HelpWindow(owner);
    windows_.about = new AboutBox(owner);
    windows_.init = new TFInit(owner);
    windows_.confirm = new TfConfirm(*windows_.help, owner);
    windows_.welcome = new TfWelcome(owner);
    windows_.tips = new TFTips(app_->Registry(), *windows_.help, owner);
    windows_.preferences = new TFPreferences(app_->Registry(), *windows_.help, owner);
    std::unique_ptr<MediaBackend> backend =
        parts.mediaBackend ? parts.mediaBackend() : std::make_unique<QtMediaBackend>();
    windows_.miniPlayer = new TFMiniPlayer(std::move(backend), owner);
    windows_.message = new TFMessage(owner);
    dialogs_.SetWindows(owner, windows_.message, windows_.confirm);
    main_->AttachWindows(windows_);
    opened_ = new OpenedFiles(*owner);
}

StartupSequence::Result Program::Start() {
    main_->show();
    const StartupSequence::Result result = StartupSequence(*main_).Run();
    if (result == StartupSequence::Result::EndProgram) {
        main_->close();
    } else {
        opened_->StartupDone();
    }
    return result;
}

int Program::Run() {
    if (Start() == StartupSequence::Result::EndProgram) {
        return 1;
    }
    QObject::connect(main_.get(), &TFMain::closed, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return QApplication::exec();
}

void Program::OpenFiles(std::vector<std::string> paths) {
    opened_->Receive(std::move(paths));
}

void Program::TakeHandOver(std::vector<std::string> paths) {
    if (main_->isMinimized()) {
        main_->showNormal();
    }
    main_->raise();
    main_->activateWindow();
    opened_->Receive(std::move(paths));
}

}  // namespace sonarchive::gui
