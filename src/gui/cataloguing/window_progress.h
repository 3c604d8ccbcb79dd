// An operation run from a window that shows its progress itself: the window's bar follows the
// operation, the window's cancel button stops it, and the window's events keep running between
// items. Messages and questions still reach the user through the program's interaction.
#pragma once

#include "interaction/forwarding_interaction.h"

class QProgressBar;

namespace sonarchive::gui {

class WindowProgress : public ForwardingInteraction {
public:
    // `cancelled` is the window's cancel flag, read between items.
    WindowProgress(Interaction& user, QProgressBar& bar, const bool& cancelled);

    void SetProgressMaximum(int maximum) override;
    void SetProgressPosition(int position) override;
    bool CancelRequested() override { return cancelled_; }
    void ProcessPendingEvents() override;

private:
    QProgressBar& bar_;
    const bool& cancelled_;
};

}  // namespace sonarchive::gui
