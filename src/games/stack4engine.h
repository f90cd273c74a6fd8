#pragma once

#include "core/scheduler.h"
#include "games/arcadeengine.h"
#include "games/arcadetypes.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <array>
#include <functional>
#include <optional>

// How the view should animate the falling disc to the engine's new
// fallTravel: at once ("none"), with an ease-in of `duration` seconds, or
// with a spring of the given response (seconds) and damping fraction.
struct Stack4FallAnimation {
    Q_GADGET
    QML_VALUE_TYPE(stack4FallAnimation)
    Q_PROPERTY(QString curve MEMBER curve)
    Q_PROPERTY(double duration MEMBER duration)
    Q_PROPERTY(double response MEMBER response)
    Q_PROPERTY(double damping MEMBER damping)
public:
    QString curve = QStringLiteral("none");
    double duration = 0;
    double response = 0;
    double damping = 0;

    static Stack4FallAnimation none() { return {}; }
    static Stack4FallAnimation easeIn(double seconds) { return {QStringLiteral("easeIn"), seconds, 0, 0}; }
    static Stack4FallAnimation spring(double response, double damping)
    {
        return {QStringLiteral("spring"), 0, response, damping};
    }
    friend bool operator==(const Stack4FallAnimation &, const Stack4FallAnimation &) = default;
};

// Connect-four on 7 columns × 6 rows: red always starts; blue is a second
// person or the computer (depth-4 minimax at its hardest). Each drop falls
// with a paced animation; wins against the computer are kept under
// "pavlet.stack4Wins".
class Stack4Engine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the island")
    Q_PROPERTY(Phase phase READ phase WRITE setPhase NOTIFY phaseChanged)
    Q_PROPERTY(ArcadeVersus versus READ versus WRITE setVersus NOTIFY versusChanged)
    // 42 Slot values; index = column × 6 + row, row 0 at the bottom.
    Q_PROPERTY(QList<int> board READ boardList NOTIFY boardChanged)
    Q_PROPERTY(bool redTurn READ redTurn NOTIFY redTurnChanged)
    Q_PROPERTY(int cursor READ cursor WRITE setCursor NOTIFY cursorChanged)
    Q_PROPERTY(QList<int> winCells READ winCells NOTIFY winCellsChanged)
    Q_PROPERTY(Slot winner READ winner NOTIFY winnerChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(qint64 wins READ wins NOTIFY winsChanged)
    // The board index of the falling disc, or null.
    Q_PROPERTY(QVariant fallingIndex READ fallingIndexValue NOTIFY fallingIndexChanged)
    Q_PROPERTY(double fallTravel READ fallTravel NOTIFY fallTravelChanged)
    // Set just before each change of fallTravel.
    Q_PROPERTY(Stack4FallAnimation fallAnimation READ fallAnimation NOTIFY fallAnimationChanged)
public:
    enum class Slot : quint8 { empty, red, blue };
    Q_ENUM(Slot)
    enum class Phase { howto, playing, over };
    Q_ENUM(Phase)

    static constexpr int Columns = 7;
    static constexpr int Rows = 6;
    static constexpr int SearchDepth = 4;
    static constexpr qint64 ScoreFloor = -(qint64(1) << 61);
    static constexpr qint64 ScoreCeiling = (qint64(1) << 61) - 1;
    using Board = std::array<Slot, Columns * Rows>;

    explicit Stack4Engine(UserDefaults *defaults, Clock *clock,
                          Scheduler *scheduler, Random *random = nullptr,
                          QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    void setPhase(Phase phase);
    ArcadeVersus versus() const { return m_versus; }
    void setVersus(const ArcadeVersus &versus);
    const Board &board() const { return m_board; }
    QList<int> boardList() const;
    bool redTurn() const { return m_redTurn; }
    int cursor() const { return m_cursor; }
    QList<int> winCells() const { return m_winCells; }
    Slot winner() const { return m_winner; }
    bool busy() const { return m_busy; }
    qint64 wins() const { return m_wins; }
    std::optional<int> fallingIndex() const { return m_fallingIndex; }
    QVariant fallingIndexValue() const;
    double fallTravel() const { return m_fallTravel; }
    Stack4FallAnimation fallAnimation() const { return m_fallAnimation; }

    Q_INVOKABLE void newBoard();
    Q_INVOKABLE void stop() override;
    // "Play" and "Play again": a fresh board, the opponent kept.
    Q_INVOKABLE void start();
    // Opening the game, and "Mode": stop(), the how-to card, the computer at
    // medium, a new board.
    Q_INVOKABLE void reset() override;
    // The game's keys while it is on screen.
    bool handleKey(const KeyInput &key) override;
    Q_INVOKABLE void moveCursor(int delta);
    // Only while playing and for a column 0...6.
    Q_INVOKABLE void setCursor(int column);
    // Starts a move in the column (ignored outside 0...6 or when full).
    Q_INVOKABLE void drop(int column) { dropInto(column); }
    // Starts a move in the cursor's column.
    Q_INVOKABLE void dropAtCursor() { dropInto(std::nullopt); }
    Q_INVOKABLE void setVersusLocal() { setVersus(ArcadeVersus::local()); }
    Q_INVOKABLE void setVersusNpc(const QString &level);

    int npcChooseColumn(ArcadeNPCLevel level);
    std::optional<int> winningColumn(Slot colour) const { return winningColumn(m_board, colour); }
    std::optional<int> bestColumn() const { return bestColumn(m_board); }
    bool finishIfOver();

    // The rules, on any board.
    static std::optional<int> landingIndex(int column, const Board &board);
    static std::optional<QList<int>> lineCells(const Board &board, int at);
    static Slot lineWinner(const Board &board);
    static qint64 centreScore(const Board &board);
    static qint64 minimax(const Board &board, int depth, bool maximizing, qint64 alpha, qint64 beta);
    static std::optional<int> bestColumn(const Board &board);
    static std::optional<int> winningColumn(const Board &board, Slot colour);

    static int npcDelayMs(ArcadeNPCLevel level);
    // Milliseconds the drop animation takes for a disc landing in row.
    static int dropDurationMs(int row);

    // Test seam: the board as it stands.
    void setBoard(const Board &board);

signals:
    void phaseChanged();
    void versusChanged();
    void boardChanged();
    void redTurnChanged();
    void cursorChanged();
    void winCellsChanged();
    void winnerChanged();
    void busyChanged();
    void winsChanged();
    void fallingIndexChanged();
    void fallTravelChanged();
    void fallAnimationChanged();

private:
    void dropInto(std::optional<int> column);
    void setRedTurn(bool red);
    void setCursorValue(int column);
    void setWinCells(const QList<int> &cells);
    void setWinner(Slot winner);
    void setBusy(bool busy);
    void setFallingIndex(std::optional<int> index);
    void setFall(double travel, const Stack4FallAnimation &animation);
    void animateDrop(int column, Slot colour, std::function<void()> then);
    void afterPlayerDrop();
    void npcMove(ArcadeNPCLevel level);

    Phase m_phase = Phase::howto;
    ArcadeVersus m_versus = ArcadeVersus::npc(ArcadeNPCLevel::medium);
    Board m_board{};
    bool m_redTurn = true;
    int m_cursor = 3;
    QList<int> m_winCells;
    Slot m_winner = Slot::empty;
    bool m_busy = false;
    qint64 m_wins = 0;
    std::optional<int> m_fallingIndex;
    double m_fallTravel = 0;
    Stack4FallAnimation m_fallAnimation;
    int m_lastDrop = 0;
    TaskHandle m_dropTask;
};
