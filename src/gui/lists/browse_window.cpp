#include "gui/lists/browse_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

#include "gui/lists/add_modes.h"
#include "gui/lists/messages_panel.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "interaction/scopes.h"
#include "lists/browse_statements.h"

namespace sonarchive::gui {
namespace {

constexpr const char* kLastTopLevel = "LAST_BROWSE_TOP_LEVEL";
constexpr int kHelpTopic = 6;

Tip BrowseHint() {
    return {TipKind::Browse, QObject::tr("Browse archive"),
            QObject::tr("\"Browse archive\" lets you look through your files organized in a tree "
                        "style view. The files can be grouped by either \"Artist\", \"Album\" or "
                        "\"Genre\"."),
            true, kHelpTopic};
}

ResultListOptions BrowseList() {
    ResultListOptions options;
    options.layout = lists::kGroupingArtist;
    return options;
}

}  // namespace

TFBrowse::TFBrowse(TFMain& main, QWidget* parent)
    : ResultWindow(main, BrowseList(), BrowseHint(), parent) {
    setObjectName(QStringLiteral("FBrowse"));
    setWindowTitle(tr("MP3 Browser"));
    SetHeaderText(tr("Browse archive"));
    topLevel_ = new QComboBox(this);
    topLevel_->setObjectName(QStringLiteral("ComboTopLevel"));
    for (const std::string_view entry : lists::kTopLevelEntries) {
        topLevel_->addItem(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
    }
    auto* label = new QLabel(tr("Top level"), this);
    label->setBuddy(topLevel_);
    HeaderArea().insertWidget(1, label);
    HeaderArea().insertWidget(2, topLevel_);

    // The stored top level is restored without being written back.
    topLevel_->setCurrentIndex(0);
    if (const auto stored = main.App().Registry().File().ReadInteger(kLastTopLevel)) {
        topLevel_->setCurrentIndex(
            *stored >= 0 && *stored < topLevel_->count() ? static_cast<int>(*stored) : -1);
    }
    connect(topLevel_, &QComboBox::activated, this, &TFBrowse::ChangeTopLevel);
    List().SetGroupStatement(
        [this](const GroupRow& group) { return lists::GroupStatement(GroupingCode(), group.key); });
    RebuildBrowseTree();
    resize(760, 460);
}

int TFBrowse::GroupingCode() const {
    return lists::GroupingCodeOf(topLevel_->currentIndex());
}

void TFBrowse::ChangeTopLevel(int position) {
    RebuildBrowseTree();
    Main().App().Registry().WriteRegInteger(kLastTopLevel, position);
}

void TFBrowse::RebuildBrowseTree() {
    BusyScope busy(Main().App().User());
    setUpdatesEnabled(false);
    const int grouping = GroupingCode();
    TResultList& list = List();
    list.BuildColumns(grouping);
    if (grouping == lists::kGroupingPlain) {
        list.Fill(lists::BrowseTreeStatement(grouping));
    } else {
        // The grouping column shows whatever the stored fields say.
        list.SetColumnVisible(lists::SectionIndexOf(list.Columns(), grouping), true);
        std::vector<GroupRow> groups;
        for (lists::BrowseGroup& group :
             lists::LoadBrowseGroups(Main().App().Catalog().Engine(), grouping)) {
            groups.push_back({std::move(group.text), std::move(group.key)});
        }
        list.SetGroups(std::move(groups));
    }
    setUpdatesEnabled(true);
}

void TFBrowse::AddPopupItems(QMenu& menu) {
    menu.addSeparator();
    AddFileOrganizerItem(menu);
    AddExportMenu(menu, tr("&Selection"));
}

void TFBrowse::TakeDroppedFiles(const std::vector<std::string>& paths) {
    AddDroppedFiles(Main(), paths, AddDisplay{nullptr, nullptr, &Messages()});
    RebuildBrowseTree();
}

}  // namespace sonarchive::gui
