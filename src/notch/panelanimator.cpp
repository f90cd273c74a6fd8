#include "notch/panelanimator.h"

#include "core/clock.h"
#include "notch/notchgeometry.h"

#include <algorithm>
#include <cmath>

using ScreenSpace::maxY;

void PanelAnimator::seed(const QRectF &f)
{
    m_w = {f.width(), 0};
    m_h = {f.height(), 0};
    m_x = {f.center().x(), 0};
    m_top = {maxY(f), 0};
}

void PanelAnimator::jump(const QRectF &f)
{
    stop();
    seed(f);
    m_targetW = f.width();
    m_targetH = f.height();
    m_targetX = f.center().x();
    m_targetTop = maxY(f);
}

void PanelAnimator::setCornerRadius(double target, bool animated)
{
    m_targetR = target;
    if (!animated)
        m_r = {target, 0};
}

bool PanelAnimator::animateTo(const QRectF &f, const QRectF &current)
{
    if (!m_running) {
        const bool near = std::abs(m_targetR - m_r.value) < startThreshold
            && std::abs(f.width() - current.width()) < startThreshold
            && std::abs(f.height() - current.height()) < startThreshold
            && std::abs(f.center().x() - current.center().x()) < startThreshold
            && std::abs(maxY(f) - maxY(current)) < startThreshold;
        if (near)
            return false;
    }
    m_targetW = f.width();
    m_targetH = f.height();
    m_targetX = f.center().x();
    m_targetTop = maxY(f);
    if (m_running)
        return false;
    seed(current);
    m_lastTime = 0;
    m_running = true;
    return true;
}

PanelAnimator::Step PanelAnimator::step(double now, const QSizeF &minSize)
{
    double dt = m_lastTime == 0 ? firstStep : now - m_lastTime;
    m_lastTime = now;
    if (dt > maxStep)
        dt = maxStep;
    if (dt <= minStep)
        dt = minStep;
    m_w.step(m_targetW, dt);
    m_h.step(m_targetH, dt);
    m_x.step(m_targetX, dt);
    m_top.step(m_targetTop, dt);
    m_r.step(m_targetR, dt);

    const double w = std::max(m_w.value, minSize.width());
    const double h = std::max(m_h.value, minSize.height());
    Step out;
    out.frame = QRectF(m_x.value - w / 2, m_top.value - h, w, h);
    out.cornerRadius = std::max(m_r.value, 0.0);
    auto rests = [](const IslandSpring &s, double target) {
        return std::abs(s.value - target) < settleDistance && std::abs(s.vel) < settleSpeed;
    };
    out.settled = rests(m_w, m_targetW) && rests(m_h, m_targetH) && rests(m_x, m_targetX)
        && rests(m_top, m_targetTop) && rests(m_r, m_targetR);
    return out;
}

void PanelAnimator::stop()
{
    m_running = false;
    m_lastTime = 0;
}

QRectF PanelAnimator::targetRect() const
{
    return QRectF(m_targetX - m_targetW / 2, m_targetTop - m_targetH, m_targetW, m_targetH);
}

PanelFrameDriver::PanelFrameDriver(Clock *clock, Scheduler *scheduler, int tickMs, QObject *parent)
    : QObject(parent), m_clock(clock), m_scheduler(scheduler), m_tickMs(tickMs)
{
}

void PanelFrameDriver::setFrame(const QRectF &f, bool animated)
{
    if (!animated) {
        stop();
        m_animator.jump(f);
        m_animator.setCornerRadius(m_radius, false);
        m_current = f;
        m_currentRadius = m_radius;
        emit frameChanged(f, false, m_radius);
        return;
    }
    m_animator.setCornerRadius(m_radius, true);
    if (!m_animator.animateTo(f, m_current)) {
        if (m_animator.isRunning())
            emit animationStarted(m_current, m_animator.targetRect());
        return;
    }
    emit animationStarted(m_current, m_animator.targetRect());
    m_ticker = m_scheduler->every(m_tickMs, [this] { tick(); });
}

void PanelFrameDriver::tick()
{
    if (!m_animator.isRunning())
        return;
    const PanelAnimator::Step s = m_animator.step(m_clock->monotonicSeconds(), m_minSize);
    if (!s.settled) {
        m_current = s.frame;
        m_currentRadius = s.cornerRadius;
        emit frameChanged(s.frame, true, s.cornerRadius);
        return;
    }
    // The last frame is the exact target, not the springs' approximation.
    const QRectF target = m_animator.targetRect();
    const double radius = m_animator.cornerRadiusTarget();
    m_animator.jump(target);
    m_animator.setCornerRadius(radius, false);
    m_ticker.cancel();
    m_current = target;
    m_currentRadius = radius;
    emit frameChanged(target, false, radius);
    emit settled(target);
}

void PanelFrameDriver::stop()
{
    m_ticker.cancel();
    m_animator.stop();
}
