#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <filesystem>

#include "catalog_files.h"
#include "catalog_store/catalog.h"
#include "catalog_store/schema.h"
#include "gui/catalog_store/init_window.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/logo_area.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"
#include "lists/search_history.h"

namespace sonarchive::testing {
namespace {

using gui::StartupSequence;

constexpr const char* kRereadQuestion =
    "You need to reread tags to update the \"file date\" field. Do you wish to do this now?";

QString CounterText(gui::Program& program) {
    return program.Main().ToolBar().fileCounter->text();
}

TEST(Startup, RunsItsStepsInOrderWithTheirTexts) {
    ProgramHarness h;
    catalog::testfiles::MakeOldCatalog(h.DatabasePath(), 300);
    std::vector<std::string> timeline;
    gui::WindowProviders providers;
    providers.rereadTags = [&](gui::TFMain&) { timeline.push_back("re-read window"); };
    gui::Program& program = h.Make(std::move(providers));
    QObject::connect(program.Windows().init, &gui::TFInit::statusChanged, [&](const QString& text) {
        timeline.push_back("init: " + text.toStdString() + " after " + h.user.log.back());
    });
    h.user.AnswerYes();  // re-read now

    EXPECT_EQ(program.Start(), StartupSequence::Result::Completed);

    EXPECT_EQ(timeline, (std::vector<std::string>{
                            "init: Collecting info about local drives after idle",
                            "init: Checking network connections after idle",
                            "init: Connecting to database after idle",
                            "re-read window",
                        }));
    // The hourglass comes first; the schema steps with their notices and the question run
    // before the initializing window; the hourglass goes when it closes.
    const std::vector<std::string>& log = h.user.log;
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "busy");
    EXPECT_EQ(log.back(), "idle");
    EXPECT_EQ(
        h.user.Texts("notice"),
        (std::vector<std::string>{"Updating database structure",
                                  "Updating database structure, adding field \"dFileDate\"..."}));
    EXPECT_EQ(h.user.Texts("question"), std::vector<std::string>{kRereadQuestion});
    EXPECT_TRUE(h.user.Texts("error").empty());
    EXPECT_FALSE(program.Windows().init->isVisible());
    EXPECT_EQ(program.Windows().init->windowTitle(), "Sonarchive - initializing");
    EXPECT_EQ(CounterText(program), "Files in archive: 300");
    EXPECT_TRUE(program.Main().isVisible());
}

TEST(Startup, OffersTheFirstSearchOnceWhicheverButtonWasPressed) {
    for (const char* button : {"BSearch", "BCancel"}) {
        ProgramHarness h(/*firstStart=*/true);
        int searches = 0;
        const auto providers = [&searches] {
            gui::WindowProviders p;
            p.addFromAllDrives = [&searches](gui::TFMain&) { ++searches; };
            return p;
        };
        {
            gui::Program& first = h.Make(providers());
            ModalAnswerer welcome{QString::fromLatin1(button)};
            EXPECT_EQ(first.Start(), StartupSequence::Result::Completed);
            EXPECT_TRUE(welcome.Answered());
            EXPECT_EQ(welcome.SeenTitle(), "Welcome to Sonarchive");
            EXPECT_TRUE(welcome.SeenText().contains(
                "Would you like Sonarchive to search for MP3 files on your local drives?"));
            EXPECT_EQ(h.settings.ReadInteger("FIRST_TIME_USAGE").value_or(-1), 0);
            h.Destroy();
        }
        EXPECT_EQ(searches, std::string(button) == "BSearch" ? 1 : 0);

        gui::Program& second = h.Make(providers());
        ModalAnswerer unexpected{QStringLiteral("BCancel")};
        second.Start();
        QApplication::processEvents();
        EXPECT_FALSE(unexpected.Answered()) << "welcome shown again after " << button;
    }
}

TEST(Startup, RebuildsDamagedIndexesAndCarriesOn) {
    ProgramHarness h;
    catalog::testfiles::MakeOldCatalog(h.DatabasePath(), 50);
    {
        catalog::Catalog catalog(h.DataDirectory());
        catalog::EnsureCatalogIndexes(catalog.Engine());
    }
    catalog::testfiles::DamageRootPage(h.DatabasePath(), "maindata_drive_type");
    gui::Program& program = h.Make();

    EXPECT_EQ(program.Start(), StartupSequence::Result::Completed);

    const auto errors = h.user.Texts("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Sonarchive will recreate the index files."), std::string::npos);
    EXPECT_EQ(CounterText(program), "Files in archive: 50");
    EXPECT_TRUE(program.Main().isVisible());
}

TEST(Startup, EndsTheProgramWhenTheCatalogCannotBeRepaired) {
    ProgramHarness h;
    catalog::testfiles::MakeOldCatalog(h.DatabasePath(), 200);
    catalog::testfiles::DamageRootPage(h.DatabasePath(), "maindata");
    gui::Program& program = h.Make();
    h.user.AnswerNo();  // to the offer to salvage the catalog

    EXPECT_EQ(program.Start(), StartupSequence::Result::EndProgram);

    const auto errors = h.user.Texts("error");
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.back(),
              "There are still errors reported. Try to delete index files manually (\".adi\" "
              "and \".ai\" files and restart Sonarchive.");
    EXPECT_FALSE(program.Main().isVisible());
    EXPECT_FALSE(program.Windows().init->isVisible());
}

TEST(Startup, AnEngineErrorStopsTheStartUpWithTheWindowOpenAndKeepsTheStoredHistory) {
    ProgramHarness h(/*firstStart=*/true);
    std::filesystem::remove_all(h.DataDirectory());
    WriteBytes(h.DataDirectory(), "not a folder");
    lists::SearchHistory stored;
    stored.Record({true, false, {}, {"Artist", "Contains", "ABBA", ""}, "Artist Contains 'ABBA'"});
    h.settings.Write({{lists::SearchHistory::kValueName, platform::BinaryValue{stored.Encode()}}});
    gui::Program& program = h.Make();

    EXPECT_EQ(program.Start(), StartupSequence::Result::Stopped);

    const auto errors = h.user.Texts("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Cannot create the data directory"), std::string::npos);
    EXPECT_EQ(h.user.log.back(), "error: " + errors[0]);  // after the cursor came back
    EXPECT_FALSE(program.Windows().init->isVisible());
    EXPECT_TRUE(program.Main().isVisible());
    EXPECT_FALSE(h.settings.ReadInteger("FIRST_TIME_USAGE").has_value());  // no welcome yet

    program.Main().close();
    EXPECT_EQ(h.settings.ReadBinary(lists::SearchHistory::kValueName).value_or(""),
              stored.Encode());
}

TEST(Startup, OpensTheBrowseWindowWhenAskedTo) {
    ProgramHarness h;
    h.settings.Write({{"BROWSE_WINDOW_STARTUP", std::int64_t{1}}});
    std::vector<std::string> calls;
    gui::WindowProviders providers;
    providers.browse = [&calls](gui::TFMain&) { return new FakeListWindow(calls, "Browse"); };
    gui::Program& program = h.Make(std::move(providers));
    std::vector<QString> statuses;
    QObject::connect(program.Windows().init, &gui::TFInit::statusChanged,
                     [&](const QString& text) { statuses.push_back(text); });
    program.Main().resize(900, 700);

    EXPECT_EQ(program.Start(), StartupSequence::Result::Completed);

    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back(), "Retrieving data from the archive");
    QMdiSubWindow* browse = program.Main().Children().FindOpen(gui::ChildKind::Browse);
    ASSERT_NE(browse, nullptr);
    const QRect client = program.Main().Area().viewport()->rect();
    EXPECT_EQ(browse->geometry(), QRect(0, 0, client.width() - 4, client.height() - 4));
}

}  // namespace
}  // namespace sonarchive::testing
