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
    auto* timeLeftCaption = new QLabel(tr("Estimated time left:"), this);
    timeLeftCaption->setObjectName(QStringLiteral("LTimeLeftCaption"));
    auto* timeLeft = new QLabel(this);
    timeLeft->setObjectName(QStringLiteral("LTimeLeft"));
    timeLeftCaption->hide();
    timeLeft->hide();
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Button1"));
    connect(cancel, &QPushButton::clicked, this, &TFCheckIndividualFiles::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(count_, 0, 0, 1, 2);
    layout->addWidget(timeLeftCaption, 1, 0);
    layout->addWidget(timeLeft, 1, 1);
    layout->addWidget(bar_, 2, 0, 1, 2);
    layout->addWidget(cancel, 3, 1, Qt::AlignRight);
}

void TFCheckIndividualFiles::Begin(const QString& caption) {
    cancelled_ = false;
    setWindowTitle(caption);
    count_->setText(tr("Files found:"));
    bar_->reset();
    setWindowModality(Qt::ApplicationModal);  // events run while the files are tested
    show();
    raise();
}

void TFCheckIndividualFiles::Finish() {
    hide();
}

void TFCheckIndividualFiles::SetCount(const QString& text) {
    count_->setText(text);
}

void TFCheckIndividualFiles::reject() {
    cancelled_ = true;
}

}  // namespace sonarchive::gui
