#include "cataloguing/archive_check.h"

#include <sys/stat.h>

#include <algorithm>

#include "catalog_store/maintenance.h"
#include "catalog_store/sql_text.h"
#include "cataloguing/reachable_files.h"
#include "interaction/scopes.h"
#include "text/path_bytes.h"

namespace sonarchive::cataloguing {
namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(text::PathToSystem(path).c_str(), &st) == 0;
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
    const std::string serialList = SerialList(drives);
    // Host names compare without regard to case: a host that answered as "nas" keeps the
    // rows stored under "//NAS".
    const std::string hostList = HostList(reachableHosts, rules_);
    if (options.fixedDrives) {
        // A fixed volume that is attached but not mounted still exists: its rows stay.
        std::vector<std::string> existing;
        for (const auto& drive : drives) {
            existing.push_back(drive.SerialNumber);
        }
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
        CheckIndividualFiles(drives, reachableHosts);
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
        // Open lists must not go on offering rows that are gone.
        catalog_.Events().Notify(catalog::CatalogChange::RowsChanged);
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
                                        const std::vector<std::string>& reachableHosts) {
    const std::vector<ReachableFile> files =
        ReachableFiles(catalog_.Engine(), rules_, drives, reachableHosts);
    std::vector<bool> missingFiles(files.size(), false);
    int missing = 0;
    bool cancelled = false;
    {
        // The notice spans exactly the test of the files: a window shows its progress and
        // cancel button only meanwhile, however the loop ends.
        NoticeScope testing(interaction_, "Checking individual files");
        interaction_.SetProgressMaximum(static_cast<int>(files.size()));
        interaction_.SetCounterText("Files found: 0");
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (interaction_.CancelRequested()) {
                cancelled = true;
                break;
            }
            if (!Exists(files[i].FullPath)) {
                missingFiles[i] = true;
                ++missing;
                interaction_.SetCounterText("Files found: " + std::to_string(missing));
            }
            interaction_.SetProgressPosition(static_cast<int>(i + 1));
            interaction_.ProcessPendingEvents();
        }
    }
    if (cancelled) {
        return;
    }
    log_("References to files no longer existing:");
    OfferDeletion(missing, "Delete " + std::to_string(missing) + " records in the database?", [&] {
        catalog::IdList ids;
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (missingFiles[i]) {
                ids.push_back(files[i].Id);
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
