#include "fakes/fakeaudiooutput.h"
#include "fakes/fakebacklight.h"
#include "fakes/fakemediakeys.h"
#include "services/systemhudmonitor.h"
#include "support/pavlettest.h"

#include <QCoreApplication>

namespace {

constexpr int F16 = 106, F18 = 79, F20 = 90;

class SystemHUDMonitorTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        monitor = std::make_unique<SystemHUDMonitor>(&keys, &audio, &backlight, &clock, scheduler.get());
        QObject::connect(monitor.get(), &SystemHUDMonitor::pulsed, [this](const SystemHUDPulse &p) { pulses.push_back(p); });
    }

    // Pulses arrive later on the main thread.
    std::vector<SystemHUDPulse> drained()
    {
        QCoreApplication::sendPostedEvents();
        return pulses;
    }
    void wait(qint64 ms) { scheduler->advance(ms); }

    FakeMediaKeys keys;
    FakeAudioOutput audio;
    FakeBacklight backlight;
    std::unique_ptr<SystemHUDMonitor> monitor;
    std::vector<SystemHUDPulse> pulses;
};

SystemHUDPulse volumePulse(double v, bool muted)
{
    return {SystemHUDKind::volume, v, muted};
}

TEST_F(SystemHUDMonitorTest, StartAndStopAreIdempotent)
{
    monitor->stop(); // never started: harmless
    keys.remapPath = true;
    monitor->start();
    monitor->start();
    EXPECT_EQ(keys.tapInstalls, 1);
    EXPECT_EQ(keys.remapCalls.size(), 1);
    EXPECT_EQ(keys.hotKeys().size(), 5);

    monitor->stop();
    EXPECT_FALSE(keys.hasTap());
    EXPECT_FALSE(keys.hasHotKeyHandler());
    EXPECT_TRUE(keys.hotKeys().isEmpty());
    ASSERT_EQ(keys.remapCalls.size(), 2);
    EXPECT_EQ(keys.remapCalls.last(), "{\"UserKeyMapping\":[]}");
    EXPECT_EQ(scheduler->pendingCount(), 0);

    monitor->stop(); // the mapping is restored only while in force
    EXPECT_EQ(keys.remapCalls.size(), 2);

    // No pulse is sent after stop.
    audio.changeElsewhere("speakers", 0.9, false);
    EXPECT_TRUE(drained().empty());
}

TEST_F(SystemHUDMonitorTest, KeyRemapJson)
{
    EXPECT_EQ(SystemHUDMonitor::keyRemapJson({}), "{\"UserKeyMapping\":[]}");
    const QByteArray json = SystemHUDMonitor::keyRemapJson(SystemHUDMonitor::remapTable());
    EXPECT_TRUE(json.startsWith("{\"UserKeyMapping\":[{\"HIDKeyboardModifierMappingSrc\":0xC000000E9,"
                                "\"HIDKeyboardModifierMappingDst\":0x70000006D},"));
    EXPECT_TRUE(json.contains("{\"HIDKeyboardModifierMappingSrc\":0xFF0100000020,"
                              "\"HIDKeyboardModifierMappingDst\":0x70000006B}"));
    EXPECT_EQ(json.count("MappingSrc"), 12);
}

TEST_F(SystemHUDMonitorTest, KeyPressesCloserThanTheDebounceCountOnce)
{
    struct Case {
        qint64 gapMs;
        size_t pulses;
    };
    for (const Case c : {Case{40, 1}, Case{54, 1}, Case{55, 2}, Case{60, 2}}) {
        SCOPED_TRACE(c.gapMs);
        pulses.clear();
        audio.devices["speakers"] = {0.5, false};
        monitor->start();
        keys.tapMedia(SystemHUDMonitor::VolumeUp);
        clock.advanceMs(c.gapMs);
        keys.tapMedia(SystemHUDMonitor::VolumeUp);
        EXPECT_EQ(drained().size(), c.pulses);
        EXPECT_DOUBLE_EQ(audio.devices["speakers"].volume, 0.5 + double(c.pulses) / 16.0);
        monitor->stop();
        clock.advanceMs(1000);
    }
}

TEST_F(SystemHUDMonitorTest, VolumeKeys)
{
    struct Case {
        const char *name;
        double volume;
        bool muted;
        int action;
        double expectVolume;
        bool expectMuted;
    };
    const Case cases[] = {
        {"up to the top", 0.98, false, SystemHUDMonitor::VolumeUp, 1.0, false},
        {"down to the bottom", 0.03, false, SystemHUDMonitor::VolumeDown, 0.0, false},
        {"up while muted only unmutes", 0.5, true, SystemHUDMonitor::VolumeUp, 0.5, false},
        {"down while muted stays muted", 0.5, true, SystemHUDMonitor::VolumeDown, 0.4375, true},
        {"mute", 0.5, false, SystemHUDMonitor::MuteToggle, 0.5, true},
        {"unmute", 0.5, true, SystemHUDMonitor::MuteToggle, 0.5, false},
        // Above full (an amplified output) the level is stepped from where it
        // really is; the HUD still shows at most full.
        {"up above full keeps the level", 1.5, false, SystemHUDMonitor::VolumeUp, 1.5, false},
        {"down above full steps from the real level", 1.5, false, SystemHUDMonitor::VolumeDown, 1.4375, false},
        {"up just below full stops at full", 0.99, false, SystemHUDMonitor::VolumeUp, 1.0, false},
    };
    monitor->start();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        pulses.clear();
        audio.devices["speakers"] = {c.volume, c.muted};
        clock.advanceMs(1000);
        EXPECT_TRUE(keys.tapMedia(c.action));
        EXPECT_DOUBLE_EQ(audio.devices["speakers"].volume, c.expectVolume);
        EXPECT_EQ(audio.devices["speakers"].muted, c.expectMuted);
        // The key's own change notice comes back inside the echo window: one pulse only.
        EXPECT_EQ(drained(), std::vector{volumePulse(std::min(c.expectVolume, 1.0), c.expectMuted)});
    }
}

TEST_F(SystemHUDMonitorTest, ChangesMadeElsewhere)
{
    audio.devices["speakers"] = {0.5, false};
    monitor->start();

    audio.changeElsewhere("speakers", 0.503, false); // drift below the threshold
    EXPECT_TRUE(drained().empty());
    audio.changeElsewhere("speakers", 0.503, true); // mute alone
    EXPECT_EQ(drained(), std::vector{volumePulse(0.503, true)});
    pulses.clear();
    audio.changeElsewhere("speakers", 0.507, true); // 0.004 from the last reading
    EXPECT_EQ(drained(), std::vector{volumePulse(0.507, true)});

    // Inside the echo window of a key action nothing is reported.
    pulses.clear();
    keys.tapMedia(SystemHUDMonitor::MuteToggle);
    wait(200);
    audio.changeElsewhere("speakers", 0.2, false);
    EXPECT_EQ(drained().size(), 1u);
    wait(100);
    audio.changeElsewhere("speakers", 0.3, false);
    EXPECT_EQ(drained().size(), 2u);
    EXPECT_EQ(pulses.back(), volumePulse(0.3, false));
}

TEST_F(SystemHUDMonitorTest, ListenersFollowTheDefaultDevice)
{
    audio.devices["headphones"] = {0.2, false};
    monitor->start();
    audio.switchTo("headphones");
    EXPECT_TRUE(drained().empty());

    audio.changeElsewhere("speakers", 0.9, false);
    EXPECT_TRUE(drained().empty());
    audio.changeElsewhere("headphones", 0.8, false);
    EXPECT_EQ(drained(), std::vector{volumePulse(0.8, false)});

    // No device: no listener until the next device notice.
    pulses.clear();
    audio.switchTo("gone");
    audio.changeElsewhere("headphones", 0.1, false);
    EXPECT_TRUE(drained().empty());
}

TEST_F(SystemHUDMonitorTest, BrightnessPoll)
{
    backlight.value = std::nullopt;
    monitor->start();
    wait(80);
    backlight.value = 0.5; // the first reading is stored silently
    wait(80);
    EXPECT_TRUE(drained().empty());
    EXPECT_EQ(monitor->lastBrightness(), 0.5);

    backlight.value = 0.507;
    wait(80);
    EXPECT_TRUE(drained().empty());
    backlight.value = 0.515; // 0.008 from the stored 0.507
    wait(80);
    EXPECT_EQ(drained(), std::vector<SystemHUDPulse>({{SystemHUDKind::brightness, 0.515, false}}));

    // No reading keeps the last one.
    pulses.clear();
    backlight.value = std::nullopt;
    wait(160);
    EXPECT_EQ(monitor->lastBrightness(), 0.515);
    EXPECT_TRUE(drained().empty());
}

TEST_F(SystemHUDMonitorTest, BrightnessKeys)
{
    backlight.value = 0.5;
    monitor->start();
    keys.tapMedia(SystemHUDMonitor::BrightnessUp);
    EXPECT_EQ(drained(), std::vector<SystemHUDPulse>({{SystemHUDKind::brightness, 0.5625, false}}));
    // The poll inside the echo window stays quiet, and later sees no change.
    wait(1000);
    EXPECT_EQ(drained().size(), 1u);

    keys.tapMedia(SystemHUDMonitor::BrightnessDown);
    EXPECT_DOUBLE_EQ(*backlight.value, 0.5);
    EXPECT_EQ(drained().size(), 2u);

    // Without a backlight the key still answers, at 0; nothing is stored.
    pulses.clear();
    backlight.value = std::nullopt;
    clock.advanceMs(1000);
    keys.tapMedia(SystemHUDMonitor::BrightnessUp);
    EXPECT_EQ(drained(), std::vector<SystemHUDPulse>({{SystemHUDKind::brightness, 0.0, false}}));
    EXPECT_EQ(monitor->lastBrightness(), std::nullopt);
}

TEST_F(SystemHUDMonitorTest, TapRoutesOnlyTheMonitorsKeys)
{
    monitor->start();
    EXPECT_FALSE(keys.tapMedia(16)); // play/pause: not ours
    EXPECT_FALSE(keys.tapFunction(F18)); // not remapped: the function key passes
    EXPECT_EQ(audio.volumeWrites, 0);

    const int kills = keys.osdKills;
    EXPECT_TRUE(keys.tapMedia(SystemHUDMonitor::VolumeUp, false)); // key up only stops the repeat
    EXPECT_EQ(audio.volumeWrites, 0);
    EXPECT_EQ(keys.osdKills, kills + 1);
}

TEST_F(SystemHUDMonitorTest, TapWhileRemapped)
{
    keys.remapPath = true;
    monitor->start();
    ASSERT_TRUE(monitor->keyRemapActive());

    EXPECT_TRUE(keys.tapMedia(SystemHUDMonitor::VolumeUp)); // swallowed, the hot key carries it
    EXPECT_EQ(audio.volumeWrites, 0);
    EXPECT_FALSE(keys.tapFunction(12)); // outside the table
    EXPECT_TRUE(keys.tapFunction(F18));
    EXPECT_EQ(audio.volumeWrites, 1);
}

TEST_F(SystemHUDMonitorTest, HeldHotKeyRepeats)
{
    keys.remapPath = true;
    audio.devices["speakers"] = {0.0, false};
    monitor->start();
    keys.keysDown.insert(F18);
    ASSERT_TRUE(keys.pressHotKey(1));
    // One step at once, the next after 0.32 s, then every 0.08 s until release.
    for (auto [waitMs, writes] : {std::pair{0, 1}, {319, 1}, {1, 2}, {80, 3}, {80, 4}}) {
        wait(waitMs);
        EXPECT_EQ(audio.volumeWrites, writes) << "after " << waitMs;
    }
    keys.keysDown.clear();
    wait(400);
    EXPECT_EQ(audio.volumeWrites, 4);
    EXPECT_DOUBLE_EQ(audio.devices["speakers"].volume, 4.0 / 16.0);
}

TEST_F(SystemHUDMonitorTest, HeldMuteKeyTogglesOnce)
{
    // Hot-key path: no repeat timer for mute.
    keys.remapPath = true;
    monitor->start();
    keys.keysDown.insert(F20);
    keys.pressHotKey(3);
    wait(2000);
    EXPECT_EQ(audio.muteWrites, 1);
    EXPECT_TRUE(audio.devices["speakers"].muted);
    monitor->stop();

    // Tap path: the system's own repeats of a held mute key are ignored,
    // those of a held volume key are not.
    keys.remapPath = false;
    monitor->start();
    keys.tapMedia(SystemHUDMonitor::MuteToggle);
    for (int i = 0; i < 10; ++i) {
        clock.advanceMs(80);
        keys.tapMedia(SystemHUDMonitor::MuteToggle, true, true);
    }
    EXPECT_EQ(audio.muteWrites, 2);
    EXPECT_FALSE(audio.devices["speakers"].muted);
    for (int i = 0; i < 3; ++i) {
        clock.advanceMs(80);
        keys.tapMedia(SystemHUDMonitor::VolumeDown, true, true);
    }
    EXPECT_EQ(audio.volumeWrites, 3);
}

TEST_F(SystemHUDMonitorTest, UnavailableTapIsRetried)
{
    keys.tapFailures = 2;
    monitor->start();
    EXPECT_FALSE(monitor->hasEventTap());
    wait(1999);
    EXPECT_EQ(keys.tapInstalls, 1);
    wait(1);
    EXPECT_EQ(keys.tapInstalls, 2);
    wait(2000);
    EXPECT_EQ(keys.tapInstalls, 3);
    EXPECT_TRUE(monitor->hasEventTap());
    wait(10000);
    EXPECT_EQ(keys.tapInstalls, 3);

    keys.tapFailures = 5;
    monitor->stop();
    monitor->start();
    monitor->stop();
    wait(10000);
    EXPECT_EQ(keys.tapInstalls, 4); // no retries once stopped
}

TEST_F(SystemHUDMonitorTest, RemapOutcomes)
{
    keys.remapPath = true;

    // No hot key could be registered: the mapping is undone at once.
    keys.failingHotKeys = {1, 2, 3, 4, 5};
    monitor->start();
    EXPECT_FALSE(monitor->keyRemapActive());
    ASSERT_EQ(keys.remapCalls.size(), 2);
    EXPECT_EQ(keys.remapCalls[1], "{\"UserKeyMapping\":[]}");
    monitor->stop();

    // The remap itself fails: no hot keys, the tap carries the media keys.
    keys.remapCalls.clear();
    keys.failingHotKeys.clear();
    keys.remapSucceeds = false;
    monitor->start();
    EXPECT_TRUE(monitor->hotKeyRefs().isEmpty());
    EXPECT_TRUE(keys.tapMedia(SystemHUDMonitor::VolumeUp));
    EXPECT_EQ(audio.volumeWrites, 1);
    monitor->stop();

    // While in force the mapping is refreshed every 4 s, on the poll ticks.
    keys.remapCalls.clear();
    keys.remapSucceeds = true;
    monitor->start();
    EXPECT_EQ(keys.remapCalls.size(), 1);
    wait(4000);
    EXPECT_EQ(keys.remapCalls.size(), 1);
    wait(80);
    EXPECT_EQ(keys.remapCalls.size(), 2);
    wait(4000);
    EXPECT_EQ(keys.remapCalls.size(), 2);
    wait(80);
    EXPECT_EQ(keys.remapCalls.size(), 3);
}

TEST_F(SystemHUDMonitorTest, SystemDisplayWatchdog)
{
    monitor->start();
    const int atStart = keys.osdKills;
    wait(1200);
    EXPECT_EQ(keys.osdKills - atStart, 10);
    monitor->stop();

    // Where the system has no display of its own, nothing runs for it.
    keys.hasSystemOSD = false;
    keys.osdKills = 0;
    monitor->start();
    EXPECT_EQ(scheduler->pendingCount(), 1); // the brightness poll alone
    keys.tapMedia(SystemHUDMonitor::VolumeUp);
    EXPECT_EQ(keys.osdKills, 0);
}

} // namespace
