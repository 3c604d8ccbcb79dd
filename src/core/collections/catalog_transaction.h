// A group of catalog writes that lands as a whole or not at all: rolled back unless committed.
// Inside a transaction that is already open it joins that one instead.
#pragma once

#include "catalog_store/engine.h"

namespace sonarchive::collections {

class CatalogTransaction {
public:
    explicit CatalogTransaction(catalog::Database& database) : database_(database) {
        if (!database_.InTransaction()) {
            database_.BeginTransaction();
            owner_ = true;
        }
    }
    ~CatalogTransaction() {
        if (owner_) {
            try {
                database_.Rollback();
            } catch (const catalog::EngineError&) {
                // The error that brought us here is the one worth reporting.
            }
        }
    }
    CatalogTransaction(const CatalogTransaction&) = delete;
    CatalogTransaction& operator=(const CatalogTransaction&) = delete;

    void Commit() {
        if (owner_) {
            database_.Commit();
            owner_ = false;
        }
    }

private:
    catalog::Database& database_;
    bool owner_ = false;
};

}  // namespace sonarchive::collections
