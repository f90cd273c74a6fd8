// The island's model: what it owns, its published values, start and stop.
#include "island/notchviewmodel.h"

#include "canvas/canvascredentials.h"
#include "canvas/canvasrefresh.h"
#include "canvas/canvasservice.h"
#include "core/appnotifications.h"
#include "core/clock.h"
#include "core/userdefaults.h"
#include "island/islandlook.h"
#include "media/artworkloader.h"
#include "media/mirrorcamera.h"
#include "media/nowplayingservice.h"
#include "media/voicememoengine.h"
#include "services/eyestrainguard.h"
#include "services/keepawake.h"
#include "services/powermodemonitor.h"
#include "services/systemhudmonitor.h"
#include "services/timerstore.h"
#include "store/appsettings.h"
#include "store/permissioncenter.h"
#include "tools/calculatorengine.h"
#include "tools/mediadownloadengine.h"
#include "tools/pocketstore.h"
#include "update/updateservice.h"

#include "platform/applauncher.h"
#include "platform/clipboard.h"

#include <QRegularExpression>

NotchViewModel::NotchViewModel(const IslandEnvironment &env, const IslandParts &parts, QObject *parent)
    : QObject(parent)
    , m_env(env)
    , m_settings(env.settings)
    , m_updater(env.updater)
    , m_permissions(env.permissions)
    , m_defaults(env.defaults)
    , m_clock(env.clock)
    , m_scheduler(env.scheduler)
#define PAVLET_ISLAND_PART_INIT(Type, name) , m_##name(parts.name)
    PAVLET_ISLAND_PARTS(PAVLET_ISLAND_PART_INIT)
#undef PAVLET_ISLAND_PART_INIT
    , m_games(parts.games)
{
    m_nowPlaying = NowPlayingInfo::empty(m_clock->now());
    m_gameModeOn = m_defaults->boolValue(GameModeKey, false);

    if (env.credentials) {
        connect(env.credentials, &CanvasCredentialStore::credentialsChanged, this,
                &NotchViewModel::canvasHasCredentialsChanged);
        // The keyring opened: Canvas loads without being asked.
        connect(env.credentials, &CanvasCredentialStore::keyringOpened, this,
                [this] { canvasCredentialsDidChange(); }, Qt::QueuedConnection);
    }
    connectCanvasRefresh();

    followComputedInputs();
    connect(m_camera, &MirrorCamera::started, this, &NotchViewModel::mirrorStarted);
    connect(m_camera, &MirrorCamera::gaveUp, this, &NotchViewModel::mirrorGaveUp);
    connect(m_settings, &AppSettings::disabledModulesChanged, this, &NotchViewModel::leaveHiddenPanels);
    // What the Bluetooth monitor, the player's automation and the camera are
    // allowed: the wishes, and (for Bluetooth) the finished permission setup.
    connect(m_settings, &AppSettings::permissionWishesChanged, this, &NotchViewModel::applyPermissionPreferences);
    connect(m_defaults, &UserDefaults::changed, this, [this](const QString &key) {
        if (key == SetupCompletedKey)
            applyPermissionPreferences();
    });
    connect(m_settings, &AppSettings::showSystemHUDChanged, this, &NotchViewModel::applyHUDSetting);
    connect(m_updater, &UpdateService::wantsPromptChanged, this, [this] {
        if (m_updater->wantsPrompt())
            updatePromptChanged();
    });
    connect(m_nowPlayingService, &NowPlayingService::artworkReady, this, &NotchViewModel::artworkArrived);
    connect(m_nowPlayingService, &NowPlayingService::artworkFailed, this, &NotchViewModel::artworkFailed);

    m_lastLiveActivity = liveActivity();
    m_lastSideContent = hasCollapsedSideContent();
    m_lastGlow = showsAmbientOrCamera();
    m_look = std::make_unique<IslandLook>(this, env);
}

NotchViewModel::~NotchViewModel()
{
    m_look.reset();
    // The handed objects, the games' engines among them, outlive the model,
    // and their connections to it end with it.
}

// --- Published values written from outside.

void NotchViewModel::setGeneratedPassword(const QString &value)
{
    assign(m_generatedPassword, value, &NotchViewModel::generatedPasswordChanged);
}

void NotchViewModel::setNotchHeight(double value)
{
    assign(m_notchHeight, value, &NotchViewModel::notchHeightChanged);
}

void NotchViewModel::setUsesFloatingIsland(bool value)
{
    assign(m_usesFloatingIsland, value, &NotchViewModel::usesFloatingIslandChanged);
}

void NotchViewModel::setHomeContentHeight(double value)
{
    assign(m_homeContentHeight, value, &NotchViewModel::homeContentHeightChanged);
}

void NotchViewModel::setEditingModules(bool value)
{
    assign(m_isEditingModules, value, &NotchViewModel::isEditingModulesChanged);
}

void NotchViewModel::setEditingIsland(bool value)
{
    assign(m_isEditingIsland, value, &NotchViewModel::isEditingIslandChanged);
}

void NotchViewModel::setIslandEditPhase(IslandEditPhase value)
{
    assign(m_islandEditPhase, value, &NotchViewModel::islandEditPhaseChanged);
}

void NotchViewModel::setIslandEditPreview(IslandEditPreview value)
{
    assign(m_islandEditPreview, value, &NotchViewModel::islandEditPreviewChanged);
}

void NotchViewModel::setFileDropTargeted(bool value)
{
    assign(m_fileDropTargeted, value, &NotchViewModel::fileDropTargetedChanged);
}

void NotchViewModel::setActiveGame(PavletGame game)
{
    assign(m_activeGame, game, &NotchViewModel::activeGameChanged);
}

void NotchViewModel::setGameModeHover(bool value)
{
    assign(m_gameModeHover, value, &NotchViewModel::gameModeHoverChanged);
}

void NotchViewModel::setGameModeToast(bool value)
{
    assign(m_gameModeToast, value, &NotchViewModel::gameModeToastChanged);
}

void NotchViewModel::setBluetoothDevices(const QList<BluetoothDeviceInfo> &devices)
{
    assign(m_bluetoothDevices, devices, &NotchViewModel::bluetoothDevicesChanged);
}

void NotchViewModel::setPointerInsideTest(std::function<bool()> test)
{
    m_isPointerInside = std::move(test);
}

// --- Values for QML: an absent reading is null.

namespace {
template<typename T>
QVariant optionalValue(const std::optional<T> &value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}
} // namespace

QVariant NotchViewModel::nextEventValue() const { return optionalValue(m_nextEvent); }
QVariant NotchViewModel::nextAssignmentValue() const { return optionalValue(m_nextAssignment); }
QVariant NotchViewModel::batteryValue() const { return optionalValue(m_battery); }
QVariant NotchViewModel::weatherValue() const { return optionalValue(m_weather); }
QVariant NotchViewModel::canvasUserNameValue() const { return optionalValue(m_canvasUserName); }
QVariant NotchViewModel::systemValue() const { return optionalValue(m_system); }
QVariant NotchViewModel::networkValue() const { return optionalValue(m_network); }
QVariant NotchViewModel::nextReminderValue() const { return optionalValue(m_nextReminder); }
QVariant NotchViewModel::ambientValue() const { return optionalValue(m_ambient); }
QVariant NotchViewModel::hudValue() const { return optionalValue(m_hud); }

// --- Helpers.

bool NotchViewModel::moduleShown(HomeModule module) const
{
    return !m_settings->disabledModuleIDs().contains(HomeModules::id(module));
}

bool NotchViewModel::granted(AppPermission permission) const
{
    return m_permissions->isGranted(permission) == PermissionStatus::granted;
}

bool NotchViewModel::want(const QString &key, bool fallback) const
{
    return m_defaults->boolValue(key, fallback);
}

// --- Start and stop.

void NotchViewModel::start()
{
    // A second start would double every registration and task.
    if (m_started)
        return;
    m_started = true;

    m_nowPlayingService->start();
    m_powerMonitor->start();
    assign(m_isLowPower, m_powerMonitor->isLowPowerModeEnabled(), &NotchViewModel::isLowPowerChanged);
    setBluetoothDevices(m_bluetoothMonitor->devices());
    m_monitorConnections = {
        connect(m_bluetoothMonitor, &BluetoothMonitor::connected, this, &NotchViewModel::bluetoothConnected),
        connect(m_bluetoothMonitor, &BluetoothMonitor::disconnected, this,
                &NotchViewModel::bluetoothDisconnected),
        connect(m_powerMonitor, &PowerModeMonitor::lowPowerModeChanged, this, &NotchViewModel::powerModeChanged),
        connect(m_hudMonitor, &SystemHUDMonitor::pulsed, this, &NotchViewModel::handleHUD),
    };
    applyPermissionPreferences();
    m_tickTask.cancel();

    AppNotifications *notes = m_env.notifications;
    m_credentialsObserver = connect(notes, &AppNotifications::canvasCredentialsChanged, this,
                                    [this] { canvasCredentialsDidChange(); }, Qt::QueuedConnection);
    m_permissionsObserver = connect(notes, &AppNotifications::permissionsChanged, this,
                                    [this] { permissionsDidChange(); }, Qt::QueuedConnection);

    auto loop = std::make_shared<TaskHandle::State>();
    m_tickTask = TaskHandle(loop);
    runRefreshLoop(loop);

    m_updateCheckTask = m_scheduler->after(UpdateCheckDelayMs, [this] {
        if (m_defaults->boolValue(SetupCompletedKey, false))
            m_updater->check(true);
    });
}

void NotchViewModel::stop()
{
    m_nowPlayingService->stop();
    m_bluetoothMonitor->stop();
    m_bluetoothOn = false;
    m_powerMonitor->stop();
    m_camera->stop();
    stopAllGames();
    m_speedTest->cancel();
    m_hudMonitor->stop();
    m_tickTask.cancel();
    m_hoverTask.cancel();
    m_clickTask.cancel();
    m_ambientTask.cancel();
    m_hudTask.cancel();
    m_gameModeToastTask.cancel();
    m_updateCheckTask.cancel();
    disconnect(m_credentialsObserver);
    disconnect(m_permissionsObserver);
    for (const QMetaObject::Connection &connection : std::as_const(m_monitorConnections))
        disconnect(connection);
}

void NotchViewModel::applyPermissionPreferences()
{
    m_nowPlayingService->setAllowAutomation(want(QStringLiteral("wantAutomation"), true)
                                            && granted(AppPermission::automation));
    setBluetoothOn(m_defaults->boolValue(SetupCompletedKey, false)
                   && want(QStringLiteral("wantBluetooth"), true) && granted(AppPermission::bluetooth));
    const bool cameraAllowed = want(QStringLiteral("wantCamera"), true) && granted(AppPermission::camera);
    if (!cameraAllowed && (m_camera->isRunning() || m_camera->isStarting())) {
        m_camera->stop();
        if (m_state == NotchState::mirror)
            openHome();
    }
    applyHUDSetting();
}

void NotchViewModel::setBluetoothOn(bool on)
{
    m_bluetoothOn = on;
    if (on) {
        m_bluetoothMonitor->registerForConnectNotifications();
        m_bluetoothMonitor->refresh();
        m_bluetoothMonitor->start();
    } else {
        m_bluetoothMonitor->stop();
        setBluetoothDevices({});
    }
}

// --- Small operations of the panels.

QString NotchViewModel::greeting() const
{
    const int hour = m_clock->now().toLocalTime().time().hour();
    QString text = hour < 12 ? QStringLiteral("Good morning")
        : hour < 17          ? QStringLiteral("Good afternoon")
                             : QStringLiteral("Good evening");
    const QString first = canvasFirstName();
    if (!first.isEmpty())
        text += QStringLiteral(", ") + first;
    return text;
}

QString NotchViewModel::canvasFirstName() const
{
    if (!m_canvasUserName)
        return {};
    const QStringList words = m_canvasUserName->split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return words.isEmpty() ? QString() : words.first();
}

void NotchViewModel::copyToClipboard(const ClipboardItem &item)
{
    assign(m_clipboard, m_clipboardStore->copyBack(item.text), &NotchViewModel::clipboardChanged);
}

bool NotchViewModel::canvasHasCredentials() const
{
    return m_env.credentials && m_env.credentials->hasCredentials();
}

bool NotchViewModel::canvasWaitingForKeyring() const
{
    return m_env.credentials && m_env.credentials->waitingForKeyring();
}

QString NotchViewModel::canvasKeyringProblem() const
{
    return m_env.credentials ? m_env.credentials->keyringProblem() : QString();
}


void NotchViewModel::setCanvasBoard(const CanvasBoard &board)
{
    assign(m_canvasBoard, board, &NotchViewModel::canvasBoardChanged);
}

void NotchViewModel::setCanvasUserName(const std::optional<QString> &name)
{
    assign(m_canvasUserName, name, &NotchViewModel::canvasUserNameChanged);
}

void NotchViewModel::cancelHoverTask()
{
    m_hoverTask.cancel();
}

bool NotchViewModel::openWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return false;
    return m_env.platform.appLauncher->openUrl(url);
}

void NotchViewModel::joinEvent(const NextEvent &event)
{
    if (event.joinURL)
        openWebAddress(*event.joinURL);
}

void NotchViewModel::openAssignment(const std::optional<CanvasAssignment> &assignment)
{
    const std::optional<CanvasAssignment> chosen = assignment ? assignment : m_nextAssignment;
    if (chosen && chosen->url)
        openWebAddress(*chosen->url);
}

void NotchViewModel::openAssignment(const QVariant &assignment)
{
    if (!assignment.isNull() && assignment.canConvert<CanvasAssignment>())
        openAssignment(std::optional<CanvasAssignment>(assignment.value<CanvasAssignment>()));
    else
        openAssignment(std::optional<CanvasAssignment>());
}
