#include "canvas/canvasassignment.h"

#include "core/localeformats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

const QString Separator = QStringLiteral(" \u00B7 ");

QDate dayIn(const QDateTime &t, const QTimeZone &zone)
{
    return t.toTimeZone(zone).date();
}

} // namespace

QString CanvasAssignment::dueLabel(const QDateTime &now, const QTimeZone &zone, const QLocale &locale) const
{
    if (!dueAt)
        return QStringLiteral("No date");
    const QDateTime local = dueAt->toTimeZone(zone);
    const QString timePattern = LocaleFormats::hourMinute(locale);
    const QString time = locale.toString(local.time(), timePattern);
    if (overdue)
        return QStringLiteral("Overdue") + Separator + time;
    const QDate today = dayIn(now, zone);
    if (local.date() == today)
        return QStringLiteral("Today") + Separator + time;
    if (local.date() == today.addDays(1))
        return QStringLiteral("Tomorrow") + Separator + time;
    // Weekday, month and day in the locale's order, then its own clock.
    return locale.toString(local, LocaleFormats::weekdayMonthDay(locale) + QStringLiteral(", ") + timePattern);
}

std::optional<QString> CanvasAssignment::pointsLabel() const
{
    if (!points)
        return std::nullopt;
    const double value = *points;
    // Whole values print without a fraction through the floating-point
    // formatter, so values past the 64-bit range print too.
    // C's formatter, not Qt's: it rounds the binary value exactly, so 0.25
    // reads 0.2 as everywhere else.
    char text[400];
    if (value == std::round(value))
        std::snprintf(text, sizeof text, "%.0f pts", value == 0 ? 0.0 : value);
    else
        std::snprintf(text, sizeof text, "%.1f pts", value);
    return QString::fromLatin1(text);
}

QVariant CanvasAssignment::pointsLabelValue() const
{
    const auto label = pointsLabel();
    return label ? QVariant(*label) : QVariant::fromValue(nullptr);
}

CanvasBoard CanvasBoard::build(const QList<CanvasAssignment> &items, const QDateTime &now, const QTimeZone &zone)
{
    QList<CanvasAssignment> sorted = items;
    std::stable_sort(sorted.begin(), sorted.end(), [](const CanvasAssignment &a, const CanvasAssignment &b) {
        return a.dueAt && (!b.dueAt || *a.dueAt < *b.dueAt);
    });
    const QDate today = dayIn(now, zone);

    CanvasBoard board;
    for (const CanvasAssignment &item : sorted) {
        if (item.overdue) {
            if (board.overdue.size() < OverdueCap)
                board.overdue.append(item);
        } else if (item.dueAt) {
            if (dayIn(*item.dueAt, zone) == today) {
                if (board.dueToday.size() < DueTodayCap)
                    board.dueToday.append(item);
            } else if (board.upcoming.size() < UpcomingCap) {
                board.upcoming.append(item);
            }
        }
    }
    return board;
}

qint64 pointsTotal(const QList<CanvasAssignment> &items)
{
    double sum = 0;
    for (const CanvasAssignment &item : items) {
        if (item.points)
            sum += *item.points;
    }
    const double rounded = std::round(sum);
    if (std::isnan(rounded))
        return 0;
    // 2^63 is exactly representable; anything from there on does not fit.
    constexpr double limit = 9223372036854775808.0;
    if (rounded >= limit)
        return std::numeric_limits<qint64>::max();
    if (rounded < -limit)
        return std::numeric_limits<qint64>::min();
    return qint64(rounded);
}
