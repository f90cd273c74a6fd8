#include "fakes/fakelocation.h"
#include "services/doubletext.h"
#include "services/weatherservice.h"
#include "support/pavlettest.h"

#include <QLocale>
#include <QTimeZone>

namespace {

TEST(WeatherDecodeTest, RequiresEveryKeyWithTheRightType)
{
    const QByteArray good = R"({"latitude":1,"current":{"temperature_2m":71.5,"weather_code":3,"relative_humidity_2m":40},
        "daily":{"temperature_2m_max":[80.4],"temperature_2m_min":[60.5],"sunrise":["2024-06-01T05:48"],
        "sunset":["2024-06-01T20:31"]}})";
    const auto reply = OpenMeteo::decode(good);
    ASSERT_TRUE(reply);
    EXPECT_EQ(WeatherService::makeInfo(*reply),
              (WeatherInfo{72, 80, 61, 40, "cloud.fill", "Cloudy", "", "05:48", "20:31"}));

    const char *bad[] = {
        "not json",
        "[]",
        R"({"current":{"temperature_2m":70,"weather_code":3},"daily":{}})",
        R"({"current":{"temperature_2m":"70","weather_code":3},"daily":{"temperature_2m_max":[],"temperature_2m_min":[],"sunrise":[],"sunset":[]}})",
        R"({"current":{"temperature_2m":70,"weather_code":3.5},"daily":{"temperature_2m_max":[],"temperature_2m_min":[],"sunrise":[],"sunset":[]}})",
        R"({"current":{"temperature_2m":70,"weather_code":3,"relative_humidity_2m":"wet"},"daily":{"temperature_2m_max":[],"temperature_2m_min":[],"sunrise":[],"sunset":[]}})",
        R"({"current":{"temperature_2m":70,"weather_code":3},"daily":{"temperature_2m_max":[null],"temperature_2m_min":[],"sunrise":[],"sunset":[]}})",
        R"({"current":{"temperature_2m":70,"weather_code":3},"daily":{"temperature_2m_max":[],"temperature_2m_min":[],"sunrise":[5],"sunset":[]}})",
        R"({"daily":{"temperature_2m_max":[],"temperature_2m_min":[],"sunrise":[],"sunset":[]}})",
    };
    for (const char *body : bad)
        EXPECT_FALSE(OpenMeteo::decode(body)) << body;
}

TEST(WeatherDecodeTest, MissingHumidityAndEmptyDailyFallBack)
{
    const auto reply = OpenMeteo::decode(R"({"current":{"temperature_2m":-0.5,"weather_code":53},
        "daily":{"temperature_2m_max":[],"temperature_2m_min":[],"sunrise":[],"sunset":[]}})");
    ASSERT_TRUE(reply);
    EXPECT_EQ(WeatherService::makeInfo(*reply),
              (WeatherInfo{-1, -1, -1, 0, "cloud.rain.fill", "Drizzle", "", "—", "—"}));
}

TEST(WeatherDecodeTest, HugeTemperaturesAreClampedNotOverflowed)
{
    EXPECT_EQ(WeatherService::roundedDegrees(71.5), 72);
    EXPECT_EQ(WeatherService::roundedDegrees(-71.5), -72);
    EXPECT_EQ(WeatherService::roundedDegrees(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(WeatherService::roundedDegrees(-1e300), std::numeric_limits<int>::min());
    const auto reply = OpenMeteo::decode(R"({"current":{"temperature_2m":1e308,"weather_code":0},
        "daily":{"temperature_2m_max":[-1e308],"temperature_2m_min":[],"sunrise":[],"sunset":[]}})");
    ASSERT_TRUE(reply);
    const WeatherInfo info = WeatherService::makeInfo(*reply);
    EXPECT_EQ(info.temperature, std::numeric_limits<int>::max());
    EXPECT_EQ(info.high, std::numeric_limits<int>::min());
}

TEST(WeatherTablesTest, CodesMapToSymbolsAndSummaries)
{
    const std::tuple<int, const char *, const char *> cases[] = {
        {0, "sun.max.fill", "Clear"},         {2, "cloud.sun.fill", "Partly cloudy"},
        {3, "cloud.fill", "Cloudy"},          {4, "cloud.fill", "Fair"},
        {48, "cloud.fog.fill", "Fog"},        {53, "cloud.rain.fill", "Drizzle"},
        {81, "cloud.rain.fill", "Rain"},      {86, "cloud.snow.fill", "Snow"},
        {99, "cloud.bolt.rain.fill", "Storms"},
    };
    for (const auto &[code, symbol, summary] : cases) {
        EXPECT_EQ(WeatherService::symbol(code), symbol) << code;
        EXPECT_EQ(WeatherService::summary(code), summary) << code;
    }
}

TEST(WeatherTablesTest, SunTimesWithAndWithoutZone)
{
    EXPECT_EQ(WeatherService::sunText(QString("2024-06-01T05:48")), "05:48");
    EXPECT_EQ(WeatherService::sunText(QString("2024-06-01")), "—");
    EXPECT_EQ(WeatherService::sunText(std::nullopt), "—");
    const QDateTime zoned(QDate(2024, 6, 1), QTime(5, 48), QTimeZone::utc());
    EXPECT_EQ(WeatherService::sunText(QString("2024-06-01T05:48:00Z")),
              QLocale().toString(zoned.toLocalTime().time(), QLocale::ShortFormat));
}

TEST(WeatherRequestTest, QueryItemsInOrderWithShortestNumbers)
{
    const QUrl url = WeatherService::forecastUrl(QUrl("http://127.0.0.1:8080"), GeoCoordinate(52.0, -0.1275));
    EXPECT_EQ(url.toString(), "http://127.0.0.1:8080/v1/forecast?latitude=52.0&longitude=-0.1275"
                              "&current=temperature_2m,weather_code,relative_humidity_2m"
                              "&daily=temperature_2m_max,temperature_2m_min,sunrise,sunset"
                              "&temperature_unit=fahrenheit&forecast_days=1&timezone=auto");
    const std::pair<double, const char *> numbers[] = {
        {37.7749, "37.7749"}, {1767603600.0, "1767603600.0"}, {0.0001, "0.0001"}, {0.00001, "1e-05"},
        {1e16, "1e+16"},      {-122.4194, "-122.4194"},       {0.1 + 0.2, "0.30000000000000004"}};
    for (const auto &[value, text] : numbers)
        EXPECT_EQ(shortestDoubleText(value), text);
}

class WeatherLocationTest : public PavletTest {
protected:
    FakeLocationProvider location;
    FakeReverseGeocoder geocoder;
    void SetUp() override
    {
        PavletTest::SetUp();
        // The forecast host is unreachable here: these tests stop at the location.
        service = std::make_unique<WeatherService>(QUrl("http://127.0.0.1:9"), &location, &geocoder, nullptr,
                                                 scheduler.get());
    }
    std::unique_ptr<WeatherService> service;

    std::optional<std::optional<GeoCoordinate>> resolve()
    {
        std::optional<std::optional<GeoCoordinate>> result;
        service->resolveLocation(true, [&result](std::optional<GeoCoordinate> where) { result = where; });
        return result;
    }
};

TEST_F(WeatherLocationTest, EveryRefreshAsksWhereTheMachineIsNow)
{
    location.known = GeoCoordinate(48.85, 2.35); // Paris, where it was
    std::optional<std::optional<GeoCoordinate>> first;
    service->resolveLocation(true, [&](std::optional<GeoCoordinate> w) { first = w; });
    EXPECT_FALSE(first) << "a fresh position is asked for, not the last one used";
    ASSERT_EQ(location.requests.size(), 1u);
    EXPECT_EQ(resolve(), std::optional(std::optional(GeoCoordinate(48.85, 2.35))))
        << "while that request is on its way the last position known will do";
    EXPECT_EQ(location.requests.size(), 1u);

    // The laptop travelled: the fresh answer is the new city.
    location.requests[0](GeoCoordinate(45.76, 4.84));
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, GeoCoordinate(45.76, 4.84));

    // A request that fails falls back to the last position learnt.
    std::optional<std::optional<GeoCoordinate>> third;
    service->resolveLocation(true, [&](std::optional<GeoCoordinate> w) { third = w; });
    ASSERT_EQ(location.requests.size(), 2u) << "the next refresh asks again";
    location.requests[1](std::nullopt);
    ASSERT_TRUE(third);
    EXPECT_EQ(*third, GeoCoordinate(45.76, 4.84));

    location.authorized = false;
    auto result = resolve();
    ASSERT_TRUE(result);
    EXPECT_FALSE(*result);

    std::optional<std::optional<WeatherInfo>> weather;
    service->fetch(false, [&](std::optional<WeatherInfo> w) { weather = w; });
    ASSERT_TRUE(weather);
    EXPECT_FALSE(*weather);
}

TEST_F(WeatherLocationTest, ARequestEndsWithThePositionOrAfterThirtySeconds)
{
    std::optional<std::optional<GeoCoordinate>> first;
    service->resolveLocation(true, [&](std::optional<GeoCoordinate> w) { first = w; });
    ASSERT_EQ(location.requests.size(), 1u);
    location.requests[0](GeoCoordinate(1, 2));
    ASSERT_TRUE(first && *first);
    EXPECT_EQ(**first, GeoCoordinate(1, 2));

    std::optional<std::optional<GeoCoordinate>> second;
    service->resolveLocation(true, [&](std::optional<GeoCoordinate> w) { second = w; });
    scheduler->advance(29999);
    EXPECT_FALSE(second);
    scheduler->advance(1);
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, GeoCoordinate(1, 2)) << "no fresh position in time: the last one";
    // The provider answering late changes nothing.
    location.requests[1](GeoCoordinate(3, 4));
    EXPECT_EQ(*second, GeoCoordinate(1, 2));
}

TEST_F(WeatherLocationTest, ANewRequestEndsTheEarlierWait)
{
    std::optional<std::optional<GeoCoordinate>> first, second;
    service->resolveLocation(true, [&](std::optional<GeoCoordinate> w) { first = w; });
    service->resolveLocation(true, [&](std::optional<GeoCoordinate> w) { second = w; });
    ASSERT_TRUE(first);
    EXPECT_FALSE(*first);
    EXPECT_FALSE(second);
    location.requests[0](GeoCoordinate(9, 9));
    EXPECT_FALSE(second) << "the first request's late answer is not the second's";
    location.requests[1](GeoCoordinate(5, 6));
    ASSERT_TRUE(second && *second);
    EXPECT_EQ(**second, GeoCoordinate(5, 6));
    EXPECT_EQ(scheduler->pendingCount(), 0);
}

TEST_F(WeatherLocationTest, PlaceNameFallsBackToLocal)
{
    QString name;
    service->placeName(GeoCoordinate(1, 1), [&](QString n) { name = n; });
    EXPECT_EQ(name, "Local");
    geocoder.name = "Lyon";
    service->placeName(GeoCoordinate(1, 1), [&](QString n) { name = n; });
    EXPECT_EQ(name, "Lyon");
}

} // namespace
