// The volume identity a file is catalogued under.
#pragma once

#include <optional>
#include <string>

#include "catalog_store/path_rules.h"
#include "platform/mount_table.h"

namespace sonarchive::cataloguing {

struct VolumeIdentity {
    std::string typeName;  // drive type name ("Fixed", "Removable", "Remote", ...)
    int typeCode = 0;      // its dDriveType code
    std::string serial;    // 8 hex digits, or "//host" for network files
    std::string label;     // empty for network files
    std::string letter;    // the mount point; a blank for network files
};

enum class IdentityProblem {
    None,
    UntranslatableNetworkMount,  // a network mount whose address cannot be told
    NoVolume,                    // the path lies on no known drive
};

struct IdentityResult {
    VolumeIdentity identity;
    IdentityProblem problem = IdentityProblem::None;
};

// The identity of the volume that holds `path`: a local drive's serial, label and mount point,
// or for a file on a network mount its host ("//host", type "Remote", no label, a blank
// letter). A path given as a network address ("//host/share/...") is a network file too.
IdentityResult VolumeIdentityOf(const platform::MountTable& mounts,
                                const catalog::PathRules& rules, const std::string& path);

// The identity of one drive of the mount table.
VolumeIdentity IdentityOfDrive(const platform::MountEntry& drive);

}  // namespace sonarchive::cataloguing
