#include "collections/collections.h"

#include <charconv>
#include <cmath>

#include "catalog_store/date_time.h"
#include "collections/catalog_transaction.h"

namespace sonarchive::collections {
namespace {

constexpr std::size_t kNameWidth = 100;  // what the name field takes

std::string IdText(std::int64_t id) {
    return std::to_string(id);
}

double MaximumPosition(catalog::Database& database, std::int64_t collectionId) {
    catalog::Query query(database, "select max(dPosition) from SubCollD where dSubCollectionId=" +
                                       IdText(collectionId));
    return query.AtEnd() ? 0 : query[0].AsDouble();  // NULL for an empty collection reads 0
}

void Notify(catalog::Catalog& catalog) {
    catalog.Events().Notify(catalog::CatalogChange::CollectionsChanged);
}

}  // namespace

std::optional<CollectionHeader> LoadCollectionHeader(catalog::Database& database,
                                                     std::int64_t collectionId) {
    catalog::Query query(
        database, "select dname, dUsePositions from SubColl where id =" + IdText(collectionId));
    if (query.AtEnd()) {
        return std::nullopt;
    }
    return CollectionHeader{query[0].AsText(), query[1].AsInteger() == 1};
}

std::int64_t CreateCollection(catalog::Catalog& catalog, const std::string& name, bool sortable) {
    catalog::TableAppender row(catalog.Engine(), "SubColl");
    row.SetText("dName", catalog::TruncateText(name, kNameWidth));
    row.SetText("dDescription", "");
    row.SetText("dUserid", "");
    row.SetText("dPassword", "");
    row.SetInteger("dFiles", 0);
    row.SetInteger("dLength", 0);
    row.SetInteger("dSize", 0);
    row.SetDateTime("dCreatedDate", catalog::NowDateTime());
    row.SetInteger("dUsePositions", sortable ? 0 : 1);
    const std::int64_t id = row.Post();
    Notify(catalog);
    return id;
}

std::string PositionText(double position) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, position, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

void AddCollectionMembers(catalog::Database& database, std::int64_t collectionId,
                          const catalog::IdList& fileIds) {
    if (fileIds.empty()) {
        return;
    }
    CatalogTransaction transaction(database);
    // Inside the transaction nobody else adds members, so one look at the maximum serves
    // every member of the batch.
    double position = MaximumPosition(database, collectionId);
    for (const std::int64_t fileId : fileIds) {
        position += 1;
        database.Execute(
            "insert into SubCollD (dDataId, dEnabled, dLogical, dPosition, dSubCollectionId) "
            "values(" +
            IdText(fileId) + "," + "1," + "0," + PositionText(position) + "," +
            IdText(collectionId) + ")");
    }
    transaction.Commit();
}

void SaveMemberPositions(catalog::Database& database, const std::vector<MemberPosition>& members) {
    CatalogTransaction transaction(database);
    for (const MemberPosition& member : members) {
        database.Execute("update SubCollD set dposition=" + PositionText(member.position) +
                         " where id =" + IdText(member.memberId));
    }
    transaction.Commit();
}

std::int64_t KilobytesOfText(std::string_view text) {
    std::int64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() ? value : 0;
}

TotalsTexts TotalsTextsOf(const catalog::CollectionTotals& totals) {
    return {std::to_string(totals.files), std::to_string(totals.Megabytes()) + " MB",
            catalog::HoursMinutesSeconds(static_cast<std::int64_t>(std::trunc(totals.seconds)))};
}

void StoreCollectionTotals(catalog::Catalog& catalog, std::int64_t collectionId,
                           const catalog::CollectionTotals& totals) {
    catalog::WriteCollectionTotals(catalog.Engine(), collectionId, totals);
    Notify(catalog);
}

bool ConfirmMemberRemoval(Interaction& user, catalog::Registry& registry,
                          catalog::GeneralSettings& settings) {
    if (!settings.ConfirmDeleteIfInCollections) {
        return true;
    }
    const ConfirmAnswer answer = user.Confirm("Remove selected items from collection?", -1);
    if (!answer.ok) {
        return false;
    }
    if (answer.dontShowAgain) {
        settings.ConfirmDeleteIfInCollections = false;
        catalog::SaveGeneralSettings(registry, settings);
    }
    return true;
}

void RemoveCollectionMembers(catalog::Database& database,
                             const std::vector<std::int64_t>& memberIds) {
    CatalogTransaction transaction(database);
    for (const std::int64_t memberId : memberIds) {
        database.Execute("delete from SubCollD where id = " + IdText(memberId));
    }
    transaction.Commit();
}

void SetCollectionProperties(catalog::Catalog& catalog, std::int64_t collectionId,
                             const std::string& name, bool sortable) {
    catalog.Engine().Execute(
        "update SubColl set dname='" + catalog::SqlQuote(catalog::TruncateText(name, kNameWidth)) +
        "'" + ", dusepositions=" + (sortable ? "0" : "1") + " where id = " + IdText(collectionId));
    Notify(catalog);
}

void DeleteCollection(catalog::Catalog& catalog, std::int64_t collectionId) {
    CatalogTransaction transaction(catalog.Engine());
    catalog.Engine().Execute("delete from subcolld where dSubCollectionId = " +
                             IdText(collectionId));
    catalog.Engine().Execute("delete from subcoll where id = " + IdText(collectionId));
    transaction.Commit();
    Notify(catalog);
}

std::vector<std::string> CollectionMemberPaths(catalog::Database& database,
                                               const catalog::PathRules& rules,
                                               std::int64_t collectionId) {
    std::vector<std::string> paths;
    catalog::Query members(database,
                           "select dDriveSerialNumber, dPath from maindata, subcolld where "
                           "SubColld.dSubCollectionId=" +
                               IdText(collectionId) +
                               " and subcolld.dDataid = maindata.id order by dPosition");
    for (; !members.AtEnd(); members.Next()) {
        std::string path = rules.BuildFullPath(members[0].AsText(), members[1].AsText());
        if (!path.empty()) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

std::vector<PlaylistEntry> PlaylistOfRows(const std::vector<PlaylistRow>& rows) {
    std::vector<PlaylistEntry> entries;
    for (const PlaylistRow& row : rows) {
        const bool taggable = row.format == catalog::kFormatMp3 ||
                              row.format == catalog::kFormatOgg ||
                              row.format == catalog::kFormatMonkey;
        if (taggable && !row.fullPath.empty()) {
            entries.push_back(
                {row.fullPath, InfoLineOf(std::round(row.seconds), row.artist, row.title)});
        }
    }
    return entries;
}

}  // namespace sonarchive::collections
