#include "gui/cataloguing/cataloguing_windows.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "catalog_files.h"
#include "catalog_store/catalog.h"
#include "format_bytes.h"
#include "formats/id3v2.h"
#include "gui/cataloguing/check_files_window.h"
#include "gui/cataloguing/reread_window.h"
#include "gui/cataloguing/validate_window.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"

namespace sonarchive::testing {
namespace {

namespace bytes = formats::testing;

constexpr const char* kVolumeSerial = "ABCD1234";

class CataloguingWindowsTest : public ::testing::Test {
protected:
    CataloguingWindowsTest() {
        std::filesystem::create_directories(h.dir / "vol");
        h.mounts->Add(h.dir / "vol", kVolumeSerial, "Removable", "STICK");
    }

    gui::TFMain& Start() {
        gui::WindowProviders providers;
        gui::AddCataloguingWindows(providers);
        gui::Program& program = h.Make(std::move(providers));
        program.Start();
        return program.Main();
    }

    // An MP3 file on the mounted volume, with an ID3v2 title.
    std::string MakeSong(const std::string& name, const std::string& title) {
        const std::string path = h.dir / ("vol/" + name);
        WriteBytes(path, bytes::Frames(bytes::HeaderBits{}, 417, 40));
        formats::TID3v2 tag;
        tag.SetTitle(title);
        EXPECT_TRUE(tag.Write(path));
        return path;
    }

    void AddRow(const std::string& serial, int driveType, const std::string& path,
                const std::string& title = "old") {
        h.Get().App().Catalog().Engine().Execute(
            "insert into maindata (dDriveSerialNumber, dDriveType, dPath, dTitle) values ('" +
            serial + "', " + std::to_string(driveType) + ", '" + path + "', '" + title + "')");
    }

    std::int64_t Count(const std::string& condition = "1=1") {
        catalog::Query q(h.Get().App().Catalog().Engine(),
                         "select count(*) from maindata where " + condition);
        return q[0].AsInteger();
    }

    template <typename T>
    static T& Child(QWidget& window, const char* name) {
        T* child = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return *child;
    }

    static void Click(QWidget& window, const char* name) {
        Child<QAbstractButton>(window, name).click();
    }

    ProgramHarness h;
};

class CheckWindowTest : public CataloguingWindowsTest {
protected:
    // The check window shown with the fixed-drive and the individual-file checks as given.
    gui::TfValidate& ShowCheckWindow(gui::TFMain& main, bool fixed, bool individual) {
        h.settings.Write({{"CHECK_FIXED_DRIVES", std::int64_t{fixed}},
                          {"CHECK_NETWORK_COMPUTERS", std::int64_t{0}},
                          {"CHECK_INDIVIDUAL_FILES", std::int64_t{individual}}});
        gui::TfValidate& window = gui::TfValidate::Of(main);
        window.show();
        return window;
    }
};

TEST_F(CheckWindowTest, LoadsTheChoicesUpToTheFirstMissingOneAndSavesThemOnClose) {
    h.settings.Write(
        {{"CHECK_FIXED_DRIVES", std::int64_t{0}}, {"CHECK_INDIVIDUAL_FILES", std::int64_t{1}}});
    gui::TFMain& main = Start();
    gui::TfValidate& window = gui::TfValidate::Of(main);
    EXPECT_EQ(&gui::TfValidate::Of(main), &window);  // one window for the run
    EXPECT_EQ(window.windowTitle(), "Check archive");
    auto& fixed = Child<QCheckBox>(window, "PCheckFixed");
    auto& network = Child<QCheckBox>(window, "PCheckNetwork");
    auto& individual = Child<QCheckBox>(window, "PCheckIndividual");
    EXPECT_TRUE(fixed.isChecked());  // the form's default before the first show

    window.show();
    // CHECK_NETWORK_COMPUTERS is missing: it and CHECK_INDIVIDUAL_FILES keep their state.
    EXPECT_FALSE(fixed.isChecked());
    EXPECT_FALSE(network.isChecked());
    EXPECT_FALSE(individual.isChecked());

    network.setChecked(true);
    Click(window, "Button1");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(h.settings.ReadInteger("CHECK_FIXED_DRIVES"), 0);
    EXPECT_EQ(h.settings.ReadInteger("CHECK_NETWORK_COMPUTERS"), 1);
    EXPECT_EQ(h.settings.ReadInteger("CHECK_INDIVIDUAL_FILES"), 0);

    h.settings.Write({{"CHECK_INDIVIDUAL_FILES", std::int64_t{1}}});
    window.show();
    EXPECT_TRUE(individual.isChecked());
    EXPECT_TRUE(h.user.Texts("error").empty());

    // The settings file cannot be replaced any more: closing reports it once.
    std::filesystem::remove(h.settings.Path());
    std::filesystem::create_directories(h.settings.Path() + "/blocker");
    window.close();
    EXPECT_EQ(h.user.Texts("error"),
              std::vector<std::string>{"Couldn't write to registry (Validity check)."});
}

TEST_F(CheckWindowTest, TestsFilesInItsOwnWindowAndKeepsTheLogForTheRun) {
    gui::TFMain& main = Start();
    MakeSong("here.mp3", "Here");
    AddRow("0BADF00D", 3, "/fixed-drive-gone.mp3");
    AddRow(kVolumeSerial, 2, "/here.mp3");
    AddRow(kVolumeSerial, 2, "/deleted.mp3");
    gui::TfValidate& window = ShowCheckWindow(main, true, true);
    gui::TFCheckIndividualFiles* progress = &window.FileProgress();
    EXPECT_FALSE(progress->isVisible());

    bool sawTest = false;
    QTimer::singleShot(0, &window, [&] {  // runs while the files are tested
        sawTest = true;
        EXPECT_TRUE(progress->isVisible());
        EXPECT_EQ(progress->windowTitle(), "Checking individual files");
        EXPECT_FALSE(window.isEnabled());
        EXPECT_FALSE(Child<QLabel>(*progress, "LTimeLeftCaption").isVisible());
        EXPECT_EQ(Child<QProgressBar>(*progress, "ProgressBar1").maximum(), 2);
        EXPECT_TRUE(Child<QPushButton>(*progress, "Button1").isVisible());
        EXPECT_TRUE(Child<QPushButton>(*progress, "Button1").isEnabled());
    });
    h.user.AnswerYes(2);
    Click(window, "Button2");

    EXPECT_TRUE(sawTest);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(Child<QLabel>(*progress, "LFilesFound").text(), "Files found: 1");
    EXPECT_EQ(h.user.Texts("question"),
              (std::vector<std::string>{"Delete 1 invalid file references in the database?",
                                        "Delete 1 records in the database?"}));
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Count("dPath = '/here.mp3'"), 1);
    const QString firstRun =
        "References to files where fixed drives no longer exists:\n1 records found\n"
        "1 records deleted\nReferences to files no longer existing:\n1 records found\n"
        "1 records deleted";
    EXPECT_EQ(Child<QPlainTextEdit>(window, "Memo1").toPlainText(), firstRun);
    EXPECT_EQ(main.ToolBar().fileCounter->text(), "Files in archive: 1");
    window.close();

    // Opened again from the menu, the window still holds the first run's log and adds to it.
    ModalAnswerer again{QStringLiteral("Button1"),
                        [this](QWidget& dialog) { Click(dialog, "Button2"); }};
    main.Actions().checkArchive->trigger();
    EXPECT_TRUE(again.Answered());
    EXPECT_EQ(again.SeenTitle(), "Check archive");
    EXPECT_EQ(Child<QPlainTextEdit>(window, "Memo1").toPlainText(),
              firstRun +
                  "\nReferences to files where fixed drives no longer exists:\n0 records found"
                  "\nReferences to files no longer existing:\n0 records found");
}

TEST_F(CheckWindowTest, CancellingTheFileTestDeletesNothingAndReenablesTheWindow) {
    gui::TFMain& main = Start();
    for (int i = 0; i < 5; ++i) {  // the cancel is seen between two of them
        AddRow(kVolumeSerial, 2, "/deleted " + std::to_string(i) + ".mp3");
    }
    gui::TfValidate& window = ShowCheckWindow(main, false, true);
    gui::TFCheckIndividualFiles* progress = &window.FileProgress();
    QTimer::singleShot(0, &window, [&] { Click(*progress, "Button1"); });
    Click(window, "Button2");
    EXPECT_TRUE(h.user.Texts("question").empty());
    EXPECT_EQ(Count(), 5);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(Child<QPlainTextEdit>(window, "Memo1").toPlainText().isEmpty());
}

using RereadWindowTest = CataloguingWindowsTest;

TEST_F(RereadWindowTest, ListsWhatItCouldNotReachAndStaysOpenForIt) {
    gui::TFMain& main = Start();
    MakeSong("quote.mp3", "Don't Stop");
    WriteBytes(h.dir / "vol/broken.mp3", "no audio in here");
    AddRow(kVolumeSerial, 2, "/quote.mp3");
    AddRow(kVolumeSerial, 2, "/broken.mp3");
    AddRow("EEEE0000", 2, "/absent.mp3");
    int rowsChanged = 0;
    main.App().Catalog().Events().Subscribe([&](catalog::CatalogChange change) {
        rowsChanged += change == catalog::CatalogChange::RowsChanged ? 1 : 0;
    });

    gui::TfReRead window(main);
    window.show();
    EXPECT_EQ(window.windowTitle(), "Re-read tags");
    auto& messages = Child<QWidget>(window, "PErrorMessages");
    EXPECT_FALSE(messages.isVisible());
    EXPECT_FALSE(Child<QProgressBar>(window, "ProgressBar1").isVisible());
    EXPECT_FALSE(Child<QPushButton>(window, "BCancel").isVisible());
    Click(window, "Button2");

    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(messages.isVisible());
    EXPECT_EQ(
        Child<QPlainTextEdit>(window, "MemoErrorMesages").toPlainText().toStdString(),
        "Couldn't read file: " + h.dir / "vol/broken.mp3" + "\nFile not accessible: /absent.mp3");
    EXPECT_EQ(h.user.Texts("info"), std::vector<std::string>{"Finished re-reading tags"});
    EXPECT_EQ(rowsChanged, 1);
    EXPECT_EQ(Count("dTitle = 'Don''t Stop' and dMPEGBitrate = 128"), 1);
    EXPECT_EQ(Count("dTitle = 'old'"), 2);
    EXPECT_TRUE(Child<QPushButton>(window, "BClose").isVisible());
    EXPECT_FALSE(Child<QPushButton>(window, "BCancel").isVisible());
    EXPECT_FALSE(Child<QProgressBar>(window, "ProgressBar1").isVisible());

    Click(window, "BHideMessages");
    EXPECT_FALSE(messages.isVisible());
    Click(window, "BClose");
    EXPECT_FALSE(window.isVisible());
}

TEST_F(RereadWindowTest, ClosesItselfWhenEveryFileWasRead) {
    gui::TFMain& main = Start();
    MakeSong("a.mp3", "A");
    AddRow(kVolumeSerial, 2, "/a.mp3");
    gui::TfReRead window(main);
    window.show();
    Click(window, "Button2");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(Count("dTitle = 'A'"), 1);
}

TEST_F(RereadWindowTest, CannotBeClosedWhileRunningAndCancelsOnlyOnYes) {
    gui::TFMain& main = Start();
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3"}) {
        MakeSong(name, "new");
        AddRow(kVolumeSerial, 2, std::string("/") + name);
    }
    gui::TfReRead window(main);
    window.show();
    bool sawRun = false;
    QTimer::singleShot(0, &window, [&] {  // the first time the run lets events through
        sawRun = true;
        EXPECT_TRUE(window.Running());
        EXPECT_TRUE(Child<QProgressBar>(window, "ProgressBar1").isVisible());
        EXPECT_TRUE(Child<QPushButton>(window, "BCancel").isVisible());
        EXPECT_FALSE(Child<QPushButton>(window, "BClose").isVisible());
        window.close();
        window.reject();
        EXPECT_TRUE(window.isVisible());
        Click(window, "Button2");  // a second run is not started inside the first
        h.user.AnswerNo();
        Click(window, "BCancel");
        h.user.AnswerYes();
        Click(window, "BCancel");
    });
    Click(window, "Button2");
    EXPECT_TRUE(sawRun);
    EXPECT_EQ(h.user.Texts("question"),
              (std::vector<std::string>{"Cancel rereading tags?", "Cancel rereading tags?"}));
    EXPECT_EQ(Count("dTitle = 'new'"), 0);  // the Yes came before the first file
    EXPECT_TRUE(h.user.Texts("info").empty());
    EXPECT_FALSE(window.isVisible());  // no message came
}

TEST(RereadAtStartup, TheFileDateUpgradeOpensTheRereadWindow) {
    ProgramHarness h;
    catalog::testfiles::MakeOldCatalog(h.DatabasePath(), 3);
    gui::WindowProviders providers;
    gui::AddCataloguingWindows(providers);
    gui::Program& program = h.Make(std::move(providers));
    h.user.AnswerYes();  // re-read now
    ModalAnswerer close{QStringLiteral("BClose")};
    program.Start();
    EXPECT_TRUE(close.Answered());
    EXPECT_EQ(close.SeenTitle(), "Re-read tags");
}

}  // namespace
}  // namespace sonarchive::testing
