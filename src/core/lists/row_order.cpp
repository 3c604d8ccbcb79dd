#include "lists/row_order.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <numeric>
#include <string>

#include "lists/date_format.h"
#include "lists/result_rows.h"
#include "text/text.h"

namespace sonarchive::lists {
namespace {

std::unique_ptr<icu::Collator> MakeCollator() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(
        icu::Collator::createInstance(icu::Locale::getRoot(), status));
    return U_SUCCESS(status) ? std::move(collator) : nullptr;
}

// Collation keys of many texts, packed into one buffer: comparing two keys is comparing bytes.
class CollationKeys {
public:
    explicit CollationKeys(std::size_t count) : collator_(MakeCollator()) {
        offsets_.reserve(count + 1);
        offsets_.push_back(0);
    }

    void Add(std::string_view utf8) {
        if (collator_ == nullptr) {
            buffer_.append(utf8);
        } else {
            const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
                icu::StringPiece(utf8.data(), static_cast<std::int32_t>(utf8.size())));
            const std::size_t start = buffer_.size();
            std::int32_t room = static_cast<std::int32_t>(utf8.size() * 3 + 16);
            for (;;) {
                buffer_.resize(start + static_cast<std::size_t>(room));
                const std::int32_t needed = collator_->getSortKey(
                    unicode, reinterpret_cast<std::uint8_t*>(buffer_.data() + start), room);
                if (needed <= room) {
                    // The key ends with a NUL that every key shares; it orders nothing.
                    buffer_.resize(start + static_cast<std::size_t>(std::max(needed - 1, 0)));
                    break;
                }
                room = needed;
            }
        }
        offsets_.push_back(buffer_.size());
    }

    std::string_view Key(std::size_t i) const {
        return std::string_view(buffer_).substr(offsets_[i], offsets_[i + 1] - offsets_[i]);
    }

private:
    std::unique_ptr<icu::Collator> collator_;
    std::string buffer_;
    std::vector<std::size_t> offsets_;
};

double DayOf(double dateTime) {
    return std::floor(dateTime);
}

std::optional<double> NumberOf(std::string_view text) {
    const std::string trimmed = text::TrimControlAndBlank(text);
    double value = 0;
    const auto [end, error] =
        std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (error != std::errc() || end != trimmed.data() + trimmed.size()) {
        return std::nullopt;
    }
    return value;
}

// The numeric key of a row for a number, floating-point or date column.
double NumericKey(const ResultRows& rows, std::size_t row, int code) {
    const catalog::TMainDataRec& r = rows.Record(row);
    switch (code) {
        case codes::Year:
            return rows.Year(row);
        case codes::Track:
            return rows.Track(row);
        case codes::SampleRate:
            return r.dMPEGFrequency;
        case codes::Size:
            return rows.FileSize(row);
        case codes::Bitrate:
            return r.dMPEGBitrate;
        case codes::Position:
            return r.dPosition;
        case codes::DateAdded:
            return DayOf(r.dDateAdded);
        case codes::FileDate:
            return DayOf(r.dFileDate);
        default:
            return 0;
    }
}

template <typename Less>
std::vector<std::uint32_t> StableOrder(std::size_t count, bool ascending, Less less) {
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    if (ascending) {
        std::stable_sort(order.begin(), order.end(), less);
    } else {
        std::stable_sort(order.begin(), order.end(),
                         [&less](std::uint32_t a, std::uint32_t b) { return less(b, a); });
    }
    return order;
}

}  // namespace

std::vector<std::uint32_t> SortOrder(const ResultRows& rows, int code, bool mainText,
                                     bool ascending, const DateFormat& dates) {
    const ColumnDefinition* definition = ColumnDefinitionOf(code);
    const SortKind kind = mainText || definition == nullptr ? SortKind::Text : definition->sortKind;
    const std::size_t count = rows.Size();
    if (kind == SortKind::Text) {
        CollationKeys keys(count);
        for (std::size_t i = 0; i < count; ++i) {
            if (mainText) {
                keys.Add(rows.MainText(i));
            } else {
                keys.Add(CellText(rows, i, code, dates));
            }
        }
        return StableOrder(count, ascending, [&keys](std::uint32_t a, std::uint32_t b) {
            return keys.Key(a) < keys.Key(b);
        });
    }
    std::vector<double> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        keys[i] = NumericKey(rows, i, code);
    }
    return StableOrder(count, ascending,
                       [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
}

int CompareCellTexts(SortKind kind, std::string_view a, std::string_view b,
                     const DateFormat& dates) {
    if (kind == SortKind::Text) {
        thread_local const std::unique_ptr<icu::Collator> collator = MakeCollator();
        if (collator == nullptr) {
            return a.compare(b);
        }
        UErrorCode status = U_ZERO_ERROR;
        return collator->compareUTF8(
            icu::StringPiece(a.data(), static_cast<std::int32_t>(a.size())),
            icu::StringPiece(b.data(), static_cast<std::int32_t>(b.size())), status);
    }
    const auto read = [&](std::string_view t) {
        const std::optional<double> value = kind == SortKind::Date ? dates.Read(t) : NumberOf(t);
        return value.value_or(0);
    };
    const double x = read(a);
    const double y = read(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

bool NextSortAscending(int clickedSection, int sortedSection, bool sortedAscending) {
    return clickedSection != sortedSection || !sortedAscending;
}

}  // namespace sonarchive::lists
