// Bringing the catalog up at start: the index check with its recovery, and the upgrade of an
// older catalog's schema.
#pragma once

#include "catalog_store/catalog.h"
#include "catalog_store/settings.h"
#include "interaction/interaction.h"

namespace sonarchive::catalog {

struct StartupOutcome {
    bool endProgram = false;        // the catalog is damaged and was not salvaged
    bool salvaged = false;          // the readable rows of a damaged catalog were copied anew
    bool schemaStepsRun = false;    // the index check passed at once and the upgrade ran
    bool rereadRequested = false;   // the user wants the tags re-read now
};

class CatalogStartup {
public:
    CatalogStartup(Catalog& catalog, Registry& registry, Interaction& interaction);

    // The index check, the recovery of damaged indexes and, when the catalog was sound at
    // once, the three schema steps. When the recovery cannot clear the damage, the user is
    // asked to salvage the catalog (salvage.h); the program ends when that is refused or
    // fails. Engine errors other than damage propagate.
    StartupOutcome Run();

    // Counts the rows and checks the file's structure. On damage: in reporting mode shows the
    // engine's text and what will happen, then rebuilds the indexes; answers false.
    bool IndexCheck(bool reporting);

    // Schema step 1: records the page size, rebuilding a file of 512-byte pages with 1024.
    void UpgradePageSize();
    // Schema step 2: widens dPath to 230 characters.
    void UpgradePathWidth();
    // Schema step 3: adds dFileDate; answers whether the user asked for a re-read.
    bool AddFileDateColumn();

private:
    void RecreateIndexes();
    // Asks, salvages and reports; false when the user said No or the salvage failed.
    bool OfferSalvage();

    Catalog& catalog_;
    Registry& registry_;
    Interaction& interaction_;
};

// When this is the first start, switches the flag off, saves the general settings and
// answers true: the caller then shows the welcome dialog.
bool TakeFirstTimeUsage(Registry& registry, GeneralSettings& settings);

}  // namespace sonarchive::catalog
