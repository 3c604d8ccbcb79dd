#include "gui/shell/engine_errors.h"

#include "catalog_store/engine.h"

namespace sonarchive::gui {

bool ReportEngineErrors(Interaction& interaction, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const catalog::EngineError& error) {
        interaction.ShowError(error.Message());
        return false;
    }
}

}  // namespace sonarchive::gui
