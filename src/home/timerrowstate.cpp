#include "home/timerrowstate.h"

#include "services/timerstore.h"

#include <QMouseEvent>
#include <QQuickWindow>

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

void TimerRowState::setField(QQuickItem *field)
{
    if (m_field == field)
        return;
    m_field = field;
    watchPresses();
    emit fieldChanged();
}

void TimerRowState::setEditing(bool editing)
{
    if (m_editing == editing)
        return;
    m_editing = editing;
    watchPresses();
    emit editingChanged();
}

void TimerRowState::watchPresses()
{
    QWindow *window = m_editing && m_field ? m_field->window() : nullptr;
    if (window == m_watched)
        return;
    if (m_watched)
        m_watched->removeEventFilter(this);
    m_watched = window;
    if (window)
        window->installEventFilter(this);
}

bool TimerRowState::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && m_editing && m_field) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (!m_field->contains(m_field->mapFromScene(press->scenePosition())))
            commit();
    }
    return QObject::eventFilter(watched, event);
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
