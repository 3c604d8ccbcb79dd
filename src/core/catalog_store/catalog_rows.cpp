#include "catalog_store/catalog_rows.h"

namespace sonarchive::catalog {
namespace {

std::int32_t Integer(const Query& row, std::string_view column) {
    return static_cast<std::int32_t>(row[column].AsInteger());
}

bool Flag(const Query& row, std::string_view column) { return row[column].AsInteger() == 1; }

std::string_view CutAtNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// The stream columns shared by both records.
template <typename Record>
void LoadStreamColumns(const Query& row, Record& record) {
    record.Id = Integer(row, "Id");
    record.dFormat = Integer(row, "dFormat");
    record.dMPEGVersion = Integer(row, "dMPEGVersion");
    record.dMPEGLayer = Integer(row, "dMPEGLayer");
    record.dMPEGBitrate = Integer(row, "dMPEGBitrate");
    record.dChannelMode = Integer(row, "dChannelMode");
    record.dMPEGFrequency = Integer(row, "dMPEGFrequency");
    record.dMPEGFrames = Integer(row, "dMPEGFrames");
    record.dMPEGEmphasis = Integer(row, "dMPEGEmphasis");
    record.dMPEGEncoder = row["dMPEGEncoder"].AsText();
    record.dMPEGCRC = Flag(row, "dMPEGCRC");
    record.dMPEGCopyright = Flag(row, "dMPEGCopyright");
    record.dMPEGOriginal = Flag(row, "dMPEGOriginal");
    record.dLength = row["dLength"].AsDouble();
    record.dDateAdded = row["dDateAdded"].AsDateTime();
    // An older catalog has no dFileDate until the start-up upgrade adds it.
    record.dFileDate = row.HasColumn("dFileDate") ? row["dFileDate"].AsDateTime() : 0;
}

}  // namespace

TMainDataRecComplete LoadCompleteRecord(const Query& row) {
    TMainDataRecComplete record;
    LoadStreamColumns(row, record);
    record.dGroupId = Integer(row, "dGroupId");
    record.dYear = Integer(row, "dYear");
    record.dTrack = Integer(row, "dTrack");
    record.dFileSize = Integer(row, "dFileSize");
    record.dDriveType = Integer(row, "dDriveType");
    record.dTitle = row["dTitle"].AsText();
    record.dArtist = row["dArtist"].AsText();
    record.dAlbum = row["dAlbum"].AsText();
    record.dComment = row["dComment"].AsText();
    record.dGenre = row["dGenre"].AsText();
    record.dEncoder = row["dEncoder"].AsText();
    record.dComposer = row["dComposer"].AsText();
    record.dCopyright = row["dCopyright"].AsText();
    record.dLanguage = row["dLanguage"].AsText();
    record.dLink = row["dLink"].AsText();
    record.dPath = row["dPath"].AsText();
    record.dDriveSerialNumber = row["dDriveSerialNumber"].AsText();
    record.dDriveLabel = row["dDriveLabel"].AsText();
    record.dDriveLetter = " ";
    return record;
}

TMainDataRec LoadListRecord(const Query& row, std::int32_t collectionId) {
    TMainDataRec record;
    LoadStreamColumns(row, record);
    record.CollectionId = collectionId;
    if (collectionId >= 0) {
        record.CollectionEntryId = Integer(row, "Id_1");
        record.DataId = Integer(row, "Id");
        record.dPosition = row["dPosition"].AsDouble();
    }
    return record;
}

std::string CollectionMembersSelect(std::int64_t collectionId) {
    return "select * from maindata, subcolld where SubColld.dSubCollectionId=" +
           std::to_string(collectionId) + " and subcolld.dDataid = maindata.id order by dPosition";
}

std::int64_t FindFileId(Database& database, const PathRules& rules, std::string_view fullPath,
                        std::string_view serial) {
    // Asked once per file of every add: the statement is prepared once and the two texts are
    // bound, cut at a NUL as SqlQuote would cut them.
    const std::string path = rules.StripDriveLetter(fullPath);
    return database.LookupInteger(
        "select id from maindata where dPath=? and dDriveSerialNumber=?",
        {CutAtNul(path), CutAtNul(serial)});
}

std::int64_t LastMaindataId(Database& database) {
    Query query(database, "select max(id) from maindata");
    return query.AtEnd() ? 0 : query[0].AsInteger();
}

std::vector<TMainDataRecComplete> LoadCompleteRecordsByIds(Database& database, IdList ids) {
    std::vector<TMainDataRecComplete> records;
    while (!ids.empty()) {
        Query query(database, "select * from maindata where id in " + IdListBatch(ids));
        for (; !query.AtEnd(); query.Next()) {
            records.push_back(LoadCompleteRecord(query));
        }
    }
    return records;
}

}  // namespace sonarchive::catalog
