#pragma once

#include "secretstore.h"

// Secrets through QtKeychain: the freedesktop Secret Service (libsecret) or
// KWallet, whichever the desktop runs. No plain-text fallback.
class KeychainSecretStore final : public SecretStore {
public:
    explicit KeychainSecretStore(int timeoutMs = 2000) : m_timeoutMs(timeoutMs) {}

    std::optional<QByteArray> readPassword(const QString &service, const QString &account) override;
    bool writePassword(const QString &service, const QString &account, const QByteArray &data) override;
    void deletePassword(const QString &service, const QString &account) override;

private:
    int m_timeoutMs;
};
