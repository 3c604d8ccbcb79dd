#include "gui/cataloguing/check_files_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace sonarchive::gui {

TFCheckIndividualFiles::TFCheckIndividualFiles(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FCheckIndividualFiles"));
    setWindowTitle(tr("Checking individual files"));
    count_ = new QLabel(tr("Files found:"), this);
    count_->setObjectName(QStringLiteral("LFilesFound"));
    count_->setMinimumWidth(320);
    timeLeftCaption_ = new QLabel(tr("Estimated time left:"), this);
    timeLeftCaption_->setObjectName(QStringLiteral("LTimeLeftCaption"));
    timeLeft_ = new QLabel(this);
    timeLeft_->setObjectName(QStringLiteral("LTimeLeft"));
    timeLeftCaption_->hide();
    timeLeft_->hide();
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Button1"));
    connect(cancel, &QPushButton::clicked, this, &TFCheckIndividualFiles::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(count_, 0, 0, 1, 2);
    layout->addWidget(timeLeftCaption_, 1, 0);
    layout->addWidget(timeLeft_, 1, 1);
    layout->addWidget(bar_, 2, 0, 1, 2);
    layout->addWidget(cancel, 3, 1, Qt::AlignRight);
}

void TFCheckIndividualFiles::Begin(const QString& caption) {
    cancelled_ = false;
    setWindowTitle(caption);
    count_->setText(tr("Files found:"));
    SetTimeLeft(QString());
    bar_->reset();
    setWindowModality(Qt::ApplicationModal);  // events run while the files are tested
    show();
    raise();
}

void TFCheckIndividualFiles::Finish() {
    hide();
}

void TFCheckIndividualFiles::BeginDuplicates(int mode) {
    constexpr int kCollecting = 2;
    const QString caption = mode == kCollecting ? tr("Looking for duplicates - collecting data")
                                                : tr("Looking for duplicates - comparing files");
    if (isVisible()) {
        setWindowTitle(caption);  // the next step of the same search
        bar_->reset();
        SetTimeLeft(QString());
        return;
    }
    Begin(caption);
    SetDuplicatesFound(0);
}

void TFCheckIndividualFiles::SetDuplicatesFound(std::size_t count) {
    count_->setText(tr("Possible duplicates found:") + QLatin1Char(' ') + QString::number(count));
}

void TFCheckIndividualFiles::SetTimeLeft(const QString& text) {
    timeLeft_->setText(text);
    timeLeftCaption_->setVisible(!text.isEmpty());
    timeLeft_->setVisible(!text.isEmpty());
}

void TFCheckIndividualFiles::SetCount(const QString& text) {
    count_->setText(text);
}

void TFCheckIndividualFiles::reject() {
    cancelled_ = true;
}

}  // namespace sonarchive::gui
