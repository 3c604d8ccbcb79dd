#include "gui/lists/find_text_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/shell/named_widgets.h"

namespace sonarchive::gui {

TFFindText::TFFindText(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FFindText"));
    setWindowTitle(tr("Find text"));
    auto* label = new QLabel(tr("Text to find"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    edit_->setMinimumWidth(260);
    label->setBuddy(edit_);
    auto* find = NamedButton(tr("&Find"), "BFind", this);
    find->setDefault(true);
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    connect(find, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = ButtonRow({find, cancel});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addLayout(buttons);
}

std::optional<QString> TFFindText::Ask() {
    edit_->selectAll();
    edit_->setFocus();
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return edit_->text();
}

}  // namespace sonarchive::gui
