// add, check, reread, list: keeping the catalog true to the disks from the command line.
#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "catalog_store/catalog_rows.h"
#include "catalog_store/catalog_writer.h"
#include "catalog_store/sql_text.h"
#include "cataloguing/add_files.h"
#include "cataloguing/archive_check.h"
#include "cataloguing/tag_reread.h"
#include "cli/row_output.h"
#include "cli/verbs.h"
#include "platform/drive_list.h"
#include "text/path_bytes.h"

namespace sonarchive::cli {
namespace {

cataloguing::FormatSelection ParseFormats(const std::string& list) {
    cataloguing::FormatSelection formats;
    std::stringstream words(list);
    for (std::string word; std::getline(words, word, ',');) {
        if (word == "all") {
            formats.all = true;
        } else if (word == "mp3") {
            formats.mp3 = true;
        } else if (word == "ogg") {
            formats.ogg = true;
        } else if (word == "monkey" || word == "ape" || word == "mac") {
            formats.monkey = true;
        } else if (word == "wav") {
            formats.wave = true;
        } else {
            throw UsageError{"unknown format \"" + word + "\" (all, mp3, ogg, monkey, wav)"};
        }
    }
    return formats;
}

// --jobs N: how many files are read at once; the pool's default without it.
unsigned TakeJobs(Arguments& arguments) {
    const std::optional<std::string> jobs = arguments.TakeOption("--jobs");
    if (!jobs) {
        return cataloguing::kDefaultReaderThreads;
    }
    unsigned value = 0;
    const char* end = jobs->data() + jobs->size();
    const auto [stop, error] = std::from_chars(jobs->data(), end, value);
    if (error != std::errc() || stop != end || value < 1 ||
        value > cataloguing::kMaxReaderThreads) {
        throw UsageError{"--jobs needs a number from 1 to " +
                         std::to_string(cataloguing::kMaxReaderThreads)};
    }
    return value;
}

// The counters while an add runs, on one terminal line.
cataloguing::AddObserver TerminalProgress() {
    if (::isatty(STDERR_FILENO) != 1) {
        return {nullptr, nullptr,
                [](const std::string& line) { std::cerr << text::PathForDisplay(line) << '\n'; }};
    }
    return {[](const cataloguing::VolumeIdentity& volume) {
                std::cerr << "\rScanning " << text::PathForDisplay(volume.letter) << " ("
                          << volume.typeName << ", " << volume.serial << ")\x1b[K\n";
            },
            [](const cataloguing::AddCounters& c) {
                std::cerr << "\rFiles found: " << c.found << "  added: " << c.added
                          << "  already in archive: " << c.alreadyInArchive
                          << "  invalid: " << c.invalid << "\x1b[K" << std::flush;
            },
            [](const std::string& line) {
                std::cerr << "\r" << text::PathForDisplay(line) << "\x1b[K\n";
            }};
}

int Add(Arguments& arguments, CliContext& context) {
    const bool allDrives = arguments.TakeFlag("--all-drives");
    const bool recurse = !arguments.TakeFlag("--no-subfolders");
    const bool json = arguments.TakeFlag("--json");
    const unsigned jobs = TakeJobs(arguments);
    const auto masks = cataloguing::ExtensionMasks(
        ParseFormats(arguments.TakeOption("--formats").value_or("all")));
    const std::vector<std::string> targets = arguments.Rest();
    if (allDrives != targets.empty()) {
        throw UsageError{"add needs folders or files, or --all-drives"};
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    // Only the printed rows need to know which hosts answer; checking them costs time.
    platform::ReachableHosts unchecked;
    platform::ReachableHosts& hosts = json ? context.CheckedHosts() : unchecked;
    catalog::CatalogInserter inserter(
        *catalog, context.Rules(),
        context.RecordReader(),
        [&hosts](const std::string& host) { hosts.RegisterHost(host); });
    cataloguing::FileAdder adder(*catalog, context.Rules(), context.Mounts(), inserter,
                                 context.User(), TerminalProgress());
    adder.SetReaderThreads(jobs);

    bool refused = false;
    std::vector<std::string> files;
    if (allDrives) {
        adder.AddFromAllDrives(masks);
    }
    for (const auto& target : targets) {
        std::error_code error;
        const bool isFolder = std::filesystem::is_directory(
            text::PathToSystem(context.Rules().ResolveTypedFolder(target)), error);
        if (isFolder) {
            refused = !adder.AddFromFolder(target, recurse, masks) || refused;
        } else {
            files.push_back(target);
        }
    }
    if (!files.empty()) {
        adder.AddDroppedFiles(files);
    }
    if (::isatty(STDERR_FILENO) == 1) {
        std::cerr << "\r\x1b[K";
    }
    const cataloguing::AddCounters& totals = adder.Totals();
    std::ostream& counters = json ? std::cerr : std::cout;
    counters << "Files found: " << totals.found << "\nFiles added: " << totals.added
             << "\nFiles already in archive: " << totals.alreadyInArchive
             << "\nInvalid files: " << totals.invalid << "\n";
    if (json) {
        catalog::Query added(catalog->Engine(),
                             catalog::StandardSelectSinceId(adder.FirstIdBefore()));
        PrintRows(added, context.Rules(), hosts, true, std::cout);
    }
    return refused || adder.Cancelled() ? kExitFailure : kExitSuccess;
}

bool StoredCheck(catalog::Registry& registry, const std::string& name, bool formDefault) {
    const std::int64_t value = registry.ReadRegInteger(name);
    return value < 0 ? formDefault : value == 1;
}

int Check(Arguments& arguments, CliContext& context) {
    cataloguing::CheckOptions options{arguments.TakeFlag("--fixed"),
                                      arguments.TakeFlag("--network"),
                                      arguments.TakeFlag("--individual")};
    if (!arguments.Rest().empty()) {
        throw UsageError{"check takes no arguments"};
    }
    if (!options.fixedDrives && !options.networkComputers && !options.individualFiles) {
        options = {StoredCheck(context.Registry(), "CHECK_FIXED_DRIVES", true),
                   StoredCheck(context.Registry(), "CHECK_NETWORK_COMPUTERS", false),
                   StoredCheck(context.Registry(), "CHECK_INDIVIDUAL_FILES", false)};
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    const std::vector<std::string> hosts = options.networkComputers || options.individualFiles
                                               ? context.CheckedHosts().Hosts()
                                               : std::vector<std::string>{};
    cataloguing::ArchiveCheck check(*catalog, context.Rules(), context.User(),
                                    [](const std::string& line) { std::cout << line << '\n'; });
    check.Run(options, platform::BuildLocalDriveList(context.Mounts()), hosts);
    return kExitSuccess;
}

int Reread(Arguments& arguments, CliContext& context) {
    const unsigned jobs = TakeJobs(arguments);
    if (!arguments.Rest().empty()) {
        throw UsageError{"reread takes no arguments"};
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    context.CheckedHosts();
    cataloguing::TagReread reread(
        *catalog, context.Rules(), context.User(),
        [preferences = context.Preferences()](const std::string& path,
                                              catalog::TMainDataRecComplete& record) {
            return cataloguing::RereadFileRecord(path, preferences, record);
        },
        [](const std::string& line) { std::cout << line << '\n'; });
    reread.SetReaderThreads(jobs);
    return reread.Run() ? kExitSuccess : kExitFailure;
}

int List(Arguments& arguments, CliContext& context) {
    const bool json = arguments.TakeFlag("--json");
    const std::optional<std::string> since = arguments.TakeOption("--since-id");
    if (!arguments.Rest().empty()) {
        throw UsageError{"list takes no arguments"};
    }
    std::int64_t sinceId = 0;
    if (since) {
        std::size_t used = 0;
        try {
            sinceId = std::stoll(*since, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != since->size()) {
            throw UsageError{"--since-id needs a number"};
        }
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    const platform::ReachableHosts& hosts = context.CheckedHosts();
    catalog::Query rows(catalog->Engine(), since ? catalog::StandardSelectSinceId(sinceId)
                                                 : catalog::StandardSelectAll());
    PrintRows(rows, context.Rules(), hosts, json, std::cout);
    return kExitSuccess;
}

}  // namespace

void AddCataloguingVerbs(std::vector<Verb>& verbs) {
    verbs.push_back(
        {"add", "add folders, files or every local drive to the archive",
         "Usage: sonarchive-cli [--data-dir DIR] add [--formats LIST|all] [--no-subfolders]\n"
         "                      [--jobs N] [--json] FOLDER|FILE...\n"
         "       sonarchive-cli [--data-dir DIR] add [--formats LIST|all] [--jobs N]\n"
         "                      --all-drives\n\n"
         "Folders are searched with their subfolders (unless --no-subfolders) for files of\n"
         "the formats in LIST (comma-separated: mp3, ogg, monkey, wav; default all); files\n"
         "are added one by one. Hidden files and folders are skipped. Prints the counters\n"
         "and a line for every file that could not be added; with --json the counters go\n"
         "to standard error and the added rows are printed as JSON, one object per line.\n"
         "Ctrl+C cancels between files; the files added so far stay in the archive.\n"
         "--jobs N reads up to N files of a folder at once (1 to 16, default " +
             std::to_string(cataloguing::kDefaultReaderThreads) +
             "), which pays on\n"
             "network shares and USB disks; --jobs 1 reads one file after another. The archive\n"
             "ends the same either way.\n",
         Add});
    verbs.push_back(
        {"check", "remove rows whose files can no longer exist",
         "Usage: sonarchive-cli [--data-dir DIR] check [--fixed] [--network] [--individual]\n"
         "                      [--yes]\n\n"
         "--fixed: rows of fixed drives that are no longer there; --network: rows of network\n"
         "hosts that do not answer; --individual: rows of present volumes whose file is gone.\n"
         "Without options the choices saved by the desktop program are used. Every deletion\n"
         "is asked first; --yes answers Yes, and without a terminal nothing is deleted.\n"
         "Collection members whose file row is gone are always removed.\n",
         Check});
    verbs.push_back({"reread", "read the tags of every reachable file again",
                     "Usage: sonarchive-cli [--data-dir DIR] reread [--jobs N]\n\n"
                     "Reads every file of the archive that can be reached now and rewrites its\n"
                     "tag and stream columns and its file date. Ctrl+C cancels. --jobs N reads\n"
                     "up to N files at once (1 to 16), as add does.\n",
                     Reread});
    verbs.push_back(
        {"list", "print the rows of the archive",
         "Usage: sonarchive-cli [--data-dir DIR] list [--since-id N] [--json]\n\n"
         "Prints every row (or the rows with an id above N) with the columns of the result\n"
         "lists and FullPath, where the file can be opened now (empty when its volume is\n"
         "not mounted or its network host does not answer). With --json, one object per\n"
         "line.\n",
         List});
}

}  // namespace sonarchive::cli
