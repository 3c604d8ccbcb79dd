#include "gui/lists/short_date.h"

#include <QLocale>
#include <map>
#include <memory>

#include "catalog_store/date_time.h"

namespace sonarchive::gui {

QString ShortDatePattern() {
    const QString pattern = QLocale().dateFormat(QLocale::ShortFormat);
    const QString iso = QStringLiteral("yyyy-MM-dd");
    QString result;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) {
            ++run;
        }
        if (c == QLatin1Char('y')) {
            result += QStringLiteral("yyyy");
        } else if ((c == QLatin1Char('d') || c == QLatin1Char('M')) && run <= 2) {
            result += QString(run, c);
        } else if (c.isLetter() || c == QLatin1Char('\'')) {
            return iso;
        } else {
            result += QString(run, c);
        }
        i += run;
    }
    const bool complete = result.contains(QLatin1Char('y')) && result.contains(QLatin1Char('M')) &&
                          result.contains(QLatin1Char('d'));
    return complete ? result : iso;
}

const lists::DateFormat& ShortDateFormat() {
    // Every format made stays alive: lists keep a reference to the one they were made with.
    static std::map<QString, std::unique_ptr<lists::PatternDateFormat>> formats;
    const QString pattern = ShortDatePattern();
    auto& format = formats[pattern];
    if (!format) {
        format = std::make_unique<lists::PatternDateFormat>(pattern.toStdString());
    }
    return *format;
}

double DaysOf(const QDate& date) {
    return catalog::DateTimeFromCivil({date.year(), date.month(), date.day(), 0, 0, 0});
}

std::string ShortDateText(const QDate& date) {
    return ShortDateFormat().Write(DaysOf(date));
}

QDate ShortDateOf(const std::string& text) {
    const std::optional<double> days = ShortDateFormat().Read(text);
    if (!days) {
        return {};
    }
    const catalog::CivilDateTime civil = catalog::CivilFromDateTime(*days);
    return QDate(civil.year, civil.month, civil.day);
}

}  // namespace sonarchive::gui
