#pragma once

#include <QString>
#include <functional>

namespace platform { class ISecretStore; }

// Strings kept as generic passwords under the service "com.pavlet.app", one
// per account. Every call answers through its callback on the main thread.
class Keychain {
public:
    static inline const QString Service = QStringLiteral("com.pavlet.app");

    struct Answer {
        enum class Status {
            Found,   // text holds the stored value, trimmed and not blank
            Missing, // no item, or one that is not UTF-8 or blank
            Failed,  // the store did not answer: an item may exist
            Locked,  // the keyring stayed locked: an item may exist
            NoKeyring, // no keyring runs
        };
        Status status = Status::Failed;
        QString text;
    };

    explicit Keychain(platform::ISecretStore *store) : m_store(store) {}

    void read(const QString &account, std::function<void(const Answer &)> done) const;
    // Creates or replaces the item in one step; ok is false when the store
    // refused, in which case an earlier value is kept.
    void save(const QString &value, const QString &account, std::function<void(bool ok)> done) const;
    void remove(const QString &account, std::function<void(bool ok)> done) const;
    // After a Locked or NoKeyring answer: opened runs once the keyring is
    // there and open.
    void whenOpen(std::function<void()> opened) const;

private:
    platform::ISecretStore *m_store;
};
