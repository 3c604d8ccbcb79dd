#include "cli/row_output.h"

#include <nlohmann/json.hpp>
#include <ostream>

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

std::size_t PrintRows(catalog::Query& rows, const catalog::PathRules& rules,
                      const platform::ReachableHosts& hosts, bool json, std::ostream& out,
                      const RowPrinting& how) {
    const auto& names = rows.ColumnNames();
    if (!json && how.header) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            out << names[i] << '\t';
        }
        out << "FullPath";
        for (const auto& extra : how.extra) {
            out << '\t' << extra.name;
        }
        out << '\n';
    }
    std::size_t count = 0;
    for (; !rows.AtEnd(); rows.Next(), ++count) {
        const std::string fullPath = FullPathNow(rows, rules, hosts);
        if (json) {
            nlohmann::ordered_json object;
            for (std::size_t i = 0; i < names.size(); ++i) {
                object[names[i]] = ValueOf(rows[static_cast<int>(i)]);
            }
            object["FullPath"] = fullPath;
            for (const auto& extra : how.extra) {
                object[extra.name] = extra.value(rows);
            }
            out << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        } else {
            for (std::size_t i = 0; i < names.size(); ++i) {
                out << rows[static_cast<int>(i)].AsText() << '\t';
            }
            out << fullPath;
            for (const auto& extra : how.extra) {
                out << '\t' << extra.value(rows);
            }
            out << '\n';
        }
    }
    return count;
}

}  // namespace sonarchive::cli
