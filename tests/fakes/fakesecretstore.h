#pragma once

#include "secretstore.h"

#include <QHash>
#include <QPair>

// In-memory secrets. refuseWrites makes every write fail (the stored items
// stay as they were), unavailable makes the store answer nothing at all.
class FakeSecretStore final : public SecretStore {
public:
    std::optional<QByteArray> readPassword(const QString &service, const QString &account) override
    {
        ++reads;
        if (unavailable)
            return std::nullopt;
        const auto it = items.constFind({service, account});
        if (it == items.constEnd())
            return std::nullopt;
        return *it;
    }
    bool writePassword(const QString &service, const QString &account, const QByteArray &data) override
    {
        ++writes;
        if (refuseWrites || unavailable)
            return false;
        items.insert({service, account}, data);
        return true;
    }
    void deletePassword(const QString &service, const QString &account) override
    {
        if (!unavailable)
            items.remove({service, account});
    }

    QHash<QPair<QString, QString>, QByteArray> items;
    bool refuseWrites = false;
    bool unavailable = false;
    int reads = 0;
    int writes = 0;
};
