#include "canvas/canvascredentials.h"
#include "canvas/canvasrefresh.h"
#include "canvas/canvasservice.h"
#include "core/appnotifications.h"
#include "platform/linux/helpersecretstore.h"
#include "settings/modulespresenter.h"
#include "store/appsettings.h"
#include "support/localhttpserver.h"
#include "support/pavlettest.h"
#include "support/privatebus.h"

#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDir>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QTimeZone>
#include <gtest/gtest.h>

// A session bus of the test's own, where no keyring can be used: either none
// is there, or the desktop's keyring starts on demand with no collection to
// save into and no screen for its prompt. Reads give nothing and writes
// report failure, quickly and without hanging; a delete answers.
TEST(SecretStoreTest, WithoutAUsableKeyringNothingIsReadOrSaved)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    const QByteArray saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());

    platform::HelperSecretStore store(QString(), 2000, 2000);
    QElapsedTimer t;
    t.start();
    std::optional<platform::ISecretStore::ReadResult> read;
    std::optional<bool> wrote, deleted;
    store.readPassword("com.pavlet.app", "CANVAS_TOKEN", [&](const platform::ISecretStore::ReadResult &r) { read = r; });
    store.writePassword("com.pavlet.app", "CANVAS_TOKEN", "tok", [&](bool ok) { wrote = ok; });
    store.deletePassword("com.pavlet.app", "CANVAS_TOKEN", [&](bool ok) { deleted = ok; });
    EXPECT_LT(t.elapsed(), 1000) << "the calls return before the service answers";
    ASSERT_TRUE(waitUntil([&] { return read && wrote && deleted; }, 7000));
    EXPECT_NE(read->status, platform::ISecretStore::ReadResult::Status::Found);
    EXPECT_FALSE(*wrote);

    qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
}

// A helper that cannot start, or that prints anything but an answer, is a
// failure: never a token, never a save reported as done.
TEST(SecretStoreTest, AMissingOrGarbledHelperIsAFailure)
{
    using Status = platform::ISecretStore::ReadResult::Status;
    platform::HelperSecretStore missing(QDir::temp().filePath("no-such-pavlet-secret"), 2000, 2000);
    std::optional<platform::ISecretStore::ReadResult> read;
    std::optional<bool> wrote;
    missing.readPassword("com.pavlet.app", "CANVAS_TOKEN", [&](const platform::ISecretStore::ReadResult &r) { read = r; });
    missing.writePassword("com.pavlet.app", "CANVAS_TOKEN", "tok", [&](bool ok) { wrote = ok; });
    ASSERT_TRUE(waitUntil([&] { return read && wrote; }, 7000));
    EXPECT_EQ(read->status, Status::Failed);
    EXPECT_FALSE(*wrote);

    // Held (while the program starts), calls wait for the release, then run.
    read.reset();
    missing.hold();
    missing.readPassword("com.pavlet.app", "CANVAS_TOKEN", [&](const platform::ISecretStore::ReadResult &r) { read = r; });
    EXPECT_FALSE(waitUntil([&] { return read.has_value(); }, 300));
    missing.release();
    ASSERT_TRUE(waitUntil([&] { return read.has_value(); }, 7000));
    EXPECT_EQ(read->status, Status::Failed);

    for (const QByteArray &garbled : {QByteArray(), QByteArray("found"), QByteArray("notfound"),
                                      QByteArray("Found\ntok"), QByteArray("notfound\nextra"), QByteArray("ok\n")}) {
        EXPECT_EQ(platform::parseSecretRead(garbled).status, Status::Failed) << garbled.toStdString();
        EXPECT_TRUE(platform::parseSecretRead(garbled).data.isEmpty()) << garbled.toStdString();
    }
    EXPECT_EQ(platform::parseSecretRead(std::nullopt).status, Status::Failed);
    const auto found = platform::parseSecretRead(QByteArray("found\ntok\nen"));
    EXPECT_EQ(found.status, Status::Found);
    EXPECT_EQ(found.data, "tok\nen");
    EXPECT_EQ(platform::parseSecretRead(QByteArray("found\n")).data, "");
    EXPECT_EQ(platform::parseSecretRead(QByteArray("notfound\n")).status, Status::NotFound);
    EXPECT_EQ(platform::parseSecretRead(QByteArray("prompt\nlocked\n")).status, Status::Locked);
    EXPECT_EQ(platform::parseSecretRead(QByteArray("nokeyring\n")).status, Status::NoKeyring);
    EXPECT_TRUE(platform::parseSecretChange(QByteArray("ok\n")));
    EXPECT_TRUE(platform::parseSecretChange(QByteArray("prompt\nok\n")));
    for (const QByteArray &garbled : {QByteArray(), QByteArray("ok"), QByteArray("failed\n"), QByteArray("ok\nok\n")})
        EXPECT_FALSE(platform::parseSecretChange(garbled)) << garbled.toStdString();
    EXPECT_FALSE(platform::parseSecretChange(std::nullopt));
}

namespace {

// Takes every call and never answers, as a keyring stuck behind a prompt
// nobody sees does.
class SilentService final : public QDBusVirtualObject {
public:
    // Locked: it says so (its unlock prompt is to show), and nothing else.
    bool locked = false;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (locked && message.member() == QLatin1String("Get")
            && message.arguments().value(1).toString() == QLatin1String("Locked"))
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(true))));
        return true;
    }
    QString introspect(const QString &) const override { return {}; }
};

// The Canvas form saved over the real secret store on a session bus of the
// test's own, against a Canvas server on 127.0.0.1.
class KeychainCanvasTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        ASSERT_TRUE(bus.isRunning());
        savedBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
        LocalHttpServer::trustTestCertificate();
        ASSERT_TRUE(server.listenTls());
        server.setReply("/api/v1/users/self/missing_submissions", LocalHttpServer::json("[]"));
        server.setReply("/api/v1/planner/items", LocalHttpServer::json("[]"));
        server.setReply("/api/v1/users/self", LocalHttpServer::json(R"({"name":"Ada Lovelace"})"));
    }
    void TearDown() override
    {
        qputenv("DBUS_SESSION_BUS_ADDRESS", savedBus);
        PavletTest::TearDown();
    }
    // Types the address and token, saves, and waits for the store's answer.
    void saveTypedToken(int withinMs)
    {
        credentials = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), tempPath("legacy-token"));
        settings = std::make_unique<AppSettings>(defaults.get(), nullptr, nullptr, credentials.get(), &notifications);
        settings->setCanvasBaseURL(server.baseUrl().toString());
        settings->setCanvasTokenDraft(QStringLiteral("typed-token"));
        QElapsedTimer t;
        t.start();
        settings->saveCanvasCredentials();
        ASSERT_TRUE(waitUntil([&] { return settings->canvasSaveState() != AppSettings::CanvasSave::Saving; }, withinMs))
            << "still waiting after " << t.elapsed() << " ms";
    }
    // The typed token works for this run, the form says it is not kept, and
    // the address is stored.
    void expectTokenServesThisRunOnly()
    {
        EXPECT_EQ(settings->canvasStatus(), AppSettings::CanvasThisRunOnlyText);
        EXPECT_TRUE(settings->canvasStatusFailed());
        EXPECT_EQ(defaults->stringValue(QStringLiteral("canvasBaseURL")), server.baseUrl().toString());

        QNetworkAccessManager network;
        CanvasService service(credentials.get(), &network, &clock, scheduler.get(), QTimeZone::utc());
        const QFuture<CanvasBoardReply> reply = service.fetchBoardReply();
        ASSERT_TRUE(waitUntil([&] { return reply.isFinished(); }, 10000));
        EXPECT_FALSE(reply.result().failed);
        ASSERT_EQ(server.requestCount(), 2);
        EXPECT_EQ(server.lastRequest().header("Authorization"), "Bearer typed-token");

        // What Canvas then says takes the status line; the form still says
        // the token goes at quitting, and does not call it saved.
        CanvasRefresh refresh(&service, credentials.get(), &clock);
        QObject::connect(&refresh, &CanvasRefresh::statusChanged, settings.get(), &AppSettings::setCanvasStatus);
        bool refreshed = false;
        refresh.refresh([&] { refreshed = true; });
        ASSERT_TRUE(waitUntil([&] { return refreshed; }, 10000));
        EXPECT_EQ(settings->canvasStatus(), "Connected as Ada Lovelace");
        EXPECT_EQ(settings->canvasTokenNote(), AppSettings::CanvasThisRunOnlyText);
        ModulesPresenter form({settings.get(), nullptr, credentials.get(), &notifications});
        EXPECT_FALSE(form.hasStoredToken());
        EXPECT_EQ(form.tokenPlaceholder(), "Paste Canvas API token");
    }

    PrivateBus bus;
    QByteArray savedBus;
    LocalHttpServer server;
    AppNotifications notifications;
    platform::HelperSecretStore secrets;
    std::unique_ptr<CanvasCredentialStore> credentials;
    std::unique_ptr<AppSettings> settings;
};

} // namespace

TEST_F(KeychainCanvasTest, WithoutASecretServiceTheTypedTokenServesThisRun)
{
    saveTypedToken(7000);
    expectTokenServesThisRunOnly();
}

TEST_F(KeychainCanvasTest, ASecretServiceThatNeverAnswersCountsAsAbsentAfterAFewSeconds)
{
    QDBusConnection connection = bus.connection();
    SilentService silent;
    ASSERT_TRUE(connection.registerVirtualObject(QStringLiteral("/"), &silent, QDBusConnection::SubPath));
    ASSERT_TRUE(connection.registerService(QStringLiteral("org.freedesktop.secrets")));

    saveTypedToken(8000);
    expectTokenServesThisRunOnly();

    // Locked, it prompts: a save waits past those few seconds for the user.
    silent.locked = true;
    platform::HelperSecretStore prompted(QString(), 25000, 1000, 4000);
    std::optional<bool> wrote;
    QElapsedTimer t;
    t.start();
    prompted.writePassword("com.pavlet.app", "CANVAS_TOKEN", "tok", [&](bool ok) { wrote = ok; });
    ASSERT_TRUE(waitUntil([&] { return wrote.has_value(); }, 8000));
    EXPECT_GE(t.elapsed(), 2500);
    EXPECT_FALSE(*wrote);

    // A read the locked keyring lets through to nobody says it stayed
    // locked, not that it holds nothing; the watch sees it open, without a
    // prompt, only once it is unlocked.
    std::optional<platform::ISecretStore::ReadResult> read;
    platform::HelperSecretStore watched(QString(), 1000, 1000, 1000, 100);
    watched.readPassword("com.pavlet.app", "CANVAS_TOKEN", [&](const platform::ISecretStore::ReadResult &r) { read = r; });
    ASSERT_TRUE(waitUntil([&] { return read.has_value(); }, 8000));
    EXPECT_EQ(read->status, platform::ISecretStore::ReadResult::Status::Locked);
    bool opened = false;
    watched.whenOpen([&] { opened = true; });
    EXPECT_FALSE(waitUntil([&] { return opened; }, 1500));
    silent.locked = false;
    EXPECT_TRUE(waitUntil([&] { return opened; }, 8000));
    connection.unregisterService(QStringLiteral("org.freedesktop.secrets"));
    connection.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
}

