#include "gui/tags/mass_update_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include "catalog_store/sql_text.h"
#include "format_bytes.h"
#include "formats/id3v2.h"
#include "gui/shell/app_context.h"
#include "gui/shell/help_window.h"
#include "gui/shell/main_window.h"
#include "gui/tags/mass_update_tree.h"
#include "gui/window_providers.h"
#include "gui_support.h"

namespace sonarchive::testing {
namespace {

constexpr const char* kSerial = "0A1B2C3D";

class MassUpdateWindowTest : public ::testing::Test {
protected:
    MassUpdateWindowTest() {
        mounts.Add("/", kSerial);
        app.General().ConfirmMassUpdate = false;
    }

    // A catalogued MP3 file with an ID3v2 tag, or a row whose volume is not mounted.
    std::int64_t AddRow(const std::string& name, int track, bool present = true) {
        const std::string path = present ? dir / name : "/away/" + name;
        if (present) {
            WriteBytes(path, formats::testing::Frames(formats::testing::HeaderBits{}, 417, 40));
            formats::TID3v2 tag;
            tag.SetTitle(name);
            EXPECT_TRUE(tag.Write(path));
        }
        app.Catalog().Engine().Execute(
            "insert into maindata (dFormat, dPath, dDriveSerialNumber, dTitle, dTrack, dAlbum) "
            "values (2, '" +
            catalog::SqlQuote(path) + "', '" + (present ? kSerial : "DEADBEEF") + "', '" +
            catalog::SqlQuote(name) + "', " + std::to_string(track) + ", 'Album')");
        return app.Catalog().Engine().LastInsertId();
    }

    std::unique_ptr<gui::TFMassUpdateTag> Window() {
        return std::make_unique<gui::TFMassUpdateTag>(app, rules, help);
    }

    template <typename Widget = QWidget>
    static Widget* Find(QWidget& window, const char* name) {
        auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static QStringList Column(QTreeWidget& tree, int column) {
        QStringList texts;
        for (int i = 0; i < tree.topLevelItemCount(); ++i) {
            texts << tree.topLevelItem(i)->text(column);
        }
        return texts;
    }

    TempDir dir;
    platform::SettingsFile settings{dir / "settings.json"};
    ScriptedInteraction user;
    gui::AppContext app{dir / "data", settings, user};
    gui::HelpWindow help;
    FakeMountTable mounts;
    catalog::PosixPathRules rules{mounts};
};

TEST_F(MassUpdateWindowTest, TheFieldDecidesTheColumnTheEditorAndTheStoredChoice) {
    const std::int64_t a = AddRow("a.mp3", 10);
    const std::int64_t b = AddRow("b.mp3", 9);
    const std::int64_t c = AddRow("c.mp3", 100, false);
    auto window = Window();
    EXPECT_EQ(window->windowTitle(), "Modify tags");
    window->Load({a, b, c});
    auto* field = Find<QComboBox>(*window, "ComboSelectField");
    auto* tree = Find<QTreeWidget>(*window, "ElTree1");
    ASSERT_EQ(field->count(), 13);
    EXPECT_EQ(field->itemText(0), "Select field to update");
    EXPECT_EQ(field->currentIndex(), 0);
    EXPECT_EQ(tree->headerItem()->text(0), "No field selected");
    EXPECT_EQ(tree->headerItem()->text(1), "File path");
    EXPECT_EQ(Column(*tree, 1),
              QStringList({QString::fromStdString(dir / "a.mp3"),
                           QString::fromStdString(dir / "b.mp3"), QStringLiteral("?/away/c.mp3")}));
    EXPECT_TRUE(Find<QRadioButton>(*window, "RBUpdateTagIfPossible")->isChecked());

    field->setCurrentIndex(11);  // Track
    EXPECT_EQ(tree->headerItem()->text(0), "Track");
    EXPECT_FALSE(Find(*window, "CurrencyEdit1")->isHidden());
    EXPECT_TRUE(Find(*window, "EditNewValue")->isHidden());
    EXPECT_EQ(Find<QSpinBox>(*window, "CurrencyEdit1")->maximum(), 32000);
    EXPECT_EQ(Column(*tree, 0), QStringList({"10", "9", "100"}));
    EXPECT_EQ(tree->topLevelItem(0)->textAlignment(0), Qt::AlignCenter);
    tree->sortItems(0, Qt::AscendingOrder);
    EXPECT_EQ(Column(*tree, 0), QStringList({"9", "10", "100"}));  // as numbers
    EXPECT_EQ(settings.ReadInteger("LAST_MASS_UPDATE_FIELD"), 11);

    field->setCurrentIndex(1);  // Album
    EXPECT_TRUE(Find(*window, "CurrencyEdit1")->isHidden());
    EXPECT_FALSE(Find(*window, "EditNewValue")->isHidden());
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Album");
    Find<QRadioButton>(*window, "RBSync")->click();
    EXPECT_EQ(settings.ReadInteger("MASS_UPDATE_SYNC"), 1);

    // A new window starts where the last one ended.
    auto next = Window();
    EXPECT_EQ(Find<QComboBox>(*next, "ComboSelectField")->currentIndex(), 1);
    EXPECT_TRUE(Find<QRadioButton>(*next, "RBSync")->isChecked());
    Find<QRadioButton>(*next, "RBUpdateTagIfPossible")->click();
    EXPECT_EQ(settings.ReadInteger("MASS_UPDATE_SYNC"), 0);
}

TEST_F(MassUpdateWindowTest, RowsLeaveTheListWithDelAndTheMenuAndValuesAreTakenFromRows) {
    const std::int64_t a = AddRow("a.mp3", 4);
    const std::int64_t b = AddRow("b.mp3", 5);
    const std::int64_t c = AddRow("c.mp3", 6);
    auto window = Window();
    window->Load({a, b, c});
    Find<QComboBox>(*window, "ComboSelectField")->setCurrentIndex(10);  // Title
    auto* tree = Find<QTreeWidget>(*window, "ElTree1");
    auto* menu = Find<QMenu>(*window, "PopupMenu1");
    const auto action = [menu](const char* name) {
        return menu->findChild<QAction*>(QString::fromLatin1(name));
    };
    tree->clearSelection();
    emit menu->aboutToShow();
    EXPECT_FALSE(action("RemoveFromUpdateList")->isEnabled());
    EXPECT_EQ(action("RemoveFromUpdateList")->text(), "Remove from update list (Del)");
    EXPECT_FALSE(action("Cut1")->isEnabled());
    EXPECT_FALSE(action("Paste1")->isEnabled());

    tree->topLevelItem(0)->setSelected(true);
    tree->topLevelItem(1)->setSelected(true);
    action("Copy1")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString::fromStdString("a.mp3\t" + dir / "a.mp3" + "\nb.mp3\t" + dir / "b.mp3"));
    tree->topLevelItem(1)->setSelected(false);
    QTest::keyClick(tree, Qt::Key_Delete);
    EXPECT_EQ(Column(*tree, 0), QStringList({"b.mp3", "c.mp3"}));
    tree->topLevelItem(0)->setSelected(true);
    emit menu->aboutToShow();
    ASSERT_TRUE(action("RemoveFromUpdateList")->isEnabled());
    action("RemoveFromUpdateList")->trigger();
    EXPECT_EQ(Column(*tree, 0), QStringList({"c.mp3"}));
    catalog::Query count(app.Catalog().Engine(), "select count(*) from maindata");
    EXPECT_EQ(count[0].AsInteger(), 3);

    emit tree->itemDoubleClicked(tree->topLevelItem(0), 0);
    EXPECT_EQ(Find<QLineEdit>(*window, "EditNewValue")->text(), "c.mp3");

    // A row dragged onto the number editor gives its value when it is a whole number. (The
    // application delivers drops only while a real drag runs: the window's handler of the
    // editors' events is given them directly.)
    Find<QComboBox>(*window, "ComboSelectField")->setCurrentIndex(11);  // Track
    auto* number = Find<QSpinBox>(*window, "CurrencyEdit1");
    QObject* target = number->findChild<QLineEdit*>();
    QObject* handler = window.get();
    const auto drop = [&](const QByteArray& value) {
        QMimeData dragged;
        dragged.setData(gui::MassUpdateTree::kValueFormat, value);
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &dragged, Qt::LeftButton,
                              Qt::NoModifier);
        EXPECT_TRUE(handler->eventFilter(target, &enter));
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(2, 2), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        EXPECT_TRUE(handler->eventFilter(target, &event));
    };
    tree->setCurrentItem(tree->topLevelItem(0));
    std::unique_ptr<QMimeData> dragged(tree->model()->mimeData({tree->model()->index(0, 0)}));
    ASSERT_TRUE(dragged);
    EXPECT_EQ(dragged->data(gui::MassUpdateTree::kValueFormat), "6");  // c.mp3's track
    drop("6");
    EXPECT_EQ(number->value(), 6);
    drop("six");
    EXPECT_EQ(number->value(), 6);
    QMimeData text;
    text.setText("7");
    QDropEvent other(QPointF(2, 2), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    EXPECT_FALSE(handler->eventFilter(target, &other));  // not a row of the list
}

TEST_F(MassUpdateWindowTest, ModifyShowsFailuresInTheMessagesPanelUntilTheNextShowing) {
    const std::int64_t here = AddRow("a.mp3", 1);
    const std::int64_t away = AddRow("b.mp3", 2, false);
    app.General().ConfirmMassUpdate = true;
    auto window = Window();
    window->Load({here, away});
    auto* messages = Find(*window, "PErrorMessages");
    EXPECT_TRUE(messages->isHidden());
    Find<QPushButton>(*window, "Button2")->click();  // no field yet
    EXPECT_EQ(user.log.back(), "info: Select a field to update.");

    Find<QComboBox>(*window, "ComboSelectField")->setCurrentIndex(10);  // Title
    Find<QRadioButton>(*window, "RBSync")->click();
    Find<QLineEdit>(*window, "EditNewValue")->setText("Same title");
    user.AnswerConfirm({true, false});
    Find<QPushButton>(*window, "Button2")->click();
    EXPECT_EQ(user.Texts("confirm").back(), "Update 2 files? [help 4]");
    EXPECT_FALSE(messages->isHidden());
    EXPECT_EQ(Find<QPlainTextEdit>(*window, "MemoErrorMesages")->toPlainText(),
              "Couldn't write to file: /away/b.mp3");
    EXPECT_TRUE(Find(*window, "ProgressBar1")->isHidden());
    auto* tree = Find<QTreeWidget>(*window, "ElTree1");
    EXPECT_EQ(Column(*tree, 0), QStringList({"Same title", "b.mp3"}));
    formats::TID3v2 tag;
    ASSERT_TRUE(tag.Read(dir / "a.mp3"));
    EXPECT_EQ(tag.Title(), "Same title");

    window->Load({here, away});
    EXPECT_TRUE(messages->isHidden());
    EXPECT_TRUE(Find<QPlainTextEdit>(*window, "MemoErrorMesages")->toPlainText().isEmpty());

    Find<QPushButton>(*window, "BitBtn1")->click();
    EXPECT_EQ(help.CurrentAnchor(), "mass-update");
}

TEST_F(MassUpdateWindowTest, AFieldChoiceThatCannotBeStoredIsReported) {
    WriteBytes(dir / "blocker", "");  // a file where the settings folder should be
    platform::SettingsFile unwritable(dir / "blocker/settings.json");
    gui::AppContext blocked(dir / "data", unwritable, user);
    gui::TFMassUpdateTag window(blocked, rules, help);
    Find<QComboBox>(window, "ComboSelectField")->setCurrentIndex(2);
    EXPECT_EQ(user.log.back(), "error: Couldn't write to registry (LAST_MASS_UPDATE_FIELD).");
    EXPECT_EQ(Find<QTreeWidget>(window, "ElTree1")->headerItem()->text(0), "Artist");
}

TEST(TagProviders, TheResultListsReachTheEditorAndMassUpdate) {
    ProgramHarness h;
    h.mounts->Add("/", kSerial);
    const std::string path = h.dir / "song.mp3";
    WriteBytes(path, formats::testing::Frames(formats::testing::HeaderBits{}, 417, 40));
    h.Prefill({"insert into maindata (dFormat, dPath, dDriveSerialNumber, dTitle) values (2, '" +
               catalog::SqlQuote(path) + "', '" + kSerial + "', 'Old')"});
    h.settings.Write({{"CONFIRM_MASS_UPDATE", std::int64_t{0}}});
    gui::Program& program = h.Make(gui::AllWindowProviders());
    program.Start();
    gui::TFMain& main = program.Main();
    const gui::WindowProviders& providers = main.Providers();
    ASSERT_TRUE(providers.editRowTags);
    ASSERT_TRUE(providers.massUpdate);

    ModalAnswerer update(QStringLiteral("BitBtn1"), [](QWidget& editor) {
        editor.findChild<QLineEdit*>(QStringLiteral("TitleEdit"))->setText("Edited");
        editor.findChild<QLineEdit*>(QStringLiteral("YearEdit"))->setText("2004");
    });
    const std::optional<gui::EditedTags> edited = providers.editRowTags(main, 1, path);
    ASSERT_TRUE(edited);
    EXPECT_EQ(update.SeenTitle(), "Tag properties");
    EXPECT_EQ(edited->tagType, 0);
    EXPECT_EQ(edited->values.Title, "Edited");
    catalog::Query row(main.App().Catalog().Engine(), "select dTitle, dYear from maindata");
    EXPECT_EQ(row[0].AsText(), "Edited");
    EXPECT_EQ(row[1].AsInteger(), 2004);

    ModalAnswerer cancel(QStringLiteral("BitBtn2"));
    EXPECT_FALSE(providers.editRowTags(main, 1, path));

    ModalAnswerer modify(QStringLiteral("Button1"), [](QWidget& window) {
        window.findChild<QComboBox*>(QStringLiteral("ComboSelectField"))->setCurrentIndex(1);
        window.findChild<QLineEdit*>(QStringLiteral("EditNewValue"))->setText("Mass album");
        window.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    });
    EXPECT_TRUE(providers.massUpdate(main, {1}));
    EXPECT_EQ(modify.SeenTitle(), "Modify tags");
    ModalAnswerer close(QStringLiteral("Button1"));
    EXPECT_FALSE(providers.massUpdate(main, {1}));  // the same window, nothing changed
    EXPECT_EQ(main.findChildren<gui::TFMassUpdateTag*>().size(), 1);
    formats::TID3v2 tag;
    ASSERT_TRUE(tag.Read(path));
    EXPECT_EQ(tag.Album(), "Mass album");
}

}  // namespace
}  // namespace sonarchive::testing
