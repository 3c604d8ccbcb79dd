// The windows and tools every part of the desktop program contributes, gathered in one place
// for the program and for its pictures.
#pragma once

#include "gui/shell/child_window.h"

namespace sonarchive::gui {

WindowProviders AllWindowProviders();

}  // namespace sonarchive::gui
