#include "compositionroot.h"

#include "appsettings.h"
#include "artworkloader.h"
#include "canvascredentials.h"
#include "mirrorcamera.h"
#include "nowplayingservice.h"
#include "permissions.h"
#include "voicememoengine.h"

#include "autostartloginitem.h"
#include "bluezbluetooth.h"
#include "desktopapplauncher.h"
#include "icscalendarsource.h"
#include "keychainsecretstore.h"
#include "linuxnetwork.h"
#include "linuxpermissionbackend.h"
#include "mprisplayers.h"
#include "opencvfacedetector.h"
#include "powerprofileslowpowermode.h"
#include "procsystemload.h"
#include "qprocessrunner.h"
#include "qtaudiorecorder.h"
#include "qtcamera.h"
#include "pulseaudiooutput.h"
#include "qtclipboard.h"
#include "qtlocation.h"
#include "qtscreengrabber.h"
#include "screensaverinhibitor.h"
#include "sysfsbacklight.h"
#include "sysfspowersupply.h"
#include "x11idletime.h"
#include "x11mediakeys.h"
#include "xtestmediakeys.h"

#include <QDBusConnection>
#include <QNetworkAccessManager>

// The Linux implementation of every platform interface, built once.
struct CompositionRoot::LinuxBackends {
    KeychainSecretStore secrets;
    AutostartLoginItem loginItem;
    LinuxPermissionBackend permissions;
    PulseAudioOutput audio;
    SysfsBacklight backlight{QDBusConnection::systemBus()};
    X11MediaKeys mediaKeys;
    X11IdleTime idleTime;
    PowerProfilesLowPowerMode lowPowerMode{QDBusConnection::systemBus()};
    BlueZBluetooth bluetooth{QDBusConnection::systemBus()};
    platform::SysfsPowerSupply powerSupply;
    platform::ProcSystemLoad systemLoad;
    platform::IfaddrsNetworkInterfaces networkInterfaces;
    platform::NetworkManagerWifi wifi;
    platform::QtReachability reachability;
    platform::QtClipboard clipboard;
    platform::QtScreenGrabber screenGrabber;
    platform::DesktopAppLauncher appLauncher;
    platform::ScreenSaverInhibitor displaySleep;
    platform::QtLocationProvider location;
    platform::NominatimGeocoder geocoder;
    platform::IcsCalendarSource calendar;
    MprisPlayers mediaPlayers{QDBusConnection::sessionBus()};
    XTestMediaKeys mediaKeySender;
    QtCamera camera;
    OpenCvFaceDetector faceDetector;
    QtAudioRecorder audioRecorder;
    QtAudioPlayer audioPlayer;
    QProcessRunner processRunner;
    FileManagerRevealer fileRevealer{QDBusConnection::sessionBus()};

    Platform bundle()
    {
        Platform p;
        p.secrets = &secrets;
        p.loginItem = &loginItem;
        p.permissions = &permissions;
        p.audio = &audio;
        p.backlight = &backlight;
        p.mediaKeys = &mediaKeys;
        p.idleTime = &idleTime;
        p.lowPowerMode = &lowPowerMode;
        p.bluetooth = &bluetooth;
        p.powerSupply = &powerSupply;
        p.systemLoad = &systemLoad;
        p.networkInterfaces = &networkInterfaces;
        p.wifi = &wifi;
        p.reachability = &reachability;
        p.clipboard = &clipboard;
        p.screenGrabber = &screenGrabber;
        p.appLauncher = &appLauncher;
        p.displaySleep = &displaySleep;
        p.location = &location;
        p.geocoder = &geocoder;
        p.calendar = &calendar;
        p.mediaPlayers = &mediaPlayers;
        p.mediaKeySender = &mediaKeySender;
        p.camera = &camera;
        p.faceDetector = &faceDetector;
        p.audioRecorder = &audioRecorder;
        p.audioPlayer = &audioPlayer;
        p.processRunner = &processRunner;
        p.fileRevealer = &fileRevealer;
        return p;
    }
};

CompositionRoot::CompositionRoot()
    : m_linux(std::make_unique<LinuxBackends>())
    , m_platform(m_linux->bundle())
{
    m_credentials = std::make_unique<CanvasCredentialStore>(m_platform.secrets, &m_defaults);
    m_permissions = std::make_unique<PermissionCenter>(m_platform.permissions, &m_defaults, &m_scheduler,
                                                       &m_notifications);
    m_settings = std::make_unique<AppSettings>(&m_defaults, m_platform.loginItem, m_permissions.get(),
                                               m_credentials.get(), &m_notifications);

    m_network = std::make_unique<QNetworkAccessManager>();
    m_artwork = std::make_unique<ArtworkLoader>(*m_network, m_clock);
    m_nowPlaying = std::make_unique<NowPlayingService>(*m_platform.mediaPlayers, *m_platform.mediaKeySender,
                                                       *m_artwork, m_clock, m_scheduler);
    m_mirror = std::make_unique<MirrorCamera>(*m_platform.camera, *m_platform.faceDetector, m_clock);
    const VoiceMemoFolders folders = VoiceMemoFolders::standard();
    m_mp3Exporter = std::make_unique<Mp3Exporter>(*m_platform.processRunner, folders.downloads);
    m_voiceMemos = std::make_unique<VoiceMemoEngine>(*m_platform.audioRecorder, *m_platform.audioPlayer,
                                                     *m_mp3Exporter, *m_platform.fileRevealer, m_clock, m_scheduler,
                                                     folders.memos);
}

CompositionRoot::~CompositionRoot() = default;

void CompositionRoot::start()
{
    m_permissions->startMonitoring();
    m_settings->migratePermissionWants();
}
