// Times the result lists on a large catalog, first the core's statements and row store, then
// the real windows offscreen, and prints seconds per step and the peak memory.
//
//   result_lists_benchmark [ROWS]     (200000 when not given)
#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "result_lists_core.h"
#include "result_lists_corpus.h"
#include "result_lists_windows.h"

namespace {

void PrintPeakMemory(const char* after) {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::cout << "peak memory " << after << ": " << usage.ru_maxrss / 1024 << " MB\n";
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const long requested = argc > 1 ? std::atol(argv[1]) : 200000;
    if (requested <= 0) {
        std::cerr << "Usage: result_lists_benchmark [ROWS]\n";
        return 2;
    }
    std::string pattern = (fs::temp_directory_path() / "sonarchive-result-lists-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::cerr << "cannot create a temporary folder\n";
        return 1;
    }
    const fs::path folder = pattern;
    const std::string dataDirectory = (folder / "data").string();
    sonarchive::benchmarks::ResultListCorpus corpus;
    {
        sonarchive::catalog::Catalog catalog(dataDirectory);
        const auto start = std::chrono::steady_clock::now();
        corpus = sonarchive::benchmarks::FillResultListCatalog(catalog,
                                                               static_cast<std::size_t>(requested));
        std::cout << "catalog of " << corpus.rows << " rows, " << corpus.artists
                  << " artists made in "
                  << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
                  << " s\n";
        sonarchive::benchmarks::TimeCoreResultLists(catalog, corpus, std::cout);
    }
    PrintPeakMemory("after the core steps");
    const bool started =
        sonarchive::benchmarks::TimeWindowResultLists(dataDirectory, corpus, std::cout);
    PrintPeakMemory("after the windows");
    fs::remove_all(folder);
    if (!started) {
        std::cerr << "the program did not start on the catalog\n";
        return 1;
    }
    return 0;
}
