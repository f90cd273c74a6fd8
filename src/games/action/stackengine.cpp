#include "games/action/stackengine.h"

#include "core/clock.h"
#include "core/keycodes.h"
#include "core/keyinput.h"
#include "core/userdefaults.h"

#include <algorithm>
#include <cmath>

QHash<int, QByteArray> StackSlab::roles()
{
    return {{Qt::UserRole, "itemId"}, {Qt::UserRole + 1, "x"}, {Qt::UserRole + 2, "width"}};
}

QVariant StackSlab::roleValue(int role) const
{
    switch (role - Qt::UserRole) {
    case 0: return id;
    case 1: return x;
    case 2: return width;
    }
    return {};
}

double StackEngine::speedFor(int slabCount)
{
    return std::min(StartSpeed + 0.035 * slabCount, 1.35);
}

double StackEngine::cameraTarget(int slabCount)
{
    return std::max(slabCount - 6, 0) * RowPitch;
}

QString StackEngine::shoutLine(bool perfect, qint64 score, double fit)
{
    static const QStringList perfectLines = {QStringLiteral("Insane!"),  QStringLiteral("Pixel perfect"),
                                             QStringLiteral("Locked in"), QStringLiteral("Surgical"),
                                             QStringLiteral("Don't blink"), QStringLiteral("Architect"),
                                             QStringLiteral("Chef's kiss")};
    static const QStringList great = {QStringLiteral("That's the one"), QStringLiteral("Clean"),
                                      QStringLiteral("Stack royalty"), QStringLiteral("Butter"),
                                      QStringLiteral("Nailed it")};
    static const QStringList good = {QStringLiteral("Nice"), QStringLiteral("Solid"), QStringLiteral("We'll take it"),
                                     QStringLiteral("Keep going"), QStringLiteral("Respectable")};
    static const QStringList fair = {QStringLiteral("Meh.."), QStringLiteral("Close enough"),
                                     QStringLiteral("Decent"), QStringLiteral("It stays"), QStringLiteral("Mid")};
    static const QStringList thin = {QStringLiteral("Yikes"), QStringLiteral("Barely"), QStringLiteral("Oof"),
                                     QStringLiteral("Trimmed thin"), QStringLiteral("Sweaty")};
    static const QStringList scraps = {QStringLiteral("By a thread"), QStringLiteral("Don't look down"),
                                       QStringLiteral("Drama"), QStringLiteral("Barely"),
                                       QStringLiteral("Yikes..")};
    const QStringList &list = perfect       ? perfectLines
                              : fit >= 0.92 ? great
                              : fit >= 0.78 ? good
                              : fit >= 0.58 ? fair
                              : fit >= 0.4  ? thin
                                            : scraps;
    return list[int(std::max<qint64>(score, 0) % list.size())];
}

StackEngine::StackEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler, Random *random,
                         QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
    , m_model(new RecordListModel<StackSlab>(this))
    , m_frame(this->scheduler(), this->clock())
{
    m_best = readRecord(BestKey);
    m_slabs = {baseSlab()};
    publishSlabs();
}

void StackEngine::freshTower()
{
    setScore(0);
    setCamera(0);
    setPerfect(false);
    setShout(QString());
    m_velocity = StartSpeed;
    m_goingRight = true;
    m_nextID = 1;
    m_slabs = {baseSlab()};
    publishSlabs();
    setMoving(0, baseSlab().width, true);
}

void StackEngine::reset()
{
    stop();
    setPhase(Phase::howto);
    freshTower();
}

void StackEngine::stop()
{
    m_frame.stop();
    m_frame.clearLastTick();
    m_shoutTask.cancel();
    // Its clearing task is gone, so the cheer would otherwise stay up.
    setShout(QString());
}

void StackEngine::start()
{
    if (m_phase == Phase::howto || m_phase == Phase::ready)
        startTimer();
}

void StackEngine::tap()
{
    switch (m_phase) {
    case Phase::howto:
        break;
    case Phase::ready:
        startTimer();
        break;
    case Phase::running:
        placeSlab();
        break;
    case Phase::over:
        freshTower();
        startTimer();
        break;
    }
}

void StackEngine::resume()
{
    if (m_phase == Phase::running && !m_frame.isRunning())
        startTimer();
}

void StackEngine::startTimer()
{
    setPhase(Phase::running);
    m_frame.startStepping(FrameTimer::Rate60, StepCap, [this](double dt) { advance(dt); });
}

void StackEngine::tick()
{
    advance(m_frame.takeStep(StepCap));
}

void StackEngine::advance(double dt)
{
    dt = std::min(dt, StepCap);
    if (!(dt > 0) || m_phase != Phase::running)
        return;
    const double now = clock()->monotonicSeconds();
    if (m_perfectUntil && now > *m_perfectUntil) {
        setPerfect(false);
        m_perfectUntil.reset();
    }

    const double distance = dt * m_velocity;
    double x = m_movingX;
    bool right = m_goingRight;
    if (right) {
        const double limit = std::max(1 - m_movingWidth, 0.08);
        x += distance;
        if (x >= limit) {
            x = limit;
            right = false;
        }
    } else {
        x -= distance;
        if (x <= 0) {
            x = 0;
            right = true;
        }
    }
    setMoving(x, m_movingWidth, right);

    const double target = cameraTarget(int(m_slabs.size()));
    setCamera(m_camera + std::min(dt * 8, 1.0) * (target - m_camera));
}

void StackEngine::placeSlab()
{
    if (m_phase != Phase::running)
        return;
    const StackSlab top = m_slabs.back();
    const double left = std::max(m_movingX, top.x);
    const double right = std::min(m_movingX + m_movingWidth, top.x + top.width);
    const double overlap = right - left;

    if (overlap < ToppleBelow) {
        setPhase(Phase::over);
        stop();
        setShout(QString());
        if (m_score > m_best) {
            m_best = m_score;
            writeRecord(BestKey, m_best);
            emit bestChanged();
        }
        return;
    }

    const double fit = overlap / std::max(top.width, 0.001);
    const bool isPerfect = std::abs(m_movingX - top.x) < PerfectTolerance
                           && std::abs(m_movingWidth - top.width) < PerfectTolerance;
    StackSlab slab;
    if (isPerfect) {
        slab = StackSlab{m_nextID, top.x, top.width};
        setPerfect(true);
        m_perfectUntil = clock()->monotonicSeconds() + PerfectSeconds;
        setScore(m_score + 2);
    } else {
        slab = StackSlab{m_nextID, left, overlap};
        setPerfect(false);
        setScore(m_score + 1);
    }
    ++m_nextID;
    m_slabs.push_back(slab);
    publishSlabs();

    const bool nowRight = !m_goingRight;
    // After a rightward drop the next slab enters at the right.
    setMoving(nowRight ? 0 : std::max(1 - slab.width, 0.0), slab.width, nowRight);
    m_velocity = speedFor(int(m_slabs.size()));
    showShout(shoutLine(isPerfect, m_score, fit));
}

void StackEngine::showShout(const QString &text)
{
    ++m_shoutID;
    m_shout = text;
    emit shoutChanged();
    const qint64 id = m_shoutID;
    m_shoutTask = scheduler()->after(ShoutMs, [this, id] {
        if (m_shoutID == id)
            setShout(QString());
    });
}

void StackEngine::setMoving(double x, double width, bool goingRight)
{
    m_goingRight = goingRight;
    if (m_movingX == x && m_movingWidth == width)
        return;
    m_movingX = x;
    m_movingWidth = width;
    emit movingChanged();
}

void StackEngine::publishSlabs()
{
    m_model->sync(m_slabs);
}

void StackEngine::setPhase(Phase p)
{
    if (m_phase == p)
        return;
    m_phase = p;
    emit phaseChanged();
}

void StackEngine::setScore(qint64 s)
{
    if (m_score == s)
        return;
    m_score = s;
    emit scoreChanged();
}

void StackEngine::setCamera(double c)
{
    if (m_camera == c)
        return;
    m_camera = c;
    emit cameraChanged();
}

void StackEngine::setPerfect(bool p)
{
    if (m_perfect == p)
        return;
    m_perfect = p;
    emit perfectChanged();
}

void StackEngine::setShout(const QString &s)
{
    if (m_shout == s)
        return;
    m_shout = s;
    emit shoutChanged();
}

bool StackEngine::handleKey(const KeyInput &key)
{
    if (key.keyCode != KeyCode::Space)
        return false;
    // A held key places slab after slab, but the next tower waits for a
    // fresh press.
    if (phase() != Phase::howto && !(key.autoRepeat && phase() != Phase::running))
        tap();
    return true;
}
