#include "support/localhttpserver.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"
#include "tools/speedtestengine.h"

#include <QSignalSpy>
#include <QUrlQuery>

namespace {

using Phase = SpeedTestEngine::Phase;

// A speed test against a server on 127.0.0.1. The server moves the fake
// clock as if each request took a set time, so every timing is exact.
class SpeedTestHttpTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        ASSERT_TRUE(server.listen());
        server.setHandler([this](const LocalHttpServer::Request &request, LocalHttpServer::Reply &reply) {
            return answer(request, reply);
        });
    }

    std::unique_ptr<SpeedTestEngine> make(SpeedTestConfig config = {})
    {
        config.mainBase = server.baseUrl();
        config.speedBase = server.baseUrl();
        return std::make_unique<SpeedTestEngine>(&clock, scheduler.get(), config);
    }

    bool answer(const LocalHttpServer::Request &request, LocalHttpServer::Reply &reply)
    {
        reply.contentType = "text/plain";
        if (request.path == "/cdn-cgi/trace") {
            const int i = pings++;
            clock.advanceMs(pingMs.value(i, 10));
            reply.status = pingStatus;
            reply.body = "fl=1\n";
        } else if (request.path == "/__down") {
            downloads.append(QUrlQuery(request.query).queryItemValue("bytes"));
            clock.advanceMs(downloadMs);
            reply.status = downloadStatus;
            reply.body = downloadBody;
        } else if (request.path == "/__up") {
            uploadBodies.append(request.body.size());
            clock.advanceMs(uploadMs);
            reply.status = uploadStatus;
        } else {
            return false;
        }
        if (hang)
            reply.delayMs = -1;
        return true;
    }

    void waitForEnd(SpeedTestEngine &engine)
    {
        ASSERT_TRUE(waitUntil([&] { return engine.phase() != Phase::running; }, 20000));
    }

    LocalHttpServer server;
    QList<qint64> pingMs{100, 30, 12, 18};
    int pings = 0;
    int pingStatus = 200, downloadStatus = 200, uploadStatus = 200;
    qint64 downloadMs = 4000, uploadMs = 3000;
    QByteArray downloadBody = QByteArray(1000, 'x');
    QStringList downloads;
    QList<qsizetype> uploadBodies;
    bool hang = false;
};

TEST_F(SpeedTestHttpTest, ARunMeasuresPingDownloadAndUpload)
{
    auto engine = make();
    engine->start();
    waitForEnd(*engine);
    ASSERT_EQ(engine->phase(), Phase::done);
    // The first ping is never a sample: the middle of 30, 12 and 18.
    EXPECT_EQ(engine->pingMS(), 18.0);
    // Window 20 - 0.16 = 19.84 s: download for 11.5072 s in 4 s requests,
    // upload for 8.3328 s in 3 s requests.
    EXPECT_EQ(downloads, (QStringList{"4000000", "4000000", "4000000"}));
    EXPECT_DOUBLE_EQ(*engine->downloadMbps(), 3000.0 * 8 / 12 / 1e6);
    EXPECT_EQ(uploadBodies, (QList<qsizetype>{512000, 512000, 512000}));
    EXPECT_DOUBLE_EQ(*engine->uploadMbps(), 3 * 512000.0 * 8 / 9 / 1e6);
    EXPECT_EQ(engine->progress(), 1.0);
    EXPECT_EQ(engine->remaining(), 0);

    for (const auto &request : server.requests()) {
        EXPECT_EQ(request.header("user-agent"), "Pavlet/0.1.2");
        EXPECT_EQ(request.method, request.path == "/__up" ? "POST" : "GET");
        if (request.path == "/__up") {
            EXPECT_EQ(request.header("content-type"), "application/octet-stream");
            EXPECT_EQ(request.body, QByteArray(512000, '\0'));
        }
    }
}

TEST_F(SpeedTestHttpTest, ALongPingKeepsTheLeastWindowAndShrinksTheLastRequests)
{
    // 9 s of pinging leaves a 12 s window: 6.96 s down, 5.04 s up.
    pingMs = {3000, 2000, 2000, 2000};
    downloadMs = 6000;
    uploadMs = 6000;
    auto engine = make();
    engine->start();
    waitForEnd(*engine);
    ASSERT_EQ(engine->phase(), Phase::done);
    EXPECT_EQ(engine->pingMS(), 2000.0);
    EXPECT_EQ(downloads, (QStringList{"4000000", "1000000"}));
    EXPECT_EQ(uploadBodies.size(), 1);
}

TEST_F(SpeedTestHttpTest, ASmallBudgetAsksForSmallBodiesFromTheStart)
{
    SpeedTestConfig config;
    config.nominalSeconds = 2;
    config.leastWindowSeconds = 1;
    pingMs = {0, 0, 0, 0};
    downloadMs = 700;
    uploadMs = 1000;
    auto engine = make(config);
    engine->start();
    waitForEnd(*engine);
    ASSERT_EQ(engine->phase(), Phase::done);
    EXPECT_EQ(downloads, (QStringList{"1000000", "1000000"}));
}

struct Acceptance {
    const char *what;
    int ping, download, upload;
    QByteArray body;
    Phase phase;
};

class SpeedTestAcceptanceTest : public SpeedTestHttpTest, public ::testing::WithParamInterface<Acceptance> {};

TEST_P(SpeedTestAcceptanceTest, JudgesEachReply)
{
    const Acceptance c = GetParam();
    pingStatus = c.ping;
    downloadStatus = c.download;
    uploadStatus = c.upload;
    downloadBody = c.body;
    auto engine = make();
    engine->start();
    waitForEnd(*engine);
    EXPECT_EQ(engine->phase(), c.phase) << c.what;
    if (c.phase == Phase::failed) {
        EXPECT_EQ(engine->failureMessage(), "Couldn't reach the network");
        // Nothing measured before the failure shows.
        EXPECT_EQ(engine->pingMS(), std::nullopt);
        EXPECT_EQ(engine->downloadMbps(), std::nullopt);
        EXPECT_EQ(engine->progress(), 0.0);
        EXPECT_EQ(engine->remaining(), 20);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpeedTestAcceptanceTest,
    ::testing::Values(Acceptance{"ping 204", 204, 200, 200, "x", Phase::done},
                      Acceptance{"ping 304", 304, 200, 200, "x", Phase::done},
                      Acceptance{"ping 404", 404, 200, 200, "x", Phase::failed},
                      Acceptance{"download 204", 200, 204, 200, "", Phase::failed},
                      Acceptance{"download 206", 200, 206, 200, "x", Phase::failed},
                      Acceptance{"download empty 200", 200, 200, 200, "", Phase::failed},
                      Acceptance{"download 500", 200, 500, 200, "x", Phase::failed},
                      Acceptance{"upload 204", 200, 200, 204, "x", Phase::done},
                      Acceptance{"upload 304", 200, 200, 304, "x", Phase::done},
                      Acceptance{"upload 400", 200, 200, 400, "x", Phase::failed}));

TEST_F(SpeedTestHttpTest, TheTickerCountsDownWhileARequestIsOut)
{
    hang = true;
    pingMs = {0};
    auto engine = make();
    engine->start();
    ASSERT_TRUE(waitUntil([&] { return server.requestCount() == 1; }));
    EXPECT_EQ(engine->remaining(), 20);
    scheduler->advance(900);
    EXPECT_EQ(engine->remaining(), 20);
    EXPECT_NEAR(engine->progress(), 0.045, 1e-9);
    scheduler->advance(100);
    EXPECT_EQ(engine->remaining(), 19);
    scheduler->advance(18000);
    EXPECT_EQ(engine->remaining(), 1);

    // A second start while running changes nothing.
    engine->start();
    EXPECT_EQ(server.requestCount(), 1);

    // Our own cancel is a cancellation, not a network failure.
    engine->cancel();
    EXPECT_EQ(engine->phase(), Phase::idle);
    EXPECT_EQ(engine->progress(), 0.0);
    EXPECT_EQ(engine->remaining(), 20);
    QCoreApplication::processEvents();
    EXPECT_EQ(engine->phase(), Phase::idle);
    scheduler->advance(5000);
    EXPECT_EQ(engine->remaining(), 20);
}

TEST_F(SpeedTestHttpTest, ARequestOverItsTimeLimitFailsTheRun)
{
    hang = true;
    auto engine = make();
    engine->start();
    ASSERT_TRUE(waitUntil([&] { return server.requestCount() == 1; }));
    scheduler->advance(20000);
    waitForEnd(*engine);
    EXPECT_EQ(engine->phase(), Phase::failed);
}

TEST_F(SpeedTestHttpTest, ACancelledRunNeverWritesOverTheNextOne)
{
    hang = true;
    auto engine = make();
    engine->start();
    ASSERT_TRUE(waitUntil([&] { return server.requestCount() == 1; }));
    engine->cancel();

    hang = false;
    QSignalSpy phases(engine.get(), &SpeedTestEngine::phaseChanged);
    engine->start();
    waitForEnd(*engine);
    EXPECT_EQ(engine->phase(), Phase::done);
    EXPECT_EQ(phases.count(), 2); // running, done: nothing from the old run
    QCoreApplication::processEvents();
    EXPECT_EQ(engine->phase(), Phase::done);

    // Cancel after a completed run keeps it; a new start clears the results
    // before any request goes out.
    engine->cancel();
    EXPECT_EQ(engine->phase(), Phase::done);
    EXPECT_TRUE(engine->pingMS().has_value());
    hang = true;
    const int before = server.requestCount();
    QSignalSpy results(engine.get(), &SpeedTestEngine::resultsChanged);
    engine->start();
    EXPECT_EQ(results.count(), 1);
    EXPECT_EQ(engine->pingMS(), std::nullopt);
    EXPECT_EQ(engine->uploadMbps(), std::nullopt);
    EXPECT_EQ(server.requestCount(), before);
    engine->cancel();
}

TEST(SpeedTestMathTest, WindowRateAndRemaining)
{
    const SpeedTestConfig config;
    EXPECT_DOUBLE_EQ(SpeedTestEngine::window(1.2, config), 18.8);
    EXPECT_DOUBLE_EQ(SpeedTestEngine::window(9, config), 12);
    EXPECT_DOUBLE_EQ(SpeedTestEngine::window(8, config), 12);
    EXPECT_DOUBLE_EQ(SpeedTestEngine::rate(20000000, 8), 20);
    EXPECT_DOUBLE_EQ(SpeedTestEngine::rate(1000, 0), 8);
    EXPECT_EQ(SpeedTestEngine::remainingFor(0, 20), 20);
    EXPECT_EQ(SpeedTestEngine::remainingFor(0.999, 20), 20);
    EXPECT_EQ(SpeedTestEngine::remainingFor(1, 20), 19);
    EXPECT_EQ(SpeedTestEngine::remainingFor(19.5, 20), 1);
    EXPECT_EQ(SpeedTestEngine::remainingFor(20, 20), 0);
    EXPECT_EQ(SpeedTestEngine::remainingFor(31, 20), 0);
}

} // namespace
