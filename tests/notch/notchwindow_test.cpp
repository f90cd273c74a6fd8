#include "canvas/canvascredentials.h"
#include "fakes/fakesecretstore.h"
#include "fakes/fakewindowparts.h"
#include "island/islandmetrics.h"
#include "notch/gamemodehotkeycenter.h"
#include "notch/notchwindowcontroller.h"
#include "store/appsettings.h"
#include "support/pavlettest.h"
#include "support/qmltest.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryFile>

using ScreenSpace::maxY;
using IslandMetrics::plainNotch;

namespace {
// The plain lip (the least drop) under the plain notch centred at x, in
// window coordinates.
QRect plainLip(int centreX)
{
    const QSizeF lip = plainNotch + QSizeF(0, IslandMetrics::minDrop);
    return QRectF(QPointF(centreX - lip.width() / 2, 0), lip).toRect();
}
} // namespace

class NotchWindowTest : public PavletTest, protected FakeWindowParts {
protected:
    NotchWindowTest() : FakeWindowParts(37) {}
    void SetUp() override
    {
        PavletTest::SetUp();
        credentials = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), tempPath("legacy-token"));
        settings = std::make_unique<AppSettings>(defaults.get(), nullptr, nullptr, credentials.get(), nullptr);
        // A plain lip under the notch.
        settings->setLipEar(0);
        settings->setLipDrop(2);
        settings->setModuleEnabled("gameMode", true);
    }
    NotchWindowController::Parts parts(QQmlEngine *engine = nullptr)
    {
        return windowParts(&clock, scheduler.get(), nullptr, engine);
    }
    // The pointer over a y-up point.
    void pointAt(double x, double y) { pointer.at = ScreenSpace::flip(QPointF(x, y), screens.pivot); }

    FakeSecretStore secrets;
    std::unique_ptr<CanvasCredentialStore> credentials;
    std::unique_ptr<AppSettings> settings;
};

TEST_F(NotchWindowTest, StartsAtTheTopCentreWithTheCollapsedSize)
{
    settings->setFloatingIsland(false);
    NotchWindowController c(settings.get(), parts());
    // Window coordinates: top centre of the 1512-wide screen.
    EXPECT_EQ(c.panel()->geometry(), plainLip(756));
    EXPECT_EQ(c.panel()->islandRect(), QRectF(QPointF(), plainLip(756).size()));
    EXPECT_TRUE(c.panel()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(c.panel()->flags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(c.panel()->flags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(clicks.running);
    EXPECT_TRUE(hotkey.grabbed);
}

TEST_F(NotchWindowTest, ADamagedSettingsFilePlacesTheIslandOnWholeCoordinates)
{
    settings->setFloatingIsland(false);
    defaults->setString("lipDrop", "nan");
    defaults->setString("lipCornerRadius", "inf");
    defaults->setDouble("lipOffsetX", 1e300);
    defaults->setDouble("expandedOffsetY", -1e300);
    EXPECT_EQ(settings->lipDrop(), 16); // the default
    NotchWindowController c(settings.get(), parts());
    c.snap();
    const QRect g = c.panel()->geometry();
    EXPECT_EQ(g.height(), plainNotch.height() + 16);
    EXPECT_GT(g.x(), plainLip(756).x());
    EXPECT_LE(g.right(), 32767);
    EXPECT_EQ(c.panel()->cornerRadius(), 10);
    FrameInputs home;
    home.state = NotchState::home;
    c.setInputs(home);
    scheduler->advance(3000);
    EXPECT_EQ(c.panel()->geometry().y(), 0);
}

TEST_F(NotchWindowTest, AnimationGrowsTheWindowOnceAndMovesOnlyTheShape)
{
    settings->setFloatingIsland(false);
    NotchWindowController c(settings.get(), parts());
    FrameInputs hover;
    hover.state = NotchState::hover;
    int resizes = 0;
    QObject::connect(c.panel(), &QWindow::widthChanged, [&] { ++resizes; });
    c.setInputs(hover);
    const QRect room = c.panel()->geometry();
    EXPECT_TRUE(room.contains(QRect(608, 0, 296, 72)));
    scheduler->advance(100);
    EXPECT_EQ(c.panel()->geometry(), room); // steps do not touch the window
    EXPECT_LE(resizes, 1);
    const QRectF midway = c.panel()->islandRect();
    EXPECT_GT(midway.width(), plainNotch.width());
    EXPECT_TRUE(c.panel()->mask().boundingRect().width() <= int(midway.width()) + 1);
    scheduler->advance(3000);
    // Settled: the window is fitted to the final frame.
    EXPECT_EQ(c.panel()->geometry(), QRect(608, 0, 296, 72));
    EXPECT_EQ(c.panel()->islandRect(), QRectF(0, 0, 296, 72));
}

TEST_F(NotchWindowTest, TheCornersRoundWithTheFrameAndTheShapeFollows)
{
    settings->setFloatingIsland(false);
    settings->setLipCornerRadius(0);
    NotchWindowController c(settings.get(), parts());
    FrameInputs hover;
    hover.state = NotchState::hover;
    c.setInputs(hover);
    EXPECT_EQ(c.panel()->cornerRadius(), 0); // nothing jumps before the first step
    scheduler->advance(60);
    const double midway = c.panel()->cornerRadius();
    EXPECT_GT(midway, 2);
    EXPECT_LT(midway, 14);
    // The shape's bottom corners are cut by the radius of the moment.
    const QRect island = c.panel()->islandRect().toAlignedRect();
    EXPECT_FALSE(c.panel()->mask().contains(island.bottomLeft()));
    EXPECT_TRUE(c.panel()->mask().contains(island.bottomLeft() + QPoint(int(midway) + 1, -1)));
    scheduler->advance(3000);
    EXPECT_EQ(c.panel()->cornerRadius(), 14);

    // A floating island keeps room in its window for its shadow.
    settings->setFloatingIsland(true);
    c.refreshGeometry();
    c.snap();
    EXPECT_EQ(c.panel()->cornerRadius(), 18);
    EXPECT_EQ(c.panel()->geometry(), c.panel()->islandFrameOnScreen().toAlignedRect().adjusted(-14, -14, 14, 14));
}

TEST_F(NotchWindowTest, FromHomeOnTheIslandTakesTheKeyboard)
{
    NotchWindowController c(settings.get(), parts());
    FrameInputs home;
    home.state = NotchState::home;
    c.setInputs(home);
    EXPECT_FALSE(c.panel()->flags() & Qt::WindowDoesNotAcceptFocus);
    c.setInputs(FrameInputs{});
    EXPECT_TRUE(c.panel()->flags() & Qt::WindowDoesNotAcceptFocus);
}

TEST_F(NotchWindowTest, PointerPollReportsEntryAndExit)
{
    settings->setFloatingIsland(false);
    NotchWindowController c(settings.get(), parts());
    QSignalSpy entered(&c, &NotchWindowController::pointerEntered);
    QSignalSpy exited(&c, &NotchWindowController::pointerExited);
    pointAt(100, 100);
    scheduler->advance(50);
    EXPECT_EQ(entered.count(), 0);
    pointAt(756, 970);
    scheduler->advance(17);
    EXPECT_EQ(entered.count(), 1);
    scheduler->advance(100);
    EXPECT_EQ(entered.count(), 1);
    pointAt(100, 100);
    scheduler->advance(17);
    EXPECT_EQ(exited.count(), 1);
}

TEST_F(NotchWindowTest, ClicksInsideOutsideAndTwice)
{
    settings->setFloatingIsland(false);
    NotchWindowController c(settings.get(), parts());
    QSignalSpy inside(&c, &NotchWindowController::islandClicked);
    QSignalSpy outside(&c, &NotchWindowController::collapseRequested);

    pointAt(756, 970);
    // One press seen by the window and by the desktop-wide monitor, stamped
    // a millisecond apart.
    c.handleClick(1001, true);
    clicks.click(1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(inside.count(), 1);

    // Home open: a click inside does nothing here, one outside collapses.
    FrameInputs home;
    home.state = NotchState::home;
    c.setInputs(home);
    c.handleClick(2000, true);
    EXPECT_EQ(inside.count(), 1);
    pointAt(100, 100);
    clicks.click(3000);
    QCoreApplication::processEvents();
    EXPECT_EQ(outside.count(), 1);

    // Collapsed: a click outside is nobody's business.
    c.setInputs(FrameInputs{});
    c.handleClick(4000, false);
    EXPECT_EQ(outside.count(), 1);

    // Editing the island: clicks are ignored.
    c.setInputs(home);
    c.setEditingIsland(true);
    c.handleClick(5000, false);
    EXPECT_EQ(outside.count(), 1);
}

TEST_F(NotchWindowTest, HidingTheGameModeModuleGivesTheChordBack)
{
    NotchWindowController c(settings.get(), parts());
    EXPECT_TRUE(hotkey.grabbed);
    settings->setModuleEnabled("gameMode", false);
    c.applySettings();
    EXPECT_FALSE(hotkey.grabbed);
    settings->setModuleEnabled("gameMode", true);
    c.applySettings();
    EXPECT_TRUE(hotkey.grabbed);
    c.teardown();
    EXPECT_FALSE(hotkey.grabbed);
    EXPECT_FALSE(clicks.running);
    EXPECT_EQ(scheduler->pendingCount(), 0);
}

TEST_F(NotchWindowTest, AScreenChangeMovesTheIslandWithoutAnimation)
{
    settings->setFloatingIsland(false);
    NotchWindowController c(settings.get(), parts());
    screens.list = {FakeScreenProvider::plain("wide", 0, 0, 2560, 1440)};
    screens.pivot = 1440;
    screens.change();
    QCoreApplication::processEvents();
    EXPECT_EQ(c.panel()->geometry(), plainLip(1280));
    EXPECT_FALSE(c.frameDriver()->isAnimating());
}

TEST_F(NotchWindowTest, ContentDrawsTheIslandInsideTheWindow)
{
    QmlLoader qml;
    NotchWindowController c(settings.get(), parts(&qml.engine()));
    ASSERT_TRUE(c.panel()->content());
    auto *backdrop = c.panel()->content()->findChild<QQuickItem *>("backdrop");
    ASSERT_TRUE(backdrop);
    EXPECT_EQ(backdrop->width(), c.panel()->islandRect().width());
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}

// The panels reached from Home are compiled once Home has opened, not while
// the island only rests or hovers; the settings window hears of each
// opening, to be built ahead again after a give-back.
TEST_F(NotchWindowTest, PanelsAreCompiledAheadOnlyOnceHomeHasOpened)
{
    QmlLoader qml;
    NotchWindowController c(settings.get(), parts(&qml.engine()));
    QSignalSpy opened(&c, &NotchWindowController::homeOpenedOnce);
    QSignalSpy settled(&c, &NotchWindowController::homeSettled);
    FrameInputs hover;
    hover.state = NotchState::hover;
    c.setInputs(hover);
    scheduler->advance(3000);
    QCoreApplication::processEvents();
    EXPECT_EQ(opened.count(), 0);
    EXPECT_EQ(settled.count(), 0);
    EXPECT_FALSE(c.panel()->panelsAhead());

    FrameInputs home;
    home.state = NotchState::home;
    c.setInputs(home);
    scheduler->advance(3000);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.panel()->panelsAhead() != nullptr; }, 10000));

    c.setInputs(FrameInputs{});
    scheduler->advance(3000);
    c.setInputs(home);
    scheduler->advance(3000);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(settled.count(), 2);
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}

namespace {
struct RecordingDropTarget : FileDropTarget {
    int entered = 0, exited = 0;
    bool accept = true;
    QList<QUrl> dropped;
    void fileDragEntered() override { ++entered; }
    void fileDragExited() override { ++exited; }
    bool fileDropped(const QList<QUrl> &files) override
    {
        dropped = files;
        return accept;
    }
};
} // namespace

TEST_F(NotchWindowTest, OnlyLocalFilesAreDropped)
{
    NotchPanel panel(nullptr);
    const QList<QUrl> web = {QUrl("https://example.com/a.txt")};
    const QList<QUrl> mixed = {QUrl("https://example.com/a.txt"), QUrl::fromLocalFile("/tmp/b.txt")};
    // No target: a drop is refused.
    EXPECT_FALSE(panel.drop(mixed));

    RecordingDropTarget target;
    panel.setDropTarget(&target);
    EXPECT_FALSE(panel.dragEnter(web));
    EXPECT_EQ(target.entered, 0);
    EXPECT_FALSE(panel.drop(web));
    EXPECT_TRUE(target.dropped.isEmpty());

    EXPECT_TRUE(panel.dragEnter(mixed));
    EXPECT_EQ(target.entered, 1);
    EXPECT_TRUE(panel.drop(mixed));
    EXPECT_EQ(target.dropped, QList<QUrl>{QUrl::fromLocalFile("/tmp/b.txt")});
    target.accept = false;
    EXPECT_FALSE(panel.drop(mixed));
}
