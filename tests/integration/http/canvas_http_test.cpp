#include "canvas/canvascredentials.h"
#include "canvas/canvaspaneltext.h"
#include "canvas/canvasrefresh.h"
#include "canvas/canvasservice.h"
#include "core/appnotifications.h"
#include "fakes/fakesecretstore.h"
#include "support/localhttpserver.h"
#include "support/pavlettest.h"
#include "support/qmleval.h"
#include "store/appsettings.h"

#include <QNetworkAccessManager>
#include <QTimeZone>

namespace {

// A Canvas server on 127.0.0.1 and a client whose stored address points at it.
class CanvasServerTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        ASSERT_TRUE(server.listen());
        credentials = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), tempPath("legacy-token"));
        service = std::make_unique<CanvasService>(credentials.get(), &network, &clock, scheduler.get(), QTimeZone("America/New_York"));
    }
    void connectTo(const QString &base, const QByteArray &token = "tok-123")
    {
        // Stored as is: the address normaliser would turn http into https.
        defaults->setString("canvasBaseURL", base);
        secrets.items.insert({"com.pavlet.app", "CANVAS_TOKEN"}, token);
    }
    template<typename T>
    T await(QFuture<T> future)
    {
        EXPECT_TRUE(waitUntil([&] { return future.isFinished(); }));
        return future.result();
    }
    void serve(const QString &path, const QByteArray &body, int status = 200)
    {
        server.setReply(path, LocalHttpServer::json(body, status));
    }
    QStringList assignmentIds(const QList<CanvasAssignment> &items)
    {
        QStringList out;
        for (const auto &a : items)
            out << a.id;
        out.sort();
        return out;
    }

    LocalHttpServer server;
    FakeSecretStore secrets;
    QNetworkAccessManager network;
    std::unique_ptr<CanvasCredentialStore> credentials;
    std::unique_ptr<CanvasService> service;
};

const QString MissingPath = "/api/v1/users/self/missing_submissions";
const QString PlannerPath = "/api/v1/planner/items";
const QString UserPath = "/api/v1/users/self";

} // namespace

TEST_F(CanvasServerTest, RequestsGoMissingFirstWithTheTokenAndWindow)
{
    connectTo(server.baseUrl().toString());
    serve(MissingPath, "[]");
    serve(PlannerPath, "[]");
    EXPECT_EQ(await(service->fetchBoard()), CanvasBoard());

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0].target, "/api/v1/users/self/missing_submissions?per_page=50");
    EXPECT_EQ(requests[1].path, PlannerPath);
    EXPECT_EQ(requests[1].query, "start_date=2026-01-04T09:00:00Z&end_date=2026-01-19T09:00:00Z&per_page=50");
    for (const auto &r : requests) {
        EXPECT_EQ(r.method, "GET");
        EXPECT_EQ(r.header("Authorization"), "Bearer tok-123");
        EXPECT_EQ(r.header("Accept"), "application/json");
    }
}

TEST_F(CanvasServerTest, MergedBoardFromBothLists)
{
    connectTo(server.baseUrl().toString());
    serve(MissingPath, R"([{"id":9007199254740993,"name":"Big id"},
                           {"id":5,"name":"Missing five","html_url":"/courses/1/assignments/5"}])");
    serve(PlannerPath, R"([{"plannable_id":5,"plannable_type":"quiz","plannable":{"title":"Planner five"}},
                           {"plannable_id":6,"plannable_type":"assignment",
                            "plannable":{"title":"Six","due_at":"2026-01-05T20:00:00Z"}},
                           {"plannable_id":6,"plannable_type":"assignment","plannable":{"title":"Six again"}}])",
          201);
    const QList<CanvasAssignment> items = await(service->fetchAssignments());
    EXPECT_EQ(assignmentIds(items), QStringList({"canvas-5", "canvas-6", "canvas-9007199254740993"}));
    for (const auto &a : items) {
        if (a.id == "canvas-5") {
            EXPECT_EQ(a.title, "Missing five");
            EXPECT_TRUE(a.overdue);
            EXPECT_FALSE(a.isQuiz);
            EXPECT_EQ(a.url, server.url("/courses/1/assignments/5"));
        }
        if (a.id == "canvas-6") {
            EXPECT_EQ(a.title, "Six");
        }
    }

    const CanvasBoard board = await(service->fetchBoard());
    EXPECT_EQ(board.overdue.size(), 2);
    ASSERT_EQ(board.dueToday.size(), 1);
    EXPECT_EQ(board.dueToday.first().id, "canvas-6");
}

TEST_F(CanvasServerTest, ABrokenListLeavesTheOtherOne)
{
    connectTo(server.baseUrl().toString());
    serve(MissingPath, R"([{"id":1,"name":"Kept"}])");
    serve(PlannerPath, R"([{"plannable_id":2,"plannable_type":"assignment","plannable":{"title":"A"}},
                           {"plannable_type":"assignment","plannable":{"title":"no id"}}])");
    // The element without an id is left out, the other planner item stays.
    EXPECT_EQ(assignmentIds(await(service->fetchAssignments())), QStringList({"canvas-1", "canvas-2"}));

    serve(MissingPath, "null");
    serve(PlannerPath, R"([{"plannable_id":2,"plannable_type":"assignment","plannable":{"title":"A"}}])");
    EXPECT_EQ(assignmentIds(await(service->fetchAssignments())), QStringList({"canvas-2"}));

    serve(MissingPath, R"([{"id":1,"name":"Kept"}])", 500);
    serve(PlannerPath, "<html>oops</html>");
    EXPECT_TRUE(await(service->fetchAssignments()).isEmpty());
}

TEST_F(CanvasServerTest, UnauthorizedGivesNothing)
{
    connectTo(server.baseUrl().toString(), "expired");
    const QByteArray canvasError = R"({"errors":[{"message":"Invalid access token."}]})";
    serve(MissingPath, canvasError, 401);
    serve(PlannerPath, canvasError, 401);
    serve(UserPath, canvasError, 401);
    const CanvasBoardReply reply = await(service->fetchBoardReply());
    EXPECT_TRUE(reply.tokenRejected);
    EXPECT_EQ(reply.board, CanvasBoard());
    EXPECT_EQ(await(service->fetchUserName()), std::nullopt);
    EXPECT_EQ(server.requestCount(), 2) << "the planner is not asked once the token is refused";

    serve(MissingPath, "[]");
    EXPECT_TRUE(await(service->fetchBoardReply()).tokenRejected) << "refused on the planner list";
}

TEST_F(CanvasServerTest, UserNameRules)
{
    connectTo(server.baseUrl().toString());
    const struct {
        QByteArray body;
        int status;
        std::optional<QString> name;
    } cases[] = {
        {R"({"name":"Sam Lee","short_name":"Sam"})", 200, QString("Sam Lee")},
        {R"({"short_name":"Sam"})", 200, QString("Sam")},
        {R"({"name":"","short_name":"Sam"})", 200, QString("")},
        {R"({"id":1})", 200, std::nullopt},
        {R"({"name":"Sam Lee"})", 201, std::nullopt},
        {R"({"name":7})", 200, std::nullopt},
        {"null", 200, std::nullopt},
    };
    for (const auto &c : cases) {
        serve(UserPath, c.body, c.status);
        EXPECT_EQ(await(service->fetchUserName()), c.name) << c.body.constData();
    }
    EXPECT_EQ(server.lastRequest().header("Authorization"), "Bearer tok-123");
}

TEST_F(CanvasServerTest, NoCredentialsOrNoAddressSendNothing)
{
    serve(UserPath, R"({"name":"Sam"})");
    EXPECT_EQ(await(service->fetchBoard()), CanvasBoard());
    EXPECT_EQ(await(service->fetchUserName()), std::nullopt);

    credentials = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), tempPath("legacy-token"));
    service = std::make_unique<CanvasService>(credentials.get(), &network, &clock, scheduler.get(), QTimeZone::utc());
    connectTo("");
    EXPECT_EQ(await(service->fetchBoard()), CanvasBoard());
    EXPECT_EQ(await(service->fetchUserName()), std::nullopt);
    EXPECT_EQ(server.requestCount(), 0);
}

TEST_F(CanvasServerTest, RequestsWaitForTheSecretStore)
{
    connectTo(server.baseUrl().toString());
    serve(MissingPath, R"([{"id":1,"name":"Late"}])");
    serve(PlannerPath, "[]");
    secrets.hold = true;
    const QFuture<QList<CanvasAssignment>> pending = service->fetchAssignments();
    waitUntil([] { return false; }, 100);
    EXPECT_FALSE(pending.isFinished());
    EXPECT_EQ(server.requestCount(), 0);
    secrets.release();
    EXPECT_EQ(assignmentIds(await(pending)), QStringList({"canvas-1"}));
}

TEST_F(CanvasServerTest, BoardAndLabelsReadFromQml)
{
    connectTo(server.baseUrl().toString());
    serve(MissingPath, R"([{"id":1,"name":"Late","points_possible":2.5}])");
    serve(PlannerPath, R"([{"plannable_id":2,"plannable_type":"quiz","context_name":"Bio",
                           "plannable":{"title":"Quiz","due_at":"2026-01-05T20:00:00Z","points_possible":10}}])");
    const CanvasBoard board = await(service->fetchBoard());

    QQmlEngine qml;
    qml.rootContext()->setContextProperty("canvas", service.get());
    qml.rootContext()->setContextProperty("board", QVariant::fromValue(board));
    const auto eval = [&](const QString &expression) { return evalQml(qml, expression); };
    EXPECT_EQ(eval("board.overdue[0].title + '|' + board.overdue[0].pointsLabel + '|' + (board.overdue[0].course === null)")
                  .toString(),
              "Late|2.5 pts|true");
    EXPECT_EQ(eval("board.dueToday[0].course + '|' + board.dueToday[0].isQuiz + '|' + board.upcoming.length").toString(),
              "Bio|true|0");
    EXPECT_EQ(eval("canvas.dueLabel(board.overdue[0])").toString(), "No date");
    EXPECT_TRUE(eval("canvas.dueLabel(board.dueToday[0])").toString().startsWith("Today \u00B7 "));
    EXPECT_EQ(eval("canvas.pointsTotal(board.overdue.concat(board.dueToday))").toLongLong(), 13);
}

TEST_F(CanvasServerTest, ListsFollowTheNextLinkToTheLastPage)
{
    connectTo(server.baseUrl().toString());
    serve(MissingPath, "[]");
    // Every planner page links to the next one by an opaque bookmark, in a
    // header written in lower case, up to the last page (none past it when
    // last is 0).
    int last = 12;
    server.setHandler([&](const LocalHttpServer::Request &request, LocalHttpServer::Reply &reply) {
        if (request.path != PlannerPath)
            return false;
        const QString query = request.query;
        const int page = query.contains("bookmark:") ? query.section("bookmark:", 1).section("%2C", 0, 0).toInt() : 1;
        reply = LocalHttpServer::json(R"([{"plannable_id":)" + QByteArray::number(page)
                                      + R"(,"plannable_type":"assignment","plannable":{"title":"P"}}])");
        const QByteArray next = server.url(PlannerPath).toEncoded() + "?page=bookmark:" + QByteArray::number(page + 1)
                                + "%2CWzE&per_page=50";
        reply.headers.append(qMakePair(QByteArray("link"), "<" + server.url(PlannerPath).toEncoded() + "?page=first>; rel=\"current\","
                                          + (page == last ? QByteArray() : "<" + next + ">; rel=\"next\",") + " <x>; rel=\"last\""));
        return true;
    });
    const QList<CanvasAssignment> items = await(service->fetchAssignments());
    EXPECT_EQ(items.size(), 12);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 13); // the missing list, then twelve planner pages
    EXPECT_EQ(requests[2].target, "/api/v1/planner/items?page=bookmark:2%2CWzE&per_page=50");
    EXPECT_EQ(requests[2].header("Authorization"), "Bearer tok-123");

    // A list that never ends is not taken as whole at the page limit: the
    // refresh fails and the board stays.
    last = 0;
    server.clearRequests();
    CanvasRefresh refresh(service.get(), credentials.get(), &clock);
    QString problem;
    int boards = 0;
    QObject::connect(&refresh, &CanvasRefresh::loadProblem, [&](const QString &p) { problem = p; });
    QObject::connect(&refresh, &CanvasRefresh::boardFetched, [&] { ++boards; });
    bool done = false;
    refresh.refresh([&] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }, 20000));
    EXPECT_EQ(problem, CanvasRefresh::StatusLoadFailed);
    EXPECT_EQ(boards, 0);
    EXPECT_EQ(server.requestCount(), 1 + CanvasService::MaxPages);

    // Nor is one whose next link cannot be followed.
    const QByteArray url = server.url(MissingPath).toEncoded();
    for (const QByteArray &link : QByteArrayList{"<" + url + "?page=2; rel=\"next\"", "<http://127.0.0.1:99999/p2>; rel=\"next\"",
                                   "<file:///etc/passwd>; rel=\"next\""}) {
        LocalHttpServer::Reply page = LocalHttpServer::json("[]");
        page.headers.append({"Link", link});
        server.setReply(MissingPath, page);
        EXPECT_TRUE(await(service->fetchBoardReply()).failed) << link.constData();
    }

    // The default port written out is the same server; another scheme or a
    // user is named as it was written.
    const QUrl school("https://school.example.edu/api/v1/planner/items");
    EXPECT_EQ(CanvasService::nextLink(R"(<https://school.example.edu:443/p2>; rel="next")", school).url,
              QUrl("https://school.example.edu:443/p2"));
    EXPECT_EQ(CanvasService::nextLink(R"(<http://school.example.edu/p2>; rel="next")", school).place,
              "http://school.example.edu");
    EXPECT_EQ(CanvasService::nextLink(R"(<https://u:pw@school.example.edu/p2>; rel="next")", school).place,
              "u@school.example.edu");
}

// Two schools on 127.0.0.1 (one port each) and the settings form saved as the
// user saves it, each save followed by the refresh it asks for: a token goes
// only to the school it was saved for.
TEST_F(CanvasServerTest, TheFormSendsATokenOnlyToItsOwnSchool)
{
    LocalHttpServer::trustTestCertificate();
    LocalHttpServer one, two;
    ASSERT_TRUE(one.listenTls() && two.listenTls());
    for (LocalHttpServer *school : {&one, &two}) {
        school->setReply(MissingPath, LocalHttpServer::json("[]"));
        school->setReply(PlannerPath, LocalHttpServer::json("[]"));
        school->setReply(UserPath, LocalHttpServer::json(R"({"name":"Ada"})"));
    }
    AppNotifications notifications;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<CanvasRefresh> refresh;
    const auto start = [&] {
        refresh.reset();
        settings.reset();
        service.reset();
        credentials = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), tempPath("legacy-token"));
        service = std::make_unique<CanvasService>(credentials.get(), &network, &clock, scheduler.get(), QTimeZone::utc());
        settings = std::make_unique<AppSettings>(defaults.get(), nullptr, nullptr, credentials.get(), &notifications);
        refresh = std::make_unique<CanvasRefresh>(service.get(), credentials.get(), &clock);
        QObject::connect(refresh.get(), &CanvasRefresh::statusChanged, settings.get(), &AppSettings::setCanvasStatus);
    };
    // Saves the form, then refreshes as the island does on the notice.
    const auto save = [&](const QUrl &address, const QString &token) {
        settings->setCanvasBaseURL(address.toString());
        settings->setCanvasTokenDraft(token);
        settings->saveCanvasCredentials();
        EXPECT_TRUE(waitUntil([&] { return settings->canvasSaveState() == AppSettings::CanvasSave::Idle; }));
        const QString saved = settings->canvasStatus();
        refresh->credentialsChanged();
        bool done = false;
        refresh->refresh([&] { done = true; });
        EXPECT_TRUE(waitUntil([&] { return done; }));
        EXPECT_EQ(defaults->stringValue("canvasBaseURL"), settings->canvasBaseURL()) << "the address was not stored";
        return saved;
    };
    const auto authorizations = [](const LocalHttpServer &school) {
        QByteArrayList sent;
        for (const auto &r : school.requests())
            sent << r.header("Authorization");
        return sent;
    };
    start();
    EXPECT_EQ(save(one.baseUrl(), "tok-one"), "Token saved on this computer");
    EXPECT_EQ(settings->canvasStatus(), "Connected as Ada");
    EXPECT_EQ(authorizations(one), QByteArrayList(3, "Bearer tok-one"));

    // Another school, the token field left empty: nothing goes there, now
    // or after a restart.
    const QString host = "127.0.0.1:" + QString::number(two.port());
    EXPECT_EQ(save(two.baseUrl(), ""), "Paste the token for " + host);
    EXPECT_EQ(settings->canvasStatus(), "Paste the token for " + host);
    start();
    EXPECT_EQ(settings->canvasStatus(), "Paste the token for " + host);
    save(two.baseUrl(), "");
    EXPECT_EQ(authorizations(two), QByteArrayList());
    EXPECT_TRUE(settings->canvasStatusFailed()) << "a request for the token is drawn as a failure";

    // Another program's item with a control byte: an address-only save
    // stores the address, asks for the token again and sends nothing.
    secrets.items.insert({"com.pavlet.app", "CANVAS_TOKEN"}, "tok-\x01one");
    one.clearRequests();
    start();
    EXPECT_EQ(save(one.baseUrl(), ""), CanvasCredentialStore::UnsendableTokenText);
    EXPECT_EQ(settings->canvasStatus(), CanvasCredentialStore::UnsendableTokenText);
    EXPECT_EQ(defaults->stringValue("canvasBaseURL"), one.baseUrl().toString());
    EXPECT_EQ(authorizations(one) + authorizations(two), QByteArrayList());
}

// A locked keyring, then none at all: the account stays set up and is said
// to wait on the keyring, never as clear or not connected; once the keyring
// opens Canvas loads without being asked.
TEST_F(CanvasServerTest, ALockedOrMissingKeyringKeepsTheAccountAndLoadsOnceOpen)
{
    using Status = platform::ISecretStore::ReadResult::Status;
    connectTo(server.baseUrl().toString());
    serve(MissingPath, R"([{"id":1,"name":"Essay"}])");
    serve(PlannerPath, "[]");
    serve(UserPath, R"({"name":"Ada Lovelace"})");
    for (const Status keyring : {Status::Locked, Status::NoKeyring}) {
        secrets.keyring = keyring;
        const QString said = keyring == Status::Locked ? CanvasCredentialStore::KeyringLockedText
                                                       : CanvasCredentialStore::NoKeyringText;
        credentials = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), tempPath("legacy-token"));
        service = std::make_unique<CanvasService>(credentials.get(), &network, &clock, scheduler.get(), QTimeZone::utc());
        AppNotifications notifications;
        AppSettings settings(defaults.get(), nullptr, nullptr, credentials.get(), &notifications);
        CanvasRefresh refresh(service.get(), credentials.get(), &clock);
        QObject::connect(&refresh, &CanvasRefresh::statusChanged, &settings, &AppSettings::setCanvasStatus);
        int boards = 0;
        QObject::connect(&refresh, &CanvasRefresh::boardFetched, [&] { ++boards; });
        QObject::connect(credentials.get(), &CanvasCredentialStore::keyringOpened, [&] { refresh.refresh(); });
        refresh.refresh();
        ASSERT_TRUE(waitUntil([&] { return !refresh.isRunning(); }));
        EXPECT_EQ(credentials->keyringProblem(), said);
        EXPECT_FALSE(credentials->waitingForKeyring());
        EXPECT_EQ(settings.canvasStatus(), said);
        EXPECT_EQ(CanvasPanelText::emptyTitle(false, "", true, false, said), said);
        EXPECT_EQ(boards, 0);
        EXPECT_EQ(server.requestCount(), 0);

        secrets.open();
        ASSERT_TRUE(waitUntil([&] { return settings.canvasStatus() == "Connected as Ada Lovelace"; }))
            << settings.canvasStatus().toStdString();
        EXPECT_EQ(credentials->keyringProblem(), "");
        EXPECT_EQ(boards, 1);
        server.clearRequests();
    }
}

// Redirects: within the school's server the token follows; another server
// (another port) gets nothing, and the board fails naming it.
TEST_F(CanvasServerTest, ARedirectToAnotherServerGetsNoToken)
{
    LocalHttpServer other;
    ASSERT_TRUE(other.listen());
    serve(MissingPath, R"([{"id":1,"name":"Essay"}])");
    serve(PlannerPath, "[]");
    const auto redirectTo = [&](const QUrl &base) {
        server.setHandler([base](const LocalHttpServer::Request &request, LocalHttpServer::Reply &reply) {
            reply = LocalHttpServer::json("", 302);
            reply.headers.append({"Location", base.toEncoded() + request.target.mid(4)});
            return request.path.startsWith("/old/");
        });
    };
    connectTo(server.url("/old").toString());
    redirectTo(QUrl(""));
    EXPECT_EQ(await(service->fetchBoardReply()).board.overdue.size(), 1);
    EXPECT_EQ(server.requestCount(), 4) << "two requests, each sent on once";
    redirectTo(other.baseUrl());
    const CanvasBoardReply reply = await(service->fetchBoardReply());
    EXPECT_TRUE(reply.failed);
    EXPECT_EQ(reply.otherServer, "127.0.0.1:" + QString::number(other.port()));
    EXPECT_EQ(other.requestCount(), 0);

    // A next page on another origin (port, user, scheme) fails the refresh
    // the same way instead of ending the list at the first page.
    redirectTo(QUrl(""));
    QUrl withUser = server.baseUrl(), overTls = server.baseUrl();
    withUser.setUserName("u");
    overTls.setScheme("https");
    CanvasRefresh refresh(service.get(), credentials.get(), &clock);
    QString problem;
    QObject::connect(&refresh, &CanvasRefresh::loadProblem, [&](const QString &p) { problem = p; });
    const QString port = QString::number(server.port());
    const QStringList places = {"127.0.0.1:" + QString::number(other.port()), "u@127.0.0.1:" + port,
                                "https://127.0.0.1:" + port};
    const QList<QUrl> elsewheres = {other.baseUrl(), withUser, overTls};
    for (qsizetype i = 0; i < elsewheres.size(); ++i) {
        const QUrl &elsewhere = elsewheres[i];
        LocalHttpServer::Reply page = LocalHttpServer::json(R"([{"id":1,"name":"Essay"}])");
        page.headers.append({"Link", "<" + elsewhere.toEncoded() + MissingPath.toUtf8() + "?page=2>; rel=\"next\""});
        server.setReply(MissingPath, page);
        bool done = false;
        refresh.refresh([&] { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }));
        EXPECT_EQ(problem, CanvasRefresh::SentElsewhere + places[i] + ")");
    }
    EXPECT_EQ(other.requestCount(), 0);
}

// Three openings while the server trickles: one chain, ended as a failure
// by the whole-request limit; no board came, so it is still loading.
TEST_F(CanvasServerTest, OneRefreshAtATimeAndATrickleEndsAsAFailure)
{
    connectTo(server.baseUrl().toString());
    LocalHttpServer::Reply trickle = LocalHttpServer::json(QByteArray(4000, ' ') + "[]");
    trickle.trickleMs = 20;
    server.setReply(MissingPath, trickle);
    CanvasRefresh refresh(service.get(), credentials.get(), &clock);
    QString problem;
    QStringList problems;
    QObject::connect(&refresh, &CanvasRefresh::loadProblem, [&](const QString &p) { problems << (problem = p); });
    int done = 0;
    for (int i = 0; i < 3; ++i)
        refresh.refresh([&] { ++done; });
    ASSERT_TRUE(waitUntil([&] { return server.requestCount() == 1; }));
    scheduler->advance(CanvasService::RequestTimeoutMs);
    ASSERT_TRUE(waitUntil([&] { return done == 3; }, 2000));
    EXPECT_EQ(problem, CanvasRefresh::StatusLoadFailed);
    EXPECT_TRUE(refresh.isLoading());
    EXPECT_EQ(server.requestCount(), 2) << "the missing list, then the planner";

    // A school that sends nothing at all, not even its headers, is said to
    // be not answering.
    LocalHttpServer::Reply silent;
    silent.delayMs = -1;
    server.setReply(MissingPath, silent);
    refresh.refresh({});
    ASSERT_TRUE(waitUntil([&] { return server.requestCount() == 3; }));
    scheduler->advance(CanvasService::RequestTimeoutMs);
    EXPECT_TRUE(waitUntil([&] { return problems.contains(CanvasRefresh::NotAnswering); }, 2000)) << problems.join('|').toStdString();
}
