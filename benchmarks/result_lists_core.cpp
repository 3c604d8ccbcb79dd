#include "result_lists_core.h"

#include <time.h>

#include <chrono>
#include <functional>
#include <iomanip>
#include <ostream>

#include "catalog_store/path_rules.h"
#include "lists/browse_statements.h"
#include "lists/date_format.h"
#include "lists/result_columns.h"
#include "lists/result_rows.h"
#include "lists/row_availability.h"
#include "lists/row_order.h"
#include "lists/search_statements.h"
#include "platform/drive_list.h"
#include "text/text.h"

namespace sonarchive::benchmarks {
namespace {

double CpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace

void Measure(std::ostream& out, const std::string& what, const std::function<std::size_t()>& step) {
    step();
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    const std::size_t rows = step();
    const double cpu = CpuSeconds() - cpuStart;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out << std::left << std::setw(40) << what << std::right << std::fixed << std::setprecision(3)
        << std::setw(7) << wall << " s  (cpu " << cpu << " s, " << rows << " rows)\n";
}

void TimeCoreResultLists(catalog::Catalog& catalog, const ResultListCorpus& corpus,
                         std::ostream& out) {
    catalog::Database& database = catalog.Engine();
    StaticMountTable mounts;
    mounts.Set(corpus.drives);
    const catalog::PosixPathRules rules(mounts);
    const lists::PatternDateFormat dates("dd.MM.yyyy");

    const auto fill = [&](const std::string& statement, lists::ResultRows& rows) {
        rows.Clear();
        catalog::Query query(database, statement);
        rows.Fill(query);
        lists::AvailabilityPass pass(rules, platform::BuildLocalDriveList(mounts), corpus.hosts);
        lists::MarkAvailabilityAll(rows, pass);
    };

    lists::ResultRows plain;
    Measure(out, "plain listing (rows, availability)", [&] {
        fill(lists::BrowseTreeStatement(lists::kGroupingPlain), plain);
        return plain.Size();
    });
    Measure(out, "browse by artist (group rows)",
            [&] { return lists::LoadBrowseGroups(database, lists::kGroupingArtist).size(); });
    lists::ResultRows found;
    const std::string key = text::UpperCase(corpus.largestArtist);
    Measure(out, "expanding the largest artist", [&] {
        fill(lists::GroupStatement(lists::kGroupingArtist, key), found);
        return found.Size();
    });
    const lists::SimpleSearch artist{"Artist", "Exact match", corpus.largestArtist};
    Measure(out, "search Artist Exact match (1 %)", [&] {
        fill(lists::SimpleStatement(artist, dates), found);
        return found.Size();
    });
    const lists::SimpleSearch title{"Title", "Contains", corpus.titleWord};
    Measure(out, "search Title Contains (1 %)", [&] {
        fill(lists::SimpleStatement(title, dates), found);
        return found.Size();
    });
    for (const int code : {lists::codes::Title, lists::codes::Size, lists::codes::DateAdded}) {
        Measure(out, "sort by " + std::string(lists::ColumnDefinitionOf(code)->caption),
                [&] { return lists::SortOrder(plain, code, false, true, dates).size(); });
    }
    StaticMountTable changed;
    changed.Set(corpus.drivesAfterChange);
    const catalog::PosixPathRules changedRules(changed);
    Measure(out, "recolouring after a mount change", [&] {
        lists::AvailabilityPass pass(changedRules, platform::BuildLocalDriveList(changed),
                                     corpus.hosts);
        lists::MarkAvailabilityAll(plain, pass);
        return plain.Size();
    });
}

}  // namespace sonarchive::benchmarks
