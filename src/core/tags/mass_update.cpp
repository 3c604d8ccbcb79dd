#include "tags/mass_update.h"

#include <algorithm>
#include <set>

#include "catalog_store/catalog_rows.h"
#include "cataloguing/record_builder.h"
#include "interaction/scopes.h"
#include "tags/confirmation.h"
#include "tags/tag_types.h"
#include "tags/tag_write.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::tags {
namespace {

using catalog::TCommentInfoType;
using catalog::TMainDataRecComplete;

constexpr int kMassUpdateHelpTopic = 4;

// Every text field carries the new text and the numbers the new number; the writer takes the
// one the selector names. A year of 0 clears the tag's year.
TCommentInfoType ValuesToWrite(const std::string& text, std::int64_t number) {
    TCommentInfoType values;
    for (int i = 0; i < kTagFieldCount; ++i) {
        if (std::string* field = TextFieldOf(values, static_cast<TagField>(i))) {
            *field = text;
        }
    }
    values.Year = number == 0 ? std::string() : std::to_string(number);
    values.Track = static_cast<std::int32_t>(number);
    return values;
}

// What the record builder shows of a file: the tag a new primary tag starts from.
TCommentInfoType ShownTags(const std::string& systemPath, int formatCode,
                           const cataloguing::TagPreferences& preferences) {
    TCommentInfoType shown;
    catalog::TEncoderInfoType stream;
    cataloguing::ReadFileOfFormat(systemPath, formatCode, preferences, shown, stream);
    return shown;
}

}  // namespace

bool ModifyReport::Changed() const {
    return std::any_of(rows.begin(), rows.end(), [](const MassUpdateRowResult& row) {
        return row.tagWritten || row.catalogUpdated;
    });
}

std::size_t ModifyReport::TagsWritten() const {
    return static_cast<std::size_t>(std::count_if(
        rows.begin(), rows.end(), [](const MassUpdateRowResult& row) { return row.tagWritten; }));
}

TagMassUpdate::TagMassUpdate(catalog::Catalog& catalog, const catalog::PathRules& rules,
                             Interaction& interaction, catalog::Registry& registry,
                             catalog::GeneralSettings& settings)
    : catalog_(catalog),
      rules_(rules),
      interaction_(interaction),
      registry_(registry),
      settings_(settings) {}

void TagMassUpdate::Load(catalog::IdList ids) {
    const BusyScope busy(interaction_);
    rows_ = catalog::LoadCompleteRecordsByIds(catalog_.Engine(), std::move(ids));
}

void TagMassUpdate::RemoveRows(const std::vector<std::int64_t>& ids) {
    const std::set<std::int64_t> removed(ids.begin(), ids.end());
    std::erase_if(
        rows_, [&removed](const TMainDataRecComplete& row) { return removed.count(row.Id) > 0; });
}

std::string TagMassUpdate::DisplayPath(const TMainDataRecComplete& row) const {
    if (rules_.IsNetworkPath(row.dDriveSerialNumber)) {
        return row.dPath;
    }
    const std::string full = rules_.BuildFullPath(row.dDriveSerialNumber, row.dPath);
    return full.empty() ? "?" + row.dPath : full;
}

catalog::IdList TagMassUpdate::LoadedIds() const {
    catalog::IdList ids;
    for (const TMainDataRecComplete& row : rows_) {
        ids.push_back(row.Id);
    }
    return ids;
}

ModifyReport TagMassUpdate::Modify(std::optional<std::size_t> fieldIndex,
                                   const std::string& newText, std::int64_t number,
                                   bool synchronised, const MassUpdateObserver& observer) {
    ModifyReport report;
    if (!fieldIndex || *fieldIndex >= MassUpdateFields().size()) {
        interaction_.ShowInformation("Select a field to update.");
        report.outcome = ModifyOutcome::NoField;
        return report;
    }
    if (rows_.empty()) {
        report.outcome = ModifyOutcome::NoRows;
        return report;
    }
    if (!ConfirmUnderSetting(
            interaction_, registry_, settings_, &catalog::GeneralSettings::ConfirmMassUpdate,
            "Update " + std::to_string(rows_.size()) + " files?", kMassUpdateHelpTopic)) {
        report.outcome = ModifyOutcome::Declined;
        return report;
    }
    const MassUpdateField& field = MassUpdateFields()[*fieldIndex];
    const std::string text = text::TrimControlAndBlank(newText);
    const TCommentInfoType values = ValuesToWrite(text, number);

    if (observer.progressStarted) {
        observer.progressStarted(static_cast<int>(rows_.size()));
    }
    catalog::IdList updateList;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (observer.progressed) {
            observer.progressed(static_cast<int>(i + 1));
        }
        interaction_.ProcessPendingEvents();
        if (interaction_.CancelRequested()) {
            report.outcome = ModifyOutcome::Cancelled;
            break;
        }
        MassUpdateRowResult result = UpdateFile(rows_[i], field, values);
        if (!result.tagWritten && synchronised) {
            if (observer.message) {
                observer.message(result.message);
            }
        } else {
            result.catalogUpdated = true;
            updateList.push_back(result.id);
        }
        report.rows.push_back(std::move(result));
    }
    UpdateCatalog(field, text, number, std::move(updateList));
    catalog_.Events().Notify(catalog::CatalogChange::PickListsStale);
    if (observer.progressEnded) {
        observer.progressEnded();
    }
    Load(LoadedIds());
    return report;
}

MassUpdateRowResult TagMassUpdate::UpdateFile(const TMainDataRecComplete& row,
                                              const MassUpdateField& field,
                                              const TCommentInfoType& values) {
    const cataloguing::TagPreferences preferences = cataloguing::TagPreferences::From(settings_);
    const int tagType = PrimaryTagType(row.dFormat, preferences);
    const bool supported = FieldSupported(row.dFormat, field.Selector(), preferences);
    const std::string fullPath = rules_.BuildFullPath(row.dDriveSerialNumber, row.dPath);

    MassUpdateRowResult result;
    result.id = row.Id;
    result.path = fullPath.empty() ? row.dPath : fullPath;
    if (!fullPath.empty() && supported) {
        const TagWriteResult written = WriteTagField(
            fullPath, tagType, values, field.Selector(),
            [&] { return ShownTags(fullPath, row.dFormat, preferences); });
        result.tagWritten = written.written;
    }
    if (!result.tagWritten) {
        const std::string shown = text::PathForDisplay(result.path);
        result.message = supported ? "Couldn't write to file: " + shown
                                   : "Field not supported by current tag (" + TagTypeName(tagType) +
                                         "): " + shown;
    }
    return result;
}

void TagMassUpdate::UpdateCatalog(const MassUpdateField& field, const std::string& text,
                                  std::int64_t number, catalog::IdList ids) {
    const std::string value =
        field.IsNumber()
            ? std::to_string(catalog::ClampInt(number, kSmallIntLimit))
            : "'" + catalog::SqlQuote(catalog::TruncateText(text, ColumnWidthOf(field.field))) +
                  "'";
    const std::string statement = "update maindata set " + field.column + " = " + value;
    while (!ids.empty()) {
        catalog_.Engine().Execute(statement + " where id in " + catalog::IdListBatch(ids));
    }
}

}  // namespace sonarchive::tags
