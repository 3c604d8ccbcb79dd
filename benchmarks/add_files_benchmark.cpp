// Times "sonarchive-cli add" of a corpus into an empty catalog, then again with every file
// already catalogued, and prints files per second, seconds and the peak memory of each run.
//
//   add_files_benchmark [FILES] [CORPUS-FOLDER]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "benchmark_corpus.h"

namespace {

namespace fs = std::filesystem;

struct RunFigures {
    double seconds = 0;
    long peakKilobytes = 0;
    int exitCode = -1;
};

// Runs the command-line program with its output to /dev/null, measuring wall time and the
// child's peak resident memory.
RunFigures TimeCli(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    std::vector<std::string> words = {SONARCHIVE_CLI};
    words.insert(words.end(), arguments.begin(), arguments.end());
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    RunFigures figures;
    figures.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.peakKilobytes = usage.ru_maxrss;
    figures.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return figures;
}

// Reads every file once so that both runs find the corpus in the page cache.
void WarmCache(const std::string& folder) {
    std::vector<char> buffer(1 << 20);
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
            }
        }
    }
}

void Print(const char* label, int files, const RunFigures& run) {
    std::printf("%-34s %8.0f files/s  %7.2f s  peak %6.1f MB%s\n", label, files / run.seconds,
                run.seconds, run.peakKilobytes / 1024.0,
                run.exitCode == 0 ? "" : "  (the add reported a failure)");
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::stoi(argv[1]) : 5000;
    const std::string corpus =
        argc > 2 ? argv[2] : (fs::temp_directory_path() / ("sonarchive-corpus-" + std::to_string(files))).string();
    std::printf("Corpus: %d files in %s\n", files, corpus.c_str());
    if (!sonarchive::benchmarks::MakeCorpus(corpus, files)) {
        return 1;
    }
    WarmCache(corpus);
    const fs::path data = fs::temp_directory_path() / ("sonarchive-bench-" + std::to_string(::getpid()));
    fs::remove_all(data);
    const std::vector<std::string> add = {"--data-dir", data.string(), "add", "--formats", "all",
                                          corpus};
    const RunFigures first = TimeCli(add);
    const RunFigures again = TimeCli(add);
    Print("add into an empty catalog:", files, first);
    Print("add again (all already catalogued):", files, again);
    fs::remove_all(data);
    return first.exitCode == 0 && again.exitCode == 0 ? 0 : 1;
}
