#include "gui/organize/rename_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/cataloguing/window_progress.h"
#include "gui/lists/messages_panel.h"
#include "gui/organize/format_widgets.h"
#include "gui/organize/organize_widgets.h"
#include "gui/organize/predefined_formats.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "organize/file_format.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

constexpr int kHelpTopic = 19;
constexpr int kNewNameColumn = 1;

QString Shown(std::string_view text) {
    return QString::fromStdString(text::PathForDisplay(text));
}

}  // namespace

TFRename& TFRename::Of(TFMain& main) {
    auto* window = main.findChild<TFRename*>(QStringLiteral("FRename"));
    return window != nullptr ? *window : *new TFRename(main);
}

TFRename::TFRename(TFMain& main) : QDialog(&main), main_(main) {
    setObjectName(QStringLiteral("FRename"));
    setWindowTitle(tr("Rename files"));
    AppContext& app = main.App();
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->hide();
    // The run shows its progress in the window's own bar; it has no cancel button.
    progressInteraction_ =
        std::make_unique<WindowProgress>(app.User(), *progress_, neverCancelled_);
    renamer_ = std::make_unique<organize::FileRenamer>(app.Catalog(), main.Drives().PathRules(),
                                                       app.Registry(), app.General(),
                                                       *progressInteraction_);
    predefined_ = new TfPredefined(app.Registry(), app.User(), main.Windows().help, &main);
    format_ =
        new QLineEdit(QString::fromStdString(organize::StoredRenameFormat(app.Registry())), this);
    format_->setObjectName(QStringLiteral("EFormat"));
    auto* predefinedButton = NamedButton(tr("Predefined..."), "BPredefined", this);
    explained_ = new QLabel(this);
    explained_->setObjectName(QStringLiteral("LFormatExplained"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ListView1"));
    list_->setHeaderLabels({tr("Filename"), tr("New filename"), tr("Artist"), tr("Title"),
                            tr("Album"), tr("Track"), tr("Genre"), tr("Comment"), tr("Year"),
                            tr("Composer")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->installEventFilter(this);
    messages_ = new MessagesPanel(this);
    auto* close = NamedButton(tr("&Close"), "BClose", this);
    auto* rename = NamedButton(tr("&Rename"), "BRename", this);
    rename->setDefault(true);
    auto* help = NamedButton(tr("&Help"), "BHelp", this);

    connect(format_, &QLineEdit::textChanged, this, [this] {
        explained_->setText(ExplainFormat(format_->text()));
        Preview();
    });
    connect(predefinedButton, &QPushButton::clicked, this, &TFRename::ChoosePredefined);
    connect(rename, &QPushButton::clicked, this, [this] { main_.Run([this] { RunRename(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    ConnectHelp(help, main_.Windows().help, kHelpTopic);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        connect(menu.addAction(tr("Remove from update list (Del)")), &QAction::triggered, this,
                &TFRename::RemoveSelected);
        menu.exec(list_->viewport()->mapToGlobal(at));
    });

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Format"), this));
    top->addWidget(format_, 1);
    top->addWidget(predefinedButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(explained_);
    layout->addWidget(new FormattingVariables(this));
    layout->addWidget(progress_);
    layout->addWidget(new QLabel(tr("Files to update"), this));
    layout->addWidget(list_, 1);
    layout->addWidget(messages_);
    layout->addLayout(ButtonRow({close, rename, help}));
    resize(860, 560);
}

TFRename::~TFRename() = default;

void TFRename::SetIds(catalog::IdList ids) {
    renamer_->SetUpdateList(std::move(ids));
}

bool TFRename::ShowModal() {
    runDone_ = false;
    messages_->Clear();
    FillList();
    Preview();
    exec();
    return runDone_;
}

void TFRename::FillList() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    list_->clear();
    for (const auto& r : renamer_->UpdateList()) {
        auto* item = new QTreeWidgetItem(
            list_, {Shown(organize::LastPathComponent(r.dPath)), QString(),
                    QString::fromStdString(r.dArtist), QString::fromStdString(r.dTitle),
                    QString::fromStdString(r.dAlbum), QString::number(r.dTrack),
                    QString::fromStdString(r.dGenre), QString::fromStdString(r.dComment),
                    QString::number(r.dYear), QString::fromStdString(r.dComposer)});
        item->setIcon(0, DriveTypeIcon(r.dDriveType));
    }
    QApplication::restoreOverrideCursor();
}

void TFRename::Preview() {
    const std::string format = format_->text().toStdString();
    const auto& records = renamer_->UpdateList();
    for (int i = 0; i < list_->topLevelItemCount() && i < static_cast<int>(records.size()); ++i) {
        list_->topLevelItem(i)->setText(
            kNewNameColumn,
            Shown(organize::NewFileName(format, records[static_cast<std::size_t>(i)])));
    }
}

void TFRename::RunRename() {
    const std::string format = format_->text().toStdString();
    organize::StoreRenameFormat(main_.App().Registry(), format);
    setEnabled(false);
    progress_->setValue(0);
    progress_->show();
    const organize::RenameOutcome outcome =
        renamer_->Rename(format, [this](const std::string& line) { messages_->AppendLine(line); });
    runDone_ = runDone_ || outcome.ran;
    progress_->hide();
    setEnabled(true);
    FillList();
    Preview();
}

void TFRename::ChoosePredefined() {
    const QString chosen = predefined_->Choose();
    if (!chosen.isEmpty()) {
        format_->setText(chosen);
    }
}

void TFRename::RemoveSelected() {
    std::vector<std::size_t> indexes;
    for (QTreeWidgetItem* item : list_->selectedItems()) {
        indexes.push_back(static_cast<std::size_t>(list_->indexOfTopLevelItem(item)));
    }
    renamer_->RemoveFromUpdateList(indexes);
    FillList();
    Preview();
}

bool TFRename::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        RemoveSelected();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace sonarchive::gui
