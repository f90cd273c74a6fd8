// Times the choice of the record to present among eight players, the parse
// of one player's metadata, and the listing of a folder of 500 memos whose
// durations come from their MP4 headers.
#include "benchmain.h"
#include "core/clock.h"
#include "core/scheduler.h"
#include "media/artworkloader.h"
#include "media/mprisbridge.h"
#include "media/nowplayingservice.h"
#include "media/voicememoengine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <benchmark/benchmark.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

namespace {

class Players final : public platform::IMediaPlayers {
public:
    QList<platform::MediaPlayerState> list;
    void start() override {}
    void stop() override {}
    QList<platform::MediaPlayerState> players() const override { return list; }
    void refreshPositions() override {}
    bool sendCommand(const QString &, platform::MediaCommand) override { return true; }
    void add(const platform::MediaPlayerState &s)
    {
        list.append(s);
        emit playerChanged(s.id);
    }
};

class NoKeys final : public platform::IMediaKeySender {
public:
    bool sendMediaKey(int, bool) override { return false; }
};

class NoRecorder final : public platform::IMicRecorder {
public:
    void requestPermission(std::function<void(bool)> done) override { done(false); }
    bool start(const QString &) override { return false; }
    void stop() override {}
    double averagePowerDb() override { return -160; }
    double currentTime() const override { return 0; }
};

class NoPlayer final : public platform::IAudioPlayer {
public:
    bool play(const QString &) override { return false; }
    void pause() override {}
    void resume() override {}
    void stop() override {}
    State state() const override { return State::Stopped; }
};

class NoTools final : public platform::IToolLocator, public platform::IProcessRunner, public platform::IFileRevealer {
public:
    QString find(const QString &) override { return {}; }
    using platform::IProcessRunner::run;
    void run(const QString &, const QStringList &, int, std::function<void(const platform::ProcessResult &)> done) override
    {
        done({1, {}});
    }
    void reveal(const QString &) override {}
};

QVariantMap metadata(int i)
{
    return {{"xesam:title", QStringLiteral("Song %1").arg(i)},
            {"xesam:artist", QStringList{"Band", "Guest"}},
            {"xesam:album", "Album"},
            {"xesam:url", "https://example.org/track"},
            {"mpris:length", qlonglong(215'000'000)},
            {"mpris:trackid", "/org/example/track/1"},
            {"mpris:artUrl", "https://example.org/cover.jpg"}};
}

} // namespace

static void BM_PresentedInfoOverEightPlayers(benchmark::State &state)
{
    const char *names[] = {"vlc", "mpv", "rhythmbox", "elisa", "spotify", "chromium", "firefox", "audacious"};
    SystemClock clock;
    QtScheduler scheduler;
    Players players;
    NoKeys keys;
    QNetworkAccessManager network;
    ArtworkLoader artwork(network, clock);
    NowPlayingService service(players, keys, artwork, clock, scheduler);
    service.start();
    for (int i = 0; i < 8; ++i) {
        platform::MediaPlayerState s;
        s.id = QStringLiteral("org.mpris.MediaPlayer2.") + names[i];
        s.metadata = metadata(i);
        s.playbackStatus = i == 6 ? QStringLiteral("Playing") : QStringLiteral("Paused");
        players.add(s);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(service.presentedInfo());
}
BENCHMARK(BM_PresentedInfoOverEightPlayers)->Unit(benchmark::kMicrosecond);

static void BM_ParseMetadata(benchmark::State &state)
{
    const QVariantMap m = metadata(1);
    const QDateTime at = QDateTime::currentDateTimeUtc();
    for (auto _ : state)
        benchmark::DoNotOptimize(parseMpris(m, QStringLiteral("Playing"), 12'000'000, QString(), "firefox", at));
}
BENCHMARK(BM_ParseMetadata)->Unit(benchmark::kMicrosecond);

static void BM_ListFiveHundredMemos(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString fixture = QStringLiteral(PAVLET_SOURCE_DIR "/tests/data/media/memo.m4a");
    for (int i = 0; i < 500; ++i) {
        if (!QFile::copy(fixture, dir.filePath(QStringLiteral("Memo %1.m4a").arg(i)))) {
            state.SkipWithError("cannot copy the recording");
            return;
        }
    }
    SystemClock clock;
    QtScheduler scheduler;
    NoRecorder recorder;
    NoPlayer player;
    NoTools tools;
    Mp3Exporter exporter(tools, tools, dir.filePath("Downloads"));
    VoiceMemoEngine engine(recorder, player, exporter, tools, clock, scheduler, dir.path());
    for (auto _ : state) {
        engine.reload();
        benchmark::DoNotOptimize(engine.memos().size());
    }
}
BENCHMARK(BM_ListFiveHundredMemos)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv, false);
}
