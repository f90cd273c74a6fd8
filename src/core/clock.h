#pragma once

#include <QDateTime>
#include <QtGlobal>

// Where "now" comes from. Logic asks a Clock instead of the system so that
// tests can move time by hand.
class Clock {
public:
    // 1 January 2001, 00:00 UTC, in seconds since 1970: the date the island
    // counts its animation time from.
    static constexpr qint64 ReferenceEpochSeconds = 978307200;

    virtual ~Clock() = default;
    // Wall-clock time, milliseconds since 1970 (UTC).
    virtual qint64 nowMs() const = 0;
    // A monotonic reading in milliseconds, for measuring durations.
    virtual qint64 monotonicMs() const = 0;
    // Like monotonicMs(), but counting the time the machine spends asleep:
    // for countdowns that must run on through a suspend.
    virtual qint64 bootMs() const = 0;

    QDateTime now() const { return QDateTime::fromMSecsSinceEpoch(nowMs()); }
    double nowSeconds() const { return double(nowMs()) / 1000.0; }
    // Wall-clock seconds since the reference date.
    double referenceSeconds() const { return nowSeconds() - double(ReferenceEpochSeconds); }
    double monotonicSeconds() const { return double(monotonicMs()) / 1000.0; }

    // Whether more than everyMs of wall-clock time lies between the stamp
    // lastMs and nowMs, for work repeated on the calendar's time: a sleep or
    // a clock moved forward makes it due at once. A stamp ahead of now (the
    // clock was set back) is due as well, so that setting the clock back
    // never holds the work off.
    static bool wallIntervalPassed(qint64 lastMs, qint64 nowMs, qint64 everyMs)
    {
        return nowMs < lastMs || nowMs - lastMs > everyMs;
    }
};

class SystemClock final : public Clock {
public:
    qint64 nowMs() const override;
    qint64 monotonicMs() const override;
    qint64 bootMs() const override;
};
