#include "gui/cataloguing/add_files_progress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/cataloguing/add_figures.h"

namespace sonarchive::gui {

TFAddFiles::TFAddFiles(Interaction& user, QWidget* parent) : QDialog(parent), user_(user) {
    setObjectName(QStringLiteral("FAddFiles"));
    setWindowTitle(tr("Adding files to the archive"));
    task_ = new QLabel(this);
    task_->setObjectName(QStringLiteral("LTask"));
    task_->setMinimumWidth(360);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    volume_ = new VolumeFigures(this);
    counters_ = new CounterFigures(tr("Files added"), this);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Button1"));
    connect(cancel, &QPushButton::clicked, this, &TFAddFiles::AskToCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(task_);
    layout->addWidget(bar_);
    layout->addWidget(volume_);
    layout->addWidget(counters_);
    layout->addWidget(cancel, 0, Qt::AlignRight);
}

void TFAddFiles::ShowVolume(const cataloguing::VolumeIdentity& volume) {
    volume_->Show(volume);
}

void TFAddFiles::ShowCounters(const cataloguing::AddCounters& counters) {
    counters_->Show(counters);
}

void TFAddFiles::SetTask(const QString& text) {
    task_->setText(text);
}

void TFAddFiles::SetMaximum(int maximum) {
    bar_->setMaximum(maximum);
}

void TFAddFiles::SetPosition(int position) {
    bar_->setValue(position);
}

void TFAddFiles::AskToCancel() {
    if (state_ != kRunning) {
        return;  // already asking, or stopped
    }
    state_ = kAsking;
    if (user_.AskYesNo("Do you wish to cancel the operation and stop adding files?")) {
        state_ = kCancelled;
        hide();
    } else {
        state_ = kRunning;
    }
}

void TFAddFiles::reject() {
    AskToCancel();
}

void AddInteraction::SetTaskText(const std::string& text) {
    window_.SetTask(QString::fromStdString(text));
}

}  // namespace sonarchive::gui
