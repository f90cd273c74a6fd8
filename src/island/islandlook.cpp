#include "island/islandlook.h"

#include "core/appnotifications.h"
#include "core/clock.h"
#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "media/artworkloader.h"
#include "media/mirrorcamera.h"
#include "services/timerstore.h"
#include "store/appsettings.h"
#include "store/permissioncenter.h"

#include <QLocale>

IslandLook::IslandLook(NotchViewModel *model, const IslandEnvironment &env, QObject *parent)
    : QObject(parent),
      m_model(model),
      m_settings(env.settings),
      m_permissions(env.permissions),
      m_defaults(env.defaults),
      m_clock(env.clock)
{
    followInputs(env);
    refresh();
}

void IslandLook::followInputs(const IslandEnvironment &env)
{
    using Look = IslandLook;
    auto follow = [this](auto *sender, auto signal, std::initializer_list<void (IslandLook::*)()> updates) {
        if (!sender)
            return;
        for (auto update : updates)
            connect(sender, signal, this, update);
    };
    using Model = NotchViewModel;
    follow(m_model, &Model::stateChanged,
           {&Look::refreshCornerRadius, &Look::refreshDropHint, &Look::refreshHud, &Look::refreshHover});
    follow(m_model, &Model::usesFloatingIslandChanged,
           {&Look::refreshCornerRadius, &Look::refreshInsets, &Look::refreshHud, &Look::refreshCompact});
    follow(m_model, &Model::notchHeightChanged, {&Look::refreshInsets, &Look::refreshHud, &Look::refreshCompact});
    follow(m_model, &Model::fileDropTargetedChanged, {&Look::refreshDropHint});
    follow(m_model, &Model::hudChanged, {&Look::refreshHud});
    follow(m_model, &Model::ambientChanged, {&Look::refreshGlow, &Look::refreshHover});
    follow(m_model, &Model::showsAmbientOrCameraChanged, {&Look::refreshGlow});
    follow(m_model, &Model::previewChanged, {&Look::refreshGlow, &Look::refreshCompact});
    follow(m_model, &Model::nowPlayingChanged, {&Look::refreshCompact, &Look::refreshHover, &Look::refreshArtwork});
    follow(m_model, &Model::liveActivityChanged, {&Look::refreshHover});
    follow(m_model, &Model::upcomingEventsChanged, {&Look::refreshHover});
    follow(m_model, &Model::weatherChanged, {&Look::refreshHover});
    for (auto game : {&Model::gameModeOnChanged, &Model::gameModeHoverChanged, &Model::gameModeToastChanged})
        follow(m_model, game, {&Look::refreshCompact});
    follow(m_model->timer(), &TimerStore::isRunningChanged, {&Look::refreshGlow, &Look::refreshCompact});
    follow(m_model->camera(), &MirrorCamera::faceTooCloseChanged, {&Look::refreshMirror});
    follow(m_model->camera(), &MirrorCamera::deniedChanged, {&Look::refreshMirror});

    follow(m_settings, &AppSettings::lipCornerRadiusChanged, {&Look::refreshCornerRadius});
    follow(m_settings, &AppSettings::disabledModulesChanged,
           {&Look::refreshDropHint, &Look::refreshCompact, &Look::refreshHover});
    follow(m_settings, &AppSettings::playerShowVisualizerChanged, {&Look::refreshCompact, &Look::refreshHover});
    follow(m_settings, &AppSettings::showAmbientSmileChanged, {&Look::refreshCompact});
    for (auto clock : {&AppSettings::showClockWhenIdleChanged, &AppSettings::notchTimeZoneChanged,
                       &AppSettings::notchUse24HourChanged})
        follow(m_settings, clock, {&Look::refreshHover});
    follow(m_settings, &AppSettings::eyeStrainGuardChanged, {&Look::refreshMirror});

    // The weather's place in the hover island follows the location grant and
    // the wish for it.
    follow(env.notifications, &AppNotifications::permissionsChanged, {&Look::refreshHover});
    if (m_defaults)
        connect(m_defaults, &UserDefaults::changed, this, [this](const QString &key) {
            if (key == PermissionCenter::wantKeyName(AppPermission::location))
                refreshHover();
        });
}

IslandLook::~IslandLook() = default;

void IslandLook::timePassed()
{
    if (m_model->state() == NotchState::hover)
        refreshHover();
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
    refreshCornerRadius();
    refreshInsets();
    refreshGlow();
    refreshDropHint();
    refreshHud();
    refreshCompact();
    refreshHover();
    refreshMirror();
    refreshArtwork();
}

void IslandLook::refreshCornerRadius()
{
    assign(m_cornerRadius,
           IslandMetrics::cornerRadius(m_model->state(), m_model->usesFloatingIsland(),
                                       m_settings ? m_settings->lipCornerRadius() : 10),
           &IslandLook::cornerRadiusChanged);
}

void IslandLook::refreshInsets()
{
    QList<IslandInsets> insets;
    for (int s = 0; s <= int(NotchState::update); ++s)
        insets.append(IslandMetrics::insets(NotchState(s), m_model->usesFloatingIsland(), m_model->notchHeight()));
    assign(m_insets, insets, &IslandLook::insetsChanged);
}

void IslandLook::refreshGlow()
{
    assign(m_glow,
           IslandMetrics::islandGlow(m_model->timer() && m_model->timer()->isRunning(),
                                     m_model->isPreviewingTimer(), m_model->ambient().has_value(),
                                     m_model->isPreviewingAmbient(), m_model->showsAmbientOrCamera()),
           &IslandLook::glowChanged);
}

void IslandLook::refreshDropHint()
{
    const bool pocketHidden = m_settings && !m_settings->isModuleEnabled(HomeModule::pocket);
    assign(m_showsDropHint, IslandMetrics::showsDropHint(m_model->fileDropTargeted(), pocketHidden, m_model->state()),
           &IslandLook::showsDropHintChanged);
}

void IslandLook::refreshHud()
{
    const auto &pulse = m_model->hud();
    const HudLook hud = pulse ? HoverContent::hudLook(pulse->kind, pulse->value, pulse->muted)
                              : HoverContent::hudLook(SystemHUDKind::volume, 0, false);
    const bool present = pulse.has_value();
    const bool overlay = IslandMetrics::showsHudOverlay(m_model->state(), present);
    const double top = IslandMetrics::hudOverlayTop(m_model->usesFloatingIsland(), m_model->notchHeight());
    if (!(hud == m_hud) || present != m_hudPresent || overlay != m_showsHudOverlay || top != m_hudOverlayTop) {
        m_hud = hud;
        m_hudPresent = present;
        m_showsHudOverlay = overlay;
        m_hudOverlayTop = top;
        emit hudChanged();
    }
}

void IslandLook::refreshCompact()
{
    assign(m_compact, CompactIsland::layout(compactInputs()), &IslandLook::compactChanged);
}

void IslandLook::refreshHover()
{
    assign(m_hover, HoverContent::look(hoverInputs(), QLocale::system()), &IslandLook::hoverChanged);
}

void IslandLook::refreshMirror()
{
    const MirrorCamera *camera = m_model->camera();
    assign(m_mirror,
           HoverContent::mirrorLabel(camera && camera->faceTooClose(), m_settings && m_settings->eyeStrainGuard(),
                                     camera && camera->denied()),
           &IslandLook::mirrorChanged);
}

void IslandLook::refreshArtwork()
{
    const NowPlayingInfo &playing = m_model->nowPlaying();
    assign(m_artwork,
           playing.hasArtwork() ? ArtworkLoader::imageUrl(playing.artworkKey()) : QUrl(),
           &IslandLook::artworkChanged);
}
