#include "gui/cataloguing/cataloguing_windows.h"

#include "gui/cataloguing/reread_window.h"
#include "gui/cataloguing/validate_window.h"

namespace sonarchive::gui {

void AddCataloguingWindows(WindowProviders& providers) {
    providers.checkArchive = [](TFMain& main) { TfValidate::Of(main).exec(); };
    providers.rereadTags = [](TFMain& main) {
        TfReRead window(main);
        window.exec();
    };
}

}  // namespace sonarchive::gui
