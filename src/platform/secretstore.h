#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Generic passwords kept by the system's secret service, addressed by a
// service name and an account. Calls are synchronous and bounded in time: a
// store that does not answer gives no password and reports failed writes.
class SecretStore {
public:
    virtual ~SecretStore() = default;
    // The stored bytes, or nothing when there is no item or the store failed.
    virtual std::optional<QByteArray> readPassword(const QString &service, const QString &account) = 0;
    // Creates or replaces the item in one step. False when the store refused;
    // an earlier item is then left as it was.
    virtual bool writePassword(const QString &service, const QString &account, const QByteArray &data) = 0;
    // Removes the item; a missing item is not an error.
    virtual void deletePassword(const QString &service, const QString &account) = 0;
};
