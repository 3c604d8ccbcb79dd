#include "lists/delete_rows.h"

#include <unistd.h>

#include <map>
#include <set>

#include "catalog_store/batched_transaction.h"
#include "catalog_store/maintenance.h"
#include "interaction/scopes.h"
#include "lists/browse_statements.h"
#include "text/path_bytes.h"

namespace sonarchive::lists {
namespace {

// Asks a question that a CONFIRM_ setting governs: false for Cancel. "Don't show this message
// anymore" with Ok switches the setting off and saves it at once.
bool ConfirmGoverned(const DeleteContext& context, bool& setting, const std::string& question) {
    const ConfirmAnswer answer = context.user.Confirm(question, kDeleteHelpTopic);
    if (!answer.ok) {
        return false;
    }
    if (answer.dontShowAgain) {
        setting = false;
        catalog::SaveGeneralSettings(context.registry, context.general);
    }
    return true;
}

std::string JoinQuoted(const std::vector<std::string>& names) {
    std::string joined;
    for (const auto& name : names) {
        joined += (joined.empty() ? "\"" : ",\"") + name + "\"";
    }
    return joined;
}

struct GroupFile {
    std::int64_t id;
    std::string serial;
    std::string path;
};

std::vector<GroupFile> FilesOfGroup(catalog::Database& database, const ListRowRef& group) {
    std::vector<GroupFile> files;
    catalog::Query query(database, GroupFilesStatement(group.grouping, group.groupKey));
    for (; !query.AtEnd(); query.Next()) {
        files.push_back({query["Id"].AsInteger(), query["dDriveSerialNumber"].AsText(),
                         query["dPath"].AsText()});
    }
    return files;
}

// One run of deletions inside batched transactions, remembering what became of each file.
class Deletion {
public:
    Deletion(const DeleteContext& context, bool fromDisk, DeleteOutcome& outcome)
        : context_(context),
          database_(context.catalog.Engine()),
          fromDisk_(fromDisk),
          outcome_(outcome),
          transaction_(database_) {}

    // A file row: its file first (from disk), then its catalog row. True when it went.
    bool DeleteFileRow(const ListRowRef& row) {
        if (const auto known = tried_.find(row.id); known != tried_.end()) {
            return known->second;
        }
        bool gone = true;
        if (fromDisk_) {
            const std::string full = RowFullPath(context_.rules, row.serial, row.path);
            gone = Unlink(full, row.path);
        }
        if (gone) {
            Execute("Delete from maindata where id=" + std::to_string(row.id), row.id);
        }
        tried_[row.id] = gone;
        return gone;
    }

    // A group row: every file of its group. True when the whole group left the catalog.
    bool DeleteGroup(const ListRowRef& group) {
        const std::vector<GroupFile> files = FilesOfGroup(database_, group);
        if (!fromDisk_) {
            Execute(GroupDeleteStatement(group.grouping, group.groupKey), -1);
            for (const GroupFile& file : files) {
                if (!tried_.contains(file.id)) {
                    tried_[file.id] = true;
                    outcome_.deletedIds.push_back(file.id);
                }
            }
            return true;
        }
        bool whole = true;
        for (const GroupFile& file : files) {
            if (const auto known = tried_.find(file.id); known != tried_.end()) {
                whole = whole && known->second;
                continue;
            }
            const std::string full = RowFullPath(context_.rules, file.serial, file.path);
            if (full.empty()) {
                // Not at hand now: its catalog row stays, and so does the group that shows it.
                whole = false;
                continue;
            }
            const bool gone = Unlink(full, file.path);
            if (gone) {
                Execute("delete from maindata where id=" + std::to_string(file.id), file.id);
            }
            tried_[file.id] = gone;
            whole = whole && gone;
        }
        return whole;
    }

    void Finish() { transaction_.Commit(); }
    bool AnyDeleted() const { return !outcome_.deletedIds.empty() || groupDeleted_; }

private:
    bool Unlink(const std::string& fullPath, const std::string& storedPath) {
        if (!fullPath.empty() && ::unlink(text::PathToSystem(fullPath).c_str()) == 0) {
            return true;
        }
        // A file whose volume is not mounted has no full path; its stored path names it.
        outcome_.failures.push_back("Couldn't delete file \"" +
                                    text::PathForDisplay(fullPath.empty() ? storedPath : fullPath) +
                                    "\"");
        return false;
    }

    void Execute(const std::string& sql, std::int64_t id) {
        transaction_.BeforeWrite();
        database_.Execute(sql);
        transaction_.AfterWrite();
        if (id >= 0) {
            outcome_.deletedIds.push_back(id);
        } else {
            groupDeleted_ = true;
        }
    }

    const DeleteContext& context_;
    catalog::Database& database_;
    bool fromDisk_;
    DeleteOutcome& outcome_;
    catalog::BatchedTransaction transaction_;
    std::map<std::int64_t, bool> tried_;  // id -> whether it went
    bool groupDeleted_ = false;
};

}  // namespace

std::vector<std::string> CollectionsOf(catalog::Database& database, catalog::IdList ids) {
    std::vector<std::string> names;
    std::set<std::string> seen;
    while (!ids.empty()) {
        catalog::Query query(database,
                             "select distinct dname, dSubCollectionId from subcoll, subcolld where "
                             "subcoll.id=subcolld.dsubcollectionid and dDataId in " +
                                 catalog::IdListBatch(ids));
        for (; !query.AtEnd(); query.Next()) {
            std::string name = query["dname"].AsText();
            if (seen.insert(name).second) {
                names.push_back(std::move(name));
            }
        }
    }
    return names;
}

DeleteOutcome DeleteSelected(const DeleteContext& context, std::span<const ListRowRef> rows,
                             bool fromDisk) {
    DeleteOutcome outcome;
    if (rows.empty()) {
        return outcome;
    }
    catalog::Database& database = context.catalog.Engine();
    // Only the questions need the files behind group rows before the deleting starts.
    const catalog::IdList ids =
        context.general.ConfirmDelete || context.general.ConfirmDeleteIfInCollections
            ? SelectedIds(database, rows)
            : catalog::IdList{};
    if (context.general.ConfirmDelete &&
        !ConfirmGoverned(
            context, context.general.ConfirmDelete,
            "Remove " + std::to_string(ids.size()) + " file references from the archive?")) {
        outcome.cancelled = true;
        return outcome;
    }
    bool cleanCollections = true;
    if (context.general.ConfirmDeleteIfInCollections) {
        const std::vector<std::string> names = CollectionsOf(database, ids);
        cleanCollections = !names.empty();
        if (cleanCollections &&
            !ConfirmGoverned(
                context, context.general.ConfirmDeleteIfInCollections,
                "The items are part of the following collection(s): " + JoinQuoted(names) +
                    ". If you delete the items, the items will also be removed "
                    "from these collection(s). Do you still want to delete?")) {
            outcome.cancelled = true;
            return outcome;
        }
    }

    BusyScope busy(context.user);
    Deletion deletion(context, fromDisk, outcome);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].IsGroup() && deletion.DeleteFileRow(rows[i])) {
            outcome.removedRows.push_back(i);
        }
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].IsGroup() && deletion.DeleteGroup(rows[i])) {
            outcome.removedRows.push_back(i);
        }
    }
    deletion.Finish();

    catalog::CatalogEvents& events = context.catalog.Events();
    if (deletion.AnyDeleted()) {
        events.Notify(catalog::CatalogChange::PickListsStale);
    }
    events.Notify(catalog::CatalogChange::FileCountChanged);
    if (cleanCollections && catalog::RemoveOrphanMembers(database) > 0) {
        events.Notify(catalog::CatalogChange::CollectionsChanged);
    }
    return outcome;
}

}  // namespace sonarchive::lists
