#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>

#include "gui/shell/app_context.h"
#include "gui/shell/help_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/preference_pages.h"
#include "gui/shell/preferences_dialog.h"
#include "gui_support.h"

namespace sonarchive::testing {
namespace {

class PreferencesTest : public ::testing::Test {
protected:
    gui::TFPreferences& Open() {
        gui::TFPreferences& dialog = *h.Make().Windows().preferences;
        dialog.Prepare();
        return dialog;
    }
    template <typename T>
    T& Control(gui::TFPreferences& dialog, const char* name) {
        T* control = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }
    bool Ticked(gui::TFPreferences& dialog, const char* name) {
        return Control<QCheckBox>(dialog, name).isChecked();
    }
    void PressOk(gui::TFPreferences& dialog) { Control<QPushButton>(dialog, "BOk").click(); }
    std::int64_t Stored(const std::string& name) {
        return h.settings.ReadInteger(name).value_or(-99);
    }

    ProgramHarness h;
};

TEST_F(PreferencesTest, AFreshUserSeesTheDefaults) {
    gui::TFPreferences& dialog = Open();
    for (const char* box :
         {"CBConfirmDeleteFromArchive", "CBConfirmDeleteFromHarddisk",
          "CBConfirmDeleteFromCollections", "CBModifyTags", "CBRenameFiles", "CBConfirmOrganize",
          "CBUseCombos", "CBRefreshPicklists", "CBReplaceIllegalCharacters"}) {
        EXPECT_TRUE(Ticked(dialog, box)) << box;
    }
    EXPECT_FALSE(Ticked(dialog, "CBOpenBrowseStartup"));
    EXPECT_FALSE(Control<QCheckBox>(dialog, "CBUseCombos").isVisibleTo(&dialog));
    EXPECT_FALSE(Control<QCheckBox>(dialog, "CBConfirmDeleteFromHarddisk").isVisibleTo(&dialog));
    // The tag lists show the order the program uses while nothing is stored.
    EXPECT_EQ(Control<QComboBox>(dialog, "ComboMP3").currentText(), "ID3 V2 (recommended)");
    EXPECT_EQ(Control<QComboBox>(dialog, "ComboOgg").currentText(), "OGG TAG (recommended)");
    EXPECT_EQ(Control<QComboBox>(dialog, "ComboMonkey").currentText(), "APE 1.0");
    EXPECT_TRUE(Control<QRadioButton>(dialog, "RBReplaceIllegalCharacters").isChecked());
    EXPECT_EQ(Control<QComboBox>(dialog, "ComboReplaceWithCharacter").currentText(), " ");
}

TEST_F(PreferencesTest, OkAtOnceStoresEveryValue) {
    gui::TFPreferences& dialog = Open();
    PressOk(dialog);
    for (const char* name :
         {"CONFIRM_DELETE", "CONFIRM_DELETE_FROM_HARDDISK", "CONFIRM_DELETE_IF_IN_COLLECTIONS",
          "CONFIRM_MASS_UPDATE", "CONFIRM_RENAME_FILES", "CONFIRM_ORGANIZE_FILES",
          "SEARCH_REFRESH_PICKLISTS", "DISKORG_REPLACE_DELETE_ILLEGAL_CHARACTERS"}) {
        EXPECT_EQ(Stored(name), 1) << name;
    }
    for (const char* name :
         {"SEARCH_DONT_USE_COMBOS", "BROWSE_WINDOW_STARTUP", "MP3_PRIMARY_TAG", "OGG_USE_ID3",
          "MAC_PRIMARY_TAG", "DISKORG_DELETE_ILLEGAL_CHARACTERS"}) {
        EXPECT_EQ(Stored(name), 0) << name;
    }
    EXPECT_EQ(h.settings.ReadString("DISKORG_REPLACE_WITH_CHARACTER").value_or("?"), " ");
    EXPECT_TRUE(h.user.Texts("error").empty());
}

TEST_F(PreferencesTest, StoredValuesAreShownAndOutOfRangeTagsShowNone) {
    h.settings.Write({{"MP3_PRIMARY_TAG", std::int64_t{1}},
                      {"OGG_USE_ID3", std::int64_t{5}},
                      {"MAC_PRIMARY_TAG", std::int64_t{2}},
                      {"CONFIRM_RENAME_FILES", std::int64_t{0}},
                      {"BROWSE_WINDOW_STARTUP", std::int64_t{1}},
                      {"DISKORG_DELETE_ILLEGAL_CHARACTERS", std::int64_t{1}},
                      {"DISKORG_REPLACE_WITH_CHARACTER", std::string("_")}});
    gui::TFPreferences& dialog = Open();
    EXPECT_EQ(Control<QComboBox>(dialog, "ComboMP3").currentText(), "ID3 V1");
    EXPECT_EQ(Control<QComboBox>(dialog, "ComboOgg").currentIndex(), -1);
    EXPECT_EQ(Control<QComboBox>(dialog, "ComboMonkey").currentText(), "ID3 V2");
    EXPECT_FALSE(Ticked(dialog, "CBRenameFiles"));
    EXPECT_TRUE(Ticked(dialog, "CBOpenBrowseStartup"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, "RBDeleteIllegalCharacters").isChecked());
    EXPECT_EQ(Control<QComboBox>(dialog, "ComboReplaceWithCharacter").currentText(), "_");

    PressOk(dialog);
    EXPECT_EQ(Stored("OGG_USE_ID3"), -1);
    EXPECT_EQ(Stored("MP3_PRIMARY_TAG"), 1);
    EXPECT_EQ(Stored("CONFIRM_RENAME_FILES"), 0);
    EXPECT_EQ(Stored("DISKORG_DELETE_ILLEGAL_CHARACTERS"), 1);
}

TEST_F(PreferencesTest, AnIllegalOrEmptyReplacementCharacterIsNotStored) {
    h.settings.Write({{"DISKORG_REPLACE_WITH_CHARACTER", std::string("_")}});
    for (const char* typed : {"?", "", "\\", "|"}) {
        gui::TFPreferences& dialog = Open();
        Control<QComboBox>(dialog, "ComboReplaceWithCharacter").setEditText(typed);
        PressOk(dialog);
        EXPECT_EQ(h.settings.ReadString("DISKORG_REPLACE_WITH_CHARACTER").value_or(""), "_")
            << "typed '" << typed << "'";
        h.Destroy();
    }
    EXPECT_TRUE(h.user.log.empty());
}

TEST_F(PreferencesTest, ControlsFollowTheirEnableRules) {
    h.settings.Write({{"SEARCH_DONT_USE_COMBOS", std::int64_t{1}},
                      {"SEARCH_REFRESH_PICKLISTS", std::int64_t{0}}});
    gui::TFPreferences& dialog = Open();
    auto& refresh = Control<QCheckBox>(dialog, "CBRefreshPicklists");
    EXPECT_FALSE(refresh.isEnabled());
    EXPECT_FALSE(refresh.isChecked());

    auto& legalize = Control<QCheckBox>(dialog, "CBReplaceIllegalCharacters");
    auto& replace = Control<QRadioButton>(dialog, "RBReplaceIllegalCharacters");
    auto& remove = Control<QRadioButton>(dialog, "RBDeleteIllegalCharacters");
    auto& character = Control<QComboBox>(dialog, "ComboReplaceWithCharacter");
    EXPECT_TRUE(replace.isEnabled());
    EXPECT_TRUE(character.isEnabled());
    remove.click();
    EXPECT_FALSE(character.isEnabled());
    legalize.click();
    EXPECT_FALSE(replace.isEnabled());
    EXPECT_FALSE(remove.isEnabled());
    replace.setChecked(true);
    dialog.Pages().ApplyEnableRules();
    EXPECT_FALSE(character.isEnabled());

    PressOk(dialog);
    EXPECT_EQ(Stored("SEARCH_DONT_USE_COMBOS"), 1);
    EXPECT_EQ(Stored("SEARCH_REFRESH_PICKLISTS"), 0);
    EXPECT_EQ(Stored("DISKORG_REPLACE_DELETE_ILLEGAL_CHARACTERS"), 0);
}

TEST_F(PreferencesTest, TheTreeChoosesThePage) {
    gui::TFPreferences& dialog = Open();
    auto& tree = Control<QTreeWidget>(dialog, "TreeView1");
    std::vector<std::string> nodes;
    for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
        nodes.push_back((*it)->text(0).toStdString());
    }
    EXPECT_EQ(nodes,
              (std::vector<std::string>{"General", "Confirmations", "Formats", "MP3", "Ogg Vorbis",
                                        "Monkey's Audio", "File Organizer", "Player"}));
    auto& area = Control<QStackedWidget>(dialog, "PPageArea");
    EXPECT_NE(area.currentWidget()->findChild<QCheckBox*>("CBRefreshPicklists"), nullptr);
    dialog.SelectNode("Ogg Vorbis");
    EXPECT_NE(area.currentWidget()->findChild<QComboBox*>("ComboOgg"), nullptr);
    dialog.SelectNode("Formats");
    EXPECT_TRUE(area.currentWidget()->children().isEmpty());
    tree.clearSelection();
    EXPECT_EQ(tree.currentItem()->text(0), "General");
}

TEST_F(PreferencesTest, EveryValueThatCannotBeWrittenIsReported) {
    WriteBytes(h.dir / "blocked", "a file where the settings folder should be");
    platform::SettingsFile blocked(h.dir / "blocked/settings.json");
    catalog::Registry registry(blocked, h.user);
    gui::HelpWindow help;
    gui::TFPreferences dialog(registry, help);
    dialog.Prepare();
    dialog.findChild<QPushButton*>("BOk")->click();
    const auto errors = h.user.Texts("error");
    ASSERT_EQ(errors.size(), 17u);
    EXPECT_EQ(errors.front(), "Couldn't write to registry (CONFIRM_DELETE).");
    EXPECT_EQ(errors[14], "Couldn't write to registry (DISKORG_REPLACE_WITH_CHARACTER).");
    EXPECT_EQ(errors.back(), "Couldn't write to registry (PLAYER_ENQUEUE_COMMAND).");
}

TEST_F(PreferencesTest, OkMakesTheMainWindowReadItsSettingsAgain) {
    h.settings.Write({{"CONFIRM_DELETE", std::int64_t{0}}});
    gui::TFMain& main = h.Make().Main();
    EXPECT_FALSE(main.App().General().ConfirmDelete);
    ModalAnswerer ok{
        QStringLiteral("BOk"), [](QWidget& dialog) {
            dialog.findChild<QCheckBox*>("CBConfirmDeleteFromArchive")->setChecked(true);
        }};
    main.Actions().preferences->trigger();
    EXPECT_TRUE(ok.Answered());
    EXPECT_EQ(ok.SeenTitle(), "Preferences");
    EXPECT_TRUE(main.App().General().ConfirmDelete);
}

TEST_F(PreferencesTest, ThePlayerPageKeepsBothCommands) {
    h.settings.Write({{"PLAYER_COMMAND", std::string("mpv %f")}});
    gui::TFPreferences& dialog = Open();
    dialog.SelectNode("Player");
    auto& area = Control<QStackedWidget>(dialog, "PPageArea");
    auto* play = area.currentWidget()->findChild<QLineEdit*>("EPlayerCommand");
    auto* enqueue = area.currentWidget()->findChild<QLineEdit*>("EEnqueueCommand");
    ASSERT_NE(play, nullptr);
    ASSERT_NE(enqueue, nullptr);
    EXPECT_EQ(play->text().toStdString(), "mpv %f");
    EXPECT_TRUE(enqueue->text().isEmpty());

    play->setText(QStringLiteral("  "));  // blanks alone leave the desktop's default player
    enqueue->setText(QStringLiteral("audacious -e %f"));
    PressOk(dialog);
    EXPECT_EQ(h.settings.ReadString("PLAYER_COMMAND").value_or("?"), "");
    EXPECT_EQ(h.settings.ReadString("PLAYER_ENQUEUE_COMMAND").value_or("?"), "audacious -e %f");
}

}  // namespace
}  // namespace sonarchive::testing
