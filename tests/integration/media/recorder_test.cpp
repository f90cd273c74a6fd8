#include "media/mp4duration.h"
#include "platform/linux/pulsemicrecorder.h"
#include "platform/linux/pulseaudioplayer.h"
#include "support/patience.h"
#include "support/pavlettest.h"
#include "support/pulseserver.h"
#include "support/takesound.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
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

// Sends signal to this process's child running program; whether there was one.
bool signalChild(const QString &program, const char *signal)
{
    const QString parent = QString::number(QCoreApplication::applicationPid());
    return QProcess::execute("pkill", {"--signal", signal, "-P", parent, "-x", program}) == 0;
}

} // namespace

// Records from a private PulseAudio server's silent source into a real
// AAC/MP4 file and plays it back.
TEST(PulseMicRecorder, RecordsAnM4aFileThatPlaysBack)
{
    PulseServer pulse;
    // A silent microphone.
    ASSERT_TRUE(startPulse(pulse, {{"module-null-source", "source_name=mic"}})) << pulse.log().toStdString();

    QTemporaryDir dir;
    const QString path = dir.filePath("take.m4a");
    platform::PulseMicRecorder recorder;
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

    platform::PulseAudioPlayer player;
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

// The private server with inputs of every kind, none of them the default:
// "mic", silent; "sine", the server's own 440 Hz source (it hands out two
// seconds of sound at a time, ahead of time); "tone", a 660 Hz tone played
// into a sink whose monitor is remapped into an ordinary source; and
// "feed.monitor", the monitor of a sink a 550 Hz tone plays into. A listener
// of their own keeps the two tones flowing as a microphone's sound does (an
// idle null sink renders in blocks of two seconds).
bool startEveryInput(PulseServer &pulse)
{
    return startPulse(pulse, {{"module-null-source", "source_name=mic"},
                              {"module-sine-source", "source_name=sine", "frequency=440"},
                              {"module-null-sink", "sink_name=room"},
                              {"module-sine", "sink=room", "frequency=660"},
                              {"module-remap-source", "master=room.monitor", "source_name=tone"},
                              {"module-loopback", "source=tone", "sink=null", "latency_msec=20"},
                              {"module-null-sink", "sink_name=feed"},
                              {"module-sine", "sink=feed", "frequency=550"},
                              {"module-loopback", "source=feed.monitor", "sink=null", "latency_msec=20"}});
}

// Runs pactl and says when, in ms of clock, it took effect: the middle of
// the call, give or take *spread.
qint64 pactlAt(const PulseServer &pulse, const QStringList &args, const QElapsedTimer &clock, qint64 *spread)
{
    const qint64 before = clock.elapsed();
    pulse.pactl(args);
    const qint64 after = clock.elapsed();
    *spread = std::max(*spread, (after - before) / 2);
    return (before + after) / 2;
}

} // namespace

// A take holds what the input gave from start() to stop(), both ends, in
// one channel, from the server's default source whatever its kind: its own
// sine source, a real-time one, and a monitor of an output. The real-time
// inputs are muted for the first and the last half second, and the file
// must be silent for just as long at each end. The input closes with the
// take.
TEST(PulseMicRecorder, TakesHoldTheSoundFromStartToStopOfTheDefaultSource)
{
    PulseServer pulse;
    ASSERT_TRUE(startEveryInput(pulse)) << pulse.log().toStdString();
    QTemporaryDir dir;
    platform::PulseMicRecorder recorder;
    const int idle = captureStreams(pulse);
    struct Input {
        const char *source;
        bool gated; // real time: muting it silences the take at once
    };
    for (const Input input : {Input{"sine", false}, Input{"tone", true}, Input{"feed.monitor", true}}) {
        SCOPED_TRACE(input.source);
        ASSERT_FALSE(pulse.pactl({"set-default-source", input.source}).isNull());
        if (input.gated)
            pulse.pactl({"set-source-mute", input.source, "1"});
        const QString path = dir.filePath(QStringLiteral("%1.m4a").arg(input.source));
        QSignalSpy started(&recorder, &platform::IMicRecorder::recordingStarted);
        QSignalSpy failed(&recorder, &platform::IMicRecorder::failed);
        QSignalSpy finished(&recorder, &platform::IMicRecorder::finished);
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(recorder.start(path));
        ASSERT_TRUE(waitUntil([&] { return !started.isEmpty() || !failed.isEmpty(); }, 5000));
        ASSERT_TRUE(failed.isEmpty());
        EXPECT_LT(clock.elapsed(), Patience::deadline(1000)) << "the take began late";
        qint64 spread = 0, unmuted = 0, muted = 0;
        waitUntil([&] { return clock.elapsed() >= 500; }, 2000);
        if (input.gated)
            unmuted = pactlAt(pulse, {"set-source-mute", input.source, "0"}, clock, &spread);
        waitUntil([&] { return clock.elapsed() >= 2000; }, 4000);
        EXPECT_GT(recorder.averagePowerDb(), -20) << "the tone is heard";
        EXPECT_GT(captureStreams(pulse), idle);
        if (input.gated)
            muted = pactlAt(pulse, {"set-source-mute", input.source, "1"}, clock, &spread);
        waitUntil([&] { return clock.elapsed() >= 2500; }, 4000);
        const qint64 stopped = clock.elapsed();
        recorder.stop();
        ASSERT_TRUE(waitUntil([&] { return !finished.isEmpty() || !failed.isEmpty(); }, 10000));
        pulse.pactl({"set-source-mute", input.source, "0"});
        ASSERT_TRUE(failed.isEmpty());

        const TakeSound sound = TakeSound::decode(path);
        ASSERT_FALSE(sound.isEmpty()) << "ffmpeg cannot read the take";
        EXPECT_NEAR(sound.seconds(), stopped / 1000.0, 0.3);
        EXPECT_NEAR(mp4DurationSeconds(path), sound.seconds(), 0.05);
        const double tolerance = 0.15 + spread / 1000.0;
        if (input.gated) {
            EXPECT_NEAR(sound.leadingQuiet(), unmuted / 1000.0, tolerance) << "the start is not where it was";
            EXPECT_NEAR(sound.trailingQuiet(), (stopped - muted) / 1000.0, tolerance) << "the end is not where it was";
            EXPECT_GT(sound.levelDb(1.0, 1.5), -20);
        } else {
            EXPECT_LT(sound.leadingQuiet() + sound.trailingQuiet(), 0.05);
            EXPECT_GT(sound.levelDb(0, sound.seconds()), -20);
        }
        EXPECT_EQ(channels(path), 1);
        EXPECT_TRUE(waitUntil([&] { return captureStreams(pulse) == idle; }, 5000)) << "the input stays open";
    }

    // The silent input made the default while nothing records; stopped at
    // once, a take without sound fails and leaves no file, one that got a
    // moment's sound is a whole file.
    pulse.pactl({"set-default-source", "mic"});
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

// The input goes away during a take, unplugged (its module unloaded), suspended
// or with the whole sound server: the take says so, and keeps what it recorded.
TEST(PulseMicRecorder, ALostInputEndsTheTakeKeepingWhatItRecorded)
{
    PulseServer pulse;
    ASSERT_TRUE(startEveryInput(pulse)) << pulse.log().toStdString();
    const QString plug = pulse.pactl({"load-module", "module-remap-source", "master=room.monitor", "source_name=usb"});
    ASSERT_FALSE(plug.isNull());
    QTemporaryDir dir;
    platform::PulseMicRecorder recorder;
    for (const QByteArray loss : {"unplugged", "suspended", "server gone"}) {
        SCOPED_TRACE(loss.constData());
        const bool unplug = loss == "unplugged", suspend = loss == "suspended";
        pulse.pactl({"set-default-source", unplug ? "usb" : suspend ? "feed.monitor" : "tone"});
        const QString path = dir.filePath(QStringLiteral("%1.m4a").arg(QString::fromLatin1(loss)));
        QSignalSpy started(&recorder, &platform::IMicRecorder::recordingStarted);
        QSignalSpy lost(&recorder, &platform::IMicRecorder::inputLost);
        QSignalSpy failed(&recorder, &platform::IMicRecorder::failed);
        QSignalSpy finished(&recorder, &platform::IMicRecorder::finished);
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(recorder.start(path));
        ASSERT_TRUE(waitUntil([&] { return !started.isEmpty(); }, 5000));
        // A source just plugged in takes a moment to give sound.
        ASSERT_TRUE(waitUntil([&] { return recorder.averagePowerDb() > -20; }, 8000));
        const qint64 heard = clock.elapsed();
        waitUntil([&] { return clock.elapsed() >= heard + 700; }, 3000);
        const qint64 gone = clock.elapsed();
        if (unplug)
            pulse.pactl({"unload-module", plug.trimmed()});
        else if (suspend)
            pulse.pactl({"suspend-sink", "feed", "1"});
        else
            pulse.stop();
        // The input was lost somewhere in the time pactl took.
        const qint64 lostBy = clock.elapsed();
        ASSERT_TRUE(waitUntil([&] { return !finished.isEmpty() || !failed.isEmpty(); }, 10000));
        EXPECT_EQ(lost.size(), 1);
        EXPECT_TRUE(failed.isEmpty());
        // What the input gave up to the loss.
        const TakeSound sound = TakeSound::decode(path);
        EXPECT_LE(sound.seconds(), lostBy / 1000.0 + 0.1);
        EXPECT_GE(sound.seconds(), (gone - heard) / 1000.0);
        EXPECT_NEAR(mp4DurationSeconds(path), sound.seconds(), 0.05);
        EXPECT_GT(sound.levelDb(sound.seconds() - 0.5, sound.seconds() - 0.1), -20) << "what was recorded is kept";
    }
}

// An input suspended by hand never answers the request to open it: the
// island goes on meanwhile, the take fails once the input stays silent, and
// the next take, asked for once the input is back, records.
TEST(PulseMicRecorder, AnInputThatNeverOpensFailsTheTakeWithoutHoldingTheIsland)
{
    PulseServer pulse;
    ASSERT_TRUE(startEveryInput(pulse)) << pulse.log().toStdString();
    pulse.pactl({"set-default-source", "tone"});
    ASSERT_FALSE(pulse.pactl({"suspend-source", "tone", "1"}).isNull());

    QTemporaryDir dir;
    platform::PulseMicRecorder recorder;
    QSignalSpy failed(&recorder, &platform::IMicRecorder::failed);
    QElapsedTimer held;
    held.start();
    ASSERT_TRUE(recorder.start(dir.filePath("suspended.m4a")));
    EXPECT_LT(held.elapsed(), Patience::deadline(1000)) << "start() waited for the server";
    ASSERT_TRUE(failed.wait(platform::PulseMicRecorder::NoSoundLimitMs + 10000));
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
// does the next sound after the server was killed or stopped, idle or
// during a sound. A sound cut off by the server, or asked for while it is
// down, fails at once and says so; nothing holds the thread meanwhile; and
// FFmpeg never loads in this process. A sound that stops arriving (server frozen,
// decoder killed) fails within a few seconds and leaves no decoder behind.
TEST(PulseAudioPlayer, PlaysAfterAFileThatFailedAndAfterTheServerRestarts)
{
    PulseServer pulse;
    ASSERT_TRUE(startPulse(pulse, {{"module-null-source", "source_name=mic"}})) << pulse.log().toStdString();
    // The longest the event loop went without a turn; the test's own waits
    // on pactl and on the server are not the player's, so the clock starts
    // again after each.
    QElapsedTimer sinceTurn;
    sinceTurn.start();
    qint64 held = 0;
    auto sinkInputs = [&] {
        const int n = int(pulse.pactl({"list", "short", "sink-inputs"}).split('\n', Qt::SkipEmptyParts).size());
        sinceTurn.restart();
        return n;
    };
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.m4a");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(595, 'x'));
    }
    const QString memo = PAVLET_TEST_DATA "/media/memo.m4a";
    const QString tone = dir.filePath("tone.m4a");
    ASSERT_EQ(QProcess::execute("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "sine=frequency=440:duration=8", tone}), 0);
    platform::PulseAudioPlayer player;
    QSignalSpy failed(&player, &platform::IAudioPlayer::failed);
    auto stopped = [&] { return player.state() == platform::IAudioPlayer::State::Stopped; };
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] { held = std::max(held, sinceTurn.restart()); });
    turns.start(5);

    ASSERT_TRUE(player.play(memo));
    EXPECT_TRUE(waitUntil([&] { return sinkInputs() > 0; }, 10000)) << "the first sound is heard";
    ASSERT_TRUE(waitUntil(stopped, 10000)) << "the memo plays to its end";
    EXPECT_TRUE(failed.isEmpty());
    if (player.play(broken)) {
        EXPECT_TRUE(waitUntil([&] { return failed.size() == 1 && stopped(); }, 10000));
    }
    failed.clear();
    for (const char *how : {"killed while idle", "stopped while idle", "killed during a sound", "stopped during a sound"}) {
        SCOPED_TRACE(how);
        const bool during = QByteArray(how).contains("during");
        if (during) {
            ASSERT_TRUE(player.play(tone));
            ASSERT_TRUE(waitUntil([&] { return sinkInputs() > 0; }, 10000));
        }
        if (QByteArray(how).startsWith("killed"))
            pulse.kill();
        else
            pulse.stop();
        if (during) {
            EXPECT_TRUE(waitUntil([&] { return failed.size() == 1 && stopped(); }, 3000)) << "the cut-off is said";
        }
        // Asked for while the server is down: fails at once.
        held = 0;
        sinceTurn.restart();
        if (player.play(memo)) {
            EXPECT_TRUE(waitUntil([&] { return failed.size() == (during ? 2 : 1); }, 3000)) << "no sound is said";
        }
        EXPECT_TRUE(stopped());
        const bool back = pulse.start();
        sinceTurn.restart();
        ASSERT_TRUE(back) << pulse.log().toStdString();
        failed.clear();
        ASSERT_TRUE(player.play(memo));
        EXPECT_TRUE(waitUntil([&] { return sinkInputs() > 0; }, 10000)) << "the server that came back is not used";
        EXPECT_TRUE(waitUntil(stopped, 10000));
        EXPECT_TRUE(failed.isEmpty());
        failed.clear();
    }
    for (const char *program : {"pulseaudio", "pavlet-sound"}) {
        ASSERT_TRUE(player.play(tone));
        ASSERT_TRUE(waitUntil([&] { return sinkInputs() > 0 && signalChild("pavlet-sound", "0"); }, 10000));
        signalChild(program, program == QLatin1String("pulseaudio") ? "STOP" : "KILL");
        EXPECT_TRUE(waitUntil([&] { return failed.size() == 1 && stopped(); },
                              platform::PulseAudioPlayer::StallLimitMs + Patience::deadline(2000))) << program;
        EXPECT_TRUE(waitUntil([&] { return !signalChild("pavlet-sound", "0"); }, 5000)) << "the decoder is left";
        signalChild("pulseaudio", "CONT");
        failed.clear();
    }
    EXPECT_LT(held, Patience::deadline(500)) << "the thread was held";
    QFile maps("/proc/self/maps");
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    EXPECT_FALSE(maps.readAll().contains("libavcodec"));
}
