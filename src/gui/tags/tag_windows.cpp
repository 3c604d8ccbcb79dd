#include "gui/tags/tag_windows.h"

#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "gui/tags/mass_update_window.h"
#include "gui/tags/tag_editor_window.h"
#include "tags/row_write_back.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

// The tag editor on one row's file; then the row rewritten from the tag as the file holds it.
std::optional<EditedTags> EditRowTags(TFMain& main, std::int64_t id, const std::string& fullPath) {
    TFEditMP3Properties editor(main.App(), *main.Windows().help, &main);
    const int written = editor.Edit(fullPath);
    if (written == tags::kTagNone) {
        return std::nullopt;
    }
    auto values = tags::WriteBackEditedTags(main.App().Catalog(), id, fullPath, written);
    if (!values) {
        // The list's messages panel is out of reach from here; the row keeps its values.
        main.App().User().ShowError("Couldn't read file: " + text::PathForDisplay(fullPath));
        return std::nullopt;
    }
    return EditedTags{written, std::move(*values)};
}

// The program's one mass update window, made on first use.
bool MassUpdate(TFMain& main, catalog::IdList ids) {
    auto* window = main.findChild<TFMassUpdateTag*>();
    if (window == nullptr) {
        window =
            new TFMassUpdateTag(main.App(), main.Drives().PathRules(), *main.Windows().help, &main);
    }
    return window->Run(std::move(ids));
}

}  // namespace

void AddTagWindows(WindowProviders& providers) {
    providers.editRowTags = EditRowTags;
    providers.massUpdate = MassUpdate;
}

}  // namespace sonarchive::gui
