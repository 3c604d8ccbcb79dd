#include "gui/organize/duplicates_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "gui/cataloguing/check_files_window.h"
#include "gui/lists/messages_panel.h"
#include "gui/organize/organize_windows.h"
#include "list_windows_fixture.h"

namespace sonarchive::testing {
namespace {

namespace fs = std::filesystem;
using organize::DuplicateMethod;

class DuplicatesWindowTest : public ListWindowsTest {
protected:
    gui::TFMain& StartFinder(gui::WindowProviders providers = {}) {
        gui::WindowProviders organize;
        gui::AddOrganizeWindows(organize);
        providers.duplicates = organize.duplicates;
        return Start(std::move(providers));
    }

    // "Find duplicates", answering the method dialog with that entry (or cancelling it).
    gui::TFDuplicates* FindDuplicates(std::optional<int> method) {
        ModalAnswerer answer(method ? QStringLiteral("BSearch") : QStringLiteral("BCancel"),
                             QStringLiteral("Find Duplicates"), [method](QWidget& dialog) {
                                 if (method) {
                                     dialog.findChild<QComboBox*>()->setCurrentIndex(*method);
                                 }
                             });
        Main().OpenSingle(gui::ChildKind::Duplicates);
        for (int i = 0; i < 300 && !answer.Answered(); ++i) {
            QTest::qWait(10);
        }
        EXPECT_TRUE(answer.Answered());
        FlushDeletedWindows();
        QMdiSubWindow* open = Main().Children().FindOpen(gui::ChildKind::Duplicates);
        return open != nullptr ? dynamic_cast<gui::TFDuplicates*>(open->widget()) : nullptr;
    }

    // Group number and artist of every row, in list order.
    static std::vector<std::string> Groups(const gui::TResultList& list) {
        std::vector<std::string> groups;
        for (const QModelIndex& row : list.Rows().RowsInListOrder()) {
            groups.push_back(std::to_string(list.Rows().Record(row)->DuplicateGroup) + " " +
                             row.data().toString().toStdString());
        }
        return groups;
    }

    static void Tick(gui::TResultList& list, int position) {
        list.Rows().setData(RowAt(list, position), Qt::Checked, Qt::CheckStateRole);
    }

    // A file of pseudo-random bytes: equal seeds give equal audio.
    static void WriteAudio(const std::string& path, unsigned seed, std::size_t size = 40000) {
        std::mt19937 random(seed);
        std::string bytes(size, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>('a' + random() % 26);
        }
        std::ofstream(path, std::ios::binary) << bytes;
    }
};

TEST_F(DuplicatesWindowTest, TheFinderIsOneWindowThatAsksForItsMethodFirst) {
    StartFinder();
    AddRow({{"dArtist", "'Beatles'"}, {"dTitle", "'Yesterday'"}});
    AddRow({{"dArtist", "'Beatles'"}, {"dTitle", "'Help'"}});
    AddRow({{"dArtist", "'BEATLES'"}, {"dTitle", "'YESTERDAY'"}});

    // Cancelling the first question closes the window it was asked for.
    EXPECT_EQ(FindDuplicates(std::nullopt), nullptr);

    gui::TFDuplicates* finder = FindDuplicates(3);  // "Tag - Artist/Title"
    ASSERT_NE(finder, nullptr);
    EXPECT_EQ(finder->windowTitle(), "Find Duplicates");
    EXPECT_EQ(Groups(finder->List()), (std::vector<std::string>{"1 Beatles", "1 BEATLES"}));
    EXPECT_EQ(h.settings.ReadInteger("LAST_DUPLACTE_SEARCH_METHOD"), 3);

    // The command brings the same window to the front without asking again.
    Main().OpenSingle(gui::ChildKind::Duplicates);
    QTest::qWait(20);
    EXPECT_EQ(Main().Children().FindOpen(gui::ChildKind::Duplicates)->widget(), finder);
    EXPECT_EQ(finder->List().Rows().rowCount(), 2);

    // A later cancelled question keeps the groups; an empty custom choice clears them.
    ModalAnswerer cancel(QStringLiteral("BCancel"), QStringLiteral("Find Duplicates"), {});
    finder->NewSearch();
    EXPECT_TRUE(cancel.Answered());
    EXPECT_EQ(finder->List().Rows().rowCount(), 2);
    ModalAnswerer noField(QStringLiteral("BOk"), QStringLiteral("Select which fields to evaluate"),
                          {});
    finder->RunSearch(DuplicateMethod::Custom);
    EXPECT_TRUE(noField.Answered());
    EXPECT_EQ(finder->List().Rows().rowCount(), 0);
}

TEST_F(DuplicatesWindowTest, TheCustomFieldsLastFromOneFinderToTheNext) {
    StartFinder();
    AddRow({{"dArtist", "'Same'"}, {"dTitle", "'One'"}});
    AddRow({{"dArtist", "'same'"}, {"dTitle", "'Two'"}});
    bool wasTicked = true;
    for (const bool first : {true, false}) {
        ModalAnswerer fields(QStringLiteral("BOk"),
                             QStringLiteral("Select which fields to evaluate"),
                             [first, &wasTicked](QWidget& dialog) {
                                 auto* artist = dialog.findChild<QCheckBox*>("CBArtist");
                                 if (first) {
                                     artist->setChecked(true);
                                 } else {
                                     wasTicked = artist->isChecked();
                                 }
                             });
        gui::TFDuplicates* finder = FindDuplicates(5);  // "Tag - Custom..."
        ASSERT_NE(finder, nullptr);
        EXPECT_TRUE(fields.Answered());
        EXPECT_EQ(Groups(finder->List()), (std::vector<std::string>{"1 Same", "1 same"}));
        finder->parentWidget()->close();
        FlushDeletedWindows();
    }
    EXPECT_TRUE(wasTicked);
}

TEST_F(DuplicatesWindowTest, GroupsAlternateColoursAndSurviveAReloadAfterATool) {
    std::vector<std::int64_t> renamed;
    gui::WindowProviders providers;
    providers.renameFiles = [this, &renamed](gui::TFMain&, catalog::IdList ids) {
        renamed.assign(ids.begin(), ids.end());
        Db().Execute("update maindata set dArtist='Renamed' where id=" + std::to_string(ids[0]));
        return true;
    };
    StartFinder(std::move(providers));
    const std::int64_t a = AddRow({{"dArtist", "'A1'"}, {"dFileSize", "100"}});
    AddRow({{"dArtist", "'B1'"}, {"dFileSize", "200"}});
    AddRow({{"dArtist", "'A2'"}, {"dFileSize", "100"}});
    AddRow({{"dArtist", "'Alone'"}, {"dFileSize", "300"}});
    AddRow({{"dArtist", "'C1'"}, {"dFileSize", "50"}});
    const std::int64_t b2 = AddRow({{"dArtist", "'B2'"}, {"dFileSize", "200"}});
    AddRow({{"dArtist", "'C2'"}, {"dFileSize", "50"}});

    gui::TFDuplicates* finder = FindDuplicates(2);  // "Size"
    ASSERT_NE(finder, nullptr);
    gui::TResultList& list = finder->List();
    EXPECT_EQ(Groups(list),
              (std::vector<std::string>{"1 C1", "1 C2", "2 A1", "2 A2", "3 B1", "3 B2"}));
    for (int position = 0; position < 6; ++position) {
        const QModelIndex row = RowAt(list, position);
        const QColor expected = position / 2 == 1 ? QColor(202, 228, 255) : QColor(Qt::white);
        EXPECT_EQ(row.data(Qt::BackgroundRole).value<QBrush>().color(), expected) << position;
        EXPECT_EQ(row.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::black));
    }

    // Renaming from the finder reloads its rows by id: same places, same groups, ticks kept.
    Tick(list, 3);
    Select(list, {2});
    finder->RenameFiles();
    EXPECT_EQ(renamed, (std::vector<std::int64_t>{a}));
    EXPECT_EQ(Groups(list),
              (std::vector<std::string>{"1 C1", "1 C2", "2 Renamed", "2 A2", "3 B1", "3 B2"}));
    EXPECT_TRUE(list.Rows().Checked(RowAt(list, 3)));
    EXPECT_FALSE(list.Rows().Checked(RowAt(list, 2)));

    // A row gone from the catalog leaves its group; a change announced elsewhere reloads too.
    Db().Execute("delete from maindata where id=" + std::to_string(b2));
    Main().App().Catalog().Events().Notify(catalog::CatalogChange::RowsChanged);
    EXPECT_EQ(Groups(list),
              (std::vector<std::string>{"1 C1", "1 C2", "2 Renamed", "2 A2", "3 B1"}));
}

TEST_F(DuplicatesWindowTest, DeletingAsksForTheRowsItTakesFromDisk) {
    StartFinder();
    const std::string folder = MountStickFolder();
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        WriteBytes(folder + "/" + name, "song");
        AddRow({{"dPath", Q(std::string("/") + name)}});
    }
    AddRow({{"dPath", "'/missing.mp3'"}});
    gui::TFDuplicates* finder = FindDuplicates(3);
    ASSERT_NE(finder, nullptr);
    gui::TResultList& list = finder->List();
    ASSERT_EQ(list.Rows().rowCount(), 4);
    auto* deleteMarked = finder->findChild<QAbstractButton*>("BDeleteMarked");
    ASSERT_NE(deleteMarked, nullptr);

    // Nothing ticked: nothing asked, nothing gone, whatever is selected.
    Select(list, {0});
    deleteMarked->click();
    EXPECT_TRUE(h.user.Texts("question").empty());
    EXPECT_EQ(list.Rows().rowCount(), 4);

    // The ticked rows become the selection; No keeps them.
    Tick(list, 1);
    Tick(list, 3);
    h.user.AnswerNo();
    deleteMarked->click();
    EXPECT_EQ(h.user.Texts("question"),
              (std::vector<std::string>{"Delete 2 file(s) from disk and archive?"}));
    EXPECT_EQ(list.SelectedRows().size(), 2u);
    EXPECT_EQ(list.Rows().rowCount(), 4);

    // Yes: the file goes, the missing one stays listed with its line in the messages panel.
    h.user.AnswerYes();
    h.user.AnswerConfirm({true, false});
    deleteMarked->click();
    EXPECT_FALSE(fs::exists(folder + "/b.mp3"));
    EXPECT_TRUE(fs::exists(folder + "/a.mp3"));
    EXPECT_EQ(ColumnTexts(list, lists::codes::Filename),
              (std::vector<std::string>{"/a.mp3", "/c.mp3", "/missing.mp3"}));
    EXPECT_EQ(Count(), 3);
    const auto& messages = *finder->findChild<gui::MessagesPanel*>("PErrorMessages");
    EXPECT_FALSE(messages.isHidden());
    ASSERT_EQ(messages.Lines().size(), 1);
    EXPECT_TRUE(messages.Lines()[0].startsWith("Couldn't delete file \""));

    // Shift+Delete asks with the number of selected rows; Delete takes rows from the catalog.
    Select(list, {0, 1});
    h.user.AnswerNo();
    QTest::keyClick(&list, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(h.user.Texts("question").back(), "Delete 2 file(s) from disk and archive?");
    Select(list, {0});
    h.user.AnswerConfirm({true, false});
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_TRUE(fs::exists(folder + "/a.mp3"));
    EXPECT_EQ(Count(), 2);
    EXPECT_FALSE(h.user.UnansweredQuestionsLeft());
}

TEST_F(DuplicatesWindowTest, TheBitPatternShowsItsStepsWhileTheFinderWaits) {
    StartFinder();
    const std::string folder = MountStickFolder();
    WriteAudio(folder + "/1-one.mp3", 1);
    WriteAudio(folder + "/4-copy.mp3", 1);
    WriteAudio(folder + "/2-other.mp3", 2);
    WriteAudio(folder + "/3-short.mp3", 1, 11000);  // too short to head a group or match
    AddRow({{"dArtist", "'One'"}, {"dPath", "'/1-one.mp3'"}});
    AddRow({{"dArtist", "'Other'"}, {"dPath", "'/2-other.mp3'"}});
    AddRow({{"dArtist", "'Short'"}, {"dPath", "'/3-short.mp3'"}});
    AddRow({{"dArtist", "'Copy'"}, {"dPath", "'/4-copy.mp3'"}});
    AddRow({{"dArtist", "'Gone'"}, {"dDriveSerialNumber", Q(kGoneSerial)}});

    // Seen between files: the window disabled, the step's caption and count.
    Main().OpenSingle(gui::ChildKind::Duplicates);
    QMdiSubWindow* frame = Main().Children().FindOpen(gui::ChildKind::Duplicates);
    ASSERT_NE(frame, nullptr);
    auto* finder = dynamic_cast<gui::TFDuplicates*>(frame->widget());
    ASSERT_NE(finder, nullptr);
    std::set<std::string> seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        gui::TFCheckIndividualFiles& progress = finder->Progress();
        if (progress.isVisible()) {
            seen.insert(progress.windowTitle().toStdString() +
                        (frame->isEnabled() ? " enabled" : " disabled"));
            const auto* timeLeft = progress.findChild<QLabel*>("LTimeLeft");
            if (timeLeft->isVisibleTo(&progress)) {
                seen.insert("time left " + QString(timeLeft->text())
                                               .replace(QRegularExpression("\\d"), "9")
                                               .toStdString());
            }
        }
    });
    watch.start(0);
    ModalAnswerer bitPattern(
        QStringLiteral("BSearch"), QStringLiteral("Find Duplicates"),
        [](QWidget& dialog) { dialog.findChild<QComboBox*>()->setCurrentIndex(0); });
    for (int i = 0; i < 300 && !bitPattern.Answered(); ++i) {
        QTest::qWait(10);
    }
    watch.stop();
    EXPECT_EQ(seen, (std::set<std::string>{"Looking for duplicates - collecting data disabled",
                                           "Looking for duplicates - comparing files disabled",
                                           "time left 99:99:99"}));
    EXPECT_TRUE(frame->isEnabled());
    EXPECT_FALSE(finder->Progress().isVisible());
    EXPECT_EQ(finder->Progress().findChild<QLabel*>("LFilesFound")->text(),
              "Possible duplicates found: 2");
    EXPECT_EQ(Groups(finder->List()), (std::vector<std::string>{"1 One", "1 Copy"}));
    // Every file with a key against every later one: one 3, other 2, short none, copy 0.
    EXPECT_EQ(finder->CounterText(), "5");
    EXPECT_TRUE(finder->TimeRangeText().contains(" - "));
}

}  // namespace
}  // namespace sonarchive::testing
