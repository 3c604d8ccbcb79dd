#include "cataloguing/scan_reads.h"

#include "catalog_store/catalog_rows.h"

namespace sonarchive::cataloguing {
ScanReads::ScanReads(catalog::Database& database, const catalog::PathRules& rules,
                     const catalog::CatalogInserter& inserter,
                     const std::vector<catalog::TMediaFileRec>& found, unsigned threads)
    : database_(database), rules_(rules), inserter_(inserter), found_(found), reads_(threads) {}

std::string ScanReads::IdentityOf(const catalog::TMediaFileRec& file) const {
    return file.DriveSerialNumber + '\n' + rules_.StripDriveLetter(file.FullPath);
}

bool ScanReads::IsCatalogued(const catalog::TMediaFileRec& file) const {
    return catalog::FindFileId(database_, rules_, file.FullPath, file.DriveSerialNumber) >= 0;
}

void ScanReads::PlanAhead() {
    while (planned_ < found_.size() && reads_.WantsMorePlanned(plans_.size())) {
        const catalog::TMediaFileRec& file = found_[planned_++];
        std::string identity = IdentityOf(file);
        if (queuedIdentities_.count(identity) != 0) {
            plans_.push_back(Plan::LookUpAtTurn);
        } else if (IsCatalogued(file)) {
            plans_.push_back(Plan::Catalogued);
        } else {
            queuedIdentities_.insert(std::move(identity));
            reads_.Submit([this, &file] { return inserter_.ReadFile(file); });
            plans_.push_back(Plan::Queued);
        }
    }
}

std::optional<catalog::FileReading> ScanReads::Next() {
    PlanAhead();
    const catalog::TMediaFileRec& file = found_[next_++];
    const Plan plan = plans_.front();
    plans_.pop_front();
    switch (plan) {
        case Plan::Catalogued:
            return std::nullopt;
        case Plan::LookUpAtTurn:
            if (IsCatalogued(file)) {
                return std::nullopt;
            }
            return inserter_.ReadFile(file);
        case Plan::Queued:
            break;
    }
    // Written (or found unreadable) once this returns: a later file of the same identity
    // planned from now on finds its row, or reads again when it could not be added.
    if (const auto queued = queuedIdentities_.find(IdentityOf(file));
        queued != queuedIdentities_.end()) {
        queuedIdentities_.erase(queued);
    }
    return reads_.Take();
}

}  // namespace sonarchive::cataloguing
