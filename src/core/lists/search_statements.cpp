#include "lists/search_statements.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "lists/date_format.h"
#include "text/text.h"

namespace sonarchive::lists {
namespace {

constexpr std::array<std::string_view, 2> kTextOperators{kContains, kExactMatch};
constexpr std::array<std::string_view, 6> kOrderOperators{"=", ">", "<", "<>", "<=", ">="};

constexpr std::string_view kIgnore = "IGNORE";

bool IsJoin(std::string_view combine) {
    return combine == "AND" || combine == "OR";
}

// One condition of the advanced walk, in both renderings, and the join that follows it.
struct Condition {
    std::string statement;
    std::string readable;
    std::string combine;
};

// The condition of one grid row; nothing when the row's field, condition or value is not
// usable.
std::optional<Condition> RowCondition(const TSearchCondition& row, const DateFormat& dates) {
    const catalog::CatalogField* field = FieldByCaption(row.Field);
    if (field == nullptr || OperatorIndex(field->kind, row.Condition) < 0) {
        return std::nullopt;
    }
    const std::string column(field->column);
    const std::string caption(field->caption);
    const std::string& op = row.Condition;
    if (field->kind == kKindText) {
        const std::string shown = text::UpperCase(row.Value);
        const std::string quoted = text::UpperCase(catalog::SqlQuote(row.Value));
        if (op == kContains) {
            return Condition{"upper(" + column + ") like '%" + quoted + "%'",
                             "(" + caption + " Contains '" + shown + "')",
                             {}};
        }
        return Condition{"upper(" + column + ") = '" + quoted + "'",
                         "(" + caption + " Exact match '" + shown + "')",
                         {}};
    }
    if (field->kind == kKindNumber) {
        const auto number = ReadGridNumber(row.Value);
        if (!number) {
            return std::nullopt;
        }
        const std::string value = std::to_string(*number);
        return Condition{
            column + " " + op + " " + value, "(" + caption + " " + op + " " + value + ")", {}};
    }
    const auto date = dates.Read(row.Value);
    if (!date) {
        return std::nullopt;
    }
    const std::string quotedDate = "'" + catalog::SqlDateText(*date) + "'";
    return Condition{column + " " + op + "  " + quotedDate,
                     "(" + caption + " " + op + "  " + quotedDate + ")",
                     {}};
}

}  // namespace

const catalog::CatalogField* FieldByCaption(std::string_view caption) {
    const int index = FieldIndexByCaption(caption);
    return index < 0 ? nullptr : &catalog::CatalogFields[static_cast<std::size_t>(index)];
}

int FieldIndexByCaption(std::string_view caption) {
    if (caption.empty()) {
        return -1;
    }
    for (std::size_t i = 0; i < catalog::CatalogFields.size(); ++i) {
        if (text::EqualsIgnoringCase(catalog::CatalogFields[i].caption, caption)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::span<const std::string_view> OperatorsOf(char kind) {
    if (kind == kKindText) {
        return kTextOperators;
    }
    if (kind == kKindNumber || kind == kKindDate) {
        return kOrderOperators;
    }
    return {};
}

int OperatorIndex(char kind, std::string_view condition) {
    const auto operators = OperatorsOf(kind);
    const auto found = std::find(operators.begin(), operators.end(), condition);
    return found == operators.end() ? -1 : static_cast<int>(found - operators.begin());
}

std::optional<std::int64_t> ReadGridNumber(std::string_view typed) {
    const std::string trimmed = text::TrimControlAndBlank(typed);
    std::int64_t value = 0;
    const auto [end, error] =
        std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size() ||
        value < 0 || value > kNumberEditorMaximum) {
        return std::nullopt;
    }
    return value;
}

std::int64_t ReadSimpleNumber(std::string_view typed) {
    const std::string trimmed = text::TrimControlAndBlank(typed);
    double value = 0;
    const auto [end, error] =
        std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size() ||
        !std::isfinite(value)) {
        return 0;
    }
    // Far beyond any catalog value; kept inside the integer range so truncation is defined.
    return static_cast<std::int64_t>(std::trunc(std::clamp(value, -9.0e15, 9.0e15)));
}

std::string SimpleStatement(const SimpleSearch& search, const DateFormat& dates) {
    const catalog::CatalogField* field = FieldByCaption(search.field);
    if (field == nullptr || OperatorIndex(field->kind, search.condition) < 0) {
        return {};
    }
    const std::string column(field->column);
    if (field->kind == kKindText) {
        const std::string value = text::UpperCase(catalog::SqlQuote(search.value));
        if (search.condition == kContains) {
            return catalog::StandardSelectWhere("upper(" + column + ") like '%" + value + "%'");
        }
        return catalog::StandardSelectWhere("upper(" + column + ") = '" + value + "'");
    }
    if (field->kind == kKindNumber) {
        return catalog::StandardSelectWhere(column + " " + search.condition +
                                            std::to_string(ReadSimpleNumber(search.value)));
    }
    const auto date = dates.Read(search.value);
    if (!date) {
        return {};
    }
    return catalog::StandardSelectWhere(column + " " + search.condition + " '" +
                                        catalog::SqlDateText(*date) + "'");
}

std::string SimpleCaption(const SimpleSearch& search, std::int64_t rowCount) {
    const catalog::CatalogField* field = FieldByCaption(search.field);
    const std::string value = field != nullptr && field->kind == kKindNumber
                                  ? std::to_string(ReadSimpleNumber(search.value))
                                  : search.value;
    return "\"" + search.field + " " + search.condition + " " + value + "\" - found " +
           std::to_string(rowCount) + " rows";
}

std::string AdvancedCaption(std::int64_t rowCount) {
    return "Advanced search - found " + std::to_string(rowCount) + " rows";
}

AdvancedSearch BuildAdvancedSearch(const SearchGrid& grid, const DateFormat& dates) {
    std::vector<Condition> conditions;
    for (const TSearchCondition& row : grid) {
        std::optional<Condition> condition = RowCondition(row, dates);
        if (!condition) {
            continue;
        }
        const bool last = !IsJoin(row.Combine);
        condition->combine = last ? std::string() : row.Combine;
        conditions.push_back(std::move(*condition));
        if (last) {
            break;
        }
    }
    if (conditions.empty()) {
        return {};
    }
    AdvancedSearch search;
    for (std::size_t i = 0; i < conditions.size(); ++i) {
        if (i > 0) {
            search.statement += " " + conditions[i - 1].combine + " ";
            search.readable += " " + conditions[i - 1].combine + " ";
        }
        search.statement += conditions[i].statement;
        search.readable += conditions[i].readable;
    }
    search.statement = catalog::StandardSelectWhere(search.statement);
    return search;
}

void ValidateGrid(SearchGrid& grid, const DateFormat& dates, double today) {
    for (TSearchCondition& row : grid) {
        const catalog::CatalogField* field = FieldByCaption(row.Field);
        if (field == nullptr) {
            row.Condition.clear();
        } else if (field->kind == kKindText) {
            if (OperatorIndex(kKindText, row.Condition) < 0) {
                row.Condition = kContains;
            }
        } else {
            if (OperatorIndex(field->kind, row.Condition) < 0) {
                row.Condition = "=";
            }
            if (field->kind == kKindNumber && !ReadGridNumber(row.Value)) {
                row.Value = "0";
            }
            if (field->kind == kKindDate && !dates.Read(row.Value)) {
                row.Value = dates.Write(today);
            }
        }
        if (!row.Field.empty() && !IsJoin(row.Combine)) {
            row.Combine = kIgnore;
        }
    }
}

}  // namespace sonarchive::lists
