#include "media/mp4duration.h"
#include "platform/linux/qtmicrecorder.h"
#include "support/pavlettest.h"
#include "support/pulseserver.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Records from a private PulseAudio server's silent source into a real
// AAC/MP4 file and plays it back.
TEST(QtMicRecorder, RecordsAnM4aFileThatPlaysBack)
{
    PulseServer pulse;
    ASSERT_TRUE(pulse.start()) << pulse.log().toStdString();
    // A silent microphone (monitors of outputs are not offered as inputs).
    pulse.pactl({"load-module", "module-null-source", "source_name=mic"});
    pulse.pactl({"set-default-source", "mic"});
    qputenv("PULSE_SERVER", pulse.address().toUtf8());

    QTemporaryDir dir;
    const QString path = dir.filePath("take.m4a");
    platform::QtMicRecorder recorder;
    bool granted = false;
    recorder.requestPermission([&](bool yes) { granted = yes; });
    ASSERT_TRUE(waitUntil([&] { return granted; }, 15000));

    QSignalSpy failed(&recorder, &platform::IMicRecorder::failed);
    ASSERT_TRUE(recorder.start(path));
    waitUntil([&] { return recorder.currentTime() >= 1.2 || !failed.isEmpty(); }, 30000);
    EXPECT_TRUE(failed.isEmpty());
    EXPECT_LE(recorder.averagePowerDb(), -100) << "the null source is silent";
    QSignalSpy finished(&recorder, &platform::IMicRecorder::finished);
    recorder.stop();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_GT(mp4DurationSeconds(path), 0.8);

    platform::QtAudioPlayer player;
    ASSERT_TRUE(player.play(path));
    EXPECT_EQ(player.state(), platform::IAudioPlayer::State::Playing);
    player.pause();
    EXPECT_EQ(player.state(), platform::IAudioPlayer::State::Paused);
    player.resume();
    EXPECT_EQ(player.state(), platform::IAudioPlayer::State::Playing);
    player.stop();
    EXPECT_EQ(player.state(), platform::IAudioPlayer::State::Stopped);
    EXPECT_FALSE(player.play(dir.filePath("missing.m4a")));
}
