#include "catalog_store/batched_transaction.h"

namespace sonarchive::catalog {

BatchedTransaction::BatchedTransaction(Database& database, std::size_t rowsPerCommit,
                                       std::chrono::milliseconds maxAge)
    : database_(database), rowsPerCommit_(rowsPerCommit), maxAge_(maxAge) {}

BatchedTransaction::~BatchedTransaction() {
    try {
        Commit();
    } catch (const EngineError&) {
        // Leaving by an error already: the caller reports that one.
    }
}

void BatchedTransaction::BeforeWrite() {
    if (!open_ && !database_.InTransaction()) {
        database_.BeginTransaction();
        open_ = true;
        openedAt_ = std::chrono::steady_clock::now();
    }
}

void BatchedTransaction::AfterWrite() {
    ++pending_;
    if (open_ && (pending_ >= rowsPerCommit_ ||
                  std::chrono::steady_clock::now() - openedAt_ >= maxAge_)) {
        Commit();
    }
}

void BatchedTransaction::Commit() {
    if (open_) {
        open_ = false;
        pending_ = 0;
        if (database_.InTransaction()) {
            database_.Commit();
        }
    }
}

}  // namespace sonarchive::catalog
