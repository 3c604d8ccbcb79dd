#include "lists/selected_rows.h"

#include <functional>
#include <unordered_set>

#include "lists/browse_statements.h"
#include "lists/result_rows.h"

namespace sonarchive::lists {
namespace {

// Calls `visit` once per file of the rows, in list order: a file row itself, a group row with
// every row of its statement.
void ForEachFile(
    catalog::Database& database, std::span<const ListRowRef> rows,
    const std::function<void(std::int64_t, std::string_view, std::string_view)>& visit) {
    std::unordered_set<std::int64_t> seen;
    for (const ListRowRef& row : rows) {
        if (!row.IsGroup()) {
            if (seen.insert(row.id).second) {
                visit(row.id, row.serial, row.path);
            }
            continue;
        }
        catalog::Query files(database, GroupStatement(row.grouping, row.groupKey));
        for (; !files.AtEnd(); files.Next()) {
            const std::int64_t fileId = files["Id"].AsInteger();
            if (seen.insert(fileId).second) {
                visit(fileId, files["dDriveSerialNumber"].AsText(), files["dPath"].AsText());
            }
        }
    }
}

}  // namespace

ListRowRef ListRowRef::File(std::int64_t id, std::string serial, std::string path) {
    ListRowRef row;
    row.id = id;
    row.serial = std::move(serial);
    row.path = std::move(path);
    return row;
}

ListRowRef ListRowRef::Group(int grouping, std::string key) {
    ListRowRef row;
    row.grouping = grouping;
    row.groupKey = std::move(key);
    return row;
}

ListRowRef FileRowRefOf(const ResultRows& rows, std::size_t row) {
    return ListRowRef::File(rows.Id(row), std::string(rows.Text(row, RowText::DriveSerialNumber)),
                            std::string(rows.Text(row, RowText::Path)));
}

std::string RowFullPath(const catalog::PathRules& rules, std::string_view serial,
                        std::string_view storedPath) {
    return rules.BuildFullPath(serial, storedPath);
}

catalog::IdList SelectedIds(catalog::Database& database, std::span<const ListRowRef> rows) {
    catalog::IdList ids;
    ForEachFile(database, rows,
                [&ids](std::int64_t id, std::string_view, std::string_view) { ids.push_back(id); });
    return ids;
}

std::vector<std::string> SelectedPaths(catalog::Database& database, const catalog::PathRules& rules,
                                       std::span<const ListRowRef> rows, bool includeUnreachable) {
    std::vector<std::string> paths;
    ForEachFile(database, rows, [&](std::int64_t, std::string_view serial, std::string_view path) {
        std::string full = RowFullPath(rules, serial, path);
        if (!full.empty()) {
            paths.push_back(std::move(full));
        } else if (includeUnreachable) {
            paths.emplace_back(path);
        }
    });
    return paths;
}

}  // namespace sonarchive::lists
