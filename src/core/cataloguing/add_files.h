// Adding files to the catalog: scanning a folder or every local drive, and single files
// (dropped or typed). Every file ends in CatalogInserter::InsertCatalogRow.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog_store/catalog.h"
#include "catalog_store/catalog_writer.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/records.h"
#include "cataloguing/read_ahead.h"
#include "cataloguing/volume_identity.h"
#include "interaction/interaction.h"
#include "platform/mount_table.h"

namespace sonarchive::cataloguing {

// The formats ticked in the add dialog.
struct FormatSelection {
    bool all = false;
    bool mp3 = false;
    bool ogg = false;
    bool monkey = false;
    bool wave = false;
};

// "*.MP3", "*.OGG", "*.MAC", "*.APE", "*.WAV" for what is ticked, in that order.
std::vector<std::string> ExtensionMasks(const FormatSelection& formats);

// A file name matches "*.EXT" when its extension is EXT, compared without regard to case.
bool MatchesMask(std::string_view fileName, std::string_view mask);

// The files below a folder that match the masks, as a scan of it with its subfolders would
// find them (a file handed over as a whole folder stands for these).
std::vector<std::string> FolderFiles(const platform::MountTable& mounts, const std::string& folder,
                                     const std::vector<std::string>& masks);

struct AddCounters {
    int found = 0;
    int added = 0;
    int alreadyInArchive = 0;
    int invalid = 0;
    AddCounters& operator+=(const AddCounters& other);
};

// What an add reports while it runs; any member may be left empty.
struct AddObserver {
    std::function<void(const VolumeIdentity&)> volume;  // the volume being scanned
    std::function<void(const AddCounters&)> counters;   // the counters of that volume
    std::function<void(const std::string&)> errorLine;  // a line for the error list
};

struct AddOneFileResult {
    int code = 0;  // 0 added, -1 not added (no audio file, playlist, missing), -2 no volume
                   // identity, -3 already catalogued, -4 unreadable
    std::string message;
};

class FileAdder {
public:
    FileAdder(catalog::Catalog& catalog, const catalog::PathRules& rules,
              const platform::MountTable& mounts, catalog::CatalogInserter& inserter,
              Interaction& interaction, AddObserver observer = {});

    // Opens a dropped playlist instead of adding it (the playlist windows fill this in).
    void SetPlaylistOpener(std::function<void(const std::string& path)> opener);
    // How many files of a scan are read at once (1 to 16); 1 reads one file after another.
    // The catalog ends the same whatever the number.
    void SetReaderThreads(unsigned threads) { readerThreads_ = threads; }

    // Add mode 1: one folder, with or without its subfolders. False (after telling the user)
    // when the folder's volume cannot be identified.
    bool AddFromFolder(const std::string& folder, bool recurse,
                       const std::vector<std::string>& masks);
    // Add mode 3: every local drive.
    void AddFromAllDrives(const std::vector<std::string>& masks);
    // Add mode 2: dropped files, each through AddOneFile; failures go to the error list.
    void AddDroppedFiles(const std::vector<std::string>& paths);

    AddOneFileResult AddOneFile(const std::string& path);

    // The files of a folder (and its subfolders when recursing) that match the masks.
    void ScanFolder(const std::string& folder, bool recurse, const std::vector<std::string>& masks,
                    int depth, const VolumeIdentity& volume,
                    std::vector<catalog::TMediaFileRec>& found);
    // Inserts the found files that are not catalogued yet, counting what happened. The files
    // are read ahead on the reader threads; rows, ids, counters and error lines come out as
    // they would reading one file after another.
    void AddFoundFiles(const std::vector<catalog::TMediaFileRec>& found);

    // The id before the first file of this add: the added rows are those above it.
    std::int64_t FirstIdBefore() const { return firstIdBefore_; }
    // Totals over every volume of this add.
    const AddCounters& Totals() const { return totals_; }
    const std::vector<std::string>& ErrorLines() const { return errorLines_; }
    bool Cancelled();

private:
    // Where a path the user gave can be opened: absolute, a network address through the mounts.
    std::string LocalPath(const std::string& typed) const;
    void RememberFirstId();
    void ScanVolume(const std::string& folder, bool recurse, const std::vector<std::string>& masks,
                    const VolumeIdentity& volume);
    void ReportCounters();
    void AddError(const std::string& line);

    catalog::Catalog& catalog_;
    const catalog::PathRules& rules_;
    const platform::MountTable& mounts_;
    catalog::CatalogInserter& inserter_;
    Interaction& interaction_;
    AddObserver observer_;
    std::function<void(const std::string&)> openPlaylist_;
    std::int64_t firstIdBefore_ = -1;
    AddCounters current_;  // of the volume being added
    AddCounters totals_;
    std::vector<std::string> errorLines_;
    bool crossMounts_ = true;
    bool cancelled_ = false;
    unsigned readerThreads_ = kDefaultReaderThreads;
};

}  // namespace sonarchive::cataloguing
