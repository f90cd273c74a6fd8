#pragma once

#include "platform/mediaplayers.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QStringList>

namespace platform {

class MprisPlayers;

// Follows one player's change signals on behalf of MprisPlayers.
class MprisPlayerWatch : public QObject {
    Q_OBJECT
public:
    MprisPlayerWatch(MprisPlayers &owner, const QString &name);

public slots:
    void onPropertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);
    void onSeeked(qlonglong positionUs);

private:
    MprisPlayers &m_owner;
    QString m_name;
};

// The desktop's media players through MPRIS on the session bus: every
// "org.mpris.MediaPlayer2.*" name, its Player and root properties, their
// PropertiesChanged signals and Seeked. Every call is asynchronous; answers
// are handled on the main thread.
class MprisPlayers final : public platform::IMediaPlayers {
    Q_OBJECT
public:
    explicit MprisPlayers(const QDBusConnection &bus, QObject *parent = nullptr);
    ~MprisPlayers() override;

    void start() override;
    void stop() override;
    QList<platform::MediaPlayerState> players() const override;
    void refreshPositions() override;
    bool sendCommand(const QString &playerId, platform::MediaCommand command) override;

    // Plain Qt values for what QtDBus hands over: nested maps and arrays,
    // object paths as texts, variants unwrapped.
    static QVariant plainValue(const QVariant &value);

private slots:
    void onNameOwnerChanged(const QString &name, const QString &oldOwner, const QString &newOwner);

private:
    friend class MprisPlayerWatch;
    void addPlayer(const QString &name);
    void removePlayer(const QString &name);
    void readAll(const QString &name, const QString &interface);
    void applyProperties(const QString &name, const QVariantMap &values);
    void readPosition(const QString &name);

    QDBusConnection m_bus;
    bool m_running = false;
    QStringList m_order;
    QHash<QString, platform::MediaPlayerState> m_players;
    QHash<QString, MprisPlayerWatch *> m_watches;
};

} // namespace platform
