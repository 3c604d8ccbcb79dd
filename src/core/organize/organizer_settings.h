// The disk organizer's options, as its window shows them and the settings keep them.
#pragma once

#include <string>

#include "catalog_store/settings.h"

namespace sonarchive::organize {

enum class OrganizeAction { Copy = 0, Move = 1 };
enum class OrganizeRange { SelectedFiles = 0, AllFiles = 1 };
enum class FolderNaming {
    Artist = 0,
    ArtistAlbum = 1,
    Album = 2,
    Comment = 3,
    Genre = 4,
    Year = 5,
    Skip = 6
};
enum class FileNaming { NoChanges = 0, ArtistTitle = 1, Title = 2, Custom = 3 };

struct OrganizerSettings {
    std::string baseDir;  // as the user typed or picked it
    OrganizeAction action = OrganizeAction::Copy;
    bool removeEmptyFolders = false;
    OrganizeRange range = OrganizeRange::SelectedFiles;
    FolderNaming folders = FolderNaming::Artist;
    FileNaming names = FileNaming::NoChanges;
    std::string customFormat;
};

// Reads the DISK_ORG_ values into the options; an integer that is missing or out of range
// leaves its option as it was, a missing text reads as empty.
void ReadOrganizerSettings(catalog::Registry& registry, OrganizerSettings& settings);

// Writes every DISK_ORG_ value together; on failure shows "Couldn't write to registry
// (DISK_ORG_BASE_DIR)." and answers false.
bool WriteOrganizerSettings(catalog::Registry& registry, const OrganizerSettings& settings);

}  // namespace sonarchive::organize
