#include "gui/organize/duplicates_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <unordered_set>

#include "catalog_store/sql_text.h"
#include "gui/cataloguing/check_files_window.h"
#include "gui/cataloguing/window_progress.h"
#include "gui/organize/replace_dialog.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"

namespace sonarchive::gui {
namespace {

using organize::DuplicateMethod;

ResultListOptions DuplicateList() {
    ResultListOptions options;
    options.checkBoxes = true;
    options.groupColours = true;
    return options;
}

// One field dialog for the program, so the ticks last from one finder to the next while the
// program runs.
TFDuplicateSelectCustomFields& CustomFieldsDialogOf(TFMain& main) {
    auto* open =
        main.findChild<TFDuplicateSelectCustomFields*>(QString(), Qt::FindDirectChildrenOnly);
    return open != nullptr ? *open : *new TFDuplicateSelectCustomFields(&main);
}

QString DateTimeShown(double days) {
    return QLocale().toString(DateTimeFromDays(days), QLocale::ShortFormat);
}

// The window stays disabled and the progress window up for the life of a search, however it
// ends.
class SearchScope {
public:
    SearchScope(QWidget& window, TFCheckIndividualFiles& progress)
        : window_(window), progress_(progress) {
        window_.setEnabled(false);
    }
    ~SearchScope() {
        progress_.Finish();
        window_.setEnabled(true);
    }
    SearchScope(const SearchScope&) = delete;
    SearchScope& operator=(const SearchScope&) = delete;

private:
    QWidget& window_;
    TFCheckIndividualFiles& progress_;
};

}  // namespace

TFDuplicates::TFDuplicates(TFMain& main, QWidget* parent)
    : ResultWindow(main, DuplicateList(), std::nullopt, parent) {
    setObjectName(QStringLiteral("FDuplicates"));
    setWindowTitle(tr("Find Duplicates"));
    SetHeaderText(tr("Find Duplicates"));
    List().setAcceptDrops(false);
    List().viewport()->setAcceptDrops(false);
    // Not a child of this window: disabling the finder during a search would disable the
    // progress window's cancel button too.
    progress_ = new TFCheckIndividualFiles(&main);
    BuildBottomPanel();
    resize(760, 460);
}

TFDuplicates::~TFDuplicates() {
    delete progress_.data();
}

void TFDuplicates::BuildBottomPanel() {
    auto* deleteMarked = new QPushButton(tr("Delete marked"), this);
    deleteMarked->setObjectName(QStringLiteral("BDeleteMarked"));
    auto* newSearch = new QPushButton(tr("New search..."), this);
    newSearch->setObjectName(QStringLiteral("BNewSearch"));
    connect(deleteMarked, &QPushButton::clicked, this,
            [this] { Main().Run([this] { DeleteMarked(); }); });
    connect(newSearch, &QPushButton::clicked, this,
            [this] { Main().Run([this] { NewSearch(); }); });
    counter_ = new QLabel(this);
    counter_->setObjectName(QStringLiteral("LCounter"));
    timeRange_ = new QLabel(this);
    timeRange_->setObjectName(QStringLiteral("LTimeRange"));

    auto* row = new QHBoxLayout;
    row->addWidget(deleteMarked);
    row->addWidget(newSearch);
    row->addSpacing(16);
    row->addWidget(new QLabel(tr("Counter"), this));
    row->addWidget(counter_);
    row->addSpacing(16);
    row->addWidget(timeRange_, 1);
    qobject_cast<QVBoxLayout*>(layout())->addLayout(row);
}

TFCheckIndividualFiles& TFDuplicates::Progress() {
    return *progress_;
}

QString TFDuplicates::CounterText() const {
    return counter_->text();
}

QString TFDuplicates::TimeRangeText() const {
    return timeRange_->text();
}

void TFDuplicates::NewSearch() {
    AppContext& app = Main().App();
    TFSelectDuplicateMethod methods(app.Registry(), app.User(), this);
    const std::optional<DuplicateMethod> method = methods.Choose();
    if (!method) {
        if (!searchedOnce_) {
            Frame().close();  // the finder was opened for this search only
        }
        return;
    }
    searchedOnce_ = true;
    RunSearch(*method);
}

void TFDuplicates::RunSearch(DuplicateMethod method) {
    if (method != DuplicateMethod::Custom) {
        RunSearch(method, organize::FieldsOfMethod(method));
        return;
    }
    List().ClearRows();
    counter_->clear();
    timeRange_->clear();
    if (const auto ticked = CustomFieldsDialogOf(Main()).Choose()) {
        RunSearch(method, *ticked);
    }
}

void TFDuplicates::RunSearch(DuplicateMethod method, const organize::DuplicateFields& fields) {
    List().ClearRows();
    counter_->clear();
    timeRange_->clear();
    const organize::DuplicateSearch found = Search(method, fields);
    std::vector<GroupedId> rows;
    rows.reserve(found.rows.size());
    for (const organize::DuplicateRow& row : found.rows) {
        rows.push_back({row.id, row.group});
    }
    ShowRows(rows);
    if (method == DuplicateMethod::BitPattern) {
        ShowRange(found);
    }
}

organize::DuplicateSearch TFDuplicates::Search(DuplicateMethod method,
                                               const organize::DuplicateFields& fields) {
    AppContext& app = Main().App();
    catalog::Database& database = app.Catalog().Engine();
    SearchScope scope(Frame(), *progress_);
    if (method == DuplicateMethod::Filename) {
        return organize::FindFileNameDuplicates(database);
    }
    WindowProgress user(app.User(), progress_->Bar(), progress_->Cancelled());
    TFCheckIndividualFiles& progress = *progress_;
    const auto found = [&progress](std::size_t count) { progress.SetDuplicatesFound(count); };
    if (method != DuplicateMethod::BitPattern) {
        if (!fields.Any()) {
            return {};
        }
        constexpr int kComparing = 1;
        progress.BeginDuplicates(kComparing);
        return organize::FindTagDuplicates(database, fields, user, found);
    }
    organize::BitPatternProgress report;
    report.mode = [&progress](int mode) { progress.BeginDuplicates(mode); };
    report.found = found;
    report.timeLeft = [&progress](const std::string& left) {
        progress.SetTimeLeft(QString::fromStdString(left));
    };
    ShellDrives& drives = Main().Drives();
    return organize::FindBitPatternDuplicates(database, drives.PathRules(), drives.LocalDrives(),
                                              drives.Hosts().Hosts(), user, report);
}

void TFDuplicates::ShowRows(const std::vector<GroupedId>& rows) {
    catalog::IdList ids;
    for (const GroupedId& row : rows) {
        ids.push_back(row.id);
    }
    std::vector<std::string> statements;
    while (!ids.empty()) {
        statements.push_back(catalog::StandardSelectIdIn(catalog::IdListBatch(ids)));
    }
    List().ClearRows();
    List().Fill(statements);
    List().Rows().PlaceInGroups(rows);
}

void TFDuplicates::ShowRange(const organize::DuplicateSearch& found) {
    counter_->setText(QString::number(found.comparisons));
    timeRange_->setText(DateTimeShown(found.started) + QStringLiteral(" - ") +
                        DateTimeShown(found.ended));
}

void TFDuplicates::DeleteMarked() {
    ResultListModel& model = List().Rows();
    std::vector<QModelIndex> marked;
    for (const QModelIndex& row : model.RowsInListOrder()) {
        if (model.Checked(row)) {
            marked.push_back(row);
        }
    }
    if (marked.empty()) {
        return;
    }
    List().clearSelection();
    for (const QModelIndex& row : marked) {
        List().selectionModel()->select(row,
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    DeleteSelection(true);
}

void TFDuplicates::ReloadRows() {
    ResultListModel& model = List().Rows();
    std::vector<GroupedId> rows;
    std::unordered_set<std::int64_t> ticked;
    for (const QModelIndex& row : model.RowsInListOrder()) {
        if (const catalog::TMainDataRec* record = model.Record(row)) {
            rows.push_back({record->Id, record->DuplicateGroup});
            if (model.Checked(row)) {
                ticked.insert(record->Id);
            }
        }
    }
    ShowRows(rows);
    for (const QModelIndex& row : model.RowsInListOrder()) {
        const catalog::TMainDataRec* record = model.Record(row);
        if (record != nullptr && ticked.count(record->Id) != 0) {
            model.setData(row, Qt::Checked, Qt::CheckStateRole);
        }
    }
}

std::string TFDuplicates::FromDiskQuestion(std::size_t selectedRows) const {
    return "Delete " + std::to_string(selectedRows) + " file(s) from disk and archive?";
}

void TFDuplicates::AddPopupItems(QMenu& menu) {
    menu.addSeparator();
    AddFileOrganizerItem(menu);
    AddExportMenu(menu, tr("&Selected items"));
}

}  // namespace sonarchive::gui
