// What the closed island shows: the live activity, side content, the status
// pulses and the volume and brightness display, and what they follow.
#include "island/notchviewmodel.h"

#include "core/clock.h"
#include "media/mirrorcamera.h"
#include "services/systemhudmonitor.h"
#include "services/timerstore.h"
#include "store/appsettings.h"

namespace {
// An event this close to its start, or already begun, comes before the rest.
constexpr qint64 SoonMs = 1800 * 1000;
} // namespace

LiveActivity NotchViewModel::liveActivity() const
{
    if (m_ambient)
        return LiveActivity::time();
    if (m_timer->isRunning())
        return LiveActivity::timer(m_timer->display());
    if (m_nowPlaying.isPlaying)
        return LiveActivity::music(m_nowPlaying);
    if (m_nextEvent && m_nextEvent->start.toMSecsSinceEpoch() - m_clock->nowMs() < SoonMs)
        return LiveActivity::forEvent(*m_nextEvent);
    if (m_nextAssignment && m_nextAssignment->overdue)
        return LiveActivity::forAssignment(*m_nextAssignment);
    if (m_nowPlaying.hasText())
        return LiveActivity::music(m_nowPlaying);
    if (m_nextEvent)
        return LiveActivity::forEvent(*m_nextEvent);
    if (m_nextAssignment)
        return LiveActivity::forAssignment(*m_nextAssignment);
    return LiveActivity::time();
}

bool NotchViewModel::hasCollapsedSideContent() const
{
    if (m_isEditingIsland)
        return m_islandEditPreview != IslandEditPreview::idle || m_settings->showAmbientSmile();
    return m_gameModeToast || (moduleShown(HomeModule::gameMode) && m_gameModeOn && m_gameModeHover)
        || m_timer->isRunning() || m_settings->showAmbientSmile()
        || (m_nowPlaying.isPlaying && moduleShown(HomeModule::player));
}

bool NotchViewModel::isPreviewing(IslandEditPreview preview) const
{
    return m_isEditingIsland && m_islandEditPhase == IslandEditPhase::hang && m_islandEditPreview == preview;
}

AmbientKind NotchViewModel::showsAmbientOrCamera() const
{
    if (m_ambient)
        return m_ambient->kind;
    return m_camera->isRunning() ? AmbientKind::mirror : AmbientKind::rest;
}

void NotchViewModel::followComputedInputs()
{
    auto follow = [this](auto *sender, auto signal, std::initializer_list<void (NotchViewModel::*)()> updates) {
        for (auto update : updates)
            connect(sender, signal, this, update);
    };
    const auto live = &NotchViewModel::updateLiveActivity;
    const auto side = &NotchViewModel::updateSideContent;
    const auto previews = &NotchViewModel::updatePreviews;
    const auto glow = &NotchViewModel::updateGlow;
    follow(this, &NotchViewModel::ambientChanged, {live, glow});
    follow(this, &NotchViewModel::nowPlayingChanged, {live, side});
    // How near the event is follows the clock too: the tick looks again.
    follow(this, &NotchViewModel::nextEventChanged, {live});
    follow(this, &NotchViewModel::nextAssignmentChanged, {live});
    follow(m_timer, &TimerStore::remainingChanged, {live});
    follow(m_timer, &TimerStore::isRunningChanged, {live, side});
    follow(this, &NotchViewModel::isEditingIslandChanged, {side, previews});
    follow(this, &NotchViewModel::islandEditPreviewChanged, {side, previews});
    follow(this, &NotchViewModel::islandEditPhaseChanged, {previews});
    follow(this, &NotchViewModel::gameModeOnChanged, {side});
    follow(this, &NotchViewModel::gameModeHoverChanged, {side});
    follow(this, &NotchViewModel::gameModeToastChanged, {side});
    follow(m_settings, &AppSettings::showAmbientSmileChanged, {side});
    follow(m_settings, &AppSettings::disabledModulesChanged, {side});
    follow(m_camera, &MirrorCamera::isRunningChanged, {glow});
}

void NotchViewModel::updateLiveActivity()
{
    assign(m_lastLiveActivity, liveActivity(), &NotchViewModel::liveActivityChanged);
}

void NotchViewModel::updateSideContent()
{
    assign(m_lastSideContent, hasCollapsedSideContent(), &NotchViewModel::hasCollapsedSideContentChanged);
}

void NotchViewModel::updatePreviews()
{
    const bool player = isPreviewingPlayer(), timer = isPreviewingTimer(), ambient = isPreviewingAmbient();
    if (player == m_lastPreviewPlayer && timer == m_lastPreviewTimer && ambient == m_lastPreviewAmbient)
        return;
    m_lastPreviewPlayer = player;
    m_lastPreviewTimer = timer;
    m_lastPreviewAmbient = ambient;
    emit previewChanged();
}

void NotchViewModel::updateGlow()
{
    assign(m_lastGlow, showsAmbientOrCamera(), &NotchViewModel::showsAmbientOrCameraChanged);
}

void NotchViewModel::setAmbient(const std::optional<AmbientPulse> &pulse)
{
    assign(m_ambient, pulse, &NotchViewModel::ambientChanged);
}

void NotchViewModel::setHud(const std::optional<SystemHUDPulse> &pulse)
{
    assign(m_hud, pulse, &NotchViewModel::hudChanged);
}

void NotchViewModel::showAmbient(const AmbientPulse &pulse)
{
    setAmbient(pulse);
    m_ambientTask.cancel();
    const bool bluetooth = pulse.kind == AmbientKind::bluetooth;
    if (!bluetooth && m_state == NotchState::collapsed)
        setState(NotchState::hover);
    m_ambientTask = m_scheduler->after(bluetooth ? BluetoothPulseMs : PulseMs, [this, pulse] {
        if (m_state == NotchState::hover && !isPointerInside())
            setState(NotchState::collapsed);
        // A newer pulse keeps its own time.
        if (m_ambient == pulse)
            setAmbient(std::nullopt);
    });
}

void NotchViewModel::bluetoothConnected(const QString &name)
{
    setBluetoothDevices(m_bluetoothMonitor->devices());
    showAmbient({AmbientKind::bluetooth, name, QStringLiteral("Connected")});
}

void NotchViewModel::bluetoothDisconnected(const QString &name)
{
    setBluetoothDevices(m_bluetoothMonitor->devices());
    showAmbient({AmbientKind::bluetooth, name, QStringLiteral("Disconnected")});
}

void NotchViewModel::powerModeChanged(bool lowPower)
{
    if (lowPower == m_isLowPower)
        return;
    assign(m_isLowPower, lowPower, &NotchViewModel::isLowPowerChanged);
    if (lowPower)
        showAmbient({AmbientKind::lowPower, QStringLiteral("Low Power Mode on"),
                     QStringLiteral("Your computer is saving energy")});
    else
        showAmbient({AmbientKind::lowPower, QStringLiteral("Low Power Mode off"), QStringLiteral("Back to full power")});
}

void NotchViewModel::handleHUD(const SystemHUDPulse &pulse)
{
    if (m_state == NotchState::update || !m_settings->showSystemHUD())
        return;
    setHud(pulse);
    m_hudMonitor->killSystemOSD();
    if (Island::isClosed(m_state))
        setState(NotchState::hud);
    // The display stays up until a while after the latest pulse, keeping the
    // system's own display away meanwhile.
    const qint64 deadline = m_clock->monotonicMs() + HudHoldMs;
    m_hudTask.cancel();
    m_hudMonitor->killSystemOSD();
    m_hudTask = m_scheduler->every(HudSuppressEveryMs,
                                   [this, pulse, deadline] { hudDismissStep(pulse, deadline); });
}

void NotchViewModel::hudDismissStep(const SystemHUDPulse &pulse, qint64 deadlineMs)
{
    if (m_clock->monotonicMs() < deadlineMs) {
        m_hudMonitor->killSystemOSD();
        return;
    }
    m_hudTask.cancel();
    if (m_hud == pulse)
        setHud(std::nullopt);
    if (m_state == NotchState::hud)
        setState(isPointerInside() ? NotchState::hover : NotchState::collapsed);
}

void NotchViewModel::applyHUDSetting()
{
    if (m_settings->showSystemHUD()) {
        m_hudMonitor->start();
        return;
    }
    m_hudMonitor->stop();
    m_hudTask.cancel();
    setHud(std::nullopt);
    if (m_state == NotchState::hud)
        setState(NotchState::collapsed);
}
