#pragma once

#include "core/recordlistmodel.h"
#include "games/arcadeengine.h"
#include "games/frametimer.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <optional>
#include <vector>

class Clock;
class UserDefaults;

// One obstacle of the runner game, in field points (y up from the ground).
struct DinoObstacle {
    Q_GADGET
    Q_PROPERTY(qint64 itemId MEMBER id)
    Q_PROPERTY(double x MEMBER x)
    Q_PROPERTY(double y MEMBER y)
    Q_PROPERTY(double width MEMBER width)
    Q_PROPERTY(double height MEMBER height)
    Q_PROPERTY(bool flying MEMBER flying)
public:
    qint64 id = 0;
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    bool flying = false;

    bool operator==(const DinoObstacle &) const = default;
    static QHash<int, QByteArray> roles();
    QVariant roleValue(int role) const;
};

// The endless runner: obstacles scroll in from the right, the runner jumps
// them, the speed grows with the score and the first touch ends the run.
class DinoEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the view model")
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(int score READ score NOTIFY scoreChanged)
    Q_PROPERTY(int best READ best NOTIFY bestChanged)
    Q_PROPERTY(double playerY READ playerY NOTIFY playerChanged)
    Q_PROPERTY(double playerVy READ playerVy NOTIFY playerChanged)
    Q_PROPERTY(QAbstractItemModel *obstacles READ obstacleModel CONSTANT)
    Q_PROPERTY(double groundOffset READ groundOffset NOTIFY groundOffsetChanged)
    Q_PROPERTY(bool blink READ blink NOTIFY blinkChanged)
    Q_PROPERTY(double stride READ stride NOTIFY strideChanged)
public:
    enum class Phase { ready, running, dead };
    Q_ENUM(Phase)

    static constexpr double StepCap = 0.05;
    static constexpr double RunnerX = 38;
    static constexpr double RunnerWidth = 22;
    static constexpr double RunnerHeight = 26;
    static inline const QString BestKey = QStringLiteral("pavlet.dinoBest");

    explicit DinoEngine(UserDefaults *defaults, Clock *clock,
                        Scheduler *scheduler, Random *random = nullptr,
                        QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    int score() const { return m_score; }
    int best() const { return m_best; }
    double playerY() const { return m_playerY; }
    double playerVy() const { return m_playerVy; }
    const std::vector<DinoObstacle> &obstacles() const { return m_obstacles; }
    QAbstractItemModel *obstacleModel() const { return m_model; }
    double groundOffset() const { return m_distance; }
    bool blink() const { return m_blink; }
    double stride() const { return m_stride; }
    double speed() const { return m_speed; }
    double spawnIn() const { return m_spawnIn; }
    qint64 nextID() const { return m_nextID; }
    bool isTicking() const { return m_frame.isRunning(); }

    Q_INVOKABLE void reset() override;
    Q_INVOKABLE void stop() override;
    // The game's keys while it is on screen.
    bool handleKey(const KeyInput &key) override;
    Q_INVOKABLE void start();
    Q_INVOKABLE void jump();
    // A tap or Space: starts a run from ready, restarts after a crash, and
    // jumps in every case.
    Q_INVOKABLE void press();
    // Picks a stopped run up again when its page shows it running with no
    // timer (the page was left mid-run).
    Q_INVOKABLE void resume();

    void tick();
    void advance(double dt);
    void spawn();
    void die();

    // Whether the runner standing at playerY touches the obstacle (both
    // boxes shrunk first; touching edges do not count).
    static bool collides(const DinoObstacle &o, double playerY);

    // Test set-up: place the run at a travelled distance (and its score).
    void setDistance(double distance);
    void setObstacles(const std::vector<DinoObstacle> &obstacles);

signals:
    void phaseChanged();
    void scoreChanged();
    void bestChanged();
    void playerChanged();
    void groundOffsetChanged();
    void blinkChanged();
    void strideChanged();

private:
    void setPhase(Phase p);
    void setScore(int s);
    void setPlayer(double y, double vy);
    void setBlink(bool b);
    void setStride(double s);
    void publishObstacles();

    RecordListModel<DinoObstacle> *m_model;

    Phase m_phase = Phase::ready;
    int m_score = 0;
    int m_best = 0;
    double m_playerY = 0;
    double m_playerVy = 0;
    std::vector<DinoObstacle> m_obstacles;
    bool m_blink = false;
    double m_stride = 0;

    FrameTimer m_frame;
    double m_spawnIn = 1.1;
    double m_speed = 220;
    double m_distance = 0;
    qint64 m_nextID = 1;
    std::optional<double> m_blinkUntil;
};
