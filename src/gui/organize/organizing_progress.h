// "Copying files...", "Moving files..." or "Creating preview...": the progress of one File
// Organizer run, with the paths in hand and a "&Cancel" that asks first. The run talks to the
// user through it; it shows the paths, the bar and the cancel flag itself.
#pragma once

#include <QDialog>

#include "interaction/forwarding_interaction.h"
#include "organize/disk_organizer.h"

class QLabel;
class QProgressBar;

namespace sonarchive::gui {

class TfOrganizing : public QDialog {
    Q_OBJECT
public:
    TfOrganizing(Interaction& user, organize::OrganizeMode mode, QWidget* parent = nullptr);

    void ShowPaths(const std::string& from, const std::string& to);
    QProgressBar& Bar() { return *bar_; }
    bool Cancelled() const { return cancelled_; }

    // "&Cancel", Escape and closing the window ask whether to stop.
    void reject() override;

private:
    Interaction& user_;
    organize::OrganizeMode mode_;
    QLabel* from_;
    QLabel* to_;
    QProgressBar* bar_;
    bool cancelled_ = false;
};

class OrganizingProgress : public ForwardingInteraction {
public:
    OrganizingProgress(Interaction& user, TfOrganizing& window)
        : ForwardingInteraction(user), window_(window) {}

    void SetProgressMaximum(int maximum) override;
    void SetProgressPosition(int position) override;
    bool CancelRequested() override { return window_.Cancelled(); }
    void ProcessPendingEvents() override;

private:
    TfOrganizing& window_;
};

}  // namespace sonarchive::gui
