#include "organize/disk_organizer.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <unordered_set>

#include "catalog_store/catalog_rows.h"
#include "catalog_store/maintenance.h"
#include "cataloguing/volume_identity.h"
#include "organize/file_format.h"
#include "organize/file_transfer.h"
#include "organize/organizer_targets.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::organize {
namespace {

constexpr int kOrganizeHelpTopic = 4;

// Widths the catalog's insert cuts these columns to.
constexpr std::size_t kSerialWidth = 64;
constexpr std::size_t kLabelWidth = 12;
constexpr std::size_t kLetterWidth = 255;

OrganizerMessage Plain(std::string lead, std::string subject, std::string tail = {}) {
    return {std::move(lead), std::move(subject), std::move(tail), false, false};
}

OrganizerMessage Linked(std::string lead, std::string subject, std::string tail = {}) {
    OrganizerMessage message = Plain(std::move(lead), std::move(subject), std::move(tail));
    message.link = true;
    return message;
}

bool FolderIsEmpty(const std::string& local) {
    DIR* dir = ::opendir(text::PathToSystem(local).c_str());
    if (dir == nullptr) {
        return false;
    }
    bool empty = true;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            empty = false;
            break;
        }
    }
    ::closedir(dir);
    return empty;
}

bool MakeFolder(const std::string& local) {
    const auto facts = FactsOf(local);
    if (facts) {
        return facts->isDirectory;
    }
    return ::mkdir(text::PathToSystem(local).c_str(), 0777) == 0;
}

}  // namespace

std::string OrganizerMessage::Text(bool withLink) const {
    return lead + text::PathForDisplay(subject) + tail + (link && withLink ? " Description" : "");
}

// One file the run copies or moves.
struct DiskOrganizer::Candidate {
    const catalog::TMainDataRecComplete& row;
    std::string source;  // local full path
    TargetFolder folder;
    Place target;
};

struct DiskOrganizer::RunState {
    RunState(const OrganizerSettings& s, OrganizeMode m, Place b, const OrganizerObserver& o,
             LegalizeOptions l)
        : settings(s), mode(m), base(std::move(b)), observer(o), legalize(std::move(l)) {}

    const OrganizerSettings& settings;
    OrganizeMode mode;
    Place base;
    const OrganizerObserver& observer;
    LegalizeOptions legalize;
    OrganizeOutcome outcome;
    std::optional<ReplaceAnswer> remembered;  // "Yes to all" or "No to all"
    bool deletedRows = false;
    std::vector<std::string> emptied;  // folders files were moved out of, each once
    std::unordered_set<std::string> emptiedSeen;
    std::unordered_set<std::string> knownFolders;  // made or found during this run
    int position = 0;

    bool Moving() const { return mode == OrganizeMode::Move; }
    void Tell(const OrganizerMessage& message) const {
        if (observer.message) {
            observer.message(message);
        }
    }
    // A row that could not be organized.
    void Fail(const OrganizerMessage& message) {
        ++outcome.failed;
        Tell(message);
    }
};

DiskOrganizer::DiskOrganizer(catalog::Catalog& catalog, const catalog::PathRules& rules,
                             const platform::MountTable& mounts, catalog::Registry& registry,
                             catalog::GeneralSettings& general, Interaction& interaction,
                             cataloguing::FileAdder& adder, catalog::HostRegistration registerHost)
    : catalog_(catalog),
      rules_(rules),
      mounts_(mounts),
      registry_(registry),
      general_(general),
      interaction_(interaction),
      adder_(adder),
      registerHost_(std::move(registerHost)) {}

std::optional<catalog::IdList> DiskOrganizer::RowsToProcess(
    const OrganizerSettings& settings, const std::optional<catalog::IdList>& selection) {
    // The rows are fixed here, before anything changes: copies the run adds and rows it deletes
    // are never processed. Rows whose volume is absent are left out before any question.
    catalog::IdList reachable;
    const auto collect = [&](const std::string& sql) {
        for (catalog::Query rows(catalog_.Engine(), sql); !rows.AtEnd(); rows.Next()) {
            if (!rules_.BuildFullPath(rows[1].AsText(), rows[2].AsText()).empty()) {
                reachable.push_back(rows[0].AsInteger());
            }
        }
    };
    const std::string select = "select id, dDriveSerialNumber, dPath from maindata";
    if (settings.range == OrganizeRange::AllFiles) {
        collect(select);
        return reachable;
    }
    if (!selection || selection->empty()) {
        interaction_.ShowInformation("No files selected.");
        return std::nullopt;
    }
    catalog::IdList ids = *selection;
    while (!ids.empty()) {
        collect(select + " where id in " + catalog::IdListBatch(ids));
    }
    return reachable;
}

bool DiskOrganizer::ConfirmStart(std::size_t files) {
    if (!general_.ConfirmOrganizeFiles) {
        return true;
    }
    const ConfirmAnswer answer = interaction_.Confirm(
        "Start organizing Update " + std::to_string(files) + " files?", kOrganizeHelpTopic);
    if (answer.ok && answer.dontShowAgain) {
        general_.ConfirmOrganizeFiles = false;
        catalog::SaveGeneralSettings(registry_, general_);
    }
    return answer.ok;
}

OrganizeOutcome DiskOrganizer::Run(const OrganizerSettings& settings, OrganizeMode mode,
                                   const std::optional<catalog::IdList>& selection,
                                   const OrganizerObserver& observer) {
    const std::optional<Place> base = ResolveBaseFolder(settings.baseDir, mounts_, rules_);
    if (!base) {
        interaction_.ShowInformation("Please select a valid parent folder.");
        return {};
    }
    OrganizeOutcome refused;
    refused.validBase = true;
    std::optional<catalog::IdList> ids = RowsToProcess(settings, selection);
    if (!ids || (mode != OrganizeMode::Preview && !ConfirmStart(ids->size()))) {
        return refused;
    }
    RunState run(settings, mode, *base, observer,
                 {general_.DiskOrgReplaceDeleteIllegal, !general_.DiskOrgReplaceIllegal,
                  general_.DiskOrgReplaceWithCharacter});
    run.outcome.validBase = true;
    run.outcome.started = true;
    interaction_.SetProgressMaximum(static_cast<int>(ids->size()));
    interaction_.SetProgressPosition(0);
    while (!ids->empty() && !run.outcome.cancelled) {
        catalog::Query rows(catalog_.Engine(),
                            "select * from maindata where id in" + catalog::IdListBatch(*ids));
        for (; !rows.AtEnd() && !run.outcome.cancelled; rows.Next()) {
            if (interaction_.CancelRequested()) {
                run.outcome.cancelled = true;
                break;
            }
            ProcessRow(run, catalog::LoadCompleteRecord(rows));
            interaction_.ProcessPendingEvents();
        }
    }
    if (run.outcome.cancelled) {
        OrganizerMessage status = Plain(
            mode == OrganizeMode::Preview ? "Organizing preview canceled " : "Organizing stopped ",
            "");
        status.status = true;
        run.Tell(status);
    } else if (run.Moving() && settings.removeEmptyFolders) {
        RemoveEmptiedFolders(run);
    }
    if (run.deletedRows) {
        catalog::RemoveOrphanMembers(catalog_.Engine());
    }
    if (mode != OrganizeMode::Preview) {
        catalog_.Events().Notify(catalog::CatalogChange::FileCountChanged);
        catalog_.Events().Notify(catalog::CatalogChange::PickListsStale);
        catalog_.Events().Notify(catalog::CatalogChange::RowsChanged);
    }
    return run.outcome;
}

void DiskOrganizer::ProcessRow(RunState& run, const catalog::TMainDataRecComplete& row) {
    Candidate file{row,
                   rules_.BuildFullPath(row.dDriveSerialNumber, row.dPath),
                   TargetFolderOf(run.base, run.settings.folders, row, run.legalize),
                   {}};
    std::string name = TargetFileNameOf(run.settings.names, run.settings.customFormat, row);
    if (run.observer.paths) {
        run.observer.paths(file.source, file.folder.displayed + "/" + name);
    }
    interaction_.SetProgressPosition(++run.position);
    if (file.source.empty()) {
        return;  // its volume went away during the run
    }
    if (!file.folder.ok) {
        run.Fail(Linked("Couldn't create folder ", file.folder.displayed));
        return;
    }
    if (!LegalizeFileName(name, false, run.legalize)) {
        run.Fail(Plain("Illegal filename ", name));
        return;
    }
    file.target = file.folder.folder.Child(name);
    if (text::CodePointCount(rules_.StripDriveLetter(file.target.local)) >
        catalog::kMaxStoredPathLength) {
        run.Fail(Plain("Path too long ", file.target.shown));
        return;
    }
    if (run.mode == OrganizeMode::Preview) {
        run.outcome.preview.push_back({file.target.shown, file.source});
        return;
    }
    if (!PlaceFile(run, file)) {
        return;
    }
    ++run.outcome.done;
    if (run.Moving() && run.settings.removeEmptyFolders) {
        std::string folder(FolderOfPath(file.source));
        if (run.emptiedSeen.insert(folder).second) {
            run.emptied.push_back(std::move(folder));
        }
    }
    UpdateCatalog(run, file);
}

bool DiskOrganizer::AskToReplace(RunState& run, const Candidate& file, bool& replace) {
    ReplaceAnswer answer = ReplaceAnswer::No;
    if (run.remembered) {
        answer = *run.remembered;
    } else {
        const auto existing = FactsOf(file.target.local);
        const auto incoming = FactsOf(file.source);
        ReplaceQuestion question;
        question.targetName = text::PathForDisplay(LastPathComponent(file.target.shown));
        question.existingPath = text::PathForDisplay(file.target.shown);
        question.newPath = text::PathForDisplay(file.source);
        if (existing) {
            question.existingSize = existing->size;
            question.existingModified = existing->modified;
        }
        if (incoming) {
            question.newSize = incoming->size;
            question.newModified = incoming->modified;
        }
        answer = interaction_.AskReplace(question);
        if (answer == ReplaceAnswer::YesToAll || answer == ReplaceAnswer::NoToAll) {
            run.remembered = answer;
        }
    }
    if (answer == ReplaceAnswer::Cancel) {
        run.outcome.cancelled = true;
    }
    replace = answer == ReplaceAnswer::Yes || answer == ReplaceAnswer::YesToAll;
    return replace;
}

bool DiskOrganizer::MakeFolders(RunState& run, const Candidate& file) {
    const std::string& folder = file.folder.folder.local;
    if (run.knownFolders.count(folder) != 0) {
        return true;
    }
    if (file.folder.parent) {
        MakeFolder(file.folder.parent->local);  // the folder below shows what failed
    }
    if (MakeFolder(folder.empty() ? "/" : folder)) {
        run.knownFolders.insert(folder);
        return true;
    }
    run.Fail(Linked("Couldn't create folder ", file.folder.folder.shown));
    return false;
}

bool DiskOrganizer::PlaceFile(RunState& run, const Candidate& file) {
    bool replace = false;
    if (FactsOf(file.target.local)) {
        if (!AskToReplace(run, file, replace)) {
            return false;
        }
        if (IsSameFile(file.source, file.target.local)) {
            return true;  // already in its place: never copied or moved onto itself
        }
    }
    const std::int64_t replacedRow = replace ? RowAt(file.target.local) : -1;
    if (!MakeFolders(run, file)) {
        return false;
    }
    const TransferResult result = run.Moving() ? MoveFile(file.source, file.target.local, replace)
                                               : CopyFile(file.source, file.target.local, replace);
    if (!result.ok) {
        run.Fail(Plain(run.Moving() ? "Couldn't move file " : "Couldn't copy file ", file.source,
                       ": " + result.reason));
        return false;
    }
    if (replacedRow >= 0 && replacedRow != file.row.Id) {
        catalog_.Engine().Execute("delete from maindata where id = " + std::to_string(replacedRow));
        run.deletedRows = true;
    }
    return true;
}

std::int64_t DiskOrganizer::RowAt(const std::string& localPath) {
    const cataloguing::IdentityResult identity =
        cataloguing::VolumeIdentityOf(mounts_, rules_, localPath);
    if (identity.problem != cataloguing::IdentityProblem::None) {
        return -1;
    }
    // Asked once per file of a run: the statement is prepared once.
    return catalog_.Engine().LookupInteger(
        "select id from maindata where dDriveSerialNumber=? and dpath=?",
        {identity.identity.serial, rules_.StripDriveLetter(localPath)});
}

bool DiskOrganizer::UpdateCatalog(RunState& run, const Candidate& file) {
    const cataloguing::IdentityResult identity =
        cataloguing::VolumeIdentityOf(mounts_, rules_, file.target.local);
    if (identity.problem != cataloguing::IdentityProblem::None) {
        run.Fail(Linked("Couldn't update archive for ", file.target.shown,
                        ". File info couldn't be obtained. "));
        return false;
    }
    if (!run.Moving()) {
        adder_.AddOneFile(file.target.local);
        return true;
    }
    const cataloguing::VolumeIdentity& volume = identity.identity;
    using catalog::TruncateText;
    const std::string path =
        TruncateText(rules_.StripDriveLetter(file.target.local), catalog::kMaxStoredPathLength);
    const std::string serial = TruncateText(volume.serial, kSerialWidth);
    const std::string label = TruncateText(volume.label, kLabelWidth);
    const std::string letter = TruncateText(volume.letter, kLetterWidth);
    // One statement per moved file, prepared once. The drive type is indexed: it is written
    // only when it changes.
    catalog::Database& engine = catalog_.Engine();
    if (volume.typeCode == file.row.dDriveType) {
        engine.ExecuteBound(
            "update maindata set dPath=?,dDriveSerialNumber=?,dDriveLabel=?,dDriveLetter=? "
            "where id = ?",
            {path, serial, label, letter, file.row.Id});
    } else {
        engine.ExecuteBound(
            "update maindata set dPath=?,dDriveSerialNumber=?,dDriveLabel=?,dDriveLetter=?,"
            "ddrivetype=? where id = ?",
            {path, serial, label, letter, std::int64_t{volume.typeCode}, file.row.Id});
    }
    if (volume.typeCode == catalog::kDriveRemote && registerHost_) {
        registerHost_(rules_.NetworkHostOf(volume.serial, true));
    }
    return true;
}

void DiskOrganizer::RemoveEmptiedFolders(RunState& run) {
    std::stable_sort(
        run.emptied.begin(), run.emptied.end(),
        [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& folder : run.emptied) {
        if (FolderIsEmpty(folder) && ::rmdir(text::PathToSystem(folder).c_str()) != 0) {
            run.Tell(Linked("Couldn't remove folder ", folder));
        }
    }
}

}  // namespace sonarchive::organize
