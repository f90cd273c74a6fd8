#pragma once

#include <QLocale>
#include <QString>

// Date and time patterns in a locale's own order and clock style, for the
// short forms the island shows.
namespace LocaleFormats {

// The locale's short time pattern with hour and minute only ("h:mm AP",
// "HH:mm"); some locales, C among them, put seconds in theirs.
QString hourMinute(const QLocale &locale);

// Abbreviated weekday, abbreviated month and day, in the locale's order and
// punctuation and without a year ("ddd, MMM d" in US English, "ddd, d. MMM"
// in German).
QString weekdayMonthDay(const QLocale &locale);

// Abbreviated month and day without weekday or year ("MMM d" in US
// English, "d. MMM" in German, "M月d日" in Japanese).
QString monthDay(const QLocale &locale);

// What stands between a date and the time after it: the comma the locale
// puts after a weekday (", " in English, "، " in Arabic), else a space.
QString dateTimeSeparator(const QLocale &locale);

// Relative times in the locale's words, with wide units ("5 minutes ago",
// "yesterday", "now" in English).
enum class RelativeUnit { Second, Minute, Hour, Day, Week, Month, Year };
QString ago(const QLocale &locale, qint64 count, RelativeUnit unit);
// The one before this: "yesterday", "last week".
QString last(const QLocale &locale, RelativeUnit unit);
QString now(const QLocale &locale);

} // namespace LocaleFormats
