#include "fakes/fakeclock.h"
#include "fakes/fakemediaplayers.h"
#include "media/artworkloader.h"
#include "media/nowplayingservice.h"

#include <QNetworkAccessManager>
#include <gtest/gtest.h>

using S = NowPlayingInfo::Source;
using platform::MediaCommand;

namespace {

class NowPlayingServiceTest : public ::testing::Test {
protected:
    NowPlayingServiceTest()
    {
        keys.now = [this] { return clock.monotonicMs(); };
        service.start();
    }

    platform::MediaPlayerState add(const QString &suffix, const QString &title, const QString &status)
    {
        auto state = FakeMediaPlayers::player(suffix, title, status);
        players.set(state);
        return state;
    }

    FakeClock clock;
    FakeScheduler scheduler{clock};
    FakeMediaPlayers players;
    FakeMediaKeySender keys;
    QNetworkAccessManager network;
    ArtworkLoader artwork{network, clock};
    NowPlayingService service{players, keys, artwork, clock, scheduler};
};

PlayerRecord record(const QString &bundle, const QString &title, bool playing)
{
    return PlayerRecord{"org.mpris.MediaPlayer2." + bundle, bundle,
                        parseMpris({{"xesam:title", title}}, playing ? "Playing" : "Paused", 0, "", bundle, {})};
}

} // namespace

TEST(NowPlayingRanking, PlayingBeforePausedThenWebSpotifyMusicOther)
{
    struct Case {
        const char *what;
        QList<PlayerRecord> records;
        QString expectedTitle; // empty: nothing presented
    };
    const Case cases[] = {
        {"nothing", {}, ""},
        {"records without text never count", {record("vlc", "", true)}, ""},
        {"playing browser beats playing Spotify",
         {record("spotify", "S", true), record("firefox", "F", true)}, "F"},
        {"playing Spotify beats playing other", {record("vlc", "V", true), record("spotify", "S", true)}, "S"},
        {"any playing beats any paused", {record("firefox", "F", false), record("vlc", "V", true)}, "V"},
        {"paused Spotify beats paused other", {record("vlc", "V", false), record("spotify", "S", false)}, "S"},
        {"paused web beats paused Spotify", {record("spotify", "S", false), record("chromium", "C", false)}, "C"},
        {"YouTube in any player is web", {record("vlc", "V", true), record("mpv", "Cats - YouTube", true)},
         "Cats - YouTube"},
        {"first of a kind wins", {record("vlc", "V1", true), record("mpv", "V2", true)}, "V1"},
    };
    for (const Case &c : cases) {
        const PlayerRecord *chosen = rankPresented(c.records);
        EXPECT_EQ(chosen ? chosen->info.title : QString(), c.expectedTitle) << c.what;
    }
}

TEST_F(NowPlayingServiceTest, PresentsTheRankedPlayerAndDropsOneThatVanished)
{
    EXPECT_FALSE(service.presentedInfo().hasText());
    add("spotify", "Spotify song", "Paused");
    add("vlc", "Local song", "Paused");
    EXPECT_EQ(service.presentedInfo().title, "Spotify song");
    add("vlc", "Local song", "Playing");
    EXPECT_EQ(service.presentedInfo().title, "Local song");
    EXPECT_EQ(service.presentedInfo().source, S::other);

    players.remove("org.mpris.MediaPlayer2.vlc");
    EXPECT_EQ(service.presentedInfo().title, "Spotify song");
    players.remove("org.mpris.MediaPlayer2.spotify");
    EXPECT_FALSE(service.presentedInfo().hasText());
}

TEST_F(NowPlayingServiceTest, PositionReadsAreThrottledAndPolled)
{
    add("vlc", "Song", "Playing");
    const int atStart = players.positionReads;
    service.presentedInfo();
    clock.advanceMs(100);
    service.presentedInfo();
    EXPECT_EQ(players.positionReads, atStart) << "two asks within 0.35 s of the start read once";
    clock.advanceMs(250);
    service.presentedInfo();
    EXPECT_EQ(players.positionReads, atStart + 1);

    const int beforePoll = players.positionReads;
    scheduler.advance(800);
    EXPECT_EQ(players.positionReads, beforePoll + 1);
    service.setAllowAutomation(false);
    scheduler.advance(1600);
    EXPECT_EQ(players.positionReads, beforePoll + 1) << "no polling without the user's wish";
    service.stop();
    service.setAllowAutomation(true);
    scheduler.advance(1600);
    EXPECT_EQ(players.positionReads, beforePoll + 1);
}

TEST_F(NowPlayingServiceTest, CurrentInfoAnswersWithWhatWasHeldBefore)
{
    MprisBridge &bridge = service.bridge();
    EXPECT_FALSE(bridge.currentInfo().has_value());
    add("vlc", "Song", "Paused");
    add("mpv", "Other", "Playing");
    ASSERT_TRUE(bridge.currentInfo().has_value());
    EXPECT_EQ(bridge.currentInfo()->title, "Other");
    EXPECT_EQ(bridge.applicationBundle(), "mpv");
    EXPECT_TRUE(bridge.isRunning("vlc"));
    EXPECT_FALSE(bridge.isRunning("spotify"));
}

TEST_F(NowPlayingServiceTest, CommandsGoToThePresentedPlayer)
{
    add("spotify", "S", "Paused");
    add("vlc", "V", "Playing");
    service.setPresented(service.presentedInfo());
    service.togglePlayPause();
    service.nextTrack();
    add("vlc", "V", "Paused");
    service.setPresented(service.presentedInfo()); // Spotify now ranks first
    service.previousTrack();
    const QList<QPair<QString, MediaCommand>> expected = {
        {"org.mpris.MediaPlayer2.vlc", MediaCommand::PlayPause},
        {"org.mpris.MediaPlayer2.vlc", MediaCommand::Next},
        {"org.mpris.MediaPlayer2.spotify", MediaCommand::Previous},
    };
    EXPECT_EQ(players.commands, expected);
    EXPECT_TRUE(keys.presses.isEmpty());
}

TEST_F(NowPlayingServiceTest, WithoutAPlayerAnUnknownSourceSendsTheMediaKey)
{
    service.setPresented(NowPlayingInfo::empty());
    service.togglePlayPause();
    scheduler.advance(11);
    ASSERT_EQ(keys.presses.size(), 1);
    scheduler.advance(1);
    const qint64 t0 = keys.presses.first().atMs;
    const QList<FakeMediaKeySender::Press> expected = {{16, true, t0}, {16, false, t0 + 12}};
    EXPECT_EQ(keys.presses, expected);

    keys.presses.clear();
    service.nextTrack();
    service.previousTrack(); // the held next key goes up before previous goes down
    scheduler.advance(12);
    ASSERT_EQ(keys.presses.size(), 4);
    EXPECT_EQ(keys.presses[0].type, 17);
    EXPECT_FALSE(keys.presses[1].down);
    EXPECT_EQ(keys.presses[1].type, 17);
    EXPECT_EQ(keys.presses[3].type, 18);
    EXPECT_FALSE(keys.presses[3].down);
}

TEST_F(NowPlayingServiceTest, AKnownSourceWithoutItsPlayerDoesNothing)
{
    NowPlayingInfo browser = NowPlayingInfo::empty();
    browser.title = "Gone";
    browser.source = S::browser;
    service.setPresented(browser);
    service.togglePlayPause();
    scheduler.advance(50);
    EXPECT_TRUE(keys.presses.isEmpty());
    EXPECT_TRUE(players.commands.isEmpty());
}
