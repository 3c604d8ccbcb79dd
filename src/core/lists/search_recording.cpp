#include "lists/search_recording.h"

#include "lists/date_format.h"
#include "text/text.h"

namespace sonarchive::lists {
namespace {

constexpr std::size_t kCaptionLength = 100;

// Upper-cases a to z only, as the stored history always has.
std::string AsciiUpper(std::string_view value) {
    std::string upper(value);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

std::string StoredValue(const SimpleSearch& search, char kind, const DateFormat& dates) {
    if (kind == kKindNumber) {
        return std::to_string(ReadSimpleNumber(search.value));
    }
    if (kind == kKindDate) {
        const auto date = dates.Read(search.value);
        return date ? dates.Write(*date) : search.value;
    }
    return AsciiUpper(search.value);
}

// Appends a piece, then cuts the whole to `limit` characters.
void Grow(std::string& caption, std::string_view piece, std::size_t limit) {
    caption = text::CutCodePoints(caption + std::string(piece), limit);
}

}  // namespace

std::optional<TSearchHistoryEntry> SimpleHistoryEntry(const SimpleSearch& search,
                                                      const DateFormat& dates) {
    const catalog::CatalogField* field = FieldByCaption(search.field);
    if (search.field.empty() || search.condition.empty() || field == nullptr) {
        return std::nullopt;
    }
    TSearchHistoryEntry entry;
    entry.Used = true;
    entry.Advanced = false;
    entry.Simple = {search.field, search.condition, StoredValue(search, field->kind, dates), {}};
    Grow(entry.Caption, search.field + " ", 17);
    Grow(entry.Caption, search.condition, 27);
    Grow(entry.Caption, " ", 28);
    Grow(entry.Caption, "'", 29);
    Grow(entry.Caption, entry.Simple.Value, 69);
    Grow(entry.Caption, "'", 70);
    return entry;
}

TSearchHistoryEntry AdvancedHistoryEntry(const SearchGrid& grid, const DateFormat& dates) {
    TSearchHistoryEntry entry;
    entry.Used = true;
    entry.Advanced = true;
    entry.AdvancedConditions = grid;
    entry.Caption = text::CutCodePoints(BuildAdvancedSearch(grid, dates).readable, kCaptionLength);
    return entry;
}

std::string RestoredCondition(char kind, std::string_view stored) {
    const auto operators = OperatorsOf(kind);
    if (stored.empty()) {
        return {};
    }
    if (OperatorIndex(kind, stored) >= 0) {
        return std::string(stored);
    }
    std::string_view only;
    int fitting = 0;
    for (const std::string_view op : operators) {
        if (op.starts_with(stored)) {
            only = op;
            ++fitting;
        }
    }
    return fitting == 1 ? std::string(only) : std::string();
}

SimpleReplay ReplaySimple(const TSearchHistoryEntry& entry) {
    SimpleReplay replay;
    const TSearchCondition& stored = entry.Simple;
    replay.value = stored.Value;
    replay.field = FieldIndexByCaption(stored.Field);
    if (replay.field < 0) {
        return replay;
    }
    const char kind = catalog::CatalogFields[static_cast<std::size_t>(replay.field)].kind;
    replay.condition = OperatorIndex(kind, RestoredCondition(kind, stored.Condition));
    if (kind == kKindNumber) {
        replay.value = std::to_string(ReadSimpleNumber(stored.Value));
    }
    return replay;
}

SearchGrid ReplayAdvanced(const TSearchHistoryEntry& entry) {
    SearchGrid grid = entry.AdvancedConditions;
    for (TSearchCondition& row : grid) {
        if (const catalog::CatalogField* field = FieldByCaption(row.Field)) {
            const std::string restored = RestoredCondition(field->kind, row.Condition);
            if (!restored.empty()) {
                row.Condition = restored;
            }
        }
    }
    return grid;
}

}  // namespace sonarchive::lists
