#include "games/stack4engine.h"

#include "core/keycodes.h"
#include "core/keyinput.h"
#include "core/random.h"

#include <cstdlib>
#include <limits>

namespace {
const QString WinsKey = QStringLiteral("pavlet.stack4Wins");

using Slot = Stack4Engine::Slot;
using Board = Stack4Engine::Board;
constexpr int Columns = Stack4Engine::Columns;
constexpr int Rows = Stack4Engine::Rows;

constexpr int Directions[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};

// Whether the disc at `at` is in a line of four; the search calls this on
// every node, so it allocates nothing.
bool inLine(const Board &board, int at)
{
    const Slot colour = board[at];
    if (colour == Slot::empty)
        return false;
    const int column = at / Rows;
    const int row = at % Rows;
    for (const auto &dir : Directions) {
        int count = 1;
        for (int sign : {-1, 1}) {
            for (int k = 1; count < 4; ++k) {
                const int c = column + sign * dir[0] * k;
                const int r = row + sign * dir[1] * k;
                if (c < 0 || c >= Columns || r < 0 || r >= Rows || board[c * Rows + r] != colour)
                    break;
                ++count;
            }
        }
        if (count >= 4)
            return true;
    }
    return false;
}

bool hasEmpty(const Board &board)
{
    return std::find(board.begin(), board.end(), Slot::empty) != board.end();
}

// The fall of one disc, in milliseconds.
constexpr int SettleInMs = 20;  // before the fall starts, and after it ends
constexpr int BounceMs = 90;
constexpr int SettleMs = 80;
int fallMs(int row)
{
    return 160 + 50 * (Rows - 1 - row);
}
} // namespace

Stack4Engine::Stack4Engine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler,
                           Random *random, QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
{
    m_board.fill(Slot::empty);
    m_wins = readRecord(WinsKey);
}

// Published values.

void Stack4Engine::setPhase(Phase phase)
{
    if (assign(m_phase, phase))
        emit phaseChanged();
}

void Stack4Engine::setVersus(const ArcadeVersus &versus)
{
    if (assign(m_versus, versus))
        emit versusChanged();
}

void Stack4Engine::setVersusNpc(const QString &level)
{
    if (const auto l = levelFromRaw(level))
        setVersus(ArcadeVersus::npc(*l));
}

void Stack4Engine::setBoard(const Board &board)
{
    if (assign(m_board, board))
        emit boardChanged();
}

QList<int> Stack4Engine::boardList() const
{
    QList<int> list;
    list.reserve(int(m_board.size()));
    for (Slot s : m_board)
        list.append(int(s));
    return list;
}

void Stack4Engine::setRedTurn(bool red)
{
    if (assign(m_redTurn, red))
        emit redTurnChanged();
}

void Stack4Engine::setCursorValue(int column)
{
    if (assign(m_cursor, column))
        emit cursorChanged();
}

void Stack4Engine::setWinCells(const QList<int> &cells)
{
    if (assign(m_winCells, cells))
        emit winCellsChanged();
}

void Stack4Engine::setWinner(Slot winner)
{
    if (assign(m_winner, winner))
        emit winnerChanged();
}

void Stack4Engine::setBusy(bool busy)
{
    if (assign(m_busy, busy))
        emit busyChanged();
}

void Stack4Engine::setFallingIndex(std::optional<int> index)
{
    if (assign(m_fallingIndex, index))
        emit fallingIndexChanged();
}

QVariant Stack4Engine::fallingIndexValue() const
{
    return m_fallingIndex ? QVariant(*m_fallingIndex) : QVariant::fromValue(nullptr);
}

void Stack4Engine::setFall(double travel, const Stack4FallAnimation &animation)
{
    // The hint goes first so that a view animating the travel reads it.
    if (assign(m_fallAnimation, animation))
        emit fallAnimationChanged();
    if (assign(m_fallTravel, travel))
        emit fallTravelChanged();
}

// Operations.

void Stack4Engine::newBoard()
{
    Board empty;
    empty.fill(Slot::empty);
    setBoard(empty);
    setRedTurn(true);
    setCursorValue(3);
    setWinCells({});
    setWinner(Slot::empty);
    setBusy(false);
    m_lastDrop = 0;
    setFallingIndex(std::nullopt);
    setFall(0, Stack4FallAnimation::none());
}

void Stack4Engine::stop()
{
    m_dropTask.cancel();
    setBusy(false);
    setFallingIndex(std::nullopt);
    setFall(0, Stack4FallAnimation::none());
}

void Stack4Engine::start()
{
    stop();
    newBoard();
    setPhase(Phase::playing);
}

void Stack4Engine::moveCursor(int delta)
{
    if (m_phase != Phase::playing)
        return;
    setCursorValue(std::clamp(m_cursor + delta, 0, Columns - 1));
}

void Stack4Engine::setCursor(int column)
{
    if (m_phase != Phase::playing || column < 0 || column >= Columns)
        return;
    setCursorValue(column);
}

void Stack4Engine::dropInto(std::optional<int> requested)
{
    if (m_phase != Phase::playing || m_busy)
        return;
    if (!m_versus.isLocal() && !m_redTurn)
        return;
    const int column = requested.value_or(m_cursor);
    if (!landingIndex(column, m_board))
        return;
    setCursorValue(column);
    setBusy(true);
    const Slot colour = m_redTurn ? Slot::red : Slot::blue;
    m_dropTask.cancel();
    animateDrop(column, colour, [this] { afterPlayerDrop(); });
}

void Stack4Engine::afterPlayerDrop()
{
    if (m_phase != Phase::playing || finishIfOver())
        return;
    setRedTurn(!m_redTurn);
    if (!m_redTurn) {
        if (const auto level = m_versus.npcLevel()) {
            m_dropTask = scheduler()->after(npcDelayMs(*level), [this, l = *level] { npcMove(l); });
            return;
        }
    }
    setBusy(false);
}

void Stack4Engine::npcMove(ArcadeNPCLevel level)
{
    if (m_phase != Phase::playing)
        return;
    const int column = npcChooseColumn(level);
    setCursorValue(column);
    animateDrop(column, Slot::blue, [this] {
        if (m_phase != Phase::playing || finishIfOver())
            return;
        setRedTurn(true);
        setBusy(false);
    });
}

// The disc goes into the board at once; the view follows fallTravel down to
// the slot, a small bounce past it and the settle. A cancelled turn never
// gets to the later steps; stop() clears what they would have cleared.
void Stack4Engine::animateDrop(int column, Slot colour, std::function<void()> then)
{
    const auto index = landingIndex(column, m_board);
    if (!index) {
        then();
        return;
    }
    const int row = *index % Rows;
    Board board = m_board;
    board[*index] = colour;
    setBoard(board);
    m_lastDrop = *index;
    setFallingIndex(*index);
    setFall(32.0 * (Rows - row), Stack4FallAnimation::none());

    const int d = fallMs(row);
    m_dropTask = scheduler()->after(SettleInMs, [this, d, then = std::move(then)]() mutable {
        setFall(0, Stack4FallAnimation::easeIn(d / 1000.0));
        m_dropTask = scheduler()->after(d + SettleInMs, [this, then = std::move(then)]() mutable {
            setFall(-5, Stack4FallAnimation::spring(0.22, 0.52));
            m_dropTask = scheduler()->after(BounceMs, [this, then = std::move(then)]() mutable {
                setFall(0, Stack4FallAnimation::spring(0.18, 0.72));
                m_dropTask = scheduler()->after(SettleMs, [this, then = std::move(then)] {
                    setFallingIndex(std::nullopt);
                    then();
                });
            });
        });
    });
}

bool Stack4Engine::finishIfOver()
{
    const auto line = lineCells(m_board, m_lastDrop);
    if (!line) {
        if (hasEmpty(m_board))
            return false;
        setWinner(Slot::empty);
        setPhase(Phase::over);
        stop();
        return true;
    }
    setWinCells(*line);
    const Slot winner = m_board[m_lastDrop];
    setWinner(winner);
    setPhase(Phase::over);
    stop();
    if (winner == Slot::red && !m_versus.isLocal()) {
        ++m_wins;
        writeRecord(WinsKey, m_wins);
        emit winsChanged();
    }
    return true;
}

int Stack4Engine::npcDelayMs(ArcadeNPCLevel level)
{
    switch (level) {
    case ArcadeNPCLevel::easy:
        return 380;
    case ArcadeNPCLevel::medium:
        return 240;
    case ArcadeNPCLevel::hard:
        return 120;
    }
    return 240;
}

int Stack4Engine::dropDurationMs(int row)
{
    return SettleInMs + fallMs(row) + SettleInMs + BounceMs + SettleMs;
}

int Stack4Engine::npcChooseColumn(ArcadeNPCLevel level)
{
    QList<int> open;
    for (int c = 0; c < Columns; ++c) {
        if (landingIndex(c, m_board))
            open.append(c);
    }
    if (open.isEmpty())
        return m_cursor;
    // The fallback is always drawn first.
    const int fallback = open[random().below(int(open.size()))];
    if (const auto win = winningColumn(Slot::blue))
        return *win;

    switch (level) {
    case ArcadeNPCLevel::easy: {
        const auto block = winningColumn(Slot::red);
        if (!block)
            return fallback;
        return closedUnit(random()) < 0.35 ? *block : fallback;
    }
    case ArcadeNPCLevel::medium: {
        if (const auto block = winningColumn(Slot::red))
            return *block;
        int central = open.first();
        for (int c : open) {
            if (std::abs(c - 3) < std::abs(central - 3))
                central = c;
        }
        return closedUnit(random()) < 0.7 ? central : fallback;
    }
    case ArcadeNPCLevel::hard:
        return bestColumn().value_or(fallback);
    }
    return fallback;
}

// The rules.

std::optional<int> Stack4Engine::landingIndex(int column, const Board &board)
{
    if (column < 0 || column >= Columns)
        return std::nullopt;
    for (int row = 0; row < Rows; ++row) {
        const int index = column * Rows + row;
        if (board[index] == Slot::empty)
            return index;
    }
    return std::nullopt;
}

std::optional<QList<int>> Stack4Engine::lineCells(const Board &board, int at)
{
    if (at < 0 || at >= int(board.size()) || board[at] == Slot::empty)
        return std::nullopt;
    const Slot colour = board[at];
    const int column = at / Rows;
    const int row = at % Rows;
    for (const auto &dir : Directions) {
        QList<int> cells{at};
        for (int sign : {-1, 1}) {
            for (int k = 1;; ++k) {
                const int c = column + sign * dir[0] * k;
                const int r = row + sign * dir[1] * k;
                if (c < 0 || c >= Columns || r < 0 || r >= Rows || board[c * Rows + r] != colour)
                    break;
                cells.append(c * Rows + r);
            }
        }
        if (cells.size() >= 4)
            return cells.mid(0, 4);
    }
    return std::nullopt;
}

Stack4Engine::Slot Stack4Engine::lineWinner(const Board &board)
{
    for (Slot colour : {Slot::red, Slot::blue}) {
        for (int i = 0; i < int(board.size()); ++i) {
            if (board[i] == colour && inLine(board, i))
                return colour;
        }
    }
    return Slot::empty;
}

qint64 Stack4Engine::centreScore(const Board &board)
{
    qint64 score = 0;
    for (int i = 0; i < int(board.size()); ++i) {
        const int weight = 3 - std::abs(i / Rows - 3);
        if (board[i] == Slot::blue)
            score += weight;
        else if (board[i] == Slot::red)
            score -= weight;
    }
    return score;
}

qint64 Stack4Engine::minimax(const Board &board, int depth, bool maximizing, qint64 alpha, qint64 beta)
{
    switch (lineWinner(board)) {
    case Slot::red:
        return -10000 - depth;
    case Slot::blue:
        return 10000 + depth;
    case Slot::empty:
        break;
    }
    if (depth == 0 || !hasEmpty(board))
        return centreScore(board);

    qint64 best = maximizing ? ScoreFloor : ScoreCeiling;
    for (int c = 0; c < Columns; ++c) {
        const auto index = landingIndex(c, board);
        if (!index)
            continue;
        Board next = board;
        next[*index] = maximizing ? Slot::blue : Slot::red;
        const qint64 score = minimax(next, depth - 1, !maximizing, alpha, beta);
        if (maximizing) {
            best = std::max(best, score);
            alpha = std::max(alpha, best);
        } else {
            best = std::min(best, score);
            beta = std::min(beta, best);
        }
        if (alpha >= beta)
            break;
    }
    return best;
}

std::optional<int> Stack4Engine::bestColumn(const Board &board)
{
    std::optional<int> choice;
    qint64 best = std::numeric_limits<qint64>::min();
    for (int c = 0; c < Columns; ++c) {
        const auto index = landingIndex(c, board);
        if (!index)
            continue;
        Board next = board;
        next[*index] = Slot::blue;
        const qint64 score = minimax(next, SearchDepth, false, ScoreFloor, ScoreCeiling);
        if (score > best) {
            best = score;
            choice = c;
        }
    }
    return choice;
}

std::optional<int> Stack4Engine::winningColumn(const Board &board, Slot colour)
{
    for (int c = 0; c < Columns; ++c) {
        const auto index = landingIndex(c, board);
        if (!index)
            continue;
        Board next = board;
        next[*index] = colour;
        if (inLine(next, *index))
            return c;
    }
    return std::nullopt;
}

void Stack4Engine::reset()
{
    stop();
    setPhase(Phase::howto);
    setVersus(ArcadeVersus::npc(ArcadeNPCLevel::medium));
    newBoard();
}

bool Stack4Engine::handleKey(const KeyInput &key)
{
    using namespace KeyCode;
    if (phase() == Phase::howto)
        return false;
    const int code = key.keyCode;
    if (code == LeftArrow) {
        moveCursor(-1);
        return true;
    }
    if (code == RightArrow) {
        moveCursor(1);
        return true;
    }
    if (code == Space) {
        dropAtCursor();
        return true;
    }
    // Digits 1 to 7 light their column in any phase past the how-to, then
    // drop into it (which only a live board takes).
    static constexpr int digits[] = {Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7};
    for (int column = 0; column < 7; ++column) {
        if (digits[column] == code) {
            setCursorValue(column);
            drop(column);
            return true;
        }
    }
    return false;
}
