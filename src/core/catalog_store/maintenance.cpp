#include "catalog_store/maintenance.h"

#include "catalog_store/collection_totals.h"
#include "catalog_store/sql_text.h"
#include "interaction/scopes.h"

namespace sonarchive::catalog {

bool PackDatabase(Catalog& catalog, Interaction& interaction) {
    {
        NoticeScope notice(interaction, "Packing database");
        try {
            catalog.Engine().Disconnect();
            catalog.Engine().Pack();
        } catch (const EngineError&) {
            interaction.ShowError(
                "Sonarchive: Exclusive rights to the database is needed. Are there more "
                "instances of Sonarchive running?");
            return false;
        }
    }
    interaction.ShowInformation("Database packed successfully.");
    return true;
}

bool EmptyDatabase(Catalog& catalog, Interaction& interaction) {
    if (!interaction.AskYesNo(
            "Delete every entry in the database (Collections will also be deleted) ?") ||
        !interaction.AskYesNo("Empty database, Are you sure?")) {
        return false;
    }
    BusyScope busy(interaction);
    catalog.Engine().Execute("delete from maindata");
    catalog.Events().Notify(CatalogChange::FileCountChanged);
    RemoveOrphanMembers(catalog.Engine());
    catalog.Events().Notify(CatalogChange::CollectionsChanged);
    return true;
}

std::int64_t RemoveOrphanMembers(Database& database) {
    IdList orphans;
    IdList losing;  // the collections whose totals no longer hold
    {
        Query query(database,
                    "select distinct subcolld.dSubCollectionId from subcolld left join maindata "
                    "on subcolld.ddataid=maindata.id where maindata.id is null");
        for (; !query.AtEnd(); query.Next()) {
            losing.push_back(query[0].AsInteger());
        }
    }
    {
        Query query(database,
                    "SELECT maindata.id as r, subcolld.ddataid as c from subcolld left join "
                    "maindata on subcolld.ddataid=maindata.id where maindata.id is null");
        for (; !query.AtEnd(); query.Next()) {
            orphans.push_back(query["c"].AsInteger());
        }
    }
    const auto count = static_cast<std::int64_t>(orphans.size());
    while (!orphans.empty()) {
        database.Execute("delete from subcolld where ddataid in" + IdListBatch(orphans));
    }
    RecomputeCollectionTotals(database, std::move(losing));
    return count;
}

}  // namespace sonarchive::catalog
