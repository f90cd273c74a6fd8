#include "core/localeformats.h"

#include <QRegularExpression>

#include <unicode/locid.h>
#include <unicode/reldatefmt.h>
#include <unicode/unistr.h>
#include <functional>
#include <memory>

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

QString monthDay(const QLocale &locale)
{
    QString pattern = weekdayMonthDay(locale);
    // The weekday goes with the separators that bind it to the rest.
    static const QRegularExpression weekday(QStringLiteral("d{3}[\\s,\u060C\uFF0C]*|[\\s,\u060C\uFF0C]*d{3}"));
    pattern.remove(weekday);
    return pattern.trimmed();
}

QString dateTimeSeparator(const QLocale &locale)
{
    static const QRegularExpression comma(QStringLiteral("d{4}([,\u060C])"));
    const QRegularExpressionMatch m = comma.match(locale.dateFormat(QLocale::LongFormat));
    return m.hasMatch() ? m.captured(1) + QLatin1Char(' ') : QStringLiteral(" ");
}

namespace {

// ICU's formatter of relative times for the locale; null when it has none.
std::unique_ptr<icu::RelativeDateTimeFormatter> relativeFormatter(const QLocale &locale)
{
    UErrorCode status = U_ZERO_ERROR;
    // The C locale speaks English, as Qt's own texts for it do.
    const QString name = locale.language() == QLocale::C ? QStringLiteral("en_US") : locale.name();
    const icu::Locale icuLocale(name.toLatin1().constData());
    auto formatter = std::make_unique<icu::RelativeDateTimeFormatter>(icuLocale, nullptr, UDAT_STYLE_LONG,
                                                                      UDISPCTX_CAPITALIZATION_NONE, status);
    if (U_FAILURE(status))
        return nullptr;
    return formatter;
}

// The formatter's text for the locale, or fallback when it has none.
QString formatted(const QLocale &locale, const QString &fallback,
                  const std::function<void(icu::RelativeDateTimeFormatter &, icu::UnicodeString &, UErrorCode &)> &format)
{
    const auto formatter = relativeFormatter(locale);
    if (!formatter)
        return fallback;
    icu::UnicodeString text;
    UErrorCode status = U_ZERO_ERROR;
    format(*formatter, text, status);
    if (U_FAILURE(status))
        return fallback;
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

} // namespace

QString ago(const QLocale &locale, qint64 count, RelativeUnit unit)
{
    static const UDateRelativeUnit units[] = {UDAT_RELATIVE_SECONDS, UDAT_RELATIVE_MINUTES, UDAT_RELATIVE_HOURS,
                                              UDAT_RELATIVE_DAYS,    UDAT_RELATIVE_WEEKS,   UDAT_RELATIVE_MONTHS,
                                              UDAT_RELATIVE_YEARS};
    return formatted(locale, QString::number(count), [&](auto &f, auto &text, auto &status) {
        f.format(double(count), UDAT_DIRECTION_LAST, units[int(unit)], text, status);
    });
}

QString last(const QLocale &locale, RelativeUnit unit)
{
    static const UDateAbsoluteUnit units[] = {UDAT_ABSOLUTE_NOW,  UDAT_ABSOLUTE_NOW,   UDAT_ABSOLUTE_NOW,
                                              UDAT_ABSOLUTE_DAY,  UDAT_ABSOLUTE_WEEK,  UDAT_ABSOLUTE_MONTH,
                                              UDAT_ABSOLUTE_YEAR};
    return formatted(locale, ago(locale, 1, unit), [&](auto &f, auto &text, auto &status) {
        f.format(UDAT_DIRECTION_LAST, units[int(unit)], text, status);
    });
}

QString now(const QLocale &locale)
{
    return formatted(locale, QStringLiteral("now"), [](auto &f, auto &text, auto &status) {
        f.format(UDAT_DIRECTION_PLAIN, UDAT_ABSOLUTE_NOW, text, status);
    });
}

} // namespace LocaleFormats
