#include "support/islandtest.h"
#include "support/localhttpserver.h"

#include "canvas/canvasservice.h"
#include "core/localeformats.h"
#include "core/userdefaults.h"
#include "store/appsettings.h"

#include <QBuffer>
#include <QImage>

// A Canvas server and an update host on 127.0.0.1 over TLS.
class CanvasUpdateTest : public IslandTest {
protected:
    void SetUp() override
    {
        LocalHttpServer::trustTestCertificate();
        ASSERT_TRUE(server.listenTls());
        updateBase = server.baseUrl();
        IslandTest::SetUp();
        make();
    }
    void connectAccount() { fakes->credentials.save(server.baseUrl().toString(), QStringLiteral("token")); }
    void serve(const QString &path, const QByteArray &body, int status = 200)
    {
        server.setReply(path, LocalHttpServer::json(body, status));
    }
    // Refreshes Canvas and waits for the answer.
    void refresh()
    {
        bool done = false;
        model->refreshCanvas([&] { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }));
    }
    void offerUpdate()
    {
        serve(QStringLiteral("/update.json"),
              R"({"version":"9.0.0","build":1,"url":")" + server.url("/Pavlet.dmg").toString().toUtf8()
                  + R"(","sha256":")" + QByteArray(64, 'a') + R"(","notes":""})");
        fakes->updater.check(true);
        ASSERT_TRUE(waitUntil([&] { return fakes->updater.wantsPrompt(); }));
    }
    QString status() const { return fakes->settings.canvasStatus(); }
    // Signed in as Ada with one overdue essay on the board.
    void boardWithOneEssay()
    {
        connectAccount();
        serve(UserPath, R"({"name":"Ada"})");
        serve(MissingPath, R"([{"id":1,"name":"Essay"}])");
        serve(PlannerPath, "[]");
        refresh();
    }

    const QString UserPath = QStringLiteral("/api/v1/users/self");
    const QString MissingPath = QStringLiteral("/api/v1/users/self/missing_submissions");
    const QString PlannerPath = QStringLiteral("/api/v1/planner/items");
    LocalHttpServer server;
};

TEST_F(CanvasUpdateTest, CanvasStatusTexts)
{
    refresh();
    EXPECT_EQ(status(), QStringLiteral("Not connected"));
    EXPECT_FALSE(model->canvasUserName());

    connectAccount();
    serve(UserPath, "{}", 500);
    serve(MissingPath, "[]");
    serve(PlannerPath, "[]");
    refresh();
    EXPECT_EQ(status(), QStringLiteral("Token loaded · no open work"));

    serve(UserPath, R"({"name":"  Ada   Lovelace"})");
    refresh();
    EXPECT_EQ(status(), QStringLiteral("Connected as   Ada   Lovelace"));
    EXPECT_EQ(model->canvasFirstName(), QStringLiteral("Ada"));
    clock.setNow(QDateTime(QDate(2026, 3, 2), QTime(17, 0)));
    EXPECT_EQ(model->greeting(), QStringLiteral("Good evening, Ada"));

    // No name this time but open work: the text and name stay.
    serve(UserPath, "{}", 500);
    serve(MissingPath, R"([{"id":1,"name":"Essay","html_url":"https://school.example/a/1"}])");
    refresh();
    EXPECT_EQ(status(), QStringLiteral("Connected as   Ada   Lovelace"));
    EXPECT_TRUE(model->canvasUserName());
}

TEST_F(CanvasUpdateTest, ARejectedTokenSaysSoAndKeepsTheBoard)
{
    boardWithOneEssay();
    ASSERT_EQ(model->canvasBoard().overdue.size(), 1);

    // Canvas answers a bad token with either of two bodies.
    for (const QByteArray &body : {QByteArray(R"({"errors":[{"message":"Invalid access token."}]})"),
                                  QByteArray(R"({"status":"unauthenticated","errors":[{"message":"user authorization required"}]})")}) {
        LocalHttpServer::Reply refused = LocalHttpServer::json(body, 401);
        refused.headers.append(qMakePair(QByteArray("WWW-Authenticate"), QByteArray(R"(Bearer realm="canvas-lms")")));
        for (const QString &path : {UserPath, MissingPath, PlannerPath})
            server.setReply(path, refused);
        refresh();
        EXPECT_TRUE(status().startsWith(QStringLiteral("Token rejected · last loaded "))) << body.constData();
        EXPECT_TRUE(fakes->settings.canvasStatusFailed());
        EXPECT_EQ(model->canvasBoard().overdue.size(), 1) << body.constData();
        ASSERT_TRUE(model->nextAssignment());
    }
}

TEST_F(CanvasUpdateTest, AFailedRefreshKeepsTheBoardAndSaysCanvasCouldNotBeLoaded)
{
    // Started while the server answers 500: no "all caught up", no "no open work".
    connectAccount();
    for (const QString &path : {UserPath, MissingPath, PlannerPath})
        serve(path, R"({"errors":[{"message":"An error occurred."}]})", 500);
    refresh();
    EXPECT_EQ(status(), QStringLiteral("Couldn't load Canvas"));
    EXPECT_EQ(model->canvasProblem(), status());

    // Ada with one overdue essay and a reading due today, loaded at 14:05.
    clock.setNow(QDateTime(QDate(2026, 3, 2), QTime(14, 5)));
    const QByteArray tonight = QDateTime(QDate(2026, 3, 2), QTime(20, 0)).toUTC().toString(Qt::ISODate).toUtf8();
    serve(UserPath, R"({"name":"Ada Lovelace"})");
    serve(MissingPath, R"([{"id":1,"name":"Essay"}])");
    serve(PlannerPath, R"([{"plannable_id":2,"plannable_type":"assignment",
                           "plannable":{"title":"Reading","due_at":")" + tonight + R"("}}])");
    refresh();
    ASSERT_EQ(status(), QStringLiteral("Connected as Ada Lovelace"));
    EXPECT_FALSE(fakes->settings.canvasStatusFailed());
    EXPECT_TRUE(model->canvasProblem().isEmpty());
    ASSERT_EQ(model->canvasBoard().dueToday.size(), 1);
    const CanvasBoard loaded = model->canvasBoard();
    const QString loadedAt = QLocale().toString(QTime(14, 5), LocaleFormats::hourMinute(QLocale()));
    clock.setNow(QDateTime(QDate(2026, 3, 2), QTime(15, 30)));

    const QByteArray loginPage = "<!DOCTYPE html><html><head><title>Log In to Canvas</title></head>"
                                 "<body><form action=\"/login/canvas\"></form></body></html>";
    struct Case {
        const char *what;
        std::function<void()> breakIt;
    };
    const Case cases[] = {
        {"500 everywhere", [&] {
             for (const QString &path : {UserPath, MissingPath, PlannerPath})
                 serve(path, "{}", 500);
         }},
        {"500 on the planner alone", [&] {
             serve(UserPath, R"({"name":"Ada Lovelace"})");
             serve(MissingPath, R"([{"id":1,"name":"Essay"}])");
             serve(PlannerPath, "{}", 500);
         }},
        {"not JSON", [&] {
             for (const QString &path : {UserPath, MissingPath, PlannerPath})
                 serve(path, "[{\"id\":1,");
         }},
        {"a log-in page", [&] {
             LocalHttpServer::Reply page = LocalHttpServer::json(loginPage);
             page.contentType = "text/html";
             for (const QString &path : {UserPath, MissingPath, PlannerPath})
                 server.setReply(path, page);
         }},
    };
    for (const Case &c : cases) {
        c.breakIt();
        refresh();
        EXPECT_EQ(status(), QStringLiteral("Couldn't load Canvas · last loaded ") + loadedAt) << c.what;
        EXPECT_TRUE(fakes->settings.canvasStatusFailed()) << c.what;
        EXPECT_EQ(model->canvasProblem(), status()) << c.what;
        EXPECT_EQ(model->canvasBoard(), loaded) << c.what;
        EXPECT_EQ(model->canvasFirstName(), QStringLiteral("Ada")) << c.what;
    }

    // The next refresh that gets through gives back the usual texts.
    serve(UserPath, "{}", 500);
    serve(MissingPath, R"([{"id":1,"name":"Essay"}])");
    serve(PlannerPath, "[]");
    refresh();
    EXPECT_EQ(status(), QStringLiteral("Connected as Ada Lovelace"));
    EXPECT_FALSE(fakes->settings.canvasStatusFailed());
    EXPECT_TRUE(model->canvasProblem().isEmpty());
    EXPECT_TRUE(model->canvasBoard().dueToday.isEmpty());
}

TEST_F(CanvasUpdateTest, AServerOutOfReachKeepsTheBoardAndSaysSo)
{
    boardWithOneEssay();
    ASSERT_EQ(model->canvasBoard().overdue.size(), 1);
    ASSERT_EQ(status(), QStringLiteral("Connected as Ada"));

    // Nothing answers on that port; then a server that hangs up mid-reply.
    struct Case {
        const char *what;
        std::function<void()> breakIt;
    };
    const Case cases[] = {
        {"no server", [&] { fakes->credentials.save(QStringLiteral("https://127.0.0.1:9"), QStringLiteral("token")); }},
        {"cut replies",
         [&] {
             connectAccount();
             LocalHttpServer::Reply cut = LocalHttpServer::json(R"([{"id":1,"name":"Essay"}])");
             cut.cutAfter = 3;
             for (const QString &path : {UserPath, MissingPath, PlannerPath})
                 server.setReply(path, cut);
         }},
    };
    for (const Case &c : cases) {
        c.breakIt();
        refresh();
        EXPECT_TRUE(status().startsWith(QStringLiteral("Couldn't load Canvas · last loaded "))) << c.what;
        EXPECT_EQ(model->canvasBoard().overdue.size(), 1) << c.what;
        EXPECT_TRUE(model->nextAssignment()) << c.what;
    }

    // The next refresh that gets through says what the server says.
    connectAccount();
    serve(UserPath, "{}", 500);
    serve(MissingPath, "[]");
    serve(PlannerPath, "[]");
    refresh();
    EXPECT_EQ(status(), QStringLiteral("Token loaded · no open work"));
    EXPECT_TRUE(model->canvasBoard().overdue.isEmpty());
}

TEST_F(CanvasUpdateTest, AnotherSchoolClearsTheBoardAndGreetingAtOnce)
{
    boardWithOneEssay();
    ASSERT_EQ(model->canvasFirstName(), QStringLiteral("Ada"));

    // The same school saved again keeps what it showed.
    fakes->settings.setCanvasBaseURL(server.baseUrl().toString());
    fakes->settings.saveCanvasCredentials();
    ASSERT_TRUE(waitUntil([&] { return fakes->settings.canvasSaveState() == AppSettings::CanvasSave::Idle; }));
    model->canvasCredentialsDidChange();
    EXPECT_EQ(model->canvasBoard().overdue.size(), 1);

    // Another school, saved without its token.
    fakes->settings.setCanvasBaseURL(QStringLiteral("https://127.0.0.1:9"));
    fakes->settings.saveCanvasCredentials();
    ASSERT_TRUE(waitUntil([&] { return fakes->settings.canvasSaveState() == AppSettings::CanvasSave::Idle; }));
    bool done = false;
    model->canvasCredentialsDidChange();
    EXPECT_TRUE(model->canvasBoard().isEmpty());
    EXPECT_FALSE(model->nextAssignment());
    EXPECT_FALSE(model->canvasUserName());
    EXPECT_FALSE(model->greeting().contains(QStringLiteral("Ada")));
    model->refreshCanvas([&] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    EXPECT_EQ(status(), QStringLiteral("Paste the token for 127.0.0.1:9")) << "the first school's token is not its";
    EXPECT_TRUE(fakes->settings.canvasStatusFailed()) << "a request for the token is a failure";
}

// Loaded at 23:58:30 with work due tonight and tomorrow: at midnight the
// greeting, labels and sections move on to the new day by themselves.
TEST_F(CanvasUpdateTest, LabelsAndGreetingFollowTheLocalDayAcrossMidnight)
{
    EXPECT_TRUE(model->canvasLoading());
    clock.setNow(QDateTime(QDate(2026, 3, 2), QTime(23, 58, 30)));
    const auto item = [](int id, int day, int hour) {
        return R"({"plannable_type":"assignment","plannable":{"title":"T","due_at":")"
               + QDateTime(QDate(2026, 3, day), QTime(hour, 59)).toUTC().toString(Qt::ISODate).toUtf8()
               + R"("},"plannable_id":)" + QByteArray::number(id) + "}";
    };
    boardWithOneEssay();
    serve(PlannerPath, "[" + item(3, 2, 23) + "," + item(4, 3, 9) + "]");
    refresh();
    EXPECT_FALSE(model->canvasLoading());
    CanvasService *service = model->canvasService();
    ASSERT_EQ(model->canvasBoard().upcoming.size(), 1);
    EXPECT_TRUE(service->dueLabel(model->canvasBoard().upcoming[0], service->day()).startsWith("Tomorrow"));
    int greetings = 0;
    QObject::connect(model.get(), &NotchViewModel::greetingChanged, [&] { ++greetings; });
    clock.advanceMs(120000);
    model->tick();
    EXPECT_EQ(greetings, 1);
    EXPECT_EQ(model->greeting(), QStringLiteral("Good morning, Ada"));
    const CanvasBoard board = model->canvasBoard();
    ASSERT_EQ(board.dueToday.size(), 1);
    EXPECT_TRUE(service->dueLabel(board.dueToday[0], service->day()).startsWith("Today"));
    EXPECT_EQ(board.overdue.size(), 2) << "the essay, and tonight's work";
}

TEST_F(CanvasUpdateTest, NextAssignmentIsTheFirstOpenWorkAndOpensOnlyWebPages)
{
    connectAccount();
    serve(MissingPath, R"([{"id":1,"name":"Essay","html_url":"https://school.example/a/1"},
                           {"id":2,"name":"Sneaky","html_url":"file:///etc/passwd"}])");
    serve(PlannerPath, "[]");
    refresh();
    ASSERT_TRUE(model->nextAssignment());
    EXPECT_EQ(model->nextAssignment()->title, QStringLiteral("Essay"));
    EXPECT_EQ(model->liveActivity().kind, LiveActivity::Kind::assignment); // overdue

    model->openAssignment();
    EXPECT_EQ(fakes->launcher.urls, QList<QUrl>{QUrl(QStringLiteral("https://school.example/a/1"))});
    CanvasAssignment sneaky = model->canvasBoard().overdue.value(1);
    sneaky.url = QUrl(QStringLiteral("file:///etc/passwd"));
    model->openAssignment(sneaky);
    CanvasAssignment none;
    model->openAssignment(none);
    EXPECT_EQ(fakes->launcher.urls.size(), 1);

    serve(MissingPath, "[]");
    refresh();
    EXPECT_FALSE(model->nextAssignment());
    model->openAssignment();
    EXPECT_EQ(fakes->launcher.urls.size(), 1);
}

TEST_F(CanvasUpdateTest, UpdateCheckComesSevenSecondsAfterStartOnceSetUp)
{
    fakes->defaults->setBool(NotchViewModel::SetupCompletedKey, true);
    model->start();
    advance(6999);
    QCoreApplication::processEvents();
    EXPECT_EQ(server.requestCount(), 0);
    model->stop();
    advance(10000);
    QCoreApplication::processEvents();
    EXPECT_EQ(server.requestCount(), 0);

    make();
    model->start();
    advance(7000);
    EXPECT_TRUE(waitUntil([&] { return server.requestCount() == 1; }));
}

TEST_F(CanvasUpdateTest, ThePromptOpensTheUpdatePanelAndClosingItSkipsTheVersion)
{
    fakes->settings.setExpandOnHover(true);
    model->openHome();
    offerUpdate();
    EXPECT_EQ(model->state(), NotchState::update);

    model->collapse();
    EXPECT_EQ(fakes->settings.skippedUpdateVersion(), QStringLiteral("9.0.0"));
    EXPECT_FALSE(fakes->updater.wantsPrompt());
    model->pointerEntered();
    advance(30);
    EXPECT_EQ(model->state(), NotchState::home);
}

TEST_F(CanvasUpdateTest, APendingPromptTakesOverHomeAndComesBackOnCollapse)
{
    model->openCalculator();
    offerUpdate();
    EXPECT_EQ(model->state(), NotchState::calculator); // a tool panel stays

    model->collapse();
    EXPECT_EQ(model->state(), NotchState::update);

    model->setEditingIsland(true);
    model->setState(NotchState::collapsed);
    model->openHome();
    EXPECT_EQ(model->state(), NotchState::home); // not while the island is edited
}

// Players whose covers lie on a local web server.
class ArtworkTest : public IslandTest {
protected:
    void SetUp() override
    {
        IslandTest::SetUp();
        ASSERT_TRUE(server.listen());
        make();
    }
    // A playing track; art is the path of its cover on the local server.
    void play(const QString &title, const QString &artist, const QString &art)
    {
        auto player = FakeMediaPlayers::player(QStringLiteral("vlc"), title, QStringLiteral("Playing"), artist);
        player.metadata.insert(QStringLiteral("mpris:artUrl"), server.url(art).toString());
        fakes->players.set(player);
    }
    // A cover answered after delayMs (negative: never).
    static LocalHttpServer::Reply cover(int delayMs = 0)
    {
        LocalHttpServer::Reply reply = LocalHttpServer::json(png());
        reply.contentType = "image/png";
        reply.delayMs = delayMs;
        return reply;
    }
    static QByteArray png()
    {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }
    int requestsFor(const QString &path) const
    {
        int n = 0;
        for (const auto &r : server.requests())
            n += r.path == path;
        return n;
    }
    LocalHttpServer server;
};

TEST_F(ArtworkTest, AMissingCoverIsAskedAFewTimesThenLeftAlone)
{
    server.setReply(QStringLiteral("/a.png"), LocalHttpServer::json("", 404));
    model->start();
    play(QStringLiteral("Song"), QStringLiteral("Band"), QStringLiteral("/a.png"));
    // Each answer arrives before time moves on, so every pause after a
    // failure is a whole one.
    for (int i = 0; i < 40; ++i) {
        advance(5000);
        ASSERT_TRUE(waitUntil([&] { return model->artworkRequestsHeld() == 0; }));
    }
    ASSERT_EQ(model->nowPlaying().title, QStringLiteral("Song"));
    EXPECT_EQ(requestsFor(QStringLiteral("/a.png")), NotchViewModel::ArtworkTries);

    play(QStringLiteral("Other"), QStringLiteral("Band"), QStringLiteral("/a.png"));
    advance(1000);
    EXPECT_TRUE(waitUntil([&] { return requestsFor(QStringLiteral("/a.png")) == NotchViewModel::ArtworkTries + 1; }));
}

TEST_F(ArtworkTest, ArtworkArrivingAfterTheTrackChangedIsDropped)
{
    server.setReply(QStringLiteral("/first.png"), cover(300));
    server.setReply(QStringLiteral("/second.png"), cover(-1));

    play(QStringLiteral("Intro"), QStringLiteral("First band"), QStringLiteral("/first.png"));
    model->tick();
    ASSERT_TRUE(waitUntil([&] { return requestsFor(QStringLiteral("/first.png")) == 1; }));
    // Another track of the same name starts before its cover arrives.
    play(QStringLiteral("Intro"), QStringLiteral("Second band"), QStringLiteral("/second.png"));
    model->tick();
    ASSERT_EQ(model->nowPlaying().artist, QStringLiteral("Second band"));
    waitUntil([] { return false; }, 700);
    EXPECT_FALSE(model->nowPlaying().hasArtwork());

    // The cover of the track still shown is taken.
    server.setReply(QStringLiteral("/third.png"), cover());
    play(QStringLiteral("Outro"), QStringLiteral("Second band"), QStringLiteral("/third.png"));
    model->tick();
    EXPECT_TRUE(waitUntil([&] { return model->nowPlaying().hasArtwork(); }));
}
