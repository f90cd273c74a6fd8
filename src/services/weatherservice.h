#pragma once

#include "core/scheduler.h"
#include "platform/location.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;

// Today's weather at the machine's location, in degrees Fahrenheit.
struct WeatherInfo {
    Q_GADGET
    QML_VALUE_TYPE(weatherInfo)
    Q_PROPERTY(int temperature MEMBER temperature)
    Q_PROPERTY(int high MEMBER high)
    Q_PROPERTY(int low MEMBER low)
    Q_PROPERTY(int humidity MEMBER humidity)
    Q_PROPERTY(QString symbol MEMBER symbol)
    Q_PROPERTY(QString summary MEMBER summary)
    Q_PROPERTY(QString place MEMBER place)
    Q_PROPERTY(QString sunrise MEMBER sunrise)
    Q_PROPERTY(QString sunset MEMBER sunset)
public:
    int temperature = 0;
    int high = 0;
    int low = 0;
    int humidity = 0;
    QString symbol;
    QString summary;
    QString place;
    QString sunrise;
    QString sunset;

    bool operator==(const WeatherInfo &) const = default;
};

// The forecast service's reply, checked strictly.
struct OpenMeteo {
    struct Current {
        double temperature2m = 0;
        int weatherCode = 0;
        std::optional<int> humidity;
    };
    struct Daily {
        QList<double> temperatureMax;
        QList<double> temperatureMin;
        QStringList sunrise;
        QStringList sunset;
    };
    Current current;
    Daily daily;

    // None when a required key is missing or a value has the wrong type.
    static std::optional<OpenMeteo> decode(const QByteArray &json);
};

class WeatherService : public QObject {
    Q_OBJECT
public:
    using Callback = std::function<void(std::optional<WeatherInfo>)>;
    using LocationCallback = std::function<void(std::optional<GeoCoordinate>)>;

    static constexpr int LocationTimeoutMs = 30000;
    static constexpr int RequestTimeoutMs = 20000;
    static inline const QUrl DefaultBase = QUrl(QStringLiteral("https://api.open-meteo.com"));

    // network may be null: the service then makes its own.
    WeatherService(const QUrl &forecastBase, platform::ILocationProvider *location,
                   platform::IReverseGeocoder *geocoder, QNetworkAccessManager *network,
                   Scheduler *scheduler, QObject *parent = nullptr);
    ~WeatherService() override;

    // Fetches the weather; done runs once, on the main thread, with none on
    // any failure.
    void fetch(bool useLocation, Callback done);
    // The location to use: a fresh position, asked for each time; the last
    // one known while an earlier request is still on its way, or when the
    // fresh one cannot be had.
    void resolveLocation(bool useLocation, LocationCallback done);
    // The locality of a position, "Local" when it cannot be named.
    void placeName(const GeoCoordinate &where, std::function<void(QString)> done);

    static QUrl forecastUrl(const QUrl &base, const GeoCoordinate &where);
    static QString symbol(int code);
    static QString summary(int code);
    // Display text of a sunrise or sunset time from the reply.
    static QString sunText(const std::optional<QString> &time);
    // Whole degrees, halves away from zero, clamped to what an int holds.
    static int roundedDegrees(double value);
    static WeatherInfo makeInfo(const OpenMeteo &reply);

private:
    void endLocationWait(std::optional<GeoCoordinate> result);
    std::optional<GeoCoordinate> lastPosition() const;

    QUrl m_base;
    platform::ILocationProvider *m_location;
    platform::IReverseGeocoder *m_geocoder;
    QNetworkAccessManager *m_network;
    Scheduler *m_scheduler;
    // The one pending location request and its time-out.
    LocationCallback m_continuation;
    TaskHandle m_locationTimeout;
    quint64 m_locationGeneration = 0;
    // The last fresh position.
    std::optional<GeoCoordinate> m_lastPosition;
};
