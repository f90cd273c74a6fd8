#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>

namespace platform {

// Keeps the display from blanking while an inhibition is held.
class IDisplaySleepInhibitor {
public:
    virtual ~IDisplaySleepInhibitor() = default;
    // Starts an inhibition; the cookie identifies it, none on failure.
    virtual std::optional<quint32> inhibit(const QString &reason) = 0;
    virtual void release(quint32 cookie) = 0;
};

} // namespace platform
