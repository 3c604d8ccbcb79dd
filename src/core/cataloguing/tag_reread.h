// "Re-read tags": reads every reachable catalogued file again and rewrites its tag and stream
// columns and its file date.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "catalog_store/catalog.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/records.h"
#include "cataloguing/read_ahead.h"
#include "interaction/interaction.h"

namespace sonarchive::cataloguing {

// Reads a file into the tag and stream fields of a record, keeping its identity fields; false
// when the file cannot be read as its format.
using RecordRereader =
    std::function<bool(const std::string& fullPath, catalog::TMainDataRecComplete& record)>;

// One statement that writes a record's tag and stream columns and file date back to its row.
// Engine errors are swallowed: the row then keeps its previous values.
void UpdateReadColumns(catalog::Database& database, const catalog::TMainDataRecComplete& record);

// The statement UpdateReadColumns runs.
std::string UpdateReadColumnsStatement(const catalog::TMainDataRecComplete& record);

class TagReread {
public:
    using Message = std::function<void(const std::string& line)>;

    TagReread(catalog::Catalog& catalog, const catalog::PathRules& rules, Interaction& interaction,
              RecordRereader reread, Message message);

    // How many files are read at once (1 to 16); 1 reads one file after another. The rows
    // and the messages come out the same whatever the number.
    void SetReaderThreads(unsigned threads) { readerThreads_ = threads; }

    // Re-reads every row; answers false when cancelled. Without a cancel it ends by showing
    // "Finished re-reading tags".
    bool Run();

private:
    // The file's tag and stream fields and date for the row `id`; nothing when unreadable.
    // Runs on a reader thread: it uses nothing but the file and the rereader.
    std::optional<catalog::TMainDataRecComplete> ReadRecord(const std::string& path,
                                                            std::int32_t id) const;

    catalog::Catalog& catalog_;
    const catalog::PathRules& rules_;
    Interaction& interaction_;
    RecordRereader reread_;
    Message message_;
    unsigned readerThreads_ = kDefaultReaderThreads;
};

}  // namespace sonarchive::cataloguing
