// The search window: the simple panel with its stored choices and pick lists, the advanced
// grid with its repairs, captions, the history and its replay, reloading, and the add modes.
#include "gui/lists/search_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>

#include "gui/cataloguing/add_files_dialog.h"
#include "gui/lists/advanced_search_grid.h"
#include "gui/lists/messages_panel.h"
#include "gui/lists/simple_search_panel.h"
#include "list_windows_fixture.h"

namespace sonarchive::testing {
namespace {

namespace codes = lists::codes;

constexpr int kArtist = 1;  // positions in the field list
constexpr int kGenre = 10;
constexpr int kSampleRate = 14;
constexpr int kTitle = 16;

class SearchWindowTest : public ListWindowsTest {
protected:
    gui::TFSearch& Search() { return Open<gui::TFSearch>(gui::ChildKind::Search); }

    template <typename T>
    static T& Child(QWidget& window, const char* name) {
        T* child = window.findChild<T*>(QString::fromLatin1(name));
        if (child == nullptr) {
            throw std::runtime_error(std::string("no ") + name);
        }
        return *child;
    }

    static QStringList Entries(const QComboBox& box) {
        QStringList entries;
        for (int i = 0; i < box.count(); ++i) {
            entries << box.itemText(i);
        }
        return entries;
    }

    static void SetCell(gui::TFSearch& search, int row, int column, const char* text) {
        search.AdvancedGrid().Table().item(row, column)->setText(QString::fromUtf8(text));
    }
    static std::string Cell(gui::TFSearch& search, int row, int column) {
        return search.AdvancedGrid().Table().item(row, column)->text().toStdString();
    }
};

TEST_F(SearchWindowTest, StoredChoicesAreRestoredAndPositionsOutsideTheListsSelectNothing) {
    h.settings.Write({{"LASTSEARCHFIELD", std::int64_t{kSampleRate}},
                      {"LASTSEARCHCONDITION_INT", std::int64_t{5}},
                      {"LASTSEARCHCONDITION_CHAR", std::int64_t{2}}});
    Start();
    gui::TFSearch& search = Search();
    EXPECT_EQ(search.windowTitle(), "Search");
    auto& field = Child<QComboBox>(search, "ComboSelectField");
    auto& condition = Child<QComboBox>(search, "ComboCondition");
    EXPECT_EQ(field.currentText(), "Sample rate (hz)");
    EXPECT_EQ(Entries(condition), (QStringList{"=", ">", "<", "<>", "<=", ">="}));
    EXPECT_EQ(condition.currentText(), ">=");
    EXPECT_FALSE(search.AdvancedShown());

    // Artist has a pick list; its stored condition (2) is outside "Contains", "Exact match".
    field.setCurrentIndex(kArtist);
    emit field.activated(kArtist);
    EXPECT_EQ(h.settings.ReadInteger("LASTSEARCHFIELD"), kArtist);
    EXPECT_TRUE(search.Simple().PickListShown());
    EXPECT_EQ(condition.currentIndex(), -1);
    condition.setCurrentIndex(1);
    emit condition.activated(1);
    EXPECT_EQ(h.settings.ReadInteger("LASTSEARCHCONDITION_CHAR"), 1);

    h.settings.Write({{"LASTSEARCHFIELD", std::int64_t{20}}});
    gui::TFSearch other(Main(), gui::AddMode::Search);
    EXPECT_EQ(Child<QComboBox>(other, "ComboSelectField").currentIndex(), -1);
}

TEST_F(SearchWindowTest, ASimpleSearchListsItsRowsNamesThemInTheCaptionAndIsRecorded) {
    Start();
    AddRow({{"dArtist", "'The Beatles'"}});
    AddRow({{"dArtist", "'Beatles Revival'"}});
    AddRow({{"dArtist", "'ABBA'"}});
    gui::TFSearch& search = Search();
    const int heightBefore = search.parentWidget()->height();
    search.Simple().ChooseField(kArtist, true);
    search.Simple().ChooseCondition(0, true);
    auto& pickList = Child<QComboBox>(search, "ComboPickList");
    EXPECT_EQ(Entries(pickList), (QStringList{"Abba", "Beatles Revival", "The Beatles"}));
    pickList.setEditText("beatl");  // typed: matches no entry
    search.SearchButton1Click();
    EXPECT_EQ(search.windowTitle(), "\"Artist Contains beatl\" - found 2 rows");
    EXPECT_EQ(ColumnTexts(search.List(), codes::Artist),
              (std::vector<std::string>{"The Beatles", "Beatles Revival"}));
    EXPECT_EQ(search.parentWidget()->height(), 400);
    EXPECT_NE(heightBefore, 400);

    const auto& history = Main().App().History();
    ASSERT_EQ(history.UsedEntries().size(), 1u);
    EXPECT_EQ(history.Entries()[4].Caption, "Artist Contains 'BEATL'");
    EXPECT_FALSE(history.Entries()[4].Advanced);

    // A number field with the condition the grid did not offer before.
    search.parentWidget()->resize(search.parentWidget()->width(), 300);
    search.Simple().ChooseField(kSampleRate, true);
    search.Simple().ChooseCondition(4, true);  // "<="
    Child<QSpinBox>(search, "SpinSearchFor").setValue(44100);
    search.SearchButton1Click();
    EXPECT_EQ(search.windowTitle(), "\"Sample rate (hz) <= 44100\" - found 3 rows");
    EXPECT_EQ(search.parentWidget()->height(), 300);  // it grows once only
}

TEST_F(SearchWindowTest, PickListsShowEachValueOnceInTitleCaseAndFollowTheStaleRule) {
    Start();
    AddRow({{"dGenre", "'ROCK'"}});
    AddRow({{"dGenre", "'rock'"}});
    AddRow({{"dGenre", "'Rock'"}});
    gui::TFSearch& search = Search();
    search.Simple().ChooseField(kGenre, false);
    auto& pickList = Child<QComboBox>(search, "ComboPickList");
    EXPECT_EQ(Entries(pickList), QStringList{"Rock"});

    AddRow({{"dGenre", "'Jazz'"}});
    Main().App().Catalog().Events().Notify(catalog::CatalogChange::PickListsStale);
    QCoreApplication::processEvents();
    search.Simple().ChooseField(kGenre, false);
    EXPECT_EQ(Entries(pickList), (QStringList{"Jazz", "Rock"}));

    // Without refreshing, a list is built once per run.
    Main().App().General().SearchRefreshPicklists = false;
    AddRow({{"dGenre", "'Pop'"}});
    Main().App().Catalog().Events().Notify(catalog::CatalogChange::PickListsStale);
    QCoreApplication::processEvents();
    search.Simple().ChooseField(kGenre, false);
    EXPECT_EQ(Entries(pickList), (QStringList{"Jazz", "Rock"}));
}

TEST_F(SearchWindowTest, TheAdvancedGridIsRepairedAfterEachEditAndReadsAsText) {
    Start();
    AddRow({{"dArtist", "'The Beatles'"}, {"dYear", "1969"}});
    AddRow({{"dArtist", "'The Beatles'"}, {"dYear", "1963"}});
    AddRow({{"dArtist", "'Others'"}, {"dYear", "1990"}});
    gui::TFSearch& search = Search();
    Child<QPushButton>(search, "BAdvanced1").click();
    EXPECT_TRUE(search.AdvancedShown());
    EXPECT_TRUE(Child<QPushButton>(search, "BAdvanced2").isChecked());
    EXPECT_EQ(h.settings.ReadInteger("LASTSEARCHTYPE"), 1);
    EXPECT_EQ(search.AdvancedGrid().Table().horizontalHeaderItem(3)->text(), "Combine");

    SetCell(search, 0, 0, "Artist");
    EXPECT_EQ(Cell(search, 0, 1), "Contains");
    EXPECT_EQ(Cell(search, 0, 3), "IGNORE");
    SetCell(search, 0, 2, "beatles");
    SetCell(search, 0, 3, "AND");
    SetCell(search, 1, 0, "Year");
    SetCell(search, 1, 1, "Contains");  // not a number condition
    SetCell(search, 1, 2, "19x5");
    EXPECT_EQ(Cell(search, 1, 1), "=");
    EXPECT_EQ(Cell(search, 1, 2), "0");
    SetCell(search, 1, 1, ">");
    SetCell(search, 1, 2, "1965");
    EXPECT_EQ(Child<QLabel>(search, "LAdvancedText").text(),
              "(Artist Contains 'BEATLES') AND (Year > 1965)");
    search.SearchButton1Click();
    EXPECT_EQ(search.windowTitle(), "Advanced search - found 1 rows");
    EXPECT_EQ(Main().App().History().Entries()[4].Caption,
              "(Artist Contains 'BEATLES') AND (Year > 1965)");

    Child<QPushButton>(search, "BClear").click();
    EXPECT_EQ(Cell(search, 0, 0), "");
    EXPECT_EQ(Cell(search, 1, 2), "");

    // A new window starts in the mode last left.
    gui::TFSearch other(Main(), gui::AddMode::Search);
    EXPECT_TRUE(other.AdvancedShown());
}

TEST_F(SearchWindowTest, AHistoryEntryIsPutBackIntoThePlainSearchWindowWithoutRunning) {
    Start();
    AddRow({{"dTitle", "'Help'"}});
    gui::TFSearch& search = Search();
    search.Simple().ChooseField(kTitle, true);
    search.Simple().ChooseCondition(1, true);
    Child<QLineEdit>(search, "EditSearchFor").setText("help");
    search.SearchButton1Click();
    Child<QPushButton>(search, "BAdvanced1").click();
    SetCell(search, 0, 0, "Year");
    SetCell(search, 0, 2, "1999");
    search.SearchButton1Click();
    Child<QPushButton>(search, "BAdvanced2").click();
    search.Simple().ChooseField(kArtist, true);

    const std::vector<std::size_t> used = Main().App().History().UsedEntries();
    ASSERT_EQ(used.size(), 2u);
    Main().Providers().applyHistoryEntry(Main(), used[0]);
    EXPECT_FALSE(search.AdvancedShown());
    EXPECT_EQ(Child<QComboBox>(search, "ComboSelectField").currentText(), "Title");
    // The stored "Exact matc" is the condition it begins.
    EXPECT_EQ(Child<QComboBox>(search, "ComboCondition").currentText(), "Exact match");
    EXPECT_EQ(Child<QLineEdit>(search, "EditSearchFor").text(), "HELP");
    EXPECT_EQ(h.settings.ReadInteger("LASTSEARCHFIELD"), kTitle);
    EXPECT_EQ(search.windowTitle(), "Advanced search - found 0 rows");  // it did not run

    Main().Providers().applyHistoryEntry(Main(), used[1]);
    EXPECT_TRUE(search.AdvancedShown());
    EXPECT_EQ(Cell(search, 0, 0), "Year");
    EXPECT_EQ(Cell(search, 0, 1), "=");
    EXPECT_EQ(Cell(search, 0, 2), "1999");
}

TEST_F(SearchWindowTest, ListedRowsAreReadAgainByIdWhenRowsChange) {
    Start();
    const std::int64_t kept = AddRow({{"dTitle", "'Old'"}});
    const std::int64_t gone = AddRow({{"dTitle", "'Gone'"}});
    AddRow({{"dTitle", "'Never listed'"}});
    gui::TFSearch& search = Search();
    search.Simple().ChooseField(kTitle, false);
    search.Simple().ChooseCondition(0, false);
    Child<QLineEdit>(search, "EditSearchFor").setText("o");
    search.SearchButton1Click();
    ASSERT_EQ(search.List().Rows().rowCount(), 2);

    Db().Execute("update maindata set dTitle='New' where id=" + std::to_string(kept));
    Db().Execute("delete from maindata where id=" + std::to_string(gone));
    std::vector<std::string> statements;
    Db().SetStatementObserver([&statements](const std::string& sql) { statements.push_back(sql); });
    Main().App().Catalog().Events().Notify(catalog::CatalogChange::RowsChanged);
    QCoreApplication::processEvents();
    Db().SetStatementObserver({});
    EXPECT_EQ(ColumnTexts(search.List(), codes::Title), std::vector<std::string>{"New"});
    ASSERT_FALSE(statements.empty());
    EXPECT_EQ(statements.front(),
              catalog::StandardSelectWhere("id in (" + std::to_string(kept) + "," +
                                           std::to_string(gone) + ") order by id"));
}

class AddModesTest : public SearchWindowTest {
protected:
    // Two songs in a folder of the stick, one of them catalogued already.
    std::string PrepareFolder() {
        folder = MountStickFolder() + "/Rock";
        std::filesystem::create_directories(folder);
        MakeSong(folder + "/one.mp3", "Rock Artist", "One");
        MakeSong(folder + "/two.mp3", "Rock Artist", "Two");
        WriteBytes(folder + "/broken.mp3", "not audio");
        AddRow({{"dPath", "'/Rock/one.mp3'"}, {"dTitle", "'Catalogued'"}});
        return folder;
    }

    gui::TFSearch& AddWindow() { return Open<gui::TFSearch>(gui::ChildKind::AddFiles); }

    std::string folder;
};

TEST_F(AddModesTest, AFolderAddListsTheAddedRowsWithCountersAndAnErrorLine) {
    Start();
    PrepareFolder();
    ModalAnswerer search{
        QStringLiteral("Button1"), [this](QWidget& dialog) {
            dialog.findChild<QRadioButton*>("RBFolder")->setChecked(true);
            dialog.findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(folder));
        }};
    Main().Actions().addFiles->trigger();
    ASSERT_TRUE(search.Answered());
    gui::TFSearch& added = AddWindow();
    EXPECT_EQ(added.windowTitle(), "Files added");
    EXPECT_EQ(Child<QLabel>(added, "LHeader").text(), "Add to archive");
    EXPECT_FALSE(added.findChild<QWidget*>("PSimple") != nullptr);
    EXPECT_TRUE(Child<QWidget>(added, "PDiskInfo").isVisible());
    EXPECT_EQ(Child<QLabel>(added, "LFilesFound").text(), "3");
    EXPECT_EQ(Child<QLabel>(added, "LFilesAdded").text(), "1");
    EXPECT_EQ(Child<QLabel>(added, "LFilesInArchive").text(), "1");
    EXPECT_EQ(Child<QLabel>(added, "LInvalidFiles").text(), "1");
    EXPECT_EQ(Child<QLabel>(added, "LSerialNo").text(), kStickSerial);
    EXPECT_EQ(ColumnTexts(added.List(), codes::Title), std::vector<std::string>{"Two"});
    EXPECT_EQ(added.Messages().Lines(),
              QStringList{QString::fromStdString("Invalid File " + folder + "/broken.mp3")});
    EXPECT_EQ(added.parentWidget()->height(), 400);
    EXPECT_EQ(h.settings.ReadString("SEARCH_PATH"), folder);

    // Files dropped on it join the list.
    const std::string three = MakeSong(folder + "/three.mp3", "Rock Artist", "Three");
    emit added.List().filesDropped({three});
    EXPECT_EQ(ColumnTexts(added.List(), codes::Title), (std::vector<std::string>{"Two", "Three"}));
}

TEST_F(AddModesTest, AFolderThatCannotBeFoundClosesItsWindow) {
    Start();
    gui::AddFilesChoice choice;
    choice.mode = 1;
    choice.folder = h.dir / "nowhere";
    choice.masks = {"*.MP3"};
    auto* window = new gui::TFSearch(Main(), gui::AddMode::Folder);
    QMdiSubWindow* frame = Main().Children().Add(window, gui::ChildKind::AddFiles);
    window->AddFolder(choice);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(h.user.Texts("info"),
              std::vector<std::string>{"Folder not found \"" + choice.folder + "\""});
}

TEST_F(AddModesTest, EveryDriveIsScannedWithTheLastChosenFormatsAndDropsOpenAWindowOfTheirOwn) {
    h.settings.Write({{"ADD_FILES_FORMATS_MP3", std::int64_t{1}}});
    Start();
    PrepareFolder();
    Main().Providers().addFromAllDrives(Main());
    gui::TFSearch& all = AddWindow();
    EXPECT_EQ(all.windowTitle(), "Files added");
    EXPECT_FALSE(Child<QWidget>(all, "PDiskInfo").isVisible());
    EXPECT_TRUE(Child<QWidget>(all, "PAddFiles").isVisible());
    EXPECT_EQ(ColumnTexts(all.List(), codes::Title), std::vector<std::string>{"Two"});

    const std::string four = MakeSong(folder + "/four.mp3", "Rock Artist", "Four");
    Main().Providers().addDroppedFiles(Main(), {four, folder + "/two.mp3"});
    gui::TFSearch& dropped = AddWindow();
    EXPECT_NE(&dropped, &all);
    EXPECT_EQ(dropped.windowTitle(), "Files addded");
    EXPECT_FALSE(Child<QWidget>(dropped, "PAddFiles").isVisible());
    EXPECT_EQ(ColumnTexts(dropped.List(), codes::Title), std::vector<std::string>{"Four"});
    EXPECT_EQ(dropped.Messages().Lines(),
              QStringList{QString::fromStdString("File already exists in database \"" + folder +
                                                 "/two.mp3\"")});
}

}  // namespace
}  // namespace sonarchive::testing
