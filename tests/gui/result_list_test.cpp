// The result list as every list window has it, shown here in the plain search window:
// columns, colours and drive letters, sorting, finding, visible fields, the popup and its
// hand-overs, deleting and dragging.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "gui/lists/encoding_panels.h"
#include "gui/lists/messages_panel.h"
#include "gui/lists/search_window.h"
#include "gui/shell/file_drops.h"
#include "gui/shell/mini_player.h"
#include "list_windows_fixture.h"

namespace sonarchive::testing {
namespace {

namespace codes = lists::codes;

class ResultListTest : public ListWindowsTest {
protected:
    // A search window listing every row, in id order.
    gui::TFSearch& ListAll() {
        gui::TFSearch& search = Open<gui::TFSearch>(gui::ChildKind::Search);
        search.List().Fill(catalog::StandardSelectAll());
        return search;
    }
};

TEST_F(ResultListTest, ColumnsFollowTheLayoutAndTheStoredFieldsWithCaptionsAndWidths) {
    h.settings.Write({{"FIELD_ARTIST", std::int64_t{1}}, {"FIELD_TITLE", std::int64_t{0}}});
    Start();
    gui::TResultList& list = Open<gui::TFSearch>(gui::ChildKind::Search).List();
    ASSERT_EQ(list.Columns().size(), 22u);
    EXPECT_EQ(list.model()->headerData(0, Qt::Horizontal).toString(), "Artist");
    EXPECT_EQ(list.model()->headerData(21, Qt::Horizontal).toString(), "Year");
    EXPECT_FALSE(list.isColumnHidden(0));
    EXPECT_TRUE(list.isColumnHidden(1));  // FIELD_TITLE 0
    // The values after the first missing one are not read: their built-in state holds.
    EXPECT_FALSE(list.isColumnHidden(lists::SectionIndexOf(list.Columns(), codes::Album)));
    EXPECT_TRUE(list.isColumnHidden(lists::SectionIndexOf(list.Columns(), codes::Track)));
    EXPECT_EQ(list.header()->sectionSize(lists::SectionIndexOf(list.Columns(), codes::SampleRate)),
              90);
    EXPECT_TRUE(list.header()->sectionsMovable());
}

TEST_F(ResultListTest, RowsAreGreenOrRedByTheirVolumeAndChangeWhenAVolumeComesOrGoes) {
    Start();
    AddRow({{"dArtist", "'Here'"}});
    AddRow({{"dArtist", "'Away'"}, {"dDriveSerialNumber", Q(kGoneSerial)}});
    AddRow({{"dArtist", "'Net'"},
            {"dDriveSerialNumber", "'//nas'"},
            {"dPath", "'//nas/music/n.mp3'"},
            {"dDriveType", "4"}});
    gui::TResultList& list = ListAll().List();
    const auto colours = [&list] {
        std::vector<QColor> seen;
        for (const QModelIndex& row : list.Rows().RowsInListOrder()) {
            seen.push_back(row.data(Qt::BackgroundRole).value<QBrush>().color());
        }
        return seen;
    };
    const QColor green(232, 255, 232);
    const QColor red(255, 215, 215);
    EXPECT_EQ(colours(), (std::vector<QColor>{green, red, red}));
    EXPECT_EQ(ColumnTexts(list, codes::DriveLetter),
              (std::vector<std::string>{"/media/STICK", "?", "-"}));

    // The stick goes, the other volume comes under a new mount point, the share is mounted
    // and its host answered.
    h.mounts->drives.clear();
    h.mounts->Add("/media/ann/BACKUP", kGoneSerial, "Removable", "BACKUP");
    h.mounts->AddNetwork("/mnt/nas", "//nas/music");
    Main().Drives().Hosts().RegisterHost("NAS");
    Main().Drives().BuildLocalDriveList();
    EXPECT_EQ(colours(), (std::vector<QColor>{red, green, green}));
    EXPECT_EQ(ColumnTexts(list, codes::DriveLetter),
              (std::vector<std::string>{"?", "/media/ann/BACKUP", "-"}));
}

TEST_F(ResultListTest, AHeaderClickSortsByTheColumnsKindAndASecondClickReverses) {
    Start();
    AddRow({{"dTitle", "'b'"}, {"dFileSize", "10"}, {"dDateAdded", "'2004-02-01'"}});
    AddRow({{"dTitle", "'C'"}, {"dFileSize", "9"}, {"dDateAdded", "'2003-12-31'"}});
    AddRow({{"dTitle", "'a'"}, {"dFileSize", "100"}, {"dDateAdded", "'2004-01-15'"}});
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    gui::TResultList& list = ListAll().List();
    const int size = lists::SectionIndexOf(list.Columns(), codes::Size);
    list.SortByColumn(size);
    EXPECT_EQ(ColumnTexts(list, codes::Size), (std::vector<std::string>{"9", "10", "100"}));
    list.SortByColumn(size);
    EXPECT_EQ(ColumnTexts(list, codes::Size), (std::vector<std::string>{"100", "10", "9"}));
    list.SortByColumn(lists::SectionIndexOf(list.Columns(), codes::Title));
    EXPECT_EQ(ColumnTexts(list, codes::Title), (std::vector<std::string>{"a", "b", "C"}));
    // Dates by day, not by their text (31.12.2003 is the earliest).
    list.SortByColumn(lists::SectionIndexOf(list.Columns(), codes::DateAdded));
    EXPECT_EQ(ColumnTexts(list, codes::DateAdded),
              (std::vector<std::string>{"31.12.2003", "15.01.2004", "01.02.2004"}));
    QLocale::setDefault(QLocale::c());
}

TEST_F(ResultListTest, FindLooksInVisibleColumnsFromTheRowAfterTheLastHitWithoutWrapping) {
    Start();
    AddRow({{"dArtist", "'One'"}, {"dComment", "'no'"}});
    AddRow({{"dArtist", "'Two'"}, {"dComment", "'BEAT it'"}});
    AddRow({{"dArtist", "'Three'"}, {"dComment", "'offbeat'"}});
    gui::TResultList& list = ListAll().List();
    const auto focused = [&list] { return list.FocusedRow().data().toString().toStdString(); };

    list.FindNext();  // before any hit: nothing
    EXPECT_FALSE(list.FocusedRow().isValid());
    ModalAnswerer find{QStringLiteral("BFind"), [](QWidget& dialog) {
                           EXPECT_EQ(dialog.windowTitle(), "Find text");
                           dialog.findChild<QLineEdit*>("Edit1")->setText("beat");
                       }};
    list.FindText();
    EXPECT_EQ(focused(), "Two");
    list.FindNext();
    EXPECT_EQ(focused(), "Three");
    list.FindNext();  // no row follows: stays
    EXPECT_EQ(focused(), "Three");
    EXPECT_EQ(list.selectionModel()->selectedRows().size(), 1);

    // Hidden columns are not searched.
    list.SetColumnVisible(lists::SectionIndexOf(list.Columns(), codes::Comment), false);
    list.FindFrom("beat", -1);
    EXPECT_EQ(focused(), "Three");
}

TEST_F(ResultListTest, VisibleFieldsDialogAndViewColumnsMenuChangeTheListAndUseAsDefaultStores) {
    Start();
    AddRow({});
    gui::TResultList& list = ListAll().List();
    const int track = lists::SectionIndexOf(list.Columns(), codes::Track);
    const int comment = lists::SectionIndexOf(list.Columns(), codes::Comment);

    int boxes = 0;
    ModalAnswerer close{
        QStringLiteral("BClose"), [&](QWidget& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Set visible fields");
            const auto all = dialog.findChildren<QCheckBox*>();
            boxes = static_cast<int>(all.size());
            auto* trackBox = dialog.findChild<QCheckBox*>(QStringLiteral("CBField%1").arg(track));
            EXPECT_EQ(trackBox->text(), "Track");
            EXPECT_FALSE(trackBox->isChecked());
            trackBox->setChecked(true);
        }};
    list.ShowVisibleFieldsDialog();
    EXPECT_EQ(boxes, 22);  // 21 columns and "Use as default"; Year is not listed
    EXPECT_FALSE(list.isColumnHidden(track));
    EXPECT_FALSE(h.settings.Contains("FIELD_TRACK"));

    QMenu menu;
    list.BuildViewColumnsMenu(menu);
    ASSERT_EQ(menu.actions().size(), 23);  // "Set...", the separator, 21 columns
    EXPECT_EQ(menu.actions()[0]->text(), "Set...");
    QAction* commentItem = menu.actions()[2 + comment];
    EXPECT_EQ(commentItem->text(), "Comment");
    commentItem->trigger();
    EXPECT_TRUE(list.isColumnHidden(comment));

    ModalAnswerer store{QStringLiteral("BClose"), [](QWidget& dialog) {
                            dialog.findChild<QCheckBox*>("CBUseAsDefault")->setChecked(true);
                        }};
    list.ShowVisibleFieldsDialog();
    EXPECT_EQ(h.settings.ReadInteger("FIELD_TRACK"), 1);
    EXPECT_EQ(h.settings.ReadInteger("FIELD_COMMENT"), 0);
    EXPECT_EQ(h.settings.ReadInteger("FIELD_YEAR"), 1);
}

TEST_F(ResultListTest, PopupItemsFollowTheSelectionAndTheProvidedTools) {
    std::vector<std::string> played;
    gui::WindowProviders providers;
    providers.playFiles = [&played](gui::TFMain&, const std::vector<std::string>& paths, bool) {
        played = paths;
    };
    providers.editRowTags = [](gui::TFMain&, std::int64_t, const std::string&) {
        return std::optional<gui::EditedTags>();
    };
    Start(std::move(providers));
    Db().Execute("insert into SubColl (dName) values ('Car')");
    Main().RefreshCollections();
    AddRow({{"dPath", "'/a.mp3'"}});
    AddRow({{"dPath", "'/b.wav'"}, {"dFormat", "5"}});
    gui::TFSearch& search = ListAll();
    gui::TResultList& list = search.List();

    QMenu none;
    search.BuildPopup(none);
    const auto items = MenuItems(none);
    EXPECT_EQ(std::vector<std::string>(items.begin(), items.begin() + 10),
              (std::vector<std::string>{
                  "-&Play (Ctrl-o)", "-Enqueue (Ctrl-q)", "-&Tag properties... (F11)",
                  "-Modify tags (selected items)...", "-Rename files (selected items)...",
                  "-Add to Collection >", "  -New collection...", "  Car", "-&Delete (Del)",
                  "-Delete file(s) from disk (Shift-Del)"}));

    Select(list, {0});
    QMenu one;
    search.BuildPopup(one);
    const auto selected = MenuItems(one);
    EXPECT_EQ(selected[0], "&Play (Ctrl-o)");
    EXPECT_EQ(selected[2], "&Tag properties... (F11)");
    EXPECT_EQ(selected[3], "-Modify tags (selected items)...");  // no mass update here
    EXPECT_EQ(selected[8], "&Delete (Del)");
    EXPECT_NE(std::find(selected.begin(), selected.end(), "&View columns >"), selected.end());
    EXPECT_NE(std::find(selected.begin(), selected.end(), "  -&Selected items"), selected.end());

    Select(list, {1});  // a WAV file has no tag to edit
    EXPECT_FALSE(search.CanEditTags());
    Select(list, {0, 1});
    search.PlaySelection(false);
    EXPECT_EQ(played, (std::vector<std::string>{"/media/STICK/a.mp3", "/media/STICK/b.wav"}));
}

TEST_F(ResultListTest, TheTagEditorsWriteBackChangesTheRowsTextsOfItsTagType) {
    gui::WindowProviders providers;
    std::string editedPath;
    providers.editRowTags = [&editedPath](gui::TFMain&, std::int64_t, const std::string& path) {
        editedPath = path;
        gui::EditedTags edited;
        edited.tagType = 2;  // ID3v1: no composer
        edited.values.Title = "New title";
        edited.values.Composer = "Nobody";
        edited.values.Year = "1999b";
        edited.values.Track = 7;
        return std::optional(edited);
    };
    Start(std::move(providers));
    AddRow({{"dComposer", "'Kept'"}, {"dTrack", "1"}});
    gui::TFSearch& search = ListAll();
    gui::TResultList& list = search.List();
    Select(list, {0});
    QTest::keyClick(&list, Qt::Key_F11);
    EXPECT_EQ(editedPath, "/media/STICK/a.mp3");
    EXPECT_EQ(ColumnTexts(list, codes::Title), std::vector<std::string>{"New title"});
    EXPECT_EQ(ColumnTexts(list, codes::Composer), std::vector<std::string>{"Kept"});
    EXPECT_EQ(ColumnTexts(list, codes::Year), std::vector<std::string>{"0"});
    EXPECT_EQ(ColumnTexts(list, codes::Track), std::vector<std::string>{"7"});
}

TEST_F(ResultListTest, DeleteKeysAskAndAFileThatCannotGoStaysWithALine) {
    Start();
    const std::string folder = MountStickFolder();
    WriteBytes(folder + "/a.mp3", "x");
    AddRow({{"dArtist", "'A'"}, {"dPath", "'/a.mp3'"}});
    AddRow({{"dArtist", "'B'"}, {"dPath", "'/missing.mp3'"}});
    AddRow({{"dArtist", "'C'"}});
    gui::TFSearch& search = ListAll();
    gui::TResultList& list = search.List();

    Select(list, {0, 1});
    h.user.AnswerNo();
    QTest::keyClick(&list, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(h.user.Texts("question"),
              std::vector<std::string>{"Delete files from disk and archive?"});
    EXPECT_EQ(Count(), 3);

    h.user.AnswerYes();
    h.user.AnswerConfirm({true, false});
    QTest::keyClick(&list, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_FALSE(std::filesystem::exists(folder + "/a.mp3"));
    EXPECT_EQ(ColumnTexts(list, codes::Artist), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(search.Messages().Lines(),
              QStringList{QStringLiteral("Couldn't delete file \"%1/missing.mp3\"")
                              .arg(QString::fromStdString(folder))});
    EXPECT_TRUE(search.Messages().isVisible());

    Select(list, {1});
    h.user.AnswerConfirm({true, false});
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(ColumnTexts(list, codes::Artist), std::vector<std::string>{"B"});
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(h.user.Texts("confirm").back(),
              "Remove 1 file references from the archive? [help 18]");
}

TEST_F(ResultListTest, DragsCarryOnlyReachableFilesAndTheListRefusesItsOwnDrops) {
    Start();
    AddRow({{"dPath", "'/caf\xEE\xBF\xA9.mp3'"}});
    AddRow({{"dDriveSerialNumber", Q(kGoneSerial)}, {"dPath", "'/gone.mp3'"}});
    gui::TFSearch& search = ListAll();
    gui::TResultList& list = search.List();
    EXPECT_EQ(list.DragData(), nullptr);  // nothing selected
    Select(list, {1});
    EXPECT_EQ(list.DragData(), nullptr);  // its volume is not mounted
    Select(list, {0, 1});
    const std::unique_ptr<QMimeData> data = list.DragData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(QStringLiteral("text/uri-list")), "file:///media/STICK/caf%E9.mp3\r\n");

    std::vector<std::vector<std::string>> dropped;
    QObject::connect(
        &list, &gui::TResultList::filesDropped,
        [&dropped](const std::vector<std::string>& paths) { dropped.push_back(paths); });
    const auto drop = [&list, &data] {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &enter);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &event);
    };
    Main().SetDragSource(&list);
    drop();
    EXPECT_TRUE(dropped.empty());
    Main().SetDragSource(nullptr);
    drop();
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0], std::vector<std::string>{"/media/STICK/caf\xEE\xBF\xA9.mp3"});
}

TEST_F(ResultListTest, TheEncodingPanelFollowsTheRowAndItsToggleIsStored) {
    Start();
    AddRow({{"dFormat", "2"}, {"dMPEGBitrate", "256"}});
    AddRow({{"dFormat", "11"}, {"dPath", "'/b.ogg'"}});
    gui::TFSearch& search = ListAll();
    search.show();
    Select(search.List(), {0});
    EXPECT_EQ(search.Encoding().VisiblePanel(), "PMPEGInfo");
    Select(search.List(), {1});
    search.List().setCurrentIndex(RowAt(search.List(), 1));
    EXPECT_EQ(search.Encoding().VisiblePanel(), "POggEncodingInfo");
    search.EncodingToggle().click();
    EXPECT_EQ(h.settings.ReadInteger("HIDE_TECHPANEL"), 1);
    EXPECT_FALSE(search.Encoding().isVisible());

    gui::TFSearch* second = new gui::TFSearch(Main(), gui::AddMode::Search);
    EXPECT_FALSE(second->EncodingToggle().isChecked());
    delete second;
}

TEST_F(ResultListTest, PreviewPlaysTheSelectedFileWhileTheToggleIsDown) {
    Start();
    AddRow({{"dPath", "'/a.mp3'"}});
    AddRow({{"dDriveSerialNumber", Q(kGoneSerial)}, {"dPath", "'/gone.mp3'"}});
    gui::TFSearch& search = ListAll();
    Main().Actions().previewSongs->setChecked(true);
    h.backend->calls.clear();
    search.List().setCurrentIndex(RowAt(search.List(), 0));
    EXPECT_NE(
        std::find(h.backend->calls.begin(), h.backend->calls.end(), "open /media/STICK/a.mp3"),
        h.backend->calls.end());
    h.backend->calls.clear();
    search.List().setCurrentIndex(RowAt(search.List(), 1));
    EXPECT_TRUE(h.backend->calls.empty());  // nothing to play
    Main().Actions().previewSongs->setChecked(false);
}

}  // namespace
}  // namespace sonarchive::testing
