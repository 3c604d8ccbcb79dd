#include "gui/organize/organize_windows.h"

#include "gui/organize/organizer_window.h"
#include "gui/organize/rename_window.h"

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
}

}  // namespace sonarchive::gui
