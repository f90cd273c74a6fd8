#pragma once

#include "games/action/actionkinds.h"
#include "games/arcadeengine.h"
#include "games/frametimer.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <optional>
#include <vector>

class Clock;
class UserDefaults;

// A cell of the snake's grid: x is the column (0 at the left), y the row
// (0 at the top).
struct SnakePoint {
    Q_GADGET
    Q_PROPERTY(qint64 x MEMBER x)
    Q_PROPERTY(qint64 y MEMBER y)
public:
    qint64 x = 0;
    qint64 y = 0;
    bool operator==(const SnakePoint &) const = default;
};

inline size_t qHash(const SnakePoint &p, size_t seed = 0)
{
    return qHashMulti(seed, p.x, p.y);
}

// Snake on a 17 by 11 grid: one cell per step, one apple at a time, each
// apple grows the snake and shortens the step gap.
class SnakeEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the view model")
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(QList<SnakePoint> snake READ snakeList NOTIFY boardChanged)
    Q_PROPERTY(SnakePoint apple READ apple NOTIFY boardChanged)
    // Row-major, Columns × Rows entries: 0 empty, 1 head, 2 body, 3 apple.
    Q_PROPERTY(QList<int> cells READ cells NOTIFY boardChanged)
    Q_PROPERTY(SnakeDir dir READ dir NOTIFY dirChanged)
    Q_PROPERTY(qint64 score READ score NOTIFY scoreChanged)
    Q_PROPERTY(qint64 best READ best NOTIFY bestChanged)
    // The board's size in cells.
    Q_PROPERTY(int columns READ columns CONSTANT)
    Q_PROPERTY(int rows READ rows CONSTANT)
public:
    enum class Phase { howto, ready, running, over };
    Q_ENUM(Phase)

    enum CellState { Empty = 0, Head = 1, Body = 2, Apple = 3 };

    static constexpr int Columns = 17;
    static constexpr int Rows = 11;
    static constexpr int columns() { return Columns; }
    static constexpr int rows() { return Rows; }
    static constexpr double StartGap = 0.16;
    static inline const QString BestKey = QStringLiteral("pavlet.snakeBest");

    static std::vector<SnakePoint> startBody();
    static constexpr SnakePoint fallbackApple() { return SnakePoint{8, 5}; }
    // Seconds between steps after that many apples.
    static double gapForScore(qint64 score);

    explicit SnakeEngine(UserDefaults *defaults, Clock *clock,
                         Scheduler *scheduler, Random *random = nullptr,
                         QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    const std::vector<SnakePoint> &snake() const { return m_snake; }
    QList<SnakePoint> snakeList() const { return QList<SnakePoint>(m_snake.begin(), m_snake.end()); }
    SnakePoint apple() const { return m_apple; }
    QList<int> cells() const { return m_cells; }
    SnakeDir dir() const { return m_dir; }
    std::optional<SnakeDir> queued() const { return m_queued; }
    qint64 score() const { return m_score; }
    qint64 best() const { return m_best; }
    double tickGap() const { return m_tickGap; }
    bool isTicking() const { return m_frame.isRunning(); }

    Q_INVOKABLE void reset() override;
    Q_INVOKABLE void start();
    Q_INVOKABLE void turn(SnakeDir d);
    // Ends the step timer without touching the game (leaving the page,
    // stopping the games).
    Q_INVOKABLE void stopTimer();
    Q_INVOKABLE void stop() override { stopTimer(); }
    // The game's keys while it is on screen.
    bool handleKey(const KeyInput &key) override;
    // A run whose page was left stands still with no timer: picks it up again.
    Q_INVOKABLE void resume();

    void startTimer();
    SnakePoint spawnApple();
    void step();
    void gameOver();

    // Test set-up.
    void setBoard(const std::vector<SnakePoint> &snake, SnakePoint apple);
    void setScore(qint64 score);

signals:
    void phaseChanged();
    void boardChanged();
    void dirChanged();
    void scoreChanged();
    void bestChanged();

private:
    void newRun(SnakeDir heading);
    void setPhase(Phase p);
    void setDir(SnakeDir d);
    void rebuildCells();


    Phase m_phase = Phase::howto;
    std::vector<SnakePoint> m_snake;
    SnakePoint m_apple;
    QList<int> m_cells;
    SnakeDir m_dir = SnakeDir::right;
    qint64 m_score = 0;
    qint64 m_best = 0;

    FrameTimer m_frame;
    std::optional<SnakeDir> m_queued;
    double m_tickGap = StartGap;
};
