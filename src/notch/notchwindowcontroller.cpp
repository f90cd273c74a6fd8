#include "notch/notchwindowcontroller.h"

#include "core/clock.h"
#include "core/keycodes.h"
#include "core/keyinput.h"
#include "home/homeparts.h"
#include "island/islandmetrics.h"
#include "island/notchviewmodel.h"
#include "look/popupfence.h"
#include "notch/gamemodehotkeycenter.h"
#include "platform/keypositions.h"
#include "platform/pointer.h"
#include "store/appsettings.h"
#include "tools/calculatorengine.h"
#include "update/updateservice.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QQuickItem>
#include <QUrl>
#include <algorithm>

namespace {
// What the window's content draws the island from; it shows a bare island
// without the model or the Home panel's parts.
QVariantMap contentInputs(AppSettings *settings, const NotchWindowController::Parts &parts)
{
    return {{QStringLiteral("model"), QVariant::fromValue<QObject *>(parts.model)},
            {QStringLiteral("settings"), QVariant::fromValue<QObject *>(settings)},
            {QStringLiteral("homeParts"), QVariant::fromValue<QObject *>(parts.homeParts)}};
}
} // namespace

NotchWindowController::NotchWindowController(AppSettings *settings, const Parts &parts, QObject *parent)
    : QObject(parent), m_settings(settings), m_parts(parts), m_driver(parts.clock, parts.scheduler)
{
    if (const auto screen = NotchGeometry::notchedScreen(*m_parts.screens))
        m_geometry = NotchGeometry(*screen, m_settings->floatingIsland());
    m_driver.setMinimumSize(m_geometry.notchRect.size());
    publishGeometry();

    const QRectF initial = PanelFrame::initialFrame(m_geometry, FrameSettings::from(*m_settings));
    m_panel = std::make_unique<NotchPanel>(m_parts.hints);
    m_panel->setPrimaryHeight(m_parts.screens->primaryHeight());
    m_panel->installEventFilter(this);
    m_panel->setDropTarget(this);
    connect(&m_driver, &PanelFrameDriver::frameChanged, this, [this](const QRectF &f, bool animating, double radius) {
        m_panel->applyFrame(f, animating, radius);
    });
    connect(&m_driver, &PanelFrameDriver::animationStarted, m_panel.get(), &NotchPanel::prepareAnimation);
    // The springs land on their own target; the island may have moved on.
    connect(&m_driver, &PanelFrameDriver::settled, this, [this] {
        const QRectF target = targetFrame();
        if (target != m_driver.currentFrame())
            setFrame(target, false);
        // Home has opened once: what it leads to is prepared now, not
        // while the island rests.
        if (Island::fromHomeOn(m_inputs.state)) {
            if (!m_homeOpenedOnce) {
                m_homeOpenedOnce = true;
                m_panel->compilePanelsAhead();
                emit homeOpenedOnce();
            }
            emit homeSettled();
        }
    });
    const double radius =
        IslandMetrics::cornerRadius(NotchState::collapsed, m_geometry.floating, m_settings->lipCornerRadius());
    m_panel->setOutline(radius, m_geometry.floating);
    m_driver.setCornerRadius(radius);
    if (m_parts.engine)
        m_panel->loadContent(m_parts.engine, QUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/notch/NotchPanelContent.qml")),
                             contentInputs(m_settings, m_parts));
    setFrame(initial, false);
    if (m_parts.model)
        connectModel();
    // Settings land in the store before or after their notice; a turn later
    // both have.
    auto settingsMoved = [this] {
        if (m_settingsPending)
            return;
        m_settingsPending = true;
        QMetaObject::invokeMethod(this, [this] {
            m_settingsPending = false;
            if (!m_tornDown)
                applySettings();
        }, Qt::QueuedConnection);
    };
    // The frame options, and the module list the game-mode hot key follows.
    connect(m_settings, &AppSettings::islandFrameChanged, this, settingsMoved);
    connect(m_settings, &AppSettings::disabledModulesChanged, this, settingsMoved);
    // The pointer is tested 60 times a second: with the settings as they last
    // changed, not read afresh each time.
    m_frameSettings = FrameSettings::from(*m_settings);
    connect(m_settings, &AppSettings::islandFrameChanged, this,
            [this] { m_frameSettings = FrameSettings::from(*m_settings); });
    if (m_parts.model)
        connect(m_parts.model, &NotchViewModel::isEditingModulesChanged, this, settingsMoved);

    connect(m_parts.screens, &platform::IScreenProvider::screensChanged, this, [this] {
        refreshGeometry();
        snap();
    }, Qt::QueuedConnection);
    if (m_parts.clicks) {
        connect(m_parts.clicks, &platform::IGlobalClickMonitor::clicked, this,
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

void NotchWindowController::connectModel()
{
    NotchViewModel *model = m_parts.model;
    model->setPointerInsideTest([this] { return pointerInside(); });
    connect(this, &NotchWindowController::pointerEntered, model, &NotchViewModel::pointerEntered);
    connect(this, &NotchWindowController::pointerExited, model, &NotchViewModel::pointerExited);
    connect(this, &NotchWindowController::pendingExitCancelled, model, &NotchViewModel::cancelPendingExit);
    connect(this, &NotchWindowController::islandClicked, model, &NotchViewModel::islandClicked);
    connect(this, &NotchWindowController::collapseRequested, model, &NotchViewModel::collapse);
    connect(this, &NotchWindowController::gameModeHotkeyPressed, model, &NotchViewModel::gameModeHotkeyPressed);
    // What the frame is sized by.
    for (auto changed : {&NotchViewModel::stateChanged, &NotchViewModel::activeGameChanged,
                         &NotchViewModel::homeContentHeightChanged, &NotchViewModel::gameModeToastChanged,
                         &NotchViewModel::gameModeOnChanged, &NotchViewModel::gameModeHoverChanged,
                         &NotchViewModel::hasCollapsedSideContentChanged, &NotchViewModel::isEditingIslandChanged})
        connect(model, changed, this, &NotchWindowController::updateInputsFromModel);
    connect(m_settings, &AppSettings::disabledModulesChanged, this, &NotchWindowController::updateInputsFromModel);
    for (auto changed : {&NotchViewModel::isEditingIslandChanged, &NotchViewModel::islandEditPhaseChanged,
                         &NotchViewModel::islandEditPreviewChanged})
        connect(model, changed, this, &NotchWindowController::applyIslandEditPhase, Qt::QueuedConnection);
    updateInputsFromModel();
}

void NotchWindowController::updateInputsFromModel()
{
    const NotchViewModel *model = m_parts.model;
    FrameInputs in;
    in.state = model->state();
    in.activeGame = model->activeGame();
    in.homeContentHeight = model->homeContentHeight();
    in.gameModeToast = model->gameModeToast();
    in.gameModeOn = model->gameModeOn();
    in.gameModeHover = model->gameModeHover();
    in.hasCollapsedSideContent = model->hasCollapsedSideContent();
    in.gameModeShown = m_settings->isModuleEnabled(HomeModule::gameMode);
    m_editingIsland = model->isEditingIsland();
    setInputs(in);
}

void NotchWindowController::publishGeometry()
{
    if (!m_parts.model)
        return;
    m_parts.model->setNotchHeight(m_geometry.notchRect.height());
    m_parts.model->setUsesFloatingIsland(m_geometry.floating);
}

void NotchWindowController::setInputs(const FrameInputs &inputs)
{
    if (m_tornDown || inputs == m_inputs)
        return;
    const bool stateChanged = inputs.state != m_inputs.state;
    // A state entered with the pointer inside keeps it inside where it was.
    if (stateChanged && m_poll.lastInside) {
        const QRectF before = PanelFrame::pointerArea(m_driver.currentFrame(), m_geometry, m_inputs, m_frameSettings);
        const QRectF after = PanelFrame::pointerArea(
            PanelFrame::targetFrame(m_geometry, inputs, m_frameSettings), m_geometry, inputs, m_frameSettings);
        m_pointerHold = m_pointerHold.united(before).united(after);
    }
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

QRect NotchWindowController::restingFrame() const
{
    FrameInputs resting = m_inputs;
    resting.state = NotchState::collapsed;
    const QRectF frame = PanelFrame::targetFrame(m_geometry, resting, FrameSettings::from(*m_settings));
    return ScreenSpace::flip(frame, m_panel->primaryHeight()).toAlignedRect();
}

void NotchWindowController::setFrame(const QRectF &frame, bool animated)
{
    m_driver.setFrame(frame, animated);
}

void NotchWindowController::applyOutline()
{
    // The radius moves with the frame's springs; the next frame takes it.
    m_driver.setCornerRadius(
        IslandMetrics::cornerRadius(m_inputs.state, m_geometry.floating, m_settings->lipCornerRadius()));
    m_panel->setOutline(m_panel->cornerRadius(), m_geometry.floating);
}

bool NotchWindowController::pointerInside() const
{
    // The pointer arrives in window coordinates; the island thinks y-up.
    // Flipped by the height the panel is placed by, kept with the geometry
    // rather than asked of the screens 60 times a second.
    const QPointF p = ScreenSpace::flip(m_parts.pointer->position(), m_panel->primaryHeight());
    return m_pointerHold.contains(p)
        || PanelFrame::pointerInside(p, m_driver.currentFrame(), m_geometry, m_inputs, m_frameSettings);
}

void NotchWindowController::pollPointer()
{
    if (!m_pointerHold.isNull()
        && !m_pointerHold.contains(ScreenSpace::flip(m_parts.pointer->position(), m_panel->primaryHeight())))
        m_pointerHold = QRectF();
    const PendingHover pending = m_parts.model ? m_parts.model->pendingHover() : m_pendingHover;
    switch (m_poll.poll(pointerInside(), m_inputs.state, pending)) {
    case PointerPoll::Action::entered: emit pointerEntered(); break;
    case PointerPoll::Action::exited: emit pointerExited(); break;
    case PointerPoll::Action::cancelPendingExit: emit pendingExitCancelled(); break;
    case PointerPoll::Action::nothing: break;
    }
}

void NotchWindowController::handleClick(qint64 eventTime, bool local)
{
    if (!m_clicks.accept(eventTime, local) || m_editingIsland)
        return;
    // The monitor reports the clicks in the program's other windows too: one
    // there is that window's, not the island's, even where the island's
    // reach (its margin, the room of a state just left) extends under it.
    if (pointerInside() && (local || !pointerOverOtherWindow())) {
        m_poll.lastInside = true;
        if (Island::isClosed(m_inputs.state))
            emit islandClicked();
    } else if (m_inputs.state != NotchState::collapsed && !(m_parts.model && m_parts.model->isHeldOpen())) {
        // A click in a card's dialog lands outside the island too.
        emit collapseRequested();
    }
}

bool NotchWindowController::pointerOverOtherWindow() const
{
    const QPoint at = m_parts.pointer->position().toPoint();
    // On its outline the island stands above every other window.
    if (m_panel->isVisible() && m_panel->mask().contains(at - m_panel->position()))
        return false;
    const QList<QWindow *> windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.cbegin(), windows.cend(), [&](const QWindow *w) {
        return w != m_panel.get() && w->isVisible() && !w->flags().testFlag(Qt::WindowTransparentForInput)
            && w->frameGeometry().contains(at);
    });
}

bool NotchWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel.get() && event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            handleClick(qint64(mouse->timestamp()), true);
    }
    // Keys meet the island before any item of the panel sees them.
    if (watched == m_panel.get() && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto &key = *static_cast<QKeyEvent *>(event);
        const bool repeat = m_keyRepeats.isRepeat(key);
        if (event->type() == QEvent::KeyPress) {
            const int place = m_parts.keys ? m_parts.keys->keyCode(key) : int(KeyCode::Unknown);
            if (handleProgramKey(key, place, repeat))
                return true;
            KeyInput input = KeyInput::fromEvent(key, place);
            input.autoRepeat = repeat;
            if (handleKeyDown(input))
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool NotchWindowController::handleProgramKey(const QKeyEvent &key, int place, bool repeat)
{
    // The program's own keys, as the tray's menu shows them, come before a
    // text field or a game sees the key (Wordle would type the Q). They are
    // matched here rather than by QShortcut: a QShortcut on a window that is
    // no widget only fires while QApplication has an active widget window,
    // which the island never is, so the keys never reached one. Matched by
    // the key's character, so Ctrl+Q is Q on any layout, and the key right
    // of Tab on a layout without Latin letters.
    const Qt::KeyboardModifiers held = key.modifiers()
        & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::ShiftModifier);
    const int matched = KeyInput::shortcutKey(key, place);
    if (held != Qt::ControlModifier || (matched != Qt::Key_Comma && matched != Qt::Key_Q))
        return false;
    // Held, the key acts once.
    if (repeat)
        return true;
    if (matched == Qt::Key_Comma)
        emit settingsKeyPressed();
    else
        emit quitKeyPressed();
    return true;
}

bool NotchWindowController::handleKeyDown(const KeyInput &key)
{
    NotchViewModel *model = m_parts.model;
    // Without the game-mode module the chord goes on like any key.
    if (key.isGameModeChord() && model && model->gameModeHotkeyPressed())
        return true;
    if (key.keyCode == KeyCode::Escape) {
        if (m_editingIsland)
            return false;
        // An open menu takes the Escape: it closes, and that is all.
        if (QObject *popup = PopupFence::popupEscapeCloses(m_panel.get())) {
            QMetaObject::invokeMethod(popup, "close");
            return true;
        }
        QMetaObject::invokeMethod(this, &NotchWindowController::dismiss, Qt::QueuedConnection);
        return true;
    }
    if (!model)
        return false;
    // A text field being typed into takes its keys before the panels do.
    if (textFieldFocused())
        return false;
    if (model->handleGameKey(key))
        return true;
    return model->state() == NotchState::calculator && model->calculator()->handleKey(key);
}

QQuickItem *NotchWindowController::textFieldFocused() const
{
    QQuickItem *focus = m_panel ? m_panel->activeFocusItem() : nullptr;
    return focus && (focus->inherits("QQuickTextInput") || focus->inherits("QQuickTextEdit")) ? focus : nullptr;
}

void NotchWindowController::dismiss()
{
    // A text field being edited lets go of the keyboard, and that is all.
    if (QQuickItem *focus = textFieldFocused()) {
        focus->setFocus(false);
        return;
    }
    NotchViewModel *model = m_parts.model;
    if (!model)
        return;
    if (model->isEditingModules()) {
        model->setEditingModules(false);
        return;
    }
    switch (model->state()) {
    case NotchState::games:
        if (model->activeGame() != PavletGame::hub)
            model->openGame(PavletGame::hub);
        else
            model->collapse();
        break;
    case NotchState::calculator:
    case NotchState::pocket:
    case NotchState::voice:
    case NotchState::translator:
    case NotchState::canvas:
        model->openHome();
        break;
    case NotchState::update:
        model->updater()->dismiss();
        model->setState(NotchState::collapsed);
        break;
    default:
        model->collapse();
        break;
    }
}

void NotchWindowController::setIslandEditing(bool editing)
{
    if (editing) {
        // The edit starts from offsets that keep the island on the screen.
        if (m_settings->lipOffsetY() < 0)
            m_settings->setLipOffsetY(0);
        if (m_settings->expandedOffsetY() < 0)
            m_settings->setExpandedOffsetY(0);
    }
    m_editingIsland = editing;
    if (NotchViewModel *model = m_parts.model) {
        model->setEditingIsland(editing);
        model->setIslandEditPreview(IslandEditPreview::idle);
        model->setIslandEditPhase(IslandEditPhase::hang);
        model->collapse();
    }
    snap();
    // The edit's island takes the keyboard; once it is done, only an open
    // panel keeps it.
    if (editing || Island::fromHomeOn(m_inputs.state))
        m_panel->makeKey();
    else
        m_panel->setAcceptsFocus(false);
    m_panel->bringToFront();
}

void NotchWindowController::applyIslandEditPhase()
{
    NotchViewModel *model = m_parts.model;
    if (m_tornDown || !model || !model->isEditingIsland())
        return;
    if (model->islandEditPhase() == IslandEditPhase::expanded) {
        if (model->state() != NotchState::home)
            model->openHome();
    } else if (model->state() != NotchState::collapsed) {
        model->collapse();
    }
    snap();
    m_panel->bringToFront();
}

bool NotchWindowController::pocketShown() const
{
    return !m_settings->disabledModuleIDs().contains(QStringLiteral("pocket"));
}

void NotchWindowController::fileDragEntered()
{
    if (m_parts.model)
        m_parts.model->pocketDragTargeted(true);
}

void NotchWindowController::fileDragExited()
{
    if (m_parts.model)
        m_parts.model->pocketDragTargeted(false);
}

bool NotchWindowController::fileDropped(const QList<QUrl> &files)
{
    if (!m_parts.model || !pocketShown())
        return false;
    return m_parts.model->addDroppedFilesToPocket(files);
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
    publishGeometry();
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
    if (NotchViewModel *model = m_parts.model) {
        model->stop();
        model->setPointerInsideTest({});
        disconnect(model, nullptr, this, nullptr);
    }
    disconnect(m_settings, nullptr, this, nullptr);
    m_driver.stop();
    m_pointerTimer.cancel();
    disconnect(m_parts.screens, nullptr, this, nullptr);
    if (m_parts.clicks)
        m_parts.clicks->stop();
    if (m_parts.hotkey)
        m_parts.hotkey->unregisterHotkey();
    m_panel->hide();
}
