#include "island/islandlook.h"
#include "island/islandmetrics.h"
#include "island/islandtypes.h"
#include "services/timerstore.h"
#include "support/islandqml.h"
#include "support/patience.h"
#include "support/screenshots.h"

#include <QDir>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>
#include <QLinearGradient>
#include <QPointer>
#include <QPainter>
#include <QQmlComponent>
#include <QQuickImageProvider>
#include <gtest/gtest.h>

// Draws the island's views over a stand-in desktop, checks a few pixels of
// each, and writes the pictures to $PAVLET_SCREENSHOT_DIR when it is set.
namespace {
const QColor desktopTop(0x3a, 0x6e, 0xa5);

class ArtworkImages : public QQuickImageProvider {
public:
    ArtworkImages()
        : QQuickImageProvider(QQuickImageProvider::Image)
    {
    }
    QImage requestImage(const QString &, QSize *size, const QSize &requested) override
    {
        const QSize s = requested.isValid() ? requested : QSize(64, 64);
        QImage image(s, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&image);
        QLinearGradient g(0, 0, s.width(), s.height());
        g.setColorAt(0, QColor(0xff, 0x5e, 0x3a));
        g.setColorAt(1, QColor(0x7b, 0x2f, 0xf7));
        p.fillRect(image.rect(), g);
        if (size)
            *size = s;
        return image;
    }
};

// A frame of a face-like picture for the camera's picture: a warm disc on a
// teal background.
bool showFrame(QObject *output)
{
    auto *sink = output ? output->property("videoSink").value<QVideoSink *>() : nullptr;
    if (!sink)
        return false;
    QImage image(320, 240, QImage::Format_ARGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), QColor(0x2a, 0x8c, 0x8c));
    p.setBrush(QColor(0xf0, 0xc0, 0x90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(190, 120), 60, 75);
    p.end();
    QVideoFrame frame(QVideoFrameFormat(image.size(), QVideoFrameFormat::Format_BGRA8888));
    if (!frame.map(QVideoFrame::WriteOnly))
        return false;
    for (int y = 0; y < image.height(); ++y)
        memcpy(frame.bits(0) + y * frame.bytesPerLine(0), image.constScanLine(y), size_t(image.width()) * 4);
    frame.unmap();
    sink->setVideoFrame(frame);
    return true;
}

const char *sceneSource = R"(
import QtQuick
import Pavlet
Item {
    id: scene
    width: 760
    height: 420
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeParts homeParts
    property size islandSize: Qt.size(264, 48)
    property real islandTop: 0
    property alias island: island
    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: "#3a6ea5" }
            GradientStop { position: 1; color: "#a5c8e4" }
        }
    }
    NotchIsland {
        id: island
        x: Math.round((scene.width - width) / 2)
        y: scene.islandTop
        width: scene.islandSize.width
        height: scene.islandSize.height
        model: scene.model
        settings: scene.settings
        homeParts: scene.homeParts
    }
}
)";
} // namespace

class IslandScreenshotTest : public IslandViewTest {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X display for GL rendering";
        IslandViewTest::SetUp();
        engine()->addImageProvider(QStringLiteral("artwork"), new ArtworkImages);
        fakes->settings.setShowClockWhenIdle(false);
        outDir = Screenshots::outputDir();
    }

    QQuickItem *scene(QSize islandSize, double top = 0)
    {
        QQmlComponent component(engine());
        component.setData(sceneSource, QUrl::fromLocalFile(tempPath("Scene.qml")));
        QObject *object = component.createWithInitialProperties(
            withModel({{"islandSize", islandSize},
                       {"islandTop", top},
                       {"homeParts", QVariant::fromValue<QObject *>(homeParts.get())}}));
        auto *item = qobject_cast<QQuickItem *>(object);
        if (!item) {
            ADD_FAILURE() << component.errorString().toStdString();
            return nullptr;
        }
        window->resize(int(item->width()), int(item->height()));
        // It goes with the window, before the model.
        item->setParent(window.get());
        item->setParentItem(window->contentItem());
        window->show();
        return item;
    }

    // Waits at least settleMs, then until two frames a little apart match:
    // on a busy machine the island's springs take more than their nominal time.
    QImage shoot(const QString &name, int settleMs = 700)
    {
        const QImage image = Screenshots::settled(
            [this] { return window->grabWindow(); }, settleMs, 120, 40, [this](int ms) { spin(ms); });
        Screenshots::save(image, outDir, name);
        return image;
    }

    // The island's rectangle in the scene.
    static QRect islandRect(QQuickItem *sceneItem)
    {
        auto *island = sceneItem->property("island").value<QQuickItem *>();
        return QRectF(island->x(), island->y(), island->width(), island->height()).toRect();
    }

    static bool near(const QColor &a, const QColor &b, int tolerance = 40) { return Screenshots::near(a, b, tolerance); }

    void expectIsland(const QImage &image, const QRect &island)
    {
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(near(image.pixelColor(4, 4), desktopTop)) << image.pixelColor(4, 4).name().toStdString();
        const QColor inside = image.pixelColor(island.center().x(), island.bottom() - 5);
        EXPECT_TRUE(near(inside, Qt::black, 12)) << inside.name().toStdString();
        const QColor beside = image.pixelColor(island.left() - 6, island.center().y());
        EXPECT_FALSE(near(beside, Qt::black, 30)) << beside.name().toStdString();
    }

    void TearDown() override
    {
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
        }
        IslandViewTest::TearDown();
    }

    // A track playing in the player of suffix, with cover art that loads.
    void play(const QString &suffix, const QString &title, const QString &artist)
    {
        QImage art(64, 64, QImage::Format_RGB32);
        art.fill(QColor(0xff, 0x5e, 0x3a));
        const QString path = tempPath(suffix + QStringLiteral(".png"));
        art.save(path);
        auto player = FakeMediaPlayers::player(suffix, title, QStringLiteral("Playing"), artist);
        player.metadata.insert(QStringLiteral("mpris:artUrl"), QUrl::fromLocalFile(path).toString());
        fakes->players.set(player);
        model->tick();
        EXPECT_TRUE(waitUntil([&] { return model->nowPlaying().hasArtwork(); }, 3000));
    }

    QString outDir;
};

TEST_F(IslandScreenshotTest, CollapsedHangingAndFloating)
{
    fakes->settings.setShowAmbientSmile(true);
    QQuickItem *s = scene({264, 48});
    ASSERT_TRUE(s);
    expectIsland(shoot("collapsed-hanging"), islandRect(s));

    model->setUsesFloatingIsland(true);
    s->setProperty("islandTop", IslandMetrics::floatingGap);
    s->setProperty("islandSize", IslandMetrics::floatingNotch);
    expectIsland(shoot("collapsed-floating"), islandRect(s));
}

TEST_F(IslandScreenshotTest, CompactWithArtworkAndBars)
{
    fakes->settings.setPlayerShowVisualizer(true);
    play(QStringLiteral("spotify"), QStringLiteral("Song"), QStringLiteral("Band"));
    QQuickItem *s = scene({264, 48});
    ASSERT_TRUE(s);
    const QImage image = shoot("compact-artwork-bars");
    expectIsland(image, islandRect(s));
    // The artwork tile sits at the leading side below the notch.
    const QRect r = islandRect(s);
    EXPECT_FALSE(near(image.pixelColor(r.left() + 16, r.top() + 6 + 16), Qt::black, 30));
}

TEST_F(IslandScreenshotTest, TimerGlowAndAmbientRim)
{
    model->timer()->start();
    QQuickItem *s = scene({264, 48});
    ASSERT_TRUE(s);
    QImage image = shoot("timer-glow");
    QRect r = islandRect(s);
    expectIsland(image, r);
    const QColor rim = image.pixelColor(r.left() + 1, r.center().y());
    EXPECT_GT(rim.red(), 150) << rim.name().toStdString();
    EXPECT_GT(rim.green(), 110) << rim.name().toStdString();
    EXPECT_LT(rim.blue(), 120) << rim.name().toStdString();

    model->timer()->reset();
    model->bluetoothConnected(QStringLiteral("Buds"));
    image = shoot("ambient-rim", 900);
    expectIsland(image, r);
    const QColor blue = image.pixelColor(r.left() + 1, r.center().y());
    EXPECT_GT(blue.blue(), blue.red() + 40) << blue.name().toStdString();
}

TEST_F(IslandScreenshotTest, HoverIslands)
{
    QQuickItem *s = scene({296, 72});
    ASSERT_TRUE(s);
    model->setState(NotchState::hover);
    const QRect r = islandRect(s);

    fakes->settings.setShowClockWhenIdle(true);
    expectIsland(shoot("hover-time"), r);
    fakes->settings.setShowClockWhenIdle(false);

    model->timer()->start();
    expectIsland(shoot("hover-timer"), r);
    model->timer()->reset();

    play(QStringLiteral("rhythmbox"), QStringLiteral("Midnight City"), QStringLiteral("M83"));
    expectIsland(shoot("hover-music"), r);
    fakes->players.set(FakeMediaPlayers::player(QStringLiteral("rhythmbox"), QStringLiteral("Midnight City"),
                                                QStringLiteral("Paused"), QStringLiteral("M83")));
    model->tick();

    fakes->permissionBackend.calendar = platform::IPermissionBackend::CalendarAccess::FullAccess;
    platform::CalendarEvent event;
    event.title = QStringLiteral("Design review");
    event.start = clock.now().addSecs(600);
    event.end = event.start.addSecs(1800);
    event.url = QUrl(QStringLiteral("https://meet.google.com/abc-defg-hij"));
    fakes->calendar.eventList.append(event);
    model->tick();
    ASSERT_TRUE(waitUntil([&] { return model->nextEvent().has_value(); }, 3000));
    ASSERT_EQ(model->look()->hover().accessoryKind, "join");
    expectIsland(shoot("hover-event"), r);
}

TEST_F(IslandScreenshotTest, HudVolumeBrightnessAndOverAPanel)
{
    QQuickItem *s = scene({288, 68});
    ASSERT_TRUE(s);
    fakes->settings.setShowSystemHUD(true);
    model->handleHUD({SystemHUDKind::volume, 0.6, false});
    ASSERT_EQ(model->state(), NotchState::hud);
    QImage image = shoot("hud-volume");
    expectIsland(image, islandRect(s));
    // The bar's fill is the sky accent.
    const QRect r = islandRect(s);
    const QColor fill = image.pixelColor(r.left() + 14 + 18 + 10 + 8, r.bottom() - 8 - 9);
    EXPECT_GT(fill.blue(), 180) << fill.name().toStdString();

    model->handleHUD({SystemHUDKind::brightness, 0.3, false});
    expectIsland(shoot("hud-brightness"), islandRect(s));

    s->setProperty("islandSize", QSizeF(428, 300));
    model->openHome();
    model->handleHUD({SystemHUDKind::brightness, 0.5, false});
    expectIsland(shoot("hud-over-panel"), islandRect(s));
}

TEST_F(IslandScreenshotTest, LockToast)
{
    fakes->settings.setModuleEnabled("gameMode", true);
    model->setGameModeOn(true);
    model->showGameModeToast();
    // The collapsed island grows by the toast's height.
    QQuickItem *s = scene({264, 48 + int(IslandMetrics::toastHeight)});
    ASSERT_TRUE(s);
    const QImage image = shoot("lock-toast");
    const QRect r = islandRect(s);
    expectIsland(image, QRect(r.x(), r.y(), r.width(), 40));
    // The toast's title is drawn in the yellow accent below the notch.
    bool yellow = false;
    for (int y = r.top() + 40; y < r.bottom() && !yellow; ++y)
        for (int x = r.left(); x < r.right() && !yellow; ++x) {
            const QColor c = image.pixelColor(x, y);
            yellow = c.red() > 200 && c.green() > 170 && c.blue() < 140;
        }
    EXPECT_TRUE(yellow);
}

TEST_F(IslandScreenshotTest, MirrorWithACameraFrame)
{
    QQuickItem *s = scene({320, 268});
    ASSERT_TRUE(s);
    model->setState(NotchState::mirror);
    ASSERT_TRUE(Patience::until([&] { return showFrame(s->findChild<QObject *>("cameraOutput")); }, 2000,
                                [this](int ms) { spin(ms); }));
    const QImage image = shoot("mirror");
    const QRect r = islandRect(s);
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(near(image.pixelColor(4, 4), desktopTop));
    // The picture fills the preview, mirrored: the face sits left of centre.
    const QPoint centre(r.center().x(), r.top() + 38 + 80);
    const QColor face = image.pixelColor(centre.x() - 30, centre.y());
    EXPECT_GT(face.red(), 180) << face.name().toStdString();
    const QColor background = image.pixelColor(r.right() - 24, centre.y());
    EXPECT_LT(background.red(), 100) << background.name().toStdString();
}

TEST_F(IslandScreenshotTest, EditorBothPhases)
{
    model->setEditingIsland(true);
    QQuickItem *s = scene({264, 48});
    ASSERT_TRUE(s);
    QQuickItem *shade = load("IslandEditShadeView.qml", withModel({{"ringCenter", QPointF(380, 0)}, {"ringRadius", 210}}));
    QQuickItem *controls = load("IslandEditControlsView.qml", withModel());
    ASSERT_TRUE(shade && controls);
    // The shade's panel lies below the island's, the controls' above it.
    shade->setParentItem(s);
    shade->setZ(0.5);
    s->property("island").value<QQuickItem *>()->setZ(1);
    shade->setSize(QSizeF(760, 250));
    controls->setPosition(QPointF(20, 0));
    controls->setSize(QSizeF(320, 430));
    window->resize(760, 440);
    s->setHeight(440);
    QImage image = shoot("editor-notch", 1000);
    // The red outline is drawn over the island's edge.
    const QRect r = islandRect(s);
    const QColor edge = image.pixelColor(r.right(), r.center().y());
    EXPECT_GT(edge.red(), 180) << edge.name().toStdString();
    EXPECT_LT(edge.green(), 120) << edge.name().toStdString();

    model->setIslandEditPhase(IslandEditPhase::expanded);
    shade->setProperty("ringRadius", 280);
    shoot("editor-expanded", 1000);
}

