#include "gui/lists/search_window.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalog_store/sql_text.h"
#include "gui/cataloguing/add_figures.h"
#include "gui/lists/advanced_search_grid.h"
#include "gui/lists/short_date.h"
#include "gui/lists/simple_search_panel.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "lists/search_recording.h"

namespace sonarchive::gui {
namespace {

constexpr const char* kLastSearchType = "LASTSEARCHTYPE";
constexpr int kSearchHelpTopic = 7;
constexpr int kAddHelpTopic = 5;

Tip SearchHint(AddMode mode) {
    return {TipKind::Search, QObject::tr("Search archive"),
            QObject::tr("\"Search archive\" lets you find specific files that meets the "
                        "criterias you set."),
            true, mode == AddMode::Search ? kSearchHelpTopic : kAddHelpTopic};
}

QString CaptionOf(AddMode mode) {
    switch (mode) {
        case AddMode::Search:
            return QObject::tr("Search");
        case AddMode::Dropped:
            return QObject::tr("Files addded");
        case AddMode::Folder:
        case AddMode::AllDrives:
            break;
    }
    return QObject::tr("Files added");
}

}  // namespace

TFSearch::TFSearch(TFMain& main, AddMode mode, QWidget* parent)
    : ResultWindow(main, ResultListOptions{}, SearchHint(mode), parent), mode_(mode) {
    setObjectName(QStringLiteral("FSearch"));
    setWindowTitle(CaptionOf(mode));
    if (mode == AddMode::Search) {
        SetHeaderText(tr("Search archive"));
        BuildSearchPanels();
        resize(760, sizeHint().height());
    } else {
        SetHeaderText(tr("Add to archive"));
        BuildAddPanels();
        resize(760, kAddModeHeight);
        grown_ = true;
    }
}

void TFSearch::BuildSearchPanels() {
    simple_ = new SimpleSearchPanel(Main().App(), this);
    advanced_ = new AdvancedSearchGrid(this);
    PanelArea().addWidget(simple_);
    PanelArea().addWidget(advanced_);
    connect(simple_, &SimpleSearchPanel::searchRequested, this,
            [this] { Main().Run([this] { SearchButton1Click(); }); });
    connect(advanced_, &AdvancedSearchGrid::searchRequested, this,
            [this] { Main().Run([this] { SearchButton1Click(); }); });
    for (QPushButton* toggle : {&simple_->AdvancedToggle(), &advanced_->AdvancedToggle()}) {
        connect(toggle, &QPushButton::clicked, this,
                [this](bool advanced) { SetAdvanced(advanced, true); });
    }
    simple_->RestoreStoredField();
    SetAdvanced(Main().App().Registry().ReadRegInteger(kLastSearchType) == 1, false);
}

void TFSearch::BuildAddPanels() {
    volume_ = new VolumeFigures(this);
    volume_->setObjectName(QStringLiteral("PDiskInfo"));
    counters_ = new CounterFigures(tr("Files added:"), this);
    counters_->setObjectName(QStringLiteral("PAddFiles"));
    auto* row = new QHBoxLayout;
    row->addWidget(volume_);
    row->addWidget(counters_);
    row->addStretch(1);
    PanelArea().addLayout(row);
    volume_->setVisible(mode_ == AddMode::Folder);
    counters_->setVisible(mode_ == AddMode::Folder || mode_ == AddMode::AllDrives);
}

bool TFSearch::AdvancedShown() const {
    return advanced_ != nullptr && !advanced_->isHidden();
}

void TFSearch::SetAdvanced(bool advanced, bool store) {
    if (simple_ == nullptr) {
        return;
    }
    const int before =
        simple_->isHidden() ? advanced_->sizeHint().height() : simple_->sizeHint().height();
    simple_->setVisible(!advanced);
    advanced_->setVisible(advanced);
    simple_->AdvancedToggle().setChecked(advanced);
    advanced_->AdvancedToggle().setChecked(advanced);
    simple_->SearchButton().setDefault(!advanced);
    if (store) {
        Main().App().Registry().WriteValues({{kLastSearchType, std::int64_t{advanced ? 1 : 0}}},
                                            "Couldn't write to registry (LAST SEARCH TYPE).");
    }
    // The window grows or shrinks by what the other panel needs.
    const int after = advanced ? advanced_->sizeHint().height() : simple_->sizeHint().height();
    QWidget& frame = Frame();
    if (!frame.isMaximized() && store) {
        frame.resize(frame.width(), frame.height() + after - before);
    }
}

void TFSearch::SearchButton1Click() {
    if (simple_ == nullptr) {
        return;
    }
    List().ClearRows();
    LastSearch search;
    search.advanced = AdvancedShown();
    const lists::DateFormat& dates = ShortDateFormat();
    lists::SearchHistory& history = Main().App().History();
    if (search.advanced) {
        const lists::SearchGrid grid = advanced_->Grid();
        search.statement = lists::BuildAdvancedSearch(grid, dates).statement;
        history.Record(lists::AdvancedHistoryEntry(grid, dates));
    } else {
        search.simple = simple_->Search();
        search.statement = lists::SimpleStatement(search.simple, dates);
        if (auto entry = lists::SimpleHistoryEntry(search.simple, dates)) {
            history.Record(std::move(*entry));
        }
    }
    last_ = std::move(search);
    RunLastSearch();
    GrowOnce();
}

void TFSearch::RunLastSearch() {
    List().ClearRows();
    const std::size_t count = last_->statement.empty() ? 0 : List().Fill(last_->statement);
    ShowFoundCaption(count);
}

void TFSearch::ShowFoundCaption(std::size_t count) {
    const auto rows = static_cast<std::int64_t>(count);
    setWindowTitle(QString::fromStdString(last_->advanced
                                              ? lists::AdvancedCaption(rows)
                                              : lists::SimpleCaption(last_->simple, rows)));
}

void TFSearch::GrowOnce() {
    if (grown_) {
        return;
    }
    grown_ = true;
    QWidget& frame = Frame();
    if (!frame.isMaximized()) {
        frame.resize(frame.width(), kAddModeHeight);
    }
}

void TFSearch::ApplyHistoryEntry(const lists::TSearchHistoryEntry& entry) {
    if (simple_ == nullptr || !entry.Used) {
        return;
    }
    SetAdvanced(entry.Advanced, true);
    if (entry.Advanced) {
        advanced_->SetGrid(lists::ReplayAdvanced(entry));
    } else {
        simple_->Replay(lists::ReplaySimple(entry));
    }
}

void TFSearch::ReloadRows() {
    catalog::IdList ids;
    for (const QModelIndex& row : List().Rows().RowsInListOrder()) {
        if (const catalog::TMainDataRec* record = List().Rows().Record(row)) {
            ids.push_back(record->Id);
        }
    }
    std::vector<std::string> statements;
    while (!ids.empty()) {
        statements.push_back(catalog::StandardSelectIdIn(catalog::IdListBatch(ids)) +
                             " order by id");
    }
    List().ClearRows();
    List().Fill(statements);
}

void TFSearch::AfterToolChangedFiles() {
    if (mode_ == AddMode::Search && last_) {
        RunLastSearch();
    } else {
        ReloadRows();
    }
}

AddDisplay TFSearch::Display() {
    return AddDisplay{volume_ != nullptr && mode_ == AddMode::Folder ? volume_ : nullptr,
                      counters_ != nullptr && !counters_->isHidden() ? counters_ : nullptr,
                      &Messages()};
}

void TFSearch::ListAddedSince(std::int64_t firstIdBefore) {
    List().Fill(catalog::StandardSelectSinceId(firstIdBefore));
}

void TFSearch::AddFolder(const AddFilesChoice& choice) {
    const std::optional<std::int64_t> firstIdBefore = gui::AddFromFolder(Main(), choice, Display());
    if (!firstIdBefore) {
        Frame().close();
        return;
    }
    ListAddedSince(*firstIdBefore);
}

void TFSearch::AddAllDrives(const std::vector<std::string>& masks) {
    ListAddedSince(gui::AddFromAllDrives(Main(), masks, Display()));
}

void TFSearch::AddDropped(const std::vector<std::string>& paths) {
    ListAddedSince(gui::AddDroppedFiles(Main(), paths, Display()));
}

void TFSearch::TakeDroppedFiles(const std::vector<std::string>& paths) {
    // Whatever the mode, the added rows join the list.
    AddDropped(paths);
}

void TFSearch::AddPopupItems(QMenu& menu) {
    menu.addSeparator();
    AddFileOrganizerItem(menu);
    AddExportMenu(menu, tr("&Selected items"));
}

}  // namespace sonarchive::gui
