#include "canvas/canvascredentials.h"
#include "core/appnotifications.h"
#include "fakes/fakeapplauncher.h"
#include "fakes/fakepermissionbackend.h"
#include "fakes/fakesecretstore.h"
#include "fakes/qtwebfetcher.h"
#include "store/appsettings.h"
#include "store/permissioncenter.h"
#include "support/localhttpserver.h"
#include "support/pavlettest.h"
#include "support/qmleval.h"
#include "update/updateservice.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>

namespace {

using Kind = UpdateStatus::Kind;

// An update host on 127.0.0.1 over TLS, with a service that runs version
// 1.4.0, build 20.
class UpdateServiceTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        LocalHttpServer::trustTestCertificate();
        ASSERT_TRUE(server.listenTls());
        permissions = std::make_unique<PermissionCenter>(&backend, defaults.get(), scheduler.get(), &notifications);
        credentials = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), tempPath("legacy-token"));
        settings = std::make_unique<AppSettings>(defaults.get(), &loginItem, permissions.get(), credentials.get(),
                                                 &notifications);
        makeService();
    }
    // A fresh service, as at a new start of the program.
    void makeService()
    {
        UpdateService::Options options;
        options.updateBase = server.baseUrl();
        options.currentVersion = "1.4.0";
        options.currentBuild = "20";
        options.downloadsFolder = tempPath("Downloads");
        options.temporaryFolder = tempPath("tmp");
        service = std::make_unique<UpdateService>(&fetcher, &network, scheduler.get(), &desktop, options);
        bindSkippedUpdateVersion(settings.get(), service.get());
        QObject::connect(service.get(), &UpdateService::statusChanged,
                         [this] { statuses.append(service->status()); });
    }

    QByteArray manifest(const QByteArray &version, qint64 build = 0, const QByteArray &digest = {},
                        const QString &url = {})
    {
        const QString image = url.isEmpty() ? server.url("/Pavlet.dmg").toString() : url;
        return R"({"version":")" + version + R"(","build":)" + QByteArray::number(build) + R"(,"url":")"
               + image.toUtf8() + R"(","sha256":")" + (digest.isEmpty() ? QByteArray(64, 'a') : digest)
               + R"(","notes":"Notes"})";
    }
    void serveManifest(const QByteArray &body, int status = 200, const QByteArray &type = "application/json")
    {
        LocalHttpServer::Reply reply = LocalHttpServer::json(body, status);
        reply.contentType = type;
        server.setReply("/update.json", reply);
    }
    void serveImage(const QByteArray &image, bool omitLength = false, qsizetype cutAfter = -1)
    {
        LocalHttpServer::Reply reply = LocalHttpServer::json(image);
        reply.contentType = "application/octet-stream";
        reply.omitLength = omitLength;
        reply.cutAfter = cutAfter;
        server.setReply("/Pavlet.dmg", reply);
    }
    static QByteArray digestOf(const QByteArray &data)
    {
        return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
    }
    // Runs one check to its end.
    void check(bool prompt = true)
    {
        service->check(prompt);
        ASSERT_TRUE(waitUntil([&] { return !service->status().is(Kind::checking); }));
    }
    void press()
    {
        service->downloadOrOpen();
        ASSERT_TRUE(waitUntil([&] {
            return !service->status().is(Kind::checking) && !service->status().is(Kind::downloading);
        }));
    }
    // An available image to download, already checked.
    QByteArray offerImage(qsizetype size = 300000)
    {
        QByteArray image(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            image[i] = char(i * 131 % 251);
        serveManifest(manifest("1.5.0", 1, digestOf(image).toUpper()));
        serveImage(image);
        check(false);
        EXPECT_TRUE(service->status().is(Kind::available));
        return image;
    }
    QStringList temporaryFiles() const { return QDir(tempPath("tmp")).entryList(QDir::Files); }
    QString savedImage() const { return tempPath("Downloads/Pavlet.dmg"); }

    LocalHttpServer server;
    QNetworkAccessManager network;
    QtWebFetcher fetcher{&network};
    FakePermissionBackend backend;
    FakeLoginItem loginItem;
    FakeAppLauncher desktop;
    AppNotifications notifications;
    FakeSecretStore secrets;
    std::unique_ptr<CanvasCredentialStore> credentials;
    std::unique_ptr<PermissionCenter> permissions;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<UpdateService> service;
    QList<UpdateStatus> statuses;
};

} // namespace

TEST_F(UpdateServiceTest, ManifestRepliesDecideTheStatus)
{
    const QString foreign = QStringLiteral("https://evil.example/Pavlet.dmg");
    const QString plain = server.url("/Pavlet.dmg").toString().replace("https:", "http:");
    const struct {
        const char *name;
        QByteArray body;
        int status;
        QByteArray type;
        UpdateStatus expected;
        bool hasLatest;
    } cases[] = {
        {"newer", manifest("1.5.0"), 200, "application/json", UpdateStatus::available(), true},
        {"same version, newer build", manifest("1.4", 21), 200, "application/json", UpdateStatus::available(), true},
        {"same version and build", manifest("1.4.0", 20), 200, "application/json", UpdateStatus::upToDate(), false},
        {"older", manifest("1.3.9", 99), 200, "application/json", UpdateStatus::upToDate(), false},
        {"no manifest", "missing", 404, "text/plain", UpdateStatus::upToDate(), false},
        {"broken host's page", "  \n<!DOCTYPE HTML><html>busy</html>", 503, "text/html", UpdateStatus::upToDate(),
         false},
        {"error with json", manifest("1.5.0"), 503, "application/json",
         UpdateStatus::failed("Couldn't check for updates."), false},
        {"malformed", "{\"version\":", 200, "application/json", UpdateStatus::failed("Couldn't check for updates."),
         false},
        {"plain http image", manifest("1.5.0", 0, {}, plain), 200, "application/json",
         UpdateStatus::failed("Couldn't check for updates."), false},
        {"foreign image host", manifest("1.5.0", 0, {}, foreign), 200, "application/json",
         UpdateStatus::failed("Couldn't check for updates."), false},
    };
    for (const auto &c : cases) {
        makeService();
        serveManifest(c.body, c.status, c.type);
        check();
        EXPECT_EQ(service->status(), c.expected) << c.name;
        EXPECT_EQ(service->hasLatest(), c.hasLatest) << c.name;
        EXPECT_EQ(service->wantsPrompt(), c.hasLatest) << c.name;
    }
    const auto request = server.lastRequest();
    EXPECT_EQ(request.target, "/update.json");
    EXPECT_EQ(request.header("Accept"), "application/json");
}

TEST_F(UpdateServiceTest, FailuresKeepTheLastManifestAndNameTheNetwork)
{
    serveManifest(manifest("1.5.0", 3));
    check();
    const UpdateManifest offered = *service->latest();

    serveManifest("{}");
    check();
    EXPECT_EQ(service->status(), UpdateStatus::failed("Couldn't check for updates."));
    EXPECT_EQ(service->latest(), offered);
    EXPECT_FALSE(service->wantsPrompt());

    // A host that never answers runs into the 12 s limit.
    LocalHttpServer::Reply silent = LocalHttpServer::json("{}");
    silent.delayMs = -1;
    server.setReply("/update.json", silent);
    service->check(true);
    ASSERT_TRUE(waitUntil([&] { return server.requestCount() == 3; }));
    scheduler->advance(UpdateService::CheckTimeoutMs - 1);
    EXPECT_TRUE(service->status().is(Kind::checking));
    scheduler->advance(1);
    ASSERT_TRUE(waitUntil([&] { return !service->status().is(Kind::checking); }));
    EXPECT_EQ(service->status(), UpdateStatus::failed(UpdateService::NetworkMessage));
    EXPECT_EQ(service->latest(), offered);

    // A reply that breaks off is a lost connection.
    LocalHttpServer::Reply cut = LocalHttpServer::json(manifest("1.6.0"));
    cut.cutAfter = 10;
    server.setReply("/update.json", cut);
    check();
    EXPECT_EQ(service->status(), UpdateStatus::failed(UpdateService::NetworkMessage));
}

TEST_F(UpdateServiceTest, TryAgainAfterATimeOutOpensANewConnection)
{
    // A proxy that takes the connection and never answers it.
    LocalHttpServer proxy;
    ASSERT_TRUE(proxy.listen());
    LocalHttpServer::Reply held;
    held.delayMs = -1;
    proxy.setDefaultReply(held);
    network.setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), proxy.port()));

    for (int attempt = 1; attempt <= 3; ++attempt) {
        // The first check, then "Try again" on the failure it left.
        if (attempt == 1)
            service->check(true);
        else
            service->downloadOrOpen();
        ASSERT_TRUE(waitUntil([&] { return proxy.requestCount() == attempt; })) << "attempt " << attempt;
        scheduler->advance(UpdateService::CheckTimeoutMs - 1);
        EXPECT_TRUE(service->status().is(Kind::checking));
        scheduler->advance(1);
        ASSERT_TRUE(waitUntil([&] { return !service->status().is(Kind::checking); }));
        EXPECT_EQ(service->status(), UpdateStatus::failed(UpdateService::NetworkMessage));
    }
    EXPECT_EQ(proxy.requests().value(0).method, "CONNECT");
}

TEST_F(UpdateServiceTest, ChecksDoNotOverlap)
{
    LocalHttpServer::Reply slow = LocalHttpServer::json(manifest("1.5.0"));
    slow.delayMs = 100;
    server.setReply("/update.json", slow);
    service->check(true);
    service->check(true);
    service->downloadOrOpen();
    ASSERT_TRUE(waitUntil([&] { return service->status().is(Kind::available); }));
    EXPECT_EQ(server.requestCount(), 1);
    EXPECT_EQ(statuses, QList<UpdateStatus>({UpdateStatus::checking(), UpdateStatus::available()}));
}

TEST_F(UpdateServiceTest, PromptRules)
{
    // Dismissing with nothing offered stores nothing.
    service->dismiss();
    EXPECT_FALSE(defaults->contains("skippedUpdateVersion"));
    makeService();

    serveManifest(manifest("1.5.0"));
    check(false);
    EXPECT_TRUE(service->status().is(Kind::available));
    EXPECT_FALSE(service->wantsPrompt()) << "a check without prompting";

    settings->setSkippedUpdateVersion("1.5.0");
    check(true);
    EXPECT_TRUE(service->status().is(Kind::available));
    EXPECT_FALSE(service->wantsPrompt()) << "the skipped version";

    serveManifest(manifest("1.6.0"));
    check(true);
    EXPECT_TRUE(service->wantsPrompt());

    service->dismiss();
    EXPECT_FALSE(service->wantsPrompt());
    EXPECT_EQ(settings->skippedUpdateVersion(), "1.6.0");
    EXPECT_TRUE(service->status().is(Kind::available)) << "the settings card still offers it";

    serveManifest(manifest("1.7.0"));
    check(true);
    EXPECT_FALSE(service->wantsPrompt()) << "dismissed for the rest of the run";
}

TEST_F(UpdateServiceTest, DownloadVerifiesSavesAndOpens)
{
    // The first press only checks.
    const QByteArray image = [&] {
        QByteArray data(300000, 'p');
        serveManifest(manifest("1.5.0", 1, digestOf(data).toUpper()));
        serveImage(data);
        return data;
    }();
    press();
    EXPECT_TRUE(service->status().is(Kind::available));
    EXPECT_EQ(server.requestCount(), 1);

    QDir().mkpath(tempPath("Downloads"));
    QFile old(savedImage());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older image");
    old.close();

    statuses.clear();
    press();
    EXPECT_EQ(service->status(), UpdateStatus::ready(QUrl::fromLocalFile(savedImage())));
    QFile saved(savedImage());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), image);
    EXPECT_TRUE(temporaryFiles().isEmpty());
    EXPECT_EQ(desktop.urls, QList<QUrl>({QUrl::fromLocalFile(savedImage())}));
    ASSERT_GE(statuses.size(), 2);
    EXPECT_EQ(statuses.first(), UpdateStatus::downloading(0));
    EXPECT_EQ(statuses[statuses.size() - 2], UpdateStatus::downloading(1.0));

    // Pressing again opens the same image and downloads nothing.
    const int requests = server.requestCount();
    service->downloadOrOpen();
    EXPECT_EQ(desktop.urls.size(), 2);
    EXPECT_EQ(server.requestCount(), requests);
}

TEST_F(UpdateServiceTest, AWrongImageIsThrownAwayAndCanBeRetried)
{
    offerImage();
    serveImage("<html>Not Found</html>");
    server.setReply("/Pavlet.dmg", LocalHttpServer::json("<html>Not Found</html>", 404));
    press();
    EXPECT_EQ(service->status(), UpdateStatus::failed("Update file didn't match the checksum"));
    EXPECT_TRUE(temporaryFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(savedImage()));
    EXPECT_TRUE(service->hasLatest());
    EXPECT_TRUE(desktop.urls.isEmpty());

    // Meanwhile the host has put the image somewhere else, with its own
    // checksum: "Try again" reads the manifest again and downloads that one.
    QByteArray fixed(200000, 'p');
    LocalHttpServer::Reply image = LocalHttpServer::json(fixed);
    image.contentType = "application/octet-stream";
    server.setReply("/fixed/Pavlet.dmg", image);
    serveManifest(manifest("1.5.0", 2, digestOf(fixed), server.url("/fixed/Pavlet.dmg").toString()));
    server.clearRequests();
    press();
    ASSERT_TRUE(service->status().is(Kind::ready)) << service->status().message.toStdString();
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0].path, "/update.json");
    EXPECT_EQ(requests[1].path, "/fixed/Pavlet.dmg");
    QFile saved(savedImage());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), fixed);
    EXPECT_EQ(service->latest()->build, 2);
}

TEST_F(UpdateServiceTest, ABrokenOffDownloadDidNotFinish)
{
    const QByteArray image = offerImage();
    serveImage(image, false, image.size() / 2);
    press();
    EXPECT_EQ(service->status(), UpdateStatus::failed("Download didn't finish"));
    EXPECT_TRUE(temporaryFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(savedImage()));
}

// Ending the service in the middle of a download lets go of the partial
// image: the file is removed and its file object destroyed.
TEST_F(UpdateServiceTest, EndingTheServiceMidDownloadFreesThePartialImage)
{
    const QByteArray image = offerImage();
    LocalHttpServer::Reply reply = LocalHttpServer::json(image);
    reply.contentType = "application/octet-stream";
    reply.cutAfter = image.size() / 2;
    reply.holdOpen = true;
    reply.delayMs = 50;
    server.setReply("/Pavlet.dmg", reply);
    service->downloadOrOpen();
    ASSERT_TRUE(waitUntil([&] {
        const QStringList files = temporaryFiles();
        return files.size() == 1 && QFileInfo(tempPath("tmp/" + files.first())).size() > 0;
    }));
    const QList<QFile *> files = service->findChildren<QFile *>();
    ASSERT_EQ(files.size(), 1) << "the service holds the image it writes";
    bool destroyed = false;
    QObject::connect(files.first(), &QObject::destroyed, [&] { destroyed = true; });
    service.reset();
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(UpdateServiceTest, WithoutALengthProgressStaysAtZero)
{
    const QByteArray image = offerImage();
    serveImage(image, true);
    statuses.clear();
    press();
    EXPECT_TRUE(service->status().is(Kind::ready));
    for (const UpdateStatus &s : statuses) {
        if (s.is(Kind::downloading)) {
            EXPECT_EQ(s.fraction, 0.0);
        }
    }
}

TEST_F(UpdateServiceTest, ProgressAfterTheFinishIsIgnoredAndHashingWaits)
{
    offerImage(2 << 20);
    statuses.clear();
    service->downloadOrOpen();
    QNetworkReply *download = nullptr;
    for (QNetworkReply *reply : service->findChildren<QNetworkReply *>()) {
        if (!reply->isFinished())
            download = reply;
    }
    ASSERT_TRUE(download);
    // Once the service has handled the end of the transfer, report progress
    // from it the way a late report would arrive, before the hashing is done.
    bool stillDownloading = false;
    QObject::connect(download, &QNetworkReply::finished, [&] {
        stillDownloading = service->status().is(Kind::downloading);
        emit download->downloadProgress(1, 4);
    });
    ASSERT_TRUE(waitUntil([&] { return !service->status().is(Kind::downloading); }));
    EXPECT_TRUE(stillDownloading) << "the image is checked after the reply has been handed back";
    EXPECT_TRUE(service->status().is(Kind::ready));
    double last = -1;
    for (const UpdateStatus &s : statuses) {
        if (!s.is(Kind::downloading))
            continue;
        EXPECT_GE(s.fraction, last) << "progress went back";
        last = s.fraction;
    }
    // Pressing once more opens, it does not hang in "downloading".
    service->downloadOrOpen();
    EXPECT_EQ(desktop.urls.size(), 2);
}

TEST_F(UpdateServiceTest, StateReadsFromQml)
{
    QQmlEngine qml;
    qml.rootContext()->setContextProperty("updater", service.get());
    const auto eval = [&](const QString &expression) { return evalQml(qml, expression); };
    EXPECT_EQ(eval("updater.hasLatest + '|' + updater.currentVersion + '|' + updater.currentBuild + '|' + updater.host")
                  .toString(),
              "false|1.4.0|20|127.0.0.1");
    serveManifest(manifest("1.5.0", 7));
    eval("updater.check(true)");
    ASSERT_TRUE(waitUntil([&] { return service->status().is(Kind::available); }));
    EXPECT_EQ(eval("updater.status.kind").toInt(), int(Kind::available));
    EXPECT_EQ(eval("updater.latest.version + '|' + updater.latest.build + '|' + updater.wantsPrompt").toString(),
              "1.5.0|7|true");
    eval("updater.dismiss()");
    EXPECT_FALSE(service->wantsPrompt());
}
