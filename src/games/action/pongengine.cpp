#include "games/action/pongengine.h"

#include "core/clock.h"
#include "core/random.h"
#include "core/userdefaults.h"
#include "games/action/closedrandom.h"

#include <algorithm>
#include <cmath>

const PongEngine::Tuning &PongEngine::tuning(PongDifficulty d)
{
    static const Tuning table[] = {
        {0.62, 3, 1.6, 0.22, 0.24},
        {0.44, 9, 3.4, 0.42, 0.11},
        {0.3, 20, 6.2, 0.62, 0.05},
    };
    return table[std::clamp(int(d), 0, 2)];
}

PongEngine::PongEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler, Random *random,
                       QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
    , m_frame(this->scheduler(), this->clock())
{
    m_wins = readRecord(WinsKey);
}

bool PongEngine::coin()
{
    return random().between(0, 1) == 1;
}

void PongEngine::reset()
{
    stop();
    setPhase(Phase::howto);
    setScores(0, 0);
    setPositions(0.5, 0.5, 0.5, 0.5);
    m_ballVX = 0;
    m_ballVY = 0;
    m_serveToPlayer = coin();
    m_npcAim = 0.5;
}

void PongEngine::stop()
{
    m_frame.stop();
    m_frame.clearLastTick();
    // A serve still waiting out the pause after a point must not bring the
    // match back to life once the games are left.
    m_serveTask.cancel();
}

void PongEngine::newMatch()
{
    setScores(0, 0);
    setPositions(0.5, 0.5, m_ballX, m_ballY);
    m_serveToPlayer = coin();
    serve();
}

void PongEngine::start(PongDifficulty difficulty)
{
    if (m_difficulty != difficulty) {
        m_difficulty = difficulty;
        emit difficultyChanged();
    }
    newMatch();
}

void PongEngine::playAgain()
{
    if (m_phase != Phase::over)
        return;
    newMatch();
}

void PongEngine::backToHowTo()
{
    stop();
    setPhase(Phase::howto);
    setScores(0, 0);
    setPositions(m_playerY, m_npcY, 0.5, 0.5);
}

void PongEngine::resume()
{
    if (m_frame.isRunning() || m_serveTask.isActive())
        return;
    if (m_phase == Phase::playing)
        startTimer();
    else if (m_phase == Phase::serving)
        serve();
}

void PongEngine::movePlayer(double y, double height)
{
    const double h = height < 0 ? m_field.height() : height;
    if (m_phase == Phase::howto || !(h > 0))
        return;
    const double target = std::clamp(y / h, PaddleMin, PaddleMax);
    if (std::abs(target - m_playerY) <= 0.002)
        return;
    setPositions(target, m_npcY, m_ballX, m_ballY);
}

void PongEngine::setField(double width, double height)
{
    if (width > 40 && height > 40)
        m_field = QSizeF(width, height);
}

void PongEngine::serve()
{
    m_serveTask.cancel();
    setPhase(Phase::serving);
    setPositions(m_playerY, m_npcY, 0.5, 0.5);
    m_npcAim = m_npcY;
    m_ballVX = m_serveToPlayer ? -0.4 : 0.4;
    m_ballVY = closedUniform(random(), -0.2, 0.2);
    startTimer();
    setPhase(Phase::playing);
}

void PongEngine::startTimer()
{
    m_frame.startStepping(FrameTimer::Rate60, StepCap, [this](double dt) { advance(dt); });
}

void PongEngine::tick()
{
    advance(m_frame.takeStep(StepCap));
}

void PongEngine::advance(double dt)
{
    dt = std::min(dt, StepCap);
    if (!(dt > 0) || m_phase != Phase::playing)
        return;
    ++m_frames;

    m_ballX += m_ballVX * dt;
    m_ballY += m_ballVY * dt;

    if (m_ballY - BallR <= 0) {
        m_ballY = BallR;
        m_ballVY = std::abs(m_ballVY);
    } else if (m_ballY + BallR >= 1) {
        m_ballY = 1 - BallR;
        m_ballVY = -std::abs(m_ballVY);
    }

    checkPaddle(true, PlayerX, m_playerY);
    checkPaddle(false, NpcX, m_npcY);

    const Tuning &t = tuning(m_difficulty);
    if (m_ballVX > 0 && m_ballX > t.wakeLine && m_frames % t.lapsePeriod != 0) {
        double target = m_ballY;
        if (m_difficulty == PongDifficulty::easy && m_frames % 19 == 0)
            target = closedUniform(random(), 0.18, 0.82);
        target += closedUniform(random(), -t.aimError, t.aimError);
        target = std::clamp(target, PaddleMin, PaddleMax);
        m_npcAim += (target - m_npcAim) * std::min(dt * t.aimRate, 1.0);
    }

    double npcY = m_npcY;
    const double gap = m_npcAim - npcY;
    if (std::abs(gap) > 0.006) {
        const double most = dt * t.paddleSpeed;
        npcY += std::clamp(gap, -most, most);
    }
    npcY = std::clamp(npcY, PaddleMin, PaddleMax);
    m_npcY = npcY;
    emit frameChanged();

    if (m_ballX + BallR < 0) {
        setScores(m_playerScore, m_npcScore + 1);
        pointScored(false);
    } else if (m_ballX - BallR > 1) {
        setScores(m_playerScore + 1, m_npcScore);
        pointScored(true);
    }
}

void PongEngine::checkPaddle(bool isPlayer, double paddleX, double paddleY)
{
    if (isPlayer ? !(m_ballVX < 0) : !(m_ballVX > 0))
        return;
    if (!(std::abs(m_ballX - paddleX) < 0.035) || !(std::abs(m_ballY - paddleY) <= 0.132))
        return;
    const double offset = (m_ballY - paddleY) / 0.11;
    const double speed = std::min(std::hypot(m_ballVX, m_ballVY) + 0.035, 0.88);
    const double dir = isPlayer ? 1.0 : -1.0;
    m_ballVX = dir * speed * 0.94;
    m_ballVY = std::clamp(0.2 * m_ballVY + offset * speed * 0.85, -0.7, 0.7);
    m_ballX = paddleX + dir * 0.037;
}

void PongEngine::pointScored(bool byPlayer)
{
    m_serveToPlayer = !byPlayer;
    if (m_playerScore < WinScore && m_npcScore < WinScore) {
        m_ballVX = 0;
        m_ballVY = 0;
        setPositions(m_playerY, m_npcY, 0.5, 0.5);
        setPhase(Phase::serving);
        // The frame timer keeps running through the pause.
        m_serveTask = scheduler()->after(ServePauseMs, [this] {
            if (m_phase == Phase::serving)
                serve();
        });
        return;
    }
    setPhase(Phase::over);
    stop();
    if (m_playerScore > m_npcScore) {
        ++m_wins;
        writeRecord(WinsKey, m_wins);
        emit winsChanged();
    }
}

void PongEngine::setBall(double x, double y, double vx, double vy)
{
    m_ballVX = vx;
    m_ballVY = vy;
    setPositions(m_playerY, m_npcY, x, y);
}

void PongEngine::setPhase(Phase p)
{
    if (m_phase == p)
        return;
    m_phase = p;
    emit phaseChanged();
}

void PongEngine::setScores(qint64 player, qint64 npc)
{
    if (m_playerScore == player && m_npcScore == npc)
        return;
    m_playerScore = player;
    m_npcScore = npc;
    emit scoreChanged();
}

void PongEngine::setPositions(double playerY, double npcY, double ballX, double ballY)
{
    if (m_playerY == playerY && m_npcY == npcY && m_ballX == ballX && m_ballY == ballY)
        return;
    m_playerY = playerY;
    m_npcY = npcY;
    m_ballX = ballX;
    m_ballY = ballY;
    emit frameChanged();
}
