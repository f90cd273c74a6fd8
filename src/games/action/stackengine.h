#pragma once

#include "core/recordlistmodel.h"
#include "games/arcadeengine.h"
#include "games/frametimer.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>
#include <vector>

class Clock;
class UserDefaults;

// One slab of the tower; x and width are fractions of the field's width.
struct StackSlab {
    Q_GADGET
    Q_PROPERTY(qint64 itemId MEMBER id)
    Q_PROPERTY(double x MEMBER x)
    Q_PROPERTY(double width MEMBER width)
public:
    qint64 id = 0;
    double x = 0;
    double width = 0;

    bool operator==(const StackSlab &) const = default;
    static QHash<int, QByteArray> roles();
    QVariant roleValue(int role) const;
};

// The tower-stacking game: a slab slides over the tower, a tap drops it,
// the overhang is cut off and a drop that barely touches ends the run.
class StackEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the view model")
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(QAbstractItemModel *slabs READ slabModel CONSTANT)
    Q_PROPERTY(double movingX READ movingX NOTIFY movingChanged)
    Q_PROPERTY(double movingWidth READ movingWidth NOTIFY movingChanged)
    Q_PROPERTY(qint64 score READ score NOTIFY scoreChanged)
    Q_PROPERTY(qint64 best READ best NOTIFY bestChanged)
    Q_PROPERTY(double camera READ camera NOTIFY cameraChanged)
    Q_PROPERTY(bool perfect READ perfect NOTIFY perfectChanged)
    Q_PROPERTY(QString shout READ shout NOTIFY shoutChanged)
    Q_PROPERTY(qint64 shoutID READ shoutID NOTIFY shoutChanged)
public:
    enum class Phase { howto, ready, running, over };
    Q_ENUM(Phase)

    static constexpr StackSlab baseSlab() { return StackSlab{0, 0.18, 0.64}; }
    static constexpr double StartSpeed = 0.55;
    static constexpr double StepCap = 0.05;
    static constexpr double ToppleBelow = 0.028;
    static constexpr double PerfectTolerance = 0.012;
    static constexpr double PerfectSeconds = 0.28;
    static constexpr double RowPitch = 18;
    static constexpr int ShoutMs = 850;
    static inline const QString BestKey = QStringLiteral("pavlet.stackBest");

    static double speedFor(int slabCount);
    static double cameraTarget(int slabCount);
    static QString shoutLine(bool perfect, qint64 score, double fit);

    explicit StackEngine(UserDefaults *defaults, Clock *clock,
                         Scheduler *scheduler, Random *random = nullptr,
                         QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    const std::vector<StackSlab> &slabs() const { return m_slabs; }
    QAbstractItemModel *slabModel() const { return m_model; }
    double movingX() const { return m_movingX; }
    double movingWidth() const { return m_movingWidth; }
    qint64 score() const { return m_score; }
    qint64 best() const { return m_best; }
    double camera() const { return m_camera; }
    bool perfect() const { return m_perfect; }
    QString shout() const { return m_shout; }
    qint64 shoutID() const { return m_shoutID; }
    double velocity() const { return m_velocity; }
    bool goingRight() const { return m_goingRight; }
    bool isTicking() const { return m_frame.isRunning(); }

    Q_INVOKABLE void reset() override;
    Q_INVOKABLE void stop() override;
    // The game's keys while it is on screen.
    bool handleKey(const KeyInput &key) override;
    Q_INVOKABLE void start();
    Q_INVOKABLE void tap();
    // Picks a stopped run up again when its page shows it running with no
    // timer (the page was left mid-run).
    Q_INVOKABLE void resume();

    void startTimer();
    void tick();
    void advance(double dt);
    void placeSlab();

    // Test set-up: the sliding slab and its direction.
    void setMoving(double x, double width, bool goingRight);

signals:
    void phaseChanged();
    void movingChanged();
    void scoreChanged();
    void bestChanged();
    void cameraChanged();
    void perfectChanged();
    void shoutChanged();

private:
    void freshTower();
    void showShout(const QString &text);
    void setPhase(Phase p);
    void setScore(qint64 s);
    void setCamera(double c);
    void setPerfect(bool p);
    void setShout(const QString &s);
    void publishSlabs();

    RecordListModel<StackSlab> *m_model;

    Phase m_phase = Phase::howto;
    std::vector<StackSlab> m_slabs;
    double m_movingX = 0;
    double m_movingWidth = 0.64;
    qint64 m_score = 0;
    qint64 m_best = 0;
    double m_camera = 0;
    bool m_perfect = false;
    QString m_shout;
    qint64 m_shoutID = 0;

    FrameTimer m_frame;
    double m_velocity = StartSpeed;
    qint64 m_nextID = 1;
    bool m_goingRight = true;
    std::optional<double> m_perfectUntil;
    TaskHandle m_shoutTask;
};
