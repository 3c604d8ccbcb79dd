// Times "sonarchive-cli tag set --field Comment" over every row of a catalogued MP3 corpus,
// twice, beside mutagen setting the same comment in the same files from one Python process,
// and prints files per second, the ratio, and how many files each run rewrote whole (a new
// inode: the file was rebuilt rather than its tag written in place).
//
//   mass_update_benchmark [FILES] [CORPUS-FOLDER]
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "benchmark_corpus.h"
#include "benchmark_run.h"
#include "catalog_store/catalog.h"

namespace {

namespace fs = std::filesystem;
using sonarchive::benchmarks::RunFigures;

// Debian's mutagen belongs to the system's Python, whatever python3 the PATH finds first.
// Sets one comment in every listed file with mutagen, keeping the tags at version 2.3 and the
// text in ISO-8859-1, as the catalog's writer does.
constexpr const char* kMutagenScript = R"(import sys
from mutagen.id3 import ID3, COMM
value = sys.argv[1]
with open(sys.argv[2], encoding="utf-8") as listing:
    paths = listing.read().splitlines()
for path in paths:
    tag = ID3(path)
    tag.setall("COMM", [COMM(encoding=0, lang="eng", desc="", text=[value])])
    tag.save(path, v2_version=3)
)";

std::map<std::string, ino_t> Inodes(const std::vector<std::string>& files) {
    std::map<std::string, ino_t> inodes;
    for (const std::string& file : files) {
        struct stat st {};
        ::stat(file.c_str(), &st);
        inodes[file] = st.st_ino;
    }
    return inodes;
}

// Files whose inode changed since `before`, which then holds the new inodes.
int Rewritten(std::map<std::string, ino_t>& before) {
    int count = 0;
    for (auto& [file, inode] : before) {
        struct stat st {};
        ::stat(file.c_str(), &st);
        count += st.st_ino != inode ? 1 : 0;
        inode = st.st_ino;
    }
    return count;
}

void Report(const char* label, std::size_t files, const RunFigures& run, int rewritten) {
    sonarchive::benchmarks::PrintRun(label, files, run);
    std::printf("%-36s %9d files rewritten whole\n", "", rewritten);
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::stoi(argv[1]) : 1000;
    const std::string corpus =
        argc > 2 ? argv[2]
                 : (fs::temp_directory_path() / ("sonarchive-mp3-corpus-" + std::to_string(count)))
                       .string();
    std::printf("Corpus: %d MP3 files in %s\n", count, corpus.c_str());
    if (!sonarchive::benchmarks::MakeMp3Corpus(corpus, count)) {
        return 1;
    }
    // The runs work on a copy, with a catalog and settings of their own.
    const fs::path work =
        fs::temp_directory_path() / ("sonarchive-mass-update-" + std::to_string(::getpid()));
    fs::remove_all(work);
    fs::create_directories(work / "config");
    fs::copy(corpus, work / "files", fs::copy_options::recursive);
    fs::remove_all(work / "files" / ".pool");
    ::setenv("SONARCHIVE_CONFIG_DIR", (work / "config").c_str(), 1);
    const std::string data = (work / "data").string();

    const RunFigures added =
        sonarchive::benchmarks::TimeCli({"--data-dir", data, "add", (work / "files").string()});
    std::vector<std::string> ids;
    {
        sonarchive::catalog::Catalog catalog(data);
        for (sonarchive::catalog::Query row(catalog.Engine(),
                                            "select id from maindata order by id");
             !row.AtEnd(); row.Next()) {
            ids.push_back(std::to_string(row[0].AsInteger()));
        }
    }
    if (added.exitCode != 0 || ids.size() != static_cast<std::size_t>(count)) {
        std::fprintf(stderr, "cataloguing the corpus failed (%zu rows)\n", ids.size());
        return 1;
    }
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(work / "files")) {
        if (entry.path().extension() == ".mp3") {
            paths.push_back(entry.path().string());
        }
    }
    const std::string listing = (work / "files.txt").string();
    {
        std::ofstream out(listing);
        for (const std::string& path : paths) {
            out << path << '\n';
        }
    }
    const std::string script = (work / "set_comment.py").string();
    std::ofstream(script) << kMutagenScript;
    sonarchive::benchmarks::WarmCache((work / "files").string());

    std::map<std::string, ino_t> inodes = Inodes(paths);
    bool ok = true;
    for (int round = 1; round <= 2; ++round) {
        const std::string comment = "Comment of the benchmark, round " + std::to_string(round);
        std::vector<std::string> set = {"--data-dir", data,      "--yes",   "tag",  "set",
                                        "--field",    "Comment", "--value", comment};
        set.insert(set.end(), ids.begin(), ids.end());
        const RunFigures ours = sonarchive::benchmarks::TimeCli(set);
        Report(("tag set, round " + std::to_string(round) + ":").c_str(), ids.size(), ours,
               Rewritten(inodes));
        const RunFigures theirs =
            sonarchive::benchmarks::TimeProgram({"/usr/bin/python3", script, comment, listing});
        Report(("mutagen, round " + std::to_string(round) + ":").c_str(), paths.size(), theirs,
               Rewritten(inodes));
        std::printf("%-36s %9.2f (mutagen's time / ours)\n",
                    "ratio:", theirs.seconds / ours.seconds);
        ok = ok && ours.exitCode == 0 && theirs.exitCode == 0;
    }
    fs::remove_all(work);
    return ok ? 0 : 1;
}
