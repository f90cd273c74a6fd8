#include "media/mprisbridge.h"
#include "media/nowplayinginfo.h"

#include <gtest/gtest.h>

using S = NowPlayingInfo::Source;

namespace {

NowPlayingInfo track()
{
    NowPlayingInfo i;
    i.title = "Song";
    i.artist = "Band";
    i.album = "Record";
    i.isPlaying = true;
    i.duration = 200;
    i.elapsed = 30;
    i.source = S::other;
    i.clientName = "Player";
    i.sampledAt = QDateTime::fromMSecsSinceEpoch(1000);
    return i;
}

} // namespace

TEST(NowPlayingRules, NearlyEqualToleratesOnlyASmallPositionChange)
{
    struct Case {
        const char *what;
        std::function<void(NowPlayingInfo &)> change;
        bool nearlyEqual;
    };
    QImage red(2, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage blue(2, 2, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    const Case cases[] = {
        {"sampledAt", [](NowPlayingInfo &i) { i.sampledAt = i.sampledAt.addSecs(60); }, true},
        {"elapsed 0.4", [](NowPlayingInfo &i) { i.elapsed += 0.4; }, true},
        {"elapsed 0.5", [](NowPlayingInfo &i) { i.elapsed += 0.5; }, false},
        {"duration 0.001", [](NowPlayingInfo &i) { i.duration += 0.001; }, false},
        {"title", [](NowPlayingInfo &i) { i.title = "Other"; }, false},
        {"isPlaying", [](NowPlayingInfo &i) { i.isPlaying = false; }, false},
        {"source", [](NowPlayingInfo &i) { i.source = S::browser; }, false},
        {"artworkURL", [](NowPlayingInfo &i) { i.artworkURL = QUrl("https://x/a.png"); }, false},
        {"trackID", [](NowPlayingInfo &i) { i.trackID = "t"; }, false},
        {"artwork appears", [red](NowPlayingInfo &i) { i.artwork = red; }, false},
    };
    for (const Case &c : cases) {
        NowPlayingInfo changed = track();
        c.change(changed);
        EXPECT_EQ(track().isNearlyEqual(changed), c.nearlyEqual) << c.what;
    }
    NowPlayingInfo a = track(), b = track();
    a.artwork = red;
    b.artwork = blue;
    EXPECT_TRUE(a.isNearlyEqual(b)) << "images are not compared, only their presence";
}

TEST(NowPlayingRules, ArtworkKeyAndPlaybackTime)
{
    NowPlayingInfo i = track();
    i.source = S::music;
    i.title = "A";
    i.artist = "B";
    EXPECT_EQ(i.artworkKey(), "music|A|B");
    i.trackID = "x";
    i.source = S::spotify;
    EXPECT_EQ(i.artworkKey(), "x");
    EXPECT_EQ(sourceFromRawValue("youtube"), S::youtube);
    EXPECT_EQ(sourceFromRawValue("YouTube"), std::nullopt);

    const QPair<double, const char *> times[] = {{-3, "0:00"}, {59.5, "1:00"}, {600, "10:00"}, {3725, "62:05"},
                                                 {0.49, "0:00"}, {qInf(), "0:00"}};
    for (const auto &[seconds, text] : times)
        EXPECT_EQ(formatPlaybackTime(seconds), QString::fromLatin1(text)) << seconds;
}

TEST(NowPlayingRules, ClassifyBundle)
{
    const QPair<const char *, const char *> cases[] = {
        {"com.google.Chrome.helper.Renderer", "com.google.Chrome"},
        {"COM.GOOGLE.CHROME", "com.google.Chrome"},
        {"org.webkit.WebContent", "com.apple.Safari"},
        {"company.thebrowser.arc", "company.thebrowser.Browser"},
        {"Arc", "Arc"},                            // the bare name lacks the dot
        {"org.archive.Player", "org.archive.Player"}, // ".arc" only as a whole component
        {"firefox", "org.mozilla.firefox"},
        {"com.Example.Unknown", "com.Example.Unknown"},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(classifyBundle(in), QString::fromLatin1(out)) << in;
}

TEST(NowPlayingRules, BrowserMarkersMatchWholeWordsOnly)
{
    const QPair<const char *, bool> cases[] = {
        {"org.mozilla.firefox", true}, {"chromium", true},           {"google-chrome", true},
        {"company.thebrowser.arc", true}, {"zen-browser", true},     {"brave-browser", true},
        {"org.research.player", false}, {"archive-player", false},   {"operator", false},
        {"com.opera.Opera", true},      {"spotify", false},          {"vlc", false},
    };
    for (const auto &[bundle, browser] : cases)
        EXPECT_EQ(isBrowserBundle(bundle), browser) << bundle;
}

TEST(NowPlayingRules, SourceFor)
{
    EXPECT_EQ(sourceFor("com.spotify.client", "Best of YouTube", "", ""), S::spotify);
    EXPECT_EQ(sourceFor("firefox", "Cats - YouTube", "", ""), S::youtube);
    EXPECT_EQ(sourceFor("com.brave.Browser", "Song", "", ""), S::browser);
    EXPECT_EQ(sourceFor("vlc", "Song", "", ""), S::other);
    EXPECT_EQ(sourceFor("org.research.player", "Song", "", ""), S::other);
    EXPECT_EQ(sourceFor("", "Song", "", ""), S::unknown);
    EXPECT_EQ(sourceFor("com.apple.Music", "Song", "", ""), S::music);
}

TEST(NowPlayingRules, DisplayName)
{
    EXPECT_EQ(displayName("org.example.my-player"), "My Player");
    EXPECT_EQ(displayName("org.example.my-player", "Example Player"), "Example Player");
    EXPECT_EQ(displayName("VLC"), "Vlc");
    EXPECT_EQ(displayName(""), "");
}

TEST(MprisParse, MetadataVariety)
{
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(5000);
    struct Case {
        const char *what;
        QVariantMap metadata;
        QString bundle;
        QString title, artist;
        double duration;
        QString trackID;
        QUrl art;
        S source;
        QString client;
    };
    const Case cases[] = {
        {"unsigned length, empty artist entries",
         {{"xesam:title", "Song"}, {"xesam:artist", QStringList{""}}, {"mpris:length", quint64(1'000'000)}},
         "vlc", "Song", "", 1, "", {}, S::other, "Vlc"},
        {"length of the wrong type", {{"xesam:title", "Song"}, {"mpris:length", "long"}}, "vlc", "Song", "", 0, "",
         {}, S::other, "Vlc"},
        {"no track",
         {{"xesam:title", "Song"}, {"mpris:trackid", "/org/mpris/MediaPlayer2/TrackList/NoTrack"}},
         "vlc", "Song", "", 0, "", {}, S::other, "Vlc"},
        {"spotify track path",
         {{"xesam:title", "Song"}, {"mpris:trackid", "/com/spotify/track/4uLU6hMC"},
          {"mpris:artUrl", "https://i.scdn.co/image/ab67"}},
         "spotify", "Song", "", 0, "spotify:track:4uLU6hMC", QUrl("https://i.scdn.co/image/ab67"), S::spotify,
         "Spotify"},
        {"YouTube page in a browser",
         {{"xesam:title", "Cats"}, {"xesam:url", "https://www.youtube.com/watch?v=1"}}, "firefox", "Cats", "", 0, "",
         {}, S::youtube, "YouTube"},
        {"browser without YouTube", {{"xesam:title", "Song"}, {"xesam:artist", QStringList{""}}}, "chromium", "Song",
         "", 0, "", {}, S::browser, "Chromium"},
        {"nothing at all", {}, "", "", "", 0, "", {}, S::unknown, ""},
        {"untagged local file",
         {{"xesam:title", ""}, {"xesam:url", "file:///home/ada/Music/Live%20at%20%231.flac"}}, "vlc",
         "Live at #1.flac", "", 0, "", {}, S::other, "Vlc"},
        {"a file with an artist keeps its own title",
         {{"xesam:artist", "Ada"}, {"xesam:url", "file:///home/ada/Music/x.flac"}}, "vlc", "", "Ada", 0, "", {},
         S::other, "Vlc"},
    };
    for (const Case &c : cases) {
        const NowPlayingInfo info = parseMpris(c.metadata, "Playing", 12'500'000, "", c.bundle, at);
        EXPECT_EQ(info.title, c.title) << c.what;
        EXPECT_EQ(info.artist, c.artist) << c.what;
        EXPECT_DOUBLE_EQ(info.duration, c.duration) << c.what;
        EXPECT_DOUBLE_EQ(info.elapsed, 12.5) << c.what;
        EXPECT_EQ(info.trackID, c.trackID) << c.what;
        EXPECT_EQ(info.artworkURL, c.art) << c.what;
        EXPECT_EQ(info.source, c.source) << c.what;
        EXPECT_EQ(info.clientName, c.client) << c.what;
        EXPECT_TRUE(info.isPlaying) << c.what;
        EXPECT_EQ(info.sampledAt, at) << c.what;
    }
}

TEST(MprisParse, StatusIdentityAndBundle)
{
    const QDateTime at;
    EXPECT_FALSE(parseMpris({{"xesam:title", "S"}}, "Paused", 0, "", "vlc", at).isPlaying);
    EXPECT_FALSE(parseMpris({{"xesam:title", "S"}}, "Stopped", -5, "", "vlc", at).isPlaying);
    EXPECT_EQ(parseMpris({{"xesam:title", "S"}}, "Paused", -5, "", "vlc", at).elapsed, 0);
    EXPECT_EQ(parseMpris({{"xesam:title", "S"}}, "Playing", 0, "VLC media player", "vlc", at).clientName,
              "VLC media player");

    platform::MediaPlayerState s;
    s.id = "org.mpris.MediaPlayer2.firefox.instance_1_42";
    EXPECT_EQ(playerBundle(s), "firefox");
    s.id = "org.mpris.MediaPlayer2.chromium.instance12345";
    EXPECT_EQ(playerBundle(s), "chromium");
    s.desktopEntry = "org.mozilla.firefox";
    EXPECT_EQ(playerBundle(s), "org.mozilla.firefox");
}

TEST(MprisParse, WithSource)
{
    NowPlayingInfo i = track();
    i.clientName.clear();
    EXPECT_EQ(withSource(i, "org.mozilla.firefox").clientName, "Firefox");
    EXPECT_EQ(withSource(i, "org.mozilla.firefox").source, S::browser);
    i.title = "Cats - YouTube";
    EXPECT_EQ(withSource(i, "firefox").clientName, "YouTube");
    i.title = "Song";
    i.clientName = "Kept";
    EXPECT_EQ(withSource(i, "vlc").clientName, "Kept");
    EXPECT_EQ(withSource(i, "vlc").source, S::other);
}
