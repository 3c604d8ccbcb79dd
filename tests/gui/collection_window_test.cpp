#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "collections_fixture.h"
#include "gui/collections/new_collection_dialog.h"
#include "gui/lists/browse_window.h"
#include "gui/lists/messages_panel.h"
#include "gui/lists/search_window.h"

namespace sonarchive::testing {
namespace {

std::string LabelText(QWidget& window, const char* name) {
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label != nullptr ? label->text().toStdString() : "(none)";
}

class CollectionWindowTest : public CollectionsTest {
protected:
    // Five rows on the stick, 60 seconds and 1000 KB each.
    catalog::IdList FiveFiles() {
        catalog::IdList ids;
        for (int i = 1; i <= 5; ++i) {
            const std::string n = std::to_string(i);
            ids.push_back(AddRow({{"dArtist", Q("Artist " + n)},
                                  {"dTitle", Q("Title " + n)},
                                  {"dPath", Q("/" + n + ".mp3")},
                                  {"dLength", "59.9"},
                                  {"dFileSize", "500"}}));
        }
        return ids;
    }
};

TEST_F(CollectionWindowTest, OpensWithCaptionControlsAndTotals) {
    StartAll();
    const catalog::IdList files = FiveFiles();
    const std::int64_t id = NewCollection("Road trip", {files[2], files[0], files[0]});
    gui::TFCollection& window = OpenWindow(id);

    EXPECT_EQ(window.objectName().toStdString(), "FCollection");
    EXPECT_EQ(window.windowTitle().toStdString(), "Collection - Road trip");
    EXPECT_EQ(LabelText(window, "LHeader"), "Collection");
    // The same file twice is listed twice, in position order.
    EXPECT_EQ(ListedIds(window.List()), (std::vector<std::int64_t>{files[2], files[0], files[0]}));
    EXPECT_EQ(ColumnTexts(window.List(), lists::codes::Position),
              (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(LabelText(window, "LFiles"), "3");
    EXPECT_EQ(LabelText(window, "LTotalSize"), "2 MB");  // 1500 KB, halves to the even neighbour
    EXPECT_EQ(LabelText(window, "LTotalLength"), "0:02:59");
    for (const char* button : {"SBPlay", "SBSaveAsPlaylist", "SBRandomize", "SBProperties",
                               "SBEncodingPanel", "SBHint"}) {
        EXPECT_NE(window.findChild<QToolButton*>(QString::fromLatin1(button)), nullptr) << button;
    }
    EXPECT_EQ(window.findChild<QToolButton*>("SBHint")->text().toStdString(), "Add files...");
    EXPECT_TRUE(window.findChild<QToolButton*>("SBRandomize")->isEnabled());
    EXPECT_FALSE(window.List().header()->sectionsClickable());

    // Opening it again brings the same window forward.
    EXPECT_EQ(gui::OpenCollection(Main(), id, false, true), &window);
    EXPECT_EQ(Main().Children().Windows().size(), 1);

    const std::int64_t sortable = NewCollection("Loose", {files[1]}, true);
    gui::TFCollection& loose = OpenWindow(sortable);
    EXPECT_FALSE(loose.findChild<QToolButton*>("SBRandomize")->isEnabled());
    EXPECT_TRUE(loose.List().header()->sectionsClickable());
}

TEST_F(CollectionWindowTest, PopupItemsFollowTheSelectionAndTheKind) {
    StartAll();
    const catalog::IdList files = FiveFiles();
    gui::TFCollection& window = OpenWindow(NewCollection("Mine", {files[0], files[1]}));
    QMenu menu;
    window.BuildPopup(menu);
    const std::vector<std::string> none = MenuItems(menu);
    const auto has = [](const std::vector<std::string>& items, const std::string& item) {
        return std::find(items.begin(), items.end(), item) != items.end();
    };
    for (const char* item :
         {"-&Play (Ctrl-o)", "-En&queue (Ctrl-q)", "-&Remove from collection (Del)",
          "-Move selected files &up (Ctrl-up)", "-Move selected files &down (Ctrl-down)",
          "-&Modify tags (selected items)...", "-&Rename files (selected items)...",
          "-&Tag properties... (F11)", "Delete collection", "&Collection properties...",
          "Export >"}) {
        EXPECT_TRUE(has(none, item)) << item;
    }
    for (const std::string& item : none) {
        EXPECT_EQ(item.find("Add to Collection"), std::string::npos);
        EXPECT_EQ(item.find("&Delete (Del)"), std::string::npos);
    }

    Select(window.List(), {1});
    menu.clear();
    window.BuildPopup(menu);
    const std::vector<std::string> one = MenuItems(menu);
    for (const char* item :
         {"&Play (Ctrl-o)", "En&queue (Ctrl-q)", "&Remove from collection (Del)",
          "Move selected files &up (Ctrl-up)", "Move selected files &down (Ctrl-down)"}) {
        EXPECT_TRUE(has(one, item)) << item;
    }

    gui::TFCollection& loose = OpenWindow(NewCollection("Loose", {files[0]}, true));
    Select(loose.List(), {0});
    menu.clear();
    loose.BuildPopup(menu);
    const std::vector<std::string> sortable = MenuItems(menu);
    EXPECT_TRUE(has(sortable, "-Move selected files &up (Ctrl-up)"));
    EXPECT_TRUE(has(sortable, "&Remove from collection (Del)"));
}

TEST_F(CollectionWindowTest, MovesABlockUpAndDownAndStoresThePositions) {
    StartAll();
    const catalog::IdList f = FiveFiles();
    const std::int64_t id = NewCollection("Mine", f);
    gui::TFCollection& window = OpenWindow(id);
    gui::TResultList& list = window.List();

    Select(list, {1, 2});
    QTest::keyClick(&list, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(ListedIds(list), (std::vector<std::int64_t>{f[1], f[2], f[0], f[3], f[4]}));
    EXPECT_EQ(StoredMembers(id), (std::vector<std::pair<std::int64_t, double>>{
                                     {f[1], 1}, {f[2], 2}, {f[0], 3}, {f[3], 4}, {f[4], 5}}));
    // The moved rows stay selected: with the first row among them nothing moves.
    QTest::keyClick(&list, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(ListedIds(list), (std::vector<std::int64_t>{f[1], f[2], f[0], f[3], f[4]}));

    Select(list, {3});
    window.MoveSelected(false);
    EXPECT_EQ(ListedIds(list), (std::vector<std::int64_t>{f[1], f[2], f[0], f[4], f[3]}));
    window.LoadMembers(false);  // what was stored is what is shown
    EXPECT_EQ(ListedIds(list), (std::vector<std::int64_t>{f[1], f[2], f[0], f[4], f[3]}));

    gui::TFCollection& loose = OpenWindow(NewCollection("Loose", {f[0], f[1]}, true));
    Select(loose.List(), {1});
    QTest::keyClick(&loose.List(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(ListedIds(loose.List()), (std::vector<std::int64_t>{f[0], f[1]}));
    EXPECT_EQ(loose.Messages().Lines().join('\n').toStdString(),
              "Can't move items in a sortable collection. Open \"Edit properties\" to change "
              "collection behavior.");
}

TEST_F(CollectionWindowTest, RandomizingGivesEachPositionOnce) {
    StartAll();
    const catalog::IdList f = FiveFiles();
    const std::int64_t id = NewCollection("Mine", {f[0], f[1], f[2], f[3]});
    gui::TFCollection& window = OpenWindow(id);
    window.RandomizePositions();
    std::vector<double> positions;
    std::vector<std::int64_t> stored;
    for (const auto& [file, position] : StoredMembers(id)) {
        positions.push_back(position);
        stored.push_back(file);
    }
    EXPECT_EQ(positions, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(ListedIds(window.List()), stored);
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, (std::vector<std::int64_t>{f[0], f[1], f[2], f[3]}));
}

TEST_F(CollectionWindowTest, RemovingMembersKeepsTheFilesAndWritesTheTotals) {
    StartAll();
    const catalog::IdList f = FiveFiles();
    const std::int64_t id = NewCollection("Mine", {f[0], f[1], f[2]});
    const std::int64_t other = NewCollection("Other", {f[0]});
    gui::TFCollection& window = OpenWindow(id);

    Select(window.List(), {0, 2});
    h.user.AnswerConfirm({false, false});
    QTest::keyClick(&window.List(), Qt::Key_Delete);
    EXPECT_EQ(ListedIds(window.List()).size(), 3u);  // cancelled

    h.user.AnswerConfirm({true, false});
    QTest::keyClick(&window.List(), Qt::Key_Delete);
    EXPECT_EQ(h.user.Texts("confirm"),
              (std::vector<std::string>{"Remove selected items from collection? [help -1]",
                                        "Remove selected items from collection? [help -1]"}));
    EXPECT_EQ(ListedIds(window.List()), std::vector<std::int64_t>{f[1]});
    EXPECT_EQ(Count(), 5);
    EXPECT_EQ(StoredMembers(other).size(), 1u);
    catalog::Query totals(
        Db(), "select dFiles, dLength, dSize from SubColl where id=" + std::to_string(id));
    EXPECT_EQ(totals[0].AsInteger(), 1);
    EXPECT_EQ(totals[1].AsInteger(), 0);  // 59.9 seconds are no whole minute
    EXPECT_EQ(totals[2].AsInteger(), 0);
    // The next member goes after the highest position left.
    collections::AddCollectionMembers(Db(), id, {f[4]});
    EXPECT_EQ(StoredMembers(id).back(), (std::pair<std::int64_t, double>{f[4], 3}));
}

TEST_F(CollectionWindowTest, DropsFromBrowseAddTheGroupsFilesAndOthersAreRefused) {
    StartAll();
    const std::int64_t ann1 = AddRow({{"dArtist", "'Ann'"}, {"dPath", "'/a1.mp3'"}});
    const std::int64_t ann2 = AddRow({{"dArtist", "'Ann'"}, {"dPath", "'/a2.mp3'"}});
    AddRow({{"dArtist", "'Bob'"}, {"dPath", "'/b.mp3'"}});
    const std::int64_t id = NewCollection("Mine", {});
    auto& browse = Open<gui::TFBrowse>(gui::ChildKind::Browse);
    gui::TFCollection& window = OpenWindow(id);

    Select(browse.List(), {0});  // the group row "Ann"
    Drop(*window.List().viewport(), &browse.List(), {"/media/STICK/a1.mp3"});
    std::vector<std::int64_t> added = ListedIds(window.List());
    std::sort(added.begin(), added.end());
    EXPECT_EQ(added, (std::vector<std::int64_t>{ann1, ann2}));
    catalog::Query totals(Db(), "select dFiles from SubColl where id=" + std::to_string(id));
    EXPECT_EQ(totals[0].AsInteger(), 2);
    EXPECT_TRUE(window.Messages().Lines().isEmpty());

    // Its own rows dropped back change nothing; files from another program are refused.
    Select(window.List(), {0});
    Drop(*window.List().viewport(), &window.List(), {"/media/STICK/a1.mp3"});
    Drop(*window.List().viewport(), nullptr, {"/tmp/x.mp3"});
    EXPECT_EQ(ListedIds(window.List()).size(), 2u);
    EXPECT_EQ(window.Messages().Lines().join('\n').toStdString(),
              "You must drag files from the archive (\"Browse\" or \"Search\" windows) or from "
              "another collection");
}

TEST_F(CollectionWindowTest, PropertiesRenameAndChangeTheKind) {
    StartAll();
    const catalog::IdList f = FiveFiles();
    const std::int64_t id = NewCollection("Mine", {f[0], f[1]});
    gui::TFCollection& window = OpenWindow(id);
    ModalAnswerer answer{QStringLiteral("BOk"), QStringLiteral("Collection properties"),
                         [](QWidget& dialog) {
                             dialog.findChild<QLineEdit*>("EName")->setText("It's mine");
                             dialog.findChild<QCheckBox*>("CBSortable")->setChecked(true);
                         }};
    window.EditProperties();
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(window.windowTitle().toStdString(), "Collection - It's mine");
    EXPECT_FALSE(window.UsesPositions());
    EXPECT_FALSE(window.findChild<QToolButton*>("SBRandomize")->isEnabled());
    auto header = collections::LoadCollectionHeader(Db(), id);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->name, "It's mine");
    EXPECT_FALSE(header->usesPositions);
    // The collections box follows.
    const auto& box = *Main().ToolBar().collections;
    EXPECT_EQ(box.itemText(0).toStdString(), "It's mine");
}

TEST_F(CollectionWindowTest, SaveAsPlaylistWritesFullPathsOfTaggableReachableRows) {
    StartAll();
    const std::string stick = MountStickFolder();
    const std::int64_t mp3 = AddRow({{"dArtist", "'Ann'"},
                                     {"dTitle", "'Blue Sky'"},
                                     {"dPath", "'/Rock/a.mp3'"},
                                     {"dLength", "187.6"}});
    const std::int64_t wav = AddRow({{"dFormat", "5"}, {"dPath", "'/b.wav'"}});
    const std::int64_t gone =
        AddRow({{"dDriveSerialNumber", Q(kGoneSerial)}, {"dPath", "'/c.mp3'"}});
    gui::TFCollection& window = OpenWindow(NewCollection("Mine", {wav, mp3, gone}));

    const std::string file = h.dir / "saved.m3u";
    EXPECT_TRUE(window.WritePlaylistFile(file));
    EXPECT_EQ(FileText(file),
              "#EXTM3U\r\n#EXTINF:188,Ann - Blue Sky\r\n" + stick + "/Rock/a.mp3\r\n");
    EXPECT_EQ(window.windowTitle().toStdString(), "Collection - Mine");

    const std::string nowhere = h.dir / "missing/saved.m3u";
    EXPECT_FALSE(window.WritePlaylistFile(nowhere));
    EXPECT_EQ(
        h.user.Texts("error"),
        std::vector<std::string>{"There was a problem writing to the file (" + nowhere + ") "});
    EXPECT_EQ(window.windowTitle().toStdString(), "Collection - Mine");
}

TEST_F(CollectionWindowTest, PlayingHandsReachableMembersOverAndDeletingClosesTheWindow) {
    StartAll();
    const std::string stick = MountStickFolder();
    const std::int64_t here = AddRow({{"dPath", "'/a.mp3'"}});
    const std::int64_t gone =
        AddRow({{"dDriveSerialNumber", Q(kGoneSerial)}, {"dPath", "'/c.mp3'"}});
    const std::int64_t id = NewCollection("Mine", {gone, here});
    gui::TFCollection& window = OpenWindow(id);
    window.PlayCollection();
    EXPECT_EQ(launcher->calls, std::vector<std::string>{"open " + stick + "/a.mp3"});

    h.user.AnswerNo();
    window.DeleteThisCollection();
    EXPECT_TRUE(collections::LoadCollectionHeader(Db(), id).has_value());
    h.user.AnswerYes();
    window.DeleteThisCollection();
    EXPECT_EQ(h.user.Texts("question"),
              (std::vector<std::string>{"Delete this collection?", "Delete this collection?"}));
    EXPECT_FALSE(collections::LoadCollectionHeader(Db(), id).has_value());
    FlushDeletedWindows();
    EXPECT_TRUE(Main().Children().Windows().isEmpty());
    EXPECT_EQ(Count(), 2);
}

TEST_F(CollectionWindowTest, AddToCollectionFromSearchWritesTotalsAndRefreshesTheWindow) {
    StartAll();
    const catalog::IdList f = FiveFiles();
    const std::int64_t id = NewCollection("Mine", {f[0]});
    gui::TFCollection& window = OpenWindow(id);
    auto& search = Open<gui::TFSearch>(gui::ChildKind::Search);
    search.List().Fill("select * from maindata order by id");
    Select(search.List(), {3, 4});
    search.AddSelectionToCollection(id);
    EXPECT_EQ(ListedIds(window.List()), (std::vector<std::int64_t>{f[0], f[3], f[4]}));
    EXPECT_EQ(LabelText(window, "LFiles"), "3");
    catalog::Query totals(Db(), "select dFiles, dSize from SubColl where id=" + std::to_string(id));
    EXPECT_EQ(totals[0].AsInteger(), 3);
    EXPECT_EQ(totals[1].AsInteger(), 2);  // 1500 KB
}

}  // namespace
}  // namespace sonarchive::testing
