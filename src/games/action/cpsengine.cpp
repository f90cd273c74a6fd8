#include "games/action/cpsengine.h"

#include "core/clock.h"
#include "core/keycodes.h"
#include "core/keyinput.h"
#include "core/userdefaults.h"

#include <algorithm>
#include <cmath>

QString CPSEngine::bestKey(CPSDuration d)
{
    return QStringLiteral("pavlet.cpsBest.") + QString::number(int(d));
}

CPSEngine::CPSEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler, Random *random, QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
    , m_frame(this->scheduler(), this->clock())
{
    for (CPSDuration d : allCPSDurations) {
        const double v = this->defaults()->doubleValue(bestKey(d), 0.0);
        // A rate no run could give (none, below none, endless) is no best.
        if (v > 0 && std::isfinite(v))
            m_best[d] = v;
    }
}

std::optional<double> CPSEngine::bestFor(CPSDuration d) const
{
    const auto it = m_best.find(d);
    if (it == m_best.end())
        return std::nullopt;
    return it->second;
}

QVariantMap CPSEngine::bestMap() const
{
    QVariantMap out;
    for (const auto &[d, v] : m_best)
        out.insert(QString::number(int(d)), v);
    return out;
}

QString CPSEngine::bestSummary() const
{
    for (CPSDuration d : allCPSDurations) {
        const auto v = bestFor(d);
        if (v && *v > 0)
            return QString::asprintf("%.1f", *v);
    }
    return {};
}

void CPSEngine::reset()
{
    stop();
    setPhase(Phase::howto);
    clearCounters();
    setRemaining(length());
}

void CPSEngine::stop()
{
    m_frame.stop();
    m_startedAt.reset();
}

void CPSEngine::clearCounters()
{
    setClicks(0);
    setCps(0);
    setLastCPS(0);
    setIsNewBest(false);
}

void CPSEngine::select(CPSDuration d)
{
    if (m_phase == Phase::running)
        return;
    setDuration(d);
    setRemaining(length());
    if (m_phase == Phase::result) {
        setPhase(Phase::ready);
        clearCounters();
    }
}

void CPSEngine::prepare()
{
    stop();
    clearCounters();
    setRemaining(length());
    setPhase(Phase::ready);
}

void CPSEngine::click()
{
    switch (m_phase) {
    case Phase::howto:
        break;
    case Phase::ready:
        start();
        setClicks(m_clicks + 1);
        updateRate();
        break;
    case Phase::running:
        setClicks(m_clicks + 1);
        updateRate();
        break;
    case Phase::result:
        prepare();
        break;
    }
}

void CPSEngine::resume()
{
    if (m_phase == Phase::running && !m_frame.isRunning())
        prepare();
}

void CPSEngine::start()
{
    setPhase(Phase::running);
    m_startedAt = clock()->monotonicSeconds();
    setRemaining(length());
    m_frame.startAtRate(FrameTimer::Rate30, [this] { tick(); });
}

void CPSEngine::tick()
{
    if (m_phase != Phase::running || !m_startedAt)
        return;
    const double elapsed = clock()->monotonicSeconds() - *m_startedAt;
    setRemaining(std::max(length() - elapsed, 0.0));
    updateRate();
    if (m_remaining <= 0)
        finish();
}

void CPSEngine::updateRate()
{
    setCps(double(m_clicks) / std::max(length() - m_remaining, 0.08));
}

void CPSEngine::finish()
{
    stop();
    const double result = double(m_clicks) / length();
    setLastCPS(result);
    setCps(result);
    setRemaining(0);
    const auto old = bestFor(m_duration);
    const bool beaten = old ? *old < result : result > 0;
    if (beaten) {
        m_best[m_duration] = result;
        defaults()->setDouble(bestKey(m_duration), result);
        emit bestChanged();
    }
    setIsNewBest(beaten);
    setPhase(Phase::result);
}

void CPSEngine::setPhase(Phase p)
{
    if (m_phase == p)
        return;
    m_phase = p;
    emit phaseChanged();
}

void CPSEngine::setDuration(CPSDuration d)
{
    if (m_duration == d)
        return;
    m_duration = d;
    emit durationChanged();
}

void CPSEngine::setClicks(int n)
{
    if (m_clicks == n)
        return;
    m_clicks = n;
    emit clicksChanged();
}

void CPSEngine::setRemaining(double r)
{
    if (m_remaining == r)
        return;
    m_remaining = r;
    emit remainingChanged();
}

void CPSEngine::setCps(double v)
{
    if (m_cps == v)
        return;
    m_cps = v;
    emit cpsChanged();
}

void CPSEngine::setLastCPS(double v)
{
    if (m_lastCPS == v)
        return;
    m_lastCPS = v;
    emit lastCPSChanged();
}

void CPSEngine::setIsNewBest(bool v)
{
    if (m_isNewBest == v)
        return;
    m_isNewBest = v;
    emit isNewBestChanged();
}

bool CPSEngine::handleKey(const KeyInput &key)
{
    if (key.keyCode != KeyCode::Space || phase() == Phase::howto)
        return false;
    // A click is a press: a held key neither counts nor starts a new test.
    if (!key.autoRepeat)
        click();
    return true;
}
