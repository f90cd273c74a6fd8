#include "look/wheelpasson.h"

#include <QWheelEvent>

namespace {

// Flickable's flickableDirection flags.
constexpr int horizontalFlick = 0x1;
constexpr int verticalFlick = 0x2;
constexpr int autoFlickDirections = 0x0C;

bool isFlickable(const QObject *item)
{
    return item && item->inherits("QQuickFlickable");
}

} // namespace

WheelPassOn::WheelPassOn(QObject *parent)
    : QObject(parent)
{
}

void WheelPassOn::setView(QQuickItem *view)
{
    if (view == m_view)
        return;
    if (m_view) {
        m_view->removeEventFilter(this);
        disconnect(m_view, nullptr, this, nullptr);
    }
    m_view = view;
    if (view) {
        view->installEventFilter(this);
        if (!isFlickable(view) && view->metaObject()->indexOfSignal("contentItemChanged()") >= 0)
            connect(view, SIGNAL(contentItemChanged()), this, SLOT(findFlickable()));
    }
    findFlickable();
    emit viewChanged();
}

void WheelPassOn::findFlickable()
{
    QQuickItem *flickable = m_view && !isFlickable(m_view) ? m_view->property("contentItem").value<QQuickItem *>()
                                                             : nullptr;
    if (!isFlickable(flickable))
        flickable = nullptr;
    if (flickable == m_flickable)
        return;
    if (m_flickable)
        m_flickable->removeEventFilter(this);
    m_flickable = flickable;
    // The flickable is watched too: some wheels (a touchpad's pixels) it
    // keeps even at its ends.
    if (flickable)
        flickable->installEventFilter(this);
}

bool WheelPassOn::canScroll(const QObject *flickable, QPoint angle)
{
    if (!isFlickable(flickable) || !flickable->property("interactive").toBool())
        return false;
    const int direction = flickable->property("flickableDirection").toInt();
    const bool automatic = direction == 0 || (direction & autoFlickDirections) != 0;
    const auto moves = [&](int delta, int flag, const char *atStart, const char *atEnd) {
        if (delta == 0 || (!automatic && !(direction & flag)))
            return false;
        return !flickable->property(delta > 0 ? atStart : atEnd).toBool();
    };
    return moves(angle.y(), verticalFlick, "atYBeginning", "atYEnd")
        || moves(angle.x(), horizontalFlick, "atXBeginning", "atXEnd");
}

bool WheelPassOn::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel || (watched != m_view && watched != m_flickable))
        return false;
    auto *wheel = static_cast<QWheelEvent *>(event);
    const QPoint angle = wheel->angleDelta().isNull() ? wheel->pixelDelta() : wheel->angleDelta();
    // The start and end of a touchpad's gesture move nothing: the flickable
    // keeps them.
    if (angle.isNull() || canScroll(m_flickable ? m_flickable.data() : m_view.data(), angle))
        return false;
    // Unaccepted, the wheel goes on to the items under this one.
    wheel->ignore();
    return true;
}
