// Running the command-line program from a benchmark and measuring it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sonarchive::benchmarks {

struct RunFigures {
    double seconds = 0;
    long peakKilobytes = 0;
    int exitCode = -1;
};

// Runs sonarchive-cli with the arguments, its standard output to /dev/null (or to
// `outputFile`), measuring wall time and the child's peak resident memory.
RunFigures TimeCli(const std::vector<std::string>& arguments, const std::string& outputFile = {});
// The same for any program (looked up on the PATH); `words` begins with its name.
RunFigures TimeProgram(std::vector<std::string> words, const std::string& outputFile = {});

// One line: files per second, seconds and peak memory of a run.
void PrintRun(const char* label, std::size_t files, const RunFigures& run);

// Reads every file below the folder once, so the runs find it in the page cache.
void WarmCache(const std::string& folder);

}  // namespace sonarchive::benchmarks
