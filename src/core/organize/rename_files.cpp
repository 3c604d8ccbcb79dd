#include "organize/rename_files.h"

#include <algorithm>

#include "catalog_store/catalog_rows.h"
#include "organize/file_format.h"
#include "organize/file_transfer.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::organize {
namespace {

constexpr const char* kFormatValue = "RENAME_FORMAT";
constexpr int kRenameHelpTopic = 19;

// A value the system would read as more than one name, or as none.
bool IsOneName(const std::string& value) {
    return value.find('/') == std::string::npos && value.find('\0') == std::string::npos &&
           value != "." && value != "..";
}

}  // namespace

std::string StoredRenameFormat(catalog::Registry& registry) {
    if (!registry.File().CanOpen()) {
        return "%0 - %1";
    }
    const std::string stored = registry.ReadRegString(kFormatValue);
    return stored.empty() ? "%1 - %2" : stored;
}

void StoreRenameFormat(catalog::Registry& registry, const std::string& format) {
    registry.WriteRegString(kFormatValue, format);
}

std::string NewFileName(const std::string& format, const catalog::TMainDataRecComplete& record) {
    const std::string value = ExpandFileFormat(format, &record, true, false).value;
    return value.empty() ? value : value + std::string(ExtensionOf(record.dPath));
}

FileRenamer::FileRenamer(catalog::Catalog& catalog, const catalog::PathRules& rules,
                         catalog::Registry& registry, catalog::GeneralSettings& general,
                         Interaction& interaction)
    : catalog_(catalog),
      rules_(rules),
      registry_(registry),
      general_(general),
      interaction_(interaction) {}

void FileRenamer::SetUpdateList(catalog::IdList ids) {
    records_ = catalog::LoadCompleteRecordsByIds(catalog_.Engine(), std::move(ids));
}

void FileRenamer::RemoveFromUpdateList(std::vector<std::size_t> indexes) {
    std::sort(indexes.rbegin(), indexes.rend());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (const std::size_t index : indexes) {
        if (index < records_.size()) {
            records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
        }
    }
}

RenameOutcome FileRenamer::Rename(const std::string& format, const MessageLine& message) {
    RenameOutcome outcome;
    if (format.empty()) {
        interaction_.ShowInformation("Select a format.");
        return outcome;
    }
    if (records_.empty()) {
        return outcome;
    }
    if (general_.ConfirmRenameFiles) {
        const ConfirmAnswer answer = interaction_.Confirm(
            "Rename " + std::to_string(records_.size()) + " files?", kRenameHelpTopic);
        if (!answer.ok) {
            return outcome;
        }
        if (answer.dontShowAgain) {
            general_.ConfirmRenameFiles = false;
            catalog::SaveGeneralSettings(registry_, general_);
        }
    }
    outcome.ran = true;
    interaction_.SetProgressMaximum(static_cast<int>(records_.size()));
    for (std::size_t i = 0; i < records_.size(); ++i) {
        interaction_.SetProgressPosition(static_cast<int>(i + 1));
        switch (RenameOne(records_[i], format, message)) {
            case Step::Renamed:
                ++outcome.renamed;
                break;
            case Step::Failed:
                ++outcome.failed;
                break;
            case Step::Skipped:
                break;
        }
        interaction_.ProcessPendingEvents();
    }
    if (outcome.renamed > 0) {
        catalog_.Events().Notify(catalog::CatalogChange::PickListsStale);
    }
    return outcome;
}

FileRenamer::Step FileRenamer::RenameOne(catalog::TMainDataRecComplete& record,
                                         const std::string& format, const MessageLine& message) {
    const std::string current = rules_.BuildFullPath(record.dDriveSerialNumber, record.dPath);
    const std::string value = ExpandFileFormat(format, &record, true, false).value;
    if (current.empty() || value.empty()) {
        return Step::Skipped;
    }
    const std::string name = value + std::string(ExtensionOf(record.dPath));
    const std::string target = std::string(FolderOfPath(current)) + name;
    const std::string stored = std::string(FolderOfPath(record.dPath)) + name;
    const auto fail = [&] {
        message("Couldn't rename file to: " + text::PathForDisplay(target));
        return Step::Failed;
    };
    if (!IsOneName(value) || text::CodePointCount(stored) > catalog::kMaxStoredPathLength) {
        return fail();
    }
    if (target != current) {
        // A change of letter case only names the same file on a filesystem that ignores case;
        // the plain rename then changes the spelling.
        const TransferResult renamed = IsSameFile(current, target)
                                           ? MoveFile(current, target, true)
                                           : RenameWithoutReplacing(current, target);
        if (!renamed.ok) {
            return fail();
        }
    }
    catalog_.Engine().Execute("update maindata set dpath ='" + catalog::SqlQuote(stored) + "'" +
                              " where id = " + std::to_string(record.Id));
    record.dPath = stored;
    return Step::Renamed;
}

}  // namespace sonarchive::organize
