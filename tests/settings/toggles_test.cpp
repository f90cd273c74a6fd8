#include "settingsfixture.h"

#include <QCoreApplication>

namespace {
// The switch with this title among the shown items under root.
QQuickItem *switchTitled(QQuickItem *root, const QString &title)
{
    if (!root || !root->isVisible())
        return nullptr;
    if (root->inherits("QQuickSwitch") && root->property("text").toString() == title)
        return root;
    for (QQuickItem *child : root->childItems()) {
        if (QQuickItem *hit = switchTitled(child, title))
            return hit;
    }
    return nullptr;
}

// What a click does: the switch flips and reports the user's toggle.
void flip(QQuickItem *control)
{
    QMetaObject::invokeMethod(control, "toggle");
    QMetaObject::invokeMethod(control, "toggled");
}
} // namespace

TEST_F(SettingsTest, EverySwitchOfTheNotchAndGeneralPagesWritesItsSetting)
{
    completeSetup();
    SettingsWindowController &c = make();
    c.show();
    struct Case {
        SettingsNavigation::Page page;
        const char *title;
        const char *property;
        const char *key;
    };
    const Case cases[] = {
        {SettingsNavigation::Page::general, "Launch at login", "launchAtLogin", "launchAtLogin"},
        {SettingsNavigation::Page::notch, "Floating island", "floatingIsland", "floatingIsland"},
        {SettingsNavigation::Page::notch, "Show in screenshots and screen shares", "includeInScreenCapture",
         "includeInScreenCapture"},
        {SettingsNavigation::Page::notch, "Hide version number", "hideNotchVersion", "hideNotchVersion"},
        {SettingsNavigation::Page::notch, "Show clock when idle", "showClockWhenIdle", "showClockWhenIdle"},
        {SettingsNavigation::Page::notch, "Show ambient smile", "showAmbientSmile", "ambientSmileEnabled"},
        {SettingsNavigation::Page::notch, "Drop shadow", "showDropShadow", "showDropShadow"},
        {SettingsNavigation::Page::notch, "Custom accent colors", "useCustomAccent", "useCustomAccent"},
        {SettingsNavigation::Page::notch, "Volume and brightness bars", "showSystemHUD", "showSystemHUD"},
        {SettingsNavigation::Page::notch, "Expand on hover", "expandOnHover", "expandOnHover"},
        {SettingsNavigation::Page::notch, "Watch for eye strain", "eyeStrainGuard", "eyeStrainGuard"},
        {SettingsNavigation::Page::modules, "Audio visualizer", "playerShowVisualizer", "playerShowVisualizer"},
        {SettingsNavigation::Page::modules, "AM / PM", "clocksShowMeridiem", "clocksShowMeridiem"},
    };
    for (const Case &k : cases) {
        c.navigation()->setPage(k.page);
        QCoreApplication::processEvents();
        QQuickItem *control = switchTitled(c.root(), QString::fromLatin1(k.title));
        ASSERT_TRUE(control) << k.title;
        const bool before = fakes->settings.property(k.property).toBool();
        EXPECT_EQ(control->property("checked").toBool(), before) << k.title;
        flip(control);
        EXPECT_EQ(fakes->settings.property(k.property).toBool(), !before) << k.title;
        EXPECT_EQ(defaults->boolValue(QString::fromLatin1(k.key), before), !before) << k.key;
    }
    // The note under the bars and the accent colour follow their switches.
    c.navigation()->setPage(SettingsNavigation::Page::notch);
    EXPECT_TRUE(find(c.root(), QStringLiteral("hudNote")));
    EXPECT_TRUE(find(c.root(), QStringLiteral("accentWell")));
    flip(switchTitled(c.root(), QStringLiteral("Volume and brightness bars")));
    flip(switchTitled(c.root(), QStringLiteral("Custom accent colors")));
    EXPECT_FALSE(find(c.root(), QStringLiteral("hudNote")));
    EXPECT_FALSE(find(c.root(), QStringLiteral("accentWell")));
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}

TEST_F(SettingsTest, AccentColourStoresThreeComponentsAndKeepsThemWhenSwitchedOff)
{
    fakes->settings.setUseCustomAccent(true);
    fakes->settings.setCustomAccent(QColor::fromRgbF(0.2f, 0.4f, 0.6f, 0.5f));
    EXPECT_NEAR(defaults->doubleValue("customAccentR"), 0.2, 1e-3);
    EXPECT_NEAR(defaults->doubleValue("customAccentG"), 0.4, 1e-3);
    EXPECT_NEAR(defaults->doubleValue("customAccentB"), 0.6, 1e-3);
    EXPECT_EQ(fakes->settings.customAccent().alphaF(), 1.0f);
    fakes->settings.setUseCustomAccent(false);
    EXPECT_NEAR(defaults->doubleValue("customAccentR"), 0.2, 1e-3);
}
