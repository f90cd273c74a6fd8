#include "notchwindowcontroller.h"

#include "appsettings.h"
#include "clock.h"
#include "gamemodehotkeycenter.h"
#include "pointer.h"

#include <QMouseEvent>
#include <algorithm>
#include <QUrl>

NotchWindowController::NotchWindowController(AppSettings *settings, const Parts &parts, QObject *parent)
    : QObject(parent), m_settings(settings), m_parts(parts), m_driver(parts.clock, parts.scheduler)
{
    if (const auto screen = NotchGeometry::notchedScreen(*m_parts.screens))
        m_geometry = NotchGeometry(*screen, m_settings->floatingIsland());
    m_driver.setMinimumSize(m_geometry.notchRect.size());

    const QRectF initial = PanelFrame::initialFrame(m_geometry, FrameSettings::from(*m_settings));
    m_panel = std::make_unique<NotchPanel>(m_parts.hints);
    m_panel->setPrimaryHeight(m_parts.screens->primaryHeight());
    m_panel->installEventFilter(this);
    connect(&m_driver, &PanelFrameDriver::frameChanged, this, [this](const QRectF &f, bool animating) {
        m_panel->applyFrame(f, animating);
    });
    connect(&m_driver, &PanelFrameDriver::animationStarted, m_panel.get(), &NotchPanel::prepareAnimation);
    // The springs land on their own target; the island may have moved on.
    connect(&m_driver, &PanelFrameDriver::settled, this, [this] {
        const QRectF target = targetFrame();
        if (target != m_driver.currentFrame())
            setFrame(target, false);
    });
    m_panel->setOutline(m_geometry.floating ? 20 : std::clamp(m_settings->lipCornerRadius(), 0.0, 22.0),
                        m_geometry.floating);
    if (m_parts.engine)
        m_panel->loadContent(m_parts.engine, QUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/notch/NotchPanelContent.qml")));
    setFrame(initial, false);

    connect(m_parts.screens, &ScreenProvider::screensChanged, this, [this] {
        refreshGeometry();
        snap();
    }, Qt::QueuedConnection);
    if (m_parts.clicks) {
        connect(m_parts.clicks, &GlobalClickMonitor::clicked, this,
                [this](qint64 number, const QPointF &) { handleClick(number, false); }, Qt::QueuedConnection);
        m_parts.clicks->start();
    }
    if (m_parts.hotkey)
        connect(m_parts.hotkey, &GameModeHotkeyCenter::pressed, this, &NotchWindowController::gameModeHotkeyPressed);
    syncGameModeHotkey();
    m_pointerTimer = m_parts.scheduler->every(16, [this] { pollPointer(); });
}

NotchWindowController::~NotchWindowController()
{
    teardown();
}

void NotchWindowController::setInputs(const FrameInputs &inputs)
{
    if (inputs == m_inputs)
        return;
    const bool stateChanged = inputs.state != m_inputs.state;
    m_inputs = inputs;
    applyOutline();
    reframe();
    // From Home on the island takes the keyboard.
    if (stateChanged) {
        if (Island::fromHomeOn(m_inputs.state))
            m_panel->makeKey();
        else
            m_panel->setAcceptsFocus(false);
    }
}

QRectF NotchWindowController::targetFrame() const
{
    return PanelFrame::targetFrame(m_geometry, m_inputs, FrameSettings::from(*m_settings));
}

void NotchWindowController::setFrame(const QRectF &frame, bool animated)
{
    m_driver.setFrame(frame, animated);
}

void NotchWindowController::applyOutline()
{
    m_panel->setOutline(PanelFrame::cornerRadius(m_inputs.state, m_geometry.floating, m_settings->lipCornerRadius()),
                        m_geometry.floating);
}

bool NotchWindowController::pointerInside() const
{
    // The pointer arrives in window coordinates; the island thinks y-up.
    const QPointF p = ScreenSpace::flip(m_parts.pointer->position(), m_parts.screens->primaryHeight());
    return PanelFrame::pointerInside(p, m_driver.currentFrame(), m_geometry, m_inputs,
                                     FrameSettings::from(*m_settings));
}

void NotchWindowController::pollPointer()
{
    switch (m_poll.poll(pointerInside(), m_inputs.state, m_pendingHover)) {
    case PointerPoll::Action::entered: emit pointerEntered(); break;
    case PointerPoll::Action::exited: emit pointerExited(); break;
    case PointerPoll::Action::cancelPendingExit: emit pendingExitCancelled(); break;
    case PointerPoll::Action::nothing: break;
    }
}

void NotchWindowController::handleClick(qint64 eventNumber, bool)
{
    if (!m_clicks.accept(eventNumber) || m_editingIsland)
        return;
    if (pointerInside()) {
        m_poll.lastInside = true;
        if (Island::isClosed(m_inputs.state))
            emit islandClicked();
    } else if (m_inputs.state != NotchState::collapsed) {
        emit collapseRequested();
    }
}

bool NotchWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel.get() && event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            handleClick(qint64(mouse->timestamp()), true);
    }
    return QObject::eventFilter(watched, event);
}

void NotchWindowController::syncGameModeHotkey()
{
    if (!m_parts.hotkey)
        return;
    if (!m_settings->disabledModuleIDs().contains(QStringLiteral("gameMode")))
        m_parts.hotkey->registerHotkey();
    else
        m_parts.hotkey->unregisterHotkey();
}

void NotchWindowController::refreshGeometry()
{
    if (const auto screen = NotchGeometry::notchedScreen(*m_parts.screens))
        m_geometry = NotchGeometry(*screen, m_settings->floatingIsland());
    m_panel->setPrimaryHeight(m_parts.screens->primaryHeight());
    m_driver.setMinimumSize(m_geometry.notchRect.size());
    applyOutline();
    emit geometryChanged();
}

void NotchWindowController::applySettings()
{
    syncGameModeHotkey();
    refreshGeometry();
    if (m_editingIsland)
        snap();
    else
        reframe();
}

void NotchWindowController::teardown()
{
    if (m_tornDown)
        return;
    m_tornDown = true;
    m_driver.stop();
    m_pointerTimer.cancel();
    disconnect(m_parts.screens, nullptr, this, nullptr);
    if (m_parts.clicks)
        m_parts.clicks->stop();
    if (m_parts.hotkey)
        m_parts.hotkey->unregisterHotkey();
    m_panel->hide();
}
