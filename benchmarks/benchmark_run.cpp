#include "benchmark_run.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace sonarchive::benchmarks {

namespace fs = std::filesystem;

RunFigures TimeCli(const std::vector<std::string>& arguments, const std::string& outputFile) {
    std::vector<std::string> words = {SONARCHIVE_CLI};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return TimeProgram(words, outputFile);
}

RunFigures TimeProgram(std::vector<std::string> words, const std::string& outputFile) {
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::fflush(stdout);  // the child must not print what the parent has buffered
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen(outputFile.empty() ? "/dev/null" : outputFile.c_str(), "w", stdout);
        ::execvp(argv[0], argv.data());
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

void PrintRun(const char* label, std::size_t files, const RunFigures& run) {
    std::printf("%-36s %9.0f files/s  %7.3f s  peak %6.1f MB%s\n", label,
                static_cast<double>(files) / run.seconds, run.seconds, run.peakKilobytes / 1024.0,
                run.exitCode == 0 ? "" : "  (the command reported a failure)");
}

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

}  // namespace sonarchive::benchmarks
