// Times "sonarchive-cli organize" moving a corpus within one filesystem into an artist/album
// tree beside a bare rename(2) loop over the same files, and its preview; prints files per
// second, the ratio and the peak memory.
//
//   organize_benchmark [FILES] [CORPUS-FOLDER]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "benchmark_catalog.h"
#include "benchmark_corpus.h"
#include "benchmark_run.h"

namespace {

namespace fs = std::filesystem;
using namespace sonarchive::benchmarks;

// The corpus's files linked into one folder, each with the tags of its place in the corpus.
std::vector<BenchmarkRow> LinkIncoming(const std::string& corpus, const std::string& incoming) {
    fs::create_directories(incoming);
    std::vector<BenchmarkRow> rows;
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
        const fs::path& path = entry.path();
        if (!entry.is_regular_file() || path.string().find("/.") != std::string::npos) {
            continue;
        }
        const std::string name = std::to_string(rows.size()) + path.extension().string();
        fs::create_hard_link(path, incoming + "/" + name);
        rows.push_back({incoming + "/" + name, path.parent_path().parent_path().filename(),
                        path.stem().string(), path.parent_path().filename()});
    }
    return rows;
}

double SecondsOfRenames(const std::vector<BenchmarkRow>& rows, const std::string& folder) {
    fs::create_directories(folder);
    const auto start = std::chrono::steady_clock::now();
    for (const auto& row : rows) {
        const std::string target = folder + "/" + fs::path(row.fullPath).filename().string();
        if (::rename(row.fullPath.c_str(), target.c_str()) != 0) {
            std::perror("rename");
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const auto& row : rows) {  // back where the organizer finds them
        const std::string moved = folder + "/" + fs::path(row.fullPath).filename().string();
        ::rename(moved.c_str(), row.fullPath.c_str());
    }
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::stoi(argv[1]) : 5000;
    const std::string corpus =
        argc > 2
            ? argv[2]
            : (fs::temp_directory_path() / ("sonarchive-corpus-" + std::to_string(files))).string();
    if (!MakeCorpus(corpus, files)) {
        return 1;
    }
    const fs::path work =
        fs::temp_directory_path() / ("sonarchive-organize-bench-" + std::to_string(::getpid()));
    fs::remove_all(work);
    const std::vector<BenchmarkRow> rows = LinkIncoming(corpus, (work / "in").string());
    std::printf("Corpus: %zu files from %s, moved within one filesystem\n", rows.size(),
                corpus.c_str());
    const std::string data = (work / "data").string();
    if (!WriteCatalog(data, rows)) {
        return 1;
    }
    fs::create_directories(work / "out");
    const std::vector<std::string> organize = {
        "--data-dir", data,           "--yes",   "organize",     "--base", (work / "out").string(),
        "--folders",  "artist-album", "--names", "artist-title", "--all"};

    const double bare = SecondsOfRenames(rows, (work / "bare").string());
    // The first start on a new catalog finishes setting it up; warm figures come after it.
    TimeCli({"--data-dir", data, "count"});
    std::vector<std::string> preview = organize;
    preview.push_back("--preview");
    RunFigures previewRun = TimeCli(preview);
    for (int run = 1; run < 3; ++run) {  // the best of three: the machine is shared
        const RunFigures again = TimeCli(preview);
        if (again.seconds < previewRun.seconds) {
            previewRun = again;
        }
    }
    std::vector<std::string> move = organize;
    move.push_back("--move");
    const RunFigures moveRun = TimeCli(move);

    std::printf("%-36s %9.0f files/s  %7.3f s\n", "bare rename(2) loop:", rows.size() / bare, bare);
    PrintRun("organize --move (artist/album):", rows.size(), moveRun);
    std::printf("%-36s %9.2f (target: at least 0.33)\n",
                "rate of organize / bare rename:", bare / moveRun.seconds);
    PrintRun("organize --preview:", rows.size(), previewRun);
    fs::remove_all(work);
    return previewRun.exitCode == 0 && moveRun.exitCode == 0 ? 0 : 1;
}
