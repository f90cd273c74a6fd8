#include "fakes/fakelocation.h"
#include "platform/linux/qtlocation.h"
#include "services/weatherservice.h"
#include "support/localhttpserver.h"
#include "support/pavlettest.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>

namespace {

const QByteArray GoodForecast = R"({"latitude":40.71,"longitude":-74.0,"timezone":"America/New_York",
  "current":{"time":"2024-06-01T12:00","temperature_2m":71.5,"weather_code":2,"relative_humidity_2m":55},
  "daily":{"time":["2024-06-01"],"temperature_2m_max":[78.2],"temperature_2m_min":[-0.5],
           "sunrise":["2024-06-01T05:26"],"sunset":["2024-06-01T20:22"]}})";

// A real forecast request against a server on 127.0.0.1, with the place
// named by the reverse geocoder on the same server.
class ForecastHttpTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        ASSERT_TRUE(server.listen());
        location.known = GeoCoordinate(40.7128, -74.006);
        geocoder = std::make_unique<platform::NominatimGeocoder>(server.baseUrl());
        service = std::make_unique<WeatherService>(server.baseUrl(), &location, geocoder.get(), nullptr,
                                                   scheduler.get());
        server.setReply("/reverse", LocalHttpServer::json(R"({"address":{"city":"New York","country":"US"}})"));
    }

    std::optional<WeatherInfo> fetch()
    {
        bool done = false;
        std::optional<WeatherInfo> result;
        service->fetch(true, [&](std::optional<WeatherInfo> w) {
            result = w;
            done = true;
        });
        // Each fetch asks where the machine is now.
        if (!location.requests.empty())
            location.requests.back()(location.known);
        EXPECT_TRUE(waitUntil([&] { return done; }, 10000));
        return result;
    }

    LocalHttpServer server;
    FakeLocationProvider location;
    std::unique_ptr<platform::NominatimGeocoder> geocoder;
    std::unique_ptr<WeatherService> service;
};

TEST_F(ForecastHttpTest, SendsTheExactRequestAndPublishesTheReply)
{
    server.setReply("/v1/forecast", LocalHttpServer::json(GoodForecast));
    const auto info = fetch();
    ASSERT_TRUE(info);
    EXPECT_EQ(*info, (WeatherInfo{72, 78, -1, 55, "cloud.sun.fill", "Partly cloudy", "New York", "05:26", "20:22"}));

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].path, "/v1/forecast");
    EXPECT_EQ(requests[0].query, "latitude=40.7128&longitude=-74.006"
                                 "&current=temperature_2m,weather_code,relative_humidity_2m"
                                 "&daily=temperature_2m_max,temperature_2m_min,sunrise,sunset"
                                 "&temperature_unit=fahrenheit&forecast_days=1&timezone=auto");
    EXPECT_EQ(requests[1].path, "/reverse");
    const QUrlQuery reverse(requests[1].query);
    EXPECT_EQ(reverse.queryItemValue("lat"), "40.712800");
    EXPECT_EQ(reverse.queryItemValue("lon"), "-74.006000");
    EXPECT_TRUE(requests[1].header("User-Agent").startsWith("Pavlet/"));
}

TEST_F(ForecastHttpTest, BadRepliesGiveNoWeather)
{
    const std::pair<LocalHttpServer::Reply, const char *> replies[] = {
        {LocalHttpServer::json(GoodForecast, 404), "404"},
        {LocalHttpServer::json(GoodForecast, 500), "500"},
        {LocalHttpServer::json("{\"current\": {"), "malformed"},
        {LocalHttpServer::json(R"({"current":{"temperature_2m":"warm","weather_code":2},
            "daily":{"temperature_2m_max":[],"temperature_2m_min":[],"sunrise":[],"sunset":[]}})"), "wrong type"},
        {LocalHttpServer::json(R"({"current":{"temperature_2m":70}, "daily":{}})"), "missing fields"},
    };
    for (const auto &[reply, name] : replies) {
        server.setReply("/v1/forecast", reply);
        EXPECT_FALSE(fetch()) << name;
    }
}

TEST_F(ForecastHttpTest, MissingHumidityAndAFailedGeocoderStillGiveWeather)
{
    server.setReply("/v1/forecast", LocalHttpServer::json(R"({"current":{"temperature_2m":50,"weather_code":71},
        "daily":{"temperature_2m_max":[],"temperature_2m_min":[],"sunrise":[],"sunset":[]}})"));
    server.setReply("/reverse", LocalHttpServer::json("{}", 503));
    const auto info = fetch();
    ASSERT_TRUE(info);
    EXPECT_EQ(*info, (WeatherInfo{50, 50, 50, 0, "cloud.snow.fill", "Snow", "Local", "—", "—"}));
}

TEST_F(ForecastHttpTest, ATransferCutShortGivesNoWeather)
{
    // A 200 whose body stops before its announced length, though what came
    // is whole JSON.
    QTcpServer cut;
    ASSERT_TRUE(cut.listen(QHostAddress::LocalHost));
    QObject::connect(&cut, &QTcpServer::newConnection, [&cut] {
        QTcpSocket *socket = cut.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: "
                          + QByteArray::number(GoodForecast.size() + 100) + "\r\n\r\n" + GoodForecast);
            socket->disconnectFromHost();
        });
    });
    service = std::make_unique<WeatherService>(QUrl("http://127.0.0.1:" + QString::number(cut.serverPort())),
                                               &location, geocoder.get(), nullptr, scheduler.get());
    EXPECT_FALSE(fetch());
}

} // namespace
