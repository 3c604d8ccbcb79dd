#include "lists/pick_lists.h"

#include "text/text.h"

namespace sonarchive::lists {
namespace {

struct PickListColumn {
    std::string_view column;  // upper-cased
    std::string_view statement;
};

constexpr std::array<PickListColumn, PickLists::kCount> kColumns{{
    {"DARTIST", "select distinct upper(dartist) as da from maindata order by upper(dartist)"},
    {"DALBUM", "select distinct upper(dalbum) as da from maindata order by upper(dalbum)"},
    {"DGENRE", "select distinct upper(dGenre) as da from maindata order by upper(dGenre)"},
    {"DYEAR", "select distinct dyear as da from maindata order by dyear"},
    {"DMPEGBITRATE", "select distinct dmpegbitrate as da from maindata order by dmpegbitrate"},
    {"DMPEGFREQUENCY",
     "select distinct dmpegfrequency as da from maindata order by dmpegfrequency"},
}};

int IndexOf(std::string_view column) {
    const std::string upper = text::UpperCase(column);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        if (kColumns[i].column == upper) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const std::vector<std::string> kNoValues;

}  // namespace

PickLists::PickLists() = default;

bool PickLists::HasPickList(std::string_view column) {
    return IndexOf(column) >= 0;
}

std::string PickLists::Statement(std::string_view column) {
    const int index = IndexOf(column);
    return index < 0 ? std::string()
                     : std::string(kColumns[static_cast<std::size_t>(index)].statement);
}

const std::vector<std::string>& PickLists::Values(catalog::Database& database,
                                                  std::string_view column, bool refreshStale) {
    const int index = IndexOf(column);
    if (index < 0) {
        return kNoValues;
    }
    List& list = lists_[static_cast<std::size_t>(index)];
    if (list.stale && (refreshStale || !list.built)) {
        list.values.clear();
        list.stale = false;
        list.built = true;
        catalog::Query query(database,
                             std::string(kColumns[static_cast<std::size_t>(index)].statement));
        for (; !query.AtEnd(); query.Next()) {
            std::string value = text::TitleCase(query[0].AsText());
            // An empty text and a missing one are both a blank entry; one is enough.
            if (value.empty() && !list.values.empty() && list.values.back().empty()) {
                continue;
            }
            list.values.push_back(std::move(value));
        }
    }
    return list.values;
}

bool PickLists::IsStale(std::string_view column) const {
    const int index = IndexOf(column);
    return index >= 0 && lists_[static_cast<std::size_t>(index)].stale;
}

void PickLists::MarkAllStale() {
    for (List& list : lists_) {
        list.stale = true;
    }
}

void PickLists::Clear() {
    lists_ = {};
}

}  // namespace sonarchive::lists
