#include "media/mp4duration.h"
#include "platform/linux/pulsemicrecorder.h"
#include "platform/linux/pulseaudioplayer.h"
#include "support/pavlettest.h"
#include "support/pulseserver.h"
#include "support/qtprinters.h"
#include "tools/miccheckengine.h"

#include <QElapsedTimer>
#include <QFile>

namespace {

class MicRecorderTest : public PavletTest {};

// Without its encoder no take can be recorded.
TEST_F(MicRecorderTest, NoEncoderCannotOpenTheMic)
{
    platform::PulseMicRecorder recorder{{}, {}, tempPath("missing.so")};
    platform::PulseAudioPlayer player;
    platform::DesktopSoundPlayer sounds;
    MicCheckEngine engine(&recorder, &player, &sounds, scheduler.get(), tempPath("pavlet-mic-check.m4a"));
    engine.toggleRecord();
    ASSERT_TRUE(waitUntil([&] { return engine.status() != "Play a tone, or record a second and hear it back"; }));
    EXPECT_EQ(engine.status(), "Couldn't open the mic");
    EXPECT_FALSE(engine.recording());
    EXPECT_EQ(recorder.averagePowerDb(), -160);

    // Nothing was recorded, so there is nothing to play.
    EXPECT_FALSE(player.play(tempPath("pavlet-mic-check.m4a")));
    EXPECT_TRUE(QFile::exists(platform::DesktopSoundPlayer::DefaultAlert));
    EXPECT_FALSE(platform::DesktopSoundPlayer(tempPath("missing.oga")).playAlert());
}

// A take that heard nothing fails and says so, offers nothing to play, and
// the next take plays back.
TEST_F(MicRecorderTest, AFailedTakeIsNotPlayedAndTheNextOneIs)
{
    PulseServer pulse;
    ASSERT_TRUE(pulse.start()) << pulse.log().toStdString();
    ASSERT_FALSE(pulse.pactl({"load-module", "module-null-source", "source_name=mic"}).isNull());
    qputenv("PULSE_SERVER", pulse.address().toUtf8());
    platform::PulseMicRecorder recorder;
    platform::PulseAudioPlayer player;
    platform::DesktopSoundPlayer sounds;
    const QString take = tempPath("pavlet-mic-check.m4a");
    MicCheckEngine engine(&recorder, &player, &sounds, scheduler.get(), take);
    // An input that gives no sound (suspended): the take fails whenever it
    // is stopped, and nothing is played.
    ASSERT_FALSE(pulse.pactl({"suspend-source", "mic", "1"}).isNull());
    engine.toggleRecord();
    waitUntil([&] { return engine.recording(); }, 1000);
    if (engine.recording())
        engine.toggleRecord();
    ASSERT_TRUE(waitUntil([&] { return engine.status() == "Couldn't record"; }, 10000)) << engine.status().toStdString();
    EXPECT_EQ(player.state(), platform::IAudioPlayer::State::Stopped);
    EXPECT_FALSE(QFile::exists(take));
    ASSERT_FALSE(pulse.pactl({"suspend-source", "mic", "0"}).isNull());

    // A take held from the press to the stop is that long.
    QElapsedTimer held;
    held.start();
    engine.toggleRecord();
    ASSERT_TRUE(waitUntil([&] { return engine.recording(); }, 5000));
    waitUntil([&] { return held.elapsed() >= 1500; }, 5000);
    const double heldSeconds = held.elapsed() / 1000.0;
    engine.toggleRecord();
    EXPECT_TRUE(waitUntil([&] { return engine.status() == "Playing your take"; }, 5000)) << engine.status().toStdString();
    EXPECT_NEAR(mp4DurationSeconds(take), heldSeconds, 0.3);
}

TEST(MicLevelTest, PowerOfSamplesInDecibelsFullScale)
{
    const qint16 silence[4] = {0, 0, 0, 0};
    EXPECT_EQ(platform::PulseMicRecorder::powerDb(silence, 4), -160);
    const qint16 full[4] = {-32768, -32768, -32768, -32768};
    EXPECT_NEAR(platform::PulseMicRecorder::powerDb(full, 4), 0, 1e-9);
    const qint16 tenth[2] = {3277, -3277};
    EXPECT_NEAR(platform::PulseMicRecorder::powerDb(tenth, 2), -20, 0.01);
    EXPECT_EQ(platform::PulseMicRecorder::powerDb(silence, 0), -160);
}

} // namespace
