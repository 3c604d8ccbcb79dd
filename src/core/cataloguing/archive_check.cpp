#include "cataloguing/archive_check.h"

#include <sys/stat.h>

#include <algorithm>

#include "catalog_store/maintenance.h"
#include "catalog_store/sql_text.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::cataloguing {
namespace {

struct FileCheckRec {
    std::int64_t Id = 0;
    std::string FullPath;
    bool Missing = false;
};

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(text::PathToSystem(path).c_str(), &st) == 0;
}

std::vector<std::string> UpperCased(const std::vector<std::string>& texts) {
    std::vector<std::string> upper;
    for (const auto& t : texts) {
        upper.push_back(text::UpperCase(t));
    }
    return upper;
}

}  // namespace

std::string QuotedList(const std::vector<std::string>& texts, const std::string& prefix) {
    if (texts.empty()) {
        return {};
    }
    std::string list = "(";
    for (const auto& t : texts) {
        // Quoted like every other text value: a name with a quote in it cannot break the
        // statement.
        list += (list.size() > 1 ? ",'" : "'") + catalog::SqlQuote(prefix + t) + "'";
    }
    return list + ")";
}

ArchiveCheck::ArchiveCheck(catalog::Catalog& catalog, const catalog::PathRules& rules,
                           Interaction& interaction, Log log, SerialSource attachedSerials)
    : catalog_(catalog),
      rules_(rules),
      interaction_(interaction),
      log_(std::move(log)),
      attachedSerials_(std::move(attachedSerials)) {}

void ArchiveCheck::Run(const CheckOptions& options, const platform::LocalDriveList& drives,
                       const std::vector<std::string>& reachableHosts) {
    std::vector<std::string> serials;
    for (const auto& drive : drives) {
        serials.push_back(drive.SerialNumber);
    }
    const std::string serialList = QuotedList(serials, "");
    // Host names compare without regard to case: a host that answered as "nas" keeps the
    // rows stored under "//NAS".
    const std::string hostList =
        QuotedList(UpperCased(reachableHosts), std::string(rules_.NetworkPrefix()));
    if (options.fixedDrives) {
        std::vector<std::string> existing = serials;
        for (auto& serial : attachedSerials_ ? attachedSerials_() : std::vector<std::string>{}) {
            if (std::find(existing.begin(), existing.end(), serial) == existing.end()) {
                existing.push_back(std::move(serial));
            }
        }
        CheckFixedDrives(QuotedList(existing, ""));
    }
    if (options.networkComputers) {
        CheckNetworkComputers(hostList);
    }
    if (options.individualFiles) {
        CheckIndividualFiles(drives, serialList, hostList);
    }
    const std::int64_t orphans = catalog::RemoveOrphanMembers(catalog_.Engine());
    if (orphans > 0) {
        log_("Removed invalid collection references: " + std::to_string(orphans));
    }
}

void ArchiveCheck::OfferDeletion(std::int64_t count, const std::string& question,
                                 const std::function<std::int64_t()>& remove) {
    log_(std::to_string(count) + " records found");
    if (count > 0 && interaction_.AskYesNo(question)) {
        const std::int64_t deleted = remove();
        catalog_.Events().Notify(catalog::CatalogChange::FileCountChanged);
        log_(std::to_string(deleted) + " records deleted");
    }
}

void ArchiveCheck::CheckFixedDrives(const std::string& serials) {
    const std::string condition =
        "dDriveType = " + std::to_string(catalog::kDriveFixed) +
        (serials.empty() ? "" : " and dDriveSerialNumber not in " + serials);
    catalog::Query count(catalog_.Engine(), "select count(id) from maindata where " + condition);
    const std::int64_t found = count[0].AsInteger();
    log_("References to files where fixed drives no longer exists:");
    OfferDeletion(found,
                  "Delete " + std::to_string(found) + " invalid file references in the database?",
                  [&] { return catalog_.Engine().Execute("delete from maindata where " + condition); });
}

void ArchiveCheck::CheckNetworkComputers(const std::string& hosts) {
    const std::string condition =
        "(dDriveType = " + std::to_string(catalog::kDriveRemote) +
        ") and (dDriveSerialNumber like '" + std::string(rules_.NetworkPrefix()) + "%'" +
        (hosts.empty() ? ")" : ") and (upper(dDriveSerialNumber) not in " + hosts + ")");
    catalog::Query count(catalog_.Engine(), "select count(id) from maindata where " + condition);
    const std::int64_t found = count[0].AsInteger();
    log_("Files seated on a network where the computer referenced is not accessible:");
    OfferDeletion(found,
                  "The computer(s) hosting these files might just be temporary unavailable. Are "
                  "you sure you want to remove them from the archive? Delete " +
                      std::to_string(found) + " records in the database?",
                  [&] { return catalog_.Engine().Execute("delete from maindata where " + condition); });
}

void ArchiveCheck::CheckIndividualFiles(const platform::LocalDriveList& drives,
                                        const std::string& serials, const std::string& hosts) {
    std::vector<FileCheckRec> files;
    if (!serials.empty()) {
        catalog::Query rows(catalog_.Engine(),
                            "select id, dDriveSerialNumber, dpath from maindata where "
                            "dDriveSerialNumber in " + serials);
        for (; !rows.AtEnd(); rows.Next()) {
            const std::string serial = rows[1].AsText();
            for (const auto& drive : drives) {
                if (drive.SerialNumber == serial) {
                    files.push_back({rows[0].AsInteger(),
                                     rules_.BuildFullPath(serial, rows[2].AsText())});
                    break;
                }
            }
        }
    }
    if (!hosts.empty()) {
        catalog::Query rows(catalog_.Engine(),
                            "select id, dpath, dDriveSerialNumber from maindata where (dDriveType = " +
                                std::to_string(catalog::kDriveRemote) +
                                ") and (dDriveSerialNumber like '" +
                                std::string(rules_.NetworkPrefix()) +
                                "%') and (upper(dDriveSerialNumber) in " + hosts + ")");
        for (; !rows.AtEnd(); rows.Next()) {
            // A share of a reachable host that is not mounted here cannot be looked into.
            const std::string path = rules_.BuildFullPath(rows[2].AsText(), rows[1].AsText());
            if (!path.empty()) {
                files.push_back({rows[0].AsInteger(), path});
            }
        }
    }

    interaction_.SetTaskText("Checking individual files");
    interaction_.SetProgressMaximum(static_cast<int>(files.size()));
    int missing = 0;
    bool cancelled = false;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (interaction_.CancelRequested()) {
            cancelled = true;
            break;
        }
        if (!Exists(files[i].FullPath)) {
            files[i].Missing = true;
            ++missing;
            interaction_.SetCounterText("Files found: " + std::to_string(missing));
        }
        interaction_.SetProgressPosition(static_cast<int>(i + 1));
        interaction_.ProcessPendingEvents();
    }
    if (cancelled) {
        return;
    }
    log_("References to files no longer existing:");
    OfferDeletion(missing, "Delete " + std::to_string(missing) + " records in the database?", [&] {
        catalog::IdList ids;
        for (const auto& file : files) {
            if (file.Missing) {
                ids.push_back(file.Id);
            }
        }
        while (!ids.empty()) {
            catalog_.Engine().Execute("delete from maindata where id in " +
                                      catalog::IdListBatch(ids));
        }
        return static_cast<std::int64_t>(missing);
    });
}

}  // namespace sonarchive::cataloguing
