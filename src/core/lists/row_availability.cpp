#include "lists/row_availability.h"

#include "lists/result_rows.h"

namespace sonarchive::lists {

AvailabilityPass::AvailabilityPass(const catalog::PathRules& rules, platform::LocalDriveList drives,
                                   const platform::ReachableHosts& hosts)
    : rules_(rules), drives_(std::move(drives)), hosts_(hosts) {}

RowAvailability AvailabilityPass::Of(std::string_view serial, std::string_view storedPath) {
    if (rules_.IsNetworkPath(serial)) {
        const bool answered = hosts_.IsHostReachable(rules_.NetworkHostOf(storedPath, true)) >= 0;
        return {"-", answered && !rules_.BuildFullPath(serial, storedPath).empty()};
    }
    const auto known = bySerial_.find(std::string(serial));
    if (known != bySerial_.end()) {
        return known->second;
    }
    const int drive = serial.empty() ? -1 : platform::FindDriveBySerial(drives_, serial);
    RowAvailability found{drive < 0 ? "?" : drives_[static_cast<std::size_t>(drive)].Letter,
                          drive >= 0};
    bySerial_.emplace(serial, found);
    return found;
}

void MarkAvailabilityAll(ResultRows& rows, AvailabilityPass& pass) {
    for (std::size_t i = 0; i < rows.Size(); ++i) {
        const RowAvailability a =
            pass.Of(rows.Text(i, RowText::DriveSerialNumber), rows.Text(i, RowText::Path));
        rows.SetAvailability(i, a.driveLetter, a.reachable);
    }
}

}  // namespace sonarchive::lists
