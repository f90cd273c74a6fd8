#pragma once

#include "media/nowplayinginfo.h"
#include "platform/mediaplayers.h"

#include <QList>
#include <QObject>
#include <optional>

class Clock;

// One desktop player's record together with the identifier it goes by.
struct PlayerRecord {
    QString playerId;
    QString bundle; // desktop entry, else the player's bus-name suffix
    NowPlayingInfo info;
    bool operator==(const PlayerRecord &) const = default;
};

// The identifier a player goes by: its desktop entry, else the last part of
// its bus name without an ".instance…" suffix.
QString playerBundle(const platform::MediaPlayerState &state);

// Turns what a player publishes into a record. Lengths and positions are in
// microseconds; text values mentioning YouTube (the page address, usually)
// mark YouTube media.
NowPlayingInfo parseMpris(const QVariantMap &metadata, const QString &playbackStatus, qint64 positionUs,
                          const QString &identity, const QString &bundle, const QDateTime &sampledAt);
NowPlayingInfo parseMpris(const platform::MediaPlayerState &state, const QDateTime &sampledAt);

// Gives a record the source and client name its player's identifier calls
// for: a browser's own name (or "Browser"), "YouTube", or the player's name.
NowPlayingInfo withSource(const NowPlayingInfo &info, const QString &bundle, const QString &knownName = {});

// The now-playing link to the desktop's media players: one record per
// player, kept up to date from the players' change notices and from
// position reads at most every 0.35 s when asked.
class MprisBridge : public QObject {
    Q_OBJECT
public:
    static constexpr int RefreshThrottleMs = 350;

    MprisBridge(platform::IMediaPlayers &players, const Clock &clock, QObject *parent = nullptr);

    void start();
    void stop();
    // Asks every player for its position now.
    void refresh();

    // The records of the players that have a title or an artist, in the
    // order the players appeared. Asks for fresh positions when the last
    // request is 0.35 s old or older; the answer is what was held before.
    QList<PlayerRecord> currentRecords();
    // The record of the player that plays (else the first one with text).
    std::optional<NowPlayingInfo> currentInfo();
    // The identifier of that player; empty when there is none.
    QString applicationBundle() const;

    // Every player's record, text or not.
    const QList<PlayerRecord> &records() const { return m_records; }
    // Whether a player going by this identifier is on the desktop.
    bool isRunning(const QString &bundle) const;
    bool sendCommand(const QString &playerId, platform::MediaCommand command);

signals:
    void changed();

private:
    void updatePlayer(const QString &playerId);
    void removePlayer(const QString &playerId);
    const PlayerRecord *current() const;

    platform::IMediaPlayers &m_players;
    const Clock &m_clock;
    QList<PlayerRecord> m_records;
    std::optional<qint64> m_lastFetch;
    bool m_started = false;
};
