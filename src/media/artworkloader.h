#pragma once

#include "media/nowplayinginfo.h"

#include <QHash>
#include <QImage>
#include <QMutex>
#include <QObject>
#include <QQuickImageProvider>
#include <QSet>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

class Clock;
class QNetworkAccessManager;

// Cover art for now-playing records: the record's own image, its art
// address (web, local file or a "data:" address carrying the image), or, for a Spotify track without one, the
// thumbnail the music service's embed endpoint names.
//
// Found images are kept in a small cache (most recently used first). While
// a key is being looked up a second request for it waits for the first. A
// lookup that was tried and failed (an address that gave no image, a track
// the embed endpoint knows no image for) is not tried again for a short
// while; a record with nothing to try fails at once and blocks nothing, and
// a new art address is tried at once.
class ArtworkLoader : public QObject {
    Q_OBJECT
public:
    static constexpr int CacheSize = 64;
    static constexpr int RetryAfterMs = 10000;
    static constexpr int RequestTimeoutMs = 15000;
    // The longest "data:" address taken, as text. Players that embed the
    // cover send the file's own picture: usually well under 1 MB, a large
    // 3000-pixel JPEG some 5 MB, which base64 makes a third longer. The
    // address comes whole over the bus and is decoded on the main thread,
    // so anything longer is refused rather than held and decoded.
    static constexpr qsizetype MaxDataUrlBytes = 8 * 1024 * 1024;
    static inline const QUrl DefaultEmbedBase = QUrl(QStringLiteral("https://open.spotify.com"));

    ArtworkLoader(QNetworkAccessManager &network, const Clock &clock, const QUrl &embedBase = DefaultEmbedBase,
                  QObject *parent = nullptr);

    // The cached image for key; may be called from any thread.
    std::optional<QImage> cached(const QString &key) const;
    // Looks the record's artwork up; the answer arrives as artworkReady or
    // artworkFailed (at once when the cache or the record has it, when there
    // is nothing to try, or while the same lookup waits out its failure).
    // Nothing arrives for a key already being fetched: its answer comes when
    // that fetch ends.
    void request(const NowPlayingInfo &info);
    bool isPending(const QString &key) const { return m_pending.contains(key); }
    // Failed lookups still waiting out their pause.
    qsizetype failuresHeld() const { return m_failedAt.size(); }

    // The address QML shows the key's image with.
    static QUrl imageUrl(const QString &key);

signals:
    void artworkReady(const QString &key, const QImage &image);
    void artworkFailed(const QString &key);

private:
    using ImageDone = std::function<void(QImage)>;
    void store(const QString &key, const QImage &image);
    void finish(const QString &key, const QString &attempt, const QImage &image);
    void forgetOldFailures();
    void load(const QUrl &url, ImageDone done);
    void fetch(const QUrl &url, std::function<void(QByteArray, bool)> done);
    void embedArtwork(const QString &trackID, ImageDone done);

    QNetworkAccessManager &m_network;
    const Clock &m_clock;
    QUrl m_embedBase;

    mutable QMutex m_mutex; // guards the cache for the image provider
    QHash<QString, QImage> m_cache;
    QStringList m_order; // most recently used first

    QSet<QString> m_pending;
    // Lookups that were tried and failed, by key and art address: monotonic
    // ms. Entries past their pause are dropped, so this stays small.
    QHash<QString, qint64> m_failedAt;
};

// Serves "image://artwork/<key>" from the loader's cache. With
// "?corner=<fraction>" after the key the image comes as a square with
// transparent rounded corners of that fraction of its side, so that it sits
// on any background.
class ArtworkImageProvider : public QQuickImageProvider {
public:
    static constexpr const char *Name = "artwork";
    explicit ArtworkImageProvider(const ArtworkLoader &loader);
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    // image scaled to fill a side × side square (cropped in the middle)
    // with corners rounded by cornerFraction × side.
    static QImage roundedSquare(const QImage &image, int side, double cornerFraction);

private:
    const ArtworkLoader &m_loader;
};
