#include "fakemprisplayer.h"
#include "fakes/fakeclock.h"
#include "fakes/fakemediaplayers.h"
#include "media/artworkloader.h"
#include "media/nowplayingservice.h"
#include "platform/linux/mprisplayers.h"
#include "support/pavlettest.h"
#include "support/privatebus.h"

#include <QBuffer>
#include <QDBusObjectPath>
#include <QSignalSpy>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using S = NowPlayingInfo::Source;

namespace {

// Generous: the bus answers in milliseconds, but the machine may be busy.
constexpr int Patience = 15000;

class MprisTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning());
        players = std::make_unique<platform::MprisPlayers>(bus.connection());
        service = std::make_unique<NowPlayingService>(*players, keys, artwork, clock, scheduler);
        service->start();
    }

    std::optional<PlayerRecord> record(const QString &id)
    {
        for (const PlayerRecord &r : service->bridge().records()) {
            if (r.playerId == id)
                return r;
        }
        return std::nullopt;
    }

    PrivateBus bus;
    FakeClock clock;
    FakeScheduler scheduler{clock};
    FakeMediaKeySender keys;
    QNetworkAccessManager network;
    ArtworkLoader artwork{network, clock};
    std::unique_ptr<platform::MprisPlayers> players;
    std::unique_ptr<NowPlayingService> service;
};

QVariantMap song(const QString &title, const QString &artist)
{
    return {{"xesam:title", title}, {"xesam:artist", QStringList{artist}}, {"mpris:length", qlonglong(180'000'000)}};
}

} // namespace

TEST_F(MprisTest, APlayerAppearsChangesSeeksAndVanishes)
{
    FakeMprisPlayer vlc(bus.address(), "vlc", "VLC media player");
    vlc.setTrack(song("First", "Band"), "Playing");
    ASSERT_TRUE(vlc.appear());
    ASSERT_TRUE(waitUntil([&] { return service->presentedInfo().title == "First"; }, Patience));
    NowPlayingInfo info = service->presentedInfo();
    EXPECT_EQ(info.artist, "Band");
    EXPECT_TRUE(info.isPlaying);
    EXPECT_DOUBLE_EQ(info.duration, 180);
    EXPECT_EQ(info.clientName, "VLC media player");
    EXPECT_EQ(info.source, S::other);

    vlc.setTrack(song("Second", "Other band"), "Paused");
    ASSERT_TRUE(waitUntil([&] { return service->presentedInfo().title == "Second"; }, Patience));
    EXPECT_FALSE(service->presentedInfo().isPlaying);

    vlc.seek(42'000'000);
    ASSERT_TRUE(waitUntil([&] { return service->presentedInfo().elapsed == 42; }, Patience));

    // A position that moves by itself is read by the poll.
    vlc.setPosition(50'000'000);
    scheduler.advance(NowPlayingService::PollIntervalMs);
    ASSERT_TRUE(waitUntil([&] { return service->presentedInfo().elapsed == 50; }, Patience));

    vlc.vanish();
    ASSERT_TRUE(waitUntil([&] { return service->bridge().records().isEmpty(); }, Patience));
    EXPECT_FALSE(service->presentedInfo().hasText());
}

TEST_F(MprisTest, TwoPlayersAreRankedAndCommandsReachThePresentedOne)
{
    FakeMprisPlayer spotify(bus.address(), "spotify", "Spotify");
    FakeMprisPlayer firefox(bus.address(), "firefox.instance_1_42", "Mozilla Firefox");
    spotify.setTrack(song("Spotify song", "Band"), "Playing");
    firefox.setTrack({{"xesam:title", "Cats"}, {"xesam:url", "https://www.youtube.com/watch?v=1"}}, "Paused");
    ASSERT_TRUE(spotify.appear());
    ASSERT_TRUE(firefox.appear());
    ASSERT_TRUE(waitUntil([&] { return service->bridge().records().size() == 2; }, Patience));
    ASSERT_TRUE(waitUntil([&] { return record(firefox.name()) && record(firefox.name())->info.hasText(); }, Patience));
    EXPECT_EQ(service->presentedInfo().title, "Spotify song") << "playing beats paused";

    firefox.setStatus("Playing");
    ASSERT_TRUE(waitUntil([&] { return service->presentedInfo().title == "Cats"; }, Patience))
        << "a playing web page beats playing Spotify";
    const NowPlayingInfo presented = service->presentedInfo();
    EXPECT_EQ(presented.source, S::youtube);
    EXPECT_EQ(presented.clientName, "YouTube");

    service->setPresented(presented);
    service->togglePlayPause();
    service->nextTrack();
    ASSERT_TRUE(waitUntil([&] { return firefox.commands.size() == 2; }, Patience));
    EXPECT_EQ(firefox.commands, (QStringList{"PlayPause", "Next"}));
    EXPECT_TRUE(spotify.commands.isEmpty());
    EXPECT_TRUE(keys.presses.isEmpty());
}

TEST_F(MprisTest, MetadataAsRealPlayersSendIt)
{
    FakeMprisPlayer player(bus.address(), "mpv");
    const QVariantMap metadata = {
        {"xesam:title", QString::fromUtf8("Für Élise – 夜")},
        {"xesam:artist", QStringList{"A", "B"}},
        {"mpris:length", int(95'000'000)},
        {"mpris:trackid", QVariant::fromValue(QDBusObjectPath("/org/mpv/track/7"))},
        {"mpris:artUrl", "https://example.org/cover.jpg"},
        {"xesam:trackNumber", 3},
        {"xesam:genre", QStringList()},
    };
    player.setTrack(metadata, "Playing");
    ASSERT_TRUE(player.appear());
    ASSERT_TRUE(waitUntil([&] { return service->presentedInfo().hasText(); }, Patience));
    const NowPlayingInfo info = service->presentedInfo();
    EXPECT_EQ(info.title, QString::fromUtf8("Für Élise – 夜"));
    EXPECT_EQ(info.artist, "A, B");
    EXPECT_DOUBLE_EQ(info.duration, 95);
    EXPECT_EQ(info.trackID, "/org/mpv/track/7");
    EXPECT_EQ(info.artworkURL, QUrl("https://example.org/cover.jpg"));
    EXPECT_EQ(info.clientName, "Mpv");

    // No artist at all, a 64-bit length and a file address for the art.
    player.setTrack({{"xesam:title", "Only title"}, {"mpris:length", qulonglong(1'500'000)},
                     {"mpris:artUrl", "file:///tmp/cover.png"}},
                    "Paused");
    ASSERT_TRUE(waitUntil([&] { return service->presentedInfo().title == "Only title"; }, Patience));
    EXPECT_EQ(service->presentedInfo().artist, "");
    EXPECT_DOUBLE_EQ(service->presentedInfo().duration, 1.5);
    EXPECT_EQ(service->presentedInfo().artworkURL, QUrl("file:///tmp/cover.png"));

    // The cover carried in the address itself, as players that embed it
    // send it: it shows as the track's artwork.
    QImage cover(6, 6, QImage::Format_RGB32);
    cover.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(cover.save(&buffer, "PNG"));
    const QString address = QString::fromLatin1("data:image/png;base64," + png.toBase64());
    player.setTrack({{"xesam:title", "Embedded"}, {"mpris:artUrl", address}}, "Playing");
    ASSERT_TRUE(waitUntil([&] { return service->presentedInfo().title == "Embedded"; }, Patience));
    QSignalSpy ready(service.get(), &NowPlayingService::artworkReady);
    service->artwork(service->presentedInfo());
    ASSERT_TRUE(waitUntil([&] { return !ready.isEmpty(); }, Patience));
    EXPECT_EQ(ready.first().at(1).value<QImage>().pixelColor(2, 2), QColor(Qt::blue));

    // Players reuse track ids: A with a green cover quits, B comes with the
    // same id and a red one, and B's song shows red.
    QTemporaryDir covers;
    const auto playing = [&](FakeMprisPlayer &p, const char *title, Qt::GlobalColor colour, bool appear) {
        QImage image(6, 6, QImage::Format_RGB32);
        image.fill(colour);
        const QString file = covers.filePath(title);
        EXPECT_TRUE(image.save(file, "PNG"));
        p.setTrack({{"xesam:title", title}, {"mpris:artUrl", QUrl::fromLocalFile(file).toString()},
                    {"mpris:trackid", QVariant::fromValue(QDBusObjectPath("/org/mpris/MediaPlayer2/Track/1"))}},
                   "Playing");
        EXPECT_TRUE(!appear || p.appear());
        EXPECT_TRUE(waitUntil([&] { return service->presentedInfo().title == title; }, Patience));
        service->artwork(service->presentedInfo());
        const QString key = service->presentedInfo().artworkKey();
        EXPECT_TRUE(waitUntil([&] { return artwork.cached(key).has_value(); }, Patience));
        return artwork.cached(key).value_or(QImage()).pixelColor(2, 2);
    };
    EXPECT_EQ(playing(player, "Green song", Qt::green, false), QColor(Qt::green));
    player.vanish();
    ASSERT_TRUE(waitUntil([&] { return service->bridge().records().isEmpty(); }, Patience));
    FakeMprisPlayer second(bus.address(), "other");
    EXPECT_EQ(playing(second, "Red song", Qt::red, true), QColor(Qt::red));
}

TEST_F(MprisTest, PlayersAlreadyThereAtStartAreFound)
{
    FakeMprisPlayer early(bus.address(), "early");
    early.setTrack(song("Early", "Band"), "Paused");
    ASSERT_TRUE(early.appear());
    platform::MprisPlayers second(bus.connection());
    MprisBridge bridge(second, clock);
    bridge.start();
    ASSERT_TRUE(waitUntil([&] { return bridge.currentInfo().has_value(); }, Patience));
    EXPECT_EQ(bridge.currentInfo()->title, "Early");
    EXPECT_TRUE(bridge.isRunning("early"));
}
