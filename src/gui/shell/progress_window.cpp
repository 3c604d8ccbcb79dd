#include "gui/shell/progress_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/shell/gui_interaction.h"
#include "gui/shell/named_widgets.h"

namespace sonarchive::gui {

ProgressWindow::ProgressWindow(const QString& caption, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(caption);
    task_ = new QLabel(this);
    task_->setObjectName(QStringLiteral("LTask"));
    task_->setMinimumWidth(360);
    counter_ = new QLabel(this);
    counter_->setObjectName(QStringLiteral("LCounter"));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    connect(cancel, &QPushButton::clicked, this, &ProgressWindow::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(task_);
    layout->addWidget(bar_);
    layout->addWidget(counter_);
    layout->addWidget(cancel, 0, Qt::AlignRight);
}

void ProgressWindow::SetMaximum(int maximum) {
    bar_->setMaximum(maximum);
}

void ProgressWindow::SetPosition(int position) {
    bar_->setValue(position);
}

void ProgressWindow::SetTask(const QString& text) {
    task_->setText(text);
}

void ProgressWindow::SetCounter(const QString& text) {
    counter_->setText(text);
}

void ProgressWindow::reject() {
    cancelled_ = true;
}

ProgressScope::ProgressScope(GuiInteraction& interaction, const QString& caption, QWidget* parent)
    : interaction_(interaction),
      window_(new ProgressWindow(caption, parent)),
      previous_(interaction.Progress()) {
    window_->setWindowModality(Qt::ApplicationModal);  // events run during the operation
    window_->show();
    interaction_.AttachProgress(window_);
}

ProgressScope::~ProgressScope() {
    interaction_.AttachProgress(previous_);
    delete window_;
}

}  // namespace sonarchive::gui
