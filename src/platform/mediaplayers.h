#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace platform {

// What one media player on the desktop publishes about itself, as it stood
// when last read. Metadata values are plain Qt types: texts, string lists,
// integers of any width, doubles.
struct MediaPlayerState {
    QString id;             // the player's address on the desktop (bus name)
    QString identity;       // the player's own name ("Firefox")
    QString desktopEntry;   // its desktop file's base name ("firefox"), may be empty
    QVariantMap metadata;   // the current track's metadata
    QString playbackStatus; // "Playing", "Paused", "Stopped"
    qint64 positionUs = 0;  // position when read, microseconds
    double rate = 1.0;

    bool operator==(const MediaPlayerState &) const = default;
};

enum class MediaCommand { PlayPause, Next, Previous };

// The desktop's media players and their commands. Everything is
// asynchronous on the main thread: reads come back through the signals.
class IMediaPlayers : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts following the players; playerChanged arrives for each one found.
    virtual void start() = 0;
    virtual void stop() = 0;
    // The players known right now, in the order they appeared.
    virtual QList<MediaPlayerState> players() const = 0;
    // Asks every player for its current position (players do not announce
    // a position that moves by itself).
    virtual void refreshPositions() = 0;
    // False when there is no such player.
    virtual bool sendCommand(const QString &playerId, MediaCommand command) = 0;

signals:
    // A player appeared or any of its values changed.
    void playerChanged(const QString &playerId);
    void playerRemoved(const QString &playerId);
};

// Synthesised play/pause, next and previous keys for when no player can be
// addressed directly.
class IMediaKeySender {
public:
    virtual ~IMediaKeySender() = default;
    // type: 16 play/pause, 17 next, 18 previous. False when no key could be sent.
    virtual bool sendMediaKey(int type, bool down) = 0;
};

} // namespace platform
