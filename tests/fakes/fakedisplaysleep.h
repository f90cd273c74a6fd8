#pragma once

#include "platform/displaysleepinhibitor.h"

#include <QList>
#include <functional>
#include <vector>

class FakeDisplaySleepInhibitor final : public platform::IDisplaySleepInhibitor {
public:
    bool fail = false;
    // Holds the answers until answerHeld().
    bool hold = false;
    std::vector<std::function<void()>> held;
    quint32 nextCookie = 7;
    QList<QString> reasons;
    QList<quint32> released;

    void inhibit(const QString &reason, InhibitCallback done) override
    {
        reasons.append(reason);
        const std::optional<quint32> cookie = fail ? std::nullopt : std::optional(nextCookie);
        if (hold)
            held.push_back([done, cookie] { done(cookie); });
        else
            done(cookie);
    }
    // Answers the held requests.
    void answerHeld()
    {
        auto pending = std::move(held);
        held.clear();
        for (auto &fn : pending)
            fn();
    }
    void release(quint32 cookie) override { released.append(cookie); }
};
