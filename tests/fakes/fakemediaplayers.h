#pragma once

#include "platform/mediaplayers.h"

#include <QList>
#include <QPair>

// Desktop players in memory: tests add, change and remove them and see the
// commands and position reads that reach them.
class FakeMediaPlayers final : public platform::IMediaPlayers {
    Q_OBJECT
public:
    bool started = false;
    int positionReads = 0;
    QList<QPair<QString, platform::MediaCommand>> commands;

    void start() override { started = true; }
    void stop() override { started = false; }
    QList<platform::MediaPlayerState> players() const override { return m_players; }
    void refreshPositions() override { ++positionReads; }
    bool sendCommand(const QString &id, platform::MediaCommand command) override
    {
        for (const auto &p : std::as_const(m_players)) {
            if (p.id == id) {
                commands.append({id, command});
                return true;
            }
        }
        return false;
    }

    // Adds or replaces the player with state.id.
    void set(const platform::MediaPlayerState &state)
    {
        for (auto &p : m_players) {
            if (p.id == state.id) {
                p = state;
                emit playerChanged(state.id);
                return;
            }
        }
        m_players.append(state);
        emit playerChanged(state.id);
    }
    void remove(const QString &id)
    {
        m_players.removeIf([&](const platform::MediaPlayerState &p) { return p.id == id; });
        emit playerRemoved(id);
    }

    // A player of the given bus-name suffix with a track.
    static platform::MediaPlayerState player(const QString &suffix, const QString &title, const QString &status,
                                             const QString &artist = QStringLiteral("Artist"))
    {
        platform::MediaPlayerState s;
        s.id = QStringLiteral("org.mpris.MediaPlayer2.") + suffix;
        s.identity = QString();
        s.playbackStatus = status;
        s.metadata = {{QStringLiteral("xesam:title"), title},
                      {QStringLiteral("xesam:artist"), QStringList{artist}},
                      {QStringLiteral("mpris:length"), qlonglong(200'000'000)}};
        return s;
    }

private:
    QList<platform::MediaPlayerState> m_players;
};

class FakeMediaKeySender final : public platform::IMediaKeySender {
public:
    struct Press {
        int type;
        bool down;
        qint64 atMs;
        bool operator==(const Press &) const = default;
    };
    // Set by the test to stamp each press.
    std::function<qint64()> now = [] { return qint64(0); };
    QList<Press> presses;
    bool sendMediaKey(int type, bool down) override
    {
        presses.append({type, down, now()});
        return true;
    }
};
