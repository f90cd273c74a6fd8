#include "home/timerrowstate.h"

#include "services/timerstore.h"

void TimerRowState::setTimer(TimerStore *timer)
{
    if (m_timer == timer)
        return;
    disconnect(m_running);
    m_timer = timer;
    if (timer)
        m_running = connect(timer, &TimerStore::isRunningChanged, this, &TimerRowState::runningChanged);
    emit timerChanged();
}

void TimerRowState::setDraft(const QString &draft)
{
    if (m_draft == draft)
        return;
    m_draft = draft;
    emit draftChanged();
}

void TimerRowState::setEditing(bool editing)
{
    if (m_editing == editing)
        return;
    m_editing = editing;
    emit editingChanged();
}

void TimerRowState::begin()
{
    if (!m_timer || m_timer->isRunning())
        return;
    setDraft(m_timer->display());
    setEditing(true);
}

void TimerRowState::commit()
{
    if (!m_editing)
        return;
    setEditing(false);
    if (!m_timer)
        return;
    if (const auto seconds = TimerStore::parseDuration(m_draft))
        m_timer->setDuration(*seconds);
}

void TimerRowState::runningChanged()
{
    // Starting drops whatever was typed.
    if (m_timer && m_timer->isRunning())
        setEditing(false);
}
