// Deleting the selected rows of a result list from the catalog and, on request, their files
// from disk. Works through the Interaction, so the desktop and the command-line program ask
// the same questions.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "catalog_store/catalog.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/settings.h"
#include "interaction/interaction.h"
#include "lists/selected_rows.h"

namespace sonarchive::lists {

// The help topic of both delete questions.
constexpr int kDeleteHelpTopic = 18;

struct DeleteOutcome {
    bool cancelled = false;                // the user said Cancel to a question
    std::vector<std::size_t> removedRows;  // positions of the rows that leave the list
    std::vector<std::int64_t> deletedIds;  // catalog rows deleted, in the order they went
    std::vector<std::string> failures;     // "Couldn't delete file \"...\"", one per file
};

struct DeleteContext {
    catalog::Catalog& catalog;
    const catalog::PathRules& rules;
    catalog::Registry& registry;
    catalog::GeneralSettings& general;  // the two questions' settings, saved when switched off
    Interaction& user;
};

// Deletes the rows (the selection in list order; the file rows a selected group row shows go
// with it and may be passed as well). Asks "Remove N file references from the archive?" with
// N the catalog rows that will go, and names the collections the rows belong to; files that
// cannot be deleted from disk keep their rows. Afterwards the file counter is refreshed and,
// when due, collection members whose file row is gone are removed.
DeleteOutcome DeleteSelected(const DeleteContext& context, std::span<const ListRowRef> rows,
                             bool fromDisk);

// The collections the files belong to, each name once in the order found, asked 50 ids at a
// time.
std::vector<std::string> CollectionsOf(catalog::Database& database, catalog::IdList ids);

}  // namespace sonarchive::lists
