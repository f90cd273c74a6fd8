#pragma once

#include "core/clock.h"
#include "core/scheduler.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QQmlParserStatus>
#include <QtQml/qqmlregistration.h>
#include <memory>

class QQmlEngine;
class QJSEngine;
class AnimationTicker;

// The one clock every animated view reads. It ticks only while at least one
// ticker runs, at the highest rate any running ticker asks for, and tells
// each ticker only as often as that ticker asked. Time comes from the
// injected Clock and ticks from the injected Scheduler, so tests step it
// with the fakes.
class AnimationClock : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // Seconds since 1 January 2001, 00:00 UTC (the island's reference date).
    Q_PROPERTY(double time READ time NOTIFY ticked)
    Q_PROPERTY(QDateTime now READ now NOTIFY ticked)
    // The interval of the running tick in milliseconds; 0 while nothing runs.
    Q_PROPERTY(int intervalMs READ intervalMs NOTIFY intervalChanged)

public:
    AnimationClock(const Clock *clock, Scheduler *scheduler, QObject *parent = nullptr);
    ~AnimationClock() override;

    // The engine's instance, made on first use from the source given to
    // setSource() (a clock and scheduler of its own when none was given).
    static AnimationClock *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);
    static AnimationClock *forEngine(QQmlEngine *engine);
    static void setSource(QQmlEngine *engine, const Clock *clock, Scheduler *scheduler);

    static double referenceSeconds(qint64 msSinceEpoch);

    double time() const { return referenceSeconds(m_nowMs); }
    QDateTime now() const { return QDateTime::fromMSecsSinceEpoch(m_nowMs); }
    qint64 nowMs() const { return m_nowMs; }
    // The source clock's reading now, between ticks too.
    qint64 sourceNowMs() const { return m_clock->nowMs(); }
    int intervalMs() const { return m_intervalMs; }
    int runningTickers() const;
    // Where views schedule the steps of their own loops.
    Scheduler *scheduler() const { return m_scheduler; }

    void attach(AnimationTicker *ticker);
    void detach(AnimationTicker *ticker);
    // A ticker started, stopped or changed its rate.
    void reschedule();

signals:
    void ticked();
    void intervalChanged();

private:
    void tick();

    std::unique_ptr<Clock> m_ownClock;
    std::unique_ptr<Scheduler> m_ownScheduler;
    const Clock *m_clock;
    Scheduler *m_scheduler;
    QList<AnimationTicker *> m_tickers;
    TaskHandle m_task;
    int m_intervalMs = 0;
    qint64 m_nowMs = 0;
};

// A view's subscription to the animation clock:
//   AnimationTicker { id: ticker; running: root.visible; fps: 30 }
// and then ticker.time (reference seconds) or ticker.now in bindings.
class AnimationTicker : public QObject, public QQmlParserStatus {
    Q_OBJECT
    QML_ELEMENT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(bool running READ running WRITE setRunning NOTIFY runningChanged)
    // How often the view wants to hear of the time; at most 120.
    Q_PROPERTY(double fps READ fps WRITE setFps NOTIFY fpsChanged)
    Q_PROPERTY(double time READ time NOTIFY timeChanged)
    Q_PROPERTY(QDateTime now READ now NOTIFY timeChanged)
    // Seconds since the ticker last started running.
    Q_PROPERTY(double elapsed READ elapsed NOTIFY timeChanged)

public:
    explicit AnimationTicker(QObject *parent = nullptr);
    ~AnimationTicker() override;

    // For C++ users and tests: a ticker on this clock.
    void setClock(AnimationClock *clock);

    bool running() const { return m_running; }
    void setRunning(bool running);
    double fps() const { return m_fps; }
    void setFps(double fps);
    double time() const { return AnimationClock::referenceSeconds(m_nowMs); }
    QDateTime now() const { return QDateTime::fromMSecsSinceEpoch(m_nowMs); }
    double elapsed() const { return double(m_nowMs - m_startMs) / 1000.0; }

    void classBegin() override {}
    void componentComplete() override;

    bool isActive() const { return m_running && m_clock; }
    // A step back of the wall clock up to this much is a wobble the views
    // sit out; a longer one is the system time set back, which they follow.
    static constexpr qint64 BackwardSlackMs = 250;

    // Called by the clock on every tick; passes the time on when due.
    void offer(qint64 nowMs);
    void restart(qint64 nowMs);
    // Called by a clock that goes away first: drop it without calling back.
    void forgetClock();

signals:
    void runningChanged();
    void fpsChanged();
    void timeChanged();

private:
    AnimationClock *m_clock = nullptr;
    bool m_running = false;
    double m_fps = 60;
    qint64 m_nowMs = 0;
    qint64 m_startMs = 0;
    qint64 m_lastMs = 0;
};
