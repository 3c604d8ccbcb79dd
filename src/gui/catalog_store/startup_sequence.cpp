#include "gui/catalog_store/startup_sequence.h"

#include <QMdiSubWindow>

#include "catalog_store/engine.h"
#include "catalog_store/startup.h"
#include "gui/catalog_store/init_window.h"
#include "gui/catalog_store/welcome_dialog.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/logo_area.h"
#include "gui/shell/main_window.h"
#include "platform/machine_ini.h"

namespace sonarchive::gui {
namespace {

// Closes the initializing window and restores the cursor however the steps end.
class InitGuard {
public:
    InitGuard(Interaction& user, TFInit& init) : user_(user), init_(init) { user_.SetBusy(true); }
    ~InitGuard() {
        init_.Finish();
        user_.SetBusy(false);
    }
    InitGuard(const InitGuard&) = delete;
    InitGuard& operator=(const InitGuard&) = delete;

private:
    Interaction& user_;
    TFInit& init_;
};

}  // namespace

StartupSequence::Result StartupSequence::Run() {
    bool rereadRequested = false;
    const Result prepared = PrepareCatalog(rereadRequested);
    if (prepared != Result::Completed) {
        return prepared;
    }
    AppContext& app = main_.App();
    if (catalog::TakeFirstTimeUsage(app.Registry(), app.General())) {
        OfferFirstSearch();
    }
    if (app.Registry().ReadRegInteger("BROWSE_WINDOW_STARTUP") == 1 && main_.Providers().browse) {
        OpenBrowseWindow();
    }
    if (rereadRequested && main_.Providers().rereadTags) {
        main_.Run([this] { main_.Providers().rereadTags(main_); });
    }
    return Result::Completed;
}

StartupSequence::Result StartupSequence::PrepareCatalog(bool& rereadRequested) {
    AppContext& app = main_.App();
    TFInit& init = *main_.Windows().init;
    try {
        InitGuard guard(app.User(), init);
        catalog::Catalog& catalog = app.Catalog();
        main_.Drives().SetPingTimeout(platform::ReadPingTimeout());
        catalog::CatalogStartup startup(catalog, app.Registry(), app.User());
        const catalog::StartupOutcome outcome = startup.Run();
        if (outcome.endProgram) {
            return Result::EndProgram;
        }
        rereadRequested = outcome.rereadRequested;
        app.LoadSearchHistory();

        init.Start();
        init.SetStatus(QObject::tr("Collecting info about local drives"));
        main_.Drives().BuildLocalDriveList();
        init.SetStatus(QObject::tr("Checking network connections"));
        main_.Drives().CheckCatalogHosts(catalog.Engine());
        init.SetStatus(QObject::tr("Connecting to database"));
        main_.RefreshFileCounter();
        main_.RefreshCollections();
        main_.ConnectCatalog();
    } catch (const catalog::EngineError& error) {
        // The guard has closed the initializing window and restored the cursor by now.
        app.User().ShowError(error.Message());
        return Result::Stopped;
    }
    return Result::Completed;
}

void StartupSequence::OfferFirstSearch() {
    if (main_.Windows().welcome->AskToSearch() && main_.Providers().addFromAllDrives) {
        main_.Run([this] { main_.Providers().addFromAllDrives(main_); });
    }
}

void StartupSequence::OpenBrowseWindow() {
    TFInit& init = *main_.Windows().init;
    init.Start();
    init.SetStatus(QObject::tr("Retrieving data from the archive"));
    main_.Run([this] { main_.OpenSingle(ChildKind::Browse); });
    init.Finish();

    ChildWindows& children = main_.Children();
    if (QMdiSubWindow* browse = children.FindOpen(ChildKind::Browse)) {
        const QRect client = main_.Area().viewport()->rect();
        browse->setGeometry(0, 0, client.width() - 4, client.height() - 4);
    }
    if (QMdiSubWindow* search = children.FindOpen(ChildKind::Search)) {
        search->showMinimized();
        children.BringToFront(search);
    }
}

}  // namespace sonarchive::gui
