// "Checking individual files": the small progress window of a test that looks at many files
// one by one. It counts what was found so far, shows a bar, and its "&Cancel" stops the loop at
// the next file. The duplicate finder uses it for its two steps, collecting and comparing;
// only a comparison long enough to estimate shows the time it has left.
#pragma once

#include <QDialog>
#include <cstddef>

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

    // The duplicate finder's steps: 2 collects the files' data, 1 compares them. The count
    // goes on from step to step.
    void BeginDuplicates(int mode);
    void SetDuplicatesFound(std::size_t count);
    // "hh:nn:ss"; the pair stays hidden while the text is empty.
    void SetTimeLeft(const QString& text);

    void SetCount(const QString& text);
    QProgressBar& Bar() { return *bar_; }
    const bool& Cancelled() const { return cancelled_; }

    // Escape and the title bar's close button stop the test as "&Cancel" does.
    void reject() override;

private:
    QLabel* count_;
    QLabel* timeLeftCaption_;
    QLabel* timeLeft_;
    QProgressBar* bar_;
    bool cancelled_ = false;
};

}  // namespace sonarchive::gui
