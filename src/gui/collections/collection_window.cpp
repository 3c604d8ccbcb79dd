#include "gui/collections/collection_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolButton>

#include "catalog_store/catalog_rows.h"
#include "collections/collections.h"
#include "gui/collections/collection_help.h"
#include "gui/collections/command_button.h"
#include "gui/lists/messages_panel.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"
#include "interaction/scopes.h"

namespace sonarchive::gui {
namespace {

ResultListOptions MemberList(std::int64_t collectionId) {
    ResultListOptions options;
    options.layout = lists::kLayoutPlain;
    options.positionColumn = true;
    options.collectionId = static_cast<std::int32_t>(collectionId);
    return options;
}

// The kinds of window whose rows may be dropped on a collection.
bool OffersCatalogRows(std::optional<ChildKind> kind) {
    return kind == ChildKind::Browse || kind == ChildKind::Search || kind == ChildKind::AddFiles ||
           kind == ChildKind::Collection || kind == ChildKind::Duplicates;
}

}  // namespace

TFCollection::TFCollection(TFMain& main, std::int64_t collectionId, bool writeTotals,
                           QWidget* parent)
    : ResultWindow(main, MemberList(collectionId), CollectionAddFilesTip(), parent),
      collectionId_(collectionId) {
    setObjectName(QStringLiteral("FCollection"));
    SetHeaderText(tr("Collection"));
    if (const auto header =
            collections::LoadCollectionHeader(main.App().Catalog().Engine(), collectionId)) {
        name_ = header->name;
        usesPositions_ = header->usesPositions;
    }
    BuildToolButtons();
    BuildTotalsPanel();
    List().installEventFilter(this);
    ApplyKind();
    LoadMembers(writeTotals);
    resize(640, 460);
}

void TFCollection::BuildToolButtons() {
    const auto button = [this](const char* name, const QString& text, const QString& hint,
                               const char* icon, void (TFCollection::*act)()) {
        return CommandButton(Main(), *this, name, text, hint, icon,
                             [this, act] { (this->*act)(); });
    };
    // A row of their own under the header, so they keep their captions in a half-wide window.
    auto* row = new QHBoxLayout;
    row->addWidget(button("SBPlay", tr("Play collection"), tr("Play collection"),
                          "media-playback-start", &TFCollection::PlayCollection));
    row->addWidget(button("SBSaveAsPlaylist", tr("Save as playlist"), tr("Save as playlist"),
                          "document-save-as", &TFCollection::SaveAsPlaylist));
    randomize_ = button("SBRandomize", tr("&Randomize list"), tr("Randomize positions"),
                        "media-playlist-shuffle", &TFCollection::RandomizePositions);
    row->addWidget(randomize_);
    row->addWidget(button("SBProperties", tr("Collection properties"), tr("Collection properties"),
                          "document-properties", &TFCollection::EditProperties));
    row->addStretch(1);
    PanelArea().addLayout(row);
    if (auto* hint = findChild<QToolButton*>(QStringLiteral("SBHint"))) {
        hint->setText(tr("Add files..."));
        hint->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
}

void TFCollection::BuildTotalsPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PTotals"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto value = [panel](const char* name) {
        auto* label = new QLabel(panel);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    files_ = value("LFiles");
    totalSize_ = value("LTotalSize");
    totalLength_ = value("LTotalLength");
    const std::pair<QString, QLabel*> fields[] = {
        {tr("Files"), files_}, {tr("Total size"), totalSize_}, {tr("Total length"), totalLength_}};
    int column = 0;
    for (const auto& [caption, label] : fields) {
        grid->addWidget(new QLabel(caption + QLatin1Char(':'), panel), 0, column++);
        grid->addWidget(label, 0, column++);
        grid->setColumnMinimumWidth(column++, 24);
    }
    grid->setColumnStretch(column, 1);
    PanelArea().addWidget(panel);
}

void TFCollection::ApplyKind() {
    setWindowTitle(tr("Collection - ") + QString::fromStdString(name_));
    randomize_->setEnabled(usesPositions_);
    // Header clicks sort only a sortable collection; the other keeps its own order.
    List().header()->setSectionsClickable(!usesPositions_);
}

void TFCollection::SortByPosition() {
    List().Rows().SortBySection(lists::SectionIndexOf(List().Columns(), lists::codes::Position),
                                true);
}

void TFCollection::LoadMembers(bool writeTotals) {
    BusyScope busy(Main().App().User());
    setUpdatesEnabled(false);
    List().ClearRows();
    List().Fill(catalog::CollectionMembersSelect(collectionId_));
    if (usesPositions_) {
        SortByPosition();
    }
    setUpdatesEnabled(true);
    UpdateTotals(writeTotals);
}

void TFCollection::UpdateTotals(bool writeBack) {
    const ResultListModel& rows = List().Rows();
    const int sizeSection = lists::SectionIndexOf(List().Columns(), lists::codes::Size);
    catalog::CollectionTotals totals;
    for (const QModelIndex& row : rows.RowsInListOrder()) {
        const catalog::TMainDataRec* record = rows.Record(row);
        if (record == nullptr) {
            continue;
        }
        ++totals.files;
        totals.seconds += record->dLength;
        totals.kilobytes += collections::KilobytesOfText(
            row.siblingAtColumn(sizeSection).data().toString().toStdString());
    }
    const collections::TotalsTexts texts = collections::TotalsTextsOf(totals);
    files_->setText(QString::fromStdString(texts.files));
    totalSize_->setText(QString::fromStdString(texts.size));
    totalLength_->setText(QString::fromStdString(texts.length));
    if (writeBack) {
        collections::StoreCollectionTotals(Main().App().Catalog(), collectionId_, totals);
    }
}

ListWindow* TFCollection::DropSourceWindow() {
    auto* source = qobject_cast<TResultList*>(Main().DragSource());
    if (source == nullptr || source == &List()) {
        return nullptr;
    }
    for (QWidget* widget = source->parentWidget(); widget != nullptr;
         widget = widget->parentWidget()) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(widget)) {
            auto* window = dynamic_cast<ListWindow*>(frame->widget());
            return OffersCatalogRows(Main().Children().KindOf(frame)) ? window : nullptr;
        }
    }
    return nullptr;
}

void TFCollection::TakeDroppedFiles(const std::vector<std::string>&) {
    ListWindow* source = DropSourceWindow();
    if (source == nullptr) {
        Messages().AppendLine(
            "You must drag files from the archive (\"Browse\" or \"Search\" windows) or from "
            "another collection");
        return;
    }
    const catalog::IdList ids = source->SelectedIds();
    collections::AddCollectionMembers(Main().App().Catalog().Engine(), collectionId_, ids);
    if (!ids.empty()) {
        LoadMembers(false);
    }
    UpdateTotals(true);
}

void TFCollection::DeleteKeyPressed(bool) {
    RemoveSelectedMembers();
}

bool TFCollection::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &List() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool up = key->key() == Qt::Key_Up;
        if ((up || key->key() == Qt::Key_Down) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
            Main().Run([this, up] { MoveSelected(up); });
            return true;
        }
    }
    return ResultWindow::eventFilter(watched, event);
}

void TFCollection::BuildPopup(QMenu& menu) {
    const WindowProviders& p = Main().Providers();
    const bool selected = !List().SelectedRows().empty();
    const auto run = [this](void (TFCollection::*act)()) {
        return [this, act] { Main().Run([this, act] { (this->*act)(); }); };
    };
    AddMenuItem(menu, tr("&Play (Ctrl-o)"), selected && bool(p.playFiles), this,
                [this] { Main().Run([this] { PlaySelection(false); }); });
    AddMenuItem(menu, tr("En&queue (Ctrl-q)"), selected && bool(p.playFiles), this,
                [this] { Main().Run([this] { PlaySelection(true); }); });
    QMenu* columns = menu.addMenu(tr("&View columns"));
    List().BuildViewColumnsMenu(*columns);
    menu.addSeparator();
    AddMenuItem(menu, tr("&Remove from collection (Del)"), selected, this,
                run(&TFCollection::RemoveSelectedMembers));
    AddMenuItem(menu, tr("Move selected files &up (Ctrl-up)"), selected && usesPositions_, this,
                [this] { Main().Run([this] { MoveSelected(true); }); });
    AddMenuItem(menu, tr("Move selected files &down (Ctrl-down)"), selected && usesPositions_, this,
                [this] { Main().Run([this] { MoveSelected(false); }); });
    menu.addSeparator();
    AddMenuItem(menu, tr("&Modify tags (selected items)..."), selected && bool(p.massUpdate), this,
                [this] { Main().Run([this] { MassUpdate(); }); });
    AddMenuItem(menu, tr("&Rename files (selected items)..."), selected && bool(p.renameFiles),
                this, [this] { Main().Run([this] { RenameFiles(); }); });
    AddFileOrganizerItem(menu);
    AddExportMenu(menu, tr("Selected items"));
    AddMenuItem(menu, tr("&Tag properties... (F11)"), CanEditTags(), this,
                [this] { Main().Run([this] { EditRowTags(); }); });
    menu.addSeparator();
    AddMenuItem(menu, tr("Delete collection"), true, this,
                run(&TFCollection::DeleteThisCollection));
    AddMenuItem(menu, tr("&Collection properties..."), true, this,
                run(&TFCollection::EditProperties));
}

}  // namespace sonarchive::gui
