#include "cli/row_output.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "catalog_store/sql_text.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::cli {
namespace {

nlohmann::ordered_json ValueOf(const catalog::Field& field) {
    switch (field.Type()) {
        case SQLITE_INTEGER:
            return field.AsInteger();
        case SQLITE_FLOAT:
            return field.AsDouble();
        case SQLITE_NULL:
            return nullptr;
        default:
            return field.AsText();
    }
}

std::vector<OutputColumn> AllColumnsOf(const catalog::Query& rows) {
    std::vector<OutputColumn> columns;
    for (const auto& name : rows.ColumnNames()) {
        columns.push_back({name, name});
    }
    return columns;
}

// The position of each column in the query, found once.
std::vector<int> PositionsOf(const catalog::Query& rows, const std::vector<OutputColumn>& columns) {
    std::vector<int> positions;
    const auto& names = rows.ColumnNames();
    for (const auto& column : columns) {
        int found = -1;
        for (std::size_t i = 0; i < names.size() && found < 0; ++i) {
            if (text::EqualsIgnoringCase(names[i], column.source)) {
                found = static_cast<int>(i);
            }
        }
        positions.push_back(found);
    }
    return positions;
}

}  // namespace

std::string FullPathNow(const catalog::Query& row, const catalog::PathRules& rules,
                        const platform::ReachableHosts& hosts) {
    const std::string serial = row["dDriveSerialNumber"].AsText();
    if (rules.IsNetworkPath(serial) && hosts.IsHostReachable(serial) < 0) {
        return {};
    }
    return rules.BuildFullPath(serial, row["dPath"].AsText());
}

const std::vector<OutputColumn>& StandardColumns() {
    static const std::vector<OutputColumn> columns = [] {
        std::vector<OutputColumn> list;
        std::string_view names = catalog::kStandardSelectColumns;
        names.remove_prefix(std::string_view("select ").size());
        while (!names.empty()) {
            const auto comma = names.find(", ");
            const std::string name(names.substr(0, comma));
            list.push_back({name, name});
            names.remove_prefix(comma == std::string_view::npos ? names.size() : comma + 2);
        }
        return list;
    }();
    return columns;
}

std::size_t PrintRows(catalog::Query& rows, const catalog::PathRules& rules,
                      const platform::ReachableHosts& hosts, bool json, std::ostream& out,
                      const RowPrinting& how) {
    return PrintRows(rows, AllColumnsOf(rows), rules, hosts, json, out, how);
}

std::size_t PrintRows(catalog::Query& rows, const std::vector<OutputColumn>& columns,
                      const catalog::PathRules& rules, const platform::ReachableHosts& hosts,
                      bool json, std::ostream& out, const RowPrinting& how) {
    if (!json && how.header) {
        for (const auto& column : columns) {
            out << column.name << '\t';
        }
        out << "FullPath";
        for (const auto& extra : how.extra) {
            out << '\t' << extra.name;
        }
        out << '\n';
    }
    const std::vector<int> positions = PositionsOf(rows, columns);
    std::size_t count = 0;
    for (; !rows.AtEnd(); rows.Next(), ++count) {
        const std::string fullPath = FullPathNow(rows, rules, hosts);
        if (json) {
            nlohmann::ordered_json object;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                object[columns[i].name] =
                    positions[i] < 0 ? nlohmann::ordered_json() : ValueOf(rows[positions[i]]);
            }
            object["FullPath"] = fullPath;
            for (const auto& extra : how.extra) {
                object[extra.name] = extra.value(rows);
            }
            out << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        } else {
            // Plain text is for reading; --json carries the stored form of names.
            for (const int position : positions) {
                out << (position < 0 ? std::string() : text::PathForDisplay(rows[position].AsText()))
                    << '\t';
            }
            out << text::PathForDisplay(fullPath);
            for (const auto& extra : how.extra) {
                out << '\t' << extra.value(rows);
            }
            out << '\n';
        }
    }
    return count;
}

}  // namespace sonarchive::cli
