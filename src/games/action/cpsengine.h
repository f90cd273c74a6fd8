#pragma once

#include "games/action/actionkinds.h"
#include "games/arcadeengine.h"
#include "games/frametimer.h"

#include <QObject>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <map>
#include <optional>

class Clock;
class UserDefaults;

// The clicking-speed test: the first click starts a countdown of the chosen
// length; the result is the clicks counted divided by the length.
class CPSEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the view model")
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(CPSDuration duration READ duration NOTIFY durationChanged)
    Q_PROPERTY(int clicks READ clicks NOTIFY clicksChanged)
    Q_PROPERTY(double remaining READ remaining NOTIFY remainingChanged)
    Q_PROPERTY(double cps READ cps NOTIFY cpsChanged)
    Q_PROPERTY(double lastCPS READ lastCPS NOTIFY lastCPSChanged)
    // Raw length in seconds (as text) → best result; lengths without a best
    // have no entry.
    Q_PROPERTY(QVariantMap best READ bestMap NOTIFY bestChanged)
    Q_PROPERTY(bool isNewBest READ isNewBest NOTIFY isNewBestChanged)
    // "%.1f" of the first length that has a best; empty when none has.
    Q_PROPERTY(QString bestSummary READ bestSummary NOTIFY bestChanged)
public:
    enum class Phase { howto, ready, running, result };
    Q_ENUM(Phase)

    static QString bestKey(CPSDuration d);

    explicit CPSEngine(UserDefaults *defaults, Clock *clock,
                       Scheduler *scheduler, Random *random = nullptr,
                       QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    CPSDuration duration() const { return m_duration; }
    int clicks() const { return m_clicks; }
    double remaining() const { return m_remaining; }
    double cps() const { return m_cps; }
    double lastCPS() const { return m_lastCPS; }
    const std::map<CPSDuration, double> &best() const { return m_best; }
    std::optional<double> bestFor(CPSDuration d) const;
    QVariantMap bestMap() const;
    bool isNewBest() const { return m_isNewBest; }
    QString bestSummary() const;
    bool isTicking() const { return m_frame.isRunning(); }

    Q_INVOKABLE QString title(CPSDuration d) const { return cpsTitle(d); }

    Q_INVOKABLE void reset() override;
    Q_INVOKABLE void stop() override;
    // The game's keys while it is on screen.
    bool handleKey(const KeyInput &key) override;
    Q_INVOKABLE void select(CPSDuration d);
    Q_INVOKABLE void prepare();
    Q_INVOKABLE void click();
    // A test cut off by leaving its page cannot be finished fairly: when
    // the page shows it running with no countdown, it is armed afresh.
    Q_INVOKABLE void resume();
    void start();

    // One countdown step, measured from the starting click.
    void tick();

signals:
    void phaseChanged();
    void durationChanged();
    void clicksChanged();
    void remainingChanged();
    void cpsChanged();
    void lastCPSChanged();
    void bestChanged();
    void isNewBestChanged();

private:
    double length() const { return cpsLength(m_duration); }
    void updateRate();
    void finish();
    void clearCounters();

    void setPhase(Phase p);
    void setDuration(CPSDuration d);
    void setClicks(int n);
    void setRemaining(double r);
    void setCps(double v);
    void setLastCPS(double v);
    void setIsNewBest(bool v);


    Phase m_phase = Phase::howto;
    CPSDuration m_duration = CPSDuration::five;
    int m_clicks = 0;
    double m_remaining = 5.0;
    double m_cps = 0;
    double m_lastCPS = 0;
    std::map<CPSDuration, double> m_best;
    bool m_isNewBest = false;

    FrameTimer m_frame;
    std::optional<double> m_startedAt;
};
