#pragma once

#include "platform/secretstore.h"

#include <QObject>

// Secrets through QtKeychain's asynchronous jobs: the freedesktop Secret
// Service (libsecret) or KWallet, whichever the desktop runs. No plain-text
// fallback. A job that has not finished after timeoutMs answers as failed;
// its late answer is then dropped.
class KeychainSecretStore final : public QObject, public SecretStore {
    Q_OBJECT
public:
    explicit KeychainSecretStore(int timeoutMs = 25000, QObject *parent = nullptr);

    void readPassword(const QString &service, const QString &account, ReadCallback done) override;
    void writePassword(const QString &service, const QString &account, const QByteArray &data,
                       DoneCallback done) override;
    void deletePassword(const QString &service, const QString &account, DoneCallback done) override;

private:
    int m_timeoutMs;
};
