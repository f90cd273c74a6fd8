#pragma once

#include "pavlettest.h"

#include "appnotifications.h"
#include "appsettings.h"
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
#include "notchviewmodel.h"
#include "permissions.h"
#include "random.h"

#include <QSignalSpy>

// A model over fake platform parts, a fake clock and scheduler, and the real
// engines and stores. Every module starts shown.
class IslandTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        defaults->setString(QStringLiteral("disabledModules"), QString());
        permissions = std::make_unique<PermissionCenter>(&permissionBackend, defaults.get(), scheduler.get());
        settings = std::make_unique<AppSettings>(defaults.get(), nullptr, permissions.get());
        settings->setDisabledModules(QString());
    }

    void TearDown() override
    {
        model.reset();
        PavletTest::TearDown();
    }

    NotchViewModel &make()
    {
        IslandEnvironment env;
        env.settings = settings.get();
        env.permissions = permissions.get();
        env.defaults = defaults.get();
        env.clock = &clock;
        env.scheduler = scheduler.get();
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
        model = std::make_unique<NotchViewModel>(env);
        model->setPointerInsideTest([this] { return pointerInside; });
        return *model;
    }

    void hide(HomeModule module) { settings->setModule(module, false); }
    void show(HomeModule module) { settings->setModule(module, true); }
    void advance(qint64 ms) { scheduler->advance(ms); }

    FakePermissionBackend permissionBackend;
    std::unique_ptr<PermissionCenter> permissions;
    std::unique_ptr<AppSettings> settings;
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
    bool pointerInside = false;
    std::unique_ptr<NotchViewModel> model;
};
