#include "games/action/flapengine.h"

#include "core/clock.h"
#include "core/keycodes.h"
#include "core/keyinput.h"
#include "core/random.h"
#include "core/userdefaults.h"
#include "games/action/closedrandom.h"

#include <algorithm>
#include <cmath>

QHash<int, QByteArray> FlapPipe::roles()
{
    return {{Qt::UserRole, "itemId"}, {Qt::UserRole + 1, "x"}, {Qt::UserRole + 2, "gapY"},
            {Qt::UserRole + 3, "scored"}};
}

QVariant FlapPipe::roleValue(int role) const
{
    switch (role - Qt::UserRole) {
    case 0: return id;
    case 1: return x;
    case 2: return gapY;
    case 3: return scored;
    }
    return {};
}

FlapEngine::FlapEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler, Random *random,
                       QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
    , m_model(new RecordListModel<FlapPipe>(this))
    , m_frame(this->scheduler(), this->clock())
{
    m_best = int(readRecord(BestKey, std::numeric_limits<int>::max()));
}

void FlapEngine::reset()
{
    stop();
    setPhase(Phase::ready);
    setScore(0);
    setBird(118, 0);
    setPipes({});
    m_spawnIn = 1.8;
}

void FlapEngine::stop()
{
    m_frame.stop();
    m_frame.clearLastTick();
}

void FlapEngine::start()
{
    setPhase(Phase::running);
    startTimer();
}

void FlapEngine::startTimer()
{
    m_frame.startStepping(FrameTimer::Rate60, StepCap, [this](double dt) { advance(dt); });
}

void FlapEngine::flap()
{
    if (m_phase == Phase::dead)
        reset();
    if (m_phase != Phase::running)
        start();
    if (m_phase == Phase::running)
        setBird(m_birdY, 270);
}

void FlapEngine::setFieldHeight(double height)
{
    if (!(height > 80))
        return;
    if (m_fieldHeight != height) {
        m_fieldHeight = height;
        emit fieldHeightChanged();
    }
    if (m_phase == Phase::ready)
        setBird(0.48 * height, m_birdVy);
}

void FlapEngine::resume()
{
    if (m_phase == Phase::running && !m_frame.isRunning())
        startTimer();
}

std::pair<double, double> FlapEngine::gapRange(double fieldHeight)
{
    if (fieldHeight - 22 - Gap > 22)
        return {22, fieldHeight - 150};
    const double y = std::max((fieldHeight - 128) / 2, 22.0);
    return {y, y};
}

bool FlapEngine::collides(const FlapPipe &pipe, double birdY)
{
    const double bl = BirdX + 6, br = BirdX + BirdSize - 6;
    const double bb = birdY + 6, bt = birdY + BirdSize - 6;
    auto overlaps = [&](double x, double y, double w, double h) {
        return std::min(br, x + w) - std::max(bl, x) > 0 && std::min(bt, y + h) - std::max(bb, y) > 0;
    };
    return overlaps(pipe.x, pipe.gapY + Gap, PipeWidth, 400) || overlaps(pipe.x, pipe.gapY - 400, PipeWidth, 400);
}

void FlapEngine::tick()
{
    advance(m_frame.takeStep(StepCap));
}

void FlapEngine::advance(double dt)
{
    dt = std::min(dt, StepCap);
    if (!(dt > 0) || m_phase != Phase::running)
        return;

    // The eye closes for 1/8 s in every 1.75 s, counted from the reference
    // date like every other clock-driven animation of the island.
    setBlink(qint64(std::floor(clock()->referenceSeconds() * 8)) % 14 == 0);

    const double vy = m_birdVy - 560 * dt;
    setBird(m_birdY + vy * dt, vy);

    if (m_birdY <= 0) {
        setBird(0, m_birdVy);
        die();
        return;
    }
    if (m_birdY >= m_fieldHeight - BirdSize) {
        setBird(m_fieldHeight - BirdSize, m_birdVy);
        die();
        return;
    }

    std::vector<FlapPipe> pipes = m_pipes;
    m_spawnIn -= dt;
    if (m_spawnIn <= 0) {
        const auto [lo, hi] = gapRange(m_fieldHeight);
        pipes.push_back({m_nextID++, 460, lo < hi ? closedUniform(random(), lo, hi) : lo, false});
        m_spawnIn = 1.85;
    }

    const double speed = 148 + 3 * std::min(m_score, 20);
    std::vector<FlapPipe> moved;
    moved.reserve(pipes.size());
    int score = m_score;
    for (FlapPipe p : pipes) {
        p.x -= speed * dt;
        if (!p.scored && p.x + PipeWidth < BirdX) {
            ++score;
            p.scored = true;
        }
        if (p.x + PipeWidth > -30)
            moved.push_back(p);
    }
    setScore(score);
    setPipes(moved);

    for (const FlapPipe &p : m_pipes) {
        if (collides(p, m_birdY)) {
            die();
            return;
        }
    }
}

void FlapEngine::die()
{
    setPhase(Phase::dead);
    stop();
    if (m_score > m_best) {
        m_best = m_score;
        writeRecord(BestKey, m_best);
        emit bestChanged();
    }
}

void FlapEngine::setPipes(const std::vector<FlapPipe> &pipes)
{
    m_pipes = pipes;
    m_model->sync(m_pipes);
}

void FlapEngine::setPhase(Phase p)
{
    if (m_phase == p)
        return;
    m_phase = p;
    emit phaseChanged();
}

void FlapEngine::setScore(int s)
{
    if (m_score == s)
        return;
    m_score = s;
    emit scoreChanged();
}

void FlapEngine::setBird(double y, double vy)
{
    if (m_birdY == y && m_birdVy == vy)
        return;
    m_birdY = y;
    m_birdVy = vy;
    emit birdChanged();
}

void FlapEngine::setBlink(bool b)
{
    if (m_blink == b)
        return;
    m_blink = b;
    emit blinkChanged();
}

bool FlapEngine::handleKey(const KeyInput &key)
{
    if (key.keyCode != KeyCode::Space && key.keyCode != KeyCode::UpArrow)
        return false;
    // A held key flaps on while the bird flies; only a fresh press starts
    // a flight.
    if (key.autoRepeat && phase() != Phase::running)
        return true;
    flap();
    return true;
}
