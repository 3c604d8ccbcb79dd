#include "gui/collections/collections_window.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>

#include "collections_fixture.h"
#include "gui/lists/browse_window.h"
#include "gui/lists/search_window.h"
#include "gui/shell/logo_area.h"

namespace sonarchive::testing {
namespace {

class CollectionsWindowTest : public CollectionsTest {
protected:
    gui::TFCollections& OpenList() { return Open<gui::TFCollections>(gui::ChildKind::Collections); }

    static std::vector<std::string> Row(const gui::CollectionsTable& table, int row) {
        std::vector<std::string> texts;
        for (int column = 1; column < table.columnCount(); ++column) {
            texts.push_back(table.topLevelItem(row)->text(column).toStdString());
        }
        return texts;
    }
    static void SelectRows(gui::CollectionsTable& table, const std::vector<int>& rows) {
        table.clearSelection();
        for (const int row : rows) {
            table.topLevelItem(row)->setSelected(true);
        }
    }
};

TEST_F(CollectionsWindowTest, ListsEveryCollectionByNameAndFollowsChanges) {
    StartAll();
    const std::int64_t song = AddRow({{"dLength", "14370"}, {"dFileSize", "2500"}});
    const std::int64_t zed = NewCollection("Zed", {song});
    catalog::WriteCollectionTotals(Db(), zed, catalog::TotalsOfMembers(Db(), zed));
    NewCollection("Alpha", {});
    gui::TFCollections& window = OpenList();
    EXPECT_EQ(window.windowTitle().toStdString(), "Collections");
    gui::CollectionsTable& table = window.Table();
    std::vector<std::string> captions;
    for (int column = 0; column < table.columnCount(); ++column) {
        captions.push_back(table.headerItem()->text(column).toStdString());
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"", "Collection name", "Created", "Files",
                                                  "Length (h:m)", "Size (MB)"}));
    ASSERT_EQ(table.topLevelItemCount(), 2);
    EXPECT_EQ(Row(table, 0)[0], "Alpha");
    const std::vector<std::string> zedRow = Row(table, 1);
    EXPECT_EQ(zedRow[0], "Zed");
    EXPECT_EQ(zedRow[2], "1");
    EXPECT_EQ(zedRow[3], "3:59");  // 239.5 minutes, the fraction dropped
    EXPECT_EQ(zedRow[4], "2");
    EXPECT_EQ(table.topLevelItem(1)->text(0).toStdString(), std::to_string(zed));

    // A collection made elsewhere appears at once.
    NewCollection("Middle", {});
    EXPECT_EQ(table.topLevelItemCount(), 3);
    EXPECT_EQ(Row(table, 1)[0], "Middle");
    // Only one such window.
    EXPECT_EQ(&OpenList(), &window);
}

TEST_F(CollectionsWindowTest, PopupAndButtonsActOnTheSelectedCollections) {
    StartAll();
    const std::string stick = MountStickFolder();
    const std::int64_t a = AddRow({{"dPath", "'/a.mp3'"}});
    const std::int64_t b = AddRow({{"dPath", "'/b.mp3'"}});
    const std::int64_t gone =
        AddRow({{"dDriveSerialNumber", Q(kGoneSerial)}, {"dPath", "'/c.mp3'"}});
    const std::int64_t first = NewCollection("First", {b, gone});
    const std::int64_t second = NewCollection("Second", {a});
    gui::TFCollections& window = OpenList();
    gui::CollectionsTable& table = window.Table();

    QMenu menu;
    window.BuildPopup(menu);
    EXPECT_EQ(MenuItems(menu), (std::vector<std::string>{"&New Collection", "-&Open collection(s)",
                                                         "-&Delete collection(s)", "-Play (Ctrl-o)",
                                                         "-Enque (Ctrl-q)"}));
    SelectRows(table, {0, 1});
    menu.clear();
    window.BuildPopup(menu);
    EXPECT_EQ(MenuItems(menu), (std::vector<std::string>{"&New Collection", "&Open collection(s)",
                                                         "&Delete collection(s)", "Play (Ctrl-o)",
                                                         "Enque (Ctrl-q)"}));

    // The members' files that can be opened now, collection by collection.
    EXPECT_EQ(table.SelectedMemberPaths(),
              (std::vector<std::string>{stick + "/b.mp3", stick + "/a.mp3"}));
    QTest::keyClick(&table, Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(launcher->calls.size(), 1u);
    EXPECT_EQ(launcher->calls[0].rfind("open ", 0), 0u);  // no enqueue command set
    EXPECT_NE(launcher->calls[0].find("~sonarchv"), std::string::npos);

    window.OpenSelected();
    EXPECT_EQ(Main().Children().Windows().size(), 3);

    h.user.AnswerYes();
    SelectRows(table, {0});
    QTest::keyClick(&table, Qt::Key_Delete);
    EXPECT_EQ(h.user.Texts("question"), std::vector<std::string>{"Delete selected collection(s)?"});
    FlushDeletedWindows();
    EXPECT_FALSE(collections::LoadCollectionHeader(Db(), first));
    EXPECT_TRUE(collections::LoadCollectionHeader(Db(), second));
    ASSERT_EQ(table.topLevelItemCount(), 1);
    EXPECT_EQ(Row(table, 0)[0], "Second");
    EXPECT_EQ(Main().Children().Windows().size(), 2);  // the first's window went with it
    EXPECT_EQ(Count(), 3);
}

TEST_F(CollectionsWindowTest, ANewCollectionOpensBesideTheBrowseWindow) {
    StartAll();
    Main().resize(1000, 700);
    auto& search = Open<gui::TFSearch>(gui::ChildKind::Search);
    gui::TFCollections& window = OpenList();
    ModalAnswerer answer{QStringLiteral("BOk"), QStringLiteral("New collection"),
                         [](QWidget& dialog) {
                             auto* name = dialog.findChild<QLineEdit*>("EName");
                             EXPECT_EQ(name->text().toStdString(), "My Collection");
                             EXPECT_EQ(name->maxLength(), 100);
                             name->setText("Party");
                             dialog.findChild<QCheckBox*>("CBSortable")->setChecked(true);
                         }};
    window.NewCollection();
    ASSERT_TRUE(answer.Answered());
    QMdiSubWindow* frame = Main().Children().FindOpen(gui::ChildKind::Collection);
    ASSERT_NE(frame, nullptr);
    auto& collection = *qobject_cast<gui::TFCollection*>(frame->widget());
    EXPECT_EQ(collection.windowTitle().toStdString(), "Collection - Party");
    EXPECT_FALSE(collection.UsesPositions());

    const QWidget& client = *Main().Area().viewport();
    const int width = client.width() / 2;
    const int height = client.height() - 5;
    EXPECT_EQ(frame->geometry(), QRect(width - 4, 0, width, height));
    QMdiSubWindow* browse = Main().Children().FindOpen(gui::ChildKind::Browse);
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->geometry(), QRect(0, 0, width, height / 2));
    EXPECT_EQ(search.parentWidget()->geometry(), QRect(0, height / 2, width, height / 2));
    EXPECT_EQ(Main().Area().activeSubWindow(), frame);
    EXPECT_EQ(Main().ToolBar().collections->itemText(0).toStdString(), "Party");

    // Cancelled: nothing is made. The box shows the choice made last.
    bool sortableShown = false;
    ModalAnswerer cancel{QStringLiteral("BCancel"), QStringLiteral("New collection"),
                         [&sortableShown](QWidget& dialog) {
                             sortableShown =
                                 dialog.findChild<QCheckBox*>("CBSortable")->isChecked();
                         }};
    window.NewCollection();
    EXPECT_TRUE(cancel.Answered());
    EXPECT_TRUE(sortableShown);
    EXPECT_EQ(window.Table().topLevelItemCount(), 1);
}

TEST_F(CollectionsWindowTest, TheCollectionsBoxOpensAndRefreshesACollection) {
    StartAll();
    const std::int64_t song = AddRow({});
    const std::int64_t id = NewCollection("Mine", {song});
    Main().RefreshCollections();
    auto& box = *Main().ToolBar().collections;
    box.activated(0);
    EXPECT_EQ(box.currentIndex(), -1);
    QMdiSubWindow* frame = Main().Children().FindOpen(gui::ChildKind::Collection);
    ASSERT_NE(frame, nullptr);
    catalog::Query untouched(Db(), "select dFiles from SubColl where id=" + std::to_string(id));
    EXPECT_EQ(untouched[0].AsInteger(), 0);  // a new window writes no totals

    box.activated(0);  // the open one is reloaded and its totals written back
    EXPECT_EQ(Main().Children().Windows().size(), 1);
    catalog::Query written(Db(), "select dFiles from SubColl where id=" + std::to_string(id));
    EXPECT_EQ(written[0].AsInteger(), 1);
}

}  // namespace
}  // namespace sonarchive::testing
