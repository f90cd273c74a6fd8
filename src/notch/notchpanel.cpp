#include "notch/notchpanel.h"

#include "notch/notchgeometry.h"
#include "platform/islandwindowhints.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QPlatformSurfaceEvent>
#include <QRegion>
#include <QTransform>
#include <QSurfaceFormat>

#include <cmath>

namespace {
// Room kept around an animated frame for the springs' slight overshoot.
constexpr int animationMargin = 16;
// Room around a floating island for its shadow (radius 10, 3 down).
constexpr int shadowRoom = 14;
} // namespace

NotchPanel::NotchPanel(platform::IIslandWindowHints *hints, QWindow *parent)
    : QQuickWindow(parent), m_hints(hints)
{
    setObjectName(QStringLiteral("NotchPanel"));
    setTitle(QStringLiteral("Pavlet Island"));
    setFlags(Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint
             | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
    // See-through around the outline where a compositor runs.
    QSurfaceFormat format = requestedFormat();
    format.setAlphaBufferSize(8);
    setFormat(format);
    setColor(Qt::transparent);
}

NotchPanel::~NotchPanel()
{
    delete m_content;
    delete m_viewsAhead;
    delete m_panelsAhead;
}

void NotchPanel::exposeEvent(QExposeEvent *event)
{
    QQuickWindow::exposeEvent(event);
    // Exposed means mapped, and so managed by the window manager.
    if (isExposed() && !m_mappedHinted && m_hints) {
        m_mappedHinted = true;
        m_hints->apply(this, true);
        m_hints->keepOnTop(this, [this] { return m_stackedAbove.data(); }, [this] { bringToFront(); });
    }
}

bool NotchPanel::event(QEvent *e)
{
    // The island is no window to close: a window manager's close (Alt+F4
    // once the island has the focus, a pager's close) would destroy it for
    // the rest of the run, with nothing left on screen to click. The
    // program hides it itself when it quits.
    if (e->type() == QEvent::Close) {
        e->ignore();
        return true;
    }
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

void NotchPanel::present(const QRect &g, const QRectF &island)
{
    const bool moves = geometry() != g;
    if (moves && m_hints)
        m_hints->beginFrameChange(this);
    if (moves)
        setGeometry(g);
    if (island != m_islandRect) {
        m_islandRect = island;
        emit islandRectChanged();
    }
    updateMask();
    if (moves && m_hints)
        m_hints->endFrameChange(this);
}

void NotchPanel::applyFrame(const QRectF &frame, bool animating, double cornerRadius)
{
    if (cornerRadius != m_cornerRadius) {
        m_cornerRadius = cornerRadius;
        emit outlineChanged();
    }
    const QRectF onScreen = ScreenSpace::flip(frame, m_primaryHeight);
    QRect g = geometry();
    if (!animating) {
        // At rest the window fits the island, with room for the floating
        // island's shadow.
        const int room = m_floating ? shadowRoom : 0;
        g = QRect(QPoint(int(std::floor(onScreen.x())), int(std::floor(onScreen.y()))),
                  QSize(int(std::ceil(onScreen.width())), int(std::ceil(onScreen.height()))))
                .adjusted(-room, -room, room, room);
    } else if (!g.contains(onScreen.toAlignedRect())) {
        g = g.united(onScreen.toAlignedRect())
                .adjusted(-animationMargin, -animationMargin, animationMargin, animationMargin);
    }
    present(g, onScreen.translated(-g.topLeft()));
}

void NotchPanel::prepareAnimation(const QRectF &from, const QRectF &to)
{
    const QRect a = ScreenSpace::flip(from, m_primaryHeight).toAlignedRect();
    const QRect b = ScreenSpace::flip(to, m_primaryHeight).toAlignedRect();
    const QRect room = a.united(b).adjusted(-animationMargin, -animationMargin, animationMargin, animationMargin);
    if (!geometry().contains(room)) {
        const QRect g = geometry().united(room);
        present(g, m_islandRect.translated(geometry().topLeft() - g.topLeft()));
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
    // The outline in logical pixels for Qt, and in the screen's own for the
    // window system, where a scale factor would double every step of it.
    auto outline = [&](double scale) {
        QRegion region(QTransform::fromScale(scale, scale).map(path.toFillPolygon()).toPolygon());
        region &= QRegion(QRect(QPoint(0, 0), (QSizeF(size()) * scale).toSize()));
        return region.isEmpty() ? QRegion(0, 0, 1, 1) : region;
    };
    const QRegion region = outline(1);
    const double dpr = devicePixelRatio();
    const QRegion device = dpr == 1 ? region : outline(dpr);
    if (mask() == region && m_deviceMask == device)
        return;
    setMask(region);
    m_deviceMask = device;
    if (m_hints)
        m_hints->shapeChanged(this, device);
}

void NotchPanel::bringToFront()
{
    if (m_stackedBelow && m_stackedBelow->isVisible())
        m_stackedBelow->raise();
    raise();
    if (m_stackedAbove && m_stackedAbove->isVisible())
        m_stackedAbove->raise();
}

void NotchPanel::setAcceptsFocus(bool accepts)
{
    if (accepts == !(flags() & Qt::WindowDoesNotAcceptFocus))
        return;
    // What took the keyboard gives it back: the collapsed island never keeps it.
    if (m_hints && accepts)
        m_hints->keyboardTaken(this);
    setFlag(Qt::WindowDoesNotAcceptFocus, !accepts);
    if (m_hints && !accepts)
        m_hints->keyboardReleased(this);
}

void NotchPanel::makeKey()
{
    setAcceptsFocus(true);
    requestActivate();
}

bool NotchPanel::loadContent(QQmlEngine *engine, const QUrl &url, QVariantMap inputs)
{
    QQmlComponent component(engine, url);
    if (!component.isReady()) {
        qWarning().noquote() << component.errorString();
        return false;
    }
    inputs.insert(QStringLiteral("panel"), QVariant::fromValue<QObject *>(this));
    QObject *object = component.createWithInitialProperties(inputs);
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item) {
        qWarning().noquote() << component.errorString();
        delete object;
        return false;
    }
    delete m_content;
    m_content = item;
    item->setParentItem(contentItem());
    // Asynchronous loaders build their items between this window's frames.
    if (!engine->incubationController())
        engine->setIncubationController(incubationController());
    // Once the island is on screen, compile the views it opens from rest,
    // off the main thread, so that no first opening waits for the compiler.
    // The panels reached from Home follow once Home has shown.
    m_engine = engine;
    connect(this, &QQuickWindow::frameSwapped, this, [this] {
        compileAhead(QUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/notch/IslandViewsAhead.qml")), &m_viewsAhead);
    }, Qt::ConnectionType(Qt::SingleShotConnection | Qt::QueuedConnection));
    return true;
}

void NotchPanel::compilePanelsAhead()
{
    if (m_panelsAheadAsked)
        return;
    m_panelsAheadAsked = true;
    QMetaObject::invokeMethod(this, [this] {
        compileAhead(QUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/notch/PanelViewsAhead.qml")), &m_panelsAhead);
    }, Qt::QueuedConnection);
}

void NotchPanel::compileAhead(const QUrl &url, QPointer<QObject> *into)
{
    if (!m_engine || *into)
        return;
    auto *component = new QQmlComponent(m_engine, url, QQmlComponent::Asynchronous, this);
    auto done = [component, into] {
        if (component->isLoading())
            return;
        if (component->isReady())
            *into = component->create();
        else if (component->isError())
            qWarning().noquote() << component->errorString();
        component->deleteLater();
    };
    if (component->isLoading())
        connect(component, &QQmlComponent::statusChanged, this, done);
    else
        done();
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
