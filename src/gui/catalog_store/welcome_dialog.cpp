#include "gui/catalog_store/welcome_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/shell/named_widgets.h"

namespace sonarchive::gui {

TfWelcome::TfWelcome(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fWelcome"));
    setWindowTitle(tr("Welcome to Sonarchive"));

    auto* logo = new QLabel(this);
    logo->setPixmap(QApplication::windowIcon().pixmap(64));
    auto* text = new QLabel(
        tr("Would you like Sonarchive to search for MP3 files on your local drives?"), this);
    text->setObjectName(QStringLiteral("LText"));
    text->setWordWrap(true);
    text->setMinimumWidth(300);

    auto* search = NamedButton(tr("Search"), "BSearch", this);
    search->setDefault(true);
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    connect(search, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* buttons = ButtonRow({search, cancel});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

bool TfWelcome::AskToSearch() {
    return exec() == QDialog::Accepted;
}

}  // namespace sonarchive::gui
