#include "fakes/fakeclipboard.h"
#include "support/localhttpserver.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"
#include "tools/translatorengine.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QUrlQuery>

namespace {

class TranslatorHttpTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        ASSERT_TRUE(server.listen());
        engine = std::make_unique<TranslatorEngine>(&clipboard, server.baseUrl());
    }
    void translate(const QString &text)
    {
        engine->setInput(text);
        engine->translate();
        ASSERT_TRUE(waitUntil([&] { return !engine->busy(); }, 10000));
    }

    LocalHttpServer server;
    FakeClipboard clipboard;
    std::unique_ptr<TranslatorEngine> engine;
};

TEST_F(TranslatorHttpTest, SendsTheTrimmedTextWithEveryCharacterIntact)
{
    server.setReply("/translate_a/single", LocalHttpServer::json(R"([[["Bonjour",null]],null,"fr"])"));
    translate("  1+1 = 2 & c'est #1 ü\n");
    ASSERT_EQ(server.requestCount(), 1);
    const auto request = server.lastRequest();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.path, "/translate_a/single");
    const QStringList keys = [&] {
        QStringList k;
        for (const auto &item : QUrlQuery(request.query).queryItems())
            k.append(item.first);
        return k;
    }();
    EXPECT_EQ(keys, (QStringList{"client", "sl", "tl", "dt", "q"}));
    EXPECT_TRUE(request.query.startsWith("client=gtx&sl=auto&tl=es&dt=t&q="));
    // "+" is encoded, so no server reads it as a space.
    EXPECT_FALSE(request.query.contains(u'+'));
    EXPECT_EQ(QUrl::fromPercentEncoding(request.query.section("q=", 1).toUtf8()), "1+1 = 2 & c'est #1 ü");
    EXPECT_EQ(engine->input(), "  1+1 = 2 & c'est #1 ü\n");

    EXPECT_EQ(engine->output(), "Bonjour");
    EXPECT_EQ(engine->detected(), "fr");
    EXPECT_EQ(engine->status(), "Google Translate");
    EXPECT_EQ(engine->sourceLabel(), "Detect \u00B7 French");
    EXPECT_EQ(engine->pairLabel(), "French \u2192 Spanish");

    // Swapping after detection turns the detected language into the target.
    engine->swapLanguages();
    EXPECT_EQ(engine->source(), "es");
    EXPECT_EQ(engine->target(), "fr");
    EXPECT_EQ(engine->detected(), "");
    EXPECT_EQ(engine->input(), "Bonjour");
}

TEST_F(TranslatorHttpTest, RepliesThatCannotBeReadAndErrorStatuses)
{
    server.setReply("/translate_a/single", LocalHttpServer::json("<html>busy</html>", 503));
    translate("hello");
    EXPECT_EQ(engine->output(), "Couldn't read that");
    EXPECT_EQ(engine->status(), "Google Translate");

    // An error status still has its body read, whatever code Qt files it
    // under (400 comes as a protocol error).
    for (const int status : {429, 400}) {
        server.setReply("/translate_a/single", LocalHttpServer::json(R"([[["Hola"]],null,"en"])", status));
        translate("hello");
        EXPECT_EQ(engine->output(), "Hola") << status;
        EXPECT_EQ(engine->detected(), "en") << status;
        EXPECT_EQ(engine->status(), "Google Translate") << status;
    }
}

TEST_F(TranslatorHttpTest, AnUnreachableServerEmptiesTheOutput)
{
    server.setReply("/translate_a/single", LocalHttpServer::json(R"([[["Hola"]],null,"en"])"));
    translate("hello");
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QUrl gone(QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort()));
    closed.close();
    engine = std::make_unique<TranslatorEngine>(&clipboard, gone);
    translate("hello");
    EXPECT_EQ(engine->output(), "");
    EXPECT_EQ(engine->status(), "Couldn't reach Translate");
}

TEST_F(TranslatorHttpTest, OnlyTheLatestRequestsReplyIsApplied)
{
    server.setHandler([](const LocalHttpServer::Request &request, LocalHttpServer::Reply &reply) {
        const QString q = QUrlQuery(request.query).queryItemValue("q", QUrl::FullyDecoded);
        reply = LocalHttpServer::json(q == "old" ? R"([[["viejo"]],null,"en"])" : R"([[["nuevo"]],null,"en"])");
        // The older request is answered last.
        reply.delayMs = q == "old" ? 600 : 50;
        return true;
    });
    QSignalSpy busy(engine.get(), &TranslatorEngine::busyChanged);
    engine->setInput("old");
    engine->translate();
    engine->setInput("new");
    engine->translate();
    EXPECT_TRUE(engine->busy());
    ASSERT_TRUE(waitUntil([&] { return !engine->busy(); }, 10000));
    EXPECT_EQ(engine->output(), "nuevo");
    EXPECT_EQ(busy.count(), 2); // up once, down once
    // The late reply to the old request changes nothing.
    ASSERT_TRUE(waitUntil([&] { return server.requestCount() == 2; }));
    waitUntil([] { return false; }, 800);
    EXPECT_EQ(engine->output(), "nuevo");
    EXPECT_FALSE(engine->busy());
}

} // namespace
