#include "mp4duration.h"
#include "pavlettest.h"
#include "pulseserver.h"
#include "qtaudiorecorder.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Records from a private PulseAudio server's silent source into a real
// AAC/MP4 file and plays it back.
TEST(QtAudioRecorder, RecordsAnMp4FileAndPlaysItBack)
{
    PulseServer pulse;
    ASSERT_TRUE(pulse.start()) << pulse.log().toStdString();
    // A silent microphone (monitors of outputs are not offered as inputs).
    pulse.pactl({"load-module", "module-null-source", "source_name=mic"});
    pulse.pactl({"set-default-source", "mic"});
    qputenv("PULSE_SERVER", pulse.address().toUtf8());

    QTemporaryDir dir;
    const QString path = dir.filePath("take.m4a");
    QtAudioRecorder recorder;
    QSignalSpy access(&recorder, &platform::IAudioRecorder::accessAnswered);
    recorder.requestAccess();
    EXPECT_TRUE(access.isEmpty()) << "answered later, never at once";
    ASSERT_TRUE(access.wait(15000));
    ASSERT_TRUE(access.first().first().toBool()) << "the null source counts as a microphone";

    QSignalSpy failed(&recorder, &platform::IAudioRecorder::failed);
    ASSERT_TRUE(recorder.record(path));
    waitUntil([&] { return recorder.currentTime() >= 1.2 || !failed.isEmpty(); }, 30000);
    EXPECT_TRUE(failed.isEmpty());
    EXPECT_LE(recorder.averagePower(), -100) << "the null sink is silent";
    QSignalSpy finished(&recorder, &platform::IAudioRecorder::finished);
    recorder.stop();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_GT(mp4DurationSeconds(path), 0.8);

    QtAudioPlayer player;
    ASSERT_TRUE(player.open(path));
    player.play();
    EXPECT_EQ(player.state(), platform::IAudioPlayer::State::Playing);
    player.pause();
    EXPECT_EQ(player.state(), platform::IAudioPlayer::State::Paused);
    player.stop();
    EXPECT_EQ(player.state(), platform::IAudioPlayer::State::Stopped);
    EXPECT_FALSE(player.open(dir.filePath("missing.m4a")));
}
