#include "media/mp4duration.h"
#include "platform/linux/qtmicrecorder.h"
#include "support/pavlettest.h"
#include "support/pulseserver.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A private PulseAudio server whose default input is "mic", made by the
// modules given (each a module name with its arguments), with this
// process's clients pointed at it.
bool startPulse(PulseServer &pulse, const QList<QStringList> &modules)
{
    if (!pulse.start())
        return false;
    for (const QStringList &module : modules) {
        if (pulse.pactl(QStringList{"load-module"} + module).isNull())
            return false;
    }
    pulse.pactl({"set-default-source", "mic"});
    qputenv("PULSE_SERVER", pulse.address().toUtf8());
    return true;
}

// Capture streams open on the server.
int captureStreams(const PulseServer &pulse)
{
    return int(pulse.pactl({"list", "short", "source-outputs"}).split('\n', Qt::SkipEmptyParts).size());
}

// Whether ffmpeg reads the whole file without an error.
bool decodes(const QString &path)
{
    return QProcess::execute("ffmpeg", {"-v", "error", "-xerror", "-i", path, "-f", "null", "-"}) == 0;
}

} // namespace

// Records from a private PulseAudio server's silent source into a real
// AAC/MP4 file and plays it back.
TEST(QtMicRecorder, RecordsAnM4aFileThatPlaysBack)
{
    PulseServer pulse;
    // A silent microphone (monitors of outputs are not offered as inputs).
    ASSERT_TRUE(startPulse(pulse, {{"module-null-source", "source_name=mic"}})) << pulse.log().toStdString();

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

// A take holds what the input gave from the moment the recorder reported it
// started until stop(), and the input closes once its file is complete.
TEST(QtMicRecorder, TakesKeepTheirWholeLengthAndCloseTheInput)
{
    PulseServer pulse;
    // A 440 Hz tone played into a sink whose monitor, remapped into an
    // ordinary source, is the microphone: it hands out sound in small
    // blocks as a real one does.
    ASSERT_TRUE(startPulse(pulse, {{"module-null-sink", "sink_name=room"},
                                   {"module-sine", "sink=room", "frequency=440"},
                                   {"module-remap-source", "master=room.monitor", "source_name=mic"}}))
        << pulse.log().toStdString();

    QTemporaryDir dir;
    platform::QtMicRecorder recorder;
    for (const int seconds : {3, 7, 15}) {
        SCOPED_TRACE(seconds);
        const QString path = dir.filePath(QStringLiteral("take %1.m4a").arg(seconds));
        QSignalSpy started(&recorder, &platform::IMicRecorder::recordingStarted);
        QSignalSpy failed(&recorder, &platform::IMicRecorder::failed);
        QSignalSpy finished(&recorder, &platform::IMicRecorder::finished);
        // The remapped source reads the monitor through a stream of its own.
        const int idle = captureStreams(pulse);
        QElapsedTimer sincePress;
        sincePress.start();
        ASSERT_TRUE(recorder.start(path));
        ASSERT_TRUE(waitUntil([&] { return !started.isEmpty() || !failed.isEmpty(); }, 20000));
        ASSERT_TRUE(failed.isEmpty());
        QElapsedTimer taken;
        taken.start();
        waitUntil([&] { return taken.elapsed() >= seconds * 1000; }, seconds * 1000 + 2000);
        const double wanted = double(taken.elapsed()) / 1000.0;
        EXPECT_NEAR(recorder.currentTime(), wanted, 0.3);
        EXPECT_GT(recorder.averagePowerDb(), -20) << "the tone is heard";
        EXPECT_GT(captureStreams(pulse), idle);
        recorder.stop();
        ASSERT_TRUE(waitUntil([&] { return !finished.isEmpty() || !failed.isEmpty(); }, 30000));
        EXPECT_TRUE(failed.isEmpty());
        EXPECT_NEAR(mp4DurationSeconds(path), wanted, 0.3);
        EXPECT_TRUE(decodes(path));
        EXPECT_TRUE(waitUntil([&] { return captureStreams(pulse) == idle; }, 5000)) << "the input stays open";
        EXPECT_FALSE(recorder.hasPipeline());
    }

    // A take started while the one before still completes its file: both
    // files hold their sound, and only the second take reports its end.
    const int idle = captureStreams(pulse);
    QSignalSpy started(&recorder, &platform::IMicRecorder::recordingStarted);
    QSignalSpy failed(&recorder, &platform::IMicRecorder::failed);
    QSignalSpy finished(&recorder, &platform::IMicRecorder::finished);
    const QString first = dir.filePath("first.m4a");
    const QString second = dir.filePath("second.m4a");
    for (const QString &path : {first, second}) {
        const qsizetype before = started.size();
        ASSERT_TRUE(recorder.start(path));
        ASSERT_TRUE(waitUntil([&] { return started.size() > before || !failed.isEmpty(); }, 20000));
        QElapsedTimer taken;
        taken.start();
        waitUntil([&] { return taken.elapsed() >= 1500; }, 4000);
        recorder.stop();
    }
    ASSERT_TRUE(waitUntil([&] { return !finished.isEmpty() || !failed.isEmpty(); }, 30000));
    EXPECT_TRUE(failed.isEmpty());
    EXPECT_TRUE(waitUntil([&] { return mp4DurationSeconds(first) > 1.2; }, 10000));
    EXPECT_GT(mp4DurationSeconds(second), 1.2);
    EXPECT_TRUE(waitUntil([&] { return captureStreams(pulse) == idle; }, 5000));
    EXPECT_EQ(finished.size(), 1);
}
