// Times "sonarchive-cli duplicates --method bit-pattern" on files of distinct audio, 5% of them
// copies under other tags, beside one process that merely reads every file's 30000-byte
// signature; prints both, their ratio and the peak memory. On the first 500 files it checks
// that the groups are those of the plain pairwise search.
//
//   duplicates_benchmark [FILES] [CORPUS-FOLDER]
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "benchmark_catalog.h"
#include "benchmark_run.h"
#include "catalog_store/catalog.h"
#include "catalog_store/path_rules.h"
#include "cataloguing/reachable_files.h"
#include "organize/audio_signature.h"
#include "organize/bit_pattern.h"
#include "platform/drive_list.h"
#include "platform/proc_mount_table.h"

namespace {

namespace fs = std::filesystem;
using namespace sonarchive;
using benchmarks::BenchmarkRow;

constexpr std::size_t kAudioBytes = 40000;

std::string RandomAudio(unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(kAudioBytes, '\0');
    for (auto& b : bytes) {
        b = static_cast<char>(random() & 0xFF);
    }
    bytes.replace(0, 4, "\xFF\xFB\x90\x64");
    return bytes;
}

// An ID3v2.3 tag of `padding` bytes, with a 40 KB picture when asked: copies of one song
// start their audio at other offsets.
std::string Tag(std::size_t padding, bool picture) {
    const std::size_t body = padding + (picture ? 40 * 1024 : 0);
    std::string tag = "ID3\x03";
    tag += std::string(2, '\0');
    for (int shift = 21; shift >= 0; shift -= 7) {
        tag += static_cast<char>((body >> shift) & 0x7F);
    }
    return tag + std::string(body, picture ? '\x5A' : '\0');
}

// Every 20th file is a copy of the file 7 places before it under another tag.
std::vector<BenchmarkRow> MakeFiles(const std::string& folder, int count) {
    fs::create_directories(folder);
    std::vector<BenchmarkRow> rows;
    for (int i = 0; i < count; ++i) {
        const bool copy = i % 20 == 19;
        const unsigned song = static_cast<unsigned>(copy ? i - 7 : i);
        const std::string path = folder + "/" + std::to_string(i) + ".mp3";
        if (!fs::exists(path)) {
            std::ofstream(path, std::ios::binary)
                << Tag(256 + static_cast<std::size_t>(i % 13) * 300, i % 10 == 3) +
                       RandomAudio(song);
        }
        rows.push_back(
            {path, "Artist " + std::to_string(i % 97), "Title " + std::to_string(i), "Album"});
    }
    return rows;
}

// Wall time of a child process that reads every file's signature and nothing else.
double TimeReadingSignatures(const std::vector<BenchmarkRow>& rows) {
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        std::size_t total = 0;
        for (const auto& row : rows) {
            total += organize::ReadSignature(row.fullPath).size();
        }
        ::_exit(total > 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class FileSignatures : public organize::SignatureSource {
public:
    explicit FileSignatures(const std::vector<cataloguing::ReachableFile>& files) : files_(files) {}
    std::size_t Count() const override { return files_.size(); }
    std::string Signature(std::size_t index) override {
        return organize::ReadSignature(files_[index].FullPath);
    }

private:
    const std::vector<cataloguing::ReachableFile>& files_;
};

// The reachable-file list of a catalog, in the order the duplicate finder takes it.
std::vector<cataloguing::ReachableFile> ReachableFilesOf(const std::string& dataDirectory) {
    catalog::Catalog catalog(dataDirectory);
    platform::ProcMountTable mounts;
    catalog::PosixPathRules rules(mounts);
    return cataloguing::ReachableFiles(catalog.Engine(), rules,
                                       platform::BuildLocalDriveList(mounts), {});
}

// Group number by row id, as the command printed them.
std::map<std::int64_t, int> GroupsPrinted(const std::string& jsonLines) {
    std::map<std::int64_t, int> groups;
    std::ifstream in(jsonLines);
    for (std::string line; std::getline(in, line);) {
        const auto row = nlohmann::json::parse(line);
        groups[row["Id"].get<std::int64_t>()] = row["Group"].get<int>();
    }
    return groups;
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::stoi(argv[1]) : 5000;
    const std::string corpus =
        argc > 2 ? argv[2]
                 : (fs::temp_directory_path() / ("sonarchive-duplicates-" + std::to_string(files)))
                       .string();
    const fs::path work =
        fs::temp_directory_path() / ("sonarchive-dup-bench-" + std::to_string(::getpid()));
    fs::remove_all(work);
    std::printf("Corpus: %d files of distinct audio (every 20th a copy under another tag) in %s\n",
                files, corpus.c_str());
    const std::vector<BenchmarkRow> rows = MakeFiles(corpus, files);
    if (!benchmarks::WriteCatalog((work / "all").string(), rows)) {
        return 1;
    }
    benchmarks::WarmCache(corpus);

    const double reading = TimeReadingSignatures(rows);
    const std::string output = (work / "groups.json").string();
    const benchmarks::RunFigures run = benchmarks::TimeCli(
        {"--data-dir", (work / "all").string(), "duplicates", "--method", "bit-pattern", "--json"},
        output);
    const auto printed = GroupsPrinted(output);
    std::printf("%-44s %7.3f s\n", "reading every signature (one process):", reading);
    std::printf("%-44s %7.3f s  peak %6.1f MB  %zu rows listed%s\n",
                "duplicates --method bit-pattern:", run.seconds, run.peakKilobytes / 1024.0,
                printed.size(), run.exitCode == 0 ? "" : "  (the command failed)");
    std::printf("%-44s %7.1f x (target: at most 20 x)\n", "ratio:", run.seconds / reading);

    // The plain pairwise search on the first 500 files gives the groups the command prints.
    const std::vector<BenchmarkRow> few(rows.begin(), rows.begin() + std::min(files, 500));
    if (!benchmarks::WriteCatalog((work / "few").string(), few)) {
        return 1;
    }
    benchmarks::TimeCli(
        {"--data-dir", (work / "few").string(), "duplicates", "--method", "bit-pattern", "--json"},
        output);
    const std::vector<cataloguing::ReachableFile> reachable =
        ReachableFilesOf((work / "few").string());
    FileSignatures source(reachable);
    const auto plainStart = std::chrono::steady_clock::now();
    const organize::BitPatternResult plain = organize::PlainBitPatternSearch(source);
    const double plainSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - plainStart).count();
    std::map<std::int64_t, int> expected;
    for (std::size_t g = 0; g < plain.groups.size(); ++g) {
        for (const std::size_t index : plain.groups[g]) {
            expected[reachable[index].Id] = static_cast<int>(g) + 1;
        }
    }
    const bool same = expected == GroupsPrinted(output);
    std::printf("%-44s %s (%zu groups; the plain search alone took %.2f s)\n",
                "500 files, groups equal to the plain search:", same ? "yes" : "NO",
                plain.groups.size(), plainSeconds);
    fs::remove_all(work);
    return run.exitCode == 0 && same ? 0 : 1;
}
