#include "island/hovercontent.h"
#include "island/islandlook.h"
#include "style/palette.h"
#include "look/symbolicons.h"
#include "services/timerstore.h"
#include "support/islandtest.h"

#include <QFile>
#include <QImage>
#include <QTimeZone>
#include <gtest/gtest.h>

class IslandLookTest : public IslandTest {
protected:
    void SetUp() override
    {
        IslandTest::SetUp();
        make();
    }
    const IslandLook &look() const { return *model->look(); }
};

// What the views show follows the model, the settings and the time, and
// each value notifies only when it really changes.
TEST_F(IslandLookTest, FollowsTheModelSettingsAndTime)
{
    fakes->settings.setShowClockWhenIdle(true);
    model->setState(NotchState::hover);
    EXPECT_EQ(look().hover().title, fakes->settings.formatTime(clock.now(), false));
    EXPECT_EQ(look().hover().markKind, "none");
    QSignalSpy hover(model->look(), &IslandLook::hoverChanged);
    model->setHomeContentHeight(120);
    model->tick();
    EXPECT_EQ(hover.count(), 0);
    clock.advanceMs(60'000);
    model->tick();
    EXPECT_EQ(hover.count(), 1);
    EXPECT_EQ(look().hover().title, fakes->settings.formatTime(clock.now(), false));

    model->powerModeChanged(true);
    EXPECT_EQ(look().hover().title.left(20), "Low Power Mode on  \u00B7");
    EXPECT_EQ(look().hover().markSymbol, "leaf.fill");
    EXPECT_EQ(look().hover().markColor, Palette::orangeColor);
    EXPECT_TRUE(look().glow().ambient());
    EXPECT_EQ(look().glow().ambientKind, AmbientKind::lowPower);

    model->collapse();
    fakes->settings.setShowAmbientSmile(false);
    EXPECT_FALSE(look().compact().showsIdle());
    model->timer()->start();
    EXPECT_TRUE(look().glow().timer());
    EXPECT_TRUE(look().compact().showsTimer);
    EXPECT_TRUE(look().compact().showsIdle());

    fakes->settings.setShowSystemHUD(true);
    model->handleHUD({SystemHUDKind::volume, 0.5, true});
    EXPECT_TRUE(look().hudPresent());
    EXPECT_FALSE(look().showsHudOverlay());
    EXPECT_EQ(look().hud().symbol, "speaker.slash.fill");
    model->openHome();
    model->handleHUD({SystemHUDKind::brightness, 0.2, false});
    EXPECT_TRUE(look().showsHudOverlay());
    EXPECT_EQ(look().hud().color, Palette::amberColor);
    EXPECT_EQ(look().mirror().text, "Mirror");
}

TEST(SymbolIconsTest, EveryNamedSymbolIsAnImage)
{
    for (const QString &name : SymbolIcons::names()) {
        const QUrl url = SymbolIcons::url(name);
        const QString path = QLatin1Char(':') + url.path();
        EXPECT_TRUE(QFile::exists(path)) << name.toStdString();
        QImage image(path);
        EXPECT_FALSE(image.isNull()) << name.toStdString();
    }
    EXPECT_TRUE(SymbolIcons::url(QStringLiteral("no.such.symbol")).isEmpty());

    // Every symbol the island's rules name is drawn.
    QStringList used = {"lock.fill", "calendar", "checkmark.circle", "sun.max.fill"};
    for (int k = 0; k <= int(AmbientKind::mirror); ++k)
        used << HoverContent::pulseSymbol(AmbientKind(k));
    for (int source = 0; source < 6; ++source)
        used << HoverContent::sourceStyle(source).fallbackSymbol;
    for (double level : {0.0, 0.2, 0.5, 0.9})
        used << HoverContent::hudLook(SystemHUDKind::volume, level, false).symbol;
    for (const QString &name : used)
        EXPECT_TRUE(SymbolIcons::names().contains(name)) << name.toStdString();

    const QImage tinted = SymbolIcons::render("sparkle", QColor(255, 0, 0), QSize(24, 24));
    ASSERT_FALSE(tinted.isNull());
    EXPECT_EQ(tinted.pixelColor(12, 12).rgb(), QColor(255, 0, 0).rgb());
    EXPECT_EQ(tinted.pixelColor(0, 0).alpha(), 0);
}
