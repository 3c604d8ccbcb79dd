// The default error box: an engine error that the command did not handle itself is shown with
// the engine's message, and the program carries on.
#pragma once

#include <functional>

#include "interaction/interaction.h"

namespace sonarchive::gui {

// Runs the command; answers false when an engine error stopped it.
bool ReportEngineErrors(Interaction& interaction, const std::function<void()>& command);

}  // namespace sonarchive::gui
