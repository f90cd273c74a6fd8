#pragma once

#include "core/scheduler.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

class Clock;
class UserDefaults;

// The one countdown timer. It counts against an end on the boot clock (which
// runs on through a suspend), so late ticks never make it drift and setting
// the wall clock does not move it, and keeps its preset in the user defaults.
class TimerStore : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The island owns the timer")
    Q_PROPERTY(double remaining READ remaining NOTIFY remainingChanged)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    Q_PROPERTY(double preset READ preset NOTIFY presetChanged)
    Q_PROPERTY(QString display READ display NOTIFY remainingChanged)
    Q_PROPERTY(bool isAtPreset READ isAtPreset NOTIFY atPresetChanged)
public:
    static constexpr double MinPreset = 60;
    static constexpr double MaxPreset = 10800;
    static constexpr double DefaultPreset = 1500;
    static inline const QString PresetKey = QStringLiteral("timerPresetSeconds");

    TimerStore(std::optional<double> preset, UserDefaults *defaults, Clock *clock, Scheduler *scheduler,
               QObject *parent = nullptr);

    double remaining() const { return m_remaining; }
    bool isRunning() const { return m_isRunning; }
    double preset() const { return m_preset; }
    // The wall-clock moment the countdown reaches zero, while running.
    std::optional<qint64> endDateMs() const;
    QString display() const;
    bool isAtPreset() const;

    Q_INVOKABLE void start();
    Q_INVOKABLE void pause();
    Q_INVOKABLE void reset();
    Q_INVOKABLE void setPreset(double seconds);
    Q_INVOKABLE void setDuration(double seconds);
    Q_INVOKABLE void adjust(int minutes);

    // Reads a typed duration ("25", "1h30", "4:30", "1 hour 30 min") as
    // seconds; none when the text is not a duration.
    static std::optional<double> parseDuration(const QString &text);

signals:
    void remainingChanged();
    void isRunningChanged();
    void presetChanged();
    void atPresetChanged();

private:
    void update();
    void setRemaining(double value);
    void setRunning(bool value);
    void stopTicking();

    UserDefaults *m_defaults;
    Clock *m_clock;
    Scheduler *m_scheduler;
    double m_remaining = 0;
    bool m_isRunning = false;
    double m_preset = DefaultPreset;
    // Monotonic milliseconds at which the countdown reaches zero.
    std::optional<qint64> m_endMs;
    TaskHandle m_tick;
    bool m_lastAtPreset = true;
};
