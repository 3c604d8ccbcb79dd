// Times the summary, the report exports and large collections on a synthetic catalog, warm,
// and prints the figures:
//
//   collections_reports_benchmark [ROWS] [MEMBERS] [FOLDER]
//
// ROWS (200 000 by default) catalog rows on fixed, removable and network volumes; a collection
// of MEMBERS (10 000) files. With FOLDER the catalog is kept there and used again by the next
// run with the same folder. Each read-only figure is the best of three runs; the sqlite3
// shell's plain CSV dump of the same rows is timed beside the CSV export when it is installed.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "catalog_store/catalog.h"
#include "catalog_store/catalog_rows.h"
#include "catalog_store/collection_totals.h"
#include "catalog_store/sql_text.h"
#include "collections/collections.h"
#include "lists/date_format.h"
#include "lists/result_columns.h"
#include "lists/result_rows.h"
#include "platform/mount_table.h"
#include "reports/list_report_source.h"
#include "reports/report_export.h"
#include "reports/statistics.h"

namespace {

namespace fs = std::filesystem;
using namespace sonarchive;

// Wall-clock time, and the processor time of this process (which other programs on a busy
// machine do not inflate).
struct Timing {
    double seconds = 0;
    double cpuSeconds = 0;
    Timing operator+(const Timing& other) const {
        return {seconds + other.seconds, cpuSeconds + other.cpuSeconds};
    }
};

double CpuNow() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

Timing Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const double cpu = CpuNow();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            CpuNow() - cpu};
}

Timing BestOfThree(const std::function<void()>& work) {
    Timing best{1e9, 1e9};
    for (int run = 0; run < 3; ++run) {
        const Timing t = Seconds(work);
        best = t.seconds < best.seconds ? t : best;
    }
    return best;
}

// A figure, with the time it should stay under when there is one.
void Print(const char* label, const Timing& t, double limit) {
    std::printf("%-44s %8.1f ms  (cpu %7.1f ms)", label, t.seconds * 1000, t.cpuSeconds * 1000);
    if (limit > 0) {
        std::printf("  asked: under %.0f ms%s", limit * 1000, t.seconds <= limit ? "" : ", OVER");
    }
    std::printf("\n");
}

// Rows on 20 fixed volumes, 30 removable ones and 5 network hosts, in four formats.
void FillCatalog(catalog::Catalog& catalog, int rows) {
    std::mt19937 random(42);
    catalog::Database& db = catalog.Engine();
    db.BeginTransaction();
    for (int i = 0; i < rows; ++i) {
        const int volume = i % 55;
        const int type = volume < 20 ? 3 : volume < 50 ? (volume % 2 ? 2 : 5) : 4;
        char serial[16];
        std::snprintf(serial, sizeof serial, "%08X", 0x1000 + volume);
        const std::string serialText =
            type == 4 ? "//host" + std::to_string(volume) : std::string(serial);
        const int formats[] = {2, 2, 2, 11, 5, 13};
        catalog::TableAppender row(db, "maindata");
        row.SetText("dArtist", "Artist " + std::to_string(i % 4000));
        row.SetText("dTitle", "Title number " + std::to_string(i) + " ünïcode");
        row.SetText("dAlbum", "Album " + std::to_string(i % 9000));
        row.SetText("dGenre", "Rock");
        row.SetInteger("dYear", 1960 + i % 60);
        row.SetInteger("dTrack", i % 20);
        row.SetText("dPath", (type == 4 ? serialText + "/share" : std::string()) + "/Music/" +
                                 std::to_string(i) + ".mp3");
        row.SetText("dDriveSerialNumber", serialText);
        row.SetText("dDriveLabel", type == 4 ? "" : "VOL" + std::to_string(volume));
        row.SetInteger("dDriveType", type);
        row.SetInteger("dFormat", formats[i % 6]);
        row.SetInteger("dFileSize", 2000 + static_cast<int>(random() % 8000));
        row.SetInteger("dMPEGBitrate", 128 + static_cast<int>(random() % 192));
        row.SetInteger("dMPEGFrequency", 44100);
        row.SetDouble("dLength", 120 + (random() % 300) + 0.25);
        row.SetDateTime("dDateAdded", 45000 + i % 700);
        row.SetDateTime("dFileDate", 44000 + i % 900);
        row.Post();
    }
    db.Commit();
}

class NoMounts : public platform::MountTable {
public:
    platform::MountSnapshot Drives() const override {
        return std::make_shared<const std::vector<platform::MountEntry>>();
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::stoi(argv[1]) : 200000;
    const int memberCount = argc > 2 ? std::stoi(argv[2]) : 10000;
    const bool keep = argc > 3;
    const fs::path work =
        keep ? fs::path(argv[3])
             : fs::temp_directory_path() / ("sonarchive-bench-" + std::to_string(::getpid()));
    if (!keep) {
        fs::remove_all(work);
    }
    catalog::Catalog catalog((work / "data").string());
    if (catalog.FileCount() != rows) {
        catalog.Engine().Execute("delete from maindata");
        std::printf("Catalog of %d rows ", rows);
        std::fflush(stdout);
        std::printf("made in %.1f s\n", Seconds([&] { FillCatalog(catalog, rows); }).seconds);
    }
    catalog::Database& db = catalog.Engine();
    NoMounts mounts;
    catalog::PosixPathRules rules(mounts);
    BestOfThree([&] { catalog.FileCount(); });  // warm the page cache

    // The summary as it opens: the children of the three kinds, then "Total".
    const Timing summary = BestOfThree([&] {
        for (const auto& node : reports::TopNodes(rules)) {
            reports::ChildNodes(db, rules, node);
        }
        reports::ComputeFigures(db, "");
    });
    Print("summary: children and \"Total\"", summary, 0.5);
    const Timing everyNode = BestOfThree([&] {
        for (const auto& node : reports::TopNodes(rules)) {
            reports::ComputeFigures(db, node.condition);
            reports::SharesByFormat(db, node.condition);
            reports::SharesByVolume(db, rules, node.condition);
        }
    });
    Print("summary: four top nodes with both charts", everyNode, 0);

    // The report: rows loaded as a search window holds them, then written.
    lists::ResultRows listed;
    const Timing load = BestOfThree([&] {
        listed.Clear();
        catalog::Query query(db, catalog::StandardSelectAll());
        listed.Fill(query);
    });
    const lists::ResultColumns columns = lists::BuildResultColumns(lists::kLayoutPlain, false);
    const reports::ListReportSource source(listed,
                                           reports::ListReportSource::VisibleColumns(columns),
                                           lists::PatternDateFormat::Iso());
    const std::string csv = (work / "report.csv").string();
    const Timing csvWrite = BestOfThree([&] {
        const reports::ReportTable table = reports::ReportTable::AllRows(source);
        reports::ExportToFile(table, reports::ExportFormat::Csv,
                              reports::DefaultOptions(reports::ExportFormat::Csv), csv);
    });
    Print("rows loaded for the report", load, 0);
    Print("CSV export written", csvWrite, 0);
    Print("CSV export: loaded and written", load + csvWrite, 2.0);
    const Timing xlsx = Seconds([&] {
        const reports::ReportTable table = reports::ReportTable::AllRows(source);
        reports::ExportToFile(table, reports::ExportFormat::Xlsx,
                              reports::DefaultOptions(reports::ExportFormat::Xlsx),
                              (work / "report.xlsx").string());
    });
    Print("XLSX export written", xlsx, 0);
    if (std::system("command -v sqlite3 >/dev/null 2>&1") == 0) {
        const std::string shell = "sqlite3 -csv -header " + catalog.DatabasePath() + " \"" +
                                  std::string(catalog::StandardSelectAll()) + "\" > /dev/null";
        const Timing peer =
            BestOfThree([&] { [[maybe_unused]] int r = std::system(shell.c_str()); });
        Print("sqlite3 shell: the same rows as plain CSV", peer, 0);
        std::printf("%-44s %8.2f\n", "ratio, our CSV export / the shell's",
                    (load + csvWrite).seconds / peer.seconds);
    }

    // A large collection: added, opened, shuffled and saved.
    catalog::IdList files;
    for (int i = 1; i <= memberCount; ++i) {
        files.push_back(i * (rows / memberCount));
    }
    std::int64_t collection = 0;
    const Timing add = BestOfThree([&] {
        collection = collections::CreateCollection(catalog, "Big", false);
        collections::AddCollectionMembers(db, collection, files);
    });
    Print("adding the members of a collection", add, 1.0);
    lists::ResultRows members;
    const Timing open = BestOfThree([&] {
        members.Clear();
        catalog::Query query(db, catalog::CollectionMembersSelect(collection));
        members.Fill(query, static_cast<std::int32_t>(collection));
        catalog::CollectionTotals totals;
        for (std::size_t i = 0; i < members.Size(); ++i) {
            ++totals.files;
            totals.seconds += members.Record(i).dLength;
            totals.kilobytes += members.FileSize(i);
        }
        collections::StoreCollectionTotals(catalog, collection, totals);
    });
    Print("opening the collection (core)", open, 0.5);
    std::vector<collections::MemberPosition> positions;
    for (std::size_t i = 0; i < members.Size(); ++i) {
        positions.push_back({members.Record(i).CollectionEntryId, members.Record(i).dPosition});
    }
    std::mt19937 random(1);
    const Timing save = BestOfThree([&] {
        collections::RandomizePositions(positions, random);
        collections::SaveMemberPositions(db, positions);
    });
    Print("shuffling and saving the positions", save, 1.0);
    if (!keep) {
        fs::remove_all(work);
    }
    return 0;
}
