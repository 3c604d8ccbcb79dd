// Mass tag update: one field set to one value in the tags of many catalogued files, and in
// their rows.
//
// Each file's primary tag gets the field; the catalog columns are then set with one statement
// per 50 ids. In the default mode every row gets the new value whether or not its tag could be
// written; in the synchronised mode a row whose tag could not be written is left out and
// reported in the messages.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalog_store/catalog.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/records.h"
#include "catalog_store/settings.h"
#include "catalog_store/sql_text.h"
#include "interaction/interaction.h"
#include "tags/mass_update_fields.h"

namespace sonarchive::tags {

// What happened to one row in an update.
struct MassUpdateRowResult {
    std::int64_t id = 0;
    std::string path;  // the full path, or the stored path when the file cannot be reached
    bool tagWritten = false;
    bool catalogUpdated = false;
    std::string message;  // why the tag was not written (also when the row was updated)
};

// How a Modify ended.
enum class ModifyOutcome {
    NoField,   // no field was selected (the user was told)
    NoRows,    // the list is empty
    Declined,  // the confirmation was cancelled
    Done,
    Cancelled,  // stopped between files; the rows done so far were updated
};

struct ModifyReport {
    ModifyOutcome outcome = ModifyOutcome::Done;
    std::vector<MassUpdateRowResult> rows;  // the rows processed, in list order

    // A tag or a row was changed.
    bool Changed() const;
    std::size_t TagsWritten() const;
};

// The window's view of a running update.
struct MassUpdateObserver {
    std::function<void(int maximum)> progressStarted;
    std::function<void(int position)> progressed;
    std::function<void()> progressEnded;
    // A line for the messages panel (synchronised mode only).
    std::function<void(const std::string& line)> message;
};

class TagMassUpdate {
public:
    TagMassUpdate(catalog::Catalog& catalog, const catalog::PathRules& rules,
                  Interaction& interaction, catalog::Registry& registry,
                  catalog::GeneralSettings& settings);

    // Loads the rows of the ids (50 a query), replacing the loaded ones.
    void Load(catalog::IdList ids);
    const std::vector<catalog::TMainDataRecComplete>& Rows() const { return rows_; }
    // Takes rows out of the update list; the catalog is not touched.
    void RemoveRows(const std::vector<std::int64_t>& ids);

    // The full path of a loaded row for the "File path" column: where it can be opened now,
    // "?" and the stored path when its volume is not mounted, the network path for a network
    // row.
    std::string DisplayPath(const catalog::TMainDataRecComplete& row) const;

    // "&Modify": the field (a position in MassUpdateFields, nothing for none), the new text
    // (trimmed here, once, for tags and catalog alike) or number, and the mode. Asks "Update N
    // files?" under CONFIRM_MASS_UPDATE, updates, and loads the rows again.
    ModifyReport Modify(std::optional<std::size_t> field, const std::string& text,
                        std::int64_t number, bool synchronised, const MassUpdateObserver& observer);

private:
    MassUpdateRowResult UpdateFile(const catalog::TMainDataRecComplete& row,
                                   const MassUpdateField& field,
                                   const catalog::TCommentInfoType& values);
    void UpdateCatalog(const MassUpdateField& field, const std::string& text, std::int64_t number,
                       catalog::IdList ids);
    catalog::IdList LoadedIds() const;

    catalog::Catalog& catalog_;
    const catalog::PathRules& rules_;
    Interaction& interaction_;
    catalog::Registry& registry_;
    catalog::GeneralSettings& settings_;
    std::vector<catalog::TMainDataRecComplete> rows_;
};

}  // namespace sonarchive::tags
