#pragma once

#include "games/action/actionkinds.h"
#include "games/arcadeengine.h"
#include "games/frametimer.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QtQml/qqmlregistration.h>

#include <array>
#include <optional>
#include <vector>

class Clock;
class UserDefaults;

// The falling-block game: a well of 16 rows by 10 columns, pieces from a
// seven-bag, one gravity step per countdown, rows cleared for points.
class BlocksEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the view model")
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    // Row-major, 160 entries: the kind's raw value or -1 for an empty cell.
    Q_PROPERTY(QList<int> board READ boardList NOTIFY boardChanged)
    // The falling piece: its kind (-1 when none), its cells on the board and
    // where it would land.
    Q_PROPERTY(int activeKind READ activeKind NOTIFY activeChanged)
    Q_PROPERTY(QList<QPoint> activeCells READ activeCells NOTIFY activeChanged)
    Q_PROPERTY(QList<QPoint> shadowCells READ shadowCells NOTIFY activeChanged)
    Q_PROPERTY(BlockKind nextKind READ nextKind NOTIFY nextKindChanged)
    Q_PROPERTY(int score READ score NOTIFY scoreChanged)
    Q_PROPERTY(int lines READ lines NOTIFY linesChanged)
    Q_PROPERTY(int best READ best NOTIFY bestChanged)
public:
    enum class Phase { howto, ready, running, over };
    Q_ENUM(Phase)

    struct Piece {
        BlockKind kind = BlockKind::i;
        int rotation = 0;
        int col = 0;
        int row = 0;
        bool operator==(const Piece &) const = default;
    };

    static constexpr int Rows = 16;
    static constexpr int Cols = 10;
    using Row = std::array<std::optional<BlockKind>, Cols>;
    using Board = std::array<Row, Rows>;
    using Cell = QPoint; // x = dx (column), y = dy (row)

    static constexpr double StepCap = 0.05;
    static inline const QString BestKey = QStringLiteral("pavlet.blocksBest");

    explicit BlocksEngine(UserDefaults *defaults, Clock *clock,
                          Scheduler *scheduler, Random *random = nullptr,
                          QObject *parent = nullptr);

    // The four cells of a kind at a rotation, in drawing order.
    static std::array<Cell, 4> cells(BlockKind kind, int rotation);
    Q_INVOKABLE QList<QPoint> shapeCells(BlockKind kind, int rotation) const;
    // Seconds between gravity steps after that many cleared lines.
    static double fallInterval(int lines);
    // Points for rows cleared at once.
    static int clearScore(int rows);

    Phase phase() const { return m_phase; }
    const Board &board() const { return m_board; }
    QList<int> boardList() const;
    std::optional<Piece> active() const { return m_active; }
    int activeKind() const { return m_active ? int(m_active->kind) : -1; }
    QList<QPoint> activeCells() const;
    QList<QPoint> shadowCells() const;
    BlockKind nextKind() const { return m_nextKind; }
    int score() const { return m_score; }
    int lines() const { return m_lines; }
    int best() const { return m_best; }
    double dropIn() const { return m_dropIn; }
    bool isTicking() const { return m_frame.isRunning(); }

    Q_INVOKABLE void reset() override;
    Q_INVOKABLE void stop() override;
    // The game's keys while it is on screen.
    bool handleKey(const KeyInput &key) override;
    Q_INVOKABLE void begin();
    Q_INVOKABLE void tap();
    // Picks a stopped game up again when its page shows it running with
    // no timer (the page was left mid-game).
    Q_INVOKABLE void resume();
    void start();

    // Keys.
    Q_INVOKABLE void move(int dx);
    Q_INVOKABLE void rotate();
    Q_INVOKABLE void softDrop();
    Q_INVOKABLE void hardDrop();

    bool fits(BlockKind kind, int rotation, int col, int row) const;

    // One frame: measures the time since the previous one.
    void tick();
    // One frame of dt seconds (capped; non-positive steps do nothing).
    void advance(double dt);

    // Test set-up: place settled cells and the falling piece directly.
    void setBoard(const Board &board);
    void setActive(const std::optional<Piece> &piece);

signals:
    void phaseChanged();
    void boardChanged();
    void activeChanged();
    void nextKindChanged();
    void scoreChanged();
    void linesChanged();
    void bestChanged();

private:
    BlockKind drawKind();
    bool stepDown();
    void spawn();
    void lockPiece();
    void clearLines();
    void gameOver();
    void clearGame();
    void startTimer();

    void setPhase(Phase p);
    void setScore(int s);
    void setLines(int n);
    void setNextKind(BlockKind k);


    Phase m_phase = Phase::howto;
    Board m_board{};
    std::optional<Piece> m_active;
    BlockKind m_nextKind = BlockKind::i;
    int m_score = 0;
    int m_lines = 0;
    int m_best = 0;

    FrameTimer m_frame;
    double m_dropIn = 0.7;
    std::vector<BlockKind> m_bag;
};
