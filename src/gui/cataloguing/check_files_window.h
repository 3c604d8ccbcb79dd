// "Checking individual files": the small progress window of a test that looks at many files
// one by one. It counts what was found so far, shows a bar, and its "&Cancel" stops the loop at
// the next file. Its estimated-time pair serves longer comparisons and stays hidden here.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace sonarchive::gui {

class TFCheckIndividualFiles : public QDialog {
    Q_OBJECT
public:
    explicit TFCheckIndividualFiles(QWidget* parent = nullptr);

    // Shows the window with that caption and clears the cancel flag.
    void Begin(const QString& caption);
    void Finish();

    void SetCount(const QString& text);
    QProgressBar& Bar() { return *bar_; }
    const bool& Cancelled() const { return cancelled_; }

    // Escape and the title bar's close button stop the test as "&Cancel" does.
    void reject() override;

private:
    QLabel* count_;
    QProgressBar* bar_;
    bool cancelled_ = false;
};

}  // namespace sonarchive::gui
