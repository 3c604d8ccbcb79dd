#include "gui/shell/preferences_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/shell/help_window.h"
#include "gui/shell/named_widgets.h"
#include "gui/shell/preference_pages.h"

namespace sonarchive::gui {

TFPreferences::TFPreferences(catalog::Registry& registry, HelpWindow& help, QWidget* parent)
    : QDialog(parent), registry_(registry) {
    setObjectName(QStringLiteral("FPreferences"));
    setWindowTitle(tr("Preferences"));
    setModal(true);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("TreeView1"));
    tree_->setHeaderHidden(true);
    tree_->setFixedWidth(170);
    for (const QString& text : {tr("General"), tr("Confirmations")}) {
        new QTreeWidgetItem(tree_, {text});
    }
    auto* formats = new QTreeWidgetItem(tree_, {tr("Formats")});
    for (const QString& text : {tr("MP3"), tr("Ogg Vorbis"), tr("Monkey's Audio")}) {
        new QTreeWidgetItem(formats, {text});
    }
    new QTreeWidgetItem(tree_, {tr("File Organizer")});
    new QTreeWidgetItem(tree_, {tr("Player")});
    tree_->expandAll();

    // The pages stay children of their holder; the right-hand area shows the selected one.
    pages_ = new TFPrefer_General(this);
    pages_->hide();
    area_ = new QStackedWidget(this);
    area_->setObjectName(QStringLiteral("PPageArea"));
    area_->setMinimumSize(520, 260);
    emptyPage_ = new QWidget(area_);
    area_->addWidget(emptyPage_);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &TFPreferences::ShowSelectedPage);

    auto* ok = NamedButton(tr("&Ok"), "BOk", this);
    ok->setDefault(true);
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    auto* helpButton = NamedButton(tr("&Help"), "BHelp", this);
    connect(ok, &QPushButton::clicked, this, &TFPreferences::WriteAndClose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [&help] { help.ShowTopic(kHelpTopic); });

    auto* top = new QHBoxLayout;
    top->addWidget(tree_);
    top->addWidget(area_, 1);
    auto* buttons = ButtonRow({ok, cancel, helpButton});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
}

bool TFPreferences::Edit() {
    Prepare();
    return exec() == QDialog::Accepted;
}

void TFPreferences::Prepare() {
    pages_->ReadValues(registry_);
    tree_->setCurrentItem(tree_->topLevelItem(0));
    ShowSelectedPage();
}

void TFPreferences::SelectNode(const QString& text) {
    const QList<QTreeWidgetItem*> found =
        tree_->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (!found.isEmpty()) {
        tree_->setCurrentItem(found.first());
    }
}

void TFPreferences::ShowSelectedPage() {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    if (selected.isEmpty()) {
        tree_->setCurrentItem(tree_->topLevelItem(0));  // selects, and comes back here
        return;
    }
    // Every page goes back to its holder before the selected one is shown.
    while (area_->count() > 1) {
        QWidget* page = area_->widget(1);
        area_->removeWidget(page);
        page->setParent(pages_);
    }
    QWidget* page = pages_->PageFor(selected.first()->text(0));
    if (page == nullptr) {
        area_->setCurrentWidget(emptyPage_);
        return;
    }
    area_->addWidget(page);
    area_->setCurrentWidget(page);
}

void TFPreferences::WriteAndClose() {
    pages_->WriteValues(registry_);
    accept();
}

}  // namespace sonarchive::gui
