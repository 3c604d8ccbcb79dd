#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include "gui/catalog_store/message_window.h"
#include "gui/lists/confirm_dialog.h"
#include "gui/organize/replace_dialog.h"
#include "gui/shell/about_box.h"
#include "gui/shell/gui_interaction.h"
#include "gui/shell/help_window.h"
#include "gui/shell/main_menus.h"
#include "gui/shell/progress_window.h"
#include "gui/shell/tips_window.h"
#include "gui_support.h"

namespace sonarchive::testing {
namespace {

ConfirmAnswer AskAndPress(gui::TfConfirm& confirm, int topic, const char* button, bool tick) {
    ModalAnswerer answer{QString::fromLatin1(button), [tick](QWidget& dialog) {
                             auto* box = dialog.findChild<QCheckBox*>("CBDontShow");
                             EXPECT_FALSE(box->isChecked());  // unticked on every call
                             box->setChecked(tick);
                         }};
    return confirm.Ask("Rename 3 files?", topic);
}

TEST(ConfirmDialog, AnswersOkAndTheBoxAndOffersHelpForATopic) {
    gui::HelpWindow help;
    gui::TfConfirm confirm(help);
    EXPECT_EQ(confirm.windowTitle(), "Confirm");

    ConfirmAnswer answer = AskAndPress(confirm, 19, "BOk", true);
    EXPECT_TRUE(answer.ok);
    EXPECT_TRUE(answer.dontShowAgain);
    EXPECT_EQ(confirm.findChild<QLabel*>("LMessage")->text(), "Rename 3 files?");
    EXPECT_TRUE(confirm.findChild<QPushButton*>("BHelp")->isEnabled());

    answer = AskAndPress(confirm, -1, "BCancel", false);
    EXPECT_FALSE(answer.ok);
    EXPECT_FALSE(answer.dontShowAgain);
    EXPECT_FALSE(confirm.findChild<QPushButton*>("BHelp")->isEnabled());

    ModalAnswerer helpThenCancel{QStringLiteral("BCancel"), [](QWidget& dialog) {
                                     dialog.findChild<QPushButton*>("BHelp")->click();
                                 }};
    confirm.Ask("Delete?", 23);
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.CurrentAnchor(), "preferences");
}

TEST(Help, TopicsLeadToTheirPlaceInTheManual) {
    EXPECT_EQ(gui::HelpAnchor(23), "preferences");
    EXPECT_EQ(gui::HelpAnchor(20), "collections");
    EXPECT_EQ(gui::HelpAnchor(999), "contents");
    gui::HelpWindow help;
    help.ShowTopic(9);
    EXPECT_EQ(help.CurrentAnchor(), "playlists");
    EXPECT_TRUE(help.findChild<QWidget*>("HelpBrowser") != nullptr);
}

TEST(Help, EveryTopicTheWindowsOpenHasItsSectionInTheManual) {
    QFile file(QStringLiteral(":/help/manual.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString manual = QString::fromUtf8(file.readAll());
    for (const int topic : {4, 5, 6, 7, 9, 11, 18, 19, 20, 22, 23, 33}) {
        const QString anchor = gui::HelpAnchor(topic);
        EXPECT_NE(anchor, "contents") << topic;
        EXPECT_TRUE(manual.contains("name=\"" + anchor + "\"")) << topic;
    }
    // The delete questions share their topic with the tag editor's remove question.
    const qsizetype section = manual.indexOf("name=\"" + gui::HelpAnchor(18) + "\"");
    const QString text = manual.mid(section, manual.indexOf("<h2>", section) - section);
    EXPECT_TRUE(text.contains("Shift+Del")) << text.toStdString();
    EXPECT_TRUE(text.contains("Remove tag")) << text.toStdString();
}

TEST(GuiInteraction, ShowsNoticesAsksAndReportsProgressWithCancel) {
    QWidget owner;
    gui::HelpWindow help;
    gui::TFMessage message;
    gui::TfConfirm confirm(help);
    gui::GuiInteraction user;
    user.SetWindows(&owner, &message, &confirm);

    user.BeginNotice("Packing database");
    EXPECT_TRUE(message.isVisible());
    EXPECT_EQ(message.findChild<QLabel*>("Panel1")->text(), "Packing database");
    EXPECT_EQ(message.windowTitle(), "Sonarchive system message");
    user.EndNotice();
    EXPECT_FALSE(message.isVisible());

    {
        ModalAnswerer no{QStringLiteral("&No")};
        EXPECT_FALSE(user.AskYesNo("Empty database, Are you sure?"));
        EXPECT_TRUE(no.SeenText().contains("Empty database, Are you sure?"));
    }
    {
        ModalAnswerer yes{QStringLiteral("&Yes")};
        EXPECT_TRUE(user.AskYesNo("Continue?"));
    }
    {
        ModalAnswerer ok{QStringLiteral("BOk")};
        EXPECT_TRUE(user.Confirm("Delete?", 4).ok);
    }

    EXPECT_FALSE(user.CancelRequested());
    {
        gui::ProgressScope progress(user, "Adding files", &owner);
        user.SetProgressMaximum(10);
        user.SetProgressPosition(3);
        user.SetTaskText("Reading /music/a.mp3");
        EXPECT_EQ(progress.Window().findChild<QLabel*>("LTask")->text(), "Reading /music/a.mp3");
        EXPECT_FALSE(user.CancelRequested());
        progress.Window().findChild<QPushButton*>("BCancel")->click();
        EXPECT_TRUE(user.CancelRequested());
    }
    EXPECT_FALSE(user.CancelRequested());
}

TEST(ReplaceDialog, ShowsBothFilesAndAnswersWithTheButtonPressed) {
    ReplaceQuestion question{"song.mp3", "/music/song.mp3", 4567890, 45000.5, "/incoming/song.mp3",
                             999,        45001.25};
    const auto ask = [&question](const char* button) {
        ModalAnswerer answer{QString::fromLatin1(button)};
        gui::TfReplace dialog(question);
        const ReplaceAnswer result = dialog.Ask();
        EXPECT_EQ(answer.SeenTitle(), "Confirm file replace");
        EXPECT_TRUE(
            answer.SeenText().contains("This folder already contains a file named 'song.mp3'."));
        EXPECT_TRUE(answer.SeenText().contains("/music/song.mp3\n4567KB"));
        EXPECT_TRUE(answer.SeenText().contains("/incoming/song.mp3\n0KB"));
        return result;
    };
    EXPECT_EQ(ask("BYes"), ReplaceAnswer::Yes);
    EXPECT_EQ(ask("BYesToAll"), ReplaceAnswer::YesToAll);
    EXPECT_EQ(ask("BNoToAll"), ReplaceAnswer::NoToAll);
    EXPECT_EQ(ask("BCancel"), ReplaceAnswer::Cancel);
    EXPECT_EQ(gui::DateTimeFromDays(45001.25), QDateTime(QDate(2023, 3, 16), QTime(6, 0)));
}

TEST(Tips, GotItIsRememberedOnlyWhereTheTipHasASetting) {
    ProgramHarness h;
    catalog::Registry registry(h.settings, h.user);
    gui::HelpWindow help;
    gui::TFTips tips(registry, help);
    const auto showTicked = [&tips](gui::TipKind kind) {
        ModalAnswerer close{QStringLiteral("BClose"), [](QWidget& dialog) {
                                dialog.findChild<QCheckBox*>("CBGotIt")->setChecked(true);
                            }};
        const bool shown =
            tips.ShowUnlessHidden({kind, "Collections", "Drag files here.", true, 20});
        EXPECT_TRUE(close.Answered() == shown);
        return shown;
    };
    EXPECT_TRUE(showTicked(gui::TipKind::Collections));
    EXPECT_EQ(h.settings.ReadInteger("HINT_HIDE_COLLECTIONS").value_or(0), 1);
    EXPECT_FALSE(showTicked(gui::TipKind::Collections));
    EXPECT_TRUE(showTicked(gui::TipKind::Browse));
    EXPECT_TRUE(showTicked(gui::TipKind::Browse));
    EXPECT_FALSE(h.settings.ReadInteger("HINT_HIDE_COLLECTION").has_value());
    EXPECT_EQ(std::string(gui::HintHideValue(gui::TipKind::Playlist)), "HINT_HIDE_PLAYLIST");
    EXPECT_EQ(gui::HintHideValue(gui::TipKind::Search), nullptr);
}

TEST(AboutBox, ShowsTheNameAndTheFourPartVersion) {
    gui::AboutBox about;
    EXPECT_EQ(about.windowTitle(), "About Sonarchive");
    EXPECT_EQ(about.findChild<QLabel*>("ProductName")->text(), "Sonarchive");
    EXPECT_TRUE(about.findChild<QLabel*>("License")->text().contains(
        "GNU General Public License, version 3 or any later version"));
    EXPECT_TRUE(
        gui::VersionText().contains(QRegularExpression("^Version \\d+\\.\\d+\\.\\d+\\.\\d+$")));
}

TEST(Hints, TheStatusBarShowsThePartAfterTheBar) {
    QAction action("x");
    gui::SetHint(action, "Search|Search the MP3 archive");
    EXPECT_EQ(action.toolTip(), "Search");
    EXPECT_EQ(action.statusTip(), "Search the MP3 archive");
    gui::SetHint(action, "Manage collections");
    EXPECT_EQ(action.statusTip(), "Manage collections");
}

}  // namespace
}  // namespace sonarchive::testing
