#include "gui/shell/path_text.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "gui/shell/gui_interaction.h"
#include "gui_support.h"
#include "text/path_bytes.h"

namespace sonarchive::testing {
namespace {

const std::string kSystemName = "/music/Lieder \xC4lter/caf\xE9 #1.mp3";

TEST(PathText, UrlsCarryEveryByteOfANameAndWindowsShowItsLatin1Reading) {
    const std::string name = text::PathFromSystem(kSystemName);
    EXPECT_EQ(gui::DisplayPath(name), QString::fromUtf8("/music/Lieder Älter/café #1.mp3"));

    const QUrl url = gui::UrlOfPath(name);
    EXPECT_EQ(url.toEncoded(), QByteArray("file:///music/Lieder%20%C4lter/caf%E9%20%231.mp3"));
    EXPECT_EQ(gui::PathFromUrl(url), name);
    // A file manager's drop of the same file.
    EXPECT_EQ(
        gui::PathFromUrl(QUrl::fromEncoded("file:///music/Lieder%20%C4lter/caf%E9%20%231.mp3")),
        name);
    EXPECT_EQ(gui::PathFromUrl(QUrl::fromLocalFile(QString::fromUtf8("/music/Björk.ogg"))),
              "/music/Björk.ogg");
    EXPECT_EQ(gui::PathFromQtName(QString::fromUtf8("/music/Björk.ogg")), "/music/Björk.ogg");
}

TEST(PathText, MessagesShowNamesInTheirLatin1Reading) {
    QWidget owner;
    gui::GuiInteraction user;
    user.SetWindows(&owner, nullptr, nullptr);
    ModalAnswerer ok{QStringLiteral("OK")};
    user.ShowInformation("File already exists in database \"" + text::PathFromSystem(kSystemName) +
                         "\"");
    EXPECT_TRUE(ok.Answered());
    EXPECT_TRUE(ok.SeenText().contains(
        QString::fromUtf8("File already exists in database \"/music/Lieder Älter/café #1.mp3\"")))
        << ok.SeenText().toStdString();
}

}  // namespace
}  // namespace sonarchive::testing
