#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

// A position on the earth, in degrees.
struct GeoCoordinate {
    double latitude = qQNaN();
    double longitude = qQNaN();

    GeoCoordinate() = default;
    GeoCoordinate(double lat, double lon) : latitude(lat), longitude(lon) {}
    bool isValid() const
    {
        return latitude >= -90 && latitude <= 90 && longitude >= -180 && longitude <= 180;
    }
    bool operator==(const GeoCoordinate &other) const
    {
        return latitude == other.latitude && longitude == other.longitude;
    }
};

namespace platform {

class ILocationProvider {
public:
    using Callback = std::function<void(std::optional<GeoCoordinate>)>;

    virtual ~ILocationProvider() = default;
    // Whether the system lets this program know where it is.
    virtual bool isAuthorized() = 0;
    // The last position the provider learnt, if any.
    virtual std::optional<GeoCoordinate> lastKnown() = 0;
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
    virtual void locality(const GeoCoordinate &where, Callback done) = 0;
};

} // namespace platform
