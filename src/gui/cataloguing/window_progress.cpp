#include "gui/cataloguing/window_progress.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <algorithm>

namespace sonarchive::gui {

WindowProgress::WindowProgress(Interaction& user, QProgressBar& bar, const bool& cancelled)
    : ForwardingInteraction(user), bar_(bar), cancelled_(cancelled) {}

void WindowProgress::SetProgressMaximum(int maximum) {
    // A range of 0..0 would turn the bar into a busy indicator; nothing to do shows empty.
    bar_.setRange(0, std::max(maximum, 1));
    bar_.setValue(0);
}

void WindowProgress::SetProgressPosition(int position) {
    bar_.setValue(position);
}

void WindowProgress::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

}  // namespace sonarchive::gui
