#include "gui/organize/organize_windows.h"

#include <QTimer>

#include "gui/organize/duplicates_window.h"
#include "gui/organize/organizer_window.h"
#include "gui/organize/rename_window.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"

namespace sonarchive::gui {

void AddOrganizeWindows(WindowProviders& providers) {
    providers.renameFiles = [](TFMain& main, catalog::IdList ids) {
        TFRename& window = TFRename::Of(main);
        window.SetIds(std::move(ids));
        return window.ShowModal();
    };
    providers.fileOrganizer = [](TFMain& main, ListWindow* source) {
        TFDiskOrgMain::Selection selection;
        if (source != nullptr) {
            selection = [source] { return std::optional<catalog::IdList>(source->SelectedIds()); };
        }
        return TFDiskOrgMain::Of(main).ShowModal(std::move(selection));
    };
    providers.duplicates = [](TFMain& main) -> QWidget* {
        auto* finder = new TFDuplicates(main);
        // The method is asked once the finder stands in its child window.
        QTimer::singleShot(0, finder,
                           [finder] { finder->Main().Run([finder] { finder->NewSearch(); }); });
        return finder;
    };
}

}  // namespace sonarchive::gui
