#include "media/nowplayingservice.h"

#include "core/clock.h"
#include "core/publish.h"
#include "media/artworkloader.h"

PlayerFeed feedOf(const PlayerRecord &record)
{
    using S = NowPlayingInfo::Source;
    if (record.info.source == S::spotify)
        return PlayerFeed::spotify;
    if (record.info.source == S::music)
        return PlayerFeed::music;
    const QString key = record.bundle.isEmpty() ? record.info.clientName : record.bundle;
    if (isWebMedia(key, record.info))
        return PlayerFeed::web;
    return PlayerFeed::other;
}

const PlayerRecord *rankPresented(const QList<PlayerRecord> &records)
{
    constexpr PlayerFeed order[] = {PlayerFeed::web, PlayerFeed::spotify, PlayerFeed::music, PlayerFeed::other};
    for (bool playing : {true, false}) {
        for (PlayerFeed feed : order) {
            for (const PlayerRecord &r : records) {
                if (r.info.hasText() && r.info.isPlaying == playing && feedOf(r) == feed)
                    return &r;
            }
        }
    }
    return nullptr;
}

NowPlayingService::NowPlayingService(platform::IMediaPlayers &players, platform::IMediaKeySender &keys,
                                     ArtworkLoader &artwork, const Clock &clock, Scheduler &scheduler,
                                     QObject *parent)
    : QObject(parent)
    , m_keys(keys)
    , m_artwork(artwork)
    , m_clock(clock)
    , m_scheduler(scheduler)
    , m_bridge(players, clock)
    , m_presented(NowPlayingInfo::empty(clock.now()))
{
    connect(&m_artwork, &ArtworkLoader::artworkReady, this, &NowPlayingService::artworkReady);
    connect(&m_artwork, &ArtworkLoader::artworkFailed, this, &NowPlayingService::artworkFailed);
}

NowPlayingService::~NowPlayingService() = default;

void NowPlayingService::start()
{
    m_bridge.start();
    m_pollTask = m_scheduler.every(PollIntervalMs, [this] {
        if (m_allowAutomation)
            m_bridge.refresh();
    });
}

void NowPlayingService::stop()
{
    m_pollTask.cancel();
    m_bridge.stop();
}

NowPlayingInfo NowPlayingService::presentedInfo()
{
    const QList<PlayerRecord> records = m_bridge.currentRecords();
    if (const PlayerRecord *chosen = rankPresented(records)) {
        m_presentedPlayer = chosen->playerId;
        return chosen->info;
    }
    m_presentedPlayer.clear();
    return NowPlayingInfo::empty(m_clock.now());
}

void NowPlayingService::setAllowAutomation(bool allow)
{
    publish(this, m_allowAutomation, allow, &NowPlayingService::allowAutomationChanged);
}

void NowPlayingService::setPresented(const NowPlayingInfo &info)
{
    publish(this, m_presented, info, &NowPlayingService::presentedChanged);
}

QString NowPlayingService::routeFor(NowPlayingInfo::Source source) const
{
    const QList<PlayerRecord> &records = m_bridge.records();
    for (const PlayerRecord &r : records) {
        if (r.playerId == m_presentedPlayer && (source == NowPlayingInfo::Source::unknown || r.info.source == source))
            return r.playerId;
    }
    if (source == NowPlayingInfo::Source::unknown) {
        // Whichever player the desktop would call the current one.
        for (const PlayerRecord &r : records) {
            if (r.info.isPlaying)
                return r.playerId;
        }
        return records.isEmpty() ? QString() : records.first().playerId;
    }
    for (const PlayerRecord &r : records) {
        if (r.info.source == source && r.info.hasText())
            return r.playerId;
    }
    return {};
}

void NowPlayingService::command(platform::MediaCommand command, int keyType)
{
    const QString target = routeFor(m_presented.source);
    if (!target.isEmpty() && m_bridge.sendCommand(target, command))
        return;
    if (m_presented.source != NowPlayingInfo::Source::unknown)
        return;
    // A key still held from the last press goes up first.
    if (m_keyUpTask.isActive()) {
        m_keyUpTask.cancel();
        m_keys.sendMediaKey(m_heldKey, false);
    }
    m_heldKey = keyType;
    m_keys.sendMediaKey(keyType, true);
    m_keyUpTask = m_scheduler.after(MediaKeyGapMs, [this, keyType] { m_keys.sendMediaKey(keyType, false); });
}

void NowPlayingService::togglePlayPause()
{
    command(platform::MediaCommand::PlayPause, PlayKey);
}

void NowPlayingService::nextTrack()
{
    command(platform::MediaCommand::Next, NextKey);
}

void NowPlayingService::previousTrack()
{
    command(platform::MediaCommand::Previous, PreviousKey);
}

void NowPlayingService::artwork(const NowPlayingInfo &info)
{
    m_artwork.request(info);
}

QUrl NowPlayingService::artworkSource(const NowPlayingInfo &info) const
{
    return ArtworkLoader::imageUrl(info.artworkKey());
}
