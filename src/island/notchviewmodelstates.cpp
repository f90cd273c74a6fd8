// The island's state machine: hover, clicks, the panels and game mode.
#include "island/notchviewmodel.h"

#include "canvas/canvascredentials.h"
#include "core/appnotifications.h"
#include "core/clock.h"
#include "core/userdefaults.h"
#include "media/mirrorcamera.h"
#include "media/voicememoengine.h"
#include "services/systemactions.h"
#include "store/appsettings.h"
#include "tools/pocketstore.h"
#include "update/updateservice.h"

#include <QPointer>

void NotchViewModel::setState(NotchState state)
{
    const bool opening = m_state == NotchState::collapsed && state != NotchState::collapsed;
    assign(m_state, state, &NotchViewModel::stateChanged);
    // What the collapsed island does not read is read as it opens, once
    // the loop has made its first pass.
    if (opening && m_ticked && m_tickTask.isActive())
        readSystemAndNetwork();
}

void NotchViewModel::pointerEntered()
{
    m_hoverTask.cancel();
    if (m_isEditingIsland || !(m_state == NotchState::collapsed || m_state == NotchState::hud))
        return;
    if (moduleShown(HomeModule::gameMode) && m_gameModeOn) {
        // Locked: the island only widens.
        setGameModeHover(true);
        return;
    }
    m_hoverKind = PendingHover::entry;
    m_hoverTask = m_scheduler->after(HoverOpenDelayMs, [this] {
        if (m_state != NotchState::collapsed && m_state != NotchState::hud)
            return;
        if (m_settings->expandOnHover())
            openHome();
        else
            setState(NotchState::hover);
    });
}

void NotchViewModel::pointerExited()
{
    m_hoverTask.cancel();
    if (m_isEditingIsland || isHeldOpen())
        return;
    setGameModeHover(false);
    const bool closes = m_state == NotchState::hover || m_state == NotchState::home || m_state == NotchState::mirror;
    if (!closes || m_isEditingModules)
        return;
    const int delay = m_state == NotchState::hover ? HoverCloseDelayMs : PanelCloseDelayMs;
    m_hoverKind = PendingHover::exit;
    m_hoverTask = m_scheduler->after(delay, [this] {
        if (m_state != NotchState::collapsed && !isPointerInside())
            collapse();
    });
}

std::shared_ptr<void> NotchViewModel::holdOpen()
{
    ++m_holds;
    QPointer<NotchViewModel> self(this);
    return std::shared_ptr<void>(nullptr, [self](void *) {
        if (!self || --self->m_holds > 0)
            return;
        if (self->m_state != NotchState::collapsed && !self->isPointerInside())
            self->pointerExited();
    });
}

void NotchViewModel::cancelPendingExit()
{
    if (pendingHover() == PendingHover::exit)
        m_hoverTask.cancel();
}

void NotchViewModel::islandClicked()
{
    if (m_isEditingIsland)
        return;
    m_hoverTask.cancel();
    if (moduleShown(HomeModule::gameMode) && m_gameModeOn
        && (m_state == NotchState::collapsed || m_state == NotchState::hover)) {
        showGameModeToast();
        return;
    }
    if (m_state == NotchState::hud) {
        setHud(std::nullopt);
        m_hudTask.cancel();
    }
    ++m_pendingClicks;
    m_clickTask = m_scheduler->after(ClickWindowMs, [this] {
        if (m_pendingClicks >= 2 && moduleShown(HomeModule::canvas))
            openCanvas();
        else
            openHome();
        m_pendingClicks = 0;
    });
}

void NotchViewModel::openHome()
{
    m_hoverTask.cancel();
    if (!m_isEditingIsland && updateWantsPrompt())
        showUpdate();
    else
        setState(NotchState::home);
}

void NotchViewModel::collapse()
{
    const NotchState was = m_state;
    m_hoverTask.cancel();
    m_clickTask.cancel();
    m_ambientTask.cancel();
    m_hudTask.cancel();
    m_pendingClicks = 0;
    if (was == NotchState::update)
        m_updater->dismiss();
    setState(NotchState::collapsed);
    setEditingModules(false);
    m_camera->stop();
    // Nothing records or plays on behind a closed island.
    m_voice->endTakeAndPlayback();
    stopAllGames();
    setActiveGame(PavletGame::hub);
    setHud(std::nullopt);
    setAmbient(std::nullopt);
    if (was != NotchState::update)
        updatePromptChanged();
}

void NotchViewModel::showUpdate()
{
    beginPanelSwitch();
    stopAllGames();
    setActiveGame(PavletGame::hub);
    setState(NotchState::update);
}

void NotchViewModel::dismissUpdate()
{
    m_updater->dismiss();
    setState(NotchState::collapsed);
}

void NotchViewModel::updatePromptChanged()
{
    if (updateWantsPrompt() && Island::atMostHome(m_state))
        showUpdate();
}

void NotchViewModel::beginPanelSwitch()
{
    m_hoverTask.cancel();
    m_camera->stop();
    setEditingModules(false);
}

bool NotchViewModel::enterPanel(NotchState state, HomeModule module)
{
    if (!moduleShown(module))
        return false;
    beginPanelSwitch();
    if (m_state == state) {
        openHome();
        return false;
    }
    setState(state);
    return true;
}

void NotchViewModel::openCanvas()
{
    if (enterPanel(NotchState::canvas, HomeModule::canvas)) {
        // A keyring that gave no token before is asked again.
        if (m_env.credentials)
            m_env.credentials->askAgain();
        refreshCanvas();
    }
}

void NotchViewModel::openGames()
{
    if (!moduleShown(HomeModule::games))
        return;
    beginPanelSwitch();
    if (m_state == NotchState::games) {
        // From a game page back to the hub; the game keeps its state.
        if (m_activeGame == PavletGame::hub)
            openHome();
        else
            setActiveGame(PavletGame::hub);
        return;
    }
    setActiveGame(PavletGame::hub);
    setState(NotchState::games);
}

void NotchViewModel::openCalculator()
{
    enterPanel(NotchState::calculator, HomeModule::calculator);
}

void NotchViewModel::openPocketPanel()
{
    if (!moduleShown(HomeModule::pocket))
        return;
    if (m_state == NotchState::pocket)
        openHome();
    else
        openPocket();
}

void NotchViewModel::openPocket()
{
    if (!moduleShown(HomeModule::pocket))
        return;
    beginPanelSwitch();
    setState(NotchState::pocket);
}

void NotchViewModel::openVoice()
{
    if (enterPanel(NotchState::voice, HomeModule::voice))
        m_voice->reload();
}

void NotchViewModel::openTranslator()
{
    enterPanel(NotchState::translator, HomeModule::translator);
}

bool NotchViewModel::addDroppedFilesToPocket(const QList<QUrl> &urls)
{
    if (!moduleShown(HomeModule::pocket) || urls.isEmpty())
        return false;
    setFileDropTargeted(false);
    const bool allHeld = m_pocket->ingest(urls);
    openPocket();
    return allHeld;
}

void NotchViewModel::holdClipboardInPocket()
{
    if (moduleShown(HomeModule::pocket) && m_pocket->holdClipboard())
        openPocket();
}

void NotchViewModel::pocketDragTargeted(bool entered)
{
    if (!entered) {
        setFileDropTargeted(false);
        return;
    }
    if (!moduleShown(HomeModule::pocket))
        return;
    setFileDropTargeted(true);
    openPocket();
}

void NotchViewModel::openMirror()
{
    // Choosing Mirror again while the camera starts is the same wish.
    if (m_camera->isStarting())
        return;
    if (m_camera->isRunning()) {
        m_camera->stop();
        if (m_state == NotchState::mirror)
            openHome();
        return;
    }
    if (!want(QStringLiteral("wantCamera"), true) || !granted(AppPermission::camera)) {
        showAmbient({AmbientKind::mirror, QStringLiteral("Camera is off"),
                     QStringLiteral("Turn it on in Settings → Permissions")});
        return;
    }
    // The panel opens when the camera runs (mirrorStarted) or the reason
    // shows (mirrorGaveUp); the island goes on meanwhile.
    m_camera->start();
}

void NotchViewModel::mirrorStarted()
{
    setState(NotchState::mirror);
}

void NotchViewModel::mirrorGaveUp()
{
    if (m_state == NotchState::mirror)
        openHome();
    if (m_camera->denied())
        showAmbient({AmbientKind::mirror, QStringLiteral("Camera needs permission"),
                     QStringLiteral("Settings → Privacy → Camera")});
    else
        showAmbient({AmbientKind::mirror, m_camera->status(), QStringLiteral("Check that a camera is connected")});
}

void NotchViewModel::openChromeIcon(ChromeIcon icon)
{
    switch (icon) {
    case ChromeIcon::canvas: openCanvas(); break;
    case ChromeIcon::mirror:
        m_hoverTask.cancel();
        openMirror();
        break;
    case ChromeIcon::findMy:
        m_hoverTask.cancel();
        openFindMy(m_env.platform.appLauncher);
        collapse();
        break;
    case ChromeIcon::games: openGames(); break;
    case ChromeIcon::calculator: openCalculator(); break;
    case ChromeIcon::pocket: openPocketPanel(); break;
    case ChromeIcon::youtube:
    case ChromeIcon::spotify:
    case ChromeIcon::compress:
    case ChromeIcon::micCheck: openHome(); break;
    case ChromeIcon::voice: openVoice(); break;
    case ChromeIcon::translator: openTranslator(); break;
    case ChromeIcon::gameMode: toggleGameMode(); break;
    }
}

void NotchViewModel::openChromeIcon(const QString &id)
{
    if (const auto icon = ChromeIcons::fromId(id))
        openChromeIcon(*icon);
}

void NotchViewModel::openSettings(const QString &page)
{
    m_hoverTask.cancel();
    m_env.notifications->openSettings(page);
    collapse();
}

void NotchViewModel::leaveForHomeWhenHidden(NotchState state, HomeModule module)
{
    if (m_state == state && !moduleShown(module))
        openHome();
}

void NotchViewModel::leaveHiddenPanels()
{
    if (m_state == NotchState::games && !moduleShown(HomeModule::games)) {
        stopAllGames();
        setActiveGame(PavletGame::hub);
        openHome();
    }
    leaveForHomeWhenHidden(NotchState::calculator, HomeModule::calculator);
    leaveForHomeWhenHidden(NotchState::pocket, HomeModule::pocket);
    leaveForHomeWhenHidden(NotchState::voice, HomeModule::voice);
    leaveForHomeWhenHidden(NotchState::translator, HomeModule::translator);
    leaveForHomeWhenHidden(NotchState::canvas, HomeModule::canvas);
}

bool NotchViewModel::gameModeHotkeyPressed()
{
    if (!moduleShown(HomeModule::gameMode))
        return false;
    const qint64 now = m_clock->monotonicMs();
    if (now - m_lastGameModeHotkeyMs < HotkeyDebounceMs)
        return true;
    m_lastGameModeHotkeyMs = now;
    toggleGameMode();
    return true;
}

void NotchViewModel::toggleGameMode()
{
    if (!moduleShown(HomeModule::gameMode))
        return;
    setGameModeOn(!m_gameModeOn);
    setGameModeHover(false);
    if (m_state != NotchState::collapsed)
        collapse();
    showGameModeToast();
}

void NotchViewModel::setGameModeOn(bool on)
{
    assign(m_gameModeOn, on, &NotchViewModel::gameModeOnChanged);
    m_defaults->setBool(GameModeKey, on);
}

void NotchViewModel::showGameModeToast()
{
    setGameModeToast(true);
    m_gameModeToastTask = m_scheduler->after(ToastMs, [this] { setGameModeToast(false); });
}

bool NotchViewModel::updateWantsPrompt() const
{
    return m_updater->wantsPrompt();
}
