#include "gui/collections/new_collection_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/collections/collection_help.h"
#include "gui/shell/help_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/named_widgets.h"

namespace sonarchive::gui {
namespace {

constexpr int kNameLength = 100;

}  // namespace

TFNewCollection::TFNewCollection(HelpWindow* help, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FNewCollection"));
    setModal(true);
    auto* label = new QLabel(tr("Collection name"), this);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("EName"));
    name_->setMaxLength(kNameLength);
    name_->setMinimumWidth(320);
    label->setBuddy(name_);
    sortable_ = new QCheckBox(tr("Sortable columns (not very suitable if used as playlist)"), this);
    sortable_->setObjectName(QStringLiteral("CBSortable"));

    auto* ok = NamedButton(tr("&Ok"), "BOk", this);
    ok->setDefault(true);
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    auto* helpButton = NamedButton(tr("&Help"), "BHelp", this);
    helpButton->setEnabled(help != nullptr);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [help] {
        if (help != nullptr) {
            help->ShowTopic(kCollectionsHelpTopic);
        }
    });

    auto* buttons = ButtonRow({ok, cancel, helpButton});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(name_);
    layout->addWidget(sortable_);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

std::optional<TFNewCollection::Choice> TFNewCollection::Ask(const QString& caption,
                                                            const QString& name,
                                                            std::optional<bool> sortable) {
    setWindowTitle(caption);
    name_->setText(name);
    if (sortable) {
        sortable_->setChecked(*sortable);
    }
    name_->selectAll();
    name_->setFocus();
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return Choice{name_->text().toStdString(), sortable_->isChecked()};
}

TFNewCollection& NewCollectionDialogOf(TFMain& main) {
    if (auto* open = main.findChild<TFNewCollection*>(QString(), Qt::FindDirectChildrenOnly)) {
        return *open;
    }
    return *new TFNewCollection(main.Windows().help, &main);
}

}  // namespace sonarchive::gui
