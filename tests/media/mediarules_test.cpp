#include "media/mediarules.h"

#include <QTimeZone>
#include <gtest/gtest.h>
#include <limits>

using namespace MediaRules;

TEST(MediaRulesTest, PlayerTexts)
{
    using S = NowPlayingInfo::Source;
    struct Case { QString title, artist, album; bool showAlbum; S source; QString client; QString expected; };
    const QString dot = QString::fromUtf8("  ·  ");
    const QList<Case> cases = {
        {"", "", "X", true, S::music, "", "Music, videos, and browser playback show up here"},
        {"Song", "Band", "Album", true, S::spotify, "", "Band" + dot + "Album"},
        {"Song", "Band", "", true, S::spotify, "", "Band" + dot + "Spotify"},
        {"Song", "", "", true, S::youtube, "", "YouTube"},
        {"Song", "", "Album", true, S::music, "", dot + "Album"},
        {"", "Band", "", false, S::browser, "", "Band" + dot + "Now playing"},
        {"Song", "Band", "Album", false, S::other, "Radio", "Band" + dot + "Radio"},
        {"Song", "Band", "", false, S::music, "", "Band" + dot + "Apple Music"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(playerSubtitle(c.title, c.artist, c.album, c.showAlbum, c.source, c.client), c.expected)
            << c.expected.toStdString();
    EXPECT_EQ(playerTitle("", ""), "Nothing playing");
    EXPECT_EQ(playerTitle("", "Band"), "");
    EXPECT_EQ(artworkSymbol(S::browser), "play.rectangle.fill");
    EXPECT_EQ(artworkSymbol(S::other), "music.note");

    const QDateTime t0 = QDateTime::fromSecsSinceEpoch(1000, Qt::UTC);
    EXPECT_DOUBLE_EQ(playbackPosition(10, 100, true, t0, t0.addSecs(5)), 15);
    EXPECT_DOUBLE_EQ(playbackPosition(10, 100, false, t0, t0.addSecs(5)), 10);
    EXPECT_DOUBLE_EQ(playbackPosition(150, 100, false, t0, t0), 100);
    EXPECT_DOUBLE_EQ(playbackPosition(-3, 100, false, t0, t0), 0);
    EXPECT_DOUBLE_EQ(playbackPosition(30, 0, true, t0, t0.addSecs(5)), 30);
    EXPECT_DOUBLE_EQ(playbackFraction(50, 0), 0);
    EXPECT_DOUBLE_EQ(playbackFraction(150, 100), 1);
    EXPECT_FALSE(showsPlayBar(true, "Song", "", 0));
    EXPECT_FALSE(showsPlayBar(true, "", "", 100));
    EXPECT_TRUE(showsPlayBar(true, "", "Band", 100));
}

TEST(MediaRulesTest, VoiceMemoTexts)
{
    EXPECT_EQ(memoTimeText(0), "0:00");
    EXPECT_EQ(memoTimeText(59.5), "1:00");
    EXPECT_EQ(memoTimeText(754), "12:34");
    EXPECT_EQ(memoTimeText(3600), "60:00");
    EXPECT_EQ(memoTimeText(-4), "0:00");
    EXPECT_EQ(memoTimeText(std::numeric_limits<double>::quiet_NaN()), "0:00");
    EXPECT_EQ(memoTimeText(std::numeric_limits<double>::infinity()), "0:00");

    EXPECT_EQ(memoStatusLine(true, 65, true, "Saving MP3…", 3), "Recording  1:05");
    EXPECT_EQ(memoStatusLine(false, 0, true, "Saving MP3…", 3), QString::fromUtf8("Saving MP3…"));
    EXPECT_EQ(memoStatusLine(false, 0, false, "x", 0), "Tap the mic to record");
    EXPECT_EQ(memoStatusLine(false, 0, false, "x", 1), "1 saved");
    EXPECT_EQ(memoStatusLine(false, 0, false, "x", 3), "3 saved");
    EXPECT_EQ(memoStatusLine(false, 0, false, "Saved to Downloads", 3), "3 saved");
    // Failures stay until the engine's status moves on.
    for (const char *failure : {"Couldn't write MP3", "Install ffmpeg (apt install ffmpeg)", "Couldn't record",
                                "Couldn't play", "Allow microphone in System Settings"}) {
        EXPECT_EQ(memoStatusLine(false, 0, false, failure, 3), failure);
        EXPECT_EQ(memoStatusLine(true, 1, false, failure, 3), "Recording  0:01");
    }

    const QDateTime now = QDateTime::currentDateTime();
    const QString dot = QString::fromUtf8("  ·  ");
    EXPECT_EQ(memoDetailLine(75, "Bring slides", false, now.addSecs(-300), now), "1:15" + dot + "Bring slides");
    EXPECT_EQ(memoDetailLine(75, "Bring slides", true, now.addSecs(-300), now), "1:15" + dot + "5 minutes ago");
    EXPECT_EQ(memoDetailLine(75, "", false, now.addDays(-1), now), "1:15" + dot + "yesterday");

    for (int i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(meterBarHeight(0, i), 9.28);
        EXPECT_FALSE(meterBarLit(0, i));
    }
    const double full[] = {24, 24, 24, 22.08, 15.04};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(meterBarHeight(1, i), full[i], 1e-9) << i;
        EXPECT_TRUE(meterBarLit(1, i));
    }
}

