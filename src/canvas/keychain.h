#pragma once

#include <QString>
#include <optional>

class SecretStore;

// Strings kept as generic passwords under the service "com.pavlet.app", one
// per account.
class Keychain {
public:
    static inline const QString Service = QStringLiteral("com.pavlet.app");

    explicit Keychain(SecretStore *store) : m_store(store) {}

    // The stored text, trimmed; nothing when missing, unreadable, not UTF-8
    // or blank.
    std::optional<QString> read(const QString &account) const;
    // Creates or replaces the item in one step; false when the store refused,
    // in which case an earlier value is kept.
    bool save(const QString &value, const QString &account) const;
    void remove(const QString &account) const;

private:
    SecretStore *m_store;
};
