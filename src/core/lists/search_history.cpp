#include "lists/search_history.h"

#include <algorithm>
#include <utility>

#include "text/text.h"

namespace sonarchive::lists {
namespace {

// Field capacities and offsets of one condition (76 bytes).
constexpr std::size_t kConditionSize = 76;
constexpr std::size_t kFieldCapacity = 16;
constexpr std::size_t kConditionCapacity = 10;
constexpr std::size_t kValueCapacity = 40;
constexpr std::size_t kCombineCapacity = 6;
constexpr std::size_t kFieldOffset = 0;
constexpr std::size_t kConditionOffset = 17;
constexpr std::size_t kValueOffset = 28;
constexpr std::size_t kCombineOffset = 69;

// Offsets inside one entry.
constexpr std::size_t kUsedOffset = 0;
constexpr std::size_t kAdvancedOffset = 1;
constexpr std::size_t kAdvancedConditionsOffset = 2;
constexpr std::size_t kSimpleOffset = 382;
constexpr std::size_t kCaptionOffset = 458;
constexpr std::size_t kCaptionCapacity = 100;

void PutText(std::string& record, std::size_t offset, std::size_t capacity,
             std::string_view value) {
    const std::string stored = text::CutToBytes(value, capacity);
    record[offset] = static_cast<char>(stored.size());
    record.replace(offset + 1, stored.size(), stored);
}

// The length byte is trusted only up to the field's capacity.
std::string GetText(std::string_view record, std::size_t offset, std::size_t capacity) {
    const std::size_t length =
        std::min<std::size_t>(static_cast<unsigned char>(record[offset]), capacity);
    return text::SanitizeUtf8(record.substr(offset + 1, length));
}

void PutCondition(std::string& record, std::size_t offset, const TSearchCondition& condition) {
    PutText(record, offset + kFieldOffset, kFieldCapacity, condition.Field);
    PutText(record, offset + kConditionOffset, kConditionCapacity, condition.Condition);
    PutText(record, offset + kValueOffset, kValueCapacity, condition.Value);
    PutText(record, offset + kCombineOffset, kCombineCapacity, condition.Combine);
}

TSearchCondition GetCondition(std::string_view record, std::size_t offset) {
    return {GetText(record, offset + kFieldOffset, kFieldCapacity),
            GetText(record, offset + kConditionOffset, kConditionCapacity),
            GetText(record, offset + kValueOffset, kValueCapacity),
            GetText(record, offset + kCombineOffset, kCombineCapacity)};
}

}  // namespace

void SearchHistory::Record(TSearchHistoryEntry entry) {
    std::move(entries_.begin() + 1, entries_.end(), entries_.begin());
    entries_.back() = std::move(entry);
}

std::vector<std::size_t> SearchHistory::UsedEntries() const {
    std::vector<std::size_t> used;
    for (std::size_t i = 0; i < kEntries; ++i) {
        if (entries_[i].Used) {
            used.push_back(i);
        }
    }
    return used;
}

std::string SearchHistory::Encode() const {
    std::string record(kRecordSize, '\0');
    for (std::size_t i = 0; i < kEntries; ++i) {
        const TSearchHistoryEntry& entry = entries_[i];
        const std::size_t base = i * kEntrySize;
        record[base + kUsedOffset] = entry.Used ? 1 : 0;
        record[base + kAdvancedOffset] = entry.Advanced ? 1 : 0;
        for (std::size_t c = 0; c < entry.AdvancedConditions.size(); ++c) {
            PutCondition(record, base + kAdvancedConditionsOffset + c * kConditionSize,
                         entry.AdvancedConditions[c]);
        }
        PutCondition(record, base + kSimpleOffset, entry.Simple);
        PutText(record, base + kCaptionOffset, kCaptionCapacity, entry.Caption);
    }
    return record;
}

SearchHistory SearchHistory::Decode(std::string_view record) {
    SearchHistory history;
    if (record.size() != kRecordSize) {
        return history;
    }
    for (std::size_t i = 0; i < kEntries; ++i) {
        TSearchHistoryEntry& entry = history.entries_[i];
        const std::size_t base = i * kEntrySize;
        entry.Used = record[base + kUsedOffset] != 0;
        entry.Advanced = record[base + kAdvancedOffset] != 0;
        for (std::size_t c = 0; c < entry.AdvancedConditions.size(); ++c) {
            entry.AdvancedConditions[c] =
                GetCondition(record, base + kAdvancedConditionsOffset + c * kConditionSize);
        }
        entry.Simple = GetCondition(record, base + kSimpleOffset);
        entry.Caption = GetText(record, base + kCaptionOffset, kCaptionCapacity);
    }
    return history;
}

SearchHistory LoadSearchHistory(catalog::Registry& registry) {
    const auto stored = registry.ReadRegBinary(SearchHistory::kValueName);
    return stored ? SearchHistory::Decode(*stored) : SearchHistory();
}

void SaveSearchHistory(catalog::Registry& registry, const SearchHistory& history) {
    registry.WriteRegBinary(SearchHistory::kValueName, history.Encode());
}

}  // namespace sonarchive::lists
