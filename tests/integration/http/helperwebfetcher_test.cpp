#include "platform/linux/helperwebfetcher.h"
#include "support/localhttpserver.h"
#include "support/pavlettest.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>
#include <optional>

using platform::HelperWebFetcher;
using platform::WebAnswer;

namespace {

// One fetch through the helper, waited for.
struct Fetched {
    std::optional<WebAnswer> answer;
    bool waitFor() { return waitUntil([&] { return answer.has_value(); }, 20000); }
};

std::function<void(const WebAnswer &)> into(Fetched &f)
{
    return [&f](const WebAnswer &a) { f.answer = a; };
}

int helperProcesses(HelperWebFetcher &fetcher)
{
    int running = 0;
    for (QProcess *p : fetcher.findChildren<QProcess *>())
        running += p->state() != QProcess::NotRunning;
    return running;
}

} // namespace

// The helper's answers come back as the server gave them: status, body and
// the headers asked for; a refused connection and an over-long body as
// errors, not as answers.
TEST(HelperWebFetcherTest, AnswersAsTheServerGaveThem)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.listen());
    server.setReply("/update.json", LocalHttpServer::json(R"({"version":"2.0.0"})"));
    server.setReply("/gone", LocalHttpServer::json("missing", 404));
    LocalHttpServer::Reply huge = LocalHttpServer::json(QByteArray(HelperWebFetcher::MaxBody + 10, 'x'));
    server.setReply("/huge", huge);
    HelperWebFetcher fetcher;

    Fetched ok, missing, tooLong;
    fetcher.get(server.url("/update.json"), {{"Accept", "application/json"}}, into(ok));
    fetcher.get(server.url("/gone"), {}, into(missing));
    fetcher.get(server.url("/huge"), {}, into(tooLong));
    ASSERT_TRUE(ok.waitFor() && missing.waitFor() && tooLong.waitFor());

    EXPECT_EQ(ok.answer->error, QNetworkReply::NoError);
    EXPECT_EQ(ok.answer->status, 200);
    EXPECT_EQ(ok.answer->body, R"({"version":"2.0.0"})");
    bool askedForJson = false;
    for (const LocalHttpServer::Request &r : server.requests())
        askedForJson |= r.path == "/update.json" && r.header("Accept") == "application/json";
    EXPECT_TRUE(askedForJson);

    EXPECT_EQ(missing.answer->error, QNetworkReply::ContentNotFoundError);
    EXPECT_EQ(missing.answer->status, 404);
    EXPECT_EQ(missing.answer->body, "missing");

    EXPECT_EQ(tooLong.answer->error, QNetworkReply::UnknownContentError);
    EXPECT_TRUE(tooLong.answer->body.isEmpty());

    const QUrl refused = server.url("/update.json");
    server.close();
    Fetched closed;
    fetcher.get(refused, {}, into(closed));
    ASSERT_TRUE(closed.waitFor());
    EXPECT_EQ(closed.answer->error, QNetworkReply::ConnectionRefusedError);
    EXPECT_FALSE(closed.answer->status);
    EXPECT_TRUE(waitUntil([&] { return helperProcesses(fetcher) == 0; }));
}

// A cancelled fetch never answers and leaves no helper running; a helper
// that cannot start, or prints what is not an answer, is a failure rather
// than a hang or an empty success.
TEST(HelperWebFetcherTest, CancelledMissingAndGarbledHelpers)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.listen());
    LocalHttpServer::Reply never;
    never.delayMs = -1;
    server.setDefaultReply(never);
    HelperWebFetcher fetcher;
    Fetched held;
    const quint64 id = fetcher.get(server.url("/update.json"), {}, into(held));
    ASSERT_TRUE(waitUntil([&] { return server.requestCount() == 1; }, 20000)) << "the helper never asked";
    fetcher.cancel(id);
    EXPECT_TRUE(waitUntil([&] { return helperProcesses(fetcher) == 0; }));
    EXPECT_FALSE(held.answer);

    // Cancelled before its helper even started.
    Fetched early;
    fetcher.cancel(fetcher.get(server.url("/update.json"), {}, into(early)));
    EXPECT_TRUE(waitUntil([&] { return helperProcesses(fetcher) == 0; }));
    EXPECT_EQ(server.requestCount(), 1);
    EXPECT_FALSE(early.answer);

    HelperWebFetcher missingHelper(QDir::temp().filePath("no-such-pavlet-fetch"));
    Fetched lost;
    missingHelper.get(server.url("/update.json"), {}, into(lost));
    ASSERT_TRUE(lost.waitFor());
    EXPECT_EQ(lost.answer->error, QNetworkReply::ProtocolFailure);
    EXPECT_FALSE(lost.answer->status);

    for (const QByteArray &garbled : {QByteArray(), QByteArray("200\n"), QByteArray("x 200\nbody"),
                                      QByteArray("0 OK\nbody"), QByteArray("-3 200\n")}) {
        const WebAnswer a = platform::parseFetchOutput(garbled);
        EXPECT_EQ(a.error, QNetworkReply::ProtocolFailure) << garbled.toStdString();
        EXPECT_FALSE(a.status) << garbled.toStdString();
    }
    const WebAnswer plain = platform::parseFetchOutput("0 200\nline one\nline two");
    EXPECT_EQ(plain.error, QNetworkReply::NoError);
    EXPECT_EQ(plain.status, 200);
    EXPECT_EQ(plain.body, "line one\nline two");
}
