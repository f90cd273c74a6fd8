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

// One pair of pipes: the opening runs from gapY to gapY + FlapEngine::Gap.
struct FlapPipe {
    Q_GADGET
    Q_PROPERTY(qint64 itemId MEMBER id)
    Q_PROPERTY(double x MEMBER x)
    Q_PROPERTY(double gapY MEMBER gapY)
    Q_PROPERTY(bool scored MEMBER scored)
public:
    qint64 id = 0;
    double x = 0;
    double gapY = 0;
    bool scored = false;

    bool operator==(const FlapPipe &) const = default;
    static QHash<int, QByteArray> roles();
    QVariant roleValue(int role) const;
};

// The flapping bird: gravity pulls, each flap sets a fixed upward speed,
// pipes scroll in from the right and every pair passed scores a point.
class FlapEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the view model")
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(int score READ score NOTIFY scoreChanged)
    Q_PROPERTY(int best READ best NOTIFY bestChanged)
    Q_PROPERTY(double birdY READ birdY NOTIFY birdChanged)
    Q_PROPERTY(double birdVy READ birdVy NOTIFY birdChanged)
    Q_PROPERTY(QAbstractItemModel *pipes READ pipeModel CONSTANT)
    Q_PROPERTY(bool blink READ blink NOTIFY blinkChanged)
    Q_PROPERTY(double fieldHeight READ fieldHeight NOTIFY fieldHeightChanged)
    Q_PROPERTY(double gap READ gap CONSTANT)
    Q_PROPERTY(double pipeWidth READ pipeWidth CONSTANT)
    Q_PROPERTY(double birdSize READ birdSize CONSTANT)
public:
    enum class Phase { ready, running, dead };
    Q_ENUM(Phase)

    static constexpr double Gap = 128;
    static constexpr double PipeWidth = 36;
    static constexpr double BirdSize = 26;
    static constexpr double BirdX = 48;
    static constexpr double StepCap = 0.05;
    static inline const QString BestKey = QStringLiteral("pavlet.flapBest");

    explicit FlapEngine(UserDefaults *defaults, Clock *clock,
                        Scheduler *scheduler, Random *random = nullptr,
                        QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    int score() const { return m_score; }
    int best() const { return m_best; }
    double birdY() const { return m_birdY; }
    double birdVy() const { return m_birdVy; }
    const std::vector<FlapPipe> &pipes() const { return m_pipes; }
    QAbstractItemModel *pipeModel() const { return m_model; }
    bool blink() const { return m_blink; }
    double fieldHeight() const { return m_fieldHeight; }
    double spawnIn() const { return m_spawnIn; }
    double gap() const { return Gap; }
    double pipeWidth() const { return PipeWidth; }
    double birdSize() const { return BirdSize; }
    bool isTicking() const { return m_frame.isRunning(); }

    Q_INVOKABLE void reset() override;
    Q_INVOKABLE void stop() override;
    // The game's keys while it is on screen.
    bool handleKey(const KeyInput &key) override;
    Q_INVOKABLE void start();
    Q_INVOKABLE void flap();
    // The laid-out field height: taken when above 80 points; while the game
    // waits, the bird is moved to 0.48 of it.
    Q_INVOKABLE void setFieldHeight(double height);
    // Picks a stopped run up again when its page shows it running with no
    // timer (the page was left mid-run).
    Q_INVOKABLE void resume();

    void tick();
    void advance(double dt);
    void die();

    // The opening's lowest and highest bottom edge for a field height.
    static std::pair<double, double> gapRange(double fieldHeight);
    // Whether the bird at birdY touches the pipe pair.
    static bool collides(const FlapPipe &pipe, double birdY);

    void setPipes(const std::vector<FlapPipe> &pipes);

signals:
    void phaseChanged();
    void scoreChanged();
    void bestChanged();
    void birdChanged();
    void blinkChanged();
    void fieldHeightChanged();

private:
    void startTimer();
    void setPhase(Phase p);
    void setScore(int s);
    void setBird(double y, double vy);
    void setBlink(bool b);

    RecordListModel<FlapPipe> *m_model;

    Phase m_phase = Phase::ready;
    int m_score = 0;
    int m_best = 0;
    double m_birdY = 90;
    double m_birdVy = 0;
    std::vector<FlapPipe> m_pipes;
    bool m_blink = false;

    FrameTimer m_frame;
    double m_spawnIn = 0.2;
    qint64 m_nextID = 1;
    double m_fieldHeight = 196;
};
