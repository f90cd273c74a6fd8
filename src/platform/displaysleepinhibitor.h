#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace platform {

// Keeps the display from blanking while an inhibition is held.
class IDisplaySleepInhibitor {
public:
    virtual ~IDisplaySleepInhibitor() = default;
    using InhibitCallback = std::function<void(std::optional<quint32> cookie)>;

    // Starts an inhibition. done runs once, on the main thread, possibly
    // before the call returns, with the cookie that identifies it, or none
    // on failure.
    virtual void inhibit(const QString &reason, InhibitCallback done) = 0;
    virtual void release(quint32 cookie) = 0;
};

} // namespace platform
