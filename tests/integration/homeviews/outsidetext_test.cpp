#include "homeviewtest.h"

#include "integration/media/fakemprisplayer.h"
#include "platform/linux/bluezbluetooth.h"
#include "platform/linux/mprisplayers.h"
#include "platform/linux/qtclipboard.h"
#include "support/itemtree.h"
#include "support/localhttpserver.h"
#include "support/privatebus.h"
#include "support/qtprinters.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QQmlComponent>
#include <QStandardPaths>

// Text that reaches the island from elsewhere, each by its own road: a copy
// through the X clipboard, a track of a player on the bus, a device BlueZ
// names, a Canvas school's assignment and a world clock's city. Each is
// markup naming an image on a local server; each shows as its characters,
// and the server never hears of the image.
class OutsideTextTest : public HomeScreenshotTest {
protected:
    void SetUp() override
    {
        HomeScreenshotTest::SetUp();
        if (IsSkipped())
            return;
        if (QProcess::execute(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import dbusmock")}) != 0)
            GTEST_SKIP() << "python3-dbusmock is not installed";
        if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
            GTEST_SKIP() << "xclip is not installed";
        ASSERT_TRUE(images.listen());
        LocalHttpServer::trustTestCertificate();
        ASSERT_TRUE(school.listenTls());
        ASSERT_TRUE(bus.isRunning());
    }

    // Markup that names an image of its own on the image server and says
    // something in bold: short enough to be shown whole in a preview (keys
    // of three letters at most).
    QString planted(const QString &key) const
    {
        return QStringLiteral("<img src=\"%1\"><b>%2</b>").arg(images.url("/" + key + ".png").toString(), key);
    }

    // Builds the island's model over the fakes, with the real clipboard, a
    // player and BlueZ on the test's bus in place of theirs.
    void makeWithRealPeers()
    {
        clipboard = std::make_unique<platform::QtClipboard>();
        players = std::make_unique<platform::MprisPlayers>(bus.connection());
        bluez = std::make_unique<platform::BlueZBluetooth>(bus.connection());
        IslandEnvironment env = fakes->environment();
        env.platform.clipboard = clipboard.get();
        env.platform.mediaPlayers = players.get();
        env.platform.bluetooth = bluez.get();
        services = std::make_unique<IslandServices>(env);
        model = std::make_unique<NotchViewModel>(env, services->parts());
        homeParts = std::make_unique<HomeParts>(env);
    }

    // Another program copies text.
    static bool copyElsewhere(const QString &text)
    {
        QProcess xclip;
        xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
        if (!xclip.waitForStarted())
            return false;
        xclip.write(text.toUtf8());
        xclip.closeWriteChannel();
        // xclip leaves a child behind that holds the selection until the
        // next copy.
        return xclip.waitForFinished() && xclip.exitCode() == 0;
    }

    // The shown texts under root that hold the planted markup, by key.
    QMap<QString, QQuickItem *> plantedTexts(QQuickItem *root, const QStringList &keys) const
    {
        QMap<QString, QQuickItem *> found;
        for (QQuickItem *item : ItemTree::all(root, "QQuickText")) {
            for (const QString &key : keys) {
                if (ItemTree::effectiveOpacity(item) > 0
                    && item->property("text").toString().contains(QStringLiteral("/%1.png\"><b>").arg(key)))
                    found.insert(key, item);
            }
        }
        return found;
    }

    // Whether a text item lays out its characters as written: as wide as
    // they are in its font (markup read as rich text takes the width of a
    // bold letter and an image).
    static bool asWritten(QQuickItem *text)
    {
        const QFontMetricsF metrics(text->property("font").value<QFont>());
        const double written = metrics.horizontalAdvance(text->property("text").toString());
        return text->implicitWidth() >= 0.9 * written;
    }

    LocalHttpServer images;
    LocalHttpServer school;
    PrivateBus bus;
    std::unique_ptr<platform::QtClipboard> clipboard;
    std::unique_ptr<platform::MprisPlayers> players;
    std::unique_ptr<platform::BlueZBluetooth> bluez;
};

TEST_F(OutsideTextTest, MarkupFromOutsideShowsAsWrittenAndLoadsNothing)
{
    // A clock the user named, a device nearby, a playing track.
    fakes->settings.setClocks({{QUuid::createUuid(), planted("cty"), QStringLiteral("Asia/Tokyo")}});
    ASSERT_TRUE(bus.startTemplate(QStringLiteral("bluez5"), QStringLiteral("org.bluez")));
    const QString address = QStringLiteral("11:22:33:44:55:66");
    for (const auto &[method, args] :
         {std::pair{"AddAdapter", QVariantList{"hci0", "pavlet-test"}}, std::pair{"AddDevice", QVariantList{"hci0", address, planted("dev")}},
          std::pair{"PairDevice", QVariantList{"hci0", address, 5898764}}, std::pair{"ConnectDevice", QVariantList{"hci0", address}}})
        ASSERT_EQ(bus.call("org.bluez", "/", "org.bluez.Mock", QString::fromLatin1(method), args).type(), QDBusMessage::ReplyMessage)
            << method;
    FakeMprisPlayer player(bus.address(), QStringLiteral("pavlettest"), QStringLiteral("Test Player"));
    ASSERT_TRUE(player.appear());
    player.setTrack({{"xesam:title", planted("trk")}, {"xesam:artist", QStringList{planted("art")}},
                     {"mpris:length", qlonglong(180'000'000)}},
                    QStringLiteral("Playing"));

    showOnly({"player", "clocks", "clipboard", "bluetooth"});
    // Past the first run's questions, so Bluetooth is watched.
    defaults->setBool(NotchViewModel::SetupCompletedKey, true);
    makeWithRealPeers();
    model->start();
    ASSERT_TRUE(waitUntil([&] { return bluez->isLoaded(); }));
    ASSERT_TRUE(copyElsewhere(planted("cpy")));
    ASSERT_TRUE(waitUntil([&] {
        model->tick();
        return model->clipboard().items.value(0).text == planted("cpy") && model->nowPlaying().title == planted("trk")
            && model->bluetoothDevices().size() == 1;
    })) << model->clipboard().items.value(0).text.toStdString() << " / " << model->nowPlaying().title.toStdString();

    // A school whose assignment is called so.
    fakes->credentials.save(school.baseUrl().toString(), QStringLiteral("token"));
    school.setReply(QStringLiteral("/api/v1/users/self"), LocalHttpServer::json(R"({"name":"Ada"})"));
    school.setReply(QStringLiteral("/api/v1/users/self/missing_submissions"),
                    LocalHttpServer::json(QJsonDocument(QJsonArray{QJsonObject{{"id", 1}, {"name", planted("hw")},
                                                                              {"course_code", planted("crs")}}})
                                              .toJson()));
    school.setReply(QStringLiteral("/api/v1/planner/items"), LocalHttpServer::json("[]"));
    bool refreshed = false;
    model->refreshCanvas([&] { refreshed = true; });
    ASSERT_TRUE(waitUntil([&] { return refreshed; }, 10000));

    const struct {
        const char *view;
        QSize size;
        QStringList keys;
    } views[] = {
        {"home/HomePanel.qml", {404, 620}, {"cpy", "cty", "trk", "art", "dev"}},
        {"canvas/CanvasPanel.qml", {400, 400}, {"hw", "crs"}},
    };
    for (const auto &v : views) {
        QQuickItem *view = show(QString::fromLatin1(v.view), v.size);
        ASSERT_TRUE(view);
        shoot(QStringLiteral("outside-text-") + QString::fromLatin1(v.view).section('/', -1).section('.', 0, 0));
        const QMap<QString, QQuickItem *> texts = plantedTexts(view, v.keys);
        for (const QString &key : v.keys) {
            QQuickItem *text = texts.value(key);
            EXPECT_TRUE(text) << v.view << ": nothing shows " << key.toStdString();
            if (text) {
                EXPECT_TRUE(asWritten(text)) << v.view << ": " << key.toStdString() << " is drawn "
                                             << text->implicitWidth() << " wide";
            }
        }
    }

    // Markup that the program draws as rich text on purpose loads its image
    // from the same server: once that request came, any other one would
    // have come too.
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::white);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    pixel.save(&png, "PNG");
    images.setReply(QStringLiteral("/control.png"), {200, png.data(), "image/png", {}});
    QQmlComponent rich(&qml.engine());
    rich.setData(QStringLiteral("import QtQuick\nText { textFormat: Text.RichText; text: '<img src=\"%1\">' }")
                     .arg(images.url("/control.png").toString())
                     .toUtf8(),
                 QUrl());
    std::unique_ptr<QObject> control(rich.create());
    ASSERT_TRUE(control) << rich.errorString().toStdString();
    qobject_cast<QQuickItem *>(control.get())->setParentItem(window->contentItem());
    ASSERT_TRUE(waitUntil([&] { return images.requestCount() > 0; }, 10000));
    control.reset();
    QStringList asked;
    for (const auto &request : images.requests())
        asked << request.path;
    EXPECT_EQ(asked, QStringList{"/control.png"});
}
