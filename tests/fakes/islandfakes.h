#pragma once

#include "fakeapplauncher.h"
#include "fakeaudiooutput.h"
#include "fakebacklight.h"
#include "fakebluetooth.h"
#include "fakecalendarsource.h"
#include "fakeclipboard.h"
#include "fakedisplaysleep.h"
#include "fakeidletime.h"
#include "fakelocation.h"
#include "fakelowpowermode.h"
#include "fakemediakeys.h"
#include "fakenetwork.h"
#include "fakepermissionbackend.h"
#include "fakepowersupply.h"
#include "fakesystemload.h"

#include "appnotifications.h"
#include "appsettings.h"
#include "notchviewmodel.h"
#include "permissions.h"
#include "random.h"

#include <memory>

// Every platform part the island's model reads, faked, with the stores it is
// built from. Every module starts shown.
struct IslandFakes {
    IslandFakes(UserDefaults *store, FakeClock &fakeClock, Scheduler *fakeScheduler)
        : defaults(store)
        , clock(fakeClock)
        , scheduler(fakeScheduler)
        , permissions(&permissionBackend, store, fakeScheduler)
        , settings(store, nullptr, &permissions)
    {
        settings.setDisabledModules(QString());
    }

    IslandEnvironment environment()
    {
        IslandEnvironment env;
        env.settings = &settings;
        env.permissions = &permissions;
        env.defaults = defaults;
        env.clock = &clock;
        env.scheduler = scheduler;
        env.random = &random;
        env.notifications = &notifications;
        env.launcher = &launcher;
        env.clipboard = &clipboard;
        env.sleepInhibitor = &sleepInhibitor;
        env.idleTime = &idle;
        env.calendar = &calendar;
        env.powerSupply = &power;
        env.location = &location;
        env.geocoder = &geocoder;
        env.systemLoad = &load;
        env.networkInterfaces = &interfaces;
        env.wifi = &wifi;
        env.reachability = &reachability;
        env.bluetooth = &bluetooth;
        env.lowPowerMode = &lowPower;
        env.mediaKeys = &mediaKeys;
        env.audio = &audio;
        env.backlight = &backlight;
        return env;
    }

    UserDefaults *defaults;
    FakeClock &clock;
    Scheduler *scheduler;
    FakePermissionBackend permissionBackend;
    PermissionCenter permissions;
    AppSettings settings;
    AppNotifications notifications;
    Random random{7};
    FakeAppLauncher launcher;
    FakeClipboard clipboard;
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
};
