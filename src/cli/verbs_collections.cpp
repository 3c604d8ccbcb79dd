// collection, playlist: the user's collections and M3U playlists from the command line.
#include <filesystem>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <random>

#include "catalog_store/catalog_rows.h"
#include "catalog_store/date_time.h"
#include "cli/row_output.h"
#include "cli/verb_arguments.h"
#include "cli/verbs.h"
#include "collections/collection_list.h"
#include "collections/collections.h"
#include "collections/playlist_document.h"
#include "text/path_bytes.h"

namespace sonarchive::cli {
namespace {

using collections::CollectionHeader;

constexpr const char* kSortableRefusal =
    "Can't move items in a sortable collection. Open \"Edit properties\" to change collection "
    "behavior.";

// The collection named by the first argument, after telling the user when there is none.
std::optional<std::int64_t> ExistingCollection(catalog::Catalog& catalog, const std::string& word,
                                               CliContext& context) {
    const std::int64_t id = IdArgument(word, "a collection id");
    if (!collections::LoadCollectionHeader(catalog.Engine(), id)) {
        context.User().ShowError("No collection with id " + std::to_string(id));
        return std::nullopt;
    }
    return id;
}

// The members' totals, written back as a collection window does after a change.
void WriteTotals(catalog::Catalog& catalog, std::int64_t id) {
    collections::StoreCollectionTotals(catalog, id, catalog::TotalsOfMembers(catalog.Engine(), id));
}

std::vector<collections::MemberPosition> MembersOf(catalog::Database& database, std::int64_t id) {
    std::vector<collections::MemberPosition> members;
    catalog::Query query(database, catalog::CollectionMembersSelect(id));
    for (; !query.AtEnd(); query.Next()) {
        members.push_back({query["Id_1"].AsInteger(), query["dPosition"].AsDouble(), false});
    }
    return members;
}

// The members "Save as playlist" writes: those the tag editor could open now.
std::vector<collections::PlaylistEntry> CollectionPlaylist(catalog::Catalog& catalog,
                                                           CliContext& context, std::int64_t id) {
    std::vector<collections::PlaylistRow> rows;
    const platform::ReachableHosts& hosts = context.CheckedHosts();
    catalog::Query members(catalog.Engine(), catalog::CollectionMembersSelect(id));
    for (; !members.AtEnd(); members.Next()) {
        rows.push_back({static_cast<int>(members["dFormat"].AsInteger()),
                        members["dLength"].AsDouble(), members["dArtist"].AsText(),
                        members["dTitle"].AsText(), FullPathNow(members, context.Rules(), hosts)});
    }
    return collections::PlaylistOfRows(rows);
}

int New(Arguments& arguments, CliContext&, catalog::Catalog& catalog) {
    const bool sortable = arguments.TakeFlag("--sortable");
    const auto words = arguments.Rest();
    if (words.size() != 1) {
        throw UsageError{"collection new takes one name"};
    }
    std::cout << collections::CreateCollection(catalog, words[0], sortable) << "\n";
    return kExitSuccess;
}

int List(Arguments& arguments, CliContext&, catalog::Catalog& catalog) {
    const bool json = arguments.TakeFlag("--json");
    if (!arguments.Rest().empty()) {
        throw UsageError{"collection list takes no arguments"};
    }
    if (!json) {
        std::cout << "Id\tCollection name\tCreated\tFiles\tLength (h:m)\tSize (MB)\tKind\n";
    }
    for (const auto& row : collections::ListCollectionRows(catalog.Engine())) {
        if (json) {
            nlohmann::ordered_json object{{"id", row.Id},
                                          {"name", row.Name},
                                          {"created", catalog::DateTimeText(row.Created)},
                                          {"files", row.Files},
                                          {"lengthMinutes", row.LengthMinutes},
                                          {"sizeMB", row.SizeMB},
                                          {"usesPositions", row.UsesPositions}};
            std::cout << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                      << "\n";
        } else {
            std::cout << row.Id << '\t' << row.Name << '\t' << catalog::DateTimeText(row.Created)
                      << '\t' << row.Files << '\t'
                      << catalog::MinutesSecondsLocal(row.LengthMinutes) << '\t' << row.SizeMB
                      << '\t' << (row.UsesPositions ? "positions" : "sortable") << "\n";
        }
    }
    return kExitSuccess;
}

// "ID OTHERID...": the collection (when it exists) and the other ids.
struct CollectionAndIds {
    std::optional<std::int64_t> collection;
    std::vector<std::int64_t> ids;
};
CollectionAndIds TakeCollectionAndIds(Arguments& arguments, CliContext& context,
                                      catalog::Catalog& catalog, const std::string& usage,
                                      const std::string& what) {
    const auto words = arguments.Rest();
    if (words.size() < 2) {
        throw UsageError{usage};
    }
    CollectionAndIds taken;
    for (std::size_t i = 1; i < words.size(); ++i) {
        taken.ids.push_back(IdArgument(words[i], what));
    }
    taken.collection = ExistingCollection(catalog, words[0], context);
    return taken;
}

int Add(Arguments& arguments, CliContext& context, catalog::Catalog& catalog) {
    const auto [id, files] =
        TakeCollectionAndIds(arguments, context, catalog,
                             "collection add needs a collection id and file ids", "a file id");
    if (!id) {
        return kExitFailure;
    }
    for (const std::int64_t file : files) {
        catalog::Query row(catalog.Engine(),
                           "select id from maindata where id=" + std::to_string(file));
        if (row.AtEnd()) {
            context.User().ShowError("No file with id " + std::to_string(file));
            return kExitFailure;
        }
    }
    collections::AddCollectionMembers(catalog.Engine(), *id,
                                      catalog::IdList(files.begin(), files.end()));
    WriteTotals(catalog, *id);
    return kExitSuccess;
}

int Remove(Arguments& arguments, CliContext& context, catalog::Catalog& catalog) {
    const auto [id, members] = TakeCollectionAndIds(
        arguments, context, catalog, "collection remove needs a collection id and member ids",
        "a member id");
    if (!id) {
        return kExitFailure;
    }
    if (!collections::ConfirmMemberRemoval(context.User(), context.Registry(), context.General())) {
        return kExitFailure;
    }
    // Only members of this collection go, whatever ids were typed.
    std::vector<std::int64_t> own;
    for (const auto& member : MembersOf(catalog.Engine(), *id)) {
        if (std::find(members.begin(), members.end(), member.memberId) != members.end()) {
            own.push_back(member.memberId);
        }
    }
    collections::RemoveCollectionMembers(catalog.Engine(), own);
    WriteTotals(catalog, *id);
    return kExitSuccess;
}

int Move(Arguments& arguments, CliContext& context, catalog::Catalog& catalog) {
    const bool up = arguments.TakeFlag("--up");
    const bool down = arguments.TakeFlag("--down");
    const bool randomize = arguments.TakeFlag("--randomize");
    const auto words = arguments.Rest();
    if (up + down + randomize != 1 || words.empty() || (randomize != (words.size() == 1))) {
        throw UsageError{
            "collection move needs an id and --up or --down with member ids, or "
            "--randomize"};
    }
    const auto id = ExistingCollection(catalog, words[0], context);
    if (!id) {
        return kExitFailure;
    }
    if (!collections::LoadCollectionHeader(catalog.Engine(), *id)->usesPositions) {
        context.User().ShowError(kSortableRefusal);
        return kExitFailure;
    }
    auto members = MembersOf(catalog.Engine(), *id);
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::int64_t selected = IdArgument(words[i], "a member id");
        for (auto& member : members) {
            member.selected = member.selected || member.memberId == selected;
        }
    }
    if (randomize) {
        std::mt19937 random{std::random_device{}()};
        collections::RandomizePositions(members, random);
    } else if (!(up ? collections::MoveSelectedUp(members)
                    : collections::MoveSelectedDown(members))) {
        return kExitSuccess;  // at the top (or bottom) already: nothing moves
    }
    collections::SaveMemberPositions(catalog.Engine(), members);
    return kExitSuccess;
}

int Set(Arguments& arguments, CliContext& context, catalog::Catalog& catalog) {
    const auto name = arguments.TakeOption("--name");
    const bool sortable = arguments.TakeFlag("--sortable");
    const bool positions = arguments.TakeFlag("--positions");
    const auto words = arguments.Rest();
    if (words.size() != 1 || (sortable && positions)) {
        throw UsageError{"collection set needs one id and at most one of --sortable, --positions"};
    }
    const auto id = ExistingCollection(catalog, words[0], context);
    if (!id) {
        return kExitFailure;
    }
    const CollectionHeader header = *collections::LoadCollectionHeader(catalog.Engine(), *id);
    collections::SetCollectionProperties(catalog, *id, name.value_or(header.name),
                                         sortable || (!positions && !header.usesPositions));
    return kExitSuccess;
}

int Show(Arguments& arguments, CliContext& context, catalog::Catalog& catalog) {
    const bool json = arguments.TakeFlag("--json");
    const auto words = arguments.Rest();
    if (words.size() != 1) {
        throw UsageError{"collection show takes one id"};
    }
    const auto id = ExistingCollection(catalog, words[0], context);
    if (!id) {
        return kExitFailure;
    }
    std::vector<OutputColumn> columns = {
        {"MemberId", "Id_1"}, {"Position", "dPosition"}, {"FileId", "Id"}};
    for (const auto& column : StandardColumns()) {
        columns.push_back(column);
    }
    {
        catalog::Query members(catalog.Engine(), catalog::CollectionMembersSelect(*id));
        PrintRows(members, columns, context.Rules(), context.CheckedHosts(), json, std::cout);
    }
    const collections::TotalsTexts texts =
        collections::TotalsTextsOf(catalog::TotalsOfMembers(catalog.Engine(), *id));
    std::ostream& out = json ? std::cerr : std::cout;
    out << "Files: " << texts.files << "\nTotal size: " << texts.size
        << "\nTotal length: " << texts.length << "\n";
    return kExitSuccess;
}

int Delete(Arguments& arguments, CliContext& context, catalog::Catalog& catalog) {
    const auto words = arguments.Rest();
    if (words.empty()) {
        throw UsageError{"collection delete needs collection ids"};
    }
    std::vector<std::int64_t> ids;
    for (const auto& word : words) {
        const auto id = ExistingCollection(catalog, word, context);
        if (!id) {
            return kExitFailure;
        }
        ids.push_back(*id);
    }
    if (!context.User().AskYesNo("Delete selected collection(s)?")) {
        return kExitFailure;
    }
    for (const std::int64_t id : ids) {
        collections::DeleteCollection(catalog, id);
    }
    return kExitSuccess;
}

int Export(Arguments& arguments, CliContext& context, catalog::Catalog& catalog) {
    const auto out = arguments.TakeOption("--out");
    const auto words = arguments.Rest();
    if (words.size() != 1 || !out) {
        throw UsageError{"collection export needs one id and --out FILE"};
    }
    const auto id = ExistingCollection(catalog, words[0], context);
    if (!id) {
        return kExitFailure;
    }
    const std::string file = AbsolutePathArgument(*out);
    if (collections::WritePlaylist(CollectionPlaylist(catalog, context, *id), file) != 0) {
        context.User().ShowError(collections::WriteProblem(file));
        return kExitFailure;
    }
    return kExitSuccess;
}

using CollectionVerb = int (*)(Arguments&, CliContext&, catalog::Catalog&);

int Collection(Arguments& arguments, CliContext& context) {
    static const std::map<std::string, CollectionVerb> kVerbs = {
        {"new", New}, {"list", List}, {"add", Add},       {"remove", Remove}, {"move", Move},
        {"set", Set}, {"show", Show}, {"delete", Delete}, {"export", Export}};
    const std::string verb =
        TakeSubVerb(arguments, "collection",
                    {"new", "list", "add", "remove", "move", "set", "show", "delete", "export"});
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    return kVerbs.at(verb)(arguments, context, *catalog);
}

// playlist new FILE
int NewPlaylist(Arguments& arguments, CliContext& context) {
    const auto words = arguments.Rest();
    if (words.size() != 1) {
        throw UsageError{"playlist new takes one file"};
    }
    collections::PlaylistDocument playlist(AbsolutePathArgument(words[0]));
    if (playlist.Create() != 0) {
        context.User().ShowError(collections::WriteProblem(playlist.File()));
        return kExitFailure;
    }
    return kExitSuccess;
}

std::optional<collections::PlaylistDocument> OpenPlaylist(const std::string& word,
                                                          CliContext& context) {
    collections::PlaylistDocument playlist(AbsolutePathArgument(word));
    if (!playlist.Open()) {
        context.User().ShowError(collections::CouldNotOpen(playlist.File()));
        return std::nullopt;
    }
    return playlist;
}

// playlist add FILE [--extract] PATH...
int AddToPlaylist(Arguments& arguments, CliContext& context) {
    const bool extract = arguments.TakeFlag("--extract");
    const auto words = arguments.Rest();
    if (words.size() < 2) {
        throw UsageError{"playlist add needs a playlist and paths"};
    }
    auto playlist = OpenPlaylist(words[0], context);
    if (!playlist) {
        return kExitFailure;
    }
    std::vector<std::string> paths;
    for (std::size_t i = 1; i < words.size(); ++i) {
        paths.push_back(AbsolutePathArgument(words[i]));
    }
    const std::size_t added = playlist->AddPaths(
        paths, context.User(),
        extract ? collections::ExtractChoice::Always : collections::ExtractChoice::Never);
    if (playlist->Save() != 0) {
        context.User().ShowError(collections::WriteProblem(playlist->File()));
        return kExitFailure;
    }
    std::cout << "Entries added: " << added << "\n";
    return kExitSuccess;
}

// playlist show FILE [--json]
int ShowPlaylist(Arguments& arguments, CliContext& context) {
    const bool json = arguments.TakeFlag("--json");
    const auto words = arguments.Rest();
    if (words.size() != 1) {
        throw UsageError{"playlist show takes one file"};
    }
    const auto playlist = OpenPlaylist(words[0], context);
    if (!playlist) {
        return kExitFailure;
    }
    if (!json) {
        std::cout << "Filename\tInfo\tFullPath\n";
    }
    for (std::size_t i = 0; i < playlist->Entries().size(); ++i) {
        const auto& entry = playlist->Entries()[i];
        if (json) {
            nlohmann::ordered_json object{{"path", entry.path},
                                          {"info", entry.infoLine},
                                          {"fullPath", playlist->ResolvedPath(i)}};
            std::cout << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                      << "\n";
        } else {
            std::cout << text::PathForDisplay(entry.path) << '\t' << entry.infoLine << '\t'
                      << text::PathForDisplay(playlist->ResolvedPath(i)) << "\n";
        }
    }
    return kExitSuccess;
}

int Playlist(Arguments& arguments, CliContext& context) {
    const std::string verb = TakeSubVerb(arguments, "playlist", {"new", "add", "show"});
    if (verb == "new") {
        return NewPlaylist(arguments, context);
    }
    return verb == "add" ? AddToPlaylist(arguments, context) : ShowPlaylist(arguments, context);
}

}  // namespace

void AddCollectionVerbs(std::vector<Verb>& verbs) {
    verbs.push_back(
        {"collection", "make, fill, order, show and delete collections",
         "Usage: sonarchive-cli [--data-dir DIR] collection new NAME [--sortable]\n"
         "       sonarchive-cli collection list [--json]\n"
         "       sonarchive-cli collection add ID FILEID...\n"
         "       sonarchive-cli collection remove ID MEMBERID... [--yes]\n"
         "       sonarchive-cli collection move ID --up|--down MEMBERID...\n"
         "       sonarchive-cli collection move ID --randomize\n"
         "       sonarchive-cli collection set ID [--name NAME] [--sortable|--positions]\n"
         "       sonarchive-cli collection show ID [--json]\n"
         "       sonarchive-cli collection delete ID... [--yes]\n"
         "       sonarchive-cli collection export ID --out FILE\n\n"
         "new prints the new collection's id; a sortable collection keeps no order of its\n"
         "own. add appends files (by their id, as list prints it) at the end; remove takes\n"
         "members out (by their member id, as show prints it) after asking, unless the\n"
         "question was switched off; move shifts members of a collection that keeps\n"
         "positions one place up or down, or shuffles them all. show prints the members\n"
         "in order with their member id, position and file id, then the totals. delete\n"
         "asks first; --yes answers Yes, and without a terminal nothing is deleted. export\n"
         "writes the members at hand as an M3U playlist (WAV files are left out).\n",
         Collection});
    verbs.push_back(
        {"playlist", "make, fill and show M3U playlists",
         "Usage: sonarchive-cli playlist new FILE\n"
         "       sonarchive-cli playlist add FILE [--extract] PATH...\n"
         "       sonarchive-cli playlist show FILE [--json]\n\n"
         "new makes a playlist holding no entries. add appends audio files (MP3, Ogg\n"
         "Vorbis, Monkey's Audio with their info line; MP2, MP1, WAV, MIDI, WMA and MPC\n"
         "without) and playlists: with --extract their entries, else the playlist itself.\n"
         "Other files are ignored. show prints every entry with its info line and where\n"
         "its file is.\n",
         Playlist});
}

}  // namespace sonarchive::cli
