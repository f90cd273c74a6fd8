#include "games/action/pongpointerprobe.h"

#include "platform/pointer.h"

#include <QQmlEngine>
#include <QQuickWindow>

namespace {
const char *pointerProperty = "_pavletProbePointer";
const char *schedulerProperty = "_pavletProbeScheduler";
} // namespace

PongPointerProbe::PongPointerProbe(QQuickItem *parent) : QQuickItem(parent)
{
    setAcceptedMouseButtons(Qt::NoButton);
    setAcceptHoverEvents(false);
}

void PongPointerProbe::setSource(QQmlEngine *engine, const platform::IPointerLocation *pointer, Scheduler *scheduler)
{
    engine->setProperty(pointerProperty, QVariant::fromValue(reinterpret_cast<quintptr>(pointer)));
    engine->setProperty(schedulerProperty, QVariant::fromValue(reinterpret_cast<quintptr>(scheduler)));
}

bool PongPointerProbe::steers(double x, double width, double height)
{
    return height > 1 && x > -Margin && x < width + Margin;
}

void PongPointerProbe::componentComplete()
{
    QQuickItem::componentComplete();
    if (QQmlEngine *engine = qmlEngine(this)) {
        m_pointer = reinterpret_cast<const platform::IPointerLocation *>(engine->property(pointerProperty).value<quintptr>());
        m_scheduler = reinterpret_cast<Scheduler *>(engine->property(schedulerProperty).value<quintptr>());
    }
    restartPolling();
}

void PongPointerProbe::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemSceneChange || change == ItemVisibleHasChanged)
        restartPolling();
}

void PongPointerProbe::restartPolling()
{
    const bool was = polling();
    m_task.cancel();
    if (m_pointer && m_scheduler && window() && isVisible()) {
        m_task = m_scheduler->everyAtRate(PerSecond, [this] { poll(); });
    }
    if (was != polling())
        emit pollingChanged();
}

void PongPointerProbe::poll()
{
    if (!m_pointer || !window() || height() <= 1)
        return;
    const QPointF local = mapFromGlobal(m_pointer->position());
    if (steers(local.x(), width(), height()))
        emit moved(local.y(), height());
}
