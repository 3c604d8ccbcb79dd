// The add dialog and the progress window of an add.
#include "gui/cataloguing/add_files_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "catalog_store/path_rules.h"
#include "gui/cataloguing/add_files_progress.h"
#include "gui_support.h"

namespace sonarchive::testing {
namespace {

template <typename T>
T* Child(QWidget& dialog, const char* name) {
    T* child = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

bool Ticked(QWidget& dialog, const char* name) {
    return Child<QAbstractButton>(dialog, name)->isChecked();
}

bool Enabled(QWidget& dialog, const char* name) {
    return Child<QWidget>(dialog, name)->isEnabled();
}

class AddFilesDialogTest : public ::testing::Test {
protected:
    AddFilesDialogTest() : settings(dir / "settings.json"), registry(settings, user) {}

    TempDir dir;
    platform::SettingsFile settings;
    ScriptedInteraction user;
    catalog::Registry registry;
    FakeMountTable mounts;
    catalog::PosixPathRules rules{mounts};
};

TEST_F(AddFilesDialogTest, AFreshUserSearchesAllDrivesForEveryFormatAndEnableRulesFollowTheBoxes) {
    gui::TFSelDir2 dialog(registry, rules, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Search for and add MP3 files to the archive");
    EXPECT_EQ(dialog.Masks(),
              (std::vector<std::string>{"*.MP3", "*.OGG", "*.MAC", "*.APE", "*.WAV"}));
    EXPECT_TRUE(Ticked(dialog, "RBAll"));
    EXPECT_TRUE(Ticked(dialog, "CheckBox1"));
    for (const char* name :
         {"Edit1", "Button3", "CheckBox1", "CBMP3", "CBOgg", "CBMonkey", "CBWave"}) {
        EXPECT_FALSE(Enabled(dialog, name)) << name;
    }
    Child<QRadioButton>(dialog, "RBFolder")->setChecked(true);
    Child<QCheckBox>(dialog, "CBAll")->setChecked(false);
    for (const char* name :
         {"Edit1", "Button3", "CheckBox1", "CBMP3", "CBOgg", "CBMonkey", "CBWave"}) {
        EXPECT_TRUE(Enabled(dialog, name)) << name;
    }
    EXPECT_TRUE(dialog.Masks().empty());  // nothing ticked: a scan finds nothing
    Child<QCheckBox>(dialog, "CBMonkey")->setChecked(true);
    Child<QCheckBox>(dialog, "CBWave")->setChecked(true);
    EXPECT_EQ(dialog.Masks(), (std::vector<std::string>{"*.MAC", "*.APE", "*.WAV"}));

    ModalAnswerer cancel{QStringLiteral("Button2")};
    EXPECT_EQ(dialog.Choose().mode, 0);
    EXPECT_FALSE(settings.Contains("SEARCH_PATH"));
}

TEST_F(AddFilesDialogTest, StoredChoicesAreReadOnceAndWrittenBackWhenAsked) {
    settings.Write({{"ADDFILES_SEARCHTYPE", std::int64_t{1}},
                    {"ADDFILES_INCLUDE_SUB", std::int64_t{0}},
                    {"ADD_FILES_FORMATS_MP3", std::int64_t{1}},
                    {"ADD_FILES_FORMATS_OGG", std::int64_t{0}},
                    {"SEARCH_PATH", std::string("/music/rock")}});
    gui::TFSelDir2 dialog(registry, rules, nullptr);
    EXPECT_EQ(dialog.Masks(), std::vector<std::string>{"*.MP3"});
    EXPECT_TRUE(Ticked(dialog, "RBFolder"));
    EXPECT_FALSE(Ticked(dialog, "CheckBox1"));
    EXPECT_FALSE(Ticked(dialog, "CBAll"));

    // Later changes of the stored values do not reach a dialog that has read them.
    settings.Write({{"ADD_FILES_FORMATS_ALL", std::int64_t{1}}});
    QString shownFolder;
    ModalAnswerer search{QStringLiteral("Button1"), [&shownFolder](QWidget& shown) {
                             shownFolder = shown.findChild<QLineEdit*>("Edit1")->text();
                             shown.findChild<QCheckBox*>("CheckBox1")->setChecked(true);
                         }};
    const gui::AddFilesChoice choice = dialog.Choose();
    EXPECT_EQ(shownFolder, "/music/rock");
    EXPECT_EQ(choice.mode, 2);
    EXPECT_FALSE(choice.allDrives);
    EXPECT_EQ(choice.folder, "/music/rock");
    EXPECT_EQ(choice.masks, std::vector<std::string>{"*.MP3"});

    dialog.SaveChoices();
    EXPECT_EQ(settings.ReadInteger("ADDFILES_SEARCHTYPE"), 1);
    EXPECT_EQ(settings.ReadInteger("ADDFILES_INCLUDE_SUB"), 1);
    EXPECT_EQ(settings.ReadInteger("ADD_FILES_FORMATS_ALL"), 0);
    EXPECT_EQ(settings.ReadInteger("ADD_FILES_FORMATS_MP3"), 1);
    EXPECT_EQ(settings.ReadInteger("ADD_FILES_FORMATS_MONKEY"), 0);
    EXPECT_EQ(settings.ReadInteger("ADD_FILES_FORMATS_WAVE"), 0);
}

TEST_F(AddFilesDialogTest, SavingADialogThatNeverReadItsChoicesWritesNothing) {
    gui::TFSelDir2 dialog(registry, rules, nullptr);
    dialog.SaveChoices();
    EXPECT_FALSE(settings.Contains("ADDFILES_SEARCHTYPE"));
    EXPECT_FALSE(settings.Contains("ADD_FILES_FORMATS_ALL"));
}

TEST_F(AddFilesDialogTest, AFolderSearchWithoutFolderAsksForOneAndAPickedNameKeepsItsBytes) {
    gui::TFSelDir2 dialog(registry, rules, nullptr);
    bool stayedOpen = false;
    // "/music/caf\xE9": a Latin-1 name, kept as U+EFE9.
    const std::string picked = "/music/caf\xEE\xBF\xA9";
    ModalAnswerer answer{QStringLiteral("Button1"), [&](QWidget& shown) {
                             shown.findChild<QRadioButton*>("RBFolder")->setChecked(true);
                             shown.findChild<QLineEdit*>("Edit1")->clear();
                             shown.findChild<QPushButton*>("Button1")->click();
                             stayedOpen = shown.isVisible();
                             dialog.TakePickedFolder(picked);
                             EXPECT_EQ(shown.findChild<QLineEdit*>("Edit1")->text(),
                                       QString::fromUtf8("/music/caf\xC3\xA9"));
                         }};
    const gui::AddFilesChoice choice = dialog.Choose();
    EXPECT_EQ(user.Texts("info"),
              std::vector<std::string>{
                  "You have to choose a folder first. Press the \"Browse\" button."});
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(choice.folder, picked);
    EXPECT_EQ(settings.ReadString("SEARCH_PATH"), picked);
    EXPECT_EQ(choice.networkHost, "");
}

TEST(AddFilesProgress, CancelAsksAndOnlyYesStopsTheAdd) {
    ScriptedInteraction user;
    gui::TFAddFiles window(user);
    window.show();
    EXPECT_EQ(window.windowTitle(), "Adding files to the archive");
    gui::AddInteraction add(user, window);
    auto* cancel = window.findChild<QPushButton*>("Button1");
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "&Cancel");

    user.AnswerNo();
    cancel->click();
    EXPECT_EQ(window.State(), gui::TFAddFiles::kRunning);
    EXPECT_FALSE(add.CancelRequested());
    EXPECT_TRUE(window.isVisible());

    user.AnswerYes();
    cancel->click();
    EXPECT_EQ(window.State(), gui::TFAddFiles::kCancelled);
    EXPECT_TRUE(add.CancelRequested());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(
        user.Texts("question"),
        std::vector<std::string>(2, "Do you wish to cancel the operation and stop adding files?"));

    add.SetTaskText("Looking for files");
    window.ShowCounters({5, 3, 1, 1});
    window.ShowVolume({"Removable", 2, "1A2B3C4D", "STICK", "/media/STICK"});
    EXPECT_EQ(window.findChild<QLabel*>("LTask")->text(), "Looking for files");
    EXPECT_EQ(window.findChild<QLabel*>("LFilesAdded")->text(), "3");
    EXPECT_EQ(window.findChild<QLabel*>("LInvalidFiles")->text(), "1");
    EXPECT_EQ(window.findChild<QLabel*>("LDriveLetter")->text(), "/media/STICK");
    EXPECT_EQ(window.findChild<QLabel*>("LSerialNo")->text(), "1A2B3C4D");
}

}  // namespace
}  // namespace sonarchive::testing
