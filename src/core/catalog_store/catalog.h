// The data module: the catalog database of one data directory, its connection, and the
// notifications that tell windows what changed.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "catalog_store/engine.h"

namespace sonarchive::catalog {

enum class CatalogChange {
    PickListsStale,      // rows were added or changed: cached search pick lists are out of date
    FileCountChanged,    // the number of rows changed
    RowsChanged,         // rows were rewritten: open lists reload theirs
    CollectionsChanged,  // a collection was created, renamed or deleted
};

// Any window may subscribe; handlers run on the thread that made the change.
class CatalogEvents {
public:
    using Handler = std::function<void(CatalogChange)>;
    int Subscribe(Handler handler);
    void Unsubscribe(int token);
    void Notify(CatalogChange change);

private:
    std::mutex mutex_;
    int nextToken_ = 1;
    std::map<int, Handler> handlers_;
};

class Catalog {
public:
    static constexpr const char* kDatabaseFileName = "sonarchv.db";

    // Opens the catalog of a data directory (creating the folder and an empty catalog when
    // missing). Throws EngineError when the database cannot be opened. The directory is named
    // in the program's form (text/path_bytes.h), as DataDirectory and DatabasePath answer.
    explicit Catalog(std::string dataDirectory);

    const std::string& DataDirectory() const { return dataDirectory_; }
    std::string DatabasePath() const;
    Database& Engine() { return *database_; }
    CatalogEvents& Events() { return events_; }

    // "select count(*) from maindata"
    std::int64_t FileCount();

private:
    std::string dataDirectory_;
    std::unique_ptr<Database> database_;
    CatalogEvents events_;
};

}  // namespace sonarchive::catalog
