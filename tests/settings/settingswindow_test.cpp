#include "settingsfixture.h"

#include "settings/settingsnavigation.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QQuickItem>
#include <QQuickWindow>

using Page = SettingsNavigation::Page;

TEST(SettingsNavigationTest, OpenSettingsNoticeSelectsOnlyAnExactPageName)
{
    struct Case {
        QVariantMap userInfo;
        Page expected;
    };
    const Case cases[] = {
        {{{"page", "library"}}, Page::library},
        {{{"page", "notch"}}, Page::notch},
        {{{"page", "Library"}}, Page::general},
        {{{"page", "settings"}}, Page::general},
        {{{"page", 3}}, Page::general},
        {{{"page", QByteArray("library")}}, Page::general},
        {{{"other", "library"}}, Page::general},
        {{}, Page::general},
    };
    for (const Case &c : cases) {
        SettingsNavigation nav;
        nav.handleOpenSettings(c.userInfo);
        EXPECT_EQ(nav.page(), c.expected) << c.userInfo.value("page").toString().toStdString();
    }
}

TEST(SettingsPlacementTest, SmallWindowsGrowAndOnlyTheAxisThatSticksOutIsCentred)
{
    const QRect visible(0, 25, 1440, 875);
    struct Case {
        QRect frame;
        QRect expected;
    };
    const Case cases[] = {
        // Fits: stays where it is; too small on one axis: that axis grows.
        {{100, 100, 800, 600}, {100, 100, 800, 600}},
        {{100, 100, 500, 600}, {100, 100, 760, 600}},
        {{100, 100, 700, 400}, {100, 100, 700, 520}},
        // Sticks out on the right only: x is centred, y kept.
        {{1000, 100, 800, 600}, {320, 100, 800, 600}},
        // Taller than the free area: as tall as it, x kept.
        {{100, 0, 800, 1000}, {100, 25, 800, 875}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SettingsWindowController::placeWindow(c.frame, visible, {}).geometry, c.expected);

    // 1280 x 720 at scale 1.5 with a 20 px panel: the window and its minimum
    // shrink to the free area less the frame, whose title bar stays on it.
    const QRect small(0, 20, 853, 460);
    const QMargins frame(2, 20, 2, 2);
    const auto placed = SettingsWindowController::placeWindow({46, -30, 760, 520}, small, frame);
    EXPECT_EQ(placed.geometry, QRect(46, 40, 760, 438));
    EXPECT_EQ(placed.minimum, QSize(720, 438));
    // With the island resting at the top centre, the title bar goes below it.
    const QRect island(329, 0, 196, 35);
    EXPECT_EQ(SettingsWindowController::placeWindow({46, -30, 760, 520}, small, frame, island).geometry,
              QRect(46, 55, 760, 423));
}

TEST_F(SettingsTest, WindowIsBuiltOnceKeepsItsPageAndClosingMakesAnAccessory)
{
    completeSetup();
    SettingsWindowController &c = make();
    c.show();
    QQuickWindow *window = c.window();
    ASSERT_TRUE(window);
    ASSERT_TRUE(c.root()) << qml.warnings().join('\n').toStdString();
    EXPECT_EQ(window->title(), "Pavlet");
    EXPECT_EQ(window->objectName(), "settings");
    EXPECT_GE(window->width(), 640);
    // The content's own minimum holds the window.
    EXPECT_EQ(window->minimumSize(), QSize(720, 460));

    c.navigation()->select(int(Page::notch));
    QCloseEvent close;
    QCoreApplication::sendEvent(window, &close);
    EXPECT_EQ(activation.calls.last(), "accessory");

    c.show();
    EXPECT_EQ(c.window(), window);
    EXPECT_EQ(c.navigation()->page(), Page::notch);
    EXPECT_EQ(activation.calls.last(), "activate");
}

// A page asked for before the window exists is where the new window opens.
TEST_F(SettingsTest, PageRequestedBeforeTheWindowExistsIsKept)
{
    completeSetup();
    SettingsWindowController &c = make();
    fakes->notifications.openSettings(QStringLiteral("library"));
    c.show();
    ASSERT_TRUE(c.root());
    EXPECT_EQ(c.navigation()->page(), Page::library);
    fakes->notifications.openSettings(QStringLiteral("permissions"));
    EXPECT_EQ(c.navigation()->page(), Page::permissions);
}

// Every page and the first-run sheet draw without a QML warning.
TEST_F(SettingsTest, EveryPageAndTheSetupSheetLoadWithoutWarnings)
{
    SettingsWindowController &c = make();
    c.show();
    ASSERT_TRUE(c.root());
    EXPECT_TRUE(find(c.root(), "allowRecommended"));
    for (Page p : SettingsNavigation::all()) {
        c.navigation()->setPage(p);
        QCoreApplication::processEvents();
    }
    fakes->settings.setShowSystemHUD(true);
    fakes->settings.setUseCustomAccent(true);
    // An installed Canvas card opens with its form.
    c.navigation()->setPage(Page::library);
    QCoreApplication::processEvents();
    fakes->settings.setModule(HomeModule::canvas, false);
    c.modules()->install(QStringLiteral("canvas"));
    QCoreApplication::processEvents();
    scheduler->advance(2000);
    c.navigation()->setPage(Page::modules);
    QCoreApplication::processEvents();
    EXPECT_TRUE(find(c.root(), QStringLiteral("canvasAddress")));
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}

// Built in the background, the window waits hidden with its views; a show()
// finds it whole whether the building ahead finished or not, and a late
// answer of the background work never builds a second one.
TEST_F(SettingsTest, BuildingAheadLeavesOneHiddenWindowThatShowUses)
{
    for (const bool waitForIt : {true, false}) {
        SCOPED_TRACE(waitForIt ? "finished ahead" : "shown while building");
        completeSetup();
        SettingsWindowController &c = make();
        c.buildAhead();
        if (waitForIt) {
            QElapsedTimer waited;
            waited.start();
            while (!c.root() && waited.elapsed() < 10000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            ASSERT_TRUE(c.root()) << warnings().join('\n').toStdString();
            ASSERT_TRUE(c.window());
            EXPECT_FALSE(c.window()->isVisible());
            // Nothing finds it as the settings window before it shows.
            EXPECT_TRUE(c.window()->title().isEmpty());
            EXPECT_TRUE(c.window()->objectName().isEmpty());
        }
        c.show();
        QQuickWindow *window = c.window();
        QQuickItem *root = c.root();
        ASSERT_TRUE(window);
        ASSERT_TRUE(root) << warnings().join('\n').toStdString();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->objectName(), SettingsWindowController::WindowId);
        EXPECT_EQ(root->parentItem(), window->contentItem());
        EXPECT_EQ(root->size(), QSizeF(window->size()));
        c.buildAhead();
        // What a dropped background build leaves goes with the next turns.
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        EXPECT_EQ(c.window(), window);
        EXPECT_EQ(c.root(), root);
        // Given back once closed, it is built anew, ahead or by the next
        // show(), and shows whole again.
        window->close();
        ASSERT_TRUE(c.release());
        EXPECT_FALSE(c.window());
        c.buildAhead();
        QElapsedTimer rebuilt;
        rebuilt.start();
        while (waitForIt && !c.root() && rebuilt.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        c.show();
        ASSERT_TRUE(c.root()) << warnings().join('\n').toStdString();
        EXPECT_EQ(c.root()->parentItem(), c.window()->contentItem());
        EXPECT_TRUE(c.window()->isVisible());
        controller.reset();
        EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
    }
}
