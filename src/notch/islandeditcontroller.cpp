#include "notch/islandeditcontroller.h"

#include "core/logging.h"
#include "island/islandmetrics.h"
#include "notch/notchgeometry.h"
#include "platform/islandwindowhints.h"
#include "platform/screenprovider.h"
#include "store/appsettings.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QRegion>
#include <QSurfaceFormat>

#include <algorithm>
#include <cmath>
#include <QQmlComponent>
#include <QQmlEngine>

namespace {
const QString viewFolder = QStringLiteral("qrc:/qt/qml/Pavlet/src/island/");
}

IslandEditController::IslandEditController(AppSettings *settings, platform::IScreenProvider *screens,
                                           QQmlEngine *engine, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_screens(screens)
    , m_engine(engine)
{
}

IslandEditController::~IslandEditController()
{
    removeObservers();
    delete m_shadeView;
    delete m_controlsView;
}

void IslandEditController::setViewModel(QObject *model)
{
    m_model = model;
}

void IslandEditController::setPhase(IslandEditPhase phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    if (m_observing)
        layoutPanels();
}

void IslandEditController::setHomeContentHeight(double height)
{
    m_homeContentHeight = height;
}

void IslandEditController::begin()
{
    if (m_active) {
        layoutPanels();
        if (m_controls) {
            setAcceptsMouse(m_controls.get(), true);
            m_controls->raise();
            m_controls->requestActivate();
            emit panelsShown(m_shade.get(), m_controls.get());
        }
        return;
    }
    m_active = true;
    emit isActiveChanged();
    emit activeChanged(true);
    buildPanels();
    setAcceptsMouse(m_controls.get(), true);
    layoutPanels();
    // Noted before the controls show: a window manager may give them the
    // keyboard as soon as they do.
    if (m_hints) {
        m_hints->keyboardTaken(m_controls.get());
        // Like the island, no entry of their own in a task bar or a pager.
        m_hints->keepOffTaskBar(m_shade.get());
        m_hints->keepOffTaskBar(m_controls.get());
    }
    m_shade->show();
    m_controls->show();
    m_controls->raise();
    m_controls->requestActivate();
    emit panelsShown(m_shade.get(), m_controls.get());
    installObservers();
}

void IslandEditController::finish()
{
    if (!m_active)
        return;
    m_active = false;
    emit isActiveChanged();
    emit editFinished();
    removeObservers();
    if (m_shade)
        setAcceptsMouse(m_shade.get(), false);
    if (m_controls)
        setAcceptsMouse(m_controls.get(), false);
    // The controls hand the keyboard back (to Settings) before they go.
    if (m_controls && m_hints)
        m_hints->keyboardReleased(m_controls.get());
    if (m_shade)
        m_shade->hide();
    if (m_controls)
        m_controls->hide();
    emit activeChanged(false);
}

void IslandEditController::setAcceptsMouse(QQuickWindow *window, bool accepts)
{
    if (window)
        window->setFlag(Qt::WindowTransparentForInput, !accepts);
}

void IslandEditController::buildPanels()
{
    const Qt::WindowFlags common = Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool;
    // See-through panels: the desktop shows around the ring and the controls.
    auto clear = [](QQuickWindow *window) {
        QSurfaceFormat format = window->format();
        format.setAlphaBufferSize(8);
        window->setFormat(format);
        window->setColor(Qt::transparent);
    };
    if (!m_shade) {
        m_shade = std::make_unique<QQuickWindow>();
        m_shade->setObjectName(shadeId);
        m_shade->setFlags(common | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
        clear(m_shade.get());
    }
    if (!m_controls) {
        m_controls = std::make_unique<QQuickWindow>();
        m_controls->setObjectName(controlsId);
        m_controls->setFlags(common);
        clear(m_controls.get());
    }
    installRootViews();
}

void IslandEditController::installRootViews()
{
    auto make = [this](const QString &file, QQuickWindow *window, QVariantMap properties) -> QQuickItem * {
        if (!window || !m_engine)
            return nullptr;
        QQmlComponent component(m_engine, QUrl(viewFolder + file));
        properties.insert(QStringLiteral("model"), QVariant::fromValue<QObject *>(m_model.data()));
        QObject *object = component.createWithInitialProperties(properties);
        auto *item = qobject_cast<QQuickItem *>(object);
        if (!item) {
            qCWarning(lcApp) << "island editor:" << component.errorString();
            delete object;
            return nullptr;
        }
        item->setParentItem(window->contentItem());
        item->setSize(window->size());
        return item;
    };
    delete m_shadeView;
    delete m_controlsView;
    m_shadeView = make(QStringLiteral("IslandEditShadeView.qml"), m_shade.get(), {});
    m_controlsView = make(QStringLiteral("IslandEditControlsView.qml"), m_controls.get(),
                          {{QStringLiteral("settings"), QVariant::fromValue<QObject *>(m_settings)}});
    if (m_controlsView) {
        connect(m_controlsView, SIGNAL(done()), this, SLOT(finish()));
        connect(m_controlsView, SIGNAL(holdingChanged()), this, SLOT(layoutPanels()));
    }
}

IslandEditLayout::Inputs IslandEditController::layoutInputs() const
{
    IslandEditLayout::Inputs in;
    in.phase = m_phase;
    in.lipOffsetX = IslandMetrics::clampOffset(m_settings->lipOffsetX());
    in.expandedOffsetX = IslandMetrics::clampOffset(m_settings->expandedOffsetX());
    in.homeContentHeight = m_homeContentHeight;
    if (!m_screens)
        return in;
    const std::optional<platform::ScreenInfo> screen = NotchGeometry::notchedScreen(*m_screens);
    if (!screen)
        return in;
    const NotchGeometry geometry(*screen, m_settings->floatingIsland());
    in.screen = screen->frame;
    in.visibleHeight = screen->visibleFrame.height();
    in.notchRect = geometry.notchRect;
    in.floating = geometry.floating;
    return in;
}

IslandEditLayout::Frames IslandEditController::frames() const
{
    return IslandEditLayout::frames(layoutInputs());
}

bool IslandEditController::showsFloatingPill() const
{
    QList<double> insets;
    if (m_screens)
        for (const platform::ScreenInfo &s : m_screens->screens())
            insets.append(s.topInset);
    return IslandEditLayout::showsFloatingPill(m_settings->floatingIsland(), insets);
}

void IslandEditController::layoutPanels()
{
    if (!m_active)
        return;
    const IslandEditLayout::Inputs in = layoutInputs();
    const IslandEditLayout::Frames f = IslandEditLayout::frames(in);
    const double pivot = m_screens ? m_screens->primaryHeight() : 0;
    if (m_shade) {
        m_shade->setGeometry(ScreenSpace::flip(f.shade, pivot).toRect());
        // Without a compositor the see-through parts would show black: the
        // window keeps only the ring's disc (its stroke included).
        const QPointF c = IslandEditLayout::ringCenter(in);
        const int r = int(std::ceil(f.ringRadius)) + 2;
        m_shade->setMask(QRegion(QRect(int(c.x()) - r, int(c.y()) - r, 2 * r, 2 * r), QRegion::Ellipse));
        if (m_shadeView) {
            m_shadeView->setSize(f.shade.size());
            m_shadeView->setProperty("ringCenter", IslandEditLayout::ringCenter(in));
            m_shadeView->setProperty("ringRadius", f.ringRadius);
        }
    }
    // A slider held in the controls keeps them in place: moved under the
    // pointer, the slider would read the move as the pointer's and run away.
    const bool held = m_controlsView && m_controlsView->property("holding").toBool();
    if (m_controls && !held) {
        m_controls->setGeometry(ScreenSpace::flip(f.controls, pivot).toRect());
        // The controls' card sits 8 in from the window's edges; where a
        // compositor runs its shadow shows in that margin.
        const QRegion card(QRectF(QPointF(), f.controls.size()).toRect().adjusted(8, 8, -8, -8));
        if (m_controls->mask() != card) {
            m_controls->setMask(card);
            const double dpr = m_controls->devicePixelRatio();
            const QRectF c = card.boundingRect();
            if (m_hints)
                m_hints->shapeChanged(m_controls.get(), QRegion(QRectF(c.topLeft() * dpr, c.size() * dpr).toRect()));
        }
        if (m_controlsView) {
            m_controlsView->setSize(f.controls.size());
            m_controlsView->setProperty("showsFloatingPill", showsFloatingPill());
        }
    }
}

void IslandEditController::installObservers()
{
    if (m_observing)
        return;
    m_observing = true;
    // A slider write lands first, then the panels follow on the next turn.
    // The options the panels are placed by.
    for (auto changed : {&AppSettings::lipOffsetXChanged, &AppSettings::expandedOffsetXChanged,
                         &AppSettings::floatingIslandChanged})
        m_observers << connect(m_settings, changed, this, [this] {
            QMetaObject::invokeMethod(this, [this] { if (m_active) layoutPanels(); }, Qt::QueuedConnection);
        });
    if (m_screens)
        m_observers << connect(m_screens, &platform::IScreenProvider::screensChanged, this, [this] {
            QMetaObject::invokeMethod(this, [this] {
                if (!m_active)
                    return;
                installRootViews();
                layoutPanels();
            }, Qt::QueuedConnection);
        });
    qApp->installEventFilter(this);
}

void IslandEditController::removeObservers()
{
    for (const QMetaObject::Connection &c : std::as_const(m_observers))
        disconnect(c);
    m_observers.clear();
    if (m_observing && qApp)
        qApp->removeEventFilter(this);
    m_observing = false;
}

bool IslandEditController::eventFilter(QObject *watched, QEvent *event)
{
    if (m_active && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        QMetaObject::invokeMethod(this, &IslandEditController::finish, Qt::QueuedConnection);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
