#include "../../settings/settingsfixture.h"

#include "settings/settingsnavigation.h"
#include "support/patience.h"
#include "support/screenshots.h"

#include "core/appnotifications.h"
#include "store/appsettings.h"
#include "style/palette.h"
#include "settings/clocksample.h"

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

// Draws the settings window's pages through the real window, checks a few
// pixels of each, and writes the pictures to $PAVLET_SCREENSHOT_DIR when it
// is set.
namespace {
bool near(const QColor &a, const QColor &b, int tolerance = 24)
{
    return Screenshots::near(a, b, tolerance);
}
} // namespace

class SettingsScreenshotTest : public SettingsTest {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        SettingsTest::SetUp();
        outDir = Screenshots::outputDir();
    }

    void TearDown() override
    {
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
        }
        SettingsTest::TearDown();
    }

    QQuickWindow *open()
    {
        SettingsWindowController &c = controller ? *controller : make();
        c.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(c.window()));
        return c.window();
    }

    // Waits until two grabs a little apart match.
    QImage shoot(const QString &name)
    {
        QQuickWindow *window = controller->window();
        const QImage image = Screenshots::settled(
            [window] { return window->grabWindow(); }, 150, 80, 20, [](int ms) { QTest::qWait(ms); });
        Screenshots::save(image, outDir, QStringLiteral("settings-") + name);
        return image;
    }

    // A named item once it is shown and has stopped moving (a card that
    // opens, a page that scrolls), or null when it never shows.
    QQuickItem *settled(const QString &name)
    {
        QQuickItem *item = nullptr;
        Patience::until([&] {
            item = find(controller->root(), name);
            return item && Patience::ready(item, 1000);
        }, 3000);
        return item;
    }

    // Shows a page and waits until it is laid out and drawn, its cards
    // opened.
    void showPage(SettingsNavigation::Page page)
    {
        controller->navigation()->setPage(page);
        for (QQuickItem *view : controller->root()->findChildren<QQuickItem *>()) {
            if (!view->inherits("QQuickFlickable") || !view->isVisible())
                continue;
            auto *content = view->property("contentItem").value<QQuickItem *>();
            Patience::ready(content && content->height() > 0 ? content : view);
        }
    }

    // Clicks the middle of a named item.
    void click(const QString &name)
    {
        QQuickItem *item = settled(name);
        ASSERT_TRUE(item) << name.toStdString();
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(controller->window(), Qt::LeftButton, {}, centre.toPoint());
    }

    // Scrolls the page holding a named item so that the item is at its top.
    void scrollTo(const QString &name)
    {
        QQuickItem *item = settled(name);
        ASSERT_TRUE(item) << name.toStdString();
        for (QQuickItem *p = item->parentItem(); p; p = p->parentItem()) {
            if (p->property("contentY").isValid() && p->property("contentItem").isValid()) {
                auto *content = p->property("contentItem").value<QQuickItem *>();
                // Cards above it may still open or close.
                Patience::ready(content);
                const double y = item->mapToItem(content, QPointF(0, 0)).y();
                const double most = std::max(0.0, p->property("contentHeight").toDouble() - p->height());
                p->setProperty("contentY", std::min(y, most));
                return;
            }
        }
        ADD_FAILURE() << "no scrolling page holds " << name.toStdString();
    }

    // Opens the window and waits until it takes the keyboard.
    QQuickWindow *openActive()
    {
        QQuickWindow *window = open();
        window->requestActivate();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        return window;
    }

    // Whether item lies inside ancestor.
    static bool within(const QQuickItem *item, const QQuickItem *ancestor)
    {
        for (; item; item = item->parentItem()) {
            if (item == ancestor)
                return true;
        }
        return false;
    }

    // The scene rectangle of a named item.
    QRectF sceneRect(const QString &name)
    {
        QQuickItem *item = find(controller->root(), name);
        EXPECT_TRUE(item) << name.toStdString();
        return item ? item->mapRectToScene(QRectF(0, 0, item->width(), item->height())) : QRectF();
    }

    // Some pixel of image inside rect is near colour.
    static bool anyNear(const QImage &image, const QRectF &rect, const QColor &colour, int tolerance)
    {
        const QRect r = rect.toAlignedRect().intersected(image.rect());
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                if (near(image.pixelColor(x, y), colour, tolerance))
                    return true;
            }
        }
        return false;
    }

    // The focus ring shown on the item that holds the keyboard, or null.
    QQuickItem *shownRing()
    {
        QQuickItem *focus = focused();
        return focus ? find(focus, QStringLiteral("focusRing")) : nullptr;
    }

    std::string focusName() const
    {
        QQuickItem *focus = controller->window()->activeFocusItem();
        return focus ? std::string(focus->metaObject()->className()) + " \"" + focus->objectName().toStdString() + "\""
                     : std::string("nothing");
    }

    // A key for the window, once it holds the keyboard: windows of other
    // tests on the same display may take it away for a moment.
    void key(Qt::Key k)
    {
        reactivate();
        QTest::keyClick(controller->window(), k);
    }
    void reactivate()
    {
        QQuickWindow *window = controller->window();
        for (int tries = 0; tries < 4 && !window->isActive(); ++tries) {
            window->requestActivate();
            (void)QTest::qWaitForWindowActive(window, 2500);
        }
    }
    // The item that holds the keyboard.
    QQuickItem *focused()
    {
        reactivate();
        return controller->window()->activeFocusItem();
    }

    // A named item anywhere in the window, pop-ups included.
    QQuickItem *inWindow(const QString &name) { return find(controller->window()->contentItem(), name); }

    QString outDir;
};

TEST_F(SettingsScreenshotTest, OnboardingThenEveryPageThroughTheSidebar)
{
    QQuickWindow *window = open();
    ASSERT_TRUE(window);
    QImage sheet = shoot("onboarding");
    ASSERT_FALSE(sheet.isNull());
    // The sheet darkens the window; the gold primary button sits under it.
    EXPECT_TRUE(near(sheet.pixelColor(5, 5), Qt::black, 30)) << sheet.pixelColor(5, 5).name().toStdString();

    click(QStringLiteral("continue"));
    EXPECT_TRUE(defaults->boolValue(QStringLiteral("permissionsSetupCompleted"), false));

    const QImage general = shoot("general");
    // The sidebar is darker than the detail area, and the selected row lighter.
    EXPECT_LT(general.pixelColor(90, general.height() - 10).lightness(),
              general.pixelColor(general.width() - 10, general.height() - 40).lightness());

    struct Step {
        const char *row;
        const char *shot;
        SettingsNavigation::Page page;
    };
    const Step steps[] = {
        {"sidebar-permissions", "permissions", SettingsNavigation::Page::permissions},
        {"sidebar-modules", "modules", SettingsNavigation::Page::modules},
        {"sidebar-library", "library", SettingsNavigation::Page::library},
        {"sidebar-notch", "notch", SettingsNavigation::Page::notch},
    };
    for (const Step &s : steps) {
        click(QString::fromLatin1(s.row));
        EXPECT_EQ(controller->navigation()->page(), s.page);
        shoot(QString::fromLatin1(s.shot));
    }

    // "Go to Library" on the Modules page lands on Library.
    click(QStringLiteral("sidebar-modules"));
    click(QStringLiteral("goToLibrary"));
    EXPECT_EQ(controller->navigation()->page(), SettingsNavigation::Page::library);
}

TEST_F(SettingsScreenshotTest, CanvasCardAndInstallingThroughTheWindow)
{
    completeSetup();
    fakes->settings.setModule(HomeModule::canvas, false);
    fakes->settings.setModule(HomeModule::notes, false);
    open();
    controller->navigation()->setPage(SettingsNavigation::Page::library);
    click(QStringLiteral("install"));
    EXPECT_TRUE(controller->modules()->isInstalling(QStringLiteral("notes")));
    const QImage installing = shoot("library-installing");
    // The gold ring beside "Installing".
    EXPECT_TRUE(anyNear(installing, sceneRect(QStringLiteral("installingIndicator")), Palette::yellowColor, 60));

    controller->modules()->install(QStringLiteral("canvas"));
    scheduler->advance(2000);
    EXPECT_TRUE(fakes->settings.isModuleEnabled(HomeModule::canvas));
    controller->navigation()->setPage(SettingsNavigation::Page::modules);
    fakes->settings.setCanvasStatus(QStringLiteral("School URL must be https://"));
    scrollTo(QStringLiteral("module-canvas"));
    const QImage modules = shoot("modules-canvas");
    EXPECT_TRUE(find(controller->root(), QStringLiteral("canvasAddress")));
    EXPECT_FALSE(modules.isNull());

    // The world clocks card: remove a city through its button, then add one.
    scrollTo(QStringLiteral("module-clocks"));
    const QString first = fakes->settings.clocks().first().idText();
    click(QStringLiteral("remove-") + first);
    EXPECT_EQ(fakes->settings.clocks().size(), 2);
    click(QStringLiteral("addCity"));
    ASSERT_EQ(fakes->settings.clocks().size(), 3);
    EXPECT_EQ(fakes->settings.clocks().last().label, "City");
    scrollTo(QStringLiteral("module-clocks"));
    shoot("modules-clocks");
}

TEST_F(SettingsScreenshotTest, NotchPageWithAccentAndBars)
{
    completeSetup();
    fakes->settings.setUseCustomAccent(true);
    fakes->settings.setCustomAccent(QColor(255, 64, 160));
    fakes->settings.setShowSystemHUD(true);
    open();
    controller->navigation()->setPage(SettingsNavigation::Page::notch);
    const QImage notch = shoot("notch-accent");
    // The launch card's prominent button takes the custom accent.
    QQuickItem *button = find(controller->root(), QStringLiteral("editOnScreen"));
    ASSERT_TRUE(button);
    const QPointF p = button->mapToScene(QPointF(6, button->height() / 2));
    EXPECT_TRUE(near(notch.pixelColor(p.toPoint()), QColor(255, 64, 160), 40))
        << notch.pixelColor(p.toPoint()).name().toStdString();
    scrollTo(QStringLiteral("notchZone"));
    shoot("notch-clock");
    scrollTo(QStringLiteral("hudNote"));
    shoot("notch-gestures");
    int posted = 0;
    QObject::connect(&fakes->notifications, &AppNotifications::beginIslandEditRequested, [&posted] { ++posted; });
    scrollTo(QStringLiteral("editOnScreen"));
    click(QStringLiteral("editOnScreen"));
    EXPECT_EQ(posted, 1);
}

TEST_F(SettingsScreenshotTest, TheFirstRunSheetKeepsKeysAndClicksFromThePageBeneath)
{
    struct Case {
        const char *what;
        QList<Qt::Key> keys;
        bool clickSwitch;
    };
    const Case cases[] = {
        {"Tab Tab Space", {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space}, false},
        {"Tab Tab Tab Space", {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space}, false},
        {"Tab x7 Return",
         {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return},
         false},
        {"click on the switch", {}, true},
    };
    for (const Case &c : cases) {
        defaults->remove(QStringLiteral("permissionsSetupCompleted"));
        controller.reset();
        QQuickWindow *window = openActive();
        QSignalSpy quit(controller.get(), &SettingsWindowController::quitRequested);
        QQuickItem *sheet = find(controller->root(), QStringLiteral("sheetScroll"));
        ASSERT_TRUE(sheet) << c.what;
        while (sheet->parentItem() && sheet->parentItem() != controller->root())
            sheet = sheet->parentItem();
        for (Qt::Key key : c.keys) {
            const bool sheetUp = !defaults->boolValue(QStringLiteral("permissionsSetupCompleted"), false);
            QTest::keyClick(window, key);
            // Focus may be nowhere for a moment (a busy window system hands
            // it back late); it must never rest on the page beneath.
            QQuickItem *focus = window->activeFocusItem();
            if (sheetUp && key == Qt::Key_Tab && focus) {
                EXPECT_TRUE(within(focus, sheet)) << c.what << ": focus left the sheet for "
                                                  << focus->metaObject()->className() << " \""
                                                  << focus->objectName().toStdString() << "\"";
            }
        }
        if (c.clickSwitch) {
            QQuickItem *toggle = controller->root()->findChild<QQuickItem *>(QStringLiteral("launchAtLogin"));
            ASSERT_TRUE(toggle);
            const QPointF at = toggle->mapToScene(QPointF(toggle->width() - 10, toggle->height() / 2));
            QTest::mouseClick(window, Qt::LeftButton, {}, at.toPoint());
        }
        // What gets through does so at once; a moment more for anything late.
        QTest::qWait(50);
        EXPECT_FALSE(fakes->settings.launchAtLogin()) << c.what;
        EXPECT_EQ(quit.count(), 0) << c.what;
    }
}

TEST_F(SettingsScreenshotTest, TheSheetsButtonsStayInReachAtTheSmallestSize)
{
    QQuickWindow *window = open();
    EXPECT_EQ(window->minimumSize(), QSize(720, 460));
    window->resize(window->minimumSize());
    ASSERT_TRUE(waitUntil([&] { return window->size() == QSize(720, 460); }));
    shoot("sheet-smallest");
    const QRectF inside(0, 0, window->width(), window->height());
    for (const char *name : {"allowRecommended", "continue"})
        EXPECT_TRUE(inside.contains(sceneRect(QString::fromLatin1(name)))) << name;
    click(QStringLiteral("continue"));
    EXPECT_TRUE(defaults->boolValue(QStringLiteral("permissionsSetupCompleted"), false));
}

TEST_F(SettingsScreenshotTest, AccentWellOpensTheColourDialogAndThePickReachesTheIsland)
{
    completeSetup();
    fakes->settings.setUseCustomAccent(true);
    const QColor stored(40, 200, 120);
    fakes->settings.setCustomAccent(stored);
    open();
    controller->navigation()->setPage(SettingsNavigation::Page::notch);
    scrollTo(QStringLiteral("accentWell"));
    QObject *dialog = controller->root()->findChild<QObject *>(QStringLiteral("accentDialog"));
    ASSERT_TRUE(dialog);
    click(QStringLiteral("accentWell"));
    ASSERT_TRUE(waitUntil([&] { return dialog->property("opened").toBool(); }, 3000));
    const QImage shot = shoot("accent-dialog");

    // The plane draws whichever renderer draws the window: white at the top
    // left, the stored colour's pure hue at the top right, black below.
    QQuickItem *plane = inWindow(QStringLiteral("accentPlane"));
    ASSERT_TRUE(plane);
    const QRectF r = plane->mapRectToScene(QRectF(0, 0, plane->width(), plane->height()));
    const int in = 4;
    EXPECT_TRUE(near(shot.pixelColor(QPointF(r.left() + in, r.top() + in).toPoint()), Qt::white, 30));
    const QColor hue = QColor::fromHsvF(stored.hsvHueF(), 1, 1);
    const QColor topRight = shot.pixelColor(QPointF(r.right() - in, r.top() + in).toPoint());
    EXPECT_TRUE(near(topRight, hue, 40)) << topRight.name().toStdString() << " for " << hue.name().toStdString();
    EXPECT_TRUE(near(shot.pixelColor(QPointF(r.center().x(), r.bottom() - in).toPoint()), Qt::black, 30));

    // A colour picked and cancelled is not what the next opening shows.
    const QColor picked(255, 0, 128);
    QMetaObject::invokeMethod(dialog, "pick", Q_ARG(QVariant, QVariant::fromValue(picked)));
    QQuickItem *cancel = inWindow(QStringLiteral("accentCancel"));
    ASSERT_TRUE(cancel);
    QTest::mouseClick(controller->window(), Qt::LeftButton, {},
                      cancel->mapToScene(QPointF(cancel->width() / 2, cancel->height() / 2)).toPoint());
    ASSERT_TRUE(waitUntil([&] { return !dialog->property("visible").toBool(); }, 3000));
    EXPECT_TRUE(near(fakes->settings.customAccent(), stored, 2));
    click(QStringLiteral("accentWell"));
    ASSERT_TRUE(waitUntil([&] { return dialog->property("opened").toBool(); }, 3000));
    EXPECT_TRUE(near(dialog->property("selectedColor").value<QColor>(), stored, 2));

    QMetaObject::invokeMethod(dialog, "pick", Q_ARG(QVariant, QVariant::fromValue(picked)));
    QQuickItem *ok = inWindow(QStringLiteral("accentOk"));
    ASSERT_TRUE(ok);
    QTest::mouseClick(controller->window(), Qt::LeftButton, {},
                      ok->mapToScene(QPointF(ok->width() / 2, ok->height() / 2)).toPoint());
    EXPECT_TRUE(near(fakes->settings.customAccent(), picked, 2));
    // The island's accent fades to it.
    const Accent *accent = Accent::forEngine(&qml.engine());
    EXPECT_TRUE(waitUntil([&] { return near(accent->resolve(Palette::yellowColor), picked, 2); }, 3000));
    EXPECT_TRUE(waitUntil([&] { return !dialog->property("visible").toBool(); }, 3000));
}

TEST_F(SettingsScreenshotTest, TheTraysShortcutsWorkInTheSettingsWindow)
{
    completeSetup();
    QQuickWindow *window = openActive();
    QSignalSpy quit(controller.get(), &SettingsWindowController::quitRequested);
    QSignalSpy posted(&fakes->notifications, &AppNotifications::posted);
    QTest::keyClick(window, Qt::Key_Comma, Qt::ControlModifier);
    ASSERT_EQ(posted.count(), 1);
    EXPECT_EQ(posted.first().first().toString(), AppNotifications::OpenSettings);
    QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(SettingsScreenshotTest, EveryControlShowsTheKeyboardsPlace)
{
    openActive();
    // The sheet's buttons first: a Tab before they are built lands on their loader.
    for (const char *name : {"allowRecommended", "continue"})
        ASSERT_TRUE(settled(QString::fromLatin1(name))) << name;
    const QImage before = shoot("sheet");
    for (const char *name : {"allowRecommended", "continue"}) {
        key(Qt::Key_Tab);
        ASSERT_TRUE(waitUntil([&] { return shownRing() != nullptr; }, 10000)) << name << " " << focusName();
        EXPECT_EQ(focused()->objectName(), QString::fromLatin1(name));
    }
    EXPECT_NE(shoot("sheet-focus"), before);
    click(QStringLiteral("continue"));

    // On every page, Tab from the sidebar through each control and back:
    // each shows its ring.
    QQuickItem *sidebar = find(controller->root(), QStringLiteral("sidebar"));
    ASSERT_TRUE(sidebar);
    for (SettingsNavigation::Page page : SettingsNavigation::all()) {
        showPage(page);
        reactivate();
        sidebar->forceActiveFocus(Qt::TabFocusReason);
        int stops = 0;
        for (; stops < 80; ++stops) {
            key(Qt::Key_Tab);
            QQuickItem *focus = focused();
            ASSERT_TRUE(focus);
            if (focus == sidebar)
                break;
            EXPECT_TRUE(shownRing()) << SettingsNavigation::rawValue(page).toStdString() << ": "
                                     << focus->metaObject()->className() << " \"" << focus->objectName().toStdString()
                                     << "\"";
        }
        // The Library holds no control once everything is installed.
        if (page != SettingsNavigation::Page::library) {
            EXPECT_GT(stops, 0) << SettingsNavigation::rawValue(page).toStdString();
        }
        EXPECT_LT(stops, 80) << SettingsNavigation::rawValue(page).toStdString();
    }
}

TEST_F(SettingsScreenshotTest, TheSidebarTakesTabAndArrowsAndSpaceActsOnTheRingedControl)
{
    completeSetup();
    fakes->settings.setFloatingIsland(true);
    QQuickWindow *window = openActive();
    QQuickItem *sidebar = find(controller->root(), QStringLiteral("sidebar"));
    ASSERT_TRUE(sidebar);
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), sidebar);
    EXPECT_TRUE(shownRing());
    for (int i = 0; i < 5; ++i) {
        key(Qt::Key_Down);
        EXPECT_EQ(focused(), sidebar) << focusName();
    }
    EXPECT_EQ(controller->navigation()->page(), SettingsNavigation::Page::notch);
    key(Qt::Key_Up);
    EXPECT_EQ(controller->navigation()->page(), SettingsNavigation::Page::library);
    key(Qt::Key_Down);

    // Tab Tab Space on the Notch page: the launch card's button, then the
    // first switch, which shows its ring in view before Space flips it.
    key(Qt::Key_Tab);
    EXPECT_EQ(focused()->objectName(), QStringLiteral("editOnScreen"));
    key(Qt::Key_Tab);
    QQuickItem *focus = focused();
    ASSERT_TRUE(focus);
    EXPECT_EQ(focus->objectName(), QStringLiteral("floatingIsland"));
    QQuickItem *ring = shownRing();
    ASSERT_TRUE(ring);
    const QRectF seen = ring->mapRectToScene(QRectF(0, 0, ring->width(), ring->height()));
    EXPECT_TRUE(QRectF(0, 0, window->width(), window->height()).contains(seen));
    key(Qt::Key_Space);
    EXPECT_FALSE(fakes->settings.floatingIsland());
}

TEST_F(SettingsScreenshotTest, ScrollBarsKeepToAGutterOfTheirOwn)
{
    completeSetup();
    QQuickWindow *window = open();
    const QSize sizes[] = {QSize(760, 520), window->screen()->availableGeometry().size()};
    int bars = 0;
    for (const QSize size : sizes) {
        window->resize(size);
        ASSERT_TRUE(waitUntil([&] { return window->size() == size; }));
        for (SettingsNavigation::Page page : SettingsNavigation::all()) {
            showPage(page);
            const auto all = controller->root()->findChildren<QQuickItem *>();
            for (QQuickItem *bar : all) {
                if (!bar->inherits("QQuickScrollBar") || !bar->isVisible()
                    || bar->opacity() == 0)
                    continue;
                ++bars;
                auto *content = bar->parentItem()->property("contentItem").value<QQuickItem *>();
                ASSERT_TRUE(content);
                const QRectF barRect = bar->mapRectToScene(QRectF(0, 0, bar->width(), bar->height()));
                const QRectF contentRect = content->mapRectToScene(QRectF(0, 0, content->width(), content->height()));
                EXPECT_FALSE(barRect.intersects(contentRect))
                    << SettingsNavigation::rawValue(page).toStdString() << " at " << size.width() << "x"
                    << size.height();
            }
        }
    }
    EXPECT_GT(bars, 0);
    controller->navigation()->setPage(SettingsNavigation::Page::modules);
    shoot("modules-gutter");
}

TEST_F(SettingsScreenshotTest, AfterADamagedFileTheWindowSaysOnceWhereTheOldOneIs)
{
    // A store over a settings file cut off mid-way.
    fakes.reset();
    const QString path = defaults->path();
    defaults->flush();
    defaults.reset();
    {
        QFile junk(path);
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("{\"values\": {\"permissionsSetupCompleted\": ");
    }
    defaults = std::make_unique<UserDefaults>(path);
    fakes = std::make_unique<IslandFakes>(defaults.get(), clock, scheduler.get());
    showAccentSetting(&fakes->settings, Accent::forEngine(&qml.engine()));
    fakes->settings.setShowDropShadow(true);
    ASSERT_TRUE(defaults->flush());
    qml.clearWarnings();
    ASSERT_FALSE(defaults->damagedCopyPath().isEmpty());

    open();
    QQuickItem *line = find(controller->root(), QStringLiteral("resetNoticeText"));
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->property("text").toString().contains(defaults->damagedCopyPath()));
    // Over the welcome sheet, which stays whole below it.
    EXPECT_LE(sceneRect(QStringLiteral("resetNotice")).bottom(), sceneRect(QStringLiteral("sheetScroll")).top());
    shoot("reset-notice");
    click(QStringLiteral("resetNoticeOk"));
    EXPECT_FALSE(find(controller->root(), QStringLiteral("resetNotice")));
    controller->window()->close();
    controller->show();
    EXPECT_FALSE(find(controller->root(), QStringLiteral("resetNotice")));
}

TEST_F(SettingsScreenshotTest, ClockSampleShowsTheChosenZoneAndCycle)
{
    completeSetup();
    // Monday 17:11:40 UTC is Tuesday 02:11 in Tokyo.
    clock.setNow(QDateTime(QDate(2026, 1, 5), QTime(17, 11, 40), QTimeZone::utc()));
    fakes->settings.setNotchTimeZone(QStringLiteral("Europe/London"));
    open();
    controller->navigation()->setPage(SettingsNavigation::Page::notch);
    scrollTo(QStringLiteral("notchZone"));
    QQuickItem *sample = find(controller->root(), QStringLiteral("clockSample"));
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->property("text").toString(), QStringLiteral("Mon 5:11 PM"));

    fakes->settings.setNotchTimeZone(QStringLiteral("Asia/Tokyo"));
    EXPECT_EQ(sample->property("text").toString(), QStringLiteral("Tue 2:11 AM"));
    // The 24-hour segment, by the pointer.
    const QRectF hours = sceneRect(QStringLiteral("notchHours"));
    QTest::mouseClick(controller->window(), Qt::LeftButton, {},
                      QPointF(hours.left() + hours.width() * 0.75, hours.center().y()).toPoint());
    EXPECT_TRUE(fakes->settings.notchUse24Hour());
    EXPECT_EQ(sample->property("text").toString(), QStringLiteral("Tue 02:11"));
    // Home reads the same rule.
    EXPECT_EQ(fakes->settings.formatTime(clock.now(), true), QStringLiteral("Tue 02:11"));
    shoot("clock-tokyo-24h");
    scheduler->advance(30000);
    EXPECT_EQ(sample->property("text").toString(), QStringLiteral("Tue 02:12"));
}

TEST_F(SettingsScreenshotTest, ATokenNoKeyringKeptServesThisRunAndFailuresShowAsWarnings)
{
    completeSetup();
    fakes->settings.setCanvasBaseURL(QStringLiteral("school.instructure.com"));
    fakes->settings.setCanvasTokenDraft(QStringLiteral("old"));
    fakes->settings.saveCanvasCredentials();
    QQuickWindow *window = openActive();
    showPage(SettingsNavigation::Page::modules);
    scrollTo(QStringLiteral("module-canvas"));
    QQuickItem *card = find(controller->root(), QStringLiteral("module-canvas"));
    ASSERT_TRUE(card);
    QTest::mouseClick(window, Qt::LeftButton, {}, card->mapToScene(QPointF(card->width() / 3, 20)).toPoint());
    scrollTo(QStringLiteral("canvasAddress"));
    QQuickItem *address = find(controller->root(), QStringLiteral("canvasAddress"));
    ASSERT_TRUE(address);
    EXPECT_EQ(address->property("text").toString(), QStringLiteral("https://school.instructure.com"));

    click(QStringLiteral("canvasToken"));
    for (const QChar c : QStringLiteral("newtoken"))
        QTest::keyClick(window, c.toLatin1());
    EXPECT_EQ(fakes->settings.canvasTokenDraft(), QStringLiteral("newtoken"));

    // The page shows the form down to its button.
    QQuickItem *button = find(controller->root(), QStringLiteral("saveToken"));
    for (QQuickItem *p = button->parentItem(); p; p = p->parentItem()) {
        if (p->property("contentY").isValid() && p->property("contentItem").isValid()) {
            auto *content = p->property("contentItem").value<QQuickItem *>();
            p->setProperty("contentY", button->mapToItem(content, QPointF(0, button->height())).y() - p->height());
            break;
        }
    }
    // Return saves. The keyring asks the user first: the form waits.
    fakes->secrets.hold = true;
    QTest::keyClick(window, Qt::Key_Return);
    QQuickItem *status = find(controller->root(), QStringLiteral("canvasStatus"));
    ASSERT_TRUE(status);
    EXPECT_EQ(status->property("text").toString(), AppSettings::CanvasSavingText);
    EXPECT_FALSE(find(controller->root(), QStringLiteral("saveToken"))->isEnabled());

    // The user cancels the keyring's prompt: the token serves until the
    // program ends, and the line warns that it will not be kept.
    fakes->secrets.refuseWrites = true;
    fakes->secrets.release();
    EXPECT_EQ(status->property("text").toString(), AppSettings::CanvasThisRunOnlyText);
    // The outcome, and later the note, are scrolled into sight.
    const auto inView = [&](const QString &name) {
        const QRectF area = sceneRect(name);
        return area.top() >= 0 && area.bottom() <= window->height();
    };
    EXPECT_TRUE(inView(QStringLiteral("canvasStatus")));
    const QImage shot = shoot("token-this-run-only");
    EXPECT_TRUE(anyNear(shot, sceneRect(QStringLiteral("canvasStatus")), Palette::coralColor, 40));
    EXPECT_FALSE(anyNear(shot, sceneRect(QStringLiteral("canvasStatus")), Palette::mintColor, 40));
    EXPECT_EQ(fakes->secrets.items.value({QStringLiteral("com.pavlet.app"), QStringLiteral("CANVAS_TOKEN")}), "old");
    EXPECT_EQ(fakes->credentials.current()->token, QStringLiteral("newtoken"));

    // With a token in use, what a refresh reports: failures as warnings,
    // success plain, as the token is not saved; beside it, the line that
    // says the token goes at quitting.
    const struct {
        QString text;
        bool failed;
    } lines[] = {
        {QStringLiteral("Token rejected"), true},
        {QStringLiteral("Couldn't load Canvas \u00B7 last loaded 9:41 AM"), true},
        {QStringLiteral("Connected as Ada Lovelace"), false},
    };
    for (const auto &line : lines) {
        if (line.failed)
            fakes->settings.setCanvasProblem(line.text);
        else
            fakes->settings.setCanvasStatus(line.text);
        EXPECT_TRUE(inView(QStringLiteral("canvasTokenNote"))) << line.text.toStdString();
        scrollTo(QStringLiteral("canvasStatus"));
        const QImage image = shoot(line.failed ? "canvas-status-failed" : "canvas-status-connected");
        const QRectF area = sceneRect(QStringLiteral("canvasStatus"));
        EXPECT_EQ(anyNear(image, area, Palette::coralColor, 40), line.failed) << line.text.toStdString();
        EXPECT_FALSE(anyNear(image, area, Palette::mintColor, 40)) << line.text.toStdString();
        EXPECT_TRUE(anyNear(image, sceneRect(QStringLiteral("canvasTokenNote")), Palette::coralColor, 40))
            << line.text.toStdString();
    }
}

TEST_F(SettingsScreenshotTest, ModuleCardsStartOverOnEachVisit)
{
    completeSetup();
    open();
    click(QStringLiteral("sidebar-modules"));
    QPointer<QQuickItem> player = find(controller->root(), QStringLiteral("module-player"));
    ASSERT_TRUE(player);
    EXPECT_TRUE(player->property("expanded").toBool());
    // Collapse it through its header.
    const QPointF header = player->mapToScene(QPointF(player->width() / 3, 20));
    QTest::mouseClick(controller->window(), Qt::LeftButton, {}, header.toPoint());
    EXPECT_FALSE(player->property("expanded").toBool());

    // How long a switch takes to draw, to a page of cards and to one without.
    auto drawn = [&](const char *row) {
        QQuickItem *item = find(controller->root(), QString::fromLatin1(row));
        Patience::ready(item);
        const QPoint at = item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
        QSignalSpy swapped(controller->window(), &QQuickWindow::frameSwapped);
        QElapsedTimer took;
        took.start();
        QTest::mouseClick(controller->window(), Qt::LeftButton, {}, at);
        swapped.wait(1000);
        return took.elapsed();
    };
    const qint64 toGeneral = drawn("sidebar-general");
    const qint64 toLibrary = drawn("sidebar-library");
    const qint64 toModules = drawn("sidebar-modules");
    std::cout << "page switch drawn in ms: general " << toGeneral << ", library " << toLibrary << ", modules "
              << toModules << "\n";
    Patience::until([&] {
        for (const char *name : {"module-player", "module-clocks"}) {
            QQuickItem *card = find(controller->root(), QString::fromLatin1(name));
            if (!card || !card->property("expanded").toBool())
                return false;
        }
        return true;
    }, 2000);
    ASSERT_TRUE(player);
    for (const char *name : {"module-player", "module-clocks"}) {
        QQuickItem *card = find(controller->root(), QString::fromLatin1(name));
        ASSERT_TRUE(card) << name;
        EXPECT_TRUE(card->property("expanded").toBool()) << name;
    }
    QQuickItem *timer = find(controller->root(), QStringLiteral("module-timer"));
    ASSERT_TRUE(timer);
    EXPECT_FALSE(timer->property("expanded").toBool());
}

TEST_F(SettingsScreenshotTest, AnUnwritableSettingsFileShowsALineWhileItLasts)
{
    completeSetup();
    open();
    ASSERT_TRUE(defaults->flush());
    QFile::remove(defaults->path());
    ASSERT_TRUE(QDir().mkpath(defaults->path() + QStringLiteral("/blocked")));
    fakes->settings.setShowDropShadow(true);
    defaults->flush();
    // The write the change queued fails too.
    QCoreApplication::processEvents();
    EXPECT_TRUE(warnings().join('\n').contains(QStringLiteral("could not write user defaults")));
    qml.clearWarnings();
    QQuickItem *line = find(controller->root(), QStringLiteral("storageProblem"));
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->property("text").toString().contains(defaults->path()));
    shoot("settings-unwritable");

    ASSERT_TRUE(QDir(defaults->path()).removeRecursively());
    fakes->settings.setShowDropShadow(false);
    defaults->flush();
    Patience::until([&] { return !find(controller->root(), QStringLiteral("storageProblem")); }, 2000);
    EXPECT_FALSE(find(controller->root(), QStringLiteral("storageProblem")));
}
