#include "gui/collections/collections_window.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QDrag>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalog_store/date_time.h"
#include "catalog_store/sql_text.h"
#include "collections/collection_list.h"
#include "collections/collections.h"
#include "gui/collections/collection_help.h"
#include "gui/collections/collection_windows.h"
#include "gui/lists/result_window.h"
#include "gui/lists/short_date.h"
#include "gui/shell/app_context.h"
#include "gui/shell/file_drops.h"
#include "gui/shell/help_window.h"
#include "gui/shell/main_window.h"
#include "interaction/scopes.h"

namespace sonarchive::gui {
namespace {

QString CreatedText(double days) {
    if (days <= 0) {
        return {};  // no date
    }
    const QDateTime created = QDateTime::fromString(
        QString::fromStdString(catalog::DateTimeText(days)), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return QString::fromStdString(ShortDateText(created.date())) + QLatin1Char(' ') +
           created.time().toString(QStringLiteral("HH:mm:ss"));
}

bool IsPlayKey(const QKeyEvent& key, bool& enqueue) {
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier) {
        return false;
    }
    enqueue = key.key() == Qt::Key_Q;
    return key.key() == Qt::Key_O || enqueue;
}

}  // namespace

CollectionsTable::CollectionsTable(TFMain& main, QWidget* parent)
    : QTreeWidget(parent), main_(main) {
    setObjectName(QStringLiteral("ListView1"));
    setColumnCount(6);
    setHeaderLabels({QString(), tr("Collection name"), tr("Created"), tr("Files"),
                     tr("Length (h:m)"), tr("Size (MB)")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setDragEnabled(true);
    constexpr int kWidths[] = {40, 220, 150, 60, 90, 80};
    for (int column = 0; column < columnCount(); ++column) {
        header()->resizeSection(column, kWidths[column]);
    }
}

std::vector<std::int64_t> CollectionsTable::SelectedIds() const {
    std::vector<std::int64_t> ids;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (topLevelItem(row)->isSelected()) {
            ids.push_back(topLevelItem(row)->data(0, Qt::UserRole).toLongLong());
        }
    }
    return ids;
}

std::vector<std::string> CollectionsTable::SelectedMemberPaths() const {
    std::vector<std::string> paths;
    for (const std::int64_t id : SelectedIds()) {
        const std::vector<std::string> members = collections::CollectionMemberPaths(
            main_.App().Catalog().Engine(), main_.Drives().PathRules(), id);
        paths.insert(paths.end(), members.begin(), members.end());
    }
    return paths;
}

bool CollectionsTable::event(QEvent* event) {
    // Ctrl+O and Ctrl+Q act on the collections here, not through the main window's commands.
    bool enqueue = false;
    if (event->type() == QEvent::ShortcutOverride &&
        IsPlayKey(*static_cast<QKeyEvent*>(event), enqueue)) {
        event->accept();
        return true;
    }
    return QTreeWidget::event(event);
}

void CollectionsTable::keyPressEvent(QKeyEvent* event) {
    bool enqueue = false;
    if (IsPlayKey(*event, enqueue)) {
        emit playRequested(enqueue);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        emit deleteRequested();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CollectionsTable::startDrag(Qt::DropActions) {
    std::vector<std::string> paths;
    main_.Run([this, &paths] { paths = SelectedMemberPaths(); });
    if (paths.empty()) {
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(FileUrlsMimeData(paths).release());
    main_.SetDragSource(this);
    drag->exec(Qt::CopyAction);
    main_.SetDragSource(nullptr);
}

TFCollections::TFCollections(TFMain& main, QWidget* parent) : QWidget(parent), main_(main) {
    setObjectName(QStringLiteral("FCollections"));
    setWindowTitle(tr("Collections"));
    table_ = new CollectionsTable(main, this);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ShowPopup(table_->viewport()->mapToGlobal(at)); });
    connect(table_, &QTreeWidget::itemDoubleClicked, this,
            [this] { main_.Run([this] { OpenSelected(); }); });
    connect(table_, &CollectionsTable::playRequested, this,
            [this](bool enqueue) { main_.Run([this, enqueue] { PlaySelected(enqueue); }); });
    connect(table_, &CollectionsTable::deleteRequested, this,
            [this] { main_.Run([this] { DeleteSelected(); }); });

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const char* name, const QString& text,
                                        const std::function<void()>& act) {
        auto* push = new QPushButton(text, this);
        push->setObjectName(QString::fromLatin1(name));
        connect(push, &QPushButton::clicked, this, [this, act] { main_.Run(act); });
        buttons->addWidget(push);
    };
    button("BNew", tr("&New collection"), [this] { NewCollection(); });
    button("BOpen", tr("&Open collection"), [this] { OpenSelected(); });
    button("BDelete", tr("&Delete collection"), [this] { DeleteSelected(); });
    buttons->addStretch(1);
    button("BClose", tr("&Close"),
           [this] { parentWidget() != nullptr ? parentWidget()->close() : close(); });
    button("BHelp", tr("&Help"), [this] {
        if (main_.Windows().help != nullptr) {
            main_.Windows().help->ShowTopic(kCollectionsHelpTopic);
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    subscription_ = main_.App().Catalog().Events().Subscribe([this](catalog::CatalogChange change) {
        if (change == catalog::CatalogChange::CollectionsChanged) {
            QMetaObject::invokeMethod(this, [this] { main_.Run([this] { Reload(); }); });
        }
    });
    Reload();
    resize(700, 320);
}

TFCollections::~TFCollections() {
    main_.App().Catalog().Events().Unsubscribe(subscription_);
}

void TFCollections::Reload() {
    const std::vector<std::int64_t> selected = table_->SelectedIds();
    table_->clear();
    for (const collections::CollectionRow& row :
         collections::ListCollectionRows(main_.App().Catalog().Engine())) {
        auto* item = new QTreeWidgetItem(
            table_, {QString::number(row.Id), QString::fromStdString(row.Name),
                     CreatedText(row.Created), QString::number(row.Files),
                     QString::fromStdString(catalog::MinutesSecondsLocal(row.LengthMinutes)),
                     QString::number(row.SizeMB)});
        item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(row.Id));
        for (const int column : {0, 3, 4, 5}) {
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
        item->setSelected(std::find(selected.begin(), selected.end(), row.Id) != selected.end());
    }
}

void TFCollections::ShowHintUnlessHidden() {
    if (main_.Windows().tips != nullptr) {
        main_.Windows().tips->ShowUnlessHidden(CollectionsTip());
    }
}

void TFCollections::NewCollection() {
    CreateCollection(main_, true);
}

void TFCollections::OpenSelected() {
    for (const std::int64_t id : table_->SelectedIds()) {
        OpenCollection(main_, id, false, false);
    }
}

void TFCollections::DeleteSelected() {
    const std::vector<std::int64_t> ids = table_->SelectedIds();
    if (ids.empty() || !main_.App().User().AskYesNo("Delete selected collection(s)?")) {
        return;
    }
    for (const std::int64_t id : ids) {
        collections::DeleteCollection(main_.App().Catalog(), id);
        CloseCollectionWindows(main_, id);
    }
    Reload();
}

void TFCollections::PlaySelected(bool enqueue) {
    const std::vector<std::string> paths = table_->SelectedMemberPaths();
    if (!paths.empty() && main_.Providers().playFiles) {
        main_.Providers().playFiles(main_, paths, enqueue);
    }
}

void TFCollections::ShowPopup(const QPoint& globalPosition) {
    QMenu menu(this);
    BuildPopup(menu);
    menu.exec(globalPosition);
}

void TFCollections::BuildPopup(QMenu& menu) {
    const bool selected = !table_->SelectedIds().empty();
    const auto item = [this, &menu](const QString& text, bool enabled,
                                    const std::function<void()>& act) {
        ResultWindow::AddMenuItem(menu, text, enabled, this, [this, act] { main_.Run(act); });
    };
    item(tr("&New Collection"), true, [this] { NewCollection(); });
    item(tr("&Open collection(s)"), selected, [this] { OpenSelected(); });
    item(tr("&Delete collection(s)"), selected, [this] { DeleteSelected(); });
    menu.addSeparator();
    const bool playable = selected && bool(main_.Providers().playFiles);
    item(tr("Play (Ctrl-o)"), playable, [this] { PlaySelected(false); });
    item(tr("Enque (Ctrl-q)"), playable, [this] { PlaySelected(true); });
}

}  // namespace sonarchive::gui
