// Groups many small writes into transactions, so a long add costs a few commits instead of
// one disk flush per row. Whatever was written is committed at the end, at a cancel, and when
// the scope is left by an error, so no row already added is ever lost.
#pragma once

#include <chrono>
#include <cstddef>

#include "catalog_store/engine.h"

namespace sonarchive::catalog {

class BatchedTransaction {
public:
    explicit BatchedTransaction(Database& database, std::size_t rowsPerCommit = 1000,
                                std::chrono::milliseconds maxAge = std::chrono::milliseconds(500));
    ~BatchedTransaction();
    BatchedTransaction(const BatchedTransaction&) = delete;
    BatchedTransaction& operator=(const BatchedTransaction&) = delete;

    // Call before each write: opens a transaction when none is open.
    void BeforeWrite();
    // Call after each write: commits when the batch is full or old enough.
    void AfterWrite();
    void Commit();

private:
    Database& database_;
    std::size_t rowsPerCommit_;
    std::chrono::milliseconds maxAge_;
    std::size_t pending_ = 0;
    bool open_ = false;
    std::chrono::steady_clock::time_point openedAt_;
};

}  // namespace sonarchive::catalog
