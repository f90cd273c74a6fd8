#include "island/blinkloop.h"

#include "look/animationclock.h"
#include "island/decorations.h"

#include <QQmlEngine>
#include <cmath>

BlinkLoop::BlinkLoop(QObject *parent) : QObject(parent) {}

int BlinkLoop::closeMs() const { return int(std::lround(Decorations::blinkCloseSeconds * 1000)); }
int BlinkLoop::openAnimMs() const { return int(std::lround(Decorations::blinkOpenAnimSeconds * 1000)); }

void BlinkLoop::componentComplete()
{
    if (!m_scheduler) {
        if (AnimationClock *clock = AnimationClock::forEngine(qmlEngine(this)))
            setScheduler(clock->scheduler());
    }
}

void BlinkLoop::setScheduler(Scheduler *scheduler)
{
    m_scheduler = scheduler;
    restart();
}

void BlinkLoop::setRunning(bool running)
{
    if (m_running == running)
        return;
    m_running = running;
    restart();
    emit runningChanged();
}

void BlinkLoop::restart()
{
    m_task.cancel();
    setBlink(false);
    if (!m_running || !m_scheduler)
        return;
    m_task = m_scheduler->after(openMs, [this] {
        setBlink(true);
        m_task = m_scheduler->after(closedMs, [this] { restart(); });
    });
}

void BlinkLoop::setBlink(bool blink)
{
    if (m_blink == blink)
        return;
    m_blink = blink;
    emit blinkChanged();
}
