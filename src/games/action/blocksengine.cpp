#include "games/action/blocksengine.h"

#include "core/clock.h"
#include "core/keycodes.h"
#include "core/keyinput.h"
#include "core/random.h"
#include "core/userdefaults.h"

#include <algorithm>
#include <cmath>

namespace {

using Cell = BlocksEngine::Cell;
using Shape = std::array<Cell, 4>;

// Each state lists its cells as (dx, dy) in drawing order.
const std::array<Shape, 4> iStates = {{
    {Cell(0, 1), Cell(1, 1), Cell(2, 1), Cell(3, 1)},
    {Cell(2, 0), Cell(2, 1), Cell(2, 2), Cell(2, 3)},
    {Cell(0, 2), Cell(1, 2), Cell(2, 2), Cell(3, 2)},
    {Cell(1, 0), Cell(1, 1), Cell(1, 2), Cell(1, 3)},
}};
const Shape oState = {Cell(1, 0), Cell(2, 0), Cell(1, 1), Cell(2, 1)};
const std::array<Shape, 4> tStates = {{
    {Cell(1, 0), Cell(0, 1), Cell(1, 1), Cell(2, 1)},
    {Cell(1, 0), Cell(1, 1), Cell(2, 1), Cell(1, 2)},
    {Cell(0, 1), Cell(1, 1), Cell(2, 1), Cell(1, 2)},
    {Cell(1, 0), Cell(0, 1), Cell(1, 1), Cell(1, 2)},
}};
const std::array<Shape, 2> sStates = {{
    {Cell(1, 0), Cell(2, 0), Cell(0, 1), Cell(1, 1)},
    {Cell(1, 0), Cell(1, 1), Cell(2, 1), Cell(2, 2)},
}};
const std::array<Shape, 2> zStates = {{
    {Cell(0, 0), Cell(1, 0), Cell(1, 1), Cell(2, 1)},
    {Cell(2, 0), Cell(1, 1), Cell(2, 1), Cell(1, 2)},
}};
const std::array<Shape, 4> jStates = {{
    {Cell(0, 0), Cell(0, 1), Cell(1, 1), Cell(2, 1)},
    {Cell(1, 0), Cell(2, 0), Cell(1, 1), Cell(1, 2)},
    {Cell(0, 1), Cell(1, 1), Cell(2, 1), Cell(2, 2)},
    {Cell(1, 0), Cell(1, 1), Cell(0, 2), Cell(1, 2)},
}};
const std::array<Shape, 4> lStates = {{
    {Cell(2, 0), Cell(0, 1), Cell(1, 1), Cell(2, 1)},
    {Cell(1, 0), Cell(1, 1), Cell(1, 2), Cell(2, 2)},
    {Cell(0, 1), Cell(1, 1), Cell(2, 1), Cell(0, 2)},
    {Cell(0, 0), Cell(1, 0), Cell(1, 1), Cell(1, 2)},
}};

int wrap(int rotation, int states)
{
    const int r = rotation % states;
    return r < 0 ? r + states : r;
}

} // namespace

BlocksEngine::BlocksEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler, Random *random,
                           QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
    , m_frame(this->scheduler(), this->clock())
{
    m_best = int(readRecord(BestKey, std::numeric_limits<int>::max()));
    m_nextKind = drawKind();
}

std::array<Cell, 4> BlocksEngine::cells(BlockKind kind, int rotation)
{
    switch (kind) {
    case BlockKind::i: return iStates[size_t(wrap(rotation, 4))];
    case BlockKind::o: return oState;
    case BlockKind::t: return tStates[size_t(wrap(rotation, 4))];
    case BlockKind::s: return sStates[size_t(wrap(rotation, 2))];
    case BlockKind::z: return zStates[size_t(wrap(rotation, 2))];
    case BlockKind::j: return jStates[size_t(wrap(rotation, 4))];
    case BlockKind::l: return lStates[size_t(wrap(rotation, 4))];
    }
    return oState;
}

QList<QPoint> BlocksEngine::shapeCells(BlockKind kind, int rotation) const
{
    const auto shape = cells(kind, rotation);
    return QList<QPoint>(shape.begin(), shape.end());
}

double BlocksEngine::fallInterval(int lines)
{
    return std::max(0.72 - 0.035 * lines, 0.12);
}

int BlocksEngine::clearScore(int rows)
{
    static constexpr int table[] = {0, 100, 300, 500, 800};
    return table[std::clamp(rows, 0, 4)];
}

QList<int> BlocksEngine::boardList() const
{
    QList<int> out;
    out.reserve(Rows * Cols);
    for (const Row &row : m_board) {
        for (const auto &cell : row)
            out.append(cell ? int(*cell) : -1);
    }
    return out;
}

QList<QPoint> BlocksEngine::activeCells() const
{
    QList<QPoint> out;
    if (!m_active)
        return out;
    for (const Cell &c : cells(m_active->kind, m_active->rotation))
        out.append(QPoint(m_active->col + c.x(), m_active->row + c.y()));
    return out;
}

QList<QPoint> BlocksEngine::shadowCells() const
{
    QList<QPoint> out;
    if (!m_active || m_phase != Phase::running)
        return out;
    const Piece &p = *m_active;
    int row = p.row;
    while (fits(p.kind, p.rotation, p.col, row + 1))
        ++row;
    for (const Cell &c : cells(p.kind, p.rotation))
        out.append(QPoint(p.col + c.x(), row + c.y()));
    return out;
}

bool BlocksEngine::fits(BlockKind kind, int rotation, int col, int row) const
{
    for (const Cell &c : cells(kind, rotation)) {
        const int x = col + c.x();
        const int y = row + c.y();
        if (x < 0 || x >= Cols || y >= Rows)
            return false;
        if (y >= 0 && m_board[size_t(y)][size_t(x)])
            return false;
    }
    return true;
}

void BlocksEngine::reset()
{
    stop();
    setPhase(Phase::howto);
    clearGame();
    m_bag.clear();
    setNextKind(drawKind());
}

void BlocksEngine::clearGame()
{
    setBoard(Board{});
    setActive(std::nullopt);
    setScore(0);
    setLines(0);
    m_dropIn = 0.7;
}

void BlocksEngine::stop()
{
    m_frame.stop();
    m_frame.clearLastTick();
}

void BlocksEngine::begin()
{
    if (m_phase == Phase::howto || m_phase == Phase::ready)
        start();
}

void BlocksEngine::tap()
{
    switch (m_phase) {
    case Phase::howto:
        break;
    case Phase::ready:
        start();
        break;
    case Phase::running:
        rotate();
        break;
    case Phase::over:
        // The bag and the preview carry over into the new game.
        clearGame();
        start();
        break;
    }
}

void BlocksEngine::resume()
{
    if (m_phase == Phase::running && !m_frame.isRunning())
        startTimer();
}

void BlocksEngine::start()
{
    setPhase(Phase::running);
    spawn();
    m_dropIn = fallInterval(m_lines);
    // A spawn that does not fit ends the game at once; no timer then.
    if (m_phase == Phase::running)
        startTimer();
}

void BlocksEngine::startTimer()
{
    m_frame.startStepping(FrameTimer::Rate60, StepCap, [this](double dt) { advance(dt); });
}

void BlocksEngine::move(int dx)
{
    if (m_phase != Phase::running || !m_active)
        return;
    Piece p = *m_active;
    if (fits(p.kind, p.rotation, p.col + dx, p.row)) {
        p.col += dx;
        setActive(p);
    }
}

void BlocksEngine::rotate()
{
    if (m_phase != Phase::running || !m_active)
        return;
    const Piece &p = *m_active;
    for (int shift : {0, -1, 1, -2, 2}) {
        if (fits(p.kind, p.rotation + 1, p.col + shift, p.row)) {
            setActive(Piece{p.kind, p.rotation + 1, p.col + shift, p.row});
            return;
        }
    }
}

void BlocksEngine::softDrop()
{
    if (m_phase != Phase::running)
        return;
    if (stepDown())
        setScore(m_score + 1);
    else
        lockPiece();
}

void BlocksEngine::hardDrop()
{
    if (m_phase != Phase::running || !m_active)
        return;
    Piece p = *m_active;
    int rows = 0;
    while (fits(p.kind, p.rotation, p.col, p.row + 1)) {
        ++p.row;
        ++rows;
    }
    setActive(p);
    setScore(m_score + 2 * rows);
    lockPiece();
}

BlockKind BlocksEngine::drawKind()
{
    if (m_bag.empty()) {
        m_bag.assign(std::begin(allBlockKinds), std::end(allBlockKinds));
        random().shuffle(m_bag);
    }
    const BlockKind k = m_bag.back();
    m_bag.pop_back();
    return k;
}

bool BlocksEngine::stepDown()
{
    if (!m_active)
        return false;
    Piece p = *m_active;
    if (!fits(p.kind, p.rotation, p.col, p.row + 1))
        return false;
    ++p.row;
    setActive(p);
    return true;
}

void BlocksEngine::spawn()
{
    const BlockKind kind = m_nextKind;
    setNextKind(drawKind());
    setActive(Piece{kind, 0, 3, 0});
    if (!fits(kind, 0, 3, 0))
        gameOver();
}

void BlocksEngine::lockPiece()
{
    if (!m_active)
        return;
    const Piece p = *m_active;
    Board next = m_board;
    for (const Cell &c : cells(p.kind, p.rotation)) {
        const int x = p.col + c.x();
        const int y = p.row + c.y();
        if (y < 0) {
            gameOver();
            return;
        }
        if (y < Rows && x >= 0 && x < Cols)
            next[size_t(y)][size_t(x)] = p.kind;
    }
    setActive(std::nullopt);
    setBoard(next);
    clearLines();
    if (m_phase == Phase::running)
        spawn();
}

void BlocksEngine::clearLines()
{
    Board next{};
    int target = Rows - 1;
    int cleared = 0;
    for (int r = Rows - 1; r >= 0; --r) {
        const Row &row = m_board[size_t(r)];
        const bool full = std::all_of(row.begin(), row.end(), [](const auto &c) { return c.has_value(); });
        if (full)
            ++cleared;
        else
            next[size_t(target--)] = row;
    }
    if (cleared == 0)
        return;
    setBoard(next);
    setLines(m_lines + cleared);
    setScore(m_score + clearScore(cleared));
}

void BlocksEngine::tick()
{
    advance(m_frame.takeStep(StepCap));
}

void BlocksEngine::advance(double dt)
{
    dt = std::min(dt, StepCap);
    if (!(dt > 0) || m_phase != Phase::running)
        return;
    m_dropIn -= dt;
    if (m_dropIn > 0)
        return;
    m_dropIn = fallInterval(m_lines);
    if (!stepDown())
        lockPiece();
}

void BlocksEngine::gameOver()
{
    setPhase(Phase::over);
    stop();
    if (m_best < m_score) {
        m_best = m_score;
        writeRecord(BestKey, m_best);
        emit bestChanged();
    }
}

void BlocksEngine::setBoard(const Board &board)
{
    if (m_board == board)
        return;
    m_board = board;
    emit boardChanged();
    emit activeChanged(); // the landing shadow depends on the board
}

void BlocksEngine::setActive(const std::optional<Piece> &piece)
{
    if (m_active == piece)
        return;
    m_active = piece;
    emit activeChanged();
}

void BlocksEngine::setPhase(Phase p)
{
    if (m_phase == p)
        return;
    m_phase = p;
    emit phaseChanged();
    emit activeChanged(); // the shadow shows only while running
}

void BlocksEngine::setScore(int s)
{
    if (m_score == s)
        return;
    m_score = s;
    emit scoreChanged();
}

void BlocksEngine::setLines(int n)
{
    if (m_lines == n)
        return;
    m_lines = n;
    emit linesChanged();
}

void BlocksEngine::setNextKind(BlockKind k)
{
    if (m_nextKind == k)
        return;
    m_nextKind = k;
    emit nextKindChanged();
}

bool BlocksEngine::handleKey(const KeyInput &key)
{
    using namespace KeyCode;
    if (phase() == Phase::howto)
        return false;
    switch (key.keyCode) {
    case A: case LeftArrow: move(-1); return true;
    case D: case RightArrow: move(1); return true;
    case W: case UpArrow: rotate(); return true;
    case S: case DownArrow: softDrop(); return true;
    case Space: hardDrop(); return true;
    default: return false;
    }
}
