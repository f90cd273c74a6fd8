#pragma once

#include <QGeoCoordinate>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace platform {

class ILocationProvider {
public:
    using Callback = std::function<void(std::optional<QGeoCoordinate>)>;

    virtual ~ILocationProvider() = default;
    // Whether the system lets this program know where it is.
    virtual bool isAuthorized() = 0;
    // The last position the provider learnt, if any.
    virtual std::optional<QGeoCoordinate> lastKnown() = 0;
    // Asks for one position. done runs once, later, on the main thread: with
    // the position, or with none on failure or after timeoutMs. A new request
    // ends a waiting one with none.
    virtual void requestLocation(int timeoutMs, Callback done) = 0;
};

// Turns a position into the name of its town or city.
class IReverseGeocoder {
public:
    using Callback = std::function<void(std::optional<QString>)>;

    virtual ~IReverseGeocoder() = default;
    // done runs once, later, on the main thread, with the locality or none.
    virtual void locality(const QGeoCoordinate &where, Callback done) = 0;
};

std::unique_ptr<ILocationProvider> createLocationProvider();
std::unique_ptr<IReverseGeocoder> createReverseGeocoder();

} // namespace platform
