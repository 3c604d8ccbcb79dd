#include "gui/organize/organizing_progress.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "gui/shell/named_widgets.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

QString Caption(organize::OrganizeMode mode) {
    switch (mode) {
        case organize::OrganizeMode::Copy:
            return QObject::tr("Copying files...");
        case organize::OrganizeMode::Move:
            return QObject::tr("Moving files...");
        case organize::OrganizeMode::Preview:
            break;
    }
    return QObject::tr("Creating preview...");
}

std::string CancelQuestion(organize::OrganizeMode mode) {
    switch (mode) {
        case organize::OrganizeMode::Copy:
            return "Cancel copying files?";
        case organize::OrganizeMode::Move:
            return "Cancel moving files?";
        case organize::OrganizeMode::Preview:
            break;
    }
    return "Cancel preview";
}

}  // namespace

TfOrganizing::TfOrganizing(Interaction& user, organize::OrganizeMode mode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), user_(user), mode_(mode) {
    setObjectName(QStringLiteral("fOrganizing"));
    setWindowTitle(Caption(mode));
    from_ = new QLabel(this);
    from_->setObjectName(QStringLiteral("LFrom"));
    from_->setMinimumWidth(420);
    to_ = new QLabel(this);
    to_->setObjectName(QStringLiteral("LTo"));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    connect(cancel, &QPushButton::clicked, this, &TfOrganizing::reject);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("From:"), this), 0, 0);
    layout->addWidget(from_, 0, 1);
    layout->addWidget(new QLabel(tr("To:"), this), 1, 0);
    layout->addWidget(to_, 1, 1);
    layout->addWidget(bar_, 2, 0, 1, 2);
    layout->addWidget(cancel, 3, 1, Qt::AlignRight);
}

void TfOrganizing::ShowPaths(const std::string& from, const std::string& to) {
    from_->setText(QString::fromStdString(text::PathForDisplay(from)));
    to_->setText(QString::fromStdString(text::PathForDisplay(to)));
}

void TfOrganizing::reject() {
    // The run waits while the question is open: it reads the flag only between rows.
    if (!cancelled_ && user_.AskYesNo(CancelQuestion(mode_))) {
        cancelled_ = true;
        hide();
    }
}

void OrganizingProgress::SetProgressMaximum(int maximum) {
    window_.Bar().setMaximum(maximum);
}

void OrganizingProgress::SetProgressPosition(int position) {
    window_.Bar().setValue(position);
}

void OrganizingProgress::ProcessPendingEvents() {
    QApplication::processEvents();
}

}  // namespace sonarchive::gui
