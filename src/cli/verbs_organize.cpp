// rename, organize, duplicates: changing and comparing files by their tags from the command
// line.
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "catalog_store/catalog_rows.h"
#include "catalog_store/catalog_writer.h"
#include "catalog_store/sql_text.h"
#include "cataloguing/add_files.h"
#include "cataloguing/record_builder.h"
#include "cli/organize_interaction.h"
#include "cli/row_output.h"
#include "cli/verb_arguments.h"
#include "cli/verbs.h"
#include "organize/disk_organizer.h"
#include "organize/duplicates.h"
#include "organize/file_format.h"
#include "organize/rename_files.h"
#include "platform/drive_list.h"
#include "text/path_bytes.h"

namespace sonarchive::cli {
namespace {

using nlohmann::ordered_json;

void PrintJson(const ordered_json& object) {
    std::cout << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

catalog::IdList ParseIds(const std::vector<std::string>& words) {
    catalog::IdList ids;
    for (const auto& word : words) {
        std::size_t used = 0;
        std::int64_t id = 0;
        try {
            id = std::stoll(word, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != word.size() || id < 0) {
            throw UsageError{"\"" + word + "\" is no row id"};
        }
        ids.push_back(id);
    }
    return ids;
}

template <typename Choice>
Choice ParseChoice(const std::string& option, const std::string& word,
                   const std::vector<std::pair<std::string, Choice>>& choices) {
    std::string names;
    for (const auto& [name, choice] : choices) {
        if (name == word) {
            return choice;
        }
        names += (names.empty() ? "" : ", ") + name;
    }
    throw UsageError{"unknown " + option + " \"" + word + "\" (" + names + ")"};
}

int Rename(Arguments& arguments, CliContext& context) {
    const bool preview = arguments.TakeFlag("--preview");
    const bool json = arguments.TakeFlag("--json");
    const std::optional<std::string> format = arguments.TakeOption("--format");
    const catalog::IdList ids = ParseIds(arguments.Rest());
    if (ids.empty()) {
        throw UsageError{"rename needs row ids"};
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    OrganizeInteraction user(context.User(), false);
    organize::FileRenamer renamer(*catalog, context.Rules(), context.Registry(), context.General(),
                                  user);
    renamer.SetUpdateList(ids);
    const std::string used = format.value_or(organize::StoredRenameFormat(context.Registry()));
    if (preview) {
        for (const auto& record : renamer.UpdateList()) {
            const std::string name(organize::LastPathComponent(record.dPath));
            const std::string newName = organize::NewFileName(used, record);
            if (json) {
                PrintJson({{"Id", record.Id}, {"Filename", name}, {"NewFilename", newName}});
            } else {
                std::cout << text::PathForDisplay(name) << '\t' << text::PathForDisplay(newName)
                          << '\n';
            }
        }
        return kExitSuccess;
    }
    const organize::RenameOutcome outcome =
        renamer.Rename(used, [](const std::string& line) { std::cout << line << '\n'; });
    if (json) {
        for (const auto& record : renamer.UpdateList()) {
            PrintJson({{"Id", record.Id}, {"dPath", record.dPath}});
        }
    }
    return outcome.ran && outcome.failed == 0 ? kExitSuccess : kExitFailure;
}

void TakeOrganizerOptions(Arguments& arguments, organize::OrganizerSettings& s) {
    using organize::FileNaming;
    using organize::FolderNaming;
    if (const auto base = arguments.TakeOption("--base")) {
        // A folder given relative to where the command runs; a network address stays as typed.
        const bool relative = !base->empty() && (*base)[0] != '/';
        s.baseDir = relative ? AbsolutePathArgument(*base) : *base;
    }
    const bool copy = arguments.TakeFlag("--copy");
    const bool move = arguments.TakeFlag("--move");
    if (copy && move) {
        throw UsageError{"--copy and --move exclude each other"};
    }
    if (copy || move) {
        s.action = move ? organize::OrganizeAction::Move : organize::OrganizeAction::Copy;
    }
    if (arguments.TakeFlag("--remove-empty")) {
        s.removeEmptyFolders = true;
    }
    if (const auto folders = arguments.TakeOption("--folders")) {
        s.folders = ParseChoice<FolderNaming>("--folders", *folders,
                                              {{"artist", FolderNaming::Artist},
                                               {"artist-album", FolderNaming::ArtistAlbum},
                                               {"album", FolderNaming::Album},
                                               {"comment", FolderNaming::Comment},
                                               {"genre", FolderNaming::Genre},
                                               {"year", FolderNaming::Year},
                                               {"skip", FolderNaming::Skip}});
    }
    if (const auto names = arguments.TakeOption("--names")) {
        if (names->rfind("format:", 0) == 0) {
            s.names = FileNaming::Custom;
            s.customFormat = names->substr(7);
        } else {
            s.names = ParseChoice<FileNaming>("--names", *names,
                                              {{"keep", FileNaming::NoChanges},
                                               {"artist-title", FileNaming::ArtistTitle},
                                               {"title", FileNaming::Title}});
        }
    }
}

int Organize(Arguments& arguments, CliContext& context) {
    const bool preview = arguments.TakeFlag("--preview");
    const bool json = arguments.TakeFlag("--json");
    const bool all = arguments.TakeFlag("--all");
    const bool overwrite = arguments.TakeFlag("--overwrite");
    organize::OrganizerSettings settings;
    organize::ReadOrganizerSettings(context.Registry(), settings);
    TakeOrganizerOptions(arguments, settings);
    const catalog::IdList ids = ParseIds(arguments.Rest());
    if (all && !ids.empty()) {
        throw UsageError{"--all and row ids exclude each other"};
    }
    if (all || !ids.empty()) {
        settings.range =
            all ? organize::OrganizeRange::AllFiles : organize::OrganizeRange::SelectedFiles;
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    OrganizeInteraction user(context.User(), overwrite);
    platform::ReachableHosts hosts;
    catalog::CatalogInserter inserter(
        *catalog, context.Rules(), context.RecordReader(),
        [&hosts](const std::string& host) { hosts.RegisterHost(host); });
    cataloguing::FileAdder adder(*catalog, context.Rules(), context.Mounts(), inserter, user);
    organize::DiskOrganizer organizer(
        *catalog, context.Rules(), context.Mounts(), context.Registry(), context.General(), user,
        adder, [&hosts](const std::string& host) { hosts.RegisterHost(host); });
    std::ostream& messages = json ? std::cerr : std::cout;
    const organize::OrganizeMode mode = preview ? organize::OrganizeMode::Preview
                                                : (settings.action == organize::OrganizeAction::Move
                                                       ? organize::OrganizeMode::Move
                                                       : organize::OrganizeMode::Copy);
    const organize::OrganizeOutcome outcome = organizer.Run(
        settings, mode, ids.empty() ? std::nullopt : std::optional<catalog::IdList>(ids),
        {nullptr,
         [&messages](const organize::OrganizerMessage& m) { messages << m.Text(false) << '\n'; }});
    for (const auto& line : outcome.preview) {
        if (json) {
            PrintJson({{"NewPath", line.newPath}, {"OldPath", line.oldPath}});
        } else {
            std::cout << text::PathForDisplay(line.newPath) << '\t'
                      << text::PathForDisplay(line.oldPath) << '\n';
        }
    }
    return outcome.started && !outcome.cancelled && outcome.failed == 0 ? kExitSuccess
                                                                        : kExitFailure;
}

organize::DuplicateFields ParseFields(const std::string& list) {
    organize::DuplicateFields fields;
    std::stringstream words(list);
    for (std::string word; std::getline(words, word, ',');) {
        bool& field = *ParseChoice<bool*>("field", word,
                                          {{"artist", &fields.artist},
                                           {"title", &fields.title},
                                           {"album", &fields.album},
                                           {"track", &fields.track},
                                           {"size", &fields.size}});
        field = true;
    }
    return fields;
}

int Duplicates(Arguments& arguments, CliContext& context) {
    using organize::DuplicateMethod;
    const bool json = arguments.TakeFlag("--json");
    const std::optional<std::string> method = arguments.TakeOption("--method");
    const std::optional<std::string> fieldList = arguments.TakeOption("--fields");
    if (!arguments.Rest().empty()) {
        throw UsageError{"duplicates takes no arguments"};
    }
    const DuplicateMethod chosen =
        method
            ? ParseChoice<DuplicateMethod>(
                  "method", *method,
                  {{"bit-pattern", DuplicateMethod::BitPattern},
                   {"filename", DuplicateMethod::Filename},
                   {"size", DuplicateMethod::Size},
                   {"artist-title", DuplicateMethod::ArtistTitle},
                   {"artist-title-album", DuplicateMethod::ArtistTitleAlbum},
                   {"custom", DuplicateMethod::Custom}})
            : static_cast<DuplicateMethod>(organize::ReadLastDuplicateMethod(context.Registry()));
    if (fieldList.has_value() != (chosen == DuplicateMethod::Custom)) {
        throw UsageError{"--fields goes with --method custom, and only with it"};
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    platform::ReachableHosts& hosts = context.CheckedHosts();
    organize::DuplicateSearch found;
    switch (chosen) {
        case DuplicateMethod::BitPattern:
            found = organize::FindBitPatternDuplicates(
                catalog->Engine(), context.Rules(), platform::BuildLocalDriveList(context.Mounts()),
                hosts.Hosts(), context.User(), {});
            std::cerr << "Counter: " << found.comparisons << "\n";
            break;
        case DuplicateMethod::Filename:
            found = organize::FindFileNameDuplicates(catalog->Engine());
            break;
        default:
            found = organize::FindTagDuplicates(
                catalog->Engine(),
                fieldList ? ParseFields(*fieldList) : organize::FieldsOfMethod(chosen),
                context.User());
            break;
    }
    bool header = true;
    for (const organize::DuplicateRow& row : found.rows) {
        catalog::Query rows(catalog->Engine(), catalog::StandardSelectById(row.id));
        PrintRows(rows, context.Rules(), hosts, json, std::cout,
                  {{{"Group", [&row](const catalog::Query&) { return std::int64_t{row.group}; }}},
                   header});
        header = false;
    }
    return found.cancelled ? kExitFailure : kExitSuccess;
}

}  // namespace

void AddOrganizeVerbs(std::vector<Verb>& verbs) {
    verbs.push_back(
        {"rename", "rename files from their tags by a file-name format",
         "Usage: sonarchive-cli [--data-dir DIR] rename [--format F] [--preview] [--json]\n"
         "                      [--yes] ID...\n\n"
         "Renames the files of the rows ID... to the value of the format F (default: the\n"
         "desktop program's last one), keeping folder and extension: %0 Artist, %1 Title,\n"
         "%2 Album, %3 Track, %4 Genre, %5 Comment, %6 Filename, %7 Year, %8 Composer.\n"
         "A file is never renamed over another one. --preview prints every file's name and\n"
         "new name and changes nothing. The run is confirmed first: --yes confirms, and\n"
         "without a terminal nothing is renamed. Exit status 1 when a file failed.\n",
         Rename});
    verbs.push_back(
        {"organize", "copy or move files into a folder tree named from their tags",
         "Usage: sonarchive-cli [--data-dir DIR] organize [--base DIR] [--copy|--move]\n"
         "          [--remove-empty] [--folders "
         "artist|artist-album|album|comment|genre|year|skip]\n"
         "          [--names keep|artist-title|title|format:F] [--all|ID...] [--preview]\n"
         "          [--json] [--overwrite] [--yes]\n\n"
         "Copies or moves the files of the rows ID... (or of every row, --all) below DIR,\n"
         "in folders and under names made from their tags; the archive follows. Options\n"
         "left out are taken from the desktop program's File Organizer (never changed\n"
         "here). --preview prints every new and old path and changes nothing (--json: one\n"
         "object with NewPath and OldPath per line). The run is confirmed first: --yes\n"
         "confirms. An existing file is replaced only when answered at the terminal or\n"
         "with --overwrite. Exit status 1 when a file failed.\n",
         Organize});
    verbs.push_back(
        {"duplicates", "find possible duplicates by tags, size, name or content",
         "Usage: sonarchive-cli [--data-dir DIR] duplicates\n"
         "          [--method bit-pattern|filename|size|artist-title|artist-title-album|custom]\n"
         "          [--fields artist,title,album,track,size] [--json]\n\n"
         "Prints the rows of every group of possible duplicates, as list does, with the\n"
         "group number in \"Group\". custom compares the --fields given. bit-pattern compares\n"
         "the audio of every file that can be reached now and prints the number of\n"
         "comparisons to standard error. Without --method the desktop program's last one\n"
         "is used.\n",
         Duplicates});
}

}  // namespace sonarchive::cli
