#include "media/mp4duration.h"
#include "platform/linux/pulseaudiooutput.h"
#include "platform/linux/qtmicrecorder.h"
#include "support/pavlettest.h"
#include "support/pulseserver.h"

#include <QElapsedTimer>
#include <QFile>
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

namespace {

// Audio channels of the file's first stream, as ffprobe reads them.
int channels(const QString &path)
{
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-show_entries", "stream=channels", "-of", "csv=p=0", path});
    probe.waitForFinished(10000);
    return probe.readAllStandardOutput().trimmed().toInt();
}

// The private server with two inputs: "mic", silent, and "tone", a 440 Hz
// tone played into a sink whose monitor is remapped into an ordinary source
// (it hands out sound in small blocks as a real one does). "tone" is listed
// after "mic" and is the default.
bool startTwoInputs(PulseServer &pulse)
{
    if (!startPulse(pulse, {{"module-null-source", "source_name=mic"},
                            {"module-null-sink", "sink_name=room"},
                            {"module-sine", "sink=room", "frequency=440"},
                            {"module-remap-source", "master=room.monitor", "source_name=tone"}}))
        return false;
    // A listener of its own keeps the tone flowing as a microphone's sound
    // does (an idle null sink renders in blocks of two seconds).
    return !pulse.pactl({"load-module", "module-loopback", "source=tone", "sink=null", "latency_msec=20"}).isNull()
        && !pulse.pactl({"set-default-source", "tone"}).isNull();
}

} // namespace

// A take holds what the input gave from the press until stop(), in one
// channel; it records from the sound server's default input, following a
// change of the default between takes; the input closes with the take.
TEST(QtMicRecorder, TakesKeepTheirWholeLengthFromTheDefaultInput)
{
    PulseServer pulse;
    ASSERT_TRUE(startTwoInputs(pulse)) << pulse.log().toStdString();
    PulseAudioOutput server(pulse.address());
    ASSERT_TRUE(waitUntil([&] { return server.defaultInput() == "tone"; }, 10000));

    QTemporaryDir dir;
    platform::QtMicRecorder recorder(std::nullopt, [&] { return server.defaultInput(); });
    // A sound server just started runs its first capture stream only after
    // about two seconds: a first take, whole from its start on.
    {
        QSignalSpy started(&recorder, &platform::IMicRecorder::recordingStarted);
        QSignalSpy finished(&recorder, &platform::IMicRecorder::finished);
        ASSERT_TRUE(recorder.start(dir.filePath("first.m4a")));
        ASSERT_TRUE(waitUntil([&] { return !started.isEmpty(); }, 5000));
        QElapsedTimer taken;
        taken.start();
        waitUntil([&] { return taken.elapsed() >= 1000; }, 3000);
        recorder.stop();
        ASSERT_TRUE(finished.wait(5000));
        EXPECT_GE(mp4DurationSeconds(dir.filePath("first.m4a")), double(taken.elapsed()) / 1000.0 - 0.3);
    }
    for (const int seconds : {3, 7}) {
        SCOPED_TRACE(seconds);
        const QString path = dir.filePath(QStringLiteral("take %1.m4a").arg(seconds));
        QSignalSpy started(&recorder, &platform::IMicRecorder::recordingStarted);
        QSignalSpy failed(&recorder, &platform::IMicRecorder::failed);
        QSignalSpy finished(&recorder, &platform::IMicRecorder::finished);
        const int idle = captureStreams(pulse);
        QElapsedTimer sincePress;
        sincePress.start();
        ASSERT_TRUE(recorder.start(path));
        ASSERT_TRUE(waitUntil([&] { return !started.isEmpty() || !failed.isEmpty(); }, 5000));
        ASSERT_TRUE(failed.isEmpty());
        waitUntil([&] { return sincePress.elapsed() >= seconds * 1000; }, seconds * 1000 + 2000);
        EXPECT_GT(recorder.averagePowerDb(), -20) << "the tone is heard";
        EXPECT_GT(captureStreams(pulse), idle);
        const double wanted = double(sincePress.elapsed()) / 1000.0;
        recorder.stop();
        ASSERT_TRUE(waitUntil([&] { return !finished.isEmpty() || !failed.isEmpty(); }, 10000));
        EXPECT_TRUE(failed.isEmpty());
        EXPECT_NEAR(mp4DurationSeconds(path), wanted, 0.3);
        EXPECT_TRUE(decodes(path));
        EXPECT_EQ(channels(path), 1);
        EXPECT_TRUE(waitUntil([&] { return captureStreams(pulse) == idle; }, 5000)) << "the input stays open";
    }

    // The desktop's default moves to the silent input while nothing records.
    pulse.pactl({"set-default-source", "mic"});
    ASSERT_TRUE(waitUntil([&] { return server.defaultInput() == "mic"; }, 10000));
    QSignalSpy started(&recorder, &platform::IMicRecorder::recordingStarted);
    ASSERT_TRUE(recorder.start(dir.filePath("quiet.m4a")));
    ASSERT_TRUE(waitUntil([&] { return !started.isEmpty(); }, 5000)) << "silence is sound too";
    QElapsedTimer taken;
    taken.start();
    waitUntil([&] { return taken.elapsed() >= 500; }, 2000);
    EXPECT_LT(recorder.averagePowerDb(), -100);
    recorder.stop();

    // Stopped at once: a take without sound fails and leaves no file; one
    // that got a moment's sound is a whole file.
    QSignalSpy failed(&recorder, &platform::IMicRecorder::failed);
    QSignalSpy finished(&recorder, &platform::IMicRecorder::finished);
    const QString brief = dir.filePath("brief.m4a");
    ASSERT_TRUE(recorder.start(brief));
    recorder.stop();
    ASSERT_TRUE(waitUntil([&] { return !failed.isEmpty() || !finished.isEmpty(); }, 5000));
    EXPECT_EQ(QFile::exists(brief), failed.isEmpty());
    if (failed.isEmpty()) {
        EXPECT_TRUE(decodes(brief));
    }
}

// An input suspended by hand never answers the request to open it: the
// island goes on meanwhile, the take fails once the input stays silent, and
// the next take, asked for once the input is back, records.
TEST(QtMicRecorder, AnInputThatNeverOpensFailsTheTakeWithoutHoldingTheIsland)
{
    PulseServer pulse;
    ASSERT_TRUE(startTwoInputs(pulse)) << pulse.log().toStdString();
    PulseAudioOutput server(pulse.address());
    ASSERT_TRUE(waitUntil([&] { return server.defaultInput() == "tone"; }, 10000));
    ASSERT_FALSE(pulse.pactl({"suspend-source", "tone", "1"}).isNull());

    QTemporaryDir dir;
    platform::QtMicRecorder recorder(std::nullopt, [&] { return server.defaultInput(); });
    QSignalSpy failed(&recorder, &platform::IMicRecorder::failed);
    QElapsedTimer held;
    held.start();
    ASSERT_TRUE(recorder.start(dir.filePath("suspended.m4a")));
    EXPECT_LT(held.elapsed(), 1000) << "start() waited for the server";
    ASSERT_TRUE(failed.wait(platform::QtMicRecorder::NoSoundLimitMs + 10000));
    EXPECT_FALSE(QFile::exists(dir.filePath("suspended.m4a")));
    EXPECT_EQ(recorder.currentTime(), 0);

    pulse.pactl({"suspend-source", "tone", "0"});
    QSignalSpy started(&recorder, &platform::IMicRecorder::recordingStarted);
    QSignalSpy finished(&recorder, &platform::IMicRecorder::finished);
    const QString path = dir.filePath("back.m4a");
    ASSERT_TRUE(recorder.start(path));
    ASSERT_TRUE(waitUntil([&] { return !started.isEmpty() || failed.size() > 1; }, 10000));
    ASSERT_EQ(failed.size(), 1);
    waitUntil([&] { return recorder.currentTime() >= 1.0; }, 5000);
    recorder.stop();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(decodes(path));
}

// After a file no reader opens, the next sound plays through the server; so
// does the first sound of a new player.
TEST(QtAudioPlayer, PlaysAfterAFileThatFailed)
{
    PulseServer pulse;
    ASSERT_TRUE(startPulse(pulse, {{"module-null-source", "source_name=mic"}})) << pulse.log().toStdString();
    auto sinkInputs = [&] {
        return int(pulse.pactl({"list", "short", "sink-inputs"}).split('\n', Qt::SkipEmptyParts).size());
    };
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.m4a");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(595, 'x'));
    }
    platform::QtAudioPlayer player;
    ASSERT_TRUE(player.play(PAVLET_TEST_DATA "/media/memo.m4a"));
    EXPECT_TRUE(waitUntil([&] { return sinkInputs() > 0; }, 10000)) << "the first sound is heard";
    player.stop();
    player.play(broken);
    ASSERT_TRUE(waitUntil([&] { return player.state() == platform::IAudioPlayer::State::Stopped; }, 10000));
    ASSERT_TRUE(waitUntil([&] { return sinkInputs() == 0; }, 10000));
    ASSERT_TRUE(player.play(PAVLET_TEST_DATA "/media/memo.m4a"));
    EXPECT_TRUE(waitUntil([&] { return sinkInputs() > 0; }, 10000)) << "a failed file leaves the player mute";
}
