#include "games/action/dinoengine.h"

#include "core/clock.h"
#include "core/keycodes.h"
#include "core/keyinput.h"
#include "core/random.h"
#include "core/userdefaults.h"
#include "games/action/closedrandom.h"

#include <algorithm>
#include <cmath>

QHash<int, QByteArray> DinoObstacle::roles()
{
    return {{Qt::UserRole, "itemId"},     {Qt::UserRole + 1, "x"},      {Qt::UserRole + 2, "y"},
            {Qt::UserRole + 3, "width"}, {Qt::UserRole + 4, "height"}, {Qt::UserRole + 5, "flying"}};
}

QVariant DinoObstacle::roleValue(int role) const
{
    switch (role - Qt::UserRole) {
    case 0: return id;
    case 1: return x;
    case 2: return y;
    case 3: return width;
    case 4: return height;
    case 5: return flying;
    }
    return {};
}

DinoEngine::DinoEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler, Random *random,
                       QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
    , m_model(new RecordListModel<DinoObstacle>(this))
    , m_frame(this->scheduler(), this->clock())
{
    m_best = int(readRecord(BestKey, std::numeric_limits<int>::max()));
}

void DinoEngine::reset()
{
    stop();
    setPhase(Phase::ready);
    setScore(0);
    setPlayer(0, 0);
    m_obstacles.clear();
    publishObstacles();
    m_spawnIn = 1.05;
    m_speed = 150;
    if (m_distance != 0) {
        m_distance = 0;
        emit groundOffsetChanged();
    }
    setStride(0);
}

void DinoEngine::stop()
{
    m_frame.stop();
    m_frame.clearLastTick();
}

void DinoEngine::start()
{
    setPhase(Phase::running);
    m_frame.startStepping(FrameTimer::Rate60, StepCap, [this](double dt) { advance(dt); });
}

void DinoEngine::jump()
{
    if (m_phase != Phase::running || m_playerY >= 4)
        return;
    setPlayer(4, 410);
}

void DinoEngine::press()
{
    if (m_phase == Phase::dead) {
        reset();
        start();
    } else if (m_phase == Phase::ready) {
        start();
    }
    jump();
}

void DinoEngine::resume()
{
    if (m_phase == Phase::running && !m_frame.isRunning())
        m_frame.startStepping(FrameTimer::Rate60, StepCap, [this](double dt) { advance(dt); });
}

void DinoEngine::tick()
{
    advance(m_frame.takeStep(StepCap));
}

void DinoEngine::advance(double dt)
{
    dt = std::min(dt, StepCap);
    if (!(dt > 0) || m_phase != Phase::running)
        return;
    const double now = clock()->monotonicSeconds();

    m_speed = std::min(150 + 0.55 * m_score, 260.0);

    m_distance += m_speed * dt;
    setScore(int(m_distance / 22));
    emit groundOffsetChanged();

    setStride(m_stride + dt * (m_playerY < 2 ? 12 : 4));

    double vy = m_playerVy - 1720 * dt;
    double y = std::max(m_playerY + vy * dt, 0.0);
    if (y <= 0) {
        y = 0;
        vy = 0;
    }
    setPlayer(y, vy);

    if (!m_blinkUntil || now > *m_blinkUntil) {
        if (closedUnit(random()) < 0.012) {
            setBlink(true);
            m_blinkUntil = now + 0.1;
        } else {
            setBlink(false);
        }
    }

    m_spawnIn -= dt;
    if (m_spawnIn <= 0) {
        spawn();
        m_spawnIn = (0.56 * m_speed + 52 + closedUniform(random(), 28, 108)) / std::max(m_speed, 120.0);
    }

    std::vector<DinoObstacle> moved;
    moved.reserve(m_obstacles.size());
    for (DinoObstacle o : m_obstacles) {
        o.x -= m_speed * dt;
        if (o.x + o.width > -20)
            moved.push_back(o);
    }
    m_obstacles = std::move(moved);
    publishObstacles();

    for (const DinoObstacle &o : m_obstacles) {
        if (collides(o, m_playerY)) {
            die();
            return;
        }
    }
}

bool DinoEngine::collides(const DinoObstacle &o, double playerY)
{
    const double pl = RunnerX + 3, pr = RunnerX + RunnerWidth - 3;
    const double pb = playerY + 3, pt = playerY + RunnerHeight - 3;
    const double ol = o.x + 2, orr = o.x + o.width - 2;
    const double ob = o.y + 1, ot = o.y + o.height - 1;
    const double w = std::min(pr, orr) - std::max(pl, ol);
    const double h = std::min(pt, ot) - std::max(pb, ob);
    return w > 0 && h > 0;
}

void DinoEngine::spawn()
{
    const double prevEdge = m_obstacles.empty() ? 480 : m_obstacles.back().x + m_obstacles.back().width;
    const double entryX = std::max(prevEdge + 0.56 * m_speed + 52, 500.0);

    if (m_score >= 41 && random().between(0, 8) == 0) {
        m_obstacles.push_back({m_nextID++, entryX, closedUniform(random(), 52, 78), 24, 16, true});
        publishObstacles();
        return;
    }
    DinoObstacle first{m_nextID++, entryX, 0, closedUniform(random(), 14, 18), 0, false};
    first.height = closedUniform(random(), 18, 26);
    m_obstacles.push_back(first);
    if (m_score >= 19 && random().between(0, 3) == 0 && 0.4 * m_speed > 58) {
        DinoObstacle second{m_nextID++, 0, 0, 0, 0, false};
        second.x = entryX + first.width + closedUniform(random(), 14, 20);
        second.width = closedUniform(random(), 12, 16);
        second.height = closedUniform(random(), 16, 24);
        m_obstacles.push_back(second);
    }
    publishObstacles();
}

void DinoEngine::die()
{
    setPhase(Phase::dead);
    stop();
    if (m_score > m_best) {
        m_best = m_score;
        writeRecord(BestKey, m_best);
        emit bestChanged();
    }
}

void DinoEngine::setDistance(double distance)
{
    m_distance = distance;
    setScore(int(distance / 22));
    emit groundOffsetChanged();
}

void DinoEngine::setObstacles(const std::vector<DinoObstacle> &obstacles)
{
    m_obstacles = obstacles;
    publishObstacles();
}

void DinoEngine::publishObstacles()
{
    m_model->sync(m_obstacles);
}

void DinoEngine::setPhase(Phase p)
{
    if (m_phase == p)
        return;
    m_phase = p;
    emit phaseChanged();
}

void DinoEngine::setScore(int s)
{
    if (m_score == s)
        return;
    m_score = s;
    emit scoreChanged();
}

void DinoEngine::setPlayer(double y, double vy)
{
    if (m_playerY == y && m_playerVy == vy)
        return;
    m_playerY = y;
    m_playerVy = vy;
    emit playerChanged();
}

void DinoEngine::setBlink(bool b)
{
    if (m_blink == b)
        return;
    m_blink = b;
    emit blinkChanged();
}

void DinoEngine::setStride(double s)
{
    if (m_stride == s)
        return;
    m_stride = s;
    emit strideChanged();
}

bool DinoEngine::handleKey(const KeyInput &key)
{
    // Space or Up starts a run, jumps, and after a crash starts over.
    if (key.keyCode != KeyCode::Space && key.keyCode != KeyCode::UpArrow)
        return false;
    // A held key jumps again and again, but a run starts only on a fresh
    // press: the crash card stays until the key is let go and pressed.
    if (key.autoRepeat && phase() != Phase::running)
        return true;
    switch (phase()) {
    case Phase::ready:
        start();
        break;
    case Phase::running:
        break;
    case Phase::dead:
        reset();
        start();
        break;
    }
    jump();
    return true;
}
