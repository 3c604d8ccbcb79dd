#include "gui/lists/result_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/lists/encoding_panels.h"
#include "gui/lists/messages_panel.h"
#include "gui/shell/app_context.h"
#include "gui/shell/collections_box.h"
#include "gui/shell/file_drops.h"
#include "gui/shell/header_label.h"
#include "gui/shell/main_window.h"
#include "gui/shell/mini_player.h"
#include "interaction/scopes.h"

namespace sonarchive::gui {
namespace {

constexpr const char* kHideTechPanel = "HIDE_TECHPANEL";

QString Caption(const lists::ColumnDefinition& definition) {
    return QString::fromUtf8(definition.caption.data(),
                             static_cast<qsizetype>(definition.caption.size()));
}

QAction* AddItem(QMenu& menu, const QString& text, bool enabled, QObject* receiver,
                 const std::function<void()>& act) {
    QAction* item = menu.addAction(text);
    item->setEnabled(enabled);
    QObject::connect(item, &QAction::triggered, receiver, act);
    return item;
}

}  // namespace

QAction* ResultWindow::AddMenuItem(QMenu& menu, const QString& text, bool enabled,
                                   QObject* receiver, const std::function<void()>& act) {
    return AddItem(menu, text, enabled, receiver, act);
}

ResultWindow::ResultWindow(TFMain& main, const ResultListOptions& options, std::optional<Tip> hint,
                           QWidget* parent)
    : QWidget(parent), main_(main) {
    list_ = new TResultList(main, options, this);
    encoding_ = new EncodingPanels(this);
    messages_ = new MessagesPanel(this);
    BuildFrame(hint);
    ConnectList();
}

ResultWindow::~ResultWindow() {
    if (main_.DragSource() == list_) {
        main_.SetDragSource(nullptr);
    }
}

void ResultWindow::BuildFrame(const std::optional<Tip>& hint) {
    header_ = NewHeaderLabel(this);

    encodingToggle_ = new QToolButton(this);
    encodingToggle_->setObjectName(QStringLiteral("SBEncodingPanel"));
    encodingToggle_->setText(tr("Encoding panel"));
    encodingToggle_->setToolTip(tr("Encoding panel"));
    encodingToggle_->setCheckable(true);
    encodingToggle_->setChecked(main_.App().Registry().ReadRegInteger(kHideTechPanel) != 1);
    connect(encodingToggle_, &QToolButton::clicked, this,
            [this](bool shown) { SetEncodingPanelShown(shown); });
    connect(encoding_, &EncodingPanels::hideRequested, this, [this] {
        encodingToggle_->setChecked(false);
        SetEncodingPanelShown(false);
    });

    headerArea_ = new QHBoxLayout;
    headerArea_->addWidget(header_);
    headerArea_->addStretch(1);
    headerArea_->addWidget(encodingToggle_);
    if (hint) {
        auto* hintButton = new QToolButton(this);
        hintButton->setObjectName(QStringLiteral("SBHint"));
        hintButton->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
        hintButton->setToolTip(tr("Hint"));
        connect(hintButton, &QToolButton::clicked, this, [this, tip = *hint] {
            if (main_.Windows().tips != nullptr) {
                main_.Windows().tips->ShowTip(tip);
            }
        });
        headerArea_->addWidget(hintButton);
    }
    panelArea_ = new QVBoxLayout;
    panelArea_->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(headerArea_);
    layout->addLayout(panelArea_);
    layout->addWidget(list_, 1);
    layout->addWidget(encoding_);
    layout->addWidget(messages_);
}

void ResultWindow::ConnectList() {
    connect(list_, &TResultList::currentRowChanged, this, &ResultWindow::ShowRowDetails);
    connect(list_, &TResultList::popupRequested, this, &ResultWindow::ShowPopup);
    connect(list_, &TResultList::deleteRequested, this,
            [this](bool fromDisk) { main_.Run([this, fromDisk] { DeleteKeyPressed(fromDisk); }); });
    connect(list_, &TResultList::editTagsRequested, this, [this] {
        if (CanEditTags()) {
            main_.Run([this] { EditRowTags(); });
        }
    });
    connect(list_, &TResultList::playRequested, this,
            [this] { main_.Run([this] { PlayRow(false); }); });
    connect(list_, &TResultList::filesDropped, this, [this](const std::vector<std::string>& paths) {
        main_.Run([this, &paths] { TakeDroppedFiles(paths); });
    });
}

QWidget& ResultWindow::Frame() {
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    return frame != nullptr ? static_cast<QWidget&>(*frame) : *this;
}

void ResultWindow::SetHeaderText(const QString& text) {
    header_->setText(text);
}

void ResultWindow::SetEncodingPanelShown(bool shown) {
    main_.App().Registry().WriteRegInteger(kHideTechPanel, shown ? 0 : 1);
    ShowRowDetails();
}

void ResultWindow::ShowRowDetails() {
    const catalog::TMainDataRec* record = list_->FocusedRecord();
    encoding_->ShowFor(encodingToggle_->isChecked() ? record : nullptr);
    TFMiniPlayer* player = main_.Windows().miniPlayer;
    if (player != nullptr && main_.Actions().previewSongs->isChecked() &&
        list_->FocusedRow().isValid()) {
        PreviewRow(*player);
    }
}

void ResultWindow::PreviewRow(TFMiniPlayer& player) {
    if (list_->FocusedRecord() == nullptr) {
        player.Stop();  // a group row has no file to play
        return;
    }
    const std::string path = list_->FullPath(list_->FocusedRow());
    if (!path.empty()) {
        player.PlayFile(QtFileName(path));
    }
}

void ResultWindow::SelectAllRows() {
    list_->selectAll();
}

void ResultWindow::FindText() {
    list_->FindText();
}

void ResultWindow::FindNext() {
    list_->FindNext();
}

void ResultWindow::ShowVisibleFieldsDialog() {
    list_->ShowVisibleFieldsDialog();
}

void ResultWindow::BuildViewColumnsMenu(QMenu& menu) {
    list_->BuildViewColumnsMenu(menu);
}

void ResultWindow::PreviewCurrent(TFMiniPlayer& player) {
    if (list_->FocusedRow().isValid()) {
        PreviewRow(player);
    }
}

void ResultWindow::OpenInPlayer(bool enqueue) {
    PlaySelection(enqueue);
}

void ResultWindow::ExportRows(bool selectionOnly) {
    if (main_.Providers().exportRows) {
        main_.Providers().exportRows(main_, *this, selectionOnly);
    }
}

catalog::IdList ResultWindow::SelectedIds() {
    BusyScope busy(main_.App().User());
    return lists::SelectedIds(main_.App().Catalog().Engine(), list_->SelectedRowRefs());
}

std::vector<ReportColumn> ResultWindow::ReportColumns() const {
    std::vector<ReportColumn> columns;
    const QHeaderView& header = *list_->header();
    for (int shown = 0; shown < header.count(); ++shown) {
        const int section = header.logicalIndex(shown);
        if (header.isSectionHidden(section)) {
            continue;
        }
        const lists::ColumnDefinition& definition =
            *list_->Columns()[static_cast<std::size_t>(section)].definition;
        columns.push_back({definition.code, Caption(definition).toStdString(), definition.sortKind,
                           list_->LongestText(section)});
    }
    return columns;
}

std::size_t ResultWindow::ReportRowCount(bool selectionOnly) const {
    return selectionOnly ? list_->SelectedRows().size() : list_->Rows().RowsInListOrder().size();
}

void ResultWindow::ForEachRow(bool selectionOnly,
                              const std::function<void(const ReportRow&)>& visit) const {
    std::vector<int> sections;
    const QHeaderView& header = *list_->header();
    for (int shown = 0; shown < header.count(); ++shown) {
        if (!header.isSectionHidden(header.logicalIndex(shown))) {
            sections.push_back(header.logicalIndex(shown));
        }
    }
    const std::vector<QModelIndex> rows =
        selectionOnly ? list_->SelectedRows() : list_->Rows().RowsInListOrder();
    ReportRow report;
    for (const QModelIndex& row : rows) {
        report.texts.clear();
        for (const int section : sections) {
            report.texts.push_back(row.siblingAtColumn(section).data().toString().toStdString());
        }
        const catalog::TMainDataRec* record = list_->Rows().Record(row);
        report.record = record != nullptr ? std::optional(*record) : std::nullopt;
        visit(report);
    }
}

void ResultWindow::ShowPopup(const QPoint& globalPosition) {
    QMenu menu(this);
    BuildPopup(menu);
    menu.exec(globalPosition);
}

void ResultWindow::BuildPopup(QMenu& menu) {
    const WindowProviders& p = main_.Providers();
    const bool selected = !list_->SelectedRows().empty();
    const auto run = [this](void (ResultWindow::*act)()) {
        return [this, act] { main_.Run([this, act] { (this->*act)(); }); };
    };
    AddItem(menu, tr("&Play (Ctrl-o)"), selected && bool(p.playFiles), this,
            [this] { main_.Run([this] { PlaySelection(false); }); });
    AddItem(menu, tr("Enqueue (Ctrl-q)"), selected && bool(p.playFiles), this,
            [this] { main_.Run([this] { PlaySelection(true); }); });
    menu.addSeparator();
    AddItem(menu, tr("&Tag properties... (F11)"), CanEditTags(), this,
            run(&ResultWindow::EditRowTags));
    AddItem(menu, tr("Modify tags (selected items)..."), selected && bool(p.massUpdate), this,
            run(&ResultWindow::MassUpdate));
    AddItem(menu, tr("Rename files (selected items)..."), selected && bool(p.renameFiles), this,
            run(&ResultWindow::RenameFiles));
    AddCollectionMenu(menu, selected && bool(p.addToCollection));
    menu.addSeparator();
    AddItem(menu, tr("&Delete (Del)"), selected, this,
            [this] { main_.Run([this] { DeleteSelection(false); }); });
    AddItem(menu, tr("Delete file(s) from disk (Shift-Del)"), selected, this,
            [this] { main_.Run([this] { DeleteSelection(true); }); });
    menu.addSeparator();
    QMenu* columns = menu.addMenu(tr("&View columns"));
    list_->BuildViewColumnsMenu(*columns);
    AddPopupItems(menu);
}

void ResultWindow::AddPopupItems(QMenu&) {}

void ResultWindow::AddCollectionMenu(QMenu& menu, bool enabled) {
    QMenu* collections = menu.addMenu(tr("Add to Collection"));
    collections->menuAction()->setEnabled(enabled);
    AddItem(*collections, tr("New collection..."), bool(main_.Providers().newCollection), this,
            [this] { main_.Run([this] { AddSelectionToNewCollection(); }); });
    collections->addSeparator();
    const CollectionsBox& box = *main_.ToolBar().collections;
    for (int i = 0; i < box.count() && static_cast<std::size_t>(i) < box.Ids().size(); ++i) {
        const std::int64_t id = box.Ids()[static_cast<std::size_t>(i)];
        AddItem(*collections, box.itemText(i), true, this,
                [this, id] { main_.Run([this, id] { AddSelectionToCollection(id); }); });
    }
}

void ResultWindow::AddExportMenu(QMenu& menu, const QString& selectionCaption) {
    const bool provided = bool(main_.Providers().exportRows);
    QMenu* exportMenu = menu.addMenu(tr("Export"));
    AddItem(*exportMenu, tr("&Window"), provided, this,
            [this] { main_.Run([this] { ExportRows(false); }); });
    AddItem(*exportMenu, selectionCaption, provided, this,
            [this] { main_.Run([this] { ExportRows(true); }); });
}

void ResultWindow::AddFileOrganizerItem(QMenu& menu) {
    AddItem(menu, tr("File &organizer..."), bool(main_.Providers().fileOrganizer), this,
            [this] { main_.Run([this] { RunFileOrganizer(); }); });
}

}  // namespace sonarchive::gui
