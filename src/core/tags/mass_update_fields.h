// The fields mass update can set, and what a row holds in each.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog_store/records.h"
#include "tags/tag_types.h"

namespace sonarchive::tags {

struct MassUpdateField {
    std::string caption;  // "Album", ..., as the catalog's field table names it
    std::string column;   // "dAlbum", ...
    TagField field;

    bool IsNumber() const { return field == TagField::Track || field == TagField::Year; }
    std::string_view Selector() const { return SelectorOf(field); }
};

// The first entry of the field list, which selects no field.
inline constexpr std::string_view kNoFieldEntry = "Select field to update";
// The heading of the value column while no field is selected.
inline constexpr std::string_view kNoFieldHeading = "No field selected";

// The twelve fields, in the order of the catalog's field table: every text and number field
// of the table but the dates, the stream figures, the path and the volume's columns.
const std::vector<MassUpdateField>& MassUpdateFields();

// The position of a field given by its caption or column name, in any letter case.
std::optional<std::size_t> FindMassUpdateField(std::string_view name);

// The largest number the number editor takes: Track 32000, Year 9999.
std::int64_t LargestNumberOf(const MassUpdateField& field);

// What a row holds in the field: the text column, or dTrack / dYear as a decimal number.
std::string CurrentValueOf(const catalog::TMainDataRecComplete& row, TagField field);

}  // namespace sonarchive::tags
