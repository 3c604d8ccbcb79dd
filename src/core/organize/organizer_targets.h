// Where the disk organizer puts a file: the base folder, the folder made from the row's tags,
// and the file's new name.
//
// Every place is held twice: as the user reads it (from the base folder as typed, so a base
// given as "//host/share/dir" reads as such) and as the system opens it now (through the
// mounts).
#pragma once

#include <optional>
#include <string>

#include "catalog_store/path_rules.h"
#include "catalog_store/records.h"
#include "organize/file_name_characters.h"
#include "organize/organizer_settings.h"
#include "platform/mount_table.h"

namespace sonarchive::organize {

struct Place {
    std::string shown;  // as the user reads it
    std::string local;  // as the system opens it

    // A name inside this folder.
    Place Child(const std::string& name) const;
};

// The base folder of the typed text, one trailing "/" removed (so "/" becomes the empty
// text and "/" + name names a file at the root). Nothing when the text is empty, is neither an
// absolute path nor "//host/share/dir", lies on no drive, lies on a network mount whose address
// cannot be told, is not reached by any mount, or is no folder.
std::optional<Place> ResolveBaseFolder(const std::string& typed, const platform::MountTable& mounts,
                                       const catalog::PathRules& rules);

struct TargetFolder {
    bool ok = false;              // every tag it is made from could be legalized
    std::string displayed;        // base + the tags as stored: what "To:" and the messages show
    Place folder;                 // made from the legalized tags
    std::optional<Place> parent;  // the artist folder of the two-level choice
};

TargetFolder TargetFolderOf(const Place& base, FolderNaming naming,
                            const catalog::TMainDataRecComplete& row,
                            const LegalizeOptions& legalize);

// The file name before legalizing: the last component of dPath, or a format's value with
// two-digit tracks followed by the extension of dPath.
std::string TargetFileNameOf(FileNaming naming, const std::string& customFormat,
                             const catalog::TMainDataRecComplete& row);

}  // namespace sonarchive::organize
