#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class Clock;
namespace platform { class IIdleTime; }

// Counts active screen time for the 20-20-20 rule and raises a break warning
// after 20 minutes of use.
class EyeStrainGuard : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the composition root")
    Q_PROPERTY(bool warning READ warning NOTIFY warningChanged)
    Q_PROPERTY(int minutesUntilBreak READ minutesUntilBreak NOTIFY minutesUntilBreakChanged)
    Q_PROPERTY(bool tooClose READ tooClose WRITE setTooClose NOTIFY tooCloseChanged)
public:
    // Active seconds after which a break is due.
    static constexpr double interval = 1200.0;
    // Input longer ago than this means the user is away.
    static constexpr double idleLimit = 20.0;
    // The most one tick may add, whatever the gap since the last one.
    static constexpr double maxTickSeconds = 2.0;

    explicit EyeStrainGuard(platform::IIdleTime *idle, Clock *clock, QObject *parent = nullptr);

    bool warning() const { return m_warning; }
    int minutesUntilBreak() const { return m_minutesUntilBreak; }
    bool tooClose() const { return m_tooClose; }
    void setTooClose(bool tooClose);
    double activeSeconds() const { return m_activeSeconds; }

    Q_INVOKABLE void reset();
    // Counts the time since the previous tick; true when a break has just
    // become due.
    bool tick();

signals:
    void warningChanged();
    void minutesUntilBreakChanged();
    void tooCloseChanged();

private:
    void setWarning(bool warning);
    void setMinutesUntilBreak(int minutes);

    platform::IIdleTime *m_idle;
    Clock *m_clock;
    bool m_warning = false;
    int m_minutesUntilBreak = 20;
    bool m_tooClose = false;
    double m_activeSeconds = 0.0;
    qint64 m_lastTick;
};
