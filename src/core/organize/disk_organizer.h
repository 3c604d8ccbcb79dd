// The disk organizer: copies or moves the files behind catalog rows into a folder tree under
// one base folder, named from their tags, and keeps the catalog in step: a moved file's row
// gets its new path and volume, a copy becomes a new row, and the row of a file that was
// replaced disappears. A preview lists every old and new path and touches nothing.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalog_store/catalog.h"
#include "catalog_store/catalog_writer.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/settings.h"
#include "catalog_store/sql_text.h"
#include "cataloguing/add_files.h"
#include "interaction/interaction.h"
#include "organize/organizer_settings.h"
#include "platform/mount_table.h"

namespace sonarchive::organize {

enum class OrganizeMode { Copy, Move, Preview };

// One line of the organizer's messages: a plain lead, an emphasized path or name, plain text
// after it, and a link to the explanations, or a status line shown in red.
struct OrganizerMessage {
    std::string lead;
    std::string subject;
    std::string tail;
    bool link = false;
    bool status = false;

    // The line as text; the link reads " Description".
    std::string Text(bool withLink) const;
    bool operator==(const OrganizerMessage&) const = default;
};

struct PreviewLine {
    std::string newPath;
    std::string oldPath;
    bool operator==(const PreviewLine&) const = default;
};

// What a run shows while it works; any member may be left empty.
struct OrganizerObserver {
    std::function<void(const std::string& from, const std::string& to)> paths;
    std::function<void(const OrganizerMessage&)> message;
};

struct OrganizeOutcome {
    bool validBase = false;  // the base folder could be used
    bool started = false;    // the run got past its checks and questions
    bool cancelled = false;
    int done = 0;    // files copied or moved (or already in place)
    int failed = 0;  // rows that gave a message
    std::vector<PreviewLine> preview;
};

class DiskOrganizer {
public:
    DiskOrganizer(catalog::Catalog& catalog, const catalog::PathRules& rules,
                  const platform::MountTable& mounts, catalog::Registry& registry,
                  catalog::GeneralSettings& general, Interaction& interaction,
                  cataloguing::FileAdder& adder, catalog::HostRegistration registerHost);

    // One run on the selected rows (`selection`: none when there is no source list) or on
    // every row, as the settings say. Copy and move ask first when CONFIRM_ORGANIZE_FILES is on.
    OrganizeOutcome Run(const OrganizerSettings& settings, OrganizeMode mode,
                        const std::optional<catalog::IdList>& selection,
                        const OrganizerObserver& observer);

private:
    struct RunState;
    struct Candidate;

    std::optional<catalog::IdList> RowsToProcess(const OrganizerSettings& settings,
                                                 const std::optional<catalog::IdList>& selection);
    bool ConfirmStart(std::size_t files);
    void ProcessRow(RunState& run, const catalog::TMainDataRecComplete& row);
    bool PlaceFile(RunState& run, const Candidate& file);
    bool AskToReplace(RunState& run, const Candidate& file, bool& replace);
    bool MakeFolders(RunState& run, const Candidate& file);
    bool UpdateCatalog(RunState& run, const Candidate& file);
    void RemoveEmptiedFolders(RunState& run);
    std::int64_t RowAt(const std::string& localPath);

    catalog::Catalog& catalog_;
    const catalog::PathRules& rules_;
    const platform::MountTable& mounts_;
    catalog::Registry& registry_;
    catalog::GeneralSettings& general_;
    Interaction& interaction_;
    cataloguing::FileAdder& adder_;
    catalog::HostRegistration registerHost_;
};

}  // namespace sonarchive::organize
