// "Check archive": the three checks to choose, the button that runs them and the log of every
// run. The window lives for the whole run of the program, so its log does too.
#pragma once

#include <QDialog>

#include "cataloguing/archive_check.h"

class QCheckBox;
class QPlainTextEdit;

namespace sonarchive::gui {

class TFMain;
class TFCheckIndividualFiles;

class TfValidate : public QDialog {
    Q_OBJECT
public:
    explicit TfValidate(TFMain& main);

    // The program's one check window, made on first use.
    static TfValidate& Of(TFMain& main);

    cataloguing::CheckOptions Options() const;
    // The small window that shows the test of the individual files.
    TFCheckIndividualFiles& FileProgress() { return *fileProgress_; }
    // The checks ticked, in order, then the clean-up of collection members.
    void RunChecks();

protected:
    // The choices are read from the settings each time the window shows.
    void showEvent(QShowEvent* event) override;
    // ... and written back when it closes. The window stays open while the checks run.
    void done(int result) override;

private:
    class CheckInteraction;

    void LoadChoices();
    void SaveChoices();
    void Log(const std::string& line);

    TFMain& main_;
    QCheckBox* fixed_;
    QCheckBox* network_;
    QCheckBox* individual_;
    QPlainTextEdit* log_;
    TFCheckIndividualFiles* fileProgress_;
    bool running_ = false;
};

}  // namespace sonarchive::gui
