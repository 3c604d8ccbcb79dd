#include "gui/lists/confirm_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/shell/help_window.h"
#include "gui/shell/named_widgets.h"

namespace sonarchive::gui {

TfConfirm::TfConfirm(HelpWindow& help, QWidget* parent) : QDialog(parent), help_(help) {
    setObjectName(QStringLiteral("fConfirm"));
    setWindowTitle(tr("Confirm"));

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(iconSize));
    icon->setAlignment(Qt::AlignTop);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("LMessage"));
    message_->setWordWrap(true);
    message_->setMinimumWidth(320);

    dontShow_ = new QCheckBox(tr("Don't show this message anymore"), this);
    dontShow_->setObjectName(QStringLiteral("CBDontShow"));

    auto* ok = NamedButton(tr("&Ok"), "BOk", this);
    ok->setDefault(true);
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    helpButton_ = NamedButton(tr("&Help"), "BHelp", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton_, &QPushButton::clicked, this, [this] { help_.ShowTopic(helpTopic_); });

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(message_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(dontShow_);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

ConfirmAnswer TfConfirm::Ask(const QString& message, int helpTopic) {
    message_->setText(message);
    helpTopic_ = helpTopic;
    helpButton_->setEnabled(helpTopic >= 0);
    dontShow_->setChecked(false);
    adjustSize();
    const bool ok = exec() == QDialog::Accepted;
    return ConfirmAnswer{ok, dontShow_->isChecked()};
}

}  // namespace sonarchive::gui
