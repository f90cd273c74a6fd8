#pragma once

#include "platform/secretstore.h"

#include <QObject>

namespace platform {

// Runs in the pavlet-secret helper only (see helpersecretstore.h), so that
// the keyring's libraries never stay loaded in the island.
// Secrets through QtKeychain's asynchronous jobs: the freedesktop Secret
// Service (libsecret) or KWallet, whichever the desktop runs. No plain-text
// fallback. A read that has not finished after readTimeoutMs, or a write or
// delete after changeTimeoutMs, answers as failed; its late answer is then
// dropped. Reads may wait on the keyring's unlock prompt; a save the user is
// waiting for counts a store that stays silent a few seconds as absent.
class KeychainSecretStore final : public QObject, public platform::ISecretStore {
    Q_OBJECT
public:
    explicit KeychainSecretStore(int readTimeoutMs = 25000, int changeTimeoutMs = 4000, QObject *parent = nullptr);

    void readPassword(const QString &service, const QString &account, ReadCallback done) override;
    void writePassword(const QString &service, const QString &account, const QByteArray &data,
                       DoneCallback done) override;
    void deletePassword(const QString &service, const QString &account, DoneCallback done) override;

private:
    int m_readTimeoutMs;
    int m_changeTimeoutMs;
};

} // namespace platform
