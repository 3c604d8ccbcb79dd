#include "reports/statistics.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "catalog_store/sql_text.h"

namespace sonarchive::reports {
namespace {

std::string ChildrenQuery(NodeKind kind) {
    const std::string select =
        "select distinct dDriveSerialNumber, dDriveLabel from maindata where ddrivetype ";
    switch (kind) {
        case NodeKind::FixedDrives:
            return select + "= " + "3";
        case NodeKind::RemovableMedia:
            return select + "in (" + "2" + "," + "5" + ")";
        case NodeKind::Computers:
            return select + "= " + "4";
        case NodeKind::Total:
        case NodeKind::Volume:
            break;
    }
    return {};
}

// The first column of the first row as a number; 0 for no row or NULL.
double FirstValue(catalog::Database& database, const std::string& sql) {
    catalog::Query query(database, sql);
    return query.AtEnd() ? 0 : query[0].AsDouble();
}

std::int64_t FirstInteger(catalog::Database& database, const std::string& sql) {
    catalog::Query query(database, sql);
    return query.AtEnd() ? 0 : query[0].AsInteger();
}

// The condition with one more term.
std::string AlsoWhere(const std::string& condition, const std::string& term) {
    return condition.empty() ? "where " + term : condition + " and " + term;
}

std::string Rounded(double value) {
    return std::to_string(std::llround(value));
}

std::string OneDecimal(double value, char separator) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    std::string text(buffer, result.ptr);
    std::replace(text.begin(), text.end(), '.', separator);
    return text;
}

std::string FormatLabel(std::int64_t code) {
    switch (code) {
        case catalog::kFormatMp3:
            return "MP3";
        case catalog::kFormatWav:
            return "WAV";
        case catalog::kFormatOgg:
            return "Ogg Vorbis";
        case catalog::kFormatMonkey:
            return "Monkey's Audio";
        default:
            return "Other";
    }
}

bool MoreFirst(const Share& a, const Share& b, bool byFiles) {
    return byFiles ? a.files > b.files : a.kilobytes > b.kilobytes;
}

}  // namespace

std::vector<StatisticsNode> TopNodes(const catalog::PathRules& rules) {
    return {
        {NodeKind::Total, "Total", "", ""},
        {NodeKind::FixedDrives, "Fixed drives", "", "where ddrivetype = " + std::string("3")},
        {NodeKind::RemovableMedia, "Removable media", "",
         "where ddrivetype in (" + std::string("5") + "," + "2" + ")"},
        {NodeKind::Computers, "Computers", "",
         "where ddrivetype = " + std::string("4") + " and dDriveSerialNumber like " + "'" +
             catalog::SqlQuote(rules.NetworkPrefix()) + "%" + "'"},
    };
}

std::vector<StatisticsNode> ChildNodes(catalog::Database& database, const catalog::PathRules& rules,
                                       const StatisticsNode& parent) {
    std::vector<StatisticsNode> children;
    const std::string sql = ChildrenQuery(parent.kind);
    if (sql.empty()) {
        return children;
    }
    catalog::Query rows(database, sql);
    for (; !rows.AtEnd(); rows.Next()) {
        const std::string serial = rows[0].AsText();
        std::string text = parent.kind == NodeKind::Computers
                               ? rules.NetworkHostOf(serial, true)
                               : rows[1].AsText() + " (" + serial + ")";
        if (text.empty()) {
            continue;
        }
        children.push_back({NodeKind::Volume, std::move(text), serial,
                            "where dDriveSerialNumber = '" + catalog::SqlQuote(serial) + "'"});
    }
    return children;
}

StatisticsFigures ComputeFigures(catalog::Database& database, const std::string& condition) {
    StatisticsFigures f;
    f.files = FirstInteger(database, "select count(id) from maindata " + condition);
    f.kilobytes = FirstInteger(database, "select sum(dfilesize) from maindata " + condition);
    f.seconds = FirstValue(database, "select sum(dlength) from maindata " + condition);
    {
        catalog::Query media(database,
                             "select distinct dDriveSerialNumber from maindata " + condition);
        f.media = media.AtEnd() ? 0 : media.RowCount();
    }
    f.averageKilobytes = FirstValue(database, "select avg(dfilesize) from maindata " + condition);
    f.averageBitrate = FirstValue(database, "select avg(dmpegbitrate) from maindata " +
                                                AlsoWhere(condition, "dformat in (2,11)"));
    f.averageSeconds = FirstValue(database, "select avg(dlength) from maindata " + condition);
    f.averageSampleRate =
        FirstValue(database, "select avg(dmpegfrequency) from maindata " + condition);
    return f;
}

FigureTexts TextsOf(const StatisticsFigures& f, char decimalSeparator) {
    const double wholeSeconds = std::round(f.seconds);
    return {std::to_string(f.files),
            std::to_string(f.kilobytes / 1000) + " MB",
            OneDecimal(wholeSeconds / 3600, decimalSeparator) + " hours",
            std::to_string(f.media),
            Rounded(f.averageKilobytes) + " KB",
            Rounded(f.averageBitrate),
            Rounded(f.averageSeconds) + " seconds",
            Rounded(f.averageSampleRate) + " Hertz"};
}

std::vector<Share> SharesByFormat(catalog::Database& database, const std::string& condition) {
    std::vector<Share> shares;
    catalog::Query rows(database, "select dFormat, count(id), sum(dfilesize) from maindata " +
                                      condition + " group by dFormat");
    for (; !rows.AtEnd(); rows.Next()) {
        const std::string label = FormatLabel(rows[0].AsInteger());
        auto same = std::find_if(shares.begin(), shares.end(),
                                 [&](const Share& s) { return s.label == label; });
        if (same == shares.end()) {
            shares.push_back({label, 0, 0});
            same = shares.end() - 1;
        }
        same->files += rows[1].AsInteger();
        same->kilobytes += rows[2].AsInteger();
    }
    std::stable_sort(shares.begin(), shares.end(),
                     [](const Share& a, const Share& b) { return MoreFirst(a, b, true); });
    return shares;
}

std::vector<Share> SharesByVolume(catalog::Database& database, const catalog::PathRules& rules,
                                  const std::string& condition, std::size_t largest) {
    std::vector<Share> shares;
    // Grouping along the (serial, path) index would fetch every row out of table order; one
    // scan of the table and a small sort of the few volumes is several times faster.
    catalog::Query rows(database,
                        "select dDriveSerialNumber, max(dDriveLabel), count(id), sum(dfilesize) "
                        "from maindata " +
                            condition + " group by +dDriveSerialNumber");
    for (; !rows.AtEnd(); rows.Next()) {
        const std::string serial = rows[0].AsText();
        const std::string host = rules.NetworkHostOf(serial, true);
        shares.push_back({host.empty() ? rows[1].AsText() + " (" + serial + ")" : host,
                          rows[2].AsInteger(), rows[3].AsInteger()});
    }
    std::stable_sort(shares.begin(), shares.end(),
                     [](const Share& a, const Share& b) { return MoreFirst(a, b, false); });
    if (shares.size() > largest) {
        Share others{"Others", 0, 0};
        for (std::size_t i = largest; i < shares.size(); ++i) {
            others.files += shares[i].files;
            others.kilobytes += shares[i].kilobytes;
        }
        shares.resize(largest);
        shares.push_back(others);
    }
    return shares;
}

}  // namespace sonarchive::reports
