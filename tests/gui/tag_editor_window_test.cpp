#include "gui/tags/tag_editor_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <filesystem>

#include "format_bytes.h"
#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "gui/shell/app_context.h"
#include "gui/shell/help_window.h"
#include "gui_support.h"
#include "id3v2_bytes.h"
#include "ogg_test_files.h"

namespace sonarchive::testing {
namespace {

std::string MpegAudio() {
    return formats::testing::Frames(formats::testing::HeaderBits{}, 417, 40);
}

class TagEditorWindowTest : public ::testing::Test {
protected:
    // An MP3 file with an ID3v1 tag, and an ID3v2 tag when `v2Title` is given.
    std::string Mp3(const std::string& name, const std::string& v2Title = "") {
        const std::string path = dir / name;
        WriteBytes(path, MpegAudio());
        formats::TID3v1 v1;
        v1.SetTitle("v1 title");
        v1.SetGenreIndex(17);
        EXPECT_TRUE(v1.Write(path));
        if (!v2Title.empty()) {
            formats::TID3v2 v2;
            v2.SetTitle(v2Title);
            v2.SetTrack(300);
            EXPECT_TRUE(v2.Write(path));
        }
        return path;
    }

    template <typename Widget = QWidget>
    Widget* Find(const char* name) {
        auto* widget = editor.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QAction* Action(const char* name) { return Find<QAction>(name); }

    bool ReadOnly(const char* name) {
        auto* edit = Find<QLineEdit>(name);
        const bool greyed = edit->palette().color(QPalette::Base) ==
                            QApplication::palette(edit).color(QPalette::Button);
        EXPECT_EQ(greyed, edit->isReadOnly()) << name;
        return edit->isReadOnly();
    }

    TempDir dir;
    platform::SettingsFile settings{dir / "settings.json"};
    ScriptedInteraction user;
    gui::AppContext app{dir / "data", settings, user};
    gui::HelpWindow help;
    gui::TFEditMP3Properties editor{app, help};
};

TEST_F(TagEditorWindowTest, FieldsTheEditedTagCannotTakeAreReadOnly) {
    EXPECT_EQ(editor.windowTitle(), "Tag properties");
    const std::string ogg = dir / "a.ogg";
    WriteBytes(ogg, MakeOggVorbis({}));
    ASSERT_TRUE(editor.Prepare(ogg));
    EXPECT_EQ(Find<QLineEdit>("ETagType")->text(), "Ogg tag");
    EXPECT_EQ(Find<QLineEdit>("EFilename")->text(), QString::fromStdString(ogg));
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text(), "Song");
    for (const char* name :
         {"YearEdit", "ComposerEdit", "CopyrightEdit", "EncoderEdit", "LanguageEdit", "LinkEdit"}) {
        EXPECT_TRUE(ReadOnly(name)) << name;
    }
    EXPECT_FALSE(ReadOnly("TitleEdit"));
    EXPECT_TRUE(Find<QComboBox>("CBGenre")->isEditable());
    EXPECT_EQ(Find<QSpinBox>("CETrack")->maximum(), 65535);

    // ID3v1 takes its genre from the list only, has no copyright, and tracks up to 255.
    app.General().Mp3PrimaryTag = 1;
    ASSERT_TRUE(editor.Prepare(Mp3("v1.mp3")));
    EXPECT_EQ(Find<QLineEdit>("ETagType")->text(), "Id3v1");
    EXPECT_FALSE(Find<QComboBox>("CBGenre")->isEditable());
    EXPECT_EQ(Find<QComboBox>("CBGenre")->count(), 148);
    EXPECT_EQ(Find<QComboBox>("CBGenre")->currentText(), "Rock");
    EXPECT_FALSE(ReadOnly("YearEdit"));
    EXPECT_TRUE(ReadOnly("CopyrightEdit"));
    EXPECT_EQ(Find<QSpinBox>("CETrack")->maximum(), 255);

    app.General().MacPrimaryTag = 0;
    const std::string ape = dir / "a.ape";
    WriteBytes(ape, std::string(300, '\x11'));
    ASSERT_TRUE(editor.Prepare(ape));
    EXPECT_EQ(Find<QLineEdit>("ETagType")->text(), "Ape 1.0");
    EXPECT_FALSE(ReadOnly("CopyrightEdit"));
    EXPECT_TRUE(ReadOnly("LinkEdit"));
    app.General().MacPrimaryTag = 5;
    ASSERT_TRUE(editor.Prepare(ape));
    EXPECT_EQ(Find<QLineEdit>("ETagType")->text(), "N/A");
}

TEST_F(TagEditorWindowTest, ImportAndRemoveItemsFollowTheFormatAndTheTagsThere) {
    ASSERT_TRUE(editor.Prepare(Mp3("v1.mp3")));
    EXPECT_TRUE(Action("IMportfromid3v11")->isVisible());
    EXPECT_TRUE(Action("IMportfromid3v11")->isEnabled());
    EXPECT_FALSE(Action("IMportfromid3v21")->isVisible());  // ID3v2 is the edited tag
    EXPECT_FALSE(Action("ImportfromOggtag1")->isVisible());
    EXPECT_FALSE(Action("ImportfromApe101")->isVisible());
    EXPECT_TRUE(Action("Removeid3v1tag1")->isEnabled());
    EXPECT_TRUE(Action("Removeid3v2tag1")->isVisible());
    EXPECT_FALSE(Action("Removeid3v2tag1")->isEnabled());
    EXPECT_FALSE(Action("RemoveAPE10tag1")->isVisible());

    app.General().OggUseId3 = true;
    const std::string ogg = dir / "a.ogg";
    WriteBytes(ogg, MakeOggVorbis({}));
    ASSERT_TRUE(editor.Prepare(ogg));
    EXPECT_FALSE(Action("IMportfromid3v11")->isVisible());
    EXPECT_TRUE(Action("ImportfromOggtag1")->isVisible());
    EXPECT_TRUE(Action("ImportfromOggtag1")->isEnabled());
    EXPECT_FALSE(Action("Removeid3v1tag1")->isVisible());
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text(), "");
    Action("ImportfromOggtag1")->trigger();
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text(), "Song");
    EXPECT_EQ(Find<QLineEdit>("ArtistEdit")->text(), "Band");
}

TEST_F(TagEditorWindowTest, AnImportedId3v1TagBecomesTheNewId3v2Tag) {
    const std::string path = Mp3("v1.mp3");
    ASSERT_TRUE(editor.Prepare(path));
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text(), "");
    Action("IMportfromid3v11")->trigger();
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text(), "v1 title");
    EXPECT_EQ(Find<QComboBox>("CBGenre")->currentText(), "Rock");
    Find<QPlainTextEdit>("MComment")->setPlainText("typed");
    Find<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(editor.LastWritten(), 0);
    formats::TID3v2 v2;
    ASSERT_TRUE(v2.Read(path));
    EXPECT_EQ(v2.Title(), "v1 title");
    EXPECT_EQ(v2.Genre(), "Rock");
    EXPECT_EQ(v2.Comment(), "typed");
}

TEST_F(TagEditorWindowTest, LoadedTextsLongerThanTheLimitsAreShownAndWrittenBackWhole) {
    const std::string path = Mp3("long.mp3", std::string(60, 'L'));
    ASSERT_TRUE(editor.Prepare(path));
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text(), QString(60, QLatin1Char('L')));
    EXPECT_EQ(Find<QSpinBox>("CETrack")->value(), 300);
    Find<QPushButton>("BitBtn1")->click();
    formats::TID3v2 v2;
    ASSERT_TRUE(v2.Read(path));
    EXPECT_EQ(v2.Title(), std::string(60, 'L'));
    EXPECT_EQ(v2.Track(), 300);

    // Typing stays within the limit.
    ASSERT_TRUE(editor.Prepare(Mp3("short.mp3", "x")));
    Find<QLineEdit>("TitleEdit")->setText(QString(70, QLatin1Char('t')));
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text().size(), 50);
    Find<QPlainTextEdit>("MComment")->setPlainText(QString(300, QLatin1Char('c')));
    EXPECT_EQ(Find<QPlainTextEdit>("MComment")->toPlainText().size(), 250);
}

TEST_F(TagEditorWindowTest, NoGenreSelectedKeepsTheId3v1GenreByte) {
    app.General().Mp3PrimaryTag = 1;
    const std::string path = Mp3("v1.mp3");
    ASSERT_TRUE(editor.Prepare(path));
    Find<QComboBox>("CBGenre")->setCurrentIndex(-1);
    Find<QLineEdit>("TitleEdit")->setText("Changed");
    Find<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(editor.LastWritten(), 2);
    formats::TID3v1 v1;
    ASSERT_TRUE(v1.Read(path));
    EXPECT_EQ(v1.Title(), "Changed");
    EXPECT_EQ(v1.GenreIndex(), 17);
}

TEST_F(TagEditorWindowTest, RemovingATagAsksUnlessTheQuestionIsOff) {
    const std::string path = Mp3("both.mp3", "v2 title");
    ASSERT_TRUE(editor.Prepare(path));
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text(), "v2 title");

    user.AnswerConfirm({false, false});
    Action("Removeid3v2tag1")->trigger();
    EXPECT_EQ(user.log.back(), "confirm: Remove tag? [help 18]");
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text(), "v2 title");

    user.AnswerConfirm({true, true});
    Action("Removeid3v2tag1")->trigger();
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text(), "");  // the edited tag is gone
    EXPECT_FALSE(Action("Removeid3v2tag1")->isEnabled());
    EXPECT_FALSE(app.General().ConfirmDeleteTag);
    EXPECT_EQ(settings.ReadInteger("CONFIRM_DELETE_TAG"), 0);
    formats::TID3v2 v2;
    ASSERT_TRUE(v2.Read(path));
    EXPECT_FALSE(v2.Exists());

    // Now without a question; the ID3v1 tag was not the edited one, the fields stay.
    Find<QLineEdit>("TitleEdit")->setText("typed");
    const std::size_t questions = user.Texts("confirm").size();
    Action("Removeid3v1tag1")->trigger();
    EXPECT_EQ(user.Texts("confirm").size(), questions);
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text(), "typed");
    EXPECT_FALSE(Action("Removeid3v1tag1")->isEnabled());
    EXPECT_FALSE(Action("IMportfromid3v11")->isEnabled());
    EXPECT_EQ(ReadBytes(path), MpegAudio());
    EXPECT_EQ(editor.LastWritten(), -1);
}

TEST_F(TagEditorWindowTest, AFailedWriteKeepsTheWindowOpenAndAMissingFileIsReported) {
    // A tag without padding: the new one needs a rebuild, whose temporary copy cannot be made
    // beside a name as long as the system allows.
    const std::string path = LongestFileName(dir, ".mp3");
    WriteBytes(path, id3v2::Tag(3, id3v2::Frame23("TIT2", id3v2::Text("x"))) + MpegAudio());
    ASSERT_TRUE(editor.Prepare(path));
    editor.show();
    Find<QPlainTextEdit>("MComment")->setPlainText(QString(200, QLatin1Char('c')));
    const std::string before = ReadBytes(path);
    Find<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(user.log.back(),
              "error: Couldn't write to file (maybe the file is in use or it is read only?)");
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.LastWritten(), -1);
    EXPECT_EQ(ReadBytes(path), before);

    EXPECT_EQ(editor.Edit(dir / "gone.mp3"), -1);
    EXPECT_EQ(user.log.back(), "error: File not found (" + dir / "gone.mp3" + ")");

    Find<QPushButton>("BitBtn3")->click();
    EXPECT_EQ(help.CurrentAnchor(), "tag-editor");
}

}  // namespace
}  // namespace sonarchive::testing
