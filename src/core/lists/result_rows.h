// The file rows of a result list, held compactly enough for a catalog of 200 000 files.
//
// Each row keeps its list record and the texts its columns are made from; every text of a
// row sits in one shared block store, so a row costs one small fixed record and its text
// bytes. Cell texts (numbers, lengths, dates) are made on demand, never kept.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog_store/engine.h"
#include "catalog_store/records.h"

namespace sonarchive::lists {

class DateFormat;

// The catalog texts a row keeps.
enum class RowText : std::uint8_t {
    Artist,
    Title,
    Album,
    Composer,
    Comment,
    Genre,
    Encoder,
    Copyright,
    Language,
    Link,
    DriveLabel,
    DriveSerialNumber,
    Path,
};
constexpr std::size_t kRowTextCount = 13;
using RowTexts = std::array<std::string, kRowTextCount>;

// Drive-letter slots every store knows: a local row whose volume is not mounted shows "?",
// a network row "-".
constexpr std::uint16_t kDriveSlotUnmounted = 0;
constexpr std::uint16_t kDriveSlotNetwork = 1;

class ResultRows {
public:
    // File rows under a group row (Browse) show their title as main text, others their artist.
    explicit ResultRows(bool underGroup = false);

    // Appends one row per result row, in order: from the standard select, "select *" or the
    // collection join (with `collectionId` 0 or more). Answers how many were appended.
    std::size_t Fill(catalog::Query& query, std::int32_t collectionId = -1);

    std::size_t Size() const { return rows_.size(); }
    bool UnderGroup() const { return underGroup_; }

    const catalog::TMainDataRec& Record(std::size_t row) const { return rows_[row].record; }
    catalog::TMainDataRec& Record(std::size_t row) { return rows_[row].record; }
    std::int64_t Id(std::size_t row) const { return rows_[row].record.Id; }
    std::string_view Text(std::size_t row, RowText which) const;
    std::int32_t Year(std::size_t row) const { return rows_[row].year; }
    std::int32_t Track(std::size_t row) const { return rows_[row].track; }
    std::int32_t FileSize(std::size_t row) const { return rows_[row].fileSize; }
    // The drive type code, which is also the row's icon index.
    std::int32_t DriveType(std::size_t row) const { return rows_[row].driveType; }

    // The main text (first column): the title under a group row, else the artist.
    std::string_view MainText(std::size_t row) const;

    // All texts of a row, to change some and write them back (after the tag editor).
    RowTexts Texts(std::size_t row) const;
    void SetTexts(std::size_t row, const RowTexts& texts);
    void SetYear(std::size_t row, std::int32_t year) { rows_[row].year = year; }
    void SetTrack(std::size_t row, std::int32_t track) { rows_[row].track = track; }

    // Removes rows by position (any order, duplicates allowed); the others keep their order.
    void Remove(std::vector<std::size_t> positions);
    void Clear();

    // Availability, as the last marking found it.
    bool Reachable(std::size_t row) const { return rows_[row].reachable; }
    std::string_view DriveLetter(std::size_t row) const {
        return driveLetters_[rows_[row].driveSlot];
    }
    void SetAvailability(std::size_t row, std::string_view driveLetter, bool reachable);

private:
    struct Row {
        catalog::TMainDataRec record;
        std::int32_t year = 0;
        std::int32_t track = 0;
        std::int32_t fileSize = 0;
        std::int32_t driveType = 0;
        std::uint32_t textBlock = 0;
        std::array<std::uint16_t, kRowTextCount> textLength{};
        std::uint16_t driveSlot = kDriveSlotUnmounted;
        bool reachable = false;
    };

    // Stores the texts as one block and answers where it begins.
    std::uint32_t StoreTexts(const std::array<std::string_view, kRowTextCount>& texts,
                             std::array<std::uint16_t, kRowTextCount>& lengths);
    std::uint16_t DriveSlot(std::string_view driveLetter);

    bool underGroup_;
    std::vector<Row> rows_;
    // Text bytes in chunks that never move, so a row's block stays where it was stored.
    std::vector<std::unique_ptr<char[]>> chunks_;
    std::size_t chunkUsed_ = 0;
    std::vector<std::string> driveLetters_;
};

// The catalog text a column shows as it is stored; nothing for columns whose text is made.
std::optional<RowText> RowTextOfColumn(int code);

// The text a cell shows: `code` is the column's code. Numbers are plain, lengths
// minutes:seconds, dates in the user's short date format, the path as the user reads it.
std::string CellText(const ResultRows& rows, std::size_t row, int code, const DateFormat& dates);

}  // namespace sonarchive::lists
