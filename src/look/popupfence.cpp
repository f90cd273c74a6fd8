#include "look/popupfence.h"

#include <QQuickWindow>

#include <cmath>

namespace {

// The popup behind one of the popup layer's items (its dimming backdrops
// have none).
QObject *popupOf(QQuickItem *item)
{
    QObject *owner = item ? item->parent() : nullptr;
    return owner && owner->inherits("QQuickPopup") ? owner : nullptr;
}

QMarginsF marginsOf(const QObject *popup)
{
    return QMarginsF(popup->property("leftMargin").toReal(), popup->property("topMargin").toReal(),
                     popup->property("rightMargin").toReal(), popup->property("bottomMargin").toReal());
}

void setMargins(QObject *popup, const QMarginsF &margins)
{
    popup->setProperty("leftMargin", margins.left());
    popup->setProperty("topMargin", margins.top());
    popup->setProperty("rightMargin", margins.right());
    popup->setProperty("bottomMargin", margins.bottom());
}

} // namespace

PopupFence::PopupFence(QObject *parent)
    : QObject(parent)
{
}

PopupFence::~PopupFence()
{
    releaseAll();
}

QMarginsF PopupFence::marginsFor(const QRectF &bounds, double cornerRadius, const QSizeF &window)
{
    // A rectangle whose corner stays this far from both edges of a rounded
    // corner lies inside the rounding; one more pixel for the edge's
    // smoothing.
    const double inset = std::ceil(std::max(0.0, cornerRadius) * (1 - std::sqrt(0.5))) + 1;
    return QMarginsF(bounds.left() + inset, bounds.top() + inset,
                     window.width() - bounds.right() + inset, window.height() - bounds.bottom() + inset);
}

QObject *PopupFence::popupEscapeCloses(QQuickWindow *window)
{
    // Popup.CloseOnEscape.
    constexpr int closeOnEscape = 0x10;
    QObject *top = nullptr;
    double topZ = 0;
    for (QQuickItem *layer : window ? window->contentItem()->childItems() : QList<QQuickItem *>()) {
        if (!layer->inherits("QQuickOverlay"))
            continue;
        for (QQuickItem *item : layer->childItems()) {
            QObject *popup = popupOf(item);
            if (!popup || popup->inherits("QQuickToolTip") || !popup->property("opened").toBool()
                || !(popup->property("closePolicy").toInt() & closeOnEscape))
                continue;
            if (!top || item->z() >= topZ) {
                top = popup;
                topZ = item->z();
            }
        }
    }
    return top;
}

void PopupFence::setWindow(QQuickWindow *window)
{
    if (window == m_window)
        return;
    disconnect(m_windowConnection);
    m_window = window;
    if (window) {
        m_windowConnection = connect(window->contentItem(), &QQuickItem::childrenChanged, this,
                                     &PopupFence::findOverlay);
    }
    emit windowChanged();
    findOverlay();
}

void PopupFence::findOverlay()
{
    QQuickItem *overlay = nullptr;
    if (m_window) {
        for (QQuickItem *child : m_window->contentItem()->childItems()) {
            if (child->inherits("QQuickOverlay"))
                overlay = child;
            // The layer joins the window while it is still being made, when
            // it cannot be told from any other item yet; it can once its
            // first popup joins it.
            else
                connect(child, &QQuickItem::childrenChanged, this, &PopupFence::findOverlay, Qt::UniqueConnection);
        }
    }
    setOverlay(overlay);
}

void PopupFence::setOverlay(QQuickItem *overlay)
{
    if (overlay == m_overlay)
        return;
    releaseAll();
    for (const auto &c : std::as_const(m_overlayConnections))
        disconnect(c);
    m_overlayConnections.clear();
    m_overlay = overlay;
    if (overlay) {
        m_overlayConnections << connect(overlay, &QQuickItem::childrenChanged, this, &PopupFence::refit)
                             << connect(overlay, &QQuickItem::widthChanged, this, &PopupFence::refit)
                             << connect(overlay, &QQuickItem::heightChanged, this, &PopupFence::refit);
    }
    refit();
}

void PopupFence::setBounds(const QRectF &bounds)
{
    if (bounds == m_bounds)
        return;
    m_bounds = bounds;
    emit boundsChanged();
    refit();
}

void PopupFence::setCornerRadius(double radius)
{
    if (radius == m_cornerRadius)
        return;
    m_cornerRadius = radius;
    emit cornerRadiusChanged();
    refit();
}

void PopupFence::refit()
{
    QList<QObject *> shown;
    if (m_overlay) {
        for (QQuickItem *child : m_overlay->childItems()) {
            if (QObject *popup = popupOf(child))
                shown << popup;
        }
    }
    for (QObject *popup : m_fenced.keys()) {
        if (!shown.contains(popup))
            release(popup);
    }
    if (shown.isEmpty() || m_bounds.isEmpty())
        return;
    const QSizeF window = m_overlay->window() ? QSizeF(m_overlay->window()->size())
                                              : m_overlay->size();
    const QMarginsF margins = marginsFor(m_bounds, m_cornerRadius, window);
    for (QObject *popup : std::as_const(shown)) {
        if (!m_fenced.contains(popup)) {
            m_fenced.insert(popup, marginsOf(popup));
            connect(popup, &QObject::destroyed, this, [this, popup] { m_fenced.remove(popup); });
        }
        setMargins(popup, margins);
    }
}

void PopupFence::release(QObject *popup)
{
    const auto it = m_fenced.constFind(popup);
    if (it == m_fenced.cend())
        return;
    const QMarginsF before = it.value();
    m_fenced.erase(it);
    disconnect(popup, &QObject::destroyed, this, nullptr);
    setMargins(popup, before);
}

void PopupFence::releaseAll()
{
    for (QObject *popup : m_fenced.keys())
        release(popup);
}
