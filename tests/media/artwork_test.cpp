#include "core/nocookies.h"
#include "fakes/fakeclock.h"
#include "media/artworkloader.h"
#include "media/mediatext.h"
#include "support/localhttpserver.h"
#include "support/pavlettest.h"

#include <QBuffer>
#include <QDataStream>
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
    bool refused = (refuseCookies(network), true); // as the program's one network is set up
    ArtworkLoader loader{network, clock, server.baseUrl()};
};

} // namespace

TEST_F(ArtworkTest, DownloadsOnceAndServesFromTheCache)
{
    LocalHttpServer::Reply withCookie = imageReply(Qt::red);
    withCookie.headers.append(qMakePair(QByteArray("Set-Cookie"), QByteArray("session=kept; Path=/")));
    server.setReply("/art.png", withCookie);
    server.setReply("/other.png", imageReply(Qt::blue));
    NowPlayingInfo info = record("Song");
    info.artworkURL = server.url("/art.png");
    const QImage first = fetch(info);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_FALSE(fetch(info).isNull());
    EXPECT_EQ(server.requestCount(), 1);
    NowPlayingInfo other = record("Other");
    other.artworkURL = server.url("/other.png");
    EXPECT_FALSE(fetch(other).isNull());
    EXPECT_TRUE(server.lastRequest().header("cookie").isEmpty()) << "a cover server's cookie came back";

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

// Covers players embed in the address itself, as the bus carries them: the
// picture in base64 or percent-encoded, up to a limit; anything else is no
// artwork. Nothing goes out to the network.
TEST_F(ArtworkTest, DataAddressesCarryTheirPicture)
{
    const QByteArray red = png(Qt::red);
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'>"
                           "<rect width='4' height='4' fill='#00ff00'/></svg>";
    // A picture with bytes after its end, as long as asked: the reader
    // stops at the end of the picture.
    auto padded = [&](qsizetype length) {
        const qsizetype prefix = qsizetype(strlen("data:image/png;base64,"));
        const qsizetype bytes = (length - prefix) / 4 * 3;
        return "data:image/png;base64," + (red + QByteArray(bytes - red.size(), 'x')).toBase64();
    };
    const struct {
        QByteArray address;
        QColor colour; // invalid: no artwork
    } rows[] = {
        {"data:image/png;base64," + red.toBase64(), Qt::red},
        {"DATA:Image/PNG;BASE64," + red.toBase64().insert(40, "\r\n"), Qt::red},
        {"data:;base64," + red.toBase64(), Qt::red},
        {"data:image/png," + red.toPercentEncoding(), Qt::red},
        {"data:image/svg+xml;utf8," + svg, QColor(Qt::green)},
        {"data:image/svg+xml," + svg.toPercentEncoding(), QColor(Qt::green)},
        {padded(ArtworkLoader::MaxDataUrlBytes - 3), Qt::red},
        {padded(ArtworkLoader::MaxDataUrlBytes + 4), {}},
        {"data:image/png;base64,!!" + red.toBase64(), {}},
        {"data:image/png;base64," + QByteArray("not a picture").toBase64(), {}},
        {"data:text/html;base64," + red.toBase64(), {}},
        {"data:image/png;base64" + red.toBase64(), {}},
        {"data:image/png,", {}},
    };
    int n = 0;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.address.left(60).toStdString());
        NowPlayingInfo info = record(QString::number(++n));
        info.artworkURL = QUrl(QString::fromLatin1(row.address));
        const QImage image = fetch(info);
        if (row.colour.isValid()) {
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.pixelColor(1, 1), row.colour);
        } else {
            EXPECT_TRUE(image.isNull());
        }
    }
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

namespace {

// A PNG of the given colour type and bit depth, written byte by byte (Qt
// writes only some of them): side × side pixels, the left half of `left`
// and the right half of `right`, each a list of samples (palette indices
// for type 3).
QByteArray pngOf(int type, int depth, const QList<int> &left, const QList<int> &right, const QByteArray &plte = {},
                 const QByteArray &trns = {}, int side = 32)
{
    auto chunk = [](const char *name, const QByteArray &data) {
        QByteArray out;
        QDataStream s(&out, QIODevice::WriteOnly);
        const QByteArray body = QByteArray(name) + data;
        quint32 crc = 0xffffffffu;
        for (char c : body) {
            crc ^= quint8(c);
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
        s << quint32(data.size());
        s.writeRawData(body.constData(), int(body.size()));
        s << (crc ^ 0xffffffffu);
        return out;
    };
    QByteArray header;
    QDataStream h(&header, QIODevice::WriteOnly);
    h << quint32(side) << quint32(side) << quint8(depth) << quint8(type) << quint8(0) << quint8(0) << quint8(0);
    QByteArray raw;
    for (int y = 0; y < side; ++y) {
        raw.append(char(0)); // no filter
        quint32 bits = 0;
        int held = 0;
        for (int x = 0; x < side; ++x) {
            for (int sample : (x < side / 2 ? left : right)) {
                if (depth == 16) {
                    raw.append(char(sample >> 8)).append(char(sample & 0xff));
                    continue;
                }
                bits = (bits << depth) | quint32(sample);
                held += depth;
                if (held == 8) {
                    raw.append(char(bits));
                    bits = 0;
                    held = 0;
                }
            }
        }
        if (held > 0)
            raw.append(char(bits << (8 - held)));
    }
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += chunk("IHDR", header);
    if (!plte.isEmpty())
        png += chunk("PLTE", plte);
    if (!trns.isEmpty())
        png += chunk("tRNS", trns);
    png += chunk("IDAT", qCompress(raw).mid(4)); // a zlib stream without Qt's length in front
    png += chunk("IEND", {});
    return png;
}

QByteArray saved(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return bytes;
}

} // namespace

// Cover art of every pixel layout a PNG or JPEG may have is drawn in its own
// colours, also when it is scaled down.
TEST_F(ArtworkTest, EveryPixelFormatKeepsItsColours)
{
    const QColor red(255, 0, 0), blue(0, 0, 255);
    // A palette whose entry 1 is red and last entry blue, grey elsewhere.
    auto palette = [&](int depth) {
        const int n = 1 << depth;
        QByteArray plte;
        for (int i = 0; i < n; ++i) {
            const QColor c = (n == 2 ? i == 0 : i == 1) ? red : i == n - 1 ? blue : QColor(90, 90, 90);
            plte.append(char(c.red())).append(char(c.green())).append(char(c.blue()));
        }
        return plte;
    };
    QImage rgb(32, 32, QImage::Format_RGB32);
    rgb.fill(blue);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x)
            rgb.setPixelColor(x, y, red);
    QImage grey = rgb.convertToFormat(QImage::Format_Grayscale8);
    struct Case {
        const char *what;
        QByteArray bytes;
        QColor left, right;
    };
    const Case cases[] = {
        {"1-bit palette", pngOf(3, 1, {0}, {1}, palette(1)), red, blue},
        {"2-bit palette", pngOf(3, 2, {1}, {3}, palette(2)), red, blue},
        {"4-bit palette", pngOf(3, 4, {1}, {15}, palette(4)), red, blue},
        {"8-bit palette", pngOf(3, 8, {1}, {255}, palette(8)), red, blue},
        {"8-bit palette with alpha", pngOf(3, 8, {1}, {255}, palette(8), QByteArray(255, char(255)) + char(0)), red,
         Qt::transparent},
        {"1-bit palette with alpha", pngOf(3, 1, {0}, {1}, palette(1), QByteArray(1, char(0))), Qt::transparent, blue},
        {"1-bit grey", pngOf(0, 1, {0}, {1}), Qt::black, Qt::white},
        {"2-bit grey", pngOf(0, 2, {1}, {3}), QColor(85, 85, 85), Qt::white},
        {"4-bit grey", pngOf(0, 4, {5}, {15}), QColor(85, 85, 85), Qt::white},
        {"8-bit grey", pngOf(0, 8, {85}, {255}), QColor(85, 85, 85), Qt::white},
        {"16-bit grey", pngOf(0, 16, {85 * 257}, {65535}), QColor(85, 85, 85), Qt::white},
        {"grey with alpha", pngOf(4, 8, {85, 255}, {255, 0}), QColor(85, 85, 85), Qt::transparent},
        {"16-bit grey with alpha", pngOf(4, 16, {85 * 257, 65535}, {65535, 0}), QColor(85, 85, 85), Qt::transparent},
        {"RGB", pngOf(2, 8, {255, 0, 0}, {0, 0, 255}), red, blue},
        {"16-bit RGB", pngOf(2, 16, {65535, 0, 0}, {0, 0, 65535}), red, blue},
        {"RGBA", pngOf(6, 8, {255, 0, 0, 255}, {0, 0, 255, 0}), red, Qt::transparent},
        {"colour JPEG", saved(rgb, "JPG"), red, blue},
        {"grey JPEG", saved(grey, "JPG"), grey.pixelColor(0, 0), grey.pixelColor(31, 0)},
    };
    ArtworkImageProvider provider(loader);
    QTemporaryDir dir;
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir.filePath(QString::number(++n));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        NowPlayingInfo info = record(QString::fromLatin1(c.what));
        info.artworkURL = QUrl::fromLocalFile(path);
        ASSERT_FALSE(fetch(info).isNull());
        const QUrl url = MediaText::roundedArtwork(ArtworkLoader::imageUrl(info.artworkKey()), 0, 8);
        const QString id = url.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority).mid(1);
        // Scaled down to a quarter, as the views ask for it.
        const QImage image = provider.requestImage(id, nullptr, QSize(8, 8));
        ASSERT_EQ(image.size(), QSize(8, 8));
        for (const auto &[at, want] : {std::pair{QPoint(1, 4), c.left}, std::pair{QPoint(6, 4), c.right}}) {
            const QColor got = image.pixelColor(at);
            EXPECT_NEAR(got.alpha(), want.alpha(), 4) << at.x();
            if (want.alpha() == 0)
                continue;
            EXPECT_NEAR(got.red(), want.red(), 8) << at.x();
            EXPECT_NEAR(got.green(), want.green(), 8) << at.x();
            EXPECT_NEAR(got.blue(), want.blue(), 8) << at.x();
        }
    }
}
