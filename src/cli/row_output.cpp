#include "cli/row_output.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "text/path_bytes.h"

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

std::string FullPathNow(const catalog::Query& row, const catalog::PathRules& rules,
                        const platform::ReachableHosts& hosts) {
    const std::string serial = row["dDriveSerialNumber"].AsText();
    if (rules.IsNetworkPath(serial) && hosts.IsHostReachable(serial) < 0) {
        return {};
    }
    return rules.BuildFullPath(serial, row["dPath"].AsText());
}

}  // namespace

void PrintRows(catalog::Query& rows, const catalog::PathRules& rules,
               const platform::ReachableHosts& hosts, bool json, std::ostream& out) {
    const auto& names = rows.ColumnNames();
    if (!json) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            out << names[i] << '\t';
        }
        out << "FullPath\n";
    }
    for (; !rows.AtEnd(); rows.Next()) {
        const std::string fullPath = FullPathNow(rows, rules, hosts);
        if (json) {
            nlohmann::ordered_json object;
            for (std::size_t i = 0; i < names.size(); ++i) {
                object[names[i]] = ValueOf(rows[static_cast<int>(i)]);
            }
            object["FullPath"] = fullPath;
            out << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        } else {
            // Plain text is for reading; --json carries the stored form of names.
            for (std::size_t i = 0; i < names.size(); ++i) {
                out << text::PathForDisplay(rows[static_cast<int>(i)].AsText()) << '\t';
            }
            out << text::PathForDisplay(fullPath) << '\n';
        }
    }
}

}  // namespace sonarchive::cli
