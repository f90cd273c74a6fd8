#include "island/islandlook.h"

#include "core/appnotifications.h"
#include "core/clock.h"
#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "media/mirrorcamera.h"
#include "services/timerstore.h"
#include "store/appsettings.h"
#include "store/permissions.h"

#include <QLocale>

IslandLook::IslandLook(NotchViewModel *model, const IslandEnvironment &env, QObject *parent)
    : QObject(parent),
      m_model(model),
      m_settings(env.settings),
      m_permissions(env.permissions),
      m_defaults(env.defaults),
      m_clock(env.clock)
{
    connect(m_model, &NotchViewModel::changed, this, &IslandLook::refresh);
    if (env.notifications)
        connect(env.notifications, &AppNotifications::permissionsChanged, this, &IslandLook::refresh);
    if (m_defaults)
        connect(m_defaults, &UserDefaults::changed, this, [this](const QString &key) {
            if (key == PermissionCenter::wantKeyName(AppPermission::location))
                refresh();
        });
    refresh();
}

IslandLook::~IslandLook() = default;

void IslandLook::timePassed()
{
    if (m_model->state() == NotchState::hover)
        refresh();
}

HoverContent::Inputs IslandLook::hoverInputs() const
{
    HoverContent::Inputs in;
    in.ambient = m_model->ambient();
    const LiveActivity activity = m_model->liveActivity();
    in.activity = HoverContent::Activity(int(activity.kind));
    const NowPlayingInfo &playing = m_model->nowPlaying();
    in.trackTitle = activity.track.title;
    in.trackArtist = activity.track.artist;
    in.trackSource = int(activity.track.source);
    in.timerText = activity.timerText;
    in.event = activity.event;
    in.assignmentCourse = activity.assignment.course;
    in.assignmentTitle = activity.assignment.title;
    const QDateTime now = m_clock ? m_clock->now() : QDateTime::currentDateTime();
    in.showClock = m_settings && m_settings->showClockWhenIdle();
    in.clockText = m_settings ? m_settings->formatTime(now, false) : QString();
    in.upcomingEvents = m_model->upcomingEvents();
    in.nowMs = now.toMSecsSinceEpoch();
    in.isPlaying = playing.isPlaying;
    in.playingSource = int(playing.source);
    in.playerHidden = m_settings && !m_settings->isModuleEnabled(HomeModule::player);
    in.showVisualizer = m_settings && m_settings->playerShowVisualizer();
    in.weatherHidden = m_settings && !m_settings->isModuleEnabled(HomeModule::weather);
    in.wantLocation = !m_permissions || m_permissions->wantKey(AppPermission::location);
    // Reading the grant may record it: only when there is weather to show.
    if (const auto &weather = m_model->weather()) {
        in.temperature = weather->temperature;
        in.locationGranted = m_permissions
            && m_permissions->isGranted(AppPermission::location) == PermissionStatus::granted;
    }
    return in;
}

CompactIsland::Inputs IslandLook::compactInputs() const
{
    CompactIsland::Inputs in;
    const NowPlayingInfo &playing = m_model->nowPlaying();
    in.isPlaying = playing.isPlaying;
    in.hasArtwork = playing.hasArtwork();
    in.source = int(playing.source);
    in.playerHidden = m_settings && !m_settings->isModuleEnabled(HomeModule::player);
    in.showVisualizer = m_settings && m_settings->playerShowVisualizer();
    in.timerRunning = m_model->timer() && m_model->timer()->isRunning();
    in.previewingPlayer = m_model->isPreviewingPlayer();
    in.previewingTimer = m_model->isPreviewingTimer();
    in.previewingAmbient = m_model->isPreviewingAmbient();
    in.showAmbientSmile = m_settings && m_settings->showAmbientSmile();
    in.gameModeHidden = m_settings && !m_settings->isModuleEnabled(HomeModule::gameMode);
    in.gameModeOn = m_model->gameModeOn();
    in.gameModeHover = m_model->gameModeHover();
    in.gameModeToast = m_model->gameModeToast();
    in.floating = m_model->usesFloatingIsland();
    in.notchHeight = m_model->notchHeight();
    return in;
}

void IslandLook::refresh()
{
    const NotchState state = m_model->state();
    const bool floating = m_model->usesFloatingIsland();
    const double notchHeight = m_model->notchHeight();

    assign(m_cornerRadius,
           IslandMetrics::cornerRadius(state, floating, m_settings ? m_settings->lipCornerRadius() : 10),
           &IslandLook::cornerRadiusChanged);

    QList<IslandInsets> insets;
    for (int s = 0; s <= int(NotchState::update); ++s)
        insets.append(IslandMetrics::insets(NotchState(s), floating, notchHeight));
    assign(m_insets, insets, &IslandLook::insetsChanged);

    assign(m_glow,
           IslandMetrics::islandGlow(m_model->timer() && m_model->timer()->isRunning(),
                                     m_model->isPreviewingTimer(), m_model->ambient().has_value(),
                                     m_model->isPreviewingAmbient(), m_model->showsAmbientOrCamera()),
           &IslandLook::glowChanged);

    const bool pocketHidden = m_settings && !m_settings->isModuleEnabled(HomeModule::pocket);
    assign(m_showsDropHint, IslandMetrics::showsDropHint(m_model->fileDropTargeted(), pocketHidden, state),
           &IslandLook::showsDropHintChanged);

    const auto &pulse = m_model->hud();
    const HudLook hud = pulse ? HoverContent::hudLook(pulse->kind, pulse->value, pulse->muted)
                              : HoverContent::hudLook(SystemHUDKind::volume, 0, false);
    const bool present = pulse.has_value();
    const bool overlay = IslandMetrics::showsHudOverlay(state, present);
    const double top = IslandMetrics::hudOverlayTop(floating, notchHeight);
    if (!(hud == m_hud) || present != m_hudPresent || overlay != m_showsHudOverlay || top != m_hudOverlayTop) {
        m_hud = hud;
        m_hudPresent = present;
        m_showsHudOverlay = overlay;
        m_hudOverlayTop = top;
        emit hudChanged();
    }

    assign(m_compact, CompactIsland::layout(compactInputs()), &IslandLook::compactChanged);
    assign(m_hover, HoverContent::look(hoverInputs(), QLocale::system()), &IslandLook::hoverChanged);

    const MirrorCamera *camera = m_model->camera();
    assign(m_mirror,
           HoverContent::mirrorLabel(camera && camera->faceTooClose(), m_settings && m_settings->eyeStrainGuard(),
                                     camera && camera->denied()),
           &IslandLook::mirrorChanged);

    const NowPlayingInfo &playing = m_model->nowPlaying();
    assign(m_artwork,
           playing.hasArtwork() ? QUrl(QStringLiteral("image://artwork/") + playing.artworkKey()) : QUrl(),
           &IslandLook::artworkChanged);
}
