#include "media/artworkloader.h"

#include "core/clock.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

ArtworkLoader::ArtworkLoader(QNetworkAccessManager &network, const Clock &clock, const QUrl &embedBase,
                             QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_clock(clock)
    , m_embedBase(embedBase)
{
}

std::optional<QImage> ArtworkLoader::cached(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_cache.constFind(key);
    if (it == m_cache.cend())
        return std::nullopt;
    return it.value();
}

QUrl ArtworkLoader::imageUrl(const QString &key)
{
    return QUrl(QStringLiteral("image://artwork/") + QString::fromLatin1(QUrl::toPercentEncoding(key)));
}

namespace {

// The image in 32 bits per pixel. Scaling keeps 1-bit images at one bit
// (in black and white, whatever their palette) and a brush draws them as a
// stipple, so every palette, grey or deep format is turned into colours
// before anything is drawn from it.
QImage inColour(const QImage &image)
{
    if (image.isNull())
        return image;
    const QImage::Format want =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return image.format() == want ? image : image.convertToFormat(want);
}

// The image a "data:" address carries, in base64 or percent-encoded
// ("data:image/png;base64,iVBOR…", "data:image/svg+xml,%3Csvg…"); null when
// the address is too long, names a type other than an image, or its data
// does not decode to one.
QImage dataImage(const QUrl &url)
{
    // The whole encoded text: a "#" or "?" in the data is data too.
    const QByteArray text = url.toEncoded();
    static const QByteArray scheme = QByteArrayLiteral("data:");
    if (text.size() > ArtworkLoader::MaxDataUrlBytes || !text.startsWith(scheme))
        return {};
    const qsizetype comma = text.indexOf(',');
    if (comma < 0)
        return {};
    // The media type and its parameters, e.g. "image/png;base64".
    const QByteArray head =
        QByteArray::fromPercentEncoding(text.mid(scheme.size(), comma - scheme.size())).trimmed().toLower();
    const bool base64 = head.endsWith(";base64");
    const QByteArray type = head.left(head.indexOf(';')).trimmed();
    if (!type.isEmpty() && !type.startsWith("image/"))
        return {};
    QByteArray data = QByteArray::fromPercentEncoding(text.mid(comma + 1));
    if (base64) {
        // Line breaks and spaces some writers put into long base64.
        data.removeIf([](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; });
        auto decoded = QByteArray::fromBase64Encoding(data, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return {};
        data = std::move(*decoded);
    }
    QImage image;
    image.loadFromData(data);
    return image;
}

} // namespace

void ArtworkLoader::store(const QString &key, const QImage &given)
{
    const QImage image = inColour(given);
    QMutexLocker lock(&m_mutex);
    m_order.removeOne(key);
    m_order.prepend(key);
    m_cache.insert(key, image);
    while (m_order.size() > CacheSize)
        m_cache.remove(m_order.takeLast());
}

void ArtworkLoader::request(const NowPlayingInfo &info)
{
    const QString key = info.artworkKey();
    if (std::optional<QImage> hit = cached(key)) {
        store(key, *hit); // most recently used
        emit artworkReady(key, *hit);
        return;
    }
    if (!info.artwork.isNull()) {
        store(key, info.artwork);
        emit artworkReady(key, *cached(key));
        return;
    }
    if (m_pending.contains(key))
        return;

    const bool spotify = info.source == NowPlayingInfo::Source::spotify;
    const QString trackID = info.trackID;
    const bool embeddable = spotify && !QString(trackID).remove(QStringLiteral("spotify:track:")).trimmed().isEmpty();
    if (info.artworkURL.isEmpty() && !embeddable) {
        // Nothing to try: the answer is no, and nothing is held against
        // the key, so an address published later is tried at once.
        emit artworkFailed(key);
        return;
    }
    const QString attempt = key + QLatin1Char('\n') + info.artworkURL.toString(QUrl::FullyEncoded);
    forgetOldFailures();
    if (m_failedAt.contains(attempt)) {
        emit artworkFailed(key);
        return;
    }
    m_pending.insert(key);

    auto afterAddress = [this, key, attempt, spotify, trackID](QImage image) {
        if (!image.isNull() || !spotify) {
            finish(key, attempt, image);
            return;
        }
        embedArtwork(trackID, [this, key, attempt](QImage embedded) { finish(key, attempt, embedded); });
    };
    if (!info.artworkURL.isEmpty())
        load(info.artworkURL, afterAddress);
    else
        afterAddress(QImage());
}

void ArtworkLoader::forgetOldFailures()
{
    const qint64 now = m_clock.monotonicMs();
    m_failedAt.removeIf([now](const auto &entry) { return now - entry.value() >= RetryAfterMs; });
}

void ArtworkLoader::finish(const QString &key, const QString &attempt, const QImage &image)
{
    m_pending.remove(key);
    if (image.isNull()) {
        forgetOldFailures();
        m_failedAt.insert(attempt, m_clock.monotonicMs());
        emit artworkFailed(key);
        return;
    }
    store(key, image);
    emit artworkReady(key, *cached(key));
}

void ArtworkLoader::fetch(const QUrl &url, std::function<void(QByteArray, bool)> done)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(RequestTimeoutMs);
    QNetworkReply *reply = m_network.get(request);
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)]() {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            done({}, false);
            return;
        }
        done(reply->readAll(), true);
    });
}

void ArtworkLoader::load(const QUrl &url, ImageDone done)
{
    if (url.isLocalFile()) {
        QImage image;
        QFile file(url.toLocalFile());
        if (file.open(QIODevice::ReadOnly) && file.size() < 32 * 1024 * 1024)
            image.loadFromData(file.readAll());
        done(image);
        return;
    }
    if (url.scheme() == QLatin1String("data")) {
        done(dataImage(url));
        return;
    }
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")) {
        done(QImage());
        return;
    }
    fetch(url, [done = std::move(done)](const QByteArray &body, bool ok) {
        QImage image;
        if (ok)
            image.loadFromData(body);
        done(image);
    });
}

void ArtworkLoader::embedArtwork(const QString &trackID, ImageDone done)
{
    QString id = trackID;
    id.remove(QStringLiteral("spotify:track:"));
    id = id.trimmed();
    if (id.isEmpty()) {
        done(QImage());
        return;
    }
    QUrl page = m_embedBase;
    page.setPath(QStringLiteral("/track/") + id);
    QUrl embed = m_embedBase;
    embed.setPath(QStringLiteral("/oembed"));
    embed.setQuery(QStringLiteral("url=")
                       + QString::fromLatin1(QUrl::toPercentEncoding(page.toString(QUrl::FullyEncoded))),
                   QUrl::StrictMode);
    if (!embed.isValid()) {
        done(QImage());
        return;
    }
    fetch(embed, [this, done = std::move(done)](const QByteArray &body, bool ok) {
        if (!ok) {
            done(QImage());
            return;
        }
        const QJsonDocument doc = QJsonDocument::fromJson(body);
        const QJsonValue thumb = doc.object().value(QStringLiteral("thumbnail_url"));
        const QUrl thumbUrl(thumb.toString());
        if (!thumb.isString() || !thumbUrl.isValid() || thumbUrl.scheme().isEmpty()
            || thumbUrl.isLocalFile()) {
            done(QImage());
            return;
        }
        load(thumbUrl, done);
    });
}

ArtworkImageProvider::ArtworkImageProvider(const ArtworkLoader &loader)
    : QQuickImageProvider(QQuickImageProvider::Image)
    , m_loader(loader)
{
}

QImage ArtworkImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    static const QString cornerMark = QStringLiteral("?corner=");
    QString key = id;
    double corner = -1;
    const qsizetype mark = id.lastIndexOf(cornerMark);
    if (mark >= 0) {
        bool ok = false;
        const double fraction = id.mid(mark + cornerMark.size()).toDouble(&ok);
        if (ok) {
            key = id.left(mark);
            corner = std::clamp(fraction, 0.0, 0.5);
        }
    }
    QImage image = m_loader.cached(QUrl::fromPercentEncoding(key.toUtf8())).value_or(QImage());
    const bool sized = requestedSize.isValid() && !requestedSize.isEmpty();
    if (!image.isNull() && corner >= 0) {
        const int side = sized ? std::min(requestedSize.width(), requestedSize.height())
                               : std::min(image.width(), image.height());
        image = roundedSquare(image, side, corner);
    } else if (!image.isNull() && sized) {
        image = inColour(image).scaled(requestedSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    if (size)
        *size = image.size();
    return image;
}

QImage ArtworkImageProvider::roundedSquare(const QImage &image, int side, double cornerFraction)
{
    if (image.isNull() || side <= 0)
        return {};
    const QImage filled = inColour(image).scaled(side, side, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    QImage out(side, side, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QBrush brush(filled);
    brush.setTransform(QTransform::fromTranslate(-(filled.width() - side) / 2.0, -(filled.height() - side) / 2.0));
    painter.setBrush(brush);
    const double radius = cornerFraction * side;
    painter.drawRoundedRect(QRectF(0, 0, side, side), radius, radius);
    return out;
}
