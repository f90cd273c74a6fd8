#pragma once

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <optional>

// Where a now-playing record comes from.
namespace NowPlayingSource {
Q_NAMESPACE
QML_ELEMENT
enum class Source { unknown, music, spotify, youtube, browser, other };
Q_ENUM_NS(Source)
} // namespace NowPlayingSource

// One player's track as the island shows it.
struct NowPlayingInfo {
    Q_GADGET
    QML_VALUE_TYPE(nowPlayingInfo)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString artist MEMBER artist)
    Q_PROPERTY(QString album MEMBER album)
    Q_PROPERTY(bool isPlaying MEMBER isPlaying)
    Q_PROPERTY(bool hasArtwork READ hasArtwork)
    Q_PROPERTY(QUrl artworkURL MEMBER artworkURL)
    Q_PROPERTY(QString trackID MEMBER trackID)
    Q_PROPERTY(double duration MEMBER duration)
    Q_PROPERTY(double elapsed MEMBER elapsed)
    Q_PROPERTY(NowPlayingSource::Source source MEMBER source)
    Q_PROPERTY(QString clientName MEMBER clientName)
    Q_PROPERTY(QDateTime sampledAt MEMBER sampledAt)
    Q_PROPERTY(QString artworkKey READ artworkKey)
public:
    using Source = NowPlayingSource::Source;

    QString title;
    QString artist;
    QString album;
    bool isPlaying = false;
    QImage artwork;
    QUrl artworkURL; // empty: none
    QString trackID;
    double duration = 0;
    double elapsed = 0;
    Source source = Source::unknown;
    QString clientName;
    // The player's address on the desktop (its bus name); empty when the
    // record does not come from a player of its own.
    QString playerID;
    QDateTime sampledAt;

    // All texts empty, nothing playing, made at the given moment.
    static NowPlayingInfo empty(const QDateTime &at = {});

    bool hasArtwork() const { return !artwork.isNull(); }
    bool hasText() const { return !title.isEmpty() || !artist.isEmpty(); }

    // Whether the island would show the two records the same way: the
    // position may differ by less than half a second, the images themselves
    // and the sample time are not compared. Not transitive, so it is not the
    // record's operator==.
    bool isNearlyEqual(const NowPlayingInfo &other) const;

    // The artwork cache key: the player, the track (its id, else
    // "source|title|artist") and a digest of the art address, each part
    // there when known. Players reuse track ids ("…/Track/1"), so the id
    // alone would give one player's cover to another's song.
    QString artworkKey() const;

    // Field-by-field identity (images compared by their cache key).
    bool operator==(const NowPlayingInfo &other) const;
};

QString sourceRawValue(NowPlayingInfo::Source source);
std::optional<NowPlayingInfo::Source> sourceFromRawValue(const QString &raw);

// "m:ss" with whole minutes not limited to 59; negative counts as 0.
QString formatPlaybackTime(double seconds);

// The canonical identifier of a player: a browser's helper processes map to
// the browser itself; anything else comes back unchanged.
QString classifyBundle(const QString &bundle);
// Whether the identifier or name names a web browser. Markers match whole
// name components or words only.
bool isBrowserBundle(const QString &bundle);
bool isWebMedia(const QString &bundle, const NowPlayingInfo &info);
NowPlayingInfo::Source sourceFor(const QString &bundle, const QString &title, const QString &artist,
                                 const QString &album);
// The player's own name when one is known, else the identifier's last
// component with dashes as spaces, capitalised ("my-player" -> "My Player").
QString displayName(const QString &bundle, const QString &knownName = {});

Q_DECLARE_METATYPE(NowPlayingInfo)
