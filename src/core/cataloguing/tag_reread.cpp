#include "cataloguing/tag_reread.h"

#include <charconv>
#include <deque>
#include <vector>

#include "catalog_store/batched_transaction.h"
#include "catalog_store/catalog_writer.h"
#include "catalog_store/sql_text.h"

namespace sonarchive::cataloguing {
namespace {

struct TFileListRecord {
    std::int64_t Id = 0;
    std::string DriveSerialNumber;
    std::string Path;
};

// Fixed notation with two decimals and a point, whatever the user's locale.
std::string TwoDecimals(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}

std::string QuotedText(const std::string& column, const std::string& value) {
    return column + "='" + catalog::SqlQuote(value) + "',";
}

std::string Number(const std::string& column, std::int64_t value) {
    return column + "=" + std::to_string(value) + ",";
}

}  // namespace

std::string UpdateReadColumnsStatement(const catalog::TMainDataRecComplete& r) {
    return "update maindata set " + QuotedText("dTitle", r.dTitle) +
           QuotedText("dArtist", r.dArtist) + QuotedText("dAlbum", r.dAlbum) +
           QuotedText("dComment", r.dComment) + QuotedText("dGenre", r.dGenre) +
           QuotedText("dEncoder", r.dEncoder) + QuotedText("dCopyright", r.dCopyright) +
           QuotedText("dComposer", r.dComposer) + QuotedText("dLanguage", r.dLanguage) +
           QuotedText("dLink", r.dLink) + Number("dYear", r.dYear) + Number("dTrack", r.dTrack) +
           Number("dmpegversion", r.dMPEGVersion) + Number("dmpeglayer", r.dMPEGLayer) +
           Number("dmpegbitrate", r.dMPEGBitrate) + Number("dchannelmode", r.dChannelMode) +
           Number("dmpegfrequency", r.dMPEGFrequency) + Number("dmpegemphasis", r.dMPEGEmphasis) +
           Number("dmpegframes", r.dMPEGFrames) + QuotedText("dmpegencoder", r.dMPEGEncoder) +
           Number("dmpegcrc", r.dMPEGCRC ? 1 : 0) +
           Number("dmpegcopyright", r.dMPEGCopyright ? 1 : 0) +
           Number("dmpegoriginal", r.dMPEGOriginal ? 1 : 0) + "dlength=" + TwoDecimals(r.dLength) +
           "," + "dfiledate='" + catalog::SqlDateText(r.dFileDate) + "'" +
           " where id=" + std::to_string(r.Id);
}

void UpdateReadColumns(catalog::Database& database, const catalog::TMainDataRecComplete& record) {
    try {
        database.Execute(UpdateReadColumnsStatement(record));
    } catch (const catalog::EngineError&) {
        // The row keeps its previous values; the re-read goes on with the next file.
    }
}

TagReread::TagReread(catalog::Catalog& catalog, const catalog::PathRules& rules,
                     Interaction& interaction, RecordRereader reread, Message message)
    : catalog_(catalog),
      rules_(rules),
      interaction_(interaction),
      reread_(std::move(reread)),
      message_(std::move(message)) {}

std::optional<catalog::TMainDataRecComplete> TagReread::ReadRecord(const std::string& path,
                                                                   std::int32_t id) const {
    catalog::TMainDataRecComplete record;
    record.Id = id;
    if (!reread_(path, record)) {
        return std::nullopt;
    }
    record.dFileDate = catalog::FileDateOf(path);
    record.Id = id;
    return record;
}

bool TagReread::Run() {
    std::vector<TFileListRecord> rows;
    {
        catalog::Query query(catalog_.Engine(),
                             "select id, dpath, dDriveSerialNumber from maindata");
        for (; !query.AtEnd(); query.Next()) {
            rows.push_back({query[0].AsInteger(), query[2].AsText(), query[1].AsText()});
        }
    }
    interaction_.SetProgressMaximum(static_cast<int>(rows.size()));
    catalog::BatchedTransaction batch(catalog_.Engine());
    // Files are read ahead on the reader threads; the rows are updated, and the messages
    // given, in the order of the rows.
    ReadAhead<std::optional<catalog::TMainDataRecComplete>> reads(readerThreads_);
    std::deque<std::string> paths;  // of the rows from the current one on; empty: no path
    std::size_t planned = 0;
    bool cancelled = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        interaction_.SetProgressPosition(static_cast<int>(i + 1));
        interaction_.ProcessPendingEvents();
        if (interaction_.CancelRequested()) {
            cancelled = true;
            break;
        }
        while (planned < rows.size() && reads.WantsMorePlanned(paths.size())) {
            const TFileListRecord& row = rows[planned++];
            std::string path = rules_.BuildFullPath(row.DriveSerialNumber, row.Path);
            if (!path.empty()) {
                reads.Submit([this, path, id = static_cast<std::int32_t>(row.Id)] {
                    return ReadRecord(path, id);
                });
            }
            paths.push_back(std::move(path));
        }
        const std::string path = std::move(paths.front());
        paths.pop_front();
        if (path.empty()) {
            message_("File not accessible: " + rows[i].Path);
            continue;
        }
        const std::optional<catalog::TMainDataRecComplete> record = reads.Take();
        if (!record) {
            message_("Couldn't read file: " + path);
            continue;
        }
        batch.BeforeWrite();
        UpdateReadColumns(catalog_.Engine(), *record);
        batch.AfterWrite();
        catalog_.Events().Notify(catalog::CatalogChange::PickListsStale);
    }
    batch.Commit();
    if (!cancelled) {
        interaction_.ShowInformation("Finished re-reading tags");
    }
    catalog_.Events().Notify(catalog::CatalogChange::RowsChanged);
    return !cancelled;
}

}  // namespace sonarchive::cataloguing
