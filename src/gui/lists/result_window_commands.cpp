// The acts of a result-list window on its rows: playing, the tag editor with the row written
// back, deleting, and the hand-overs to the tools of other parts.
#include <algorithm>

#include "catalog_store/catalog_writer.h"
#include "gui/lists/messages_panel.h"
#include "gui/lists/result_window.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "lists/delete_rows.h"

namespace sonarchive::gui {
namespace {

// The tag editor wrote a tag: the row shows what the catalog now holds, the fields of that
// tag type and no others.
void TakeEditedTags(lists::ResultRows& rows, std::size_t position, const EditedTags& edited) {
    using lists::RowText;
    const catalog::TCommentInfoType& tag = edited.values;
    lists::RowTexts texts = rows.Texts(position);
    const auto set = [&texts](RowText which, const std::string& value) {
        texts[static_cast<std::size_t>(which)] = value;
    };
    set(RowText::Title, tag.Title);
    set(RowText::Artist, tag.Artist);
    set(RowText::Album, tag.Album);
    set(RowText::Comment, tag.Comment);
    set(RowText::Genre, tag.Genre);
    constexpr int kId3v2 = 0;
    constexpr int kApe = 3;
    if (edited.tagType == kId3v2 || edited.tagType == kApe) {
        set(RowText::Copyright, tag.Copyright);
    }
    if (edited.tagType == kId3v2) {
        set(RowText::Encoder, tag.Encoder);
        set(RowText::Composer, tag.Composer);
        set(RowText::Language, tag.Language);
        set(RowText::Link, tag.Link);
    }
    rows.SetTexts(position, texts);
    rows.SetYear(position, static_cast<std::int32_t>(catalog::CatalogYear(tag.Year)));
    rows.SetTrack(position, tag.Track);
}

bool CanOpenTagsOf(int format) {
    return format == catalog::kFormatMp3 || format == catalog::kFormatOgg ||
           format == catalog::kFormatMonkey;
}

}  // namespace

void ResultWindow::PlayRow(bool enqueue) {
    const std::string path = list_->FullPath(list_->FocusedRow());
    if (!path.empty() && main_.Providers().playFiles) {
        main_.Providers().playFiles(main_, {path}, enqueue);
    }
}

void ResultWindow::PlaySelection(bool enqueue) {
    if (!main_.Providers().playFiles) {
        return;
    }
    const std::vector<std::string> paths =
        lists::SelectedPaths(main_.App().Catalog().Engine(), main_.Drives().PathRules(),
                             list_->SelectedRowRefs(), false);
    if (!paths.empty()) {
        main_.Providers().playFiles(main_, paths, enqueue);
    }
}

bool ResultWindow::CanEditTags() const {
    const QModelIndex row = list_->FocusedRow();
    const catalog::TMainDataRec* record = list_->Rows().Record(row);
    return main_.Providers().editRowTags && record != nullptr && CanOpenTagsOf(record->dFormat) &&
           !list_->FullPath(row).empty();
}

void ResultWindow::EditRowTags() {
    if (!CanEditTags()) {
        return;
    }
    const QModelIndex row = list_->FocusedRow();
    const std::int64_t id = list_->Rows().Record(row)->Id;
    const std::optional<EditedTags> edited =
        main_.Providers().editRowTags(main_, id, list_->FullPath(row));
    if (!edited) {
        return;
    }
    const QModelIndex group = row.parent();
    if (group.isValid()) {
        list_->ReloadGroup(group);  // its files are read again from the catalog
        return;
    }
    std::size_t position = 0;
    if (lists::ResultRows* rows = list_->Rows().RowsOf(row, position)) {
        TakeEditedTags(*rows, position, *edited);
        list_->Rows().RowTextsChanged(row);
    }
}

void ResultWindow::DeleteSelection(bool fromDisk) {
    std::vector<QModelIndex> rows = list_->SelectedRows();
    if (rows.empty()) {
        return;
    }
    if (fromDisk && !main_.App().User().AskYesNo(FromDiskQuestion(rows.size()))) {
        return;
    }
    // The files an expanded group shows go with it.
    std::vector<QModelIndex> withFiles;
    for (const QModelIndex& row : rows) {
        withFiles.push_back(row);
        const int children = list_->Rows().rowCount(row);
        for (int child = 0; child < children; ++child) {
            const QModelIndex file = list_->Rows().index(child, 0, row);
            if (std::find(rows.begin(), rows.end(), file) == rows.end()) {
                withFiles.push_back(file);
            }
        }
    }
    std::vector<lists::ListRowRef> refs;
    for (const QModelIndex& row : withFiles) {
        refs.push_back(list_->RowRef(row));
    }
    AppContext& app = main_.App();
    const lists::DeleteContext context{app.Catalog(), main_.Drives().PathRules(), app.Registry(),
                                       app.General(), app.User()};
    const lists::DeleteOutcome outcome = lists::DeleteSelected(context, refs, fromDisk);
    std::vector<QModelIndex> removed;
    for (const std::size_t position : outcome.removedRows) {
        removed.push_back(withFiles[position]);
    }
    list_->Rows().RemoveRows(removed);
    messages_->AppendLines(outcome.failures);
}

std::string ResultWindow::FromDiskQuestion(std::size_t) const {
    return "Delete files from disk and archive?";
}

// This window reloads its own way after a tool changed files (a search runs again); the
// others read their rows again once.
void ResultWindow::MassUpdate() {
    if (main_.Providers().massUpdate && main_.Providers().massUpdate(main_, SelectedIds())) {
        AfterToolChangedFiles();
        main_.ReloadListWindows(this);
    }
}

void ResultWindow::RenameFiles() {
    if (main_.Providers().renameFiles && main_.Providers().renameFiles(main_, SelectedIds())) {
        AfterToolChangedFiles();
        main_.ReloadListWindows(this);
    }
}

// A real run announces the rows it changed; every list reloads on that.
void ResultWindow::RunFileOrganizer() {
    if (main_.Providers().fileOrganizer) {
        main_.Providers().fileOrganizer(main_, this);
    }
}

void ResultWindow::AddSelectionToCollection(std::int64_t collectionId) {
    const WindowProviders& p = main_.Providers();
    if (!p.addToCollection) {
        return;
    }
    p.addToCollection(main_, collectionId, SelectedIds());
    if (p.openCollection) {
        p.openCollection(main_, collectionId);
    }
}

void ResultWindow::AddSelectionToNewCollection() {
    if (!main_.Providers().newCollection) {
        return;
    }
    if (const std::optional<std::int64_t> created = main_.Providers().newCollection(main_)) {
        AddSelectionToCollection(*created);
    }
}

}  // namespace sonarchive::gui
