#pragma once

#include "displaysleep.h"

#include <QList>

class FakeDisplaySleepInhibitor final : public platform::IDisplaySleepInhibitor {
public:
    bool fail = false;
    quint32 nextCookie = 7;
    QList<QString> reasons;
    QList<quint32> released;

    std::optional<quint32> inhibit(const QString &reason) override
    {
        reasons.append(reason);
        if (fail)
            return std::nullopt;
        return nextCookie;
    }
    void release(quint32 cookie) override { released.append(cookie); }
};
