// The columns of a result list: what each shows, how it is laid out and sorted, and which of
// them the user has chosen to see.
//
// A column is known by its code, never by its position: the leading columns depend on the
// layout, and the user may drag headers to new places. The first column holds the row's main
// text; every further column holds the text its code names.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "catalog_store/settings.h"

namespace sonarchive::lists {

// Column codes. 21 to 23 are not used.
namespace codes {
constexpr int Artist = 1;
constexpr int Title = 2;
constexpr int Album = 3;
constexpr int Composer = 4;
constexpr int Year = 5;
constexpr int Track = 6;
constexpr int Comment = 7;
constexpr int Genre = 8;
constexpr int Encoder = 9;
constexpr int Copyright = 10;
constexpr int Language = 11;
constexpr int Length = 12;
constexpr int Link = 13;
constexpr int SampleRate = 14;
constexpr int Size = 15;
constexpr int VolumeLabel = 16;
constexpr int Serial = 17;
constexpr int Bitrate = 18;
constexpr int DateAdded = 19;
constexpr int Filename = 20;
constexpr int DriveLetter = 24;
constexpr int Position = 25;
constexpr int FileDate = 26;
}  // namespace codes

// Layouts, named by the code of their first column.
constexpr int kLayoutPlain = -1;  // Artist, Title, Album
constexpr int kLayoutArtist = 1;  // Artist, Album, Title
constexpr int kLayoutAlbum = 3;   // Album, Artist, Title
constexpr int kLayoutGenre = 8;   // Genre, Artist, Title, Album

enum class SortKind { Text, Number, Float, Date };
enum class Alignment { Left, Center };

struct ColumnDefinition {
    int code;
    std::string_view caption;
    std::string_view setting;  // the FIELD_ value; empty for columns without one
    int width;                 // pixels; 0: the column sizes itself to its contents
    Alignment alignment;
    SortKind sortKind;
    bool toggle;  // the user may show and hide it
    bool visibleWhenCreated;
};

// Every column, by code order; null for a code that names none.
std::span<const ColumnDefinition> AllColumnDefinitions();
const ColumnDefinition* ColumnDefinitionOf(int code);

struct ResultColumn {
    const ColumnDefinition* definition;
    bool visible;
    int Code() const { return definition->code; }
};
using ResultColumns = std::vector<ResultColumn>;

// The columns of a layout (22, with the position column 23), with their built-in visibility.
// Any layout value not listed above gives the plain layout.
ResultColumns BuildResultColumns(int layout, bool withPosition);
// The same, then the user's stored choice applied (LoadVisibleFields).
ResultColumns BuildResultColumns(int layout, bool withPosition, catalog::Registry& registry);

// Position among the column texts of a row (the first column, holding the main text, is not
// counted); -1 when no column has the code.
int ColumnIndexOf(const ResultColumns& columns, int code);
// Position among all columns, the first included; -1 when none has the code.
int SectionIndexOf(const ResultColumns& columns, int code);

// Applies the stored FIELD_ values in their fixed order, stopping silently at the first one
// that is missing or unreadable; settings that cannot be opened give a fixed fallback set.
void LoadVisibleFields(catalog::Registry& registry, ResultColumns& columns);
// Stores the visibility of every column that has a FIELD_ value, in one write; shows
// "Couldn't write to registry (visible fields)." when it cannot be written.
void SaveVisibleFields(catalog::Registry& registry, const ResultColumns& columns);

// The columns "Set visible fields" and "View columns" list: the first 21, so that the 22nd
// (Year) and the position column are never offered.
constexpr std::size_t kListedColumns = 21;

}  // namespace sonarchive::lists
