// Whether a row's file can be reached now, and the drive letter (mount point) it shows.
//
// A local row is at hand while its volume is mounted. A network row is at hand while its host
// answered in this run and a mount of its share is present, since only then can the file be
// opened.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "catalog_store/path_rules.h"
#include "platform/drive_list.h"
#include "platform/reachable_hosts.h"

namespace sonarchive::lists {

class ResultRows;

struct RowAvailability {
    std::string driveLetter;  // the mount point, "?" when not mounted, "-" for network rows
    bool reachable = false;
};

// One marking pass: the drives and hosts as they are now. Local answers are kept per serial,
// so marking a long list looks each volume up once.
class AvailabilityPass {
public:
    AvailabilityPass(const catalog::PathRules& rules, platform::LocalDriveList drives,
                     const platform::ReachableHosts& hosts);

    RowAvailability Of(std::string_view serial, std::string_view storedPath);

private:
    const catalog::PathRules& rules_;
    platform::LocalDriveList drives_;
    const platform::ReachableHosts& hosts_;
    std::unordered_map<std::string, RowAvailability> bySerial_;
};

// Marks every row of the list.
void MarkAvailabilityAll(ResultRows& rows, AvailabilityPass& pass);

// The light green of a row whose file is at hand, and the light red of one that is not.
struct Rgb {
    int red, green, blue;
};
constexpr Rgb kReachableColour{232, 255, 232};
constexpr Rgb kUnreachableColour{255, 215, 215};

}  // namespace sonarchive::lists
