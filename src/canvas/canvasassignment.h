#pragma once

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

// One piece of open course work: an assignment, quiz or discussion that
// still needs the user.
struct CanvasAssignment {
    Q_GADGET
    QML_VALUE_TYPE(canvasAssignment)
    Q_PROPERTY(QString id MEMBER id)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QVariant course READ courseValue)
    Q_PROPERTY(QVariant dueAt READ dueAtValue)
    Q_PROPERTY(QVariant url READ urlValue)
    Q_PROPERTY(QVariant points READ pointsValue)
    Q_PROPERTY(bool isQuiz MEMBER isQuiz)
    Q_PROPERTY(bool overdue MEMBER overdue)
    Q_PROPERTY(QVariant pointsLabel READ pointsLabelValue)
public:
    // "canvas-" and the item's Canvas id.
    QString id;
    QString title;
    std::optional<QString> course;
    std::optional<QDateTime> dueAt;
    std::optional<QUrl> url;
    std::optional<double> points;
    bool isQuiz = false;
    // Set when the item was fetched; never recomputed from the clock.
    bool overdue = false;

    // "No date", "Overdue · 3:30 PM", "Today · …", "Tomorrow · …" or
    // "Tue, Oct 14, 3:30 PM", with today judged at now in zone.
    QString dueLabel(const QDateTime &now, const QTimeZone &zone, const QLocale &locale = QLocale()) const;
    // "10 pts", "2.5 pts"; nothing without points.
    std::optional<QString> pointsLabel() const;

    bool operator==(const CanvasAssignment &) const = default;

private:
    // Absent values read as null in QML.
    QVariant courseValue() const { return course ? QVariant(*course) : QVariant::fromValue(nullptr); }
    QVariant dueAtValue() const { return dueAt ? QVariant(*dueAt) : QVariant::fromValue(nullptr); }
    QVariant urlValue() const { return url ? QVariant(*url) : QVariant::fromValue(nullptr); }
    QVariant pointsValue() const { return points ? QVariant(*points) : QVariant::fromValue(nullptr); }
    QVariant pointsLabelValue() const;
};

// The planner board: overdue, due-today and upcoming work, each in due order.
struct CanvasBoard {
    Q_GADGET
    QML_VALUE_TYPE(canvasBoard)
    Q_PROPERTY(QList<CanvasAssignment> overdue MEMBER overdue)
    Q_PROPERTY(QList<CanvasAssignment> dueToday MEMBER dueToday)
    Q_PROPERTY(QList<CanvasAssignment> upcoming MEMBER upcoming)
    Q_PROPERTY(bool isEmpty READ isEmpty)
public:
    static constexpr int OverdueCap = 6;
    static constexpr int DueTodayCap = 6;
    static constexpr int UpcomingCap = 8;

    QList<CanvasAssignment> overdue;
    QList<CanvasAssignment> dueToday;
    QList<CanvasAssignment> upcoming;

    bool isEmpty() const { return overdue.isEmpty() && dueToday.isEmpty() && upcoming.isEmpty(); }

    // Sorts by due date (undated last, ties in input order) and files every
    // item: flagged ones as overdue, dated ones as today's or upcoming by
    // the calendar day of now in zone.
    static CanvasBoard build(const QList<CanvasAssignment> &items, const QDateTime &now, const QTimeZone &zone);

    bool operator==(const CanvasBoard &) const = default;
};

// The points of every item that has some, added up and rounded half away
// from zero; a sum beyond the 64-bit range gives the nearest end of it.
qint64 pointsTotal(const QList<CanvasAssignment> &items);
