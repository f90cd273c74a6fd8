#include "../../settings/settingsfixture.h"

#include "settings/settingsnavigation.h"
#include "support/screenshots.h"

#include <QDir>
#include <QTest>

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
        if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
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

    // Clicks the middle of a named item.
    void click(const QString &name)
    {
        QTest::qWait(50);
        QQuickItem *item = find(controller->root(), name);
        ASSERT_TRUE(item) << name.toStdString();
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(controller->window(), Qt::LeftButton, {}, centre.toPoint());
    }

    // Scrolls the page holding a named item so that the item is at its top.
    void scrollTo(const QString &name)
    {
        QTest::qWait(50);
        QQuickItem *item = find(controller->root(), name);
        ASSERT_TRUE(item) << name.toStdString();
        for (QQuickItem *p = item->parentItem(); p; p = p->parentItem()) {
            if (p->property("contentY").isValid() && p->property("contentItem").isValid()) {
                auto *content = p->property("contentItem").value<QQuickItem *>();
                const double y = item->mapToItem(content, QPointF(0, 0)).y();
                const double most = std::max(0.0, p->property("contentHeight").toDouble() - p->height());
                p->setProperty("contentY", std::min(y, most));
                return;
            }
        }
        ADD_FAILURE() << "no scrolling page holds " << name.toStdString();
    }

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
    shoot("library-installing");

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
