// Times "sonarchive-cli add" of a corpus into an empty catalog, then again with every file
// already catalogued, and prints files per second, seconds and the peak memory of each run.
//
//   add_files_benchmark [FILES] [CORPUS-FOLDER]
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "benchmark_corpus.h"
#include "benchmark_run.h"

namespace {

namespace fs = std::filesystem;
using sonarchive::benchmarks::PrintRun;
using sonarchive::benchmarks::RunFigures;
using sonarchive::benchmarks::TimeCli;
using sonarchive::benchmarks::WarmCache;

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::stoi(argv[1]) : 5000;
    const std::string corpus =
        argc > 2
            ? argv[2]
            : (fs::temp_directory_path() / ("sonarchive-corpus-" + std::to_string(files))).string();
    std::printf("Corpus: %d files in %s\n", files, corpus.c_str());
    if (!sonarchive::benchmarks::MakeCorpus(corpus, files)) {
        return 1;
    }
    WarmCache(corpus);
    const fs::path data =
        fs::temp_directory_path() / ("sonarchive-bench-" + std::to_string(::getpid()));
    fs::remove_all(data);
    const std::vector<std::string> add = {"--data-dir", data.string(), "add",
                                          "--formats",  "all",         corpus};
    const RunFigures first = TimeCli(add);
    const RunFigures again = TimeCli(add);
    PrintRun("add into an empty catalog:", static_cast<std::size_t>(files), first);
    PrintRun("add again (all already catalogued):", static_cast<std::size_t>(files), again);
    fs::remove_all(data);
    return first.exitCode == 0 && again.exitCode == 0 ? 0 : 1;
}
