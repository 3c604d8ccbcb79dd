#include "gui/organize/predefined_formats.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/organize/edit_file_format.h"
#include "gui/organize/format_widgets.h"
#include "gui/organize/organize_widgets.h"
#include "organize/file_format.h"

namespace sonarchive::gui {
namespace {

constexpr int kHelpTopic = 22;

}  // namespace

TfPredefined::TfPredefined(catalog::Registry& registry, Interaction& user, HelpWindow* help,
                           QWidget* parent)
    : QDialog(parent),
      registry_(registry),
      user_(user),
      editor_(new TFEditFileFormat(user, parent)) {
    setObjectName(QStringLiteral("fPredefined"));
    setWindowTitle(tr("Select predefined formats"));
    auto* group = new QGroupBox(tr("Predefined formats"), this);
    list_ = new QTreeWidget(group);
    list_->setObjectName(QStringLiteral("ListView1"));
    list_->setHeaderLabels({tr("Format"), tr("Result")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->header()->setSectionResizeMode(QHeaderView::Stretch);
    auto* add = NamedButton(tr("&Add"), "BAdd", group);
    auto* modify = NamedButton(tr("&Modify"), "BModify", group);
    auto* remove = NamedButton(tr("&Delete"), "BDelete", group);
    auto* ok = NamedButton(tr("&Ok"), "BOk", this);
    ok->setDefault(true);
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    auto* helpButton = NamedButton(tr("&Help"), "BHelp", this);

    connect(add, &QPushButton::clicked, this, &TfPredefined::AddFormat);
    connect(modify, &QPushButton::clicked, this, &TfPredefined::ModifyFormat);
    connect(remove, &QPushButton::clicked, this, &TfPredefined::DeleteFormats);
    connect(ok, &QPushButton::clicked, this, &TfPredefined::ChooseCurrent);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &TfPredefined::ChooseCurrent);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QWidget::customContextMenuRequested, this, &TfPredefined::ShowContextMenu);
    ConnectHelp(helpButton, help, kHelpTopic);

    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(modify);
    side->addWidget(remove);
    side->addStretch(1);
    auto* inside = new QHBoxLayout(group);
    inside->addWidget(list_, 1);
    inside->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(ButtonRow({ok, cancel, helpButton}));
    resize(520, 320);
}

void TfPredefined::AppendEntry(const QString& format) {
    auto* item = new QTreeWidgetItem(list_, {format, ExplainFormat(format)});
    list_->setCurrentItem(item);
}

QString TfPredefined::Choose() {
    result_.clear();
    list_->clear();
    for (const std::string& format : organize::ReadPredefinedFormats(registry_)) {
        new QTreeWidgetItem(
            list_, {QString::fromStdString(format), ExplainFormat(QString::fromStdString(format))});
    }
    exec();
    return result_;
}

void TfPredefined::done(int result) {
    std::vector<std::string> formats;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        formats.push_back(list_->topLevelItem(i)->text(0).toStdString());
    }
    organize::WritePredefinedFormats(registry_, formats);
    QDialog::done(result);
}

void TfPredefined::AddFormat() {
    if (const auto format = editor_->Edit(QString())) {
        AppendEntry(*format);
    }
}

void TfPredefined::ModifyFormat() {
    QTreeWidgetItem* item = list_->selectedItems().value(0);
    if (item == nullptr) {
        return;
    }
    if (const auto format = editor_->Edit(item->text(0))) {
        item->setText(0, *format);
        item->setText(1, ExplainFormat(*format));
    }
}

void TfPredefined::DeleteFormats() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty() ||
        !user_.AskYesNo("Delete " + std::to_string(selected.size()) + " predefined format(s)?")) {
        return;
    }
    qDeleteAll(selected);
}

void TfPredefined::ChooseCurrent() {
    QTreeWidgetItem* current = list_->currentItem();
    if (current == nullptr) {
        user_.ShowInformation("Select a format first.");
        return;
    }
    result_ = current->text(0);
    accept();
}

void TfPredefined::ShowContextMenu(const QPoint& at) {
    QMenu menu(this);
    connect(menu.addAction(tr("Create &new format")), &QAction::triggered, this,
            &TfPredefined::AddFormat);
    QAction* modify = menu.addAction(tr("&Modify format"));
    modify->setEnabled(list_->currentItem() != nullptr);
    connect(modify, &QAction::triggered, this, &TfPredefined::ModifyFormat);
    QAction* remove = menu.addAction(tr("&Delete format"));
    remove->setEnabled(!list_->selectedItems().isEmpty());
    connect(remove, &QAction::triggered, this, &TfPredefined::DeleteFormats);
    menu.exec(list_->viewport()->mapToGlobal(at));
}

}  // namespace sonarchive::gui
