#include "lists/exec_sql.h"

namespace sonarchive::lists {

std::int64_t ExecSql(catalog::Catalog& catalog, const std::string& sql, bool markStale) {
    const std::int64_t changed = catalog.Engine().Execute(sql);
    if (markStale) {
        catalog.Events().Notify(catalog::CatalogChange::PickListsStale);
    }
    return changed;
}

}  // namespace sonarchive::lists
