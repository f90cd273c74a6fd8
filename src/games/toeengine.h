#pragma once

#include "core/scheduler.h"
#include "games/arcadeengine.h"
#include "games/arcadetypes.h"

#include <QList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <array>
#include <optional>

namespace Toe {
Q_NAMESPACE
// The content of one cell.
enum class ToeMark : quint8 { empty, red, blue };
Q_ENUM_NS(ToeMark)
} // namespace Toe

using Toe::ToeMark;

// Tic-tac-toe: red (X) always starts; blue (O) is a second person or the
// computer at one of three levels. Wins against the computer are kept under
// "pavlet.toeWins".
class ToeEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the island")
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(ArcadeVersus versus READ versus WRITE setVersus NOTIFY versusChanged)
    // Nine ToeMark values, row by row from the top left.
    Q_PROPERTY(QList<int> cells READ cellList NOTIFY cellsChanged)
    Q_PROPERTY(bool redTurn READ redTurn NOTIFY redTurnChanged)
    Q_PROPERTY(qint64 wins READ wins NOTIFY winsChanged)
    // An Outcome, or null while a game runs.
    Q_PROPERTY(QVariant outcome READ outcomeValue NOTIFY outcomeChanged)
    Q_PROPERTY(QList<int> winLine READ winLine NOTIFY winLineChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
public:
    enum class Phase { howto, playing, over };
    Q_ENUM(Phase)
    enum class Outcome { red, blue, draw };
    Q_ENUM(Outcome)

    using Board = std::array<ToeMark, 9>;

    explicit ToeEngine(UserDefaults *defaults, Clock *clock,
                       Scheduler *scheduler, Random *random = nullptr,
                       QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    ArcadeVersus versus() const { return m_versus; }
    void setVersus(const ArcadeVersus &versus);
    const Board &cells() const { return m_cells; }
    QList<int> cellList() const;
    bool redTurn() const { return m_redTurn; }
    qint64 wins() const { return m_wins; }
    std::optional<Outcome> outcome() const { return m_outcome; }
    QVariant outcomeValue() const;
    QList<int> winLine() const { return m_winLine; }
    bool busy() const { return m_busy; }

    Q_INVOKABLE void reset() override;
    Q_INVOKABLE void start();
    Q_INVOKABLE void newBoard();
    Q_INVOKABLE void play(int index);
    Q_INVOKABLE void stop() override;
    Q_INVOKABLE void setVersusLocal() { setVersus(ArcadeVersus::local()); }
    // level: "easy", "medium" or "hard"; anything else is ignored.
    Q_INVOKABLE void setVersusNpc(const QString &level);

    // Ends the game when a line is made or the board is full.
    bool checkEnd();
    // The computer's cell for the current board; none when the board is full.
    std::optional<int> npcChooseCell(ArcadeNPCLevel level);
    // The empty cell that would give mark three in a line.
    std::optional<int> cellCompletingLine(ToeMark mark) const;
    // The first line, in table order, held by one mark.
    static std::optional<std::array<int, 3>> winningLine(const Board &cells);

    static int npcDelayMs(ArcadeNPCLevel level);
    static const std::array<std::array<int, 3>, 8> &lines();

    // Test seam: sets the board as it stands.
    void setCells(const Board &cells);

signals:
    void phaseChanged();
    void versusChanged();
    void cellsChanged();
    void redTurnChanged();
    void winsChanged();
    void outcomeChanged();
    void winLineChanged();
    void busyChanged();

private:
    void setPhase(Phase phase);
    void setRedTurn(bool red);
    void setOutcome(std::optional<Outcome> outcome);
    void setWinLine(const QList<int> &line);
    void setBusy(bool busy);
    void place(int index, ToeMark mark);
    void scheduleNPCMove(ArcadeNPCLevel level);
    void npcMove(ArcadeNPCLevel level);

    Phase m_phase = Phase::howto;
    ArcadeVersus m_versus = ArcadeVersus::npc(ArcadeNPCLevel::medium);
    Board m_cells{};
    bool m_redTurn = true;
    qint64 m_wins = 0;
    std::optional<Outcome> m_outcome;
    QList<int> m_winLine;
    bool m_busy = false;
    TaskHandle m_npcTask;
};
