#include "games/action/snakeengine.h"

#include "core/keycodes.h"
#include "core/keyinput.h"
#include "core/random.h"
#include "core/userdefaults.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

SnakeDir opposite(SnakeDir d)
{
    switch (d) {
    case SnakeDir::up: return SnakeDir::down;
    case SnakeDir::down: return SnakeDir::up;
    case SnakeDir::left: return SnakeDir::right;
    case SnakeDir::right: return SnakeDir::left;
    }
    return d;
}

} // namespace

std::vector<SnakePoint> SnakeEngine::startBody()
{
    return {{4, 5}, {3, 5}, {2, 5}};
}

double SnakeEngine::gapForScore(qint64 score)
{
    return std::max(StartGap - 0.004 * double(score), 0.07);
}

SnakeEngine::SnakeEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler, Random *random,
                         QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
    , m_frame(this->scheduler(), this->clock())
{
    // Each apple takes a cell: no run eats more apples than the grid has.
    m_best = readRecord(BestKey, qint64(Columns) * Rows);
    m_snake = startBody();
    m_apple = spawnApple();
    rebuildCells();
}

void SnakeEngine::reset()
{
    stopTimer();
    setPhase(Phase::howto);
    setScore(0);
    setDir(SnakeDir::right);
    m_queued.reset();
    m_tickGap = StartGap;
    m_snake = startBody();
    m_apple = spawnApple();
    rebuildCells();
}

void SnakeEngine::newRun(SnakeDir heading)
{
    stopTimer();
    setScore(0);
    setDir(heading);
    m_queued.reset();
    m_tickGap = StartGap;
    m_snake = startBody();
    m_apple = spawnApple();
    rebuildCells();
    setPhase(Phase::running);
    startTimer();
}

void SnakeEngine::start()
{
    if (m_phase == Phase::running) {
        resume();
        return;
    }
    newRun(SnakeDir::right);
}

void SnakeEngine::turn(SnakeDir d)
{
    switch (m_phase) {
    case Phase::howto:
        break;
    case Phase::running:
        // Checked against the heading in force, so no single press can
        // turn the head back into the neck, whatever waits in the queue.
        if (d != opposite(m_dir))
            m_queued = d;
        break;
    case Phase::ready:
    case Phase::over:
        // The start body lies left of the head: a new run cannot go left.
        newRun(d == SnakeDir::left ? SnakeDir::right : d);
        break;
    }
}

void SnakeEngine::stopTimer()
{
    m_frame.stop();
}

void SnakeEngine::resume()
{
    if (m_phase == Phase::running && !m_frame.isRunning())
        startTimer();
}

void SnakeEngine::startTimer()
{
    m_frame.start(int(std::lround(m_tickGap * 1000.0)), [this] { step(); });
}

SnakePoint SnakeEngine::spawnApple()
{
    std::vector<SnakePoint> free;
    free.reserve(Columns * Rows);
    for (qint64 y = 0; y < Rows; ++y) {
        for (qint64 x = 0; x < Columns; ++x) {
            const SnakePoint p{x, y};
            if (std::find(m_snake.begin(), m_snake.end(), p) == m_snake.end())
                free.push_back(p);
        }
    }
    if (free.empty())
        return fallbackApple();
    return free[size_t(random().below(int(free.size())))];
}

void SnakeEngine::step()
{
    if (m_phase != Phase::running)
        return;
    SnakePoint head = m_snake.front();
    if (m_queued) {
        setDir(*m_queued);
        m_queued.reset();
    }
    switch (m_dir) {
    case SnakeDir::left: --head.x; break;
    case SnakeDir::right: ++head.x; break;
    case SnakeDir::up: --head.y; break;
    case SnakeDir::down: ++head.y; break;
    }
    if (head.x < 0 || head.x >= Columns || head.y < 0 || head.y >= Rows) {
        gameOver();
        return;
    }
    // The tail counts too, even though it would move away in this step.
    if (std::find(m_snake.begin(), m_snake.end(), head) != m_snake.end()) {
        gameOver();
        return;
    }
    m_snake.insert(m_snake.begin(), head);
    if (head == m_apple) {
        setScore(m_score + 1);
        if (m_best < m_score) {
            m_best = m_score;
            writeRecord(BestKey, m_best);
            emit bestChanged();
        }
        m_apple = spawnApple();
        m_tickGap = gapForScore(m_score);
        startTimer();
    } else {
        m_snake.pop_back();
    }
    rebuildCells();
}

void SnakeEngine::gameOver()
{
    stopTimer();
    setPhase(Phase::over);
}

void SnakeEngine::setBoard(const std::vector<SnakePoint> &snake, SnakePoint apple)
{
    m_snake = snake;
    m_apple = apple;
    rebuildCells();
}

void SnakeEngine::setScore(qint64 score)
{
    if (m_score == score)
        return;
    m_score = score;
    emit scoreChanged();
}

void SnakeEngine::rebuildCells()
{
    QList<int> cells(Columns * Rows, Empty);
    auto at = [](const SnakePoint &p) { return int(p.y) * Columns + int(p.x); };
    auto inside = [](const SnakePoint &p) { return p.x >= 0 && p.x < Columns && p.y >= 0 && p.y < Rows; };
    for (size_t i = 0; i < m_snake.size(); ++i) {
        if (inside(m_snake[i]))
            cells[at(m_snake[i])] = i == 0 ? Head : Body;
    }
    if (inside(m_apple))
        cells[at(m_apple)] = Apple;
    m_cells = cells;
    emit boardChanged();
}

void SnakeEngine::setPhase(Phase p)
{
    if (m_phase == p)
        return;
    m_phase = p;
    emit phaseChanged();
}

void SnakeEngine::setDir(SnakeDir d)
{
    if (m_dir == d)
        return;
    m_dir = d;
    emit dirChanged();
}

bool SnakeEngine::handleKey(const KeyInput &key)
{
    using namespace KeyCode;
    if (phase() == Phase::howto)
        return false;
    std::optional<SnakeDir> dir;
    switch (key.keyCode) {
    case W: case UpArrow: dir = SnakeDir::up; break;
    case S: case DownArrow: dir = SnakeDir::down; break;
    case A: case LeftArrow: dir = SnakeDir::left; break;
    case D: case RightArrow: dir = SnakeDir::right; break;
    case Space: break;
    default: return false;
    }
    // Out of a run these keys start one, but only freshly pressed: a held
    // arrow steers a run and starts none.
    if (key.autoRepeat && phase() != Phase::running)
        return true;
    if (dir)
        turn(*dir);
    else if (phase() != Phase::running)
        start();
    return true;
}
