// stats, export: the summary's figures and the general report from the command line.
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "catalog_store/catalog_rows.h"
#include "catalog_store/sql_text.h"
#include "cli/verb_arguments.h"
#include "cli/verbs.h"
#include "collections/playlist_document.h"
#include "lists/row_availability.h"
#include "platform/drive_list.h"
#include "reports/export_profile.h"
#include "reports/list_report_source.h"
#include "reports/report_export.h"
#include "reports/statistics.h"

namespace sonarchive::cli {
namespace {

using reports::NodeKind;
using reports::StatisticsNode;

// "total", "fixed", "removable", "computers", or the key of a volume or computer.
std::optional<StatisticsNode> FindNode(catalog::Database& database, const catalog::PathRules& rules,
                                       const std::string& wanted) {
    const std::vector<std::pair<std::string, NodeKind>> names = {
        {"total", NodeKind::Total},
        {"fixed", NodeKind::FixedDrives},
        {"removable", NodeKind::RemovableMedia},
        {"computers", NodeKind::Computers}};
    const auto top = reports::TopNodes(rules);
    for (const auto& [name, kind] : names) {
        if (wanted == name) {
            return *std::find_if(top.begin(), top.end(),
                                 [kind](const StatisticsNode& n) { return n.kind == kind; });
        }
    }
    for (const StatisticsNode& parent : top) {
        for (const StatisticsNode& child : reports::ChildNodes(database, rules, parent)) {
            if (child.key == wanted) {
                return child;
            }
        }
    }
    return std::nullopt;
}

int Stats(Arguments& arguments, CliContext& context) {
    const bool json = arguments.TakeFlag("--json");
    const std::string wanted = arguments.TakeOption("--node").value_or("total");
    if (!arguments.Rest().empty()) {
        throw UsageError{"stats takes no arguments"};
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    const auto node = FindNode(catalog->Engine(), context.Rules(), wanted);
    if (!node) {
        context.User().ShowError("No node \"" + wanted +
                                 "\" (total, fixed, removable, "
                                 "computers, or the serial of a volume or computer)");
        return kExitFailure;
    }
    const reports::FigureTexts t =
        reports::TextsOf(reports::ComputeFigures(catalog->Engine(), node->condition), '.');
    const std::vector<std::pair<const char*, const std::string*>> figures = {
        {"Number of files", &t.files},
        {"Disk size occupied", &t.diskSize},
        {"Duration", &t.duration},
        {"Number of media", &t.media},
        {"Avg. file size", &t.averageFileSize},
        {"Avg. bitrate", &t.averageBitrate},
        {"Avg. duration", &t.averageDuration},
        {"Avg. sample rate", &t.averageSampleRate}};
    const auto children = reports::ChildNodes(catalog->Engine(), context.Rules(), *node);
    if (json) {
        nlohmann::ordered_json object{{"node", node->text}};
        for (const auto& [label, value] : figures) {
            object[label] = *value;
        }
        object["children"] = nlohmann::ordered_json::array();
        for (const auto& child : children) {
            object["children"].push_back({{"text", child.text}, {"key", child.key}});
        }
        std::cout << object.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        return kExitSuccess;
    }
    std::cout << node->text << "\n";
    for (const auto& [label, value] : figures) {
        std::cout << "  " << label << ": " << *value << "\n";
    }
    for (const auto& child : children) {
        std::cout << "  - " << child.text << "\t" << child.key << "\n";
    }
    return kExitSuccess;
}

std::vector<std::string> SplitCaptions(const std::string& list) {
    std::vector<std::string> captions;
    std::stringstream words(list);
    for (std::string caption; std::getline(words, caption, ',');) {
        captions.push_back(caption);
    }
    return captions;
}

// The rows to export: every row, the members of a collection, the rows after an id, or rows
// by id (in the order given).
void FillRows(catalog::Database& database, Arguments& arguments, lists::ResultRows& rows,
              bool& collection) {
    const auto collectionId = arguments.TakeOption("--collection");
    const auto since = arguments.TakeOption("--since-id");
    const std::vector<std::string> ids = arguments.Rest();
    if ((collectionId ? 1 : 0) + (since ? 1 : 0) + (ids.empty() ? 0 : 1) > 1) {
        throw UsageError{"export takes one of --collection ID, --since-id N and ids"};
    }
    collection = collectionId.has_value();
    if (collectionId) {
        const std::int64_t id = IdArgument(*collectionId, "a collection id");
        catalog::Query query(database, catalog::CollectionMembersSelect(id));
        rows.Fill(query, static_cast<std::int32_t>(id));
    } else if (since) {
        catalog::Query query(database, catalog::StandardSelectSinceId(IdArgument(*since, "an id")));
        rows.Fill(query);
    } else if (!ids.empty()) {
        for (const auto& word : ids) {
            catalog::Query query(database, catalog::StandardSelectById(IdArgument(word, "an id")));
            rows.Fill(query);
        }
    } else {
        catalog::Query query(database, catalog::StandardSelectAll());
        rows.Fill(query);
    }
}

int Export(Arguments& arguments, CliContext& context) {
    const auto formatName = arguments.TakeOption("--format");
    const auto out = arguments.TakeOption("--out");
    const auto profileFile = arguments.TakeOption("--spec");
    const auto columnList = arguments.TakeOption("--columns");

    reports::ExportProfile profile;
    bool fromProfile = false;
    if (profileFile) {
        std::string problem;
        const auto loaded = reports::LoadProfile(AbsolutePathArgument(*profileFile), &problem);
        if (!loaded) {
            context.User().ShowError(reports::ProfileProblem(*profileFile, problem));
            return kExitFailure;
        }
        profile = *loaded;
        fromProfile = true;
    }
    if (formatName) {
        const auto format = reports::FormatNamed(*formatName);
        if (!format) {
            throw UsageError{"unknown format \"" + *formatName +
                             "\" (csv, tab, fixed, html, xml, json, xlsx, sql)"};
        }
        profile.format = *format;
        if (!fromProfile) {
            profile.options = reports::DefaultOptions(*format);
        }
    } else if (!fromProfile) {
        throw UsageError{"export needs --format (or --spec)"};
    }
    if (reports::NeedsDesktop(profile.format)) {
        throw UsageError{"the desktop program writes PDF files; choose another format"};
    }
    if (out) {
        profile.file = AbsolutePathArgument(*out);
    } else if (profile.file.empty()) {
        throw UsageError{"export needs --out FILE (or a specification that names one)"};
    }

    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    lists::ResultRows rows;
    bool collection = false;
    FillRows(catalog->Engine(), arguments, rows, collection);
    lists::AvailabilityPass availability(
        context.Rules(), platform::BuildLocalDriveList(context.Mounts()), context.CheckedHosts());
    lists::MarkAvailabilityAll(rows, availability);

    // A new search window's columns (the collection's with "POS" among them), or those named.
    const lists::ResultColumns all =
        lists::BuildResultColumns(lists::kLayoutPlain, collection, context.Registry());
    std::vector<const lists::ColumnDefinition*> columns =
        reports::ListReportSource::VisibleColumns(all);
    if (columnList) {
        columns.clear();
        for (const std::string& caption : SplitCaptions(*columnList)) {
            const auto found = std::find_if(
                all.begin(), all.end(),
                [&](const lists::ResultColumn& c) { return c.definition->caption == caption; });
            if (found == all.end()) {
                throw UsageError{"no column \"" + caption + "\""};
            }
            columns.push_back(found->definition);
        }
    }
    const reports::ListReportSource source(rows, columns, lists::PatternDateFormat::Iso());
    reports::ReportTable table = reports::ReportTable::AllRows(source);
    if (fromProfile && !columnList) {
        table.SelectFields(reports::ColumnsPresent(profile, table.Fields()));
    }
    if (const int error =
            reports::ExportToFile(table, profile.format, profile.options, profile.file);
        error != 0) {
        context.User().ShowError(collections::WriteProblem(profile.file));
        return kExitFailure;
    }
    std::cout << "Rows exported: " << table.RecordCount() << "\n";
    return kExitSuccess;
}

}  // namespace

void AddReportVerbs(std::vector<Verb>& verbs) {
    verbs.push_back(
        {"stats", "print the summary's totals and averages",
         "Usage: sonarchive-cli [--data-dir DIR] stats [--node NODE] [--json]\n\n"
         "Prints the figures of the summary for NODE: total (the default), fixed,\n"
         "removable, computers, or the serial of one volume or computer (as the node's\n"
         "children list them).\n",
         Stats});
    verbs.push_back(
        {"export", "write rows of the archive as a table file",
         "Usage: sonarchive-cli [--data-dir DIR] export --format FORMAT --out FILE\n"
         "                      [--spec FILE] [--columns CAPTION,...]\n"
         "                      [--collection ID | --since-id N | ID...]\n\n"
         "Writes every row of the archive (or a collection's members, the rows after an\n"
         "id, the rows given) with the columns a new search window shows, or the columns\n"
         "named by their captions (\"Artist,Title,Length (m:s)\"). FORMAT: csv, tab, fixed,\n"
         "html, xml, json, xlsx or sql (PDF is the desktop program's alone). A\n"
         "specification saved by the desktop program's export gives the format, file,\n"
         "options and columns; --format, --out and --columns override it. The file is\n"
         "replaced only when it was written whole.\n",
         Export});
}

}  // namespace sonarchive::cli
