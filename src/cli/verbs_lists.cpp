// search, browse, delete: the result lists from the command line.
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "catalog_store/sql_text.h"
#include "cli/row_output.h"
#include "cli/verbs.h"
#include "lists/browse_statements.h"
#include "lists/date_format.h"
#include "lists/delete_rows.h"
#include "lists/search_statements.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::cli {
namespace {

using lists::PatternDateFormat;

constexpr std::size_t kMaxWhereRows = 5;

template <typename Items>
std::string Listed(const Items& items) {
    std::string joined;
    for (const auto& item : items) {
        joined += (joined.empty() ? "" : ", ") + std::string(item);
    }
    return joined;
}

// The checks of the search window's editors: a known field, a condition of its kind, and a
// value its editor could hold. The window repairs what the user typed; here nobody would see
// the repair, so the search is refused instead.
const catalog::CatalogField& CheckedField(const std::string& caption, const std::string& condition,
                                          const std::string& value) {
    const catalog::CatalogField* field = lists::FieldByCaption(caption);
    if (field == nullptr) {
        std::vector<std::string_view> captions;
        for (const auto& f : catalog::CatalogFields) {
            captions.push_back(f.caption);
        }
        throw UsageError{"unknown field \"" + caption + "\" (" + Listed(captions) + ")"};
    }
    if (lists::OperatorIndex(field->kind, condition) < 0) {
        throw UsageError{"\"" + condition + "\" is no condition for " +
                         std::string(field->caption) + " (" +
                         Listed(lists::OperatorsOf(field->kind)) + ")"};
    }
    if (field->kind == lists::kKindDate && !PatternDateFormat::Iso().Read(value)) {
        throw UsageError{"a date is written YYYY-MM-DD, not \"" + value + "\""};
    }
    if (field->kind == lists::kKindNumber && !lists::ReadGridNumber(value)) {
        throw UsageError{"\"" + value + "\" is no whole number from 0 to 2000000000"};
    }
    return *field;
}

// "FIELD|CONDITION|VALUE|COMBINE"; the combine may be left out (the last condition).
lists::TSearchCondition ParseWhere(const std::string& where) {
    std::vector<std::string> parts;
    std::stringstream stream(where);
    for (std::string part; std::getline(stream, part, '|');) {
        parts.push_back(part);
    }
    if (!where.empty() && where.back() == '|') {
        parts.emplace_back();
    }
    if (parts.size() < 3 || parts.size() > 4) {
        throw UsageError{"--where needs \"FIELD|CONDITION|VALUE|COMBINE\", not \"" + where + "\""};
    }
    lists::TSearchCondition row{parts[0], parts[1], parts[2], parts.size() == 4 ? parts[3] : ""};
    CheckedField(row.Field, row.Condition, row.Value);
    if (row.Combine.empty()) {
        row.Combine = "IGNORE";
    }
    if (row.Combine != "AND" && row.Combine != "OR" && row.Combine != "IGNORE") {
        throw UsageError{"the combine of a condition is AND, OR or IGNORE, not \"" + row.Combine +
                         "\""};
    }
    return row;
}

struct BuiltSearch {
    std::string statement;
    bool advanced = false;
    lists::SimpleSearch simple;
};

BuiltSearch BuildSearch(Arguments& arguments) {
    std::vector<lists::TSearchCondition> rows;
    while (const auto where = arguments.TakeOption("--where")) {
        rows.push_back(ParseWhere(*where));
    }
    const auto field = arguments.TakeOption("--field");
    const auto condition = arguments.TakeOption("--condition");
    const auto value = arguments.TakeOption("--value");
    if (!arguments.Rest().empty()) {
        throw UsageError{"search takes only options"};
    }
    BuiltSearch search;
    if (!rows.empty()) {
        if (field || condition || value) {
            throw UsageError{"--where cannot be mixed with --field, --condition and --value"};
        }
        if (rows.size() > kMaxWhereRows) {
            throw UsageError{"at most five --where conditions"};
        }
        lists::SearchGrid grid;
        std::copy(rows.begin(), rows.end(), grid.begin());
        search.advanced = true;
        search.statement = lists::BuildAdvancedSearch(grid, PatternDateFormat::Iso()).statement;
        return search;
    }
    if (!field || !condition) {
        throw UsageError{"search needs --field and --condition, or --where"};
    }
    search.simple = {*field, *condition, value.value_or("")};
    CheckedField(*field, *condition, search.simple.value);
    search.statement = lists::SimpleStatement(search.simple, PatternDateFormat::Iso());
    return search;
}

int Search(Arguments& arguments, CliContext& context) {
    const bool json = arguments.TakeFlag("--json");
    const BuiltSearch search = BuildSearch(arguments);
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    catalog::Query rows(catalog->Engine(), search.statement);
    const std::size_t count =
        PrintRows(rows, context.Rules(), context.CheckedHosts(), json, std::cout);
    const auto shown = static_cast<std::int64_t>(count);
    (json ? std::cerr : std::cout) << (search.advanced ? lists::AdvancedCaption(shown)
                                                       : lists::SimpleCaption(search.simple, shown))
                                   << "\n";
    return kExitSuccess;
}

int GroupingOf(const std::string& name, bool plainAllowed) {
    if (name == "artist") {
        return lists::kGroupingArtist;
    }
    if (name == "album") {
        return lists::kGroupingAlbum;
    }
    if (name == "genre") {
        return lists::kGroupingGenre;
    }
    if (name == "plain" && plainAllowed) {
        return lists::kGroupingPlain;
    }
    throw UsageError{"unknown grouping \"" + name + "\" (artist, album, genre" +
                     (plainAllowed ? ", plain)" : ")")};
}

int Browse(Arguments& arguments, CliContext& context) {
    const bool json = arguments.TakeFlag("--json");
    const auto by = arguments.TakeOption("--by");
    const std::vector<std::string> rest = arguments.Rest();
    if (!by) {
        throw UsageError{"browse needs --by artist|album|genre|plain"};
    }
    const int grouping = GroupingOf(*by, true);
    if (rest.size() > 1 || (grouping == lists::kGroupingPlain && !rest.empty())) {
        throw UsageError{grouping == lists::kGroupingPlain ? "the plain listing has no groups"
                                                           : "browse shows one group at a time"};
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    if (grouping != lists::kGroupingPlain && rest.empty()) {
        for (const lists::BrowseGroup& group :
             lists::LoadBrowseGroups(catalog->Engine(), grouping)) {
            if (json) {
                std::cout << nlohmann::json{{"group", group.text}, {"key", group.key}}.dump(
                                 -1, ' ', false, nlohmann::json::error_handler_t::replace)
                          << "\n";
            } else {
                std::cout << group.text << "\n";
            }
        }
        return kExitSuccess;
    }
    // The rows with the result lists' columns, in the order the window lists them.
    const std::string columns(catalog::kStandardSelectColumns);
    const std::string statement =
        grouping == lists::kGroupingPlain
            ? columns + " from maindata order by dartist"
            : catalog::StandardSelectWhere(
                  lists::GroupFilter(grouping, text::UpperCase(rest[0])));
    catalog::Query rows(catalog->Engine(), statement);
    PrintRows(rows, context.Rules(), context.CheckedHosts(), json, std::cout);
    return kExitSuccess;
}

// The file rows of the ids; nothing (after saying which id is unknown) when one names no row.
std::optional<std::vector<lists::ListRowRef>> RowsById(catalog::Database& database,
                                                       const std::vector<std::string>& words) {
    std::vector<lists::ListRowRef> rows;
    for (const std::string& word : words) {
        std::size_t used = 0;
        std::int64_t id = -1;
        try {
            id = std::stoll(word, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != word.size() || id < 0) {
            throw UsageError{"\"" + word + "\" is no row id"};
        }
        catalog::Query row(
            database,
            "select id, dDriveSerialNumber, dPath from maindata where id=" + std::to_string(id));
        if (row.AtEnd()) {
            std::cerr << "sonarchive-cli: no row has the id " << word << "\n";
            return std::nullopt;
        }
        rows.push_back(
            lists::ListRowRef::File(id, row["dDriveSerialNumber"].AsText(), row["dPath"].AsText()));
    }
    return rows;
}

int Delete(Arguments& arguments, CliContext& context) {
    const bool fromDisk = arguments.TakeFlag("--from-disk");
    const bool json = arguments.TakeFlag("--json");
    const auto group = arguments.TakeOption("--group");
    const std::vector<std::string> rest = arguments.Rest();
    if (group ? rest.size() != 1 : rest.empty()) {
        throw UsageError{group ? "--group needs one TEXT" : "delete needs row ids or --group"};
    }
    const int grouping = group ? GroupingOf(*group, false) : 0;
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    const std::optional<std::vector<lists::ListRowRef>> rows =
        group ? std::vector{lists::ListRowRef::Group(
                    grouping, text::UpperCase(rest[0]))}
              : RowsById(catalog->Engine(), rest);
    if (!rows) {
        return kExitFailure;
    }
    if (fromDisk && !context.User().AskYesNo("Delete files from disk and archive?")) {
        return kExitFailure;
    }
    const lists::DeleteOutcome outcome = lists::DeleteSelected(
        {*catalog, context.Rules(), context.Registry(), context.General(), context.User()}, *rows,
        fromDisk);
    if (json) {
        std::cout << nlohmann::json{{"deleted", outcome.deletedIds}, {"failed", outcome.failures}}
                         .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                  << "\n";
    } else {
        for (const std::string& line : outcome.failures) {
            std::cout << line << "\n";
        }
    }
    return outcome.cancelled || !outcome.failures.empty() ? kExitFailure : kExitSuccess;
}

}  // namespace

void AddListVerbs(std::vector<Verb>& verbs) {
    verbs.push_back(
        {"search", "find rows by one condition or up to five joined ones",
         "Usage: sonarchive-cli [--data-dir DIR] search [--json] --field CAPTION --condition OP\n"
         "                      [--value V]\n"
         "       sonarchive-cli [--data-dir DIR] search [--json]\n"
         "                      --where \"FIELD|CONDITION|VALUE|COMBINE\"...\n\n"
         "CAPTION is a field of the search window (Artist, Title, Year, \"Date Added\", ...).\n"
         "Text fields take Contains or \"Exact match\", number and date fields =, >, <, <>,\n"
         "<= and >=. Numbers are whole numbers from 0 to 2000000000, dates YYYY-MM-DD.\n"
         "Up to five --where conditions are joined by their COMBINE (AND or OR); IGNORE or\n"
         "none ends the search after that condition. Prints the rows as list does, then the\n"
         "window's caption (on standard error with --json).\n",
         Search});
    verbs.push_back(
        {"browse", "list the artists, albums or genres, or the rows of one of them",
         "Usage: sonarchive-cli [--data-dir DIR] browse --by artist|album|genre|plain [--json]\n"
         "                      [GROUP]\n\n"
         "Without GROUP prints one line per group as the browse window shows it (rows without\n"
         "a value form the group \"\"); with --json {\"group\":..., \"key\":...}. With GROUP (in\n"
         "any case) prints that group's rows as list does. --by plain prints every row\n"
         "ordered by artist.\n",
         Browse});
    verbs.push_back(
        {"delete", "remove rows from the archive, and on request their files from disk",
         "Usage: sonarchive-cli [--data-dir DIR] delete [--from-disk] [--yes] [--json] ID...\n"
         "       sonarchive-cli [--data-dir DIR] delete [--from-disk] [--yes] [--json]\n"
         "                      --group artist|album|genre TEXT\n\n"
         "Removes the rows with these ids, or every row of a group (TEXT in any case, \"\" for\n"
         "the rows without a value). Asks as the desktop program does (the rows it will\n"
         "remove, the collections they belong to, and with --from-disk whether to delete the\n"
         "files); --yes answers every question, and without a terminal nothing is deleted.\n"
         "A file that cannot be deleted keeps its row and prints a line. With --json prints\n"
         "{\"deleted\":[ids],\"failed\":[lines]}. Exit status 1 when refused or a file failed.\n",
         Delete});
}

}  // namespace sonarchive::cli
