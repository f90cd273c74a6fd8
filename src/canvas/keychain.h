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

private:
    platform::ISecretStore *m_store;
};
