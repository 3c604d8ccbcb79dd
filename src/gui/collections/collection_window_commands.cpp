// What the collection window does with its members: removing, moving, shuffling, the
// collection's properties, playing and saving as a playlist.
#include <QMdiSubWindow>
#include <algorithm>
#include <unordered_map>

#include "collections/collections.h"
#include "collections/playlist_document.h"
#include "gui/collections/collection_window.h"
#include "gui/collections/new_collection_dialog.h"
#include "gui/lists/messages_panel.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "gui/shell/path_text.h"
#include "gui/shell/recent_playlists.h"
#include "interaction/scopes.h"

namespace sonarchive::gui {
namespace {

// The members in list order with their positions and whether each is selected.
std::vector<collections::MemberPosition> MemberPositions(const TResultList& list) {
    const std::vector<QModelIndex> selected = list.SelectedRows();
    std::vector<collections::MemberPosition> members;
    for (const QModelIndex& row : list.Rows().RowsInListOrder()) {
        if (const catalog::TMainDataRec* record = list.Rows().Record(row)) {
            members.push_back({record->CollectionEntryId, record->dPosition,
                               std::find(selected.begin(), selected.end(), row) != selected.end()});
        }
    }
    return members;
}

// Gives every listed member the position it now has.
void TakePositions(TResultList& list, const std::vector<collections::MemberPosition>& members) {
    std::unordered_map<std::int64_t, double> positions;
    for (const collections::MemberPosition& member : members) {
        positions[member.memberId] = member.position;
    }
    for (const QModelIndex& row : list.Rows().RowsInListOrder()) {
        std::size_t position = 0;
        if (lists::ResultRows* rows = list.Rows().RowsOf(row, position)) {
            catalog::TMainDataRec& record = rows->Record(position);
            record.dPosition = positions[record.CollectionEntryId];
        }
    }
}

}  // namespace

void TFCollection::RemoveSelectedMembers() {
    const std::vector<QModelIndex> selected = List().SelectedRows();
    if (selected.empty()) {
        return;
    }
    AppContext& app = Main().App();
    if (!collections::ConfirmMemberRemoval(app.User(), app.Registry(), app.General())) {
        return;
    }
    std::vector<std::int64_t> memberIds;
    for (const QModelIndex& row : selected) {
        if (const catalog::TMainDataRec* record = List().Rows().Record(row)) {
            memberIds.push_back(record->CollectionEntryId);
        }
    }
    collections::RemoveCollectionMembers(app.Catalog().Engine(), memberIds);
    LoadMembers(false);
    UpdateTotals(true);
}

void TFCollection::MoveSelected(bool up) {
    if (!usesPositions_) {
        Messages().AppendLine(
            "Can't move items in a sortable collection. Open \"Edit properties\" to change "
            "collection behavior.");
        return;
    }
    std::vector<collections::MemberPosition> members = MemberPositions(List());
    const bool moved =
        up ? collections::MoveSelectedUp(members) : collections::MoveSelectedDown(members);
    if (!moved) {
        return;
    }
    TakePositions(List(), members);
    SortByPosition();
    SavePositions();
}

void TFCollection::RandomizePositions() {
    if (!usesPositions_) {
        return;
    }
    setUpdatesEnabled(false);
    std::vector<collections::MemberPosition> members = MemberPositions(List());
    collections::RandomizePositions(members, random_);
    TakePositions(List(), members);
    SortByPosition();
    setUpdatesEnabled(true);
    SavePositions();
}

void TFCollection::SavePositions() {
    collections::SaveMemberPositions(Main().App().Catalog().Engine(), MemberPositions(List()));
}

void TFCollection::EditProperties() {
    const auto choice = NewCollectionDialogOf(Main()).Ask(
        tr("Collection properties"), QString::fromStdString(name_), !usesPositions_);
    if (!choice) {
        return;
    }
    collections::SetCollectionProperties(Main().App().Catalog(), collectionId_, choice->name,
                                         choice->sortable);
    if (const auto header =
            collections::LoadCollectionHeader(Main().App().Catalog().Engine(), collectionId_)) {
        name_ = header->name;
        usesPositions_ = header->usesPositions;
    }
    ApplyKind();
    if (usesPositions_) {
        SortByPosition();
    }
}

void TFCollection::DeleteThisCollection() {
    if (!Main().App().User().AskYesNo("Delete this collection?")) {
        return;
    }
    collections::DeleteCollection(Main().App().Catalog(), collectionId_);
    Frame().close();
}

void TFCollection::PlayCollection() {
    if (!Main().Providers().playFiles) {
        return;
    }
    std::vector<std::string> paths;
    for (const QModelIndex& row : List().Rows().RowsInListOrder()) {
        std::string path = List().FullPath(row);
        if (!path.empty()) {
            paths.push_back(std::move(path));
        }
    }
    if (!paths.empty()) {
        Main().Providers().playFiles(Main(), paths, false);
    }
}

void TFCollection::SaveAsPlaylist() {
    const QString file = AskPlaylistFileToSave(*this, tr("Save as playlist"));
    if (file.isEmpty()) {
        return;
    }
    RecentPlaylists(Main().App().Registry()).Add(file);
    WritePlaylistFile(PathFromQtName(file));
}

bool TFCollection::WritePlaylistFile(const std::string& file) {
    const int titleSection = lists::SectionIndexOf(List().Columns(), lists::codes::Title);
    std::vector<collections::PlaylistRow> rows;
    for (const QModelIndex& row : List().Rows().RowsInListOrder()) {
        const catalog::TMainDataRec* record = List().Rows().Record(row);
        if (record == nullptr) {
            continue;
        }
        rows.push_back({record->dFormat, record->dLength, row.data().toString().toStdString(),
                        row.siblingAtColumn(titleSection).data().toString().toStdString(),
                        List().FullPath(row)});
    }
    const QString caption = windowTitle();
    setWindowTitle(DisplayPath(file));
    const int error = collections::WritePlaylist(collections::PlaylistOfRows(rows), file);
    setWindowTitle(caption);
    if (error != 0) {
        Main().App().User().ShowError(collections::WriteProblem(file));
        return false;
    }
    return true;
}

}  // namespace sonarchive::gui
