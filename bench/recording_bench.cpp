// What a user gets from a voice take: the program's real composition on the
// X server (run it under tests/journeys/session.sh), record and Stop clicked
// through the X server, and each saved file held against those clicks.
//
// Sound servers of its own, each running at least 50 s before its first
// take (as a desktop's has), one per take length and kind of input: "sine",
// the server's 440 Hz sine source (it hands out two seconds at a time, ahead
// of time), and "real-time", a 660 Hz tone played into a sink whose monitor
// is remapped into a source, kept flowing by a listener of its own as a
// microphone's sound is. On each server the first take and later ones
// (started a second after the one before) of 3, 7 and 15 s.
//
// Per take: the time from the click on record to "Recording" in the panel's
// header, and the sound lost at the start and at the end. A real-time input
// is muted for 150 ms one second after the click on record and one second
// before the click on Stop: those gaps in the file place it on the clock of
// the clicks. The sine source cannot be muted that finely (its blocks are two
// seconds long): its file is held against the clicks by length alone, and
// what it lacks is counted at the end.
//
// usage: tests/journeys/session.sh build/bench/recording_bench [--busy]
//        --busy: four more processes keep cores busy meanwhile.
#include "journey.h"

#include "app/rendererchoice.h"
#include "island/notchviewmodel.h"
#include "media/voicememoengine.h"
#include "support/pulseserver.h"
#include "support/qmlwarnings.h"
#include "support/takesound.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QtQml/qqmlextensionplugin.h>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

namespace {

constexpr int AgeMs = 50000;
constexpr int NotchMs = 150;

struct Input {
    const char *kind;
    bool realTime;
};

bool setUp(PulseServer &server, const Input &input)
{
    if (!server.start())
        return false;
    QList<QStringList> modules;
    if (input.realTime)
        modules = {{"module-null-sink", "sink_name=room"},
                   {"module-sine", "sink=room", "frequency=660"},
                   {"module-remap-source", "master=room.monitor", "source_name=input"},
                   {"module-loopback", "source=input", "sink=null", "latency_msec=20"}};
    else
        modules = {{"module-sine-source", "source_name=input", "frequency=440"}};
    for (const QStringList &m : modules) {
        if (server.pactl(QStringList{"load-module"} + m).isNull())
            return false;
    }
    return !server.pactl({"set-default-source", "input"}).isNull();
}

// Runs pactl; when it took effect (the middle of the call) on the clock.
qint64 pactlAt(const PulseServer &server, const QStringList &args, const QElapsedTimer &clock)
{
    const qint64 before = clock.elapsed();
    server.pactl(args);
    return (before + clock.elapsed()) / 2;
}

void waitUntilMs(const QElapsedTimer &clock, qint64 ms)
{
    const qint64 left = ms - clock.elapsed();
    if (left > 0)
        XInput::pause(int(left));
}

QQuickItem *recordButton(Journey &j)
{
    auto symbol = [&](const char *name) {
        return j.item("Symbol",
                      [&](QQuickItem *i) { return i->property("name").toString() == name && i->isVisible(); });
    };
    QQuickItem *mic = symbol("mic.fill");
    return mic ? mic : symbol("stop.fill");
}

// Presses and releases the button as a user's click does; the time of the
// press on the clock (the button acts on it).
qint64 clickAt(Journey &j, QQuickItem *button, const QElapsedTimer &clock)
{
    if (!button || !j.ready(button))
        return -1;
    j.hands().moveTo(j.screenPoint(button), 3);
    XInput::pause(40);
    const qint64 pressed = clock.elapsed();
    j.hands().press();
    XInput::pause(40);
    j.hands().release();
    return pressed;
}

bool headerSaysRecording(Journey &j)
{
    return j.item("CardText", [](QQuickItem *i) {
        return i->isVisible() && i->property("text").toString().startsWith(QStringLiteral("Recording"));
    });
}

struct Result {
    QString load, kind, which;
    int seconds = 0;
    double clicked = 0, saved = 0;
    qint64 toRecording = -1;
    double lostStart = 0, lostEnd = 0;
    bool split = false; // start and end told apart
};

// One take of `seconds` on the server: clicks, the gaps, the file.
Result take(Journey &j, PulseServer &server, const Input &input, int seconds)
{
    Result r;
    r.kind = input.kind;
    r.seconds = seconds;
    VoiceMemoEngine *memos = j.island().voice();
    QStringList before;
    for (const VoiceMemo &m : memos->memos())
        before << m.file;
    QElapsedTimer clock;
    clock.start();
    const qint64 recordClick = clickAt(j, recordButton(j), clock);
    if (recordClick < 0)
        return r;
    j.waitFor([&] { return headerSaysRecording(j); }, 10000);
    r.toRecording = headerSaysRecording(j) ? clock.elapsed() - recordClick : -1;

    qint64 notch1 = 0, notch2 = 0;
    const qint64 stopDue = recordClick + seconds * 1000;
    if (input.realTime) {
        waitUntilMs(clock, recordClick + 1000);
        notch1 = pactlAt(server, {"set-source-mute", "input", "1"}, clock);
        waitUntilMs(clock, notch1 + NotchMs);
        server.pactl({"set-source-mute", "input", "0"});
        waitUntilMs(clock, stopDue - 1000);
        notch2 = pactlAt(server, {"set-source-mute", "input", "1"}, clock);
        waitUntilMs(clock, notch2 + NotchMs);
        server.pactl({"set-source-mute", "input", "0"});
    }
    // The stop button is ready before its moment comes.
    QQuickItem *stop = recordButton(j);
    j.ready(stop);
    j.hands().moveTo(j.screenPoint(stop), 3);
    waitUntilMs(clock, stopDue);
    const qint64 stopClick = clickAt(j, stop, clock);
    r.clicked = (stopClick - recordClick) / 1000.0;

    QString file;
    j.waitFor([&] {
        for (const VoiceMemo &m : memos->memos()) {
            if (!before.contains(m.file))
                file = m.url.toLocalFile();
        }
        return !file.isEmpty();
    }, 20000);
    const TakeSound sound = TakeSound::decode(file);
    if (sound.isEmpty())
        return r;
    r.saved = sound.seconds();
    const double lead = sound.leadingQuiet(), trail = sound.trailingQuiet();
    // The gaps inside the file, in order.
    QList<TakeSound::Quiet> gaps = sound.quiets();
    gaps.removeIf([&](const TakeSound::Quiet &q) { return q.from == 0 || q.to >= sound.seconds() - 0.0001; });
    if (input.realTime && gaps.size() >= 2) {
        r.split = true;
        // The file's start on the clock, from the first gap.
        const double zero = notch1 / 1000.0 - gaps.first().from;
        r.lostStart = zero + lead - recordClick / 1000.0;
        const double lastSound = notch2 / 1000.0 + (sound.seconds() - trail - gaps.last().from);
        r.lostEnd = stopClick / 1000.0 - lastSound;
    } else {
        r.lostStart = lead;
        r.lostEnd = r.clicked - (sound.seconds() - trail);
    }
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("MESA_SHADER_CACHE_DISABLE", "true");
    QmlWarnings::install();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pavlet"));
    QApplication::setApplicationName(QStringLiteral("Pavlet"));
    QApplication::setQuitOnLastWindowClosed(false);
    RendererChoice::apply();
    const bool busy = app.arguments().contains(QStringLiteral("--busy"));
    const QString load = busy ? QStringLiteral("busy") : QStringLiteral("quiet");

    // Every server first, so that they age together.
    QElapsedTimer age;
    age.start();
    const Input inputs[] = {{"sine", false}, {"real-time", true}};
    std::vector<std::unique_ptr<PulseServer>> servers;
    for (const Input &input : inputs) {
        for (int i = 0; i < 3; ++i) {
            servers.push_back(std::make_unique<PulseServer>());
            if (!setUp(*servers.back(), input)) {
                std::fprintf(stderr, "no sound server: %s\n", qPrintable(servers.back()->log()));
                return 1;
            }
        }
    }
    std::vector<std::unique_ptr<QProcess>> spinners;
    if (busy) {
        for (int i = 0; i < 4; ++i) {
            spinners.push_back(std::make_unique<QProcess>());
            spinners.back()->start(QStringLiteral("sh"), {"-c", "while :; do :; done"});
        }
    }

    std::vector<Result> results;
    {
        Journey j({.everyModule = true});
        if (!j.start() || !j.openFromStrip(QStringLiteral("Voice memos"))) {
            std::fprintf(stderr, "the program did not start: %s\n", qPrintable(j.report()));
            return 1;
        }
        XInput::pause(int(std::max<qint64>(0, AgeMs - age.elapsed())));
        auto run = [&](const Input &input, PulseServer &server, int seconds, const char *which) {
            // The recorder reaches the server the environment names.
            qputenv("PULSE_SERVER", server.address().toUtf8());
            Result r = take(j, server, input, seconds);
            r.load = load;
            r.which = QString::fromLatin1(which);
            results.push_back(r);
            std::fprintf(stderr, "%s %s %d s %s done\n", qPrintable(load), input.kind, seconds, which);
            XInput::pause(1000);
        };
        for (int k = 0; k < 2; ++k) {
            PulseServer &a = *servers[size_t(k * 3)];
            run(inputs[k], a, 3, "first");
            run(inputs[k], a, 7, "later");
            run(inputs[k], a, 15, "later");
            run(inputs[k], a, 3, "later");
            run(inputs[k], *servers[size_t(k * 3 + 1)], 7, "first");
            run(inputs[k], *servers[size_t(k * 3 + 2)], 15, "first");
        }
        // The journey's own server again, for the program's leaving.
        qputenv("PULSE_SERVER", journeySoundServer().toUtf8());
    }
    for (auto &s : spinners) {
        s->kill();
        s->waitForFinished(3000);
    }

    std::sort(results.begin(), results.end(), [](const Result &a, const Result &b) {
        return std::tie(a.kind, a.seconds, a.which) < std::tie(b.kind, b.seconds, b.which);
    });
    std::printf("| load | input | take | length | clicks apart (s) | saved (s) | tap to \"Recording\" (ms) "
                "| lost at the start (s) | lost at the end (s) |\n|---|---|---|---|---|---|---|---|---|\n");
    for (const Result &r : results) {
        std::printf("| %s | %s | %s | %d s | %.2f | %.2f | %lld | %s | %.2f%s |\n", qPrintable(r.load),
                    qPrintable(r.kind), qPrintable(r.which), r.seconds, r.clicked, r.saved,
                    static_cast<long long>(r.toRecording),
                    r.split ? qPrintable(QString::number(r.lostStart, 'f', 2)) : "—", r.lostEnd,
                    r.split ? "" : " (in all)");
    }
    return 0;
}
