#include "cataloguing/reachable_files.h"

#include "catalog_store/sql_text.h"
#include "cataloguing/archive_check.h"
#include "text/text.h"

namespace sonarchive::cataloguing {

std::string SerialList(const platform::LocalDriveList& drives) {
    std::vector<std::string> serials;
    for (const auto& drive : drives) {
        serials.push_back(drive.SerialNumber);
    }
    return QuotedList(serials, "");
}

std::string HostList(const std::vector<std::string>& hosts, const catalog::PathRules& rules) {
    std::vector<std::string> upper;
    for (const auto& host : hosts) {
        upper.push_back(text::UpperCase(host));
    }
    return QuotedList(upper, std::string(rules.NetworkPrefix()));
}

std::vector<ReachableFile> ReachableFiles(catalog::Database& database,
                                          const catalog::PathRules& rules,
                                          const platform::LocalDriveList& drives,
                                          const std::vector<std::string>& reachableHosts) {
    std::vector<ReachableFile> files;
    const std::string serials = SerialList(drives);
    if (!serials.empty()) {
        catalog::Query rows(database,
                            "select id, dDriveSerialNumber, dpath from maindata where "
                            "dDriveSerialNumber in " +
                                serials);
        for (; !rows.AtEnd(); rows.Next()) {
            const std::string serial = rows[1].AsText();
            if (platform::FindDriveBySerial(drives, serial) >= 0) {
                files.push_back(
                    {rows[0].AsInteger(), rules.BuildFullPath(serial, rows[2].AsText())});
            }
        }
    }
    const std::string hosts = HostList(reachableHosts, rules);
    if (!hosts.empty()) {
        catalog::Query rows(
            database, "select id, dpath, dDriveSerialNumber from maindata where (dDriveType = " +
                          std::to_string(catalog::kDriveRemote) +
                          ") and (dDriveSerialNumber like '" + std::string(rules.NetworkPrefix()) +
                          "%') and (upper(dDriveSerialNumber) in " + hosts + ")");
        for (; !rows.AtEnd(); rows.Next()) {
            // A share of a reachable host that is not mounted here cannot be looked into.
            const std::string path = rules.BuildFullPath(rows[2].AsText(), rows[1].AsText());
            if (!path.empty()) {
                files.push_back({rows[0].AsInteger(), path});
            }
        }
    }
    return files;
}

}  // namespace sonarchive::cataloguing
