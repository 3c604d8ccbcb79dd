#include "gui/collections/playlist_window.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "gui/collections/collection_help.h"
#include "gui/collections/command_button.h"
#include "gui/lists/find_text_dialog.h"
#include "gui/lists/result_window.h"
#include "gui/shell/app_context.h"
#include "gui/shell/file_drops.h"
#include "gui/shell/main_window.h"
#include "gui/shell/mini_player.h"
#include "gui/shell/path_text.h"

namespace sonarchive::gui {
namespace {

// The file types "Add files..." offers, each with both cases of its extensions: names on this
// system are case-sensitive, and files from other systems often carry upper-case ones.
QString AddFilesFilter() {
    const std::pair<const char*, QStringList> types[] = {
        {"All supported formats",
         {"mp3", "mp2", "mp1", "ogg", "mid", "wav", "wma", "ape", "mac", "mpc"}},
        {"MPEG audio files", {"mp3", "mp2", "mp1"}},
        {"Ogg Vorbis", {"ogg"}},
        {"MIDI", {"mid"}},
        {"WAVE", {"wav"}},
        {"Windows Media Audio", {"wma"}},
        {"Monkey Audio", {"mac", "ape"}},
        {"MPEG Plus", {"mpc"}},
    };
    QStringList filters;
    for (const auto& [name, extensions] : types) {
        QStringList patterns;
        for (const QString& extension : extensions) {
            patterns << QStringLiteral("*.") + extension;
        }
        for (const QString& extension : extensions) {
            patterns << QStringLiteral("*.") + extension.toUpper();
        }
        filters << QObject::tr(name) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

bool IsControlKey(const QKeyEvent& key, Qt::Key which) {
    return key.key() == which && (key.modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

}  // namespace

PlaylistView::PlaylistView(TFMain& main, QWidget* parent) : QTreeWidget(parent), main_(main) {
    setObjectName(QStringLiteral("ListView1"));
    setColumnCount(1);
    setHeaderLabels({tr("Filename")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, QColor(0x7f, 0xff, 0x7f));
    setPalette(colours);
}

std::vector<std::size_t> PlaylistView::SelectedIndexes() const {
    std::vector<std::size_t> selected;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (topLevelItem(row)->isSelected()) {
            selected.push_back(static_cast<std::size_t>(row));
        }
    }
    return selected;
}

void PlaylistView::SelectRange(std::size_t first, std::size_t count) {
    clearSelection();
    for (std::size_t row = first; row < first + count; ++row) {
        if (QTreeWidgetItem* item = topLevelItem(static_cast<int>(row))) {
            item->setSelected(true);
        }
    }
}

bool PlaylistView::event(QEvent* event) {
    // Ctrl+O and Ctrl+Q play the selected entries here rather than through the main window.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (IsControlKey(key, Qt::Key_O) || IsControlKey(key, Qt::Key_Q)) {
            event->accept();
            return true;
        }
    }
    return QTreeWidget::event(event);
}

void PlaylistView::keyPressEvent(QKeyEvent* event) {
    if (IsControlKey(*event, Qt::Key_O) || IsControlKey(*event, Qt::Key_Q)) {
        emit playRequested(event->key() == Qt::Key_Q);
    } else if (event->key() == Qt::Key_Delete &&
               (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        emit deleteRequested();
    } else {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool PlaylistView::Accepts(const QMimeData& offered) const {
    return qobject_cast<PlaylistView*>(main_.DragSource()) != nullptr || OffersLocalFiles(offered);
}

void PlaylistView::dragEnterEvent(QDragEnterEvent* event) {
    if (Accepts(*event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void PlaylistView::dragMoveEvent(QDragMoveEvent* event) {
    if (Accepts(*event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void PlaylistView::dropEvent(QDropEvent* event) {
    if (!Accepts(*event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    const QModelIndex under = indexAt(event->position().toPoint());
    const std::size_t target = under.isValid() ? static_cast<std::size_t>(under.row())
                                               : static_cast<std::size_t>(topLevelItemCount());
    auto* source = qobject_cast<PlaylistView*>(main_.DragSource());
    if (source == this) {
        emit moveRequested(target);
    } else if (source != nullptr) {
        auto* window = qobject_cast<TFPlayList*>(source->parentWidget());
        if (window == nullptr) {
            return;
        }
        std::vector<collections::PlaylistEntry> copies;
        for (const std::size_t index : source->SelectedIndexes()) {
            copies.push_back(window->Document().Entries()[index]);
        }
        emit copyRequested(std::move(copies), target);
    } else {
        emit filesDropped(DroppedFilePaths(*event->mimeData()));
    }
}

void PlaylistView::startDrag(Qt::DropActions) {
    auto* window = qobject_cast<TFPlayList*>(parentWidget());
    const std::vector<std::size_t> selected = SelectedIndexes();
    if (window == nullptr || selected.empty()) {
        return;
    }
    std::vector<std::string> paths;
    for (const std::size_t index : selected) {
        paths.push_back(window->Document().ResolvedPath(index));
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(FileUrlsMimeData(paths).release());
    main_.SetDragSource(this);
    drag->exec(Qt::CopyAction | Qt::MoveAction);
    main_.SetDragSource(nullptr);
}

TFPlayList::TFPlayList(TFMain& main, std::string file, QWidget* parent)
    : QWidget(parent), main_(main), document_(std::move(file)) {
    setObjectName(QStringLiteral("FPlayList"));
    setWindowTitle(tr("Playlist ") + QLatin1Char('"') + DisplayPath(document_.File()) +
                   QLatin1Char('"'));
    view_ = new PlaylistView(main, this);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        BuildPopup(menu);
        menu.exec(view_->viewport()->mapToGlobal(at));
    });
    const auto run = [this](auto act) { return [this, act] { main_.Run(act); }; };
    connect(view_, &PlaylistView::moveRequested, this,
            [this](std::size_t target) { main_.Run([this, target] { MoveSelectedTo(target); }); });
    connect(view_, &PlaylistView::copyRequested, this,
            [this](const std::vector<collections::PlaylistEntry>& copies, std::size_t target) {
                main_.Run([this, &copies, target] { InsertCopies(copies, target); });
            });
    connect(view_, &PlaylistView::filesDropped, this,
            [this](const std::vector<std::string>& paths) {
                main_.Run([this, &paths] { AddPaths(paths); });
            });
    connect(view_, &PlaylistView::deleteRequested, this, run([this] { DeleteSelected(); }));
    connect(view_, &PlaylistView::playRequested, this,
            [this](bool enqueue) { main_.Run([this, enqueue] { PlaySelected(enqueue); }); });
    connect(view_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const auto index = static_cast<std::size_t>(view_->indexOfTopLevelItem(item));
        if (main_.Providers().playFiles) {
            main_.Run([this, index] {
                main_.Providers().playFiles(main_, {document_.ResolvedPath(index)}, false);
            });
        }
    });
    connect(view_, &QTreeWidget::itemSelectionChanged, this, &TFPlayList::PreviewSelection);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    BuildToolBar();
    layout->addWidget(view_, 1);
    resize(560, 380);
}

void TFPlayList::BuildToolBar() {
    auto* header = new QLabel(tr("Playlist"), this);
    header->setObjectName(QStringLiteral("LHeader"));
    QFont bold = header->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    header->setFont(bold);
    auto* bar = new QHBoxLayout;
    bar->addWidget(header);
    bar->addStretch(1);
    const auto tool = [this, bar](const char* name, const QString& text, const QString& hint,
                                  const char* icon, const std::function<void()>& act) {
        QToolButton* button = CommandButton(main_, *this, name, text, hint, icon, act);
        bar->addWidget(button);
        return button;
    };
    tool("SBPlayPlaylist", tr("Play &playlist"), tr("Open playlist in player"),
         "media-playback-start", [this] { PlayPlaylist(); });
    tool("SBRandomize", tr("&Randomize list"), tr("&Randomize list"), "media-playlist-shuffle",
         [this] { Randomize(); });
    tool("SBAddFiles", tr("Add files..."), tr("Add files..."), "list-add",
         [this] { AddFilesFromDialog(); });
    QToolButton* hint = tool("SBHint", QString(), tr("Hint"), "dialog-information", [this] {
        if (main_.Windows().tips != nullptr) {
            main_.Windows().tips->ShowTip(PlaylistTip());
        }
    });
    hint->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    static_cast<QVBoxLayout*>(layout())->addLayout(bar);
}

bool TFPlayList::Open() {
    if (!document_.Open()) {
        return false;
    }
    ShowEntries();
    return true;
}

bool TFPlayList::Create() {
    if (document_.Create() != 0) {
        main_.App().User().ShowError(collections::WriteProblem(document_.File()));
        return false;
    }
    ShowEntries();
    return true;
}

void TFPlayList::ShowHintUnlessHidden() {
    if (main_.Windows().tips != nullptr) {
        main_.Windows().tips->ShowUnlessHidden(PlaylistTip());
    }
}

void TFPlayList::ShowEntries() {
    const QSignalBlocker quiet(view_);
    view_->clear();
    QList<QTreeWidgetItem*> items;
    for (const collections::PlaylistEntry& entry : document_.Entries()) {
        auto* item = new QTreeWidgetItem({DisplayPath(entry.path)});
        item->setToolTip(0, QString::fromStdString(entry.infoLine));
        items.append(item);
    }
    view_->addTopLevelItems(items);
}

bool TFPlayList::Save() {
    if (document_.Save() != 0) {
        main_.App().User().ShowError(collections::WriteProblem(document_.File()));
        return false;
    }
    return true;
}

void TFPlayList::AddPaths(const std::vector<std::string>& paths) {
    if (document_.AddPaths(paths, main_.App().User()) == 0) {
        return;
    }
    ShowEntries();
    Save();
}

void TFPlayList::AddFilesFromDialog() {
    const QStringList files =
        QFileDialog::getOpenFileNames(this, tr("Add to playlist"), QString(), AddFilesFilter());
    std::vector<std::string> paths;
    for (const QString& file : files) {
        paths.push_back(PathFromQtName(file));
    }
    AddPaths(paths);
}

void TFPlayList::MoveSelectedTo(std::size_t target) {
    const std::vector<std::size_t> selected = view_->SelectedIndexes();
    if (selected.empty()) {
        return;
    }
    const std::size_t first = document_.MoveEntries(selected, target);
    ShowEntries();
    view_->SelectRange(first, selected.size());
    Save();
}

void TFPlayList::InsertCopies(const std::vector<collections::PlaylistEntry>& copies,
                              std::size_t target) {
    if (copies.empty()) {
        return;
    }
    document_.InsertEntries(copies, target);
    ShowEntries();
    Save();
}

void TFPlayList::DeleteSelected() {
    const std::vector<std::size_t> selected = view_->SelectedIndexes();
    if (selected.empty()) {
        return;
    }
    document_.RemoveEntries(selected);
    ShowEntries();
    Save();
}

void TFPlayList::Randomize() {
    document_.Randomize(random_);
    ShowEntries();
    Save();
}

std::vector<std::string> TFPlayList::SelectedPaths() const {
    std::vector<std::string> paths;
    for (const std::size_t index : view_->SelectedIndexes()) {
        paths.push_back(document_.ResolvedPath(index));
    }
    return paths;
}

void TFPlayList::PlaySelected(bool enqueue) {
    const std::vector<std::string> paths = SelectedPaths();
    if (!paths.empty() && main_.Providers().playFiles) {
        main_.Providers().playFiles(main_, paths, enqueue);
    }
}

void TFPlayList::PlayPlaylist() {
    if (main_.Providers().playFiles) {
        main_.Providers().playFiles(main_, {document_.File()}, false);
    }
}

void TFPlayList::BuildPopup(QMenu& menu) {
    const bool selected = !view_->SelectedIndexes().empty();
    const bool playable = bool(main_.Providers().playFiles);
    const auto item = [this, &menu](const QString& text, const QString& hint, bool enabled,
                                    const std::function<void()>& act) {
        QAction* action =
            ResultWindow::AddMenuItem(menu, text, enabled, this, [this, act] { main_.Run(act); });
        action->setToolTip(hint);
    };
    item(tr("Add files..."), QString(), true, [this] { AddFilesFromDialog(); });
    item(tr("&Play selected files(Ctrl-o)"), tr("Open selected files in player"),
         selected && playable, [this] { PlaySelected(false); });
    item(tr("Enqueue selected files (Ctrl-q)"), QString(), selected && playable,
         [this] { PlaySelected(true); });
    item(tr("Play &playlist"), tr("Open playlist in player"), playable, [this] { PlayPlaylist(); });
    item(tr("&Delete selected (Del)"), tr("Removed selected files from the playlist"), selected,
         [this] { DeleteSelected(); });
    item(tr("&Randomize list"), QString(), true, [this] { Randomize(); });
}

void TFPlayList::SelectAllRows() {
    view_->selectAll();
}

void TFPlayList::FindText() {
    if (findDialog_ == nullptr) {
        findDialog_ = new TFFindText(this);
    }
    if (const std::optional<QString> text = findDialog_->Ask()) {
        FindFrom(*text, 0);
    }
}

void TFPlayList::FindNext() {
    if (found_) {
        FindFrom(findText_, *found_ + 1);
    }
}

void TFPlayList::FindFrom(const QString& text, std::size_t from) {
    findText_ = text;
    const std::optional<std::size_t> hit = document_.FindFrom(text.toStdString(), from);
    if (!hit) {
        return;
    }
    found_ = hit;
    view_->SelectRange(*hit, 1);
    QTreeWidgetItem* item = view_->topLevelItem(static_cast<int>(*hit));
    view_->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    view_->scrollToItem(item);
}

void TFPlayList::PreviewCurrent(TFMiniPlayer& player) {
    const std::vector<std::size_t> selected = view_->SelectedIndexes();
    if (selected.empty()) {
        return;
    }
    const std::string path = document_.ResolvedPath(selected.front());
    if (QFileInfo(QtFileName(path)).isFile()) {
        player.PlayFile(QtFileName(path));
    }
}

void TFPlayList::PreviewSelection() {
    TFMiniPlayer* player = main_.Windows().miniPlayer;
    if (player == nullptr || !main_.Actions().previewSongs->isChecked()) {
        return;
    }
    if (player->isHidden()) {
        player->show();
    }
    PreviewCurrent(*player);
}

}  // namespace sonarchive::gui
