#pragma once

#include "platform/location.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QGeoPositionInfoSource;

namespace platform {

// Positions from QtPositioning's default source (GeoClue on a desktop),
// created on first use.
class QtLocationProvider final : public QObject, public ILocationProvider {
    Q_OBJECT
public:
    explicit QtLocationProvider(QObject *parent = nullptr);
    ~QtLocationProvider() override;

    bool isAuthorized() override;
    std::optional<GeoCoordinate> lastKnown() override;
    void requestLocation(int timeoutMs, Callback done) override;

private:
    QGeoPositionInfoSource *source();
    void answer(std::optional<GeoCoordinate> where);

    QGeoPositionInfoSource *m_source = nullptr;
    bool m_triedSource = false;
    Callback m_pending;
};

// Names places through a Nominatim-style reverse geocoding service
// ("/reverse?format=jsonv2&lat=…&lon=…").
class NominatimGeocoder final : public QObject, public IReverseGeocoder {
    Q_OBJECT
public:
    static inline const QUrl DefaultBase = QUrl(QStringLiteral("https://nominatim.openstreetmap.org"));
    static constexpr int TimeoutMs = 10000;

    explicit NominatimGeocoder(const QUrl &base = DefaultBase, QNetworkAccessManager *network = nullptr,
                               QObject *parent = nullptr);
    void locality(const GeoCoordinate &where, Callback done) override;

private:
    QUrl m_base;
    QNetworkAccessManager *m_network;
};

} // namespace platform
