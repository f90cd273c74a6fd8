#include "fakes/fakebacklight.h"
#include "fakes/fakemediakeys.h"
#include "platform/linux/pulseaudiooutput.h"
#include "services/systemhudmonitor.h"
#include "support/pavlettest.h"
#include "support/pulseserver.h"

#include <QRegularExpression>
#include <QSignalSpy>

namespace {

class PulseAudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!PulseServer::isInstalled())
            GTEST_SKIP() << "pulseaudio or pactl is not installed";
        ASSERT_TRUE(server.start()) << server.log().toStdString();
    }

    // The sink's volume as pactl reports it (the first channel).
    double sinkVolume(const QString &sink = "null")
    {
        const QString out = server.pactl({"get-sink-volume", sink});
        const QRegularExpressionMatch m = QRegularExpression(R"(:\s*(\d+)\s*/)").match(out);
        return m.hasMatch() ? m.captured(1).toDouble() / 65536.0 : -1.0;
    }
    bool sinkMuted() { return server.pactl({"get-sink-mute", "null"}).contains("yes"); }
    static void settle(int ms) { waitUntil([] { return false; }, ms); }

    // The volume display's monitor over an output, started, with the pulses
    // it gave; the keys are pressed through `keys`.
    struct Hud {
        explicit Hud(platform::IAudioOutput *out)
            : monitor(&keys, out, &backlight, &clock, &scheduler)
        {
            backlight.value = std::nullopt;
            QObject::connect(&monitor, &SystemHUDMonitor::pulsed, [this](const SystemHUDPulse &p) { pulses.push_back(p); });
            monitor.start();
        }
        FakeMediaKeys keys;
        FakeBacklight backlight;
        SystemClock clock;
        QtScheduler scheduler;
        SystemHUDMonitor monitor;
        std::vector<SystemHUDPulse> pulses;
    };

    PulseServer server;
};

TEST_F(PulseAudioTest, ReadsWritesAndFollowsTheDefaultSink)
{
    platform::PulseAudioOutput out(server.address());
    ASSERT_TRUE(waitUntil([&] { return out.defaultDevice() == "null"; }));
    EXPECT_NEAR(*out.volume(), 1.0, 1e-9);
    EXPECT_EQ(out.muted(), false);

    ASSERT_TRUE(out.setVolume(0.5));
    EXPECT_NEAR(*out.volume(), 0.5, 1e-9); // reads back at once
    EXPECT_TRUE(waitUntil([&] { return std::abs(sinkVolume() - 0.5) < 1e-4; }));
    ASSERT_TRUE(out.setMuted(true));
    EXPECT_EQ(out.muted(), true);
    EXPECT_TRUE(waitUntil([&] { return sinkMuted(); }));

    // A change made elsewhere is noticed.
    QSignalSpy changed(&out, &platform::IAudioOutput::volumeChanged);
    ASSERT_FALSE(server.pactl({"set-sink-volume", "null", "30%"}).isNull());
    EXPECT_TRUE(waitUntil([&] { return std::abs(*out.volume() - 0.3) < 0.001; }));
    EXPECT_GE(changed.count(), 1);
    EXPECT_EQ(changed.first().first().toString(), "null");

    // A new default sink takes over.
    QSignalSpy moved(&out, &platform::IAudioOutput::defaultDeviceChanged);
    ASSERT_FALSE(server.pactl({"load-module", "module-null-sink", "sink_name=second"}).isNull());
    ASSERT_FALSE(server.pactl({"set-sink-volume", "second", "70%"}).isNull());
    ASSERT_FALSE(server.pactl({"set-default-sink", "second"}).isNull());
    ASSERT_TRUE(waitUntil([&] { return out.defaultDevice() == "second"; }));
    EXPECT_EQ(moved.count(), 1);
    EXPECT_NEAR(*out.volume(), 0.7, 0.001);
    EXPECT_EQ(out.muted(), false);
    out.setVolume(0.25);
    EXPECT_TRUE(waitUntil([&] { return std::abs(sinkVolume("second") - 0.25) < 1e-4; }));
    EXPECT_NEAR(sinkVolume("null"), 0.3, 0.001);
}

QStringList platformLog;
void keepPlatformLog(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (context.category && QByteArray(context.category) == "pavlet.platform")
        platformLog << message;
}

TEST_F(PulseAudioTest, ReconnectsWhenTheServerComesBack)
{
    platform::PulseAudioOutput out(server.address());
    ASSERT_TRUE(waitUntil([&] { return out.defaultDevice() == "null"; }));
    platformLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepPlatformLog);
    server.stop();
    ASSERT_TRUE(waitUntil([&] { return !out.isConnected() && out.defaultDevice().isEmpty(); }));
    EXPECT_EQ(out.volume(), std::nullopt);
    EXPECT_FALSE(out.setVolume(0.5));
    // Retries meanwhile (after 1 s and 2 s) say nothing more: one line per outage.
    settle(3500);
    EXPECT_EQ(platformLog.filter("No PulseAudio server").size(), 1) << platformLog.join('\n').toStdString();

    ASSERT_TRUE(server.start()) << server.log().toStdString();
    ASSERT_TRUE(waitUntil([&] { return out.defaultDevice() == "null"; }, 10000));
    qInstallMessageHandler(previous);
    EXPECT_EQ(platformLog.filter("PulseAudio is back").size(), 1);
    EXPECT_TRUE(out.setVolume(0.5));
    EXPECT_TRUE(waitUntil([&] { return std::abs(sinkVolume() - 0.5) < 1e-4; }));
}

TEST_F(PulseAudioTest, VolumeKeysActOnTheRealVolumeSoonAfterTheServerComesBack)
{
    platform::PulseAudioOutput out(server.address());
    ASSERT_TRUE(waitUntil([&] { return out.defaultDevice() == "null"; }));
    Hud hud(&out);
    FakeMediaKeys &keys = hud.keys;
    std::vector<SystemHUDPulse> &pulses = hud.pulses;

    server.stop();
    ASSERT_TRUE(waitUntil([&] { return !out.isConnected(); }));
    settle(7500); // long enough for the pause between retries to have grown past 8 s
    // With no server the key shows the reading for no device.
    keys.tapMedia(SystemHUDMonitor::VolumeUp);
    ASSERT_TRUE(waitUntil([&] { return !pulses.empty(); }));
    EXPECT_EQ(pulses.back(), (SystemHUDPulse{SystemHUDKind::volume, 0.0, false}));

    ASSERT_TRUE(server.start()) << server.log().toStdString();
    ASSERT_FALSE(server.pactl({"set-sink-volume", "null", "40%"}).isNull());
    ASSERT_TRUE(waitUntil([&] { return out.volume() && std::abs(*out.volume() - 0.4) < 0.001; }, 2500));
    pulses.clear();
    keys.tapMedia(SystemHUDMonitor::VolumeUp);
    EXPECT_TRUE(waitUntil([&] { return std::abs(sinkVolume() - (0.4 + 1.0 / 16)) < 0.001; }));
    ASSERT_TRUE(waitUntil([&] { return !pulses.empty(); }));
    EXPECT_NEAR(pulses.front().value, 0.4 + 1.0 / 16, 0.001);
    hud.monitor.stop();
}

TEST_F(PulseAudioTest, MonitorReportsOutsideChangesOnceAndNotItsOwnEcho)
{
    platform::PulseAudioOutput out(server.address());
    ASSERT_TRUE(waitUntil([&] { return out.defaultDevice() == "null"; }));
    Hud hud(&out);
    FakeMediaKeys &keys = hud.keys;
    std::vector<SystemHUDPulse> &pulses = hud.pulses;

    ASSERT_FALSE(server.pactl({"set-sink-volume", "null", "40%"}).isNull());
    ASSERT_TRUE(waitUntil([&] { return !pulses.empty(); }));
    settle(400);
    ASSERT_EQ(pulses.size(), 1u);
    EXPECT_EQ(pulses[0].kind, SystemHUDKind::volume);
    EXPECT_NEAR(pulses[0].value, 0.4, 0.001);
    EXPECT_FALSE(pulses[0].muted);

    // A key press: its own pulse, and the server's notice of the change is
    // not reported again.
    keys.tapMedia(SystemHUDMonitor::VolumeUp);
    ASSERT_TRUE(waitUntil([&] { return std::abs(sinkVolume() - (0.4 + 1.0 / 16)) < 0.001; }));
    settle(400);
    ASSERT_EQ(pulses.size(), 2u);
    EXPECT_NEAR(pulses[1].value, 0.4 + 1.0 / 16, 0.001);

    keys.tapMedia(SystemHUDMonitor::MuteToggle);
    ASSERT_TRUE(waitUntil([&] { return sinkMuted(); }));
    settle(400);
    ASSERT_EQ(pulses.size(), 3u);
    EXPECT_TRUE(pulses[2].muted);

    // Unmuting elsewhere is a change of its own.
    ASSERT_FALSE(server.pactl({"set-sink-mute", "null", "0"}).isNull());
    ASSERT_TRUE(waitUntil([&] { return pulses.size() == 4u; }));
    EXPECT_FALSE(pulses[3].muted);
    EXPECT_NEAR(pulses[3].value, 0.4 + 1.0 / 16, 0.001);
    hud.monitor.stop();
}

} // namespace
