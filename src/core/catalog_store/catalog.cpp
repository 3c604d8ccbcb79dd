#include "catalog_store/catalog.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "catalog_store/schema.h"
#include "text/path_bytes.h"

namespace sonarchive::catalog {

int CatalogEvents::Subscribe(Handler handler) {
    std::lock_guard lock(mutex_);
    handlers_.emplace(nextToken_, std::move(handler));
    return nextToken_++;
}

void CatalogEvents::Unsubscribe(int token) {
    std::lock_guard lock(mutex_);
    handlers_.erase(token);
}

void CatalogEvents::Notify(CatalogChange change) {
    std::vector<Handler> handlers;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [token, handler] : handlers_) {
            handlers.push_back(handler);
        }
    }
    for (const auto& handler : handlers) {  // outside the lock: a handler may unsubscribe
        handler(change);
    }
}

Catalog::Catalog(std::string dataDirectory) : dataDirectory_(std::move(dataDirectory)) {
    std::error_code error;
    std::filesystem::create_directories(text::PathToSystem(dataDirectory_), error);
    if (error) {
        throw EngineError(SQLITE_CANTOPEN, "Cannot create the data directory " + dataDirectory_ +
                                               ": " + error.message());
    }
    database_ = std::make_unique<Database>(text::PathToSystem(DatabasePath()));
    if (EnsureCatalogTables(*database_)) {
        EnsureCatalogIndexes(*database_);  // a new catalog: nothing to check first
    }
}

std::string Catalog::DatabasePath() const {
    return (std::filesystem::path(dataDirectory_) / kDatabaseFileName).string();
}

std::int64_t Catalog::FileCount() {
    Query count(*database_, "select count(*) from maindata");
    return count.AtEnd() ? 0 : count[0].AsInteger();
}

}  // namespace sonarchive::catalog
