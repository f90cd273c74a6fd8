#include "media/mprisbridge.h"

#include "core/clock.h"

#include <QStringList>
#include <cmath>

namespace {

const QString mprisPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString noTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
const QString spotifyTrackPath = QStringLiteral("/com/spotify/track/");

QString textOf(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QStringList>()) {
        QStringList parts;
        for (const QString &s : value.toStringList()) {
            if (!s.trimmed().isEmpty())
                parts << s;
        }
        return parts.join(QStringLiteral(", "));
    }
    if (value.metaType() == QMetaType::fromType<QVariantList>()) {
        QStringList parts;
        for (const QVariant &v : value.toList()) {
            const QString s = textOf(v);
            if (!s.trimmed().isEmpty())
                parts << s;
        }
        return parts.join(QStringLiteral(", "));
    }
    if (value.metaType() == QMetaType::fromType<QString>())
        return value.toString();
    return {};
}

// A length or position in microseconds as seconds; any integer width or a
// double; 0 when it is not a number or negative.
double microseconds(const QVariant &value)
{
    bool ok = false;
    double us = 0;
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        us = value.toDouble(&ok);
        break;
    default:
        break;
    }
    if (!ok || !std::isfinite(us) || us <= 0)
        return 0;
    return us / 1e6;
}

bool mentionsYouTube(const QVariant &value)
{
    return textOf(value).contains(QLatin1String("youtube"), Qt::CaseInsensitive);
}

} // namespace

QString playerBundle(const platform::MediaPlayerState &state)
{
    if (!state.desktopEntry.trimmed().isEmpty())
        return state.desktopEntry.trimmed();
    QString name = state.id;
    if (name.startsWith(mprisPrefix))
        name = name.mid(mprisPrefix.size());
    const qsizetype instance = name.indexOf(QLatin1String(".instance"));
    if (instance >= 0)
        name.truncate(instance);
    return name;
}

// The client name a record of this source shows; a name already given is
// kept unless the source calls for its own.
static QString clientNameFor(NowPlayingInfo::Source source, const QString &key, const QString &knownName,
                             const QString &given)
{
    using S = NowPlayingInfo::Source;
    if (source == S::browser) {
        const QString name = displayName(classifyBundle(key), knownName);
        return name.isEmpty() ? QStringLiteral("Browser") : name;
    }
    if (source == S::youtube)
        return QStringLiteral("YouTube");
    return given.isEmpty() ? displayName(classifyBundle(key), knownName) : given;
}

NowPlayingInfo withSource(const NowPlayingInfo &info, const QString &bundle, const QString &knownName)
{
    NowPlayingInfo out = info;
    const QString key = bundle.isEmpty() ? info.clientName : bundle;
    out.source = sourceFor(key, info.title, info.artist, info.album);
    out.clientName = clientNameFor(out.source, key, knownName, info.clientName);
    return out;
}

NowPlayingInfo parseMpris(const QVariantMap &metadata, const QString &playbackStatus, qint64 positionUs,
                          const QString &identity, const QString &bundle, const QDateTime &sampledAt)
{
    NowPlayingInfo info;
    info.title = textOf(metadata.value(QStringLiteral("xesam:title")));
    info.artist = textOf(metadata.value(QStringLiteral("xesam:artist")));
    info.album = textOf(metadata.value(QStringLiteral("xesam:album")));
    // A local file without tags is named by its file name, so the island
    // has something to show.
    if (info.title.trimmed().isEmpty() && info.artist.trimmed().isEmpty()) {
        const QUrl file(textOf(metadata.value(QStringLiteral("xesam:url"))).trimmed());
        if (file.isLocalFile())
            info.title = file.fileName();
    }
    info.duration = microseconds(metadata.value(QStringLiteral("mpris:length")));
    info.elapsed = positionUs > 0 ? double(positionUs) / 1e6 : 0;
    info.isPlaying = playbackStatus == QLatin1String("Playing");
    info.sampledAt = sampledAt;

    QString track = textOf(metadata.value(QStringLiteral("mpris:trackid")));
    if (track == noTrack)
        track.clear();
    else if (track.startsWith(spotifyTrackPath))
        track = QStringLiteral("spotify:track:") + track.mid(spotifyTrackPath.size());
    info.trackID = track;

    const QString art = textOf(metadata.value(QStringLiteral("mpris:artUrl"))).trimmed();
    if (!art.isEmpty()) {
        const QUrl url(art);
        if (url.isValid() && !url.scheme().isEmpty())
            info.artworkURL = url;
    }

    bool youtube = false;
    for (auto it = metadata.cbegin(); it != metadata.cend() && !youtube; ++it)
        youtube = mentionsYouTube(it.value());

    const QString canonical = classifyBundle(bundle);
    info.source = sourceFor(canonical, info.title, info.artist, info.album);
    // A page address on YouTube makes YouTube media of anything but the
    // music players' own records.
    if (youtube && info.source != NowPlayingInfo::Source::spotify && info.source != NowPlayingInfo::Source::music)
        info.source = NowPlayingInfo::Source::youtube;
    info.clientName = clientNameFor(info.source, bundle, identity, {});
    return info;
}

NowPlayingInfo parseMpris(const platform::MediaPlayerState &state, const QDateTime &sampledAt)
{
    NowPlayingInfo info = parseMpris(state.metadata, state.playbackStatus, state.positionUs, state.identity,
                                     playerBundle(state), sampledAt);
    info.playerID = state.id;
    return info;
}

MprisBridge::MprisBridge(platform::IMediaPlayers &players, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_players(players)
    , m_clock(clock)
{
    connect(&m_players, &platform::IMediaPlayers::playerChanged, this, &MprisBridge::updatePlayer);
    connect(&m_players, &platform::IMediaPlayers::playerRemoved, this, &MprisBridge::removePlayer);
}

void MprisBridge::start()
{
    if (m_started)
        return;
    m_started = true;
    m_players.start();
    for (const platform::MediaPlayerState &state : m_players.players())
        updatePlayer(state.id);
    refresh();
}

void MprisBridge::stop()
{
    if (!m_started)
        return;
    m_started = false;
    m_players.stop();
}

void MprisBridge::refresh()
{
    m_lastFetch = m_clock.monotonicMs();
    m_players.refreshPositions();
}

QList<PlayerRecord> MprisBridge::currentRecords()
{
    QList<PlayerRecord> held;
    for (const PlayerRecord &r : std::as_const(m_records)) {
        if (r.info.hasText())
            held.append(r);
    }
    if (m_started && (!m_lastFetch || m_clock.monotonicMs() - *m_lastFetch >= RefreshThrottleMs))
        refresh();
    return held;
}

const PlayerRecord *MprisBridge::current() const
{
    const PlayerRecord *first = nullptr;
    for (const PlayerRecord &r : m_records) {
        if (!r.info.hasText())
            continue;
        if (r.info.isPlaying)
            return &r;
        if (!first)
            first = &r;
    }
    return first;
}

std::optional<NowPlayingInfo> MprisBridge::currentInfo()
{
    const PlayerRecord *before = current();
    std::optional<NowPlayingInfo> answer;
    if (before)
        answer = before->info;
    currentRecords();
    return answer;
}

QString MprisBridge::applicationBundle() const
{
    const PlayerRecord *r = current();
    return r ? classifyBundle(r->bundle) : QString();
}

bool MprisBridge::isRunning(const QString &bundle) const
{
    for (const PlayerRecord &r : m_records) {
        if (r.bundle == bundle)
            return true;
    }
    return false;
}

bool MprisBridge::sendCommand(const QString &playerId, platform::MediaCommand command)
{
    return m_players.sendCommand(playerId, command);
}

void MprisBridge::updatePlayer(const QString &playerId)
{
    const QList<platform::MediaPlayerState> all = m_players.players();
    for (const platform::MediaPlayerState &state : all) {
        if (state.id != playerId)
            continue;
        PlayerRecord record{state.id, playerBundle(state), parseMpris(state, m_clock.now())};
        for (PlayerRecord &r : m_records) {
            if (r.playerId == playerId) {
                r = std::move(record);
                emit changed();
                return;
            }
        }
        m_records.append(std::move(record));
        emit changed();
        return;
    }
}

void MprisBridge::removePlayer(const QString &playerId)
{
    const auto removed = m_records.removeIf([&](const PlayerRecord &r) { return r.playerId == playerId; });
    if (removed > 0)
        emit changed();
}
