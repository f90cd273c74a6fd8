#include "platform/linux/qtmicrecorder.h"
#include "support/pavlettest.h"
#include "support/pulseserver.h"
#include "support/qtprinters.h"
#include "tools/miccheckengine.h"

#include <QAudioDevice>
#include <QFile>

namespace {

class MicRecorderTest : public PavletTest {};

TEST_F(MicRecorderTest, NoInputDeviceCannotOpenTheMic)
{
    platform::QtMicRecorder recorder{QAudioDevice()};
    platform::QtAudioPlayer player;
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

// "Play back" pressed at once after "Record": the take failed and says so,
// offers nothing to play, and the next take plays back.
TEST_F(MicRecorderTest, AFailedTakeIsNotPlayedAndTheNextOneIs)
{
    PulseServer pulse;
    ASSERT_TRUE(pulse.start()) << pulse.log().toStdString();
    ASSERT_FALSE(pulse.pactl({"load-module", "module-null-source", "source_name=mic"}).isNull());
    qputenv("PULSE_SERVER", pulse.address().toUtf8());
    platform::QtMicRecorder recorder;
    platform::QtAudioPlayer player;
    platform::DesktopSoundPlayer sounds;
    const QString take = tempPath("pavlet-mic-check.m4a");
    MicCheckEngine engine(&recorder, &player, &sounds, scheduler.get(), take);
    engine.toggleRecord();
    ASSERT_TRUE(waitUntil([&] { return engine.recording(); }, 5000));
    engine.toggleRecord();
    ASSERT_TRUE(waitUntil([&] { return engine.status() == "Couldn't record"; }, 5000)) << engine.status().toStdString();
    EXPECT_EQ(player.state(), platform::IAudioPlayer::State::Stopped);
    EXPECT_FALSE(QFile::exists(take));

    engine.toggleRecord();
    ASSERT_TRUE(waitUntil([&] { return engine.recording(); }, 5000));
    waitUntil([&] { return recorder.currentTime() >= 1; }, 5000);
    engine.toggleRecord();
    EXPECT_TRUE(waitUntil([&] { return engine.status() == "Playing your take"; }, 5000)) << engine.status().toStdString();
}

TEST(MicLevelTest, PowerOfSamplesInDecibelsFullScale)
{
    const qint16 silence[4] = {0, 0, 0, 0};
    EXPECT_EQ(platform::QtMicRecorder::powerDb(silence, 4), -160);
    const qint16 full[4] = {-32768, -32768, -32768, -32768};
    EXPECT_NEAR(platform::QtMicRecorder::powerDb(full, 4), 0, 1e-9);
    const qint16 tenth[2] = {3277, -3277};
    EXPECT_NEAR(platform::QtMicRecorder::powerDb(tenth, 2), -20, 0.01);
    EXPECT_EQ(platform::QtMicRecorder::powerDb(silence, 0), -160);
}

} // namespace
