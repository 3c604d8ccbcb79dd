// What list windows hand to other parts of the program and what they offer them: the tools
// that change files, collections, the organizer, the hint box, the export's report view, and
// the list's options for the collection and duplicate windows.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QToolButton>

#include "catalog_store/catalog_rows.h"
#include "gui/cataloguing/add_files_dialog.h"
#include "gui/lists/browse_window.h"
#include "gui/lists/report_view.h"
#include "gui/lists/search_window.h"
#include "list_windows_fixture.h"

namespace sonarchive::testing {
namespace {

namespace codes = lists::codes;

class ListHandoversTest : public ListWindowsTest {
protected:
    gui::TFSearch& ListAll() {
        gui::TFSearch& search = Open<gui::TFSearch>(gui::ChildKind::Search);
        search.List().Fill(catalog::StandardSelectAll());
        return search;
    }
};

TEST_F(ListHandoversTest, ToolsThatChangedFilesMakeTheWindowReadItsRowsAgain) {
    std::vector<catalog::IdList> massUpdated;
    gui::WindowProviders providers;
    providers.massUpdate = [&massUpdated, this](gui::TFMain&, catalog::IdList ids) {
        massUpdated.push_back(ids);
        Db().Execute("update maindata set dTitle='Updated " + std::to_string(massUpdated.size()) +
                     "' where id in " + catalog::IdListAll(ids));
        return true;
    };
    providers.renameFiles = [](gui::TFMain&, catalog::IdList) { return false; };
    Start(std::move(providers));
    const std::int64_t first = AddRow({{"dArtist", "'A'"}});
    AddRow({{"dArtist", "'B'"}});
    AddRow({{"dArtist", "'A'"}, {"dTitle", "'Second'"}});

    gui::TFBrowse& browse = Open<gui::TFBrowse>(gui::ChildKind::Browse);
    Select(browse.List(), {0});
    browse.MassUpdate();
    ASSERT_EQ(massUpdated.size(), 1u);
    EXPECT_EQ(massUpdated[0].size(), 2u);           // the group stands for both of its files
    browse.List().expand(RowAt(browse.List(), 0));  // the tree was built again
    EXPECT_EQ(ColumnTexts(browse.List(), codes::Title),
              (std::vector<std::string>{"", "Updated 1", "Updated 1", ""}));

    gui::TFSearch& search = ListAll();
    Db().Execute("update maindata set dTitle='Unseen'");
    Select(search.List(), {0});
    search.RenameFiles();  // reported no change: the list stays
    EXPECT_EQ(ColumnTexts(search.List(), codes::Title),
              (std::vector<std::string>{"Updated 1", "Title", "Updated 1"}));
    search.MassUpdate();
    EXPECT_EQ(massUpdated.back(), catalog::IdList{first});
    EXPECT_EQ(ColumnTexts(search.List(), codes::Title),
              (std::vector<std::string>{"Updated 2", "Unseen", "Unseen"}));
}

TEST_F(ListHandoversTest, TheCollectionMenuAddsTheSelectionAndOpensTheCollection) {
    std::vector<std::string> calls;
    gui::WindowProviders providers;
    providers.addToCollection = [&calls](gui::TFMain&, std::int64_t collection,
                                         catalog::IdList ids) {
        calls.push_back("add " + std::to_string(ids.size()) + " to " + std::to_string(collection));
    };
    providers.openCollection = [&calls](gui::TFMain&, std::int64_t collection) {
        calls.push_back("open " + std::to_string(collection));
    };
    providers.newCollection = [&calls](gui::TFMain&) {
        calls.push_back("new");
        return std::optional<std::int64_t>(42);
    };
    providers.fileOrganizer = [&calls](gui::TFMain& main, gui::ListWindow* source) {
        calls.push_back(source != nullptr ? "organize list" : "organize");
        // A real run announces the rows it changed.
        main.App().Catalog().Events().Notify(catalog::CatalogChange::RowsChanged);
        return true;
    };
    Start(std::move(providers));
    Db().Execute("insert into SubColl (dName) values ('Car')");
    const std::int64_t car = Db().LastInsertId();
    Main().RefreshCollections();
    AddRow({});
    AddRow({});
    gui::TFSearch& search = ListAll();
    Select(search.List(), {0, 1});

    QMenu popup;
    search.BuildPopup(popup);
    QMenu* collections = nullptr;
    for (QAction* item : popup.actions()) {
        if (item->text() == "Add to Collection") {
            collections = item->menu();
        }
    }
    ASSERT_NE(collections, nullptr);
    collections->actions()[0]->trigger();  // "New collection..."
    collections->actions()[2]->trigger();  // "Car"
    EXPECT_EQ(calls, (std::vector<std::string>{"new", "add 2 to 42", "open 42",
                                               "add 2 to " + std::to_string(car),
                                               "open " + std::to_string(car)}));

    // After the organizer every list window reads its rows again, on its announcement.
    calls.clear();
    Db().Execute("update maindata set dTitle='Moved'");
    search.RunFileOrganizer();
    EXPECT_EQ(calls, std::vector<std::string>{"organize list"});
    QCoreApplication::processEvents();
    EXPECT_EQ(ColumnTexts(search.List(), codes::Title),
              (std::vector<std::string>{"Moved", "Moved"}));
}

TEST_F(ListHandoversTest, TheHintButtonShowsTheWindowsBriefHelp) {
    Start();
    gui::TFBrowse& browse = Open<gui::TFBrowse>(gui::ChildKind::Browse);
    ModalAnswerer close{QStringLiteral("BClose")};
    browse.findChild<QToolButton*>("SBHint")->click();
    EXPECT_EQ(close.SeenTitle(), "Browse archive");
    EXPECT_TRUE(close.SeenText().contains(
        "\"Browse archive\" lets you look through your files organized in a tree style view."));
    EXPECT_TRUE(close.SeenText().contains("Brief help"));
}

TEST_F(ListHandoversTest, TheReportViewGivesTheShownColumnsInTheirOrderWithEveryRowsTexts) {
    Start();
    AddRow({{"dArtist", "'Ann'"}, {"dTitle", "'A rather long title'"}, {"dLength", "125"}});
    AddRow({{"dArtist", "'Bob'"}, {"dTitle", "'Short'"}, {"dLength", "7500"}});
    gui::TFSearch& search = ListAll();
    gui::TResultList& list = search.List();
    for (int section = 0; section < static_cast<int>(list.Columns().size()); ++section) {
        const int code = list.Columns()[static_cast<std::size_t>(section)].Code();
        list.SetColumnVisible(
            section, code == codes::Artist || code == codes::Title || code == codes::Length);
    }
    // The user drags Length in front of Artist.
    list.header()->moveSection(lists::SectionIndexOf(list.Columns(), codes::Length), 0);

    const gui::ReportView* report = gui::ReportOf(search);
    ASSERT_NE(report, nullptr);
    const std::vector<gui::ReportColumn> columns = report->ReportColumns();
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[0].caption, "Length (m:s)");
    EXPECT_EQ(columns[0].sortKind, lists::SortKind::Text);
    EXPECT_EQ(columns[1].caption, "Artist");
    EXPECT_EQ(columns[2].code, codes::Title);
    EXPECT_EQ(columns[2].longestText, 19u);

    std::vector<std::vector<std::string>> texts;
    std::vector<std::int32_t> ids;
    report->ForEachRow(false, [&](const gui::ReportRow& row) {
        texts.push_back(row.texts);
        ids.push_back(row.record->Id);
    });
    EXPECT_EQ(texts, (std::vector<std::vector<std::string>>{{"02:05", "Ann", "A rather long title"},
                                                            {"125:00", "Bob", "Short"}}));
    EXPECT_EQ(ids.size(), 2u);
    EXPECT_EQ(report->ReportRowCount(true), 0u);  // nothing selected: an empty table
    Select(list, {1});
    EXPECT_EQ(report->ReportRowCount(true), 1u);
}

TEST_F(ListHandoversTest, CollectionListsShowPositionsTickBoxesAndSortAscendingOnly) {
    Start();
    const std::int64_t first = AddRow({{"dTitle", "'One'"}});
    const std::int64_t second = AddRow({{"dTitle", "'Two'"}});
    Db().Execute("insert into SubColl (dName) values ('Car')");
    const std::int64_t car = Db().LastInsertId();
    Db().Execute("insert into SubCollD (dDataId, dPosition, dSubCollectionId) values (" +
                 std::to_string(second) + ", 1.5, " + std::to_string(car) + ")");
    Db().Execute("insert into SubCollD (dDataId, dPosition, dSubCollectionId) values (" +
                 std::to_string(first) + ", 2.25, " + std::to_string(car) + ")");

    gui::ResultListOptions options;
    options.positionColumn = true;
    options.checkBoxes = true;
    options.collectionId = static_cast<std::int32_t>(car);
    options.ascendingOnlySort = true;
    gui::TResultList list(Main(), options);
    EXPECT_EQ(list.Columns().size(), 23u);
    EXPECT_EQ(list.Fill(catalog::CollectionMembersSelect(car)), 2u);
    const int position = lists::SectionIndexOf(list.Columns(), codes::Position);
    EXPECT_TRUE(list.isColumnHidden(position));
    EXPECT_EQ(ColumnTexts(list, codes::Position), (std::vector<std::string>{"1.5", "2.25"}));
    EXPECT_EQ(list.Rows().Record(RowAt(list, 0))->CollectionId, car);
    EXPECT_EQ(RowAt(list, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    list.model()->setData(RowAt(list, 1), Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(list.Rows().Checked(RowAt(list, 1)));

    const int title = lists::SectionIndexOf(list.Columns(), codes::Title);
    list.SortByColumn(title);
    list.SortByColumn(title);  // never reversed
    EXPECT_EQ(ColumnTexts(list, codes::Title), (std::vector<std::string>{"One", "Two"}));
    EXPECT_TRUE(list.Rows().Checked(RowAt(list, 0)));  // the box went with its row
}

TEST_F(ListHandoversTest, TheAddDialogsChoicesAreSavedWhenTheProgramEnds) {
    Start();
    gui::TFSelDir2& dialog = gui::AddFilesDialogOf(Main());
    EXPECT_EQ(&gui::AddFilesDialogOf(Main()), &dialog);
    dialog.Masks();  // read once, as the first-start offer does
    EXPECT_FALSE(h.settings.Contains("ADD_FILES_FORMATS_ALL"));
    Main().close();
    EXPECT_EQ(h.settings.ReadInteger("ADD_FILES_FORMATS_ALL"), 1);
    EXPECT_EQ(h.settings.ReadInteger("ADDFILES_SEARCHTYPE"), 0);
}

}  // namespace
}  // namespace sonarchive::testing
