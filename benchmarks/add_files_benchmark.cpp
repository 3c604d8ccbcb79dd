// Times "sonarchive-cli add" of a corpus into an empty catalog, then again with every file
// already catalogued, and prints files per second, seconds and the peak memory of each run.
// With --slow MS the corpus is served through a filesystem that answers every open and read
// after MS milliseconds without page cache, and adds with one reader and with the default
// pool are timed side by side, alternating, three runs each.
//
//   add_files_benchmark [FILES] [CORPUS-FOLDER]
//   add_files_benchmark --slow MS [FILES] [CORPUS-FOLDER]
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "benchmark_corpus.h"
#include "benchmark_run.h"
#include "cataloguing/read_ahead.h"
#include "slow_mount.h"

namespace {

namespace fs = std::filesystem;
using sonarchive::benchmarks::PrintRun;
using sonarchive::benchmarks::RunFigures;
using sonarchive::benchmarks::TimeCli;
using sonarchive::benchmarks::WarmCache;

fs::path ScratchFolder(const std::string& what) {
    return fs::temp_directory_path() / ("sonarchive-bench-" + what + std::to_string(::getpid()));
}

// An add of `folder` into a catalog in `data`; `jobs` empty for the default pool.
RunFigures TimeAdd(const fs::path& data, const std::string& folder, const std::string& jobs = {}) {
    std::vector<std::string> add = {"--data-dir", data.string(), "add", "--formats", "all"};
    if (!jobs.empty()) {
        add.insert(add.end(), {"--jobs", jobs});
    }
    add.push_back(folder);
    return TimeCli(add);
}

int RunWarm(int files, const std::string& corpus) {
    WarmCache(corpus);
    const fs::path data = ScratchFolder("");
    fs::remove_all(data);
    const RunFigures first = TimeAdd(data, corpus);
    const RunFigures again = TimeAdd(data, corpus);
    PrintRun("add into an empty catalog:", static_cast<std::size_t>(files), first);
    PrintRun("add again (all already catalogued):", static_cast<std::size_t>(files), again);
    fs::remove_all(data);
    return first.exitCode == 0 && again.exitCode == 0 ? 0 : 1;
}

// The run of median time, with the highest peak memory of all runs.
RunFigures MedianOf(std::vector<RunFigures> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const RunFigures& a, const RunFigures& b) { return a.seconds < b.seconds; });
    RunFigures median = runs[runs.size() / 2];
    for (const RunFigures& run : runs) {
        median.peakKilobytes = std::max(median.peakKilobytes, run.peakKilobytes);
        median.exitCode = run.exitCode != 0 ? run.exitCode : median.exitCode;
    }
    return median;
}

int RunSlow(int delayMs, int files, const std::string& corpus) {
#ifdef SONARCHIVE_SLOW_FUSE
    const fs::path mountPoint = ScratchFolder("slow-");
    const sonarchive::benchmarks::SlowMount mount(SONARCHIVE_SLOW_FUSE, corpus,
                                                  mountPoint.string(), delayMs);
    if (!mount.Mounted()) {
        std::fprintf(stderr, "The slow filesystem could not be mounted: %s\n",
                     mount.Problem().c_str());
        return 1;
    }
    std::printf("Served with %d ms per open and read, without page cache\n", delayMs);
    const fs::path data = ScratchFolder("");
    std::vector<RunFigures> sequential;
    std::vector<RunFigures> pooled;
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(data);
        sequential.push_back(TimeAdd(data, mountPoint.string(), "1"));
        fs::remove_all(data);
        pooled.push_back(TimeAdd(data, mountPoint.string()));
    }
    fs::remove_all(data);
    const RunFigures one = MedianOf(sequential);
    const RunFigures pool = MedianOf(pooled);
    const std::string poolLabel = "add, default pool of " +
                                  std::to_string(sonarchive::cataloguing::kDefaultReaderThreads) +
                                  " (median of 3):";
    PrintRun("add, --jobs 1 (median of 3):", static_cast<std::size_t>(files), one);
    PrintRun(poolLabel.c_str(), static_cast<std::size_t>(files), pool);
    std::printf("%-44s %.2fx\n", "default pool against --jobs 1:",
                pool.seconds > 0 ? one.seconds / pool.seconds : 0.0);
    return one.exitCode == 0 && pool.exitCode == 0 ? 0 : 1;
#else
    static_cast<void>(delayMs);
    static_cast<void>(files);
    static_cast<void>(corpus);
    std::fprintf(stderr, "Built without libfuse3: benchmarks/add_files installs it.\n");
    return 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    int delayMs = -1;
    if (argc > 2 && std::strcmp(argv[1], "--slow") == 0) {
        delayMs = std::stoi(argv[2]);
        first = 3;
    }
    const int files = argc > first ? std::stoi(argv[first]) : (delayMs >= 0 ? 1000 : 5000);
    const std::string corpus =
        argc > first + 1
            ? argv[first + 1]
            : (fs::temp_directory_path() / ("sonarchive-corpus-" + std::to_string(files))).string();
    std::printf("Corpus: %d files in %s\n", files, corpus.c_str());
    if (!sonarchive::benchmarks::MakeCorpus(corpus, files)) {
        return 1;
    }
    return delayMs >= 0 ? RunSlow(delayMs, files, corpus) : RunWarm(files, corpus);
}
