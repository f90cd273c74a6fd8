#include "app/compositionroot.h"
#include "core/nocookies.h"

#include "app/statusitemcontroller.h"

#include "app/accentsetting.h"
#include "app/appdelegate.h"
#include "app/fieldpaste.h"
#include "app/islandservices.h"
#include "canvas/canvascredentials.h"
#include "home/homeparts.h"
#include "games/action/pongpointerprobe.h"
#include "look/animationclock.h"
#include "island/notchviewmodel.h"
#include "media/artworkloader.h"
#include "media/voicememoengine.h"
#include "notch/gamemodehotkeycenter.h"
#include "notch/islandeditcontroller.h"
#include "notch/notchwindowcontroller.h"
#include "settings/settingswindowcontroller.h"
#include "store/appsettings.h"
#include "store/permissioncenter.h"
#include "style/accent.h"
#include "update/updateservice.h"

#include "platform/linux/autostartloginitem.h"
#include "platform/linux/bluezbluetooth.h"
#include "platform/linux/desktopactivationpolicy.h"
#include "platform/linux/heaptrim.h"
#include "platform/linux/desktopapplauncher.h"
#include "platform/linux/displaycheck.h"
#include "platform/linux/ewmhworkspace.h"
#include "platform/linux/filemanagerrevealer.h"
#include "platform/linux/helpersecretstore.h"
#include "platform/linux/helperwebfetcher.h"
#include "platform/linux/icscalendarsource.h"
#include "platform/linux/libarchivezipper.h"
#include "platform/linux/linuxnetwork.h"
#include "platform/linux/linuxpermissionbackend.h"
#include "platform/linux/mprisplayers.h"
#include "platform/linux/opencvfacedetector.h"
#include "platform/linux/powerprofileslowpowermode.h"
#include "platform/linux/procsystemload.h"
#include "platform/linux/pulseaudiooutput.h"
#include "platform/linux/qprocessrunner.h"
#include "platform/linux/qtcamera.h"
#include "platform/linux/qtclipboard.h"
#include "platform/linux/helperfilepicker.h"
#include "platform/linux/qtlocation.h"
#include "platform/linux/pulseaudioplayer.h"
#include "platform/linux/pulsemicrecorder.h"
#include "platform/linux/qtscreengrabber.h"
#include "platform/linux/qtscreenprovider.h"
#include "platform/linux/desktopstatustray.h"
#include "platform/linux/screensaverinhibitor.h"
#include "platform/linux/sysfsbacklight.h"
#include "platform/linux/sysfspowersupply.h"
#include "platform/linux/x11globalhotkey.h"
#include "platform/linux/x11idletime.h"
#include "platform/linux/x11islandwindowhints.h"
#include "platform/linux/x11keypositions.h"
#include "platform/linux/x11mediakeys.h"
#include "platform/linux/x11pointerlocation.h"
#include "platform/linux/xinputclickmonitor.h"
#include "platform/linux/xtestmediakeys.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QDir>
#include <QNetworkAccessManager>
#include <QStandardPaths>
#include <QTimeZone>
#include <utility>

// The Linux implementation of every platform interface, built once.
struct CompositionRoot::LinuxBackends {
    explicit LinuxBackends(Scheduler &scheduler) : scheduler(scheduler)
    {
        // Let go once the island is on screen (CompositionRoot::start).
        secrets.hold();
        // The camera permission goes by the cameras the mirror can open.
        permissions.setCamera(&camera);
    }

    // Lets go of what the archive writer loads, once unused.
    Scheduler &scheduler;
    platform::HelperSecretStore secrets;
    platform::AutostartLoginItem loginItem;
    platform::LinuxPermissionBackend permissions;
    platform::PulseAudioOutput audio;
    platform::SysfsBacklight backlight{QDBusConnection::systemBus()};
    platform::X11MediaKeys mediaKeys;
    platform::X11IdleTime idleTime;
    platform::PowerProfilesLowPowerMode lowPowerMode{QDBusConnection::systemBus()};
    platform::BlueZBluetooth bluetooth{QDBusConnection::systemBus()};
    platform::SysfsPowerSupply powerSupply;
    platform::ProcSystemLoad systemLoad;
    platform::IfaddrsNetworkInterfaces networkInterfaces;
    platform::NetworkManagerWifi wifi;
    platform::QtReachability reachability;
    platform::QtClipboard clipboard;
    platform::QtScreenGrabber screenGrabber;
    platform::DesktopAppLauncher appLauncher;
    platform::ScreenSaverInhibitor displaySleep{QDBusConnection::sessionBus(), QDBusConnection::systemBus()};
    platform::QtLocationProvider location;
    platform::NominatimGeocoder geocoder;
    platform::IcsCalendarSource calendar;
    platform::QtScreenProvider screens;
    platform::X11PointerLocation pointer;
    platform::XInputClickMonitor clicks;
    platform::X11GlobalHotkey gameModeHotkey;
    platform::X11KeyPositions keyPositions;
    platform::X11IslandWindowHints windowHints;
    platform::EwmhWorkspace workspace;
    platform::DesktopActivationPolicy activation;
    platform::DesktopStatusTray tray{QDBusConnection::sessionBus()};
    platform::LibarchiveZipper zipper{&scheduler};
    platform::HelperFilePicker filePicker;
    platform::QProcessRunner processes;
    platform::PathToolLocator tools;
    // Both recorders take the sound server's default input of the moment.
    platform::PulseMicRecorder micRecorder;
    platform::PulseAudioPlayer audioPlayer;
    platform::DesktopSoundPlayer sounds;
    // Voice memos record and play with instances of their own, so that the
    // mic check never shares one with them.
    platform::PulseMicRecorder memoRecorder;
    platform::PulseAudioPlayer memoPlayer;
    platform::MprisPlayers mediaPlayers{QDBusConnection::sessionBus()};
    platform::XTestMediaKeys mediaKeySender;
    platform::QtCamera camera;
    platform::OpenCvFaceDetector faceDetector;
    platform::FileManagerRevealer fileRevealer{QDBusConnection::sessionBus()};
    platform::HelperWebFetcher webFetcher;

    // Every capability is the backend of its name.
    Platform bundle()
    {
        Platform p;
#define PAVLET_LINUX_BACKEND(Interface, name) p.name = &name;
        PAVLET_PLATFORM_PARTS(PAVLET_LINUX_BACKEND)
#undef PAVLET_LINUX_BACKEND
        return p;
    }
};

namespace {

// The Linux bundle with every capability the options name taken from them.
Platform withReplacements(Platform p, const Platform &r)
{
#define PAVLET_REPLACED(Interface, name) \
    if (r.name)                           \
        p.name = r.name;
    PAVLET_PLATFORM_PARTS(PAVLET_REPLACED)
#undef PAVLET_REPLACED
    return p;
}

} // namespace

CompositionRoot::CompositionRoot(const Options &options)
    : m_linux(std::make_unique<LinuxBackends>(m_scheduler))
    , m_platform(withReplacements(m_linux->bundle(), options.replacements))
{
    m_credentials = std::make_unique<CanvasCredentialStore>(m_platform.secrets, &m_defaults);
    m_permissions = std::make_unique<PermissionCenter>(m_platform.permissions, &m_defaults, &m_scheduler,
                                                       &m_notifications, &m_executor);
    m_settings = std::make_unique<AppSettings>(&m_defaults, m_platform.loginItem, m_permissions.get(),
                                               m_credentials.get(), &m_notifications);

    m_network = std::make_unique<QNetworkAccessManager>();
    refuseCookies(*m_network);
    UpdateService::Options updateOptions;
    updateOptions.downloadsFolder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    updateOptions.temporaryFolder = QDir::tempPath();
    if (!options.updateBase.isEmpty())
        updateOptions.updateBase = options.updateBase;
    m_updates = std::make_unique<UpdateService>(m_platform.webFetcher, m_network.get(), &m_scheduler,
                                                m_platform.appLauncher, updateOptions, &m_executor);
    bindSkippedUpdateVersion(m_settings.get(), m_updates.get());

    IslandEnvironment island;
    island.platform = m_platform;
    island.settings = m_settings.get();
    island.permissions = m_permissions.get();
    island.defaults = &m_defaults;
    island.clock = &m_clock;
    island.scheduler = &m_scheduler;
    island.random = &m_random;
    island.notifications = &m_notifications;
    island.network = m_network.get();
    island.executor = &m_executor;
    island.updater = m_updates.get();
    island.credentials = m_credentials.get();
    if (!options.weatherBase.isEmpty())
        island.weatherBase = options.weatherBase;
    if (!options.translatorBase.isEmpty())
        island.translatorBase = options.translatorBase;
    if (!options.speedTestBase.isEmpty()) {
        island.speedTest.mainBase = options.speedTestBase;
        island.speedTest.speedBase = options.speedTestBase;
    }
    const VoiceMemoFolders memoFolders = VoiceMemoFolders::standard();
    island.memosFolder = memoFolders.memos;
    island.exportFolder = memoFolders.downloads;
    m_islandServices = std::make_unique<IslandServices>(island);
    const IslandParts islandParts = m_islandServices->parts();
    m_island = std::make_unique<NotchViewModel>(island, islandParts);
    m_homeParts = std::make_unique<HomeParts>(island);

    // The island's views come from the Pavlet QML module built into the program.
    m_animations.install();
    m_animations.paceFrames();
    m_engine = std::make_unique<QQmlEngine>();
    m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    showAccentSetting(m_settings.get(), Accent::forEngine(m_engine.get()));
    AnimationClock::setSource(m_engine.get(), &m_clock, &m_scheduler);
    PongPointerProbe::setSource(m_engine.get(), m_platform.pointer, &m_scheduler);
    m_engine->addImageProvider(QLatin1String(ArtworkImageProvider::Name),
                               new ArtworkImageProvider(*islandParts.artworkLoader));
    m_hotkeyCenter = std::make_unique<GameModeHotkeyCenter>(m_platform.gameModeHotkey);
    m_fieldPaste = std::make_unique<FieldPaste>(m_platform.clipboard);
    QCoreApplication::instance()->installEventFilter(m_fieldPaste.get());

    AppDelegate::Parts parts;
    parts.defaults = &m_defaults;
    parts.settings = m_settings.get();
    parts.permissions = m_permissions.get();
    parts.notifications = &m_notifications;
    parts.workspace = m_platform.workspace;
    parts.activation = m_platform.activation;
    parts.tray = m_platform.tray;
    parts.window.model = m_island.get();
    parts.window.screens = m_platform.screens;
    parts.window.pointer = m_platform.pointer;
    parts.window.clicks = m_platform.clicks;
    parts.window.hotkey = m_hotkeyCenter.get();
    parts.window.hints = m_platform.windowHints;
    parts.window.keys = m_platform.keyPositions;
    parts.window.clock = &m_clock;
    parts.window.scheduler = &m_scheduler;
    parts.window.engine = m_engine.get();
    parts.window.homeParts = m_homeParts.get();
    m_delegate = std::make_unique<AppDelegate>(parts);
    // The zip card's dialog stands over the island that opened it.
    AppDelegate *delegate = m_delegate.get();
    m_linux->filePicker.setAbove([delegate]() -> QWindow * {
        return delegate->notch() ? delegate->notch()->panel() : nullptr;
    });
    connectIslandEditor();
    connectSettingsWindow();
    connectMemoryGiveBack();
}

void CompositionRoot::connectMemoryGiveBack()
{
    const auto schedule = [this] {
        const bool resting = m_island->state() == Island::NotchState::collapsed
            && !(m_settingsWindow->window() && m_settingsWindow->window()->isVisible());
        if (resting)
            m_giveBack = m_scheduler.after(GiveBackMs, [this] { giveBackMemory(); });
        else
            m_giveBack.cancel();
    };
    QObject::connect(m_island.get(), &NotchViewModel::stateChanged, m_island.get(), schedule);
    // The settings window tells of its closing while it still shows: the
    // rest is judged once it has gone.
    QObject::connect(m_settingsWindow.get(), &SettingsWindowController::closed, m_island.get(), schedule,
                     Qt::QueuedConnection);
}

void CompositionRoot::giveBackMemory()
{
    // The closed panels' and pages' objects are collected, their compiled
    // components and the windows' scene-graph caches dropped, and the heap's
    // free pages returned: the next opening builds again what it needs.
    m_settingsWindow->release();
    m_engine->collectGarbage();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_engine->trimComponentCache();
    if (m_delegate->notch())
        m_delegate->notch()->panel()->releaseResources();
    platform::trimHeap();
}

void CompositionRoot::connectSettingsWindow()
{
    // The settings window: built by the first request for it (its pages,
    // controls and dialogs stay out of memory until then), brought forward
    // by the delegate after that.
    SettingsWindowController::Parts window;
    window.settings = m_settings.get();
    window.updater = m_updates.get();
    window.permissions = m_permissions.get();
    window.credentials = m_credentials.get();
    window.defaults = &m_defaults;
    window.notifications = &m_notifications;
    window.activation = m_platform.activation;
    window.screens = m_platform.screens;
    window.keys = m_platform.keyPositions;
    window.launcher = m_platform.appLauncher;
    window.scheduler = &m_scheduler;
    window.clock = &m_clock;
    window.random = &m_random;
    window.engine = m_engine.get();
    AppDelegate *delegate = m_delegate.get();
    window.island = [delegate] { return delegate->notch() ? delegate->notch()->restingFrame() : QRect(); };
    m_settingsWindow = std::make_unique<SettingsWindowController>(window);
    QObject::connect(m_delegate.get(), &AppDelegate::settingsRequested, m_settingsWindow.get(),
                     &SettingsWindowController::show);
    QObject::connect(m_settingsWindow.get(), &SettingsWindowController::quitRequested, m_delegate.get(),
                     &AppDelegate::quitRequested);
}

void CompositionRoot::connectIslandEditor()
{
    // The on-screen editor: the delegate starts and ends it, the island's
    // model gives it the phase and the Home height, and its views edit the
    // model's phase and preview.
    m_islandEditor = std::make_unique<IslandEditController>(m_settings.get(), m_platform.screens, m_engine.get());
    IslandEditController *editor = m_islandEditor.get();
    NotchViewModel *island = m_island.get();
    editor->setViewModel(island);
    editor->setWindowHints(m_platform.windowHints);
    // The editor's shade stays under the island and its controls over it.
    AppDelegate *delegate = m_delegate.get();
    QObject::connect(editor, &IslandEditController::panelsShown, delegate, [delegate](QWindow *shade, QWindow *controls) {
        if (!delegate->notch())
            return;
        NotchPanel *panel = delegate->notch()->panel();
        panel->setStackedBelow(shade);
        panel->setStackedAbove(controls);
        panel->bringToFront();
    });
    editor->setPhase(island->islandEditPhase());
    editor->setHomeContentHeight(island->homeContentHeight());
    QObject::connect(m_delegate.get(), &AppDelegate::beginIslandEditRequested, editor, &IslandEditController::begin);
    QObject::connect(m_delegate.get(), &AppDelegate::finishIslandEditRequested, editor, &IslandEditController::finish);
    QObject::connect(editor, &IslandEditController::activeChanged, m_delegate.get(), &AppDelegate::islandEditChanged);
    QObject::connect(editor, &IslandEditController::editFinished, island, [island] {
        island->setEditingIsland(false);
        island->setIslandEditPreview(IslandEditPreview::idle);
    });
    QObject::connect(island, &NotchViewModel::islandEditPhaseChanged, editor,
                     [editor, island] { editor->setPhase(island->islandEditPhase()); });
    QObject::connect(island, &NotchViewModel::homeContentHeightChanged, editor,
                     [editor, island] { editor->setHomeContentHeight(island->homeContentHeight()); });
}

QString CompositionRoot::missingDisplayReason()
{
    return platform::missingDisplayReason();
}

void CompositionRoot::releaseDisplayCheck()
{
    platform::releaseDisplayCheck();
}

CompositionRoot::~CompositionRoot()
{
    // The windows go before the engine and the backends they use.
    m_settingsWindow.reset();
    m_delegate.reset();
    m_islandEditor.reset();
    // What the views let go of on the way out goes by deferred deletes (a
    // loader's half-made item, a panel leaving the island), which no event
    // loop runs once the program quits: they go now, before the engine and
    // the objects their bindings read. A deletion may defer another, so a
    // few rounds.
    for (int round = 0; round < 4; ++round)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void CompositionRoot::start()
{
    m_delegate->start();
    // The keyring is asked once the island has drawn its first frame (or
    // after a moment, should it never draw), so that its helper does not
    // compete with the island's start.
    platform::HelperSecretStore *secrets = &m_linux->secrets;
    m_secretsRelease = m_scheduler.after(SecretsReleaseMs, [secrets] { secrets->release(); });
    if (NotchPanel *panel = m_delegate->notch() ? m_delegate->notch()->panel() : nullptr)
        QObject::connect(panel, &QQuickWindow::frameSwapped, panel, [this, secrets] {
            m_secretsRelease.cancel();
            secrets->release();
        }, static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    // The settings window is built in the background whenever the user is on
    // the way to it (Home has opened, whose header opens it, or the tray's
    // menu is up), so that its opening only draws it and the island at rest
    // does not carry it (a give-back drops it again).
    QObject::connect(m_delegate->notch(), &NotchWindowController::homeSettled, m_settingsWindow.get(),
                     &SettingsWindowController::buildAhead, Qt::QueuedConnection);
    if (StatusItemController *status = m_delegate->statusItem())
        QObject::connect(status, &StatusItemController::menuOpening, m_settingsWindow.get(),
                         &SettingsWindowController::buildAhead, Qt::QueuedConnection);
}

void CompositionRoot::shutdown()
{
    // The island window stops the island's model with it.
    m_delegate->shutdown();
}
