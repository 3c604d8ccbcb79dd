// Renaming the files behind catalog rows, each to a name built from its own tags by one
// file-name format; the folder and the extension of every file stay, and the catalog follows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalog_store/catalog.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/records.h"
#include "catalog_store/settings.h"
#include "catalog_store/sql_text.h"
#include "interaction/interaction.h"

namespace sonarchive::organize {

// The format a rename starts with: RENAME_FORMAT; "%1 - %2" when it is missing or empty, and
// "%0 - %1" only when the settings cannot be opened at all.
std::string StoredRenameFormat(catalog::Registry& registry);
// Shows "Couldn't write to registry (RENAME_FORMAT)." when it cannot be written.
void StoreRenameFormat(catalog::Registry& registry, const std::string& format);

// The file's new name under the format: its value with two-digit tracks, then the extension of
// dPath; empty when the value is empty.
std::string NewFileName(const std::string& format, const catalog::TMainDataRecComplete& record);

struct RenameOutcome {
    bool ran = false;  // files were handed to the system (the caller's list is out of date)
    int renamed = 0;
    int failed = 0;
};

class FileRenamer {
public:
    using MessageLine = std::function<void(const std::string& line)>;

    FileRenamer(catalog::Catalog& catalog, const catalog::PathRules& rules,
                catalog::Registry& registry, catalog::GeneralSettings& general,
                Interaction& interaction);

    // Replaces the update list by the complete records of the ids, in the engine's order.
    void SetUpdateList(catalog::IdList ids);
    const std::vector<catalog::TMainDataRecComplete>& UpdateList() const { return records_; }
    // Drops records from the update list (indexes into it); disk and catalog stay as they are.
    void RemoveFromUpdateList(std::vector<std::size_t> indexes);

    // "&Rename" (after the format was stored): asks, then renames every reachable record whose
    // value is not empty; one message line per file that could not be renamed.
    RenameOutcome Rename(const std::string& format, const MessageLine& message);

private:
    enum class Step { Renamed, Skipped, Failed };
    Step RenameOne(catalog::TMainDataRecComplete& record, const std::string& format,
                   const MessageLine& message);

    catalog::Catalog& catalog_;
    const catalog::PathRules& rules_;
    catalog::Registry& registry_;
    catalog::GeneralSettings& general_;
    Interaction& interaction_;
    std::vector<catalog::TMainDataRecComplete> records_;
};

}  // namespace sonarchive::organize
