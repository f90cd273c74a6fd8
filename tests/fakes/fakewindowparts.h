#pragma once

#include "fakes/fakescreens.h"
#include "notch/gamemodehotkeycenter.h"
#include "notch/notchwindowcontroller.h"

// The island window's platform parts, faked: one 1512 x 982 screen (with a
// top bar of barHeight), the pointer, the desktop-wide clicks and the hot key.
struct FakeWindowParts {
    explicit FakeWindowParts(double barHeight = 0)
    {
        screens.list = {FakeScreenProvider::plain("main", 0, 0, 1512, 982, barHeight)};
    }

    NotchWindowController::Parts windowParts(Clock *clock, Scheduler *scheduler, NotchViewModel *model = nullptr,
                                             QQmlEngine *engine = nullptr)
    {
        NotchWindowController::Parts p;
        p.model = model;
        p.screens = &screens;
        p.pointer = &pointer;
        p.clicks = &clicks;
        p.hotkey = &hotkeyCenter;
        p.clock = clock;
        p.scheduler = scheduler;
        p.engine = engine;
        return p;
    }

    FakeScreenProvider screens;
    FakePointerLocation pointer;
    FakeClickMonitor clicks;
    FakeGlobalHotkey hotkey;
    GameModeHotkeyCenter hotkeyCenter{&hotkey};
};
