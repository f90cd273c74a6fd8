#pragma once

#include "games/arcadeengine.h"
#include "games/frametimer.h"

#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <optional>

class Clock;
class UserDefaults;

// The reaction-time test: after a random wait the page says GO and the tap
// that follows is timed in whole milliseconds. Tapping early is a false start.
class ReflexEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the view model")
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    // Milliseconds, or null when there is none.
    Q_PROPERTY(QVariant lastMS READ lastMSValue NOTIFY lastMSChanged)
    Q_PROPERTY(QVariant bestMS READ bestMSValue NOTIFY bestMSChanged)
    Q_PROPERTY(QString ratingLabel READ ratingLabel NOTIFY lastMSChanged)
    Q_PROPERTY(double pulse READ pulse NOTIFY pulseChanged)
public:
    enum class Phase { ready, waiting, go, result, falseStart };
    Q_ENUM(Phase)

    static constexpr double MinDelay = 1.15;
    static constexpr double DelaySpan = 2.45;
    static constexpr double PulseSeconds = 0.28;
    static inline const QString BestKey = QStringLiteral("pavlet.reflexBest");

    explicit ReflexEngine(UserDefaults *defaults, Clock *clock,
                          Scheduler *scheduler, Random *random = nullptr,
                          QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    std::optional<qint64> lastMS() const { return m_lastMS; }
    std::optional<qint64> bestMS() const { return m_bestMS; }
    QVariant lastMSValue() const { return m_lastMS ? QVariant(*m_lastMS) : QVariant(); }
    QVariant bestMSValue() const { return m_bestMS ? QVariant(*m_bestMS) : QVariant(); }
    QString ratingLabel() const;
    double pulse() const { return m_pulse; }
    bool isWaiting() const { return m_waitTask.isActive(); }
    bool isPulsing() const { return m_anim.isRunning(); }

    static QString rating(qint64 ms);

    Q_INVOKABLE void reset() override;
    Q_INVOKABLE void stop() override;
    // The game's keys while it is on screen.
    bool handleKey(const KeyInput &key) override;
    Q_INVOKABLE void tap();
    void start();
    void showGo();
    void stopPulse();
    void pulseTick();

signals:
    void phaseChanged();
    void lastMSChanged();
    void bestMSChanged();
    void pulseChanged();

private:
    void setPhase(Phase p);
    void setLastMS(std::optional<qint64> ms);
    void setPulse(double p);


    Phase m_phase = Phase::ready;
    std::optional<qint64> m_lastMS;
    std::optional<qint64> m_bestMS;
    double m_pulse = 0;

    TaskHandle m_waitTask;
    std::optional<qint64> m_goAtMs; // monotonic
    FrameTimer m_anim;
    std::optional<double> m_pulseStart;
};
