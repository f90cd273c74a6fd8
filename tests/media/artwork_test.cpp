#include "fakes/fakeclock.h"
#include "media/artworkloader.h"
#include "media/mediatext.h"
#include "support/localhttpserver.h"
#include "support/pavlettest.h"

#include <QBuffer>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <gtest/gtest.h>

using S = NowPlayingInfo::Source;

namespace {

QByteArray png(QColor color, int side = 8)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

LocalHttpServer::Reply imageReply(QColor color)
{
    LocalHttpServer::Reply r;
    r.body = png(color);
    r.contentType = "image/png";
    return r;
}

class ArtworkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(listening); }

    NowPlayingInfo record(const QString &title, S source = S::other)
    {
        NowPlayingInfo i;
        i.title = title;
        i.artist = "Band";
        i.source = source;
        return i;
    }

    // Requests and waits for the answer; null when the lookup failed.
    QImage fetch(const NowPlayingInfo &info)
    {
        QSignalSpy ready(&loader, &ArtworkLoader::artworkReady);
        QSignalSpy failed(&loader, &ArtworkLoader::artworkFailed);
        loader.request(info);
        if (ready.isEmpty() && failed.isEmpty())
            waitUntil([&] { return !ready.isEmpty() || !failed.isEmpty(); });
        return ready.isEmpty() ? QImage() : ready.first().at(1).value<QImage>();
    }

    LocalHttpServer server;
    bool listening = server.listen();
    FakeClock clock;
    QNetworkAccessManager network;
    ArtworkLoader loader{network, clock, server.baseUrl()};
};

} // namespace

TEST_F(ArtworkTest, DownloadsOnceAndServesFromTheCache)
{
    server.setReply("/art.png", imageReply(Qt::red));
    NowPlayingInfo info = record("Song");
    info.artworkURL = server.url("/art.png");
    const QImage first = fetch(info);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_FALSE(fetch(info).isNull());
    EXPECT_EQ(server.requestCount(), 1);

    ArtworkImageProvider provider(loader);
    QSize size;
    const QString id = ArtworkLoader::imageUrl(info.artworkKey()).path().mid(1);
    EXPECT_EQ(provider.requestImage(id, &size, QSize()).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(size, QSize(8, 8));
    EXPECT_TRUE(provider.requestImage("nothing", &size, QSize()).isNull());
}

TEST_F(ArtworkTest, TheRecordsOwnImageAndLocalFiles)
{
    NowPlayingInfo embedded = record("Embedded");
    embedded.artwork = QImage(4, 4, QImage::Format_RGB32);
    EXPECT_FALSE(fetch(embedded).isNull());
    EXPECT_TRUE(loader.cached(embedded.artworkKey()).has_value());

    QTemporaryDir dir;
    const QString path = dir.filePath("cover.png");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(png(Qt::green));
    f.close();
    NowPlayingInfo local = record("Local");
    local.artworkURL = QUrl::fromLocalFile(path);
    EXPECT_EQ(fetch(local).pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(server.requestCount(), 0);
}

TEST_F(ArtworkTest, SpotifyTrackFindsItsThumbnailThroughTheEmbedEndpoint)
{
    server.setReply("/oembed", LocalHttpServer::json(R"({"thumbnail_url":")" + server.url("/thumb.png").toString().toUtf8()
                                                     + R"(","title":"x"})"));
    server.setReply("/thumb.png", imageReply(Qt::blue));
    NowPlayingInfo info = record("Song", S::spotify);
    info.trackID = "spotify:track:4uLU6hMC&x=1";
    EXPECT_EQ(fetch(info).pixelColor(0, 0), QColor(Qt::blue));
    ASSERT_EQ(server.requestCount(), 2);
    const LocalHttpServer::Request embed = server.requests().first();
    EXPECT_EQ(embed.path, "/oembed");
    EXPECT_TRUE(embed.query.startsWith("url=http%3A%2F%2F127.0.0.1")) << embed.query.toStdString();
    EXPECT_EQ(QUrlQuery(embed.query).queryItemValue("url", QUrl::FullyDecoded),
              server.url("/track/4uLU6hMC&x=1").toString());
}

TEST_F(ArtworkTest, SpotifyLookupsThatFindNothing)
{
    struct Case {
        const char *what;
        QString trackID;
        QByteArray reply; // empty: the endpoint is never asked
    };
    const Case cases[] = {
        {"prefix alone", "spotify:track:", {}},
        {"white space", "  \n", {}},
        {"no thumbnail", "spotify:track:a", R"({"title":"x"})"},
        {"thumbnail not text", "spotify:track:b", R"({"thumbnail_url":5})"},
        {"not JSON", "spotify:track:c", "<html>"},
    };
    for (const Case &c : cases) {
        server.clearRequests();
        server.setReply("/oembed", LocalHttpServer::json(c.reply));
        NowPlayingInfo info = record(c.what, S::spotify);
        info.trackID = c.trackID;
        EXPECT_TRUE(fetch(info).isNull()) << c.what;
        EXPECT_EQ(server.requestCount(), c.reply.isEmpty() ? 0 : 1) << c.what;
    }
}

TEST_F(ArtworkTest, AFailedLookupPausesBrieflyAndOneRequestRunsAtATime)
{
    server.setReply("/bad.png", LocalHttpServer::json("not an image", 404));
    NowPlayingInfo info = record("Song");
    info.artworkURL = server.url("/bad.png");
    QSignalSpy failed(&loader, &ArtworkLoader::artworkFailed);
    loader.request(info);
    loader.request(info); // while the first is on its way
    EXPECT_TRUE(loader.isPending(info.artworkKey()));
    ASSERT_TRUE(waitUntil([&] { return failed.count() == 1; }));
    for (int second = 1; second < ArtworkLoader::RetryAfterMs / 1000; ++second) {
        clock.advanceMs(1000);
        loader.request(info);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(server.requestCount(), 1);
    EXPECT_EQ(failed.count(), ArtworkLoader::RetryAfterMs / 1000) << "every ask is answered";

    server.setReply("/bad.png", imageReply(Qt::red));
    clock.advanceMs(1000);
    EXPECT_FALSE(fetch(info).isNull()) << "asked again once the pause is over";
    EXPECT_EQ(server.requestCount(), 2);
}

TEST_F(ArtworkTest, NothingTriedHoldsNothingAndFailuresStayFew)
{
    // A browser publishes the title first and the art address later.
    NowPlayingInfo info = record("Clip", S::browser);
    EXPECT_TRUE(fetch(info).isNull());
    EXPECT_EQ(loader.failuresHeld(), 0);
    server.setReply("/late.png", imageReply(Qt::blue));
    info.artworkURL = server.url("/late.png");
    EXPECT_FALSE(fetch(info).isNull()) << "the new address is tried at once";

    // A new address after a failed one is tried at once too.
    NowPlayingInfo other = record("Other");
    other.artworkURL = server.url("/missing.png");
    EXPECT_TRUE(fetch(other).isNull());
    other.artworkURL = server.url("/late.png");
    EXPECT_FALSE(fetch(other).isNull());

    // Hours of tracks whose artwork fails, one every four minutes.
    for (int track = 0; track < 100; ++track) {
        NowPlayingInfo t = record(QString::number(track));
        t.artworkURL = server.url("/missing.png");
        fetch(t);
        clock.advanceMs(4 * 60 * 1000);
    }
    EXPECT_LE(loader.failuresHeld(), 1);
}

TEST_F(ArtworkTest, TheCacheKeepsTheMostRecentlyUsed)
{
    NowPlayingInfo first = record("0");
    first.artwork = QImage(2, 2, QImage::Format_RGB32);
    loader.request(first);
    for (int i = 1; i <= ArtworkLoader::CacheSize; ++i) {
        NowPlayingInfo info = record(QString::number(i));
        info.artwork = QImage(2, 2, QImage::Format_RGB32);
        loader.request(info);
        if (i == ArtworkLoader::CacheSize / 2)
            loader.request(first); // used again: kept
    }
    EXPECT_TRUE(loader.cached(first.artworkKey()).has_value());
    EXPECT_FALSE(loader.cached(record("1").artworkKey()).has_value());
    EXPECT_TRUE(loader.cached(record(QString::number(ArtworkLoader::CacheSize)).artworkKey()).has_value());
}

// The artwork the views show comes with transparent rounded corners, so the
// card behind it shows there (not a square of black), whatever its colour
// and whatever the track's title holds.
TEST_F(ArtworkTest, RoundedArtworkHasTransparentCorners)
{
    ArtworkImageProvider provider(loader);
    struct Case {
        const char *what;
        QString title;
        QSize image;
    };
    const Case cases[] = {
        {"square", "Song", {8, 8}},
        {"wide, cropped in the middle", "Wide", {16, 8}},
        {"a title with a question mark and a hash", "Why? #2", {8, 8}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        NowPlayingInfo info = record(c.title);
        info.artwork = QImage(c.image, QImage::Format_RGB32);
        info.artwork.fill(Qt::red);
        ASSERT_FALSE(fetch(info).isNull());
        // The address the view asks for, and the id Qt Quick hands the
        // provider for it.
        const QUrl url = MediaText::roundedArtwork(ArtworkLoader::imageUrl(info.artworkKey()), 10, 40);
        const QString id = url.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority).mid(1);
        QSize size;
        const QImage image = provider.requestImage(id, &size, QSize(80, 80));
        ASSERT_EQ(size, QSize(80, 80));
        // Corner radius 10 of 40 is 20 px of 80.
        for (const QPoint corner : {QPoint(0, 0), QPoint(79, 0), QPoint(0, 79), QPoint(79, 79), QPoint(4, 4)})
            EXPECT_EQ(image.pixelColor(corner).alpha(), 0) << corner.x() << "," << corner.y();
        for (const QPoint inside : {QPoint(40, 0), QPoint(0, 40), QPoint(40, 40), QPoint(10, 10)})
            EXPECT_EQ(image.pixelColor(inside), QColor(Qt::red)) << inside.x() << "," << inside.y();
    }
    // Other addresses stay as they are.
    const QUrl file = QUrl::fromLocalFile("/tmp/cover.png");
    EXPECT_EQ(MediaText::roundedArtwork(file, 10, 40), file);
    EXPECT_TRUE(MediaText::roundedArtwork(QUrl(), 10, 40).isEmpty());
}
