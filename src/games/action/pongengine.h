#pragma once

#include "games/action/actionkinds.h"
#include "games/arcadeengine.h"
#include "games/frametimer.h"

#include <QObject>
#include <QSizeF>
#include <QtQml/qqmlregistration.h>

#include <optional>

class Clock;
class UserDefaults;

// One-player Pong against a computer paddle, first to five. Everything is
// in fractions of the play field: x from the left, y from the top.
class PongEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the view model")
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(PongDifficulty difficulty READ difficulty NOTIFY difficultyChanged)
    Q_PROPERTY(qint64 playerScore READ playerScore NOTIFY scoreChanged)
    Q_PROPERTY(qint64 npcScore READ npcScore NOTIFY scoreChanged)
    Q_PROPERTY(qint64 wins READ wins NOTIFY winsChanged)
    // The four moving positions share one notification.
    Q_PROPERTY(double playerY READ playerY NOTIFY frameChanged)
    Q_PROPERTY(double npcY READ npcY NOTIFY frameChanged)
    Q_PROPERTY(double ballX READ ballX NOTIFY frameChanged)
    Q_PROPERTY(double ballY READ ballY NOTIFY frameChanged)
public:
    enum class Phase { howto, serving, playing, over };
    Q_ENUM(Phase)

    static constexpr double PaddleH = 0.22;
    static constexpr double PaddleW = 0.018;
    static constexpr double BallR = 0.022;
    static constexpr int WinScore = 5;
    static constexpr double PlayerX = 0.045;
    static constexpr double NpcX = 0.955;
    static constexpr double PaddleMin = 0.11;
    static constexpr double PaddleMax = 0.89;
    static constexpr double StepCap = 0.05;
    static constexpr int ServePauseMs = 450;
    static inline const QString WinsKey = QStringLiteral("pavlet.pongWins");

    // How the computer paddle plays at one difficulty.
    struct Tuning {
        double wakeLine;    // re-aims only with the ball beyond this x
        int lapsePeriod;    // ticks whose count is a multiple of this skip aiming
        double aimRate;     // share of the aim gap closed per second
        double paddleSpeed; // field heights per second
        double aimError;    // half-width of the random aim offset
    };
    static const Tuning &tuning(PongDifficulty d);

    explicit PongEngine(UserDefaults *defaults, Clock *clock,
                        Scheduler *scheduler, Random *random = nullptr,
                        QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    PongDifficulty difficulty() const { return m_difficulty; }
    qint64 playerScore() const { return m_playerScore; }
    qint64 npcScore() const { return m_npcScore; }
    qint64 wins() const { return m_wins; }
    double playerY() const { return m_playerY; }
    double npcY() const { return m_npcY; }
    double ballX() const { return m_ballX; }
    double ballY() const { return m_ballY; }
    double ballVX() const { return m_ballVX; }
    double ballVY() const { return m_ballVY; }
    double npcAim() const { return m_npcAim; }
    qint64 frames() const { return m_frames; }
    QSizeF field() const { return m_field; }
    bool serveToPlayer() const { return m_serveToPlayer; }
    bool isTicking() const { return m_frame.isRunning(); }
    bool servePending() const { return m_serveTask.isActive(); }

    Q_INVOKABLE void reset() override;
    Q_INVOKABLE void stop() override;
    Q_INVOKABLE void start(PongDifficulty difficulty);
    Q_INVOKABLE void playAgain();
    Q_INVOKABLE void backToHowTo();
    // Picks a match stopped mid-rally up again when its page shows it with
    // no timer (the page was left during play or the pause after a point).
    Q_INVOKABLE void resume();
    // The pointer's y in points from the top of the play area, and that
    // area's height (the last measured field when not given).
    Q_INVOKABLE void movePlayer(double y, double height = -1);
    // The measured play area; sizes of 40 points or less on a side are ignored.
    Q_INVOKABLE void setField(double width, double height);

    void serve();
    void startTimer();
    void tick();
    void advance(double dt);
    void checkPaddle(bool isPlayer, double paddleX, double paddleY);
    void pointScored(bool byPlayer);

    // Test set-up.
    void setBall(double x, double y, double vx, double vy);
    void setScores(qint64 player, qint64 npc);

signals:
    void phaseChanged();
    void difficultyChanged();
    void scoreChanged();
    void winsChanged();
    void frameChanged();

private:
    void newMatch();
    void setPhase(Phase p);
    void setPositions(double playerY, double npcY, double ballX, double ballY);
    bool coin();


    Phase m_phase = Phase::howto;
    PongDifficulty m_difficulty = PongDifficulty::medium;
    qint64 m_playerScore = 0;
    qint64 m_npcScore = 0;
    qint64 m_wins = 0;
    double m_playerY = 0.5;
    double m_npcY = 0.5;
    double m_ballX = 0.5;
    double m_ballY = 0.5;

    FrameTimer m_frame;
    TaskHandle m_serveTask;
    double m_ballVX = 0;
    double m_ballVY = 0;
    QSizeF m_field{400, 240};
    bool m_serveToPlayer = false;
    double m_npcAim = 0.5;
    qint64 m_frames = 0;
};
