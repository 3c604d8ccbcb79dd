#include "tags/mass_update_fields.h"

#include <algorithm>

#include "catalog_store/sql_text.h"
#include "text/text.h"

namespace sonarchive::tags {

const std::vector<MassUpdateField>& MassUpdateFields() {
    static const std::vector<MassUpdateField> fields = [] {
        std::vector<MassUpdateField> list;
        for (const catalog::CatalogField& entry : catalog::CatalogFields) {
            // The selectors are the columns upper-cased; columns without one (dates, stream
            // figures, path and volume) cannot be set.
            const auto field = FieldOfSelector(text::UpperCase(entry.column));
            if (field) {
                list.push_back({std::string(entry.caption), std::string(entry.column), *field});
            }
        }
        return list;
    }();
    return fields;
}

std::optional<std::size_t> FindMassUpdateField(std::string_view name) {
    const auto& fields = MassUpdateFields();
    const auto found = std::find_if(fields.begin(), fields.end(), [name](const MassUpdateField& f) {
        return text::EqualsIgnoringCase(f.caption, name) ||
               text::EqualsIgnoringCase(f.column, name);
    });
    if (found == fields.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - fields.begin());
}

std::int64_t LargestNumberOf(const MassUpdateField& field) {
    return field.field == TagField::Year ? 9999 : kSmallIntLimit;
}

std::string CurrentValueOf(const catalog::TMainDataRecComplete& row, TagField field) {
    if (field == TagField::Track) {
        return std::to_string(row.dTrack);
    }
    if (field == TagField::Year) {
        return std::to_string(row.dYear);
    }
    return *RowTextOf(row, field);
}

}  // namespace sonarchive::tags
