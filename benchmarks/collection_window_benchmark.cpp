// Times the collection window on a large collection, offscreen, warm, and prints the figures:
//
//   collection_window_benchmark [MEMBERS]
//
// A catalog of MEMBERS (10 000 by default) rows made straight in the database, all of them
// members of one collection. Timed: a new window listing the members, the same window reloaded
// with its totals written back, moving one member down (one position saved per member), and
// shuffling. Each figure is the best of three runs.
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "catalog_store/catalog.h"
#include "catalog_store/sql_text.h"
#include "collections/collections.h"
#include "gui/collections/collection_window.h"
#include "gui/collections/collection_windows.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"
#include "gui/shell/program.h"
#include "gui/window_providers.h"
#include "platform/settings_file.h"

namespace {

using namespace sonarchive;

double BestSeconds(const std::function<void()>& work) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

std::int64_t FillCatalog(const std::string& dataDirectory, int members) {
    catalog::Catalog catalog(dataDirectory);
    catalog::Database& db = catalog.Engine();
    db.BeginTransaction();
    for (int i = 0; i < members; ++i) {
        const std::string n = std::to_string(i);
        db.Execute(
            "insert into maindata (dFormat, dTitle, dArtist, dAlbum, dGenre, dPath, "
            "dDriveSerialNumber, dDriveLabel, dDriveType, dFileSize, dMPEGBitrate, "
            "dMPEGFrequency, dLength, dDateAdded) values (2, 'Title " +
            n + "', 'Artist " + std::to_string(i % 500) + "', 'Album " + std::to_string(i % 900) +
            "', 'Rock', '/Music/" + n + ".mp3', '1A2B3C4D', 'MUSIC', 2, 4200, 192, 44100, 215.5, " +
            "'2024-05-01')");
    }
    db.Commit();
    const std::int64_t id = collections::CreateCollection(catalog, "Large", false);
    catalog::IdList ids;
    for (int i = 1; i <= members; ++i) {
        ids.push_back(i);
    }
    collections::AddCollectionMembers(db, id, ids);
    return id;
}

}  // namespace

int main(int argc, char** argv) {
    const int members = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QTemporaryDir work;
    if (!work.isValid()) {
        std::fprintf(stderr, "cannot create a working folder\n");
        return 1;
    }
    const std::string dataDirectory = work.filePath(QStringLiteral("data")).toStdString();
    const std::int64_t id = FillCatalog(dataDirectory, members);
    platform::SettingsFile settings(work.filePath(QStringLiteral("settings.json")).toStdString());
    settings.Write(
        {{"FIRST_TIME_USAGE", std::int64_t{0}}, {"HINT_HIDE_COLLECTION", std::int64_t{1}}});

    gui::ProgramParts parts;
    parts.providers = gui::AllWindowProviders();
    gui::Program program(dataDirectory, settings, std::move(parts));
    if (program.Start() != gui::StartupSequence::Result::Completed) {
        return 1;
    }
    gui::TFMain& main = program.Main();
    gui::TFCollection* window = nullptr;
    const double open = BestSeconds([&] {
        main.Children().CloseAll();
        QApplication::processEvents();
        window = gui::OpenCollection(main, id, false, false);
    });
    const double reload = BestSeconds([&] { window->LoadMembers(true); });
    const double move = BestSeconds([&] {
        window->List().selectionModel()->select(
            window->List().Rows().index(0, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        window->MoveSelected(false);
    });
    const double shuffle = BestSeconds([&] { window->RandomizePositions(); });
    std::printf("collection window, %d members (best of 3, warm):\n", members);
    std::printf("  open a new window      %8.1f ms  (target < 500 ms)\n", open * 1000);
    std::printf("  reload, totals written %8.1f ms\n", reload * 1000);
    std::printf("  move one member down   %8.1f ms  (every position saved)\n", move * 1000);
    std::printf("  randomize positions    %8.1f ms\n", shuffle * 1000);
    main.Children().CloseAll();
    return 0;
}
