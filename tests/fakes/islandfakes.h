#pragma once

#include "fakes/fakeapplauncher.h"
#include "fakes/fakeaudiooutput.h"
#include "fakes/fakebacklight.h"
#include "fakes/fakebluetooth.h"
#include "fakes/fakecalendarsource.h"
#include "fakes/fakecamera.h"
#include "fakes/fakeclipboard.h"
#include "fakes/fakedisplaysleep.h"
#include "fakes/fakefilerevealer.h"
#include "fakes/fakeidletime.h"
#include "fakes/inlineexecutor.h"
#include "fakes/fakelocation.h"
#include "fakes/fakelowpowermode.h"
#include "fakes/fakemediakeys.h"
#include "fakes/fakemediaplayers.h"
#include "fakes/fakenetwork.h"
#include "fakes/qtwebfetcher.h"
#include "fakes/fakepermissionbackend.h"
#include "fakes/fakepowersupply.h"
#include "fakes/fakesecretstore.h"
#include "fakes/fakesystemload.h"
#include "fakes/faketools.h"

#include "canvas/canvascredentials.h"
#include "core/appnotifications.h"
#include "core/random.h"
#include "island/notchviewmodel.h"
#include "store/appsettings.h"
#include "store/permissioncenter.h"
#include "update/updateservice.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <memory>

// Every platform part the island's model reads, faked, with the stores it is
// built from. Every module starts shown.
struct IslandFakes {
    // Nothing answers on the default update host.
    IslandFakes(UserDefaults *store, FakeClock &fakeClock, Scheduler *fakeScheduler,
                const QUrl &updateBase = QUrl(QStringLiteral("https://127.0.0.1:9")))
        : defaults(store)
        , clock(fakeClock)
        , scheduler(fakeScheduler)
        , permissions(&permissionBackend, store, fakeScheduler, &notifications)
        , credentials(&secrets, store, folders.filePath(QStringLiteral("canvas-token")))
        , settings(store, nullptr, &permissions, &credentials, &notifications)
        , updater(&fetcher, &network, fakeScheduler, &launcher, updateOptions(updateBase))
    {
        bindSkippedUpdateVersion(&settings, &updater);
        settings.setDisabledModules(QString());
    }

    UpdateService::Options updateOptions(const QUrl &base)
    {
        UpdateService::Options options;
        options.updateBase = base;
        options.currentVersion = QStringLiteral("1.0.0");
        options.downloadsFolder = folders.path();
        options.temporaryFolder = folders.path();
        return options;
    }

    Platform platform()
    {
        Platform p;
        p.secrets = &secrets;
        p.permissions = &permissionBackend;
        p.audio = &audio;
        p.backlight = &backlight;
        p.mediaKeys = &mediaKeys;
        p.idleTime = &idle;
        p.lowPowerMode = &lowPower;
        p.bluetooth = &bluetooth;
        p.powerSupply = &power;
        p.systemLoad = &load;
        p.networkInterfaces = &interfaces;
        p.wifi = &wifi;
        p.reachability = &reachability;
        p.clipboard = &clipboard;
        p.appLauncher = &launcher;
        p.displaySleep = &sleepInhibitor;
        p.location = &location;
        p.geocoder = &geocoder;
        p.calendar = &calendar;
        p.processes = &processes;
        p.tools = &tools;
        p.zipper = &zipper;
        p.filePicker = &filePicker;
        p.micRecorder = &micRecorder;
        p.audioPlayer = &micPlayer;
        p.sounds = &sounds;
        p.memoRecorder = &recorder;
        p.memoPlayer = &audioPlayer;
        p.mediaPlayers = &players;
        p.mediaKeySender = &keySender;
        p.camera = &camera;
        p.faceDetector = &faces;
        p.fileRevealer = &revealer;
        return p;
    }

    IslandEnvironment environment()
    {
        IslandEnvironment env;
        env.platform = platform();
        env.settings = &settings;
        env.updater = &updater;
        env.credentials = &credentials;
        env.permissions = &permissions;
        env.defaults = defaults;
        env.clock = &clock;
        env.scheduler = scheduler;
        env.random = &random;
        env.notifications = &notifications;
        env.network = &network;
        env.executor = &executor;
        // Nothing answers here.
        env.weatherBase = QUrl(QStringLiteral("http://127.0.0.1:9"));
        env.translatorBase = translatorBase.isEmpty() ? env.weatherBase : translatorBase;
        env.speedTest.mainBase = env.weatherBase;
        env.speedTest.speedBase = env.weatherBase;
        env.pocketFolder = folders.filePath(QStringLiteral("Pocket"));
        env.downloadsFolder = folders.filePath(QStringLiteral("Downloads"));
        env.exportFolder = env.downloadsFolder;
        env.memosFolder = folders.filePath(QStringLiteral("Memos"));
        return env;
    }

    // Where the translator asks; empty: nowhere that answers.
    QUrl translatorBase;
    UserDefaults *defaults;
    FakeClock &clock;
    Scheduler *scheduler;
    QTemporaryDir folders;
    QNetworkAccessManager network;
    QtWebFetcher fetcher{&network};
    AppNotifications notifications;
    FakeAppLauncher launcher;
    FakeSecretStore secrets;
    FakePermissionBackend permissionBackend;
    PermissionCenter permissions;
    CanvasCredentialStore credentials;
    AppSettings settings;
    UpdateService updater;
    Random random{7};
    FakeClipboard clipboard;
    InlineExecutor executor;
    FakeDisplaySleepInhibitor sleepInhibitor;
    FakeIdleTime idle;
    FakeCalendarSource calendar;
    FakePowerSupply power;
    FakeLocationProvider location;
    FakeReverseGeocoder geocoder;
    FakeSystemLoad load;
    FakeNetworkInterfaces interfaces;
    FakeWifiInfo wifi;
    FakeReachability reachability;
    FakeBluetooth bluetooth;
    FakeLowPowerMode lowPower;
    FakeMediaKeys mediaKeys;
    FakeAudioOutput audio;
    FakeBacklight backlight;
    FakeProcessRunner processes;
    FakeToolLocator tools;
    FakeMicRecorder recorder;
    FakeAudioPlayer audioPlayer;
    // The zip and mic-check cards' own parts.
    FakeZipper zipper;
    FakeFilePicker filePicker;
    FakeMicRecorder micRecorder;
    FakeAudioPlayer micPlayer;
    FakeSoundPlayer sounds;
    FakeMediaPlayers players;
    FakeMediaKeySender keySender;
    FakeCamera camera;
    FakeFaceDetector faces;
    FakeFileRevealer revealer;
};
