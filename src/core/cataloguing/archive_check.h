// "Check archive": removes rows whose files can no longer exist, judged only by the volumes and
// network hosts known right now, and collection members whose file row is gone.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalog_store/catalog.h"
#include "catalog_store/path_rules.h"
#include "interaction/interaction.h"
#include "platform/attached_volumes.h"
#include "platform/drive_list.h"

namespace sonarchive::cataloguing {

struct CheckOptions {
    bool fixedDrives = true;         // rows of fixed drives that are no longer there
    bool networkComputers = false;   // rows of network hosts that did not answer
    bool individualFiles = false;    // rows of present volumes whose file is gone
};

// "('" + prefix + text1 + "','" + prefix + text2 ... "')", each text SQL-quoted; empty text
// for no texts.
std::string QuotedList(const std::vector<std::string>& texts, const std::string& prefix);

class ArchiveCheck {
public:
    using Log = std::function<void(const std::string& line)>;
    // The serials of the volumes whose devices are attached now, mounted or not.
    using SerialSource = std::function<std::vector<std::string>()>;

    ArchiveCheck(catalog::Catalog& catalog, const catalog::PathRules& rules,
                 Interaction& interaction, Log log,
                 SerialSource attachedSerials = platform::AttachedVolumeSerials);

    // The checks chosen, in order, then the orphan clean-up. `reachableHosts` are host names
    // without separators. A fixed drive no longer exists when no device carries its volume:
    // one attached but not mounted keeps its rows. Engine errors propagate and skip the
    // remaining checks.
    void Run(const CheckOptions& options, const platform::LocalDriveList& drives,
             const std::vector<std::string>& reachableHosts);

private:
    void CheckFixedDrives(const std::string& serials);
    void CheckNetworkComputers(const std::string& hosts);
    void CheckIndividualFiles(const platform::LocalDriveList& drives,
                              const std::vector<std::string>& reachableHosts);
    // Logs the count, asks, deletes on Yes and logs the deleted count.
    void OfferDeletion(std::int64_t count, const std::string& question,
                       const std::function<std::int64_t()>& remove);

    catalog::Catalog& catalog_;
    const catalog::PathRules& rules_;
    Interaction& interaction_;
    Log log_;
    SerialSource attachedSerials_;
};

}  // namespace sonarchive::cataloguing
