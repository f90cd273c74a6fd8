// Times a voice take against a private sound server whose default input is
// a 440 Hz tone: from the press to the first sound captured (ten takes: the
// process's first, then the median and the worst of the others), and the length saved against the time from the
// press to Stop for 3, 7 and 15 s takes. "--busy" runs the same with every
// core kept busy by spinning threads.
#include "media/mp4duration.h"
#include "platform/linux/pulseaudiooutput.h"
#include "platform/linux/qtmicrecorder.h"
#include "support/pulseserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace {

bool spinUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool busy = app.arguments().contains("--busy");
    std::atomic<bool> spinning{busy};
    std::vector<std::thread> load;
    if (busy) {
        const unsigned n = std::max(2u, std::thread::hardware_concurrency() * 2);
        for (unsigned i = 0; i < n; ++i)
            load.emplace_back([&spinning] {
                volatile unsigned long x = 0;
                while (spinning)
                    x = x + 1;
            });
    }

    PulseServer pulse;
    if (!pulse.start())
        return std::fprintf(stderr, "no sound server: %s\n", qPrintable(pulse.log())), 1;
    for (const QStringList &m : {QStringList{"module-null-sink", "sink_name=room"},
                                 QStringList{"module-sine", "sink=room", "frequency=440"},
                                 QStringList{"module-remap-source", "master=room.monitor", "source_name=tone"}})
        pulse.pactl(QStringList{"load-module"} + m);
    // A listener of its own keeps the tone flowing as a microphone's sound
    // does (an idle null sink renders in blocks of two seconds).
    pulse.pactl({"load-module", "module-loopback", "source=tone", "sink=null", "latency_msec=20"});
    pulse.pactl({"set-default-source", "tone"});
    qputenv("PULSE_SERVER", pulse.address().toUtf8());
    PulseAudioOutput server(pulse.address());
    spinUntil([&] { return server.defaultInput() == "tone"; }, 10000);

    // A sound server just started runs its first capture stream only after
    // its first two-second block; a desktop's server has long been running.
    // A stream from another program takes that wait, so that the takes below
    // time this process alone, its first take included.
    QElapsedTimer warm;
    warm.start();
    QProcess probe;
    probe.start(QStringLiteral("parec"), {QStringLiteral("--latency-msec=50"), QStringLiteral("-d"), QStringLiteral("tone")});
    probe.waitForStarted(5000);
    spinUntil([&] { return probe.bytesAvailable() > 0; }, 10000);
    const qint64 serverFirst = warm.elapsed();
    probe.kill();
    probe.waitForFinished(3000);
    std::printf("%s: the new sound server's first stream (another program) ran after %lld ms\n",
                busy ? "busy" : "quiet", static_cast<long long>(serverFirst));

    QTemporaryDir dir;
    platform::QtMicRecorder recorder(std::nullopt, [&] { return server.defaultInput(); });
    bool started = false, ended = false;
    QObject::connect(&recorder, &platform::IMicRecorder::recordingStarted, [&] { started = true; });
    QObject::connect(&recorder, &platform::IMicRecorder::finished, [&] { ended = true; });
    QObject::connect(&recorder, &platform::IMicRecorder::failed, [&] { ended = true; });

    std::vector<qint64> tapToCapture;
    for (int i = 0; i < 10; ++i) {
        started = ended = false;
        QElapsedTimer tap;
        tap.start();
        recorder.start(dir.filePath(QStringLiteral("t%1.m4a").arg(i)));
        spinUntil([&] { return started; }, 10000);
        tapToCapture.push_back(tap.elapsed());
        spinUntil([&] { return tap.elapsed() >= 300; }, 1000);
        recorder.stop();
        spinUntil([&] { return ended; }, 10000);
    }
    // The process's first take apart: Qt connects to the server then.
    const qint64 first = tapToCapture.front();
    std::sort(tapToCapture.begin() + 1, tapToCapture.end());
    std::printf("%s: tap to capture: first take %lld ms; the other takes median %lld ms, worst %lld ms\n",
                busy ? "busy" : "quiet", static_cast<long long>(first),
                static_cast<long long>(tapToCapture[tapToCapture.size() / 2]),
                static_cast<long long>(tapToCapture.back()));

    for (const int seconds : {3, 7, 15}) {
        started = ended = false;
        const QString path = dir.filePath(QStringLiteral("take%1.m4a").arg(seconds));
        QElapsedTimer tap;
        tap.start();
        recorder.start(path);
        spinUntil([&] { return tap.elapsed() >= seconds * 1000; }, seconds * 1000 + 1000);
        const double held = double(tap.elapsed()) / 1000.0;
        recorder.stop();
        spinUntil([&] { return ended; }, 10000);
        std::printf("%s: %d s take: tap to Stop %.2f s, saved %.2f s\n", busy ? "busy" : "quiet", seconds, held,
                    mp4DurationSeconds(path));
    }
    spinning = false;
    for (std::thread &t : load)
        t.join();
    return 0;
}
