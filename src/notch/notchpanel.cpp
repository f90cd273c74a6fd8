#include "notch/notchpanel.h"

#include "notch/notchgeometry.h"
#include "platform/islandwindowhints.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QPlatformSurfaceEvent>
#include <QRegion>

#include <cmath>

namespace {
// Room kept around an animated frame for the springs' slight overshoot.
constexpr int animationMargin = 16;
} // namespace

NotchPanel::NotchPanel(IslandWindowHints *hints, QWindow *parent)
    : QQuickWindow(parent), m_hints(hints)
{
    setObjectName(QStringLiteral("NotchPanel"));
    setTitle(QStringLiteral("Pavlet Island"));
    setFlags(Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint
             | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
    setColor(Qt::transparent);
}

NotchPanel::~NotchPanel()
{
    delete m_content;
}

void NotchPanel::exposeEvent(QExposeEvent *event)
{
    QQuickWindow::exposeEvent(event);
    // Exposed means mapped, and so managed by the window manager.
    if (isExposed() && !m_mappedHinted && m_hints) {
        m_mappedHinted = true;
        m_hints->apply(this, true);
    }
}

bool NotchPanel::event(QEvent *e)
{
    // Before the first map the window manager reads the initial state.
    if (e->type() == QEvent::PlatformSurface && !m_hinted && m_hints
        && static_cast<QPlatformSurfaceEvent *>(e)->surfaceEventType() == QPlatformSurfaceEvent::SurfaceCreated) {
        m_hinted = true;
        const bool r = QQuickWindow::event(e);
        m_hints->apply(this, false);
        return r;
    }
    return QQuickWindow::event(e);
}

void NotchPanel::place(const QRect &g)
{
    if (geometry() != g)
        setGeometry(g);
}

void NotchPanel::applyFrame(const QRectF &frame, bool animating)
{
    const QRectF onScreen = ScreenSpace::flip(frame, m_primaryHeight);
    if (!animating) {
        const QRect g(QPoint(int(std::floor(onScreen.x())), int(std::floor(onScreen.y()))),
                      QSize(int(std::ceil(onScreen.width())), int(std::ceil(onScreen.height()))));
        place(g);
    } else if (!geometry().contains(onScreen.toAlignedRect())) {
        place(geometry().united(onScreen.toAlignedRect())
                  .adjusted(-animationMargin, -animationMargin, animationMargin, animationMargin));
    }
    const QRectF inside = onScreen.translated(-geometry().topLeft());
    if (inside != m_islandRect) {
        m_islandRect = inside;
        emit islandRectChanged();
    }
    updateMask();
}

void NotchPanel::prepareAnimation(const QRectF &from, const QRectF &to)
{
    const QRect a = ScreenSpace::flip(from, m_primaryHeight).toAlignedRect();
    const QRect b = ScreenSpace::flip(to, m_primaryHeight).toAlignedRect();
    const QRect room = a.united(b).adjusted(-animationMargin, -animationMargin, animationMargin, animationMargin);
    if (!geometry().contains(room)) {
        const QRectF island = m_islandRect.translated(geometry().topLeft());
        place(geometry().united(room));
        m_islandRect = island.translated(-geometry().topLeft());
        emit islandRectChanged();
        updateMask();
    }
}

void NotchPanel::setOutline(double cornerRadius, bool floating)
{
    if (cornerRadius == m_cornerRadius && floating == m_floating)
        return;
    m_cornerRadius = cornerRadius;
    m_floating = floating;
    emit outlineChanged();
    updateMask();
}

void NotchPanel::updateMask()
{
    // The shape cuts the window to the island's outline: outside it the
    // desktop shows through and takes the clicks, with or without a
    // compositor.
    const QPainterPath path = islandOutlinePath(m_islandRect, m_cornerRadius, m_floating);
    QRegion region(path.toFillPolygon().toPolygon());
    region &= QRegion(QRect(QPoint(0, 0), size()));
    if (region.isEmpty())
        region = QRegion(0, 0, 1, 1);
    if (mask() != region)
        setMask(region);
}

void NotchPanel::setAcceptsFocus(bool accepts)
{
    if (accepts == !(flags() & Qt::WindowDoesNotAcceptFocus))
        return;
    setFlag(Qt::WindowDoesNotAcceptFocus, !accepts);
}

void NotchPanel::makeKey()
{
    setAcceptsFocus(true);
    requestActivate();
}

bool NotchPanel::loadContent(QQmlEngine *engine, const QUrl &url)
{
    QQmlComponent component(engine, url);
    if (!component.isReady()) {
        qWarning().noquote() << component.errorString();
        return false;
    }
    QObject *object = component.createWithInitialProperties({{QStringLiteral("panel"), QVariant::fromValue<QObject *>(this)}});
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item) {
        qWarning().noquote() << component.errorString();
        delete object;
        return false;
    }
    delete m_content;
    m_content = item;
    item->setParentItem(contentItem());
    return true;
}

QList<QUrl> NotchPanel::localFiles(const QList<QUrl> &urls)
{
    QList<QUrl> files;
    for (const QUrl &u : urls) {
        if (u.isLocalFile())
            files << u;
    }
    return files;
}

bool NotchPanel::dragEnter(const QList<QUrl> &urls)
{
    if (localFiles(urls).isEmpty())
        return false;
    m_dragging = true;
    if (m_dropTarget)
        m_dropTarget->fileDragEntered();
    return true;
}

void NotchPanel::dragExit()
{
    m_dragging = false;
    if (m_dropTarget)
        m_dropTarget->fileDragExited();
}

bool NotchPanel::drop(const QList<QUrl> &urls)
{
    m_dragging = false;
    const QList<QUrl> files = localFiles(urls);
    if (files.isEmpty() || !m_dropTarget)
        return false;
    return m_dropTarget->fileDropped(files);
}
