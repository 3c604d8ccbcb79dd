#include "gui/window_providers.h"

namespace sonarchive::gui {

WindowProviders AllWindowProviders() {
    WindowProviders providers;
    // Each part of the program adds its windows here, one call per part.
    return providers;
}

}  // namespace sonarchive::gui
