#include "lists/result_rows.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "catalog_store/sql_text.h"
#include "lists/date_format.h"
#include "lists/result_columns.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::lists {
namespace {

constexpr unsigned kChunkBits = 20;
constexpr std::size_t kChunkSize = std::size_t{1} << kChunkBits;
constexpr std::size_t kMaxTextBytes = 0xFFFF;

// Column names of the catalog texts, in RowText order.
constexpr std::array<std::string_view, kRowTextCount> kTextColumns{
    "dArtist",    "dTitle",    "dAlbum", "dComposer",   "dComment",           "dGenre", "dEncoder",
    "dCopyright", "dLanguage", "dLink",  "dDriveLabel", "dDriveSerialNumber", "dPath"};

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Where each column of a result stands, found once per query instead of once per row.
class ColumnPositions {
public:
    explicit ColumnPositions(const catalog::Query& query) : names_(query.ColumnNames()) {}

    int Optional(std::string_view name) const {
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (SameName(names_[i], name)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    int Required(std::string_view name) const {
        const int position = Optional(name);
        if (position < 0) {
            throw catalog::EngineError(SQLITE_ERROR, "Column not found: " + std::string(name));
        }
        return position;
    }

private:
    const std::vector<std::string>& names_;
};

struct RecordColumns {
    explicit RecordColumns(const ColumnPositions& at, bool collection)
        : id(at.Required("Id")),
          format(at.Required("dFormat")),
          version(at.Required("dMPEGVersion")),
          layer(at.Required("dMPEGLayer")),
          bitrate(at.Required("dMPEGBitrate")),
          channelMode(at.Required("dChannelMode")),
          frequency(at.Required("dMPEGFrequency")),
          frames(at.Required("dMPEGFrames")),
          emphasis(at.Required("dMPEGEmphasis")),
          encoder(at.Required("dMPEGEncoder")),
          crc(at.Required("dMPEGCRC")),
          copyright(at.Required("dMPEGCopyright")),
          original(at.Required("dMPEGOriginal")),
          length(at.Required("dLength")),
          dateAdded(at.Required("dDateAdded")),
          fileDate(at.Optional("dFileDate")),  // an older catalog lacks it until upgraded
          year(at.Required("dYear")),
          track(at.Required("dTrack")),
          fileSize(at.Required("dFileSize")),
          driveType(at.Required("dDriveType")),
          memberId(collection ? at.Required("Id_1") : -1),
          position(collection ? at.Required("dPosition") : -1) {
        for (std::size_t i = 0; i < kRowTextCount; ++i) {
            texts[i] = at.Required(kTextColumns[i]);
        }
    }

    int id, format, version, layer, bitrate, channelMode, frequency, frames, emphasis, encoder, crc,
        copyright, original, length, dateAdded, fileDate, year, track, fileSize, driveType,
        memberId, position;
    std::array<int, kRowTextCount> texts{};
};

std::int32_t Integer(const catalog::Query& row, int column) {
    return static_cast<std::int32_t>(row[column].AsInteger());
}

std::string NumberText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

ResultRows::ResultRows(bool underGroup) : underGroup_(underGroup), driveLetters_{"?", "-"} {}

std::size_t ResultRows::Fill(catalog::Query& query, std::int32_t collectionId) {
    const ColumnPositions positions(query);
    const RecordColumns at(positions, collectionId >= 0);
    std::size_t appended = 0;
    std::array<std::string, kRowTextCount> owned;
    std::array<std::string_view, kRowTextCount> texts;
    for (; !query.AtEnd(); query.Next(), ++appended) {
        Row row;
        catalog::TMainDataRec& r = row.record;
        r.Id = Integer(query, at.id);
        r.dFormat = Integer(query, at.format);
        r.dMPEGVersion = Integer(query, at.version);
        r.dMPEGLayer = Integer(query, at.layer);
        r.dMPEGBitrate = Integer(query, at.bitrate);
        r.dChannelMode = Integer(query, at.channelMode);
        r.dMPEGFrequency = Integer(query, at.frequency);
        r.dMPEGFrames = Integer(query, at.frames);
        r.dMPEGEmphasis = Integer(query, at.emphasis);
        r.dMPEGEncoder = query[at.encoder].AsText();
        r.dMPEGCRC = query[at.crc].AsInteger() == 1;
        r.dMPEGCopyright = query[at.copyright].AsInteger() == 1;
        r.dMPEGOriginal = query[at.original].AsInteger() == 1;
        r.dLength = query[at.length].AsDouble();
        r.dDateAdded = query[at.dateAdded].AsDateTime();
        r.dFileDate = at.fileDate < 0 ? 0 : query[at.fileDate].AsDateTime();
        r.CollectionId = collectionId;
        if (collectionId >= 0) {
            r.CollectionEntryId = Integer(query, at.memberId);
            r.DataId = r.Id;
            r.dPosition = query[at.position].AsDouble();
        }
        row.year = Integer(query, at.year);
        row.track = Integer(query, at.track);
        row.fileSize = Integer(query, at.fileSize);
        row.driveType = Integer(query, at.driveType);
        for (std::size_t i = 0; i < kRowTextCount; ++i) {
            owned[i] = query[at.texts[i]].AsText();
            texts[i] = owned[i];
        }
        row.textBlock = StoreTexts(texts, row.textLength);
        rows_.push_back(std::move(row));
    }
    return appended;
}

std::uint32_t ResultRows::StoreTexts(const std::array<std::string_view, kRowTextCount>& texts,
                                     std::array<std::uint16_t, kRowTextCount>& lengths) {
    std::array<std::string_view, kRowTextCount> stored;
    std::size_t total = 0;
    std::array<std::string, kRowTextCount> cut;
    for (std::size_t i = 0; i < kRowTextCount; ++i) {
        stored[i] = texts[i];
        if (stored[i].size() > kMaxTextBytes) {
            // No catalog column is this wide; a foreign catalog's text is cut, never split
            // inside a character.
            cut[i] = text::CutToBytes(texts[i], kMaxTextBytes);
            stored[i] = cut[i];
        }
        lengths[i] = static_cast<std::uint16_t>(stored[i].size());
        total += stored[i].size();
    }
    if (chunks_.empty() || chunkUsed_ + total > kChunkSize) {
        chunks_.push_back(std::make_unique<char[]>(kChunkSize));
        chunkUsed_ = 0;
    }
    const auto block =
        static_cast<std::uint32_t>(((chunks_.size() - 1) << kChunkBits) | chunkUsed_);
    char* out = chunks_.back().get() + chunkUsed_;
    for (const auto& t : stored) {
        std::memcpy(out, t.data(), t.size());
        out += t.size();
    }
    chunkUsed_ += total;
    return block;
}

std::string_view ResultRows::Text(std::size_t row, RowText which) const {
    const Row& r = rows_[row];
    const char* block = chunks_[r.textBlock >> kChunkBits].get() + (r.textBlock & (kChunkSize - 1));
    const auto index = static_cast<std::size_t>(which);
    std::size_t offset = 0;
    for (std::size_t i = 0; i < index; ++i) {
        offset += r.textLength[i];
    }
    return {block + offset, r.textLength[index]};
}

std::string_view ResultRows::MainText(std::size_t row) const {
    return Text(row, underGroup_ ? RowText::Title : RowText::Artist);
}

RowTexts ResultRows::Texts(std::size_t row) const {
    RowTexts texts;
    for (std::size_t i = 0; i < kRowTextCount; ++i) {
        texts[i] = std::string(Text(row, static_cast<RowText>(i)));
    }
    return texts;
}

void ResultRows::SetTexts(std::size_t row, const RowTexts& texts) {
    std::array<std::string_view, kRowTextCount> views;
    std::copy(texts.begin(), texts.end(), views.begin());
    rows_[row].textBlock = StoreTexts(views, rows_[row].textLength);
}

void ResultRows::Remove(std::vector<std::size_t> positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    std::size_t kept = 0;
    std::size_t next = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (next < positions.size() && positions[next] == i) {
            ++next;
            continue;
        }
        if (kept != i) {
            rows_[kept] = std::move(rows_[i]);
        }
        ++kept;
    }
    rows_.resize(kept);
}

void ResultRows::Clear() {
    rows_.clear();
    chunks_.clear();
    chunkUsed_ = 0;
}

std::uint16_t ResultRows::DriveSlot(std::string_view driveLetter) {
    for (std::size_t i = 0; i < driveLetters_.size(); ++i) {
        if (driveLetters_[i] == driveLetter) {
            return static_cast<std::uint16_t>(i);
        }
    }
    if (driveLetters_.size() > 0xFFFF) {
        return kDriveSlotUnmounted;
    }
    driveLetters_.emplace_back(driveLetter);
    return static_cast<std::uint16_t>(driveLetters_.size() - 1);
}

void ResultRows::SetAvailability(std::size_t row, std::string_view driveLetter, bool reachable) {
    rows_[row].driveSlot = DriveSlot(driveLetter);
    rows_[row].reachable = reachable;
}

std::optional<RowText> RowTextOfColumn(int code) {
    switch (code) {
        case codes::Artist:
            return RowText::Artist;
        case codes::Title:
            return RowText::Title;
        case codes::Album:
            return RowText::Album;
        case codes::Composer:
            return RowText::Composer;
        case codes::Comment:
            return RowText::Comment;
        case codes::Genre:
            return RowText::Genre;
        case codes::Encoder:
            return RowText::Encoder;
        case codes::Copyright:
            return RowText::Copyright;
        case codes::Language:
            return RowText::Language;
        case codes::Link:
            return RowText::Link;
        case codes::VolumeLabel:
            return RowText::DriveLabel;
        case codes::Serial:
            return RowText::DriveSerialNumber;
        default:
            return std::nullopt;
    }
}

std::string CellText(const ResultRows& rows, std::size_t row, int code, const DateFormat& dates) {
    if (const auto kept = RowTextOfColumn(code)) {
        return std::string(rows.Text(row, *kept));
    }
    const catalog::TMainDataRec& r = rows.Record(row);
    switch (code) {
        case codes::Year:
            return std::to_string(rows.Year(row));
        case codes::Track:
            return std::to_string(rows.Track(row));
        case codes::Length:
            return catalog::MinutesSeconds(std::llround(r.dLength));
        case codes::SampleRate:
            return std::to_string(r.dMPEGFrequency);
        case codes::Size:
            return std::to_string(rows.FileSize(row));
        case codes::Bitrate:
            return std::to_string(r.dMPEGBitrate);
        case codes::DateAdded:
            return dates.Write(r.dDateAdded);
        case codes::Filename:
            return text::PathForDisplay(rows.Text(row, RowText::Path));
        case codes::DriveLetter:
            return text::PathForDisplay(rows.DriveLetter(row));
        case codes::Position:
            return NumberText(r.dPosition);
        case codes::FileDate:
            return dates.Write(r.dFileDate);
        default:
            return {};
    }
}

}  // namespace sonarchive::lists
