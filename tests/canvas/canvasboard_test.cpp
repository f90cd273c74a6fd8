#include "canvas/canvasassignment.h"

#include <QLocale>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <limits>

namespace {

const QTimeZone NewYork("America/New_York");
const QLocale US(QLocale::English, QLocale::UnitedStates);

// Wednesday 2026-10-14, 10:00 in New York.
const QDateTime Now(QDate(2026, 10, 14), QTime(10, 0), NewYork);

QDateTime local(int month, int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2026, month, day), QTime(hour, minute), NewYork);
}

CanvasAssignment item(const QString &id, std::optional<QDateTime> due, bool overdue = false,
                      std::optional<double> points = std::nullopt)
{
    CanvasAssignment a;
    a.id = id;
    a.title = QStringLiteral("Title ") + id;
    a.dueAt = due;
    a.overdue = overdue;
    a.points = points;
    return a;
}

QStringList ids(const QList<CanvasAssignment> &items)
{
    QStringList out;
    for (const auto &a : items)
        out << a.id;
    return out;
}

// The short time the locale gives, e.g. "3:30 PM" (some locale data puts a
// narrow no-break space before the day period).
QString shortTime(int hour, int minute)
{
    return US.toString(QTime(hour, minute), QLocale::ShortFormat);
}

} // namespace

TEST(CanvasBoardTest, FilesItemsByFlagAndDayInDueOrder)
{
    EXPECT_EQ(CanvasBoard::build({}, Now, NewYork), CanvasBoard());

    const QList<CanvasAssignment> input = {
        item("undated-open", std::nullopt),
        item("late-undated-1", std::nullopt, true),
        item("late-b", local(10, 11, 9), true),
        item("late-undated-2", std::nullopt, true),
        item("late-a", local(10, 10, 9), true),
        item("tomorrow-midnight", local(10, 15, 0)),
        item("today-late", local(10, 14, 23, 59)),
        item("tie-1", local(10, 14, 12)),
        item("tie-2", local(10, 14, 12)),
        item("yesterday-open", local(10, 13, 8)),
        // 03:30 UTC on the 15th is still the 14th in New York.
        item("today-by-zone", QDateTime(QDate(2026, 10, 15), QTime(3, 30), QTimeZone::utc())),
    };
    const CanvasBoard board = CanvasBoard::build(input, Now, NewYork);
    EXPECT_EQ(ids(board.overdue), QStringList({"late-a", "late-b", "late-undated-1", "late-undated-2"}));
    EXPECT_EQ(ids(board.dueToday), QStringList({"tie-1", "tie-2", "today-by-zone", "today-late"}));
    EXPECT_EQ(ids(board.upcoming), QStringList({"yesterday-open", "tomorrow-midnight"}));
}

TEST(CanvasBoardTest, CapsKeepTheEarliestItems)
{
    QList<CanvasAssignment> input;
    for (int i = 7; i >= 1; --i)
        input << item(QStringLiteral("late-%1").arg(i), local(10, i, 9), true);
    for (int i = 9; i >= 1; --i)
        input << item(QStringLiteral("next-%1").arg(i), local(10, 15 + i, 9));
    for (int i = 7; i >= 1; --i)
        input << item(QStringLiteral("today-%1").arg(i), local(10, 14, 12, i));
    const CanvasBoard board = CanvasBoard::build(input, Now, NewYork);
    EXPECT_EQ(ids(board.overdue), QStringList({"late-1", "late-2", "late-3", "late-4", "late-5", "late-6"}));
    EXPECT_EQ(board.dueToday.size(), CanvasBoard::DueTodayCap);
    EXPECT_EQ(board.dueToday.last().id, "today-6");
    EXPECT_EQ(board.upcoming.size(), CanvasBoard::UpcomingCap);
    EXPECT_EQ(board.upcoming.last().id, "next-8");
}

TEST(CanvasLabelTest, DueLabelsByFlagAndDay)
{
    const struct {
        CanvasAssignment assignment;
        QString expected;
    } cases[] = {
        {item("none", std::nullopt, true), "No date"},
        {item("none-open", std::nullopt), "No date"},
        {item("late", local(10, 11, 15, 30), true), "Overdue \u00B7 " + shortTime(15, 30)},
        {item("today", local(10, 14, 23, 59)), "Today \u00B7 " + shortTime(23, 59)},
        {item("tomorrow", local(10, 15, 0)), "Tomorrow \u00B7 " + shortTime(0, 0)},
        {item("later", local(10, 20, 15, 30)), "Tue, Oct 20, " + shortTime(15, 30)},
        // The zone decides the day: 01:30 UTC on the 16th is the 15th here.
        {item("zone", QDateTime(QDate(2026, 10, 16), QTime(1, 30), QTimeZone::utc())),
         "Tomorrow \u00B7 " + shortTime(21, 30)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.assignment.dueLabel(Now, NewYork, US), c.expected) << qPrintable(c.assignment.id);

    // Past tomorrow each locale orders the parts and keeps its own clock.
    const CanvasAssignment later = item("later", local(10, 20, 15, 30));
    const std::pair<QLocale, QString> locales[] = {
        {QLocale(QLocale::German, QLocale::Germany), "Di., 20. Okt., 15:30"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "Tue, 20 Oct, 15:30"},
        {QLocale(QLocale::French, QLocale::France), "mar. 20 oct., 15:30"},
        {QLocale::c(), "Tue, 20 Oct, 15:30"},
    };
    for (const auto &[locale, expected] : locales)
        EXPECT_EQ(later.dueLabel(Now, NewYork, locale), expected) << qPrintable(locale.name());
    EXPECT_EQ(item("late", local(10, 11, 15, 30).addSecs(45), true).dueLabel(Now, NewYork, QLocale::c()), "Overdue \u00B7 15:30");
}

TEST(CanvasLabelTest, PointsLabelsAndTotalsNeverOverflow)
{
    const std::pair<std::optional<double>, std::optional<QString>> labels[] = {
        {10.0, "10 pts"},
        {2.5, "2.5 pts"},
        {0.25, "0.2 pts"},
        {0.35, "0.3 pts"},
        {0.0, "0 pts"},
        {-0.0, "0 pts"},
        {std::nullopt, std::nullopt},
        // Whole values far past the 64-bit range still print as integers.
        {1e20, "100000000000000000000 pts"},
        {-1e19, "-10000000000000000000 pts"},
    };
    for (const auto &[points, expected] : labels)
        EXPECT_EQ(item("p", std::nullopt, false, points).pointsLabel(), expected) << points.value_or(-1);

    const auto total = [](std::initializer_list<std::optional<double>> points) {
        QList<CanvasAssignment> items;
        for (const auto &p : points)
            items << item("p", std::nullopt, false, p);
        return pointsTotal(items);
    };
    EXPECT_EQ(total({}), 0);
    EXPECT_EQ(total({10.0, 2.5, std::nullopt}), 13);
    EXPECT_EQ(total({-12.5}), -13);
    EXPECT_EQ(total({1e300}), std::numeric_limits<qint64>::max());
    EXPECT_EQ(total({9223372036854775808.0}), std::numeric_limits<qint64>::max());
    EXPECT_EQ(total({-9223372036854775808.0}), std::numeric_limits<qint64>::min());
    EXPECT_EQ(total({-1e300, -1e300}), std::numeric_limits<qint64>::min());
}
