#pragma once

#include "core/scheduler.h"
#include "media/mprisbridge.h"
#include "media/nowplayinginfo.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

class ArtworkLoader;
class Clock;

// How a player's record ranks against the others.
enum class PlayerFeed { web, spotify, music, other };
PlayerFeed feedOf(const PlayerRecord &record);

// Which record to present among the players' records: any playing one
// before any paused one; within each group web media first, then Spotify,
// then the music player, then any other player. Only records with a title
// or an artist count. Null when there is none.
const PlayerRecord *rankPresented(const QList<PlayerRecord> &records);

// What is playing on the desktop, and its controls.
class NowPlayingService : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the composition root")
    Q_PROPERTY(bool allowAutomation READ allowAutomation WRITE setAllowAutomation NOTIFY allowAutomationChanged)
    Q_PROPERTY(NowPlayingInfo presented READ presented WRITE setPresented NOTIFY presentedChanged)
public:
    static constexpr int PollIntervalMs = 800;
    static constexpr int MediaKeyGapMs = 12;
    // Media key types.
    static constexpr int PlayKey = 16;
    static constexpr int NextKey = 17;
    static constexpr int PreviousKey = 18;

    NowPlayingService(platform::IMediaPlayers &players, platform::IMediaKeySender &keys, ArtworkLoader &artwork,
                      const Clock &clock, Scheduler &scheduler, QObject *parent = nullptr);
    ~NowPlayingService() override;

    void start();
    void stop();

    // The record to show now; empty when nothing is held.
    Q_INVOKABLE NowPlayingInfo presentedInfo();

    Q_INVOKABLE void togglePlayPause();
    Q_INVOKABLE void nextTrack();
    Q_INVOKABLE void previousTrack();

    // Looks up the record's artwork; the answer arrives as artworkReady or
    // artworkFailed.
    Q_INVOKABLE void artwork(const NowPlayingInfo &info);
    // The image address QML shows the record's artwork with.
    Q_INVOKABLE QUrl artworkSource(const NowPlayingInfo &info) const;

    bool allowAutomation() const { return m_allowAutomation; }
    void setAllowAutomation(bool allow);
    NowPlayingInfo presented() const { return m_presented; }
    void setPresented(const NowPlayingInfo &info);

    MprisBridge &bridge() { return m_bridge; }
    ArtworkLoader &artworkLoader() { return m_artwork; }

signals:
    void allowAutomationChanged();
    void presentedChanged();
    void artworkReady(const QString &key, const QImage &image);
    void artworkFailed(const QString &key);

private:
    void command(platform::MediaCommand command, int keyType);
    QString routeFor(NowPlayingInfo::Source source) const;

    platform::IMediaKeySender &m_keys;
    ArtworkLoader &m_artwork;
    const Clock &m_clock;
    Scheduler &m_scheduler;
    MprisBridge m_bridge;
    TaskHandle m_pollTask;
    TaskHandle m_keyUpTask;
    int m_heldKey = 0;
    bool m_allowAutomation = true;
    NowPlayingInfo m_presented;
    QString m_presentedPlayer;
};
