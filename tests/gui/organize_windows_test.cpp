#include "gui/organize/organize_windows.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "catalog_store/catalog.h"
#include "gui/lists/messages_panel.h"
#include "gui/organize/duplicate_dialogs.h"
#include "gui/organize/edit_file_format.h"
#include "gui/organize/organizer_messages.h"
#include "gui/organize/organizer_window.h"
#include "gui/organize/predefined_formats.h"
#include "gui/organize/rename_window.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"

namespace sonarchive::testing {
namespace {

namespace fs = std::filesystem;
constexpr const char* kSerial = "ABCD1234";

template <typename T>
T& Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return *child;
}

void Click(QWidget& window, const char* name) {
    Child<QAbstractButton>(window, name).click();
}

QStringList Column(QTreeWidget& list, int column) {
    QStringList texts;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        texts << list.topLevelItem(i)->text(column);
    }
    return texts;
}

class OrganizeWindowsTest : public ::testing::Test {
protected:
    OrganizeWindowsTest() {
        fs::create_directories(h.dir / "vol/in");
        fs::create_directories(h.dir / "vol/out");
        h.mounts->Add(h.dir / "vol", kSerial, "Removable", "STICK");
    }

    gui::TFMain& Start() {
        gui::WindowProviders providers;
        gui::AddOrganizeWindows(providers);
        gui::Program& program = h.Make(std::move(providers));
        program.Start();
        return program.Main();
    }

    // A file below the volume with its row.
    std::int64_t AddSong(const std::string& relative, const std::string& artist,
                         const std::string& title, const std::string& content = "audio") {
        WriteBytes(h.dir / ("vol/" + relative), content);
        catalog::Database& db = h.Get().App().Catalog().Engine();
        db.Execute(
            "insert into maindata (dDriveSerialNumber, dDriveType, dPath, dArtist, dTitle, "
            "dTrack, dYear) values ('" +
            std::string(kSerial) + "', 2, '/" + relative + "', '" + artist + "', '" + title +
            "', 4, 2001)");
        return db.LastInsertId();
    }

    std::string StoredPath(std::int64_t id) {
        catalog::Query q(h.Get().App().Catalog().Engine(),
                         "select dPath from maindata where id = " + std::to_string(id));
        return q.AtEnd() ? std::string() : q[0].AsText();
    }

    ProgramHarness h;
};

TEST_F(OrganizeWindowsTest, TheFormatEditorExplainsAndNeverKeepsASemicolon) {
    gui::TFMain& main = Start();
    gui::TFEditFileFormat editor(h.user, &main);
    auto& edit = Child<QLineEdit>(editor, "Edit1");
    EXPECT_EQ(edit.maxLength(), 200);
    EXPECT_EQ(editor.windowTitle(), "Edit File Format");
    ModalAnswerer typeAndAccept(QStringLiteral("BOk"), [](QWidget& dialog) {
        EXPECT_FALSE(Child<QAbstractButton>(dialog, "BOk").isEnabled());
        QTest::keyClicks(&Child<QLineEdit>(dialog, "Edit1"), "%0;-%1");
        EXPECT_EQ(Child<QLineEdit>(dialog, "Edit1").text(), "%0-%1");
        EXPECT_EQ(Child<QLabel>(dialog, "LFormatExplained").text(), "Artist-Title");
    });
    EXPECT_EQ(editor.Edit(QString()), std::optional<QString>("%0-%1"));
    EXPECT_EQ(h.user.Texts("info"),
              std::vector<std::string>{"; (semi-colon) cannot be used in a format."});
    ModalAnswerer cancel(QStringLiteral("BCancel"));
    EXPECT_EQ(editor.Edit("%1"), std::nullopt);
}

TEST_F(OrganizeWindowsTest, ThePredefinedListKeepsItsChangesHoweverItCloses) {
    h.settings.Write({{"RENAME_FORMAT_PREDEFINED", std::string("%0 - %1;%1;")}});
    gui::TFMain& main = Start();
    gui::TfPredefined dialog(main.App().Registry(), h.user, nullptr, &main);
    ModalAnswerer choose(QStringLiteral("BCancel"), [this](QWidget& window) {
        auto& list = Child<QTreeWidget>(window, "ListView1");
        EXPECT_EQ(Column(list, 0), (QStringList{"%0 - %1", "%1"}));
        EXPECT_EQ(Column(list, 1), (QStringList{"Artist - Title", "Title"}));
        // Adding goes through the format editor.
        ModalAnswerer editor(QStringLiteral("BOk"), [](QWidget& edit) {
            QTest::keyClicks(&Child<QLineEdit>(edit, "Edit1"), "%7");
        });
        Click(window, "BAdd");
        EXPECT_EQ(Column(list, 0), (QStringList{"%0 - %1", "%1", "%7"}));
        list.setCurrentItem(list.topLevelItem(0));
        h.user.AnswerYes();
        Click(window, "BDelete");
        EXPECT_EQ(Column(list, 0), (QStringList{"%1", "%7"}));
    });
    EXPECT_EQ(dialog.Choose(), "");
    EXPECT_EQ(h.user.Texts("question"), std::vector<std::string>{"Delete 1 predefined format(s)?"});
    EXPECT_EQ(h.settings.ReadString("RENAME_FORMAT_PREDEFINED"), "%1;%7;");

    ModalAnswerer pick(QStringLiteral("BOk"), [](QWidget& window) {
        auto& list = Child<QTreeWidget>(window, "ListView1");
        list.setCurrentItem(list.topLevelItem(1));
    });
    EXPECT_EQ(dialog.Choose(), "%7");
}

TEST_F(OrganizeWindowsTest, RenameShowsTheNewNamesAndRenamesOnConfirmation) {
    gui::TFMain& main = Start();
    const auto blue = AddSong("in/track01.mp3", "Ann", "Blue Sky");
    const auto gone = AddSong("in/track02.mp3", "Bo", "Sea");
    ASSERT_TRUE(main.Providers().renameFiles);
    ModalAnswerer run(QStringLiteral("BClose"), [this, gone](QWidget& window) {
        EXPECT_EQ(window.windowTitle(), "Rename files");
        auto& format = Child<QLineEdit>(window, "EFormat");
        EXPECT_EQ(format.text(), "%1 - %2");  // nothing stored yet
        format.setText("%0 - %1");
        EXPECT_EQ(Child<QLabel>(window, "LFormatExplained").text(), "Artist - Title");
        auto& list = Child<QTreeWidget>(window, "ListView1");
        EXPECT_EQ(Column(list, 1), (QStringList{"Ann - Blue Sky.mp3", "Bo - Sea.mp3"}));
        // Removing a row from the list leaves its file alone.
        list.setCurrentItem(list.topLevelItem(1));
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Delete);
        EXPECT_EQ(Column(list, 0), QStringList{"track01.mp3"});
        h.user.AnswerConfirm({true, false});
        Click(window, "BRename");
        EXPECT_EQ(Column(list, 0), QStringList{"Ann - Blue Sky.mp3"});
        EXPECT_FALSE(Child<gui::MessagesPanel>(window, "PErrorMessages").isVisible());
        (void)gone;
    });
    EXPECT_TRUE(main.Providers().renameFiles(main, {blue, gone}));
    EXPECT_EQ(StoredPath(blue), "/in/Ann - Blue Sky.mp3");
    EXPECT_TRUE(fs::exists(h.dir / "vol/in/track02.mp3"));
    EXPECT_EQ(h.user.Texts("confirm"), std::vector<std::string>{"Rename 1 files? [help 19]"});
    EXPECT_EQ(h.settings.ReadString("RENAME_FORMAT"), "%0 - %1");
}

TEST_F(OrganizeWindowsTest, RenameFailuresGoToTheMessagesPanel) {
    gui::TFMain& main = Start();
    const auto id = AddSong("in/a.mp3", "Ann", "AC/DC");
    main.App().General().ConfirmRenameFiles = false;
    ModalAnswerer run(QStringLiteral("BClose"), [](QWidget& window) {
        Child<QLineEdit>(window, "EFormat").setText("%1");
        Click(window, "BRename");
        EXPECT_FALSE(Child<gui::MessagesPanel>(window, "PErrorMessages").isHidden());
        EXPECT_EQ(Child<gui::MessagesPanel>(window, "PErrorMessages").Lines().size(), 1);
    });
    EXPECT_TRUE(main.Providers().renameFiles(main, {id}));
    ModalAnswerer again(QStringLiteral("BClose"), [](QWidget& window) {
        EXPECT_TRUE(Child<gui::MessagesPanel>(window, "PErrorMessages").isHidden());
    });
    EXPECT_FALSE(main.Providers().renameFiles(main, {id}));
}

TEST_F(OrganizeWindowsTest, TheOrganizerKeepsEveryChoiceAndMovesOnConfirmation) {
    h.settings.Write({{"DISK_ORG_BASE_DIR", h.dir / "vol/out"},
                      {"DISK_ORG_FOLDER_NAME", std::int64_t{5}},
                      {"DISK_ORG_FILE_NAMES", std::int64_t{9}}});
    gui::TFMain& main = Start();
    const auto id = AddSong("in/a.mp3", "Ann", "Blue");
    ASSERT_TRUE(main.Providers().fileOrganizer);
    ModalAnswerer run(QStringLiteral("BClose"), [this](QWidget& window) {
        EXPECT_EQ(window.windowTitle(), "File Organizer");
        EXPECT_EQ(Child<QLineEdit>(window, "Edit1").text(),
                  QString::fromStdString(h.dir / "vol/out"));
        EXPECT_TRUE(Child<QRadioButton>(window, "RBYear").isChecked());
        EXPECT_TRUE(Child<QRadioButton>(window, "RBNoChanges").isChecked());  // 9 is kept out
        auto& removeEmpty = Child<QCheckBox>(window, "CBRemoveEmptyFolders");
        EXPECT_FALSE(removeEmpty.isEnabled());
        Click(window, "RBMove");
        EXPECT_TRUE(removeEmpty.isEnabled());
        EXPECT_EQ(h.settings.ReadInteger("DISK_ORG_ACTION"), 1);
        Click(window, "RBAllFiles");
        EXPECT_EQ(h.settings.ReadInteger("DISK_ORG_RANGE"), 1);
        h.user.AnswerConfirm({true, false});
        Click(window, "BOrganize");
    });
    EXPECT_TRUE(main.Providers().fileOrganizer(main, nullptr));
    EXPECT_EQ(StoredPath(id), "/out/2001/a.mp3");
    EXPECT_EQ(h.user.Texts("confirm"),
              std::vector<std::string>{"Start organizing Update 1 files? [help 4]"});
}

TEST_F(OrganizeWindowsTest, ThePreviewListsTheTargetsAndOrganizesFromThere) {
    h.settings.Write({{"DISK_ORG_BASE_DIR", h.dir / "vol/out"},
                      {"DISK_ORG_RANGE", std::int64_t{1}},
                      {"DISK_ORG_FOLDER_NAME", std::int64_t{0}},
                      {"CONFIRM_ORGANIZE_FILES", std::int64_t{0}}});
    gui::TFMain& main = Start();
    main.App().ReloadGeneralSettings();
    AddSong("in/a.mp3", "Ann", "Blue");
    AddSong("in/b.mp3", "", "Nameless");
    ModalAnswerer run(QStringLiteral("BClose"), [this](QWidget& window) {
        ModalAnswerer preview(
            QStringLiteral("BOrganize"), "File Organizer - Preview", [this](QWidget& dialog) {
                EXPECT_EQ(Column(Child<QTreeWidget>(dialog, "ListView1"), 0),
                          QStringList{QString::fromStdString(h.dir / "vol/out/Ann/a.mp3")});
                EXPECT_EQ(Child<QLabel>(dialog, "LSentence").text(),
                          "Files will be copied from old path to new path");
                EXPECT_EQ(Child<gui::OrganizerMessagePanel>(dialog, "PMessages").Lines(),
                          QStringList{QString::fromStdString(
                              "Couldn't create folder " + (h.dir / "vol/out/") + " Description")});
                EXPECT_FALSE(fs::exists(h.dir / "vol/out/Ann"));
            });
        Click(window, "BPreview");
        EXPECT_TRUE(preview.Answered());
        EXPECT_EQ(Child<gui::OrganizerMessagePanel>(window, "PMessages").Lines().size(), 1);
    });
    EXPECT_TRUE(main.Providers().fileOrganizer(main, nullptr));
    EXPECT_TRUE(fs::exists(h.dir / "vol/out/Ann/a.mp3"));
    EXPECT_TRUE(fs::exists(h.dir / "vol/in/a.mp3"));
}

TEST_F(OrganizeWindowsTest, TheOrganizerTellsWhatIsMissingBeforeDoingAnything) {
    gui::TFMain& main = Start();
    ModalAnswerer run(QStringLiteral("BClose"), [](QWidget& window) {
        Click(window, "BOrganize");
        Click(window, "BPreview");
    });
    EXPECT_FALSE(main.Providers().fileOrganizer(main, nullptr));
    EXPECT_EQ(h.user.Texts("info"),
              std::vector<std::string>(2, "Please select a valid parent folder."));
}

TEST_F(OrganizeWindowsTest, TheExplanationsWindow) {
    gui::TfRichViewMessages window;
    EXPECT_EQ(window.windowTitle(), "File Organizer - error messages");
    const QString text = Child<QWidget>(window, "RichView1").property("plainText").toString();
    EXPECT_TRUE(text.contains("not accessable from the new location")) << text.toStdString();
}

TEST_F(OrganizeWindowsTest, TheDuplicateDialogsRememberWhatWasChosen) {
    h.settings.Write({{"LAST_DUPLACTE_SEARCH_METHOD", std::int64_t{3}}});
    gui::TFMain& main = Start();
    gui::TFSelectDuplicateMethod method(main.App().Registry(), h.user, &main);
    ModalAnswerer choose(QStringLiteral("BSearch"), [](QWidget& dialog) {
        auto& combo = Child<QComboBox>(dialog, "ComboBox1");
        EXPECT_EQ(combo.currentText(), "Tag - Artist/Title");
        EXPECT_EQ(combo.count(), 6);
        combo.setCurrentIndex(1);
    });
    EXPECT_EQ(method.Choose(), organize::DuplicateMethod::Filename);
    EXPECT_EQ(h.settings.ReadInteger("LAST_DUPLACTE_SEARCH_METHOD"), 1);

    gui::TFDuplicateSelectCustomFields fields(&main);
    ModalAnswerer tick(QStringLiteral("BOk"), [](QWidget& dialog) {
        EXPECT_FALSE(Child<QCheckBox>(dialog, "CBArtist").isChecked());
        Child<QCheckBox>(dialog, "CBArtist").setChecked(true);
        Child<QCheckBox>(dialog, "CBFileSize").setChecked(true);
    });
    const auto chosen = fields.Choose();
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(chosen->artist && chosen->size && !chosen->title);
    ModalAnswerer cancel(QStringLiteral("BCancel"), [](QWidget& dialog) {
        EXPECT_TRUE(Child<QCheckBox>(dialog, "CBArtist").isChecked());  // kept from last time
    });
    EXPECT_EQ(fields.Choose(), std::nullopt);
}

}  // namespace
}  // namespace sonarchive::testing
