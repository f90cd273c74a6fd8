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

} // namespace LocaleFormats
