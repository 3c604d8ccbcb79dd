#include "lists/result_columns.h"

#include <algorithm>
#include <array>

namespace sonarchive::lists {
namespace {

using enum Alignment;
using enum SortKind;

constexpr std::array<ColumnDefinition, 23> kColumns{{
    {codes::Artist, "Artist", "FIELD_ARTIST", 0, Left, Text, true, true},
    {codes::Title, "Title", "FIELD_TITLE", 0, Left, Text, true, true},
    {codes::Album, "Album", "FIELD_ALBUM", 0, Left, Text, true, true},
    {codes::Composer, "Composer", "FIELD_COMPOSER", 0, Left, Text, true, true},
    {codes::Year, "Year", "FIELD_YEAR", 50, Center, Number, true, true},
    {codes::Track, "Track", "FIELD_TRACK", 50, Center, Number, true, false},
    {codes::Comment, "Comment", "FIELD_COMMENT", 0, Left, Text, true, true},
    {codes::Genre, "Genre", "FIELD_GENRE", 0, Left, Text, true, true},
    {codes::Encoder, "Encoder", "FIELD_ENCODER", 0, Left, Text, true, false},
    {codes::Copyright, "Copyright", "FIELD_COPYRIGHT", 0, Left, Text, true, false},
    {codes::Language, "Language", "FIELD_LANGUAGE", 0, Left, Text, true, false},
    {codes::Length, "Length (m:s)", "FIELD_LENGTH", 80, Center, Text, true, true},
    {codes::Link, "Link", "FIELD_LINK", 0, Left, Text, true, false},
    {codes::SampleRate, "Sample rate (Hz)", "FIELD_FREQUENCY", 90, Center, Number, true, true},
    {codes::Size, "Size (KB)", "FIELD_SIZE", 60, Center, Number, true, true},
    {codes::VolumeLabel, "Volume label", "FIELD_LABEL", 80, Left, Text, true, true},
    {codes::Serial, "Serialno. media", "FIELD_SERIALNO", 80, Center, Text, true, true},
    {codes::Bitrate, "Bit rate", "FIELD_BITRATE", 70, Center, Number, true, true},
    {codes::DateAdded, "Date added", "FIELD_ADDEDDATE", 70, Center, Date, true, true},
    {codes::Filename, "Filename", "FIELD_PATH", 0, Left, Text, true, true},
    {codes::DriveLetter, "Drive letter", "FIELD_DRIVELETTER", 70, Center, Text, true, true},
    {codes::Position, "POS", "", 90, Center, Float, false, false},
    {codes::FileDate, "File date", "", 70, Center, Date, true, true},
}};

// What every layout appends after its leading columns.
constexpr std::array<int, 19> kTrailingColumns{
    codes::Bitrate,     codes::Composer, codes::Comment,     codes::Copyright,  codes::DateAdded,
    codes::DriveLetter, codes::Encoder,  codes::Filename,    codes::FileDate,   codes::Genre,
    codes::Language,    codes::Length,   codes::Link,        codes::SampleRate, codes::Serial,
    codes::Size,        codes::Track,    codes::VolumeLabel, codes::Year};

// The stored values in the order they are read; reading stops at the first missing one, so
// this order decides which columns a partly stored set governs.
constexpr std::array<int, 21> kStoredFieldOrder{
    codes::Artist,      codes::Title,   codes::Album,     codes::Composer,    codes::Year,
    codes::Track,       codes::Comment, codes::Genre,     codes::Encoder,     codes::Copyright,
    codes::Language,    codes::Link,    codes::Size,      codes::VolumeLabel, codes::Serial,
    codes::DriveLetter, codes::Bitrate, codes::DateAdded, codes::Filename,    codes::Length,
    codes::SampleRate};

// Shown when the settings cannot be opened at all.
constexpr std::array<int, 6> kFallbackVisible{codes::Artist,      codes::Title,   codes::Album,
                                              codes::DriveLetter, codes::Bitrate, codes::Filename};

std::vector<int> LeadingColumns(int layout) {
    switch (layout) {
        case kLayoutArtist:
            return {codes::Artist, codes::Album, codes::Title};
        case kLayoutAlbum:
            return {codes::Album, codes::Artist, codes::Title};
        case kLayoutGenre:
            return {codes::Genre, codes::Artist, codes::Title, codes::Album};
        default:
            return {codes::Artist, codes::Title, codes::Album};
    }
}

ResultColumn* FindColumn(ResultColumns& columns, int code) {
    const auto found = std::find_if(columns.begin(), columns.end(),
                                    [code](const ResultColumn& c) { return c.Code() == code; });
    return found == columns.end() ? nullptr : &*found;
}

}  // namespace

std::span<const ColumnDefinition> AllColumnDefinitions() {
    return kColumns;
}

const ColumnDefinition* ColumnDefinitionOf(int code) {
    const auto found = std::find_if(kColumns.begin(), kColumns.end(),
                                    [code](const ColumnDefinition& c) { return c.code == code; });
    return found == kColumns.end() ? nullptr : &*found;
}

ResultColumns BuildResultColumns(int layout, bool withPosition) {
    std::vector<int> order = LeadingColumns(layout);
    for (const int code : kTrailingColumns) {
        if (code != codes::Genre || layout != kLayoutGenre) {
            order.push_back(code);
        }
    }
    if (withPosition) {
        order.push_back(codes::Position);
    }
    ResultColumns columns;
    columns.reserve(order.size());
    for (const int code : order) {
        const ColumnDefinition* definition = ColumnDefinitionOf(code);
        columns.push_back({definition, definition->visibleWhenCreated});
    }
    return columns;
}

ResultColumns BuildResultColumns(int layout, bool withPosition, catalog::Registry& registry) {
    ResultColumns columns = BuildResultColumns(layout, withPosition);
    LoadVisibleFields(registry, columns);
    return columns;
}

int ColumnIndexOf(const ResultColumns& columns, int code) {
    const int section = SectionIndexOf(columns, code);
    return section < 1 ? -1 : section - 1;
}

int SectionIndexOf(const ResultColumns& columns, int code) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].Code() == code) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void LoadVisibleFields(catalog::Registry& registry, ResultColumns& columns) {
    if (!registry.File().CanOpen()) {
        for (ResultColumn& column : columns) {
            if (!column.definition->setting.empty()) {
                column.visible = std::find(kFallbackVisible.begin(), kFallbackVisible.end(),
                                           column.Code()) != kFallbackVisible.end();
            }
        }
        return;
    }
    for (const int code : kStoredFieldOrder) {
        const std::int64_t stored =
            registry.ReadRegInteger(std::string(ColumnDefinitionOf(code)->setting));
        if (stored < 0) {
            return;
        }
        if (ResultColumn* column = FindColumn(columns, code)) {
            column->visible = stored != 0;
        }
    }
}

void SaveVisibleFields(catalog::Registry& registry, const ResultColumns& columns) {
    std::vector<std::pair<std::string, platform::SettingValue>> values;
    for (const ResultColumn& column : columns) {
        if (!column.definition->setting.empty()) {
            values.emplace_back(std::string(column.definition->setting),
                                std::int64_t{column.visible ? 1 : 0});
        }
    }
    registry.WriteValues(values, "Couldn't write to registry (visible fields).");
}

}  // namespace sonarchive::lists
