#include "core/localeformats.h"

#include <QRegularExpression>

namespace LocaleFormats {

QString hourMinute(const QLocale &locale)
{
    QString pattern = locale.timeFormat(QLocale::ShortFormat);
    // Seconds go with the separator before them ("HH:mm:ss" → "HH:mm").
    static const QRegularExpression seconds(QStringLiteral("[^HhmAaPpt' ]?s{1,2}"));
    pattern.remove(seconds);
    return pattern.trimmed();
}

QString weekdayMonthDay(const QLocale &locale)
{
    QString pattern = locale.dateFormat(QLocale::LongFormat);
    // The year goes with the literal and separators that bind it to the rest
    // ("dddd, MMMM d, yyyy", "d 'de' MMMM 'de' yyyy", "yyyy年M月d日").
    static const QRegularExpression yearAtEnd(QStringLiteral("[\\s,.\\-/]*(?:'[^']*'\\s*)?y+\\W*$"));
    static const QRegularExpression yearElsewhere(QStringLiteral("y+(?:'[^']*'|[年년]|[\\s,.\\-/])*"));
    pattern.remove(yearAtEnd);
    pattern.remove(yearElsewhere);
    // Full names become abbreviations.
    static const QRegularExpression weekday(QStringLiteral("d{4}"));
    static const QRegularExpression month(QStringLiteral("M{4}"));
    pattern.replace(weekday, QStringLiteral("ddd"));
    pattern.replace(month, QStringLiteral("MMM"));
    return pattern.trimmed();
}

} // namespace LocaleFormats
