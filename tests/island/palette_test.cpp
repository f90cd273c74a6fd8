#include "island/islandpalette.h"
#include "support/pavlettest.h"

#include <QSignalSpy>

class IslandPaletteTest : public PavletTest {};

TEST_F(IslandPaletteTest, AccentOffReturnsTheColourUnchanged)
{
    const QColor own(10, 20, 30, 200);
    EXPECT_EQ(IslandPalette::accent(defaults.get(), own), own);
    defaults->setBool("useCustomAccent", false);
    defaults->setDouble("customAccentR", 0.1);
    EXPECT_EQ(IslandPalette::accent(defaults.get(), own), own);
}

TEST_F(IslandPaletteTest, AccentOnReadsTheComponentsWithTheirFallbacks)
{
    defaults->setBool("useCustomAccent", true);
    // Nothing stored: the sky colour.
    EXPECT_EQ(IslandPalette::accent(defaults.get(), Qt::red), IslandPalette::skyColor);
    // An integer is a number; a string is not.
    defaults->setInt("customAccentR", 1);
    defaults->setString("customAccentG", "0.5");
    defaults->setDouble("customAccentB", 0.25);
    const QColor c = IslandPalette::accent(defaults.get(), Qt::red);
    EXPECT_NEAR(c.redF(), 1.0, 1e-4);
    EXPECT_NEAR(c.greenF(), 0.8, 1e-4);
    EXPECT_NEAR(c.blueF(), 0.25, 1e-4);
    EXPECT_NEAR(c.alphaF(), 1.0, 1e-4);
    EXPECT_EQ(IslandPalette::defaultsDouble(defaults.get(), "missing", 0.3), 0.3);
}

TEST_F(IslandPaletteTest, PulseColoursGoThroughTheAccent)
{
    const std::pair<AmbientKind, QColor> cases[] = {
        {AmbientKind::rest, IslandPalette::yellowColor},     {AmbientKind::bluetooth, IslandPalette::blueColor},
        {AmbientKind::lowPower, IslandPalette::orangeColor}, {AmbientKind::eyeStrain, IslandPalette::coralColor},
        {AmbientKind::tooClose, IslandPalette::amberColor},  {AmbientKind::mirror, IslandPalette::mintColor},
    };
    for (const auto &[kind, colour] : cases)
        EXPECT_EQ(IslandPalette::colorFor(defaults.get(), kind), colour) << int(kind);
    defaults->setBool("useCustomAccent", true);
    EXPECT_EQ(IslandPalette::colorFor(defaults.get(), AmbientKind::rest), IslandPalette::skyColor);
}

TEST_F(IslandPaletteTest, ColoursKeepTheirValuesUnderEveryName)
{
    IslandPalette p(defaults.get());
    EXPECT_EQ(p.property("textPrimary").value<QColor>(), QColor::fromRgbF(1, 1, 1, 0.92f));
    EXPECT_EQ(p.property("ink").value<QColor>(), p.property("textPrimary").value<QColor>());
    EXPECT_EQ(p.property("inkDim").value<QColor>(), QColor::fromRgbF(1, 1, 1, 0.58f));
    EXPECT_EQ(p.property("inkFaint").value<QColor>(), QColor::fromRgbF(1, 1, 1, 0.38f));
    EXPECT_EQ(p.property("hairline").value<QColor>(), p.property("fill").value<QColor>());
    EXPECT_EQ(p.property("chipFill").value<QColor>(), QColor::fromRgbF(1, 1, 1, 0.14f));
    EXPECT_EQ(p.property("gold").value<QColor>(), QColor::fromRgbF(1, 0.84f, 0.40f));
    EXPECT_EQ(p.property("teal").value<QColor>(), QColor::fromRgbF(0.32f, 0.84f, 0.74f));
    EXPECT_EQ(p.property("green").value<QColor>(), QColor::fromRgbF(0.12f, 0.84f, 0.38f));
    EXPECT_EQ(p.property("orange").value<QColor>(), QColor::fromRgbF(1, 0.74f, 0.22f));
}

TEST_F(IslandPaletteTest, AccentSettingsBumpTheRevisionOthersDoNot)
{
    IslandPalette p(defaults.get());
    QSignalSpy bumps(&p, &IslandPalette::accentRevisionChanged);
    defaults->setBool("useCustomAccent", true);
    defaults->setDouble("customAccentG", 0.3);
    defaults->setBool("floatingIsland", true);
    EXPECT_EQ(bumps.count(), 2);
    EXPECT_EQ(p.accentRevision(), 2);
}
