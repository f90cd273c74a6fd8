#include "support/pavlettest.h"
#include "app/accentsetting.h"
#include "fakes/islandfakes.h"
#include "island/decorations.h"
#include "store/appsettings.h"
#include "style/accent.h"
#include "style/palette.h"
#include "support/qmltest.h"
#include "support/steppedanimations.h"

#include <QQmlComponent>
#include <cmath>

namespace {
bool near(const QColor &a, const QColor &b, double tolerance = 0.01)
{
    return std::abs(a.redF() - b.redF()) <= tolerance && std::abs(a.greenF() - b.greenF()) <= tolerance
        && std::abs(a.blueF() - b.blueF()) <= tolerance && std::abs(a.alphaF() - b.alphaF()) <= tolerance;
}
} // namespace

class IslandPaletteTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        fakes = std::make_unique<IslandFakes>(defaults.get(), clock, scheduler.get());
    }
    void TearDown() override
    {
        fakes.reset();
        PavletTest::TearDown();
    }
    AppSettings &settings() { return fakes->settings; }
    std::unique_ptr<IslandFakes> fakes;
};

TEST_F(IslandPaletteTest, AccentOffReturnsTheColourUnchanged)
{
    Accent accent(nullptr);
    settings().setCustomAccent(QColor::fromRgbF(0.1f, 0.2f, 0.3f));
    showAccentSetting(&settings(), &accent);
    const QColor own(10, 20, 30, 200);
    EXPECT_EQ(accent.resolve(own), own);
    EXPECT_EQ(accent.weight(), 0);
}

TEST_F(IslandPaletteTest, AccentOnReadsTheComponentsWithTheirFallbacks)
{
    // Nothing stored: the sky colour, which is the one default.
    settings().setUseCustomAccent(true);
    Accent accent(nullptr);
    showAccentSetting(&settings(), &accent);
    EXPECT_EQ(accent.resolve(Qt::red), Palette::skyColor);
    EXPECT_NEAR(settings().customAccent().redF(), Palette::defaultAccent.r, 1e-4);
    // The custom accent is opaque whatever it lies over.
    defaults->setInt("customAccentR", 1);
    defaults->setDouble("customAccentB", 0.25);
    Accent stored(nullptr);
    showAccentSetting(&settings(), &stored);
    const QColor c = stored.resolve(QColor(255, 0, 0, 40));
    EXPECT_NEAR(c.redF(), 1.0, 1e-4);
    EXPECT_NEAR(c.greenF(), 0.8, 1e-4);
    EXPECT_NEAR(c.blueF(), 0.25, 1e-4);
    EXPECT_NEAR(c.alphaF(), 1.0, 1e-4);
}

TEST_F(IslandPaletteTest, PulseColoursComeFromThePalette)
{
    const std::pair<AmbientKind, QColor> cases[] = {
        {AmbientKind::rest, Palette::yellowColor},     {AmbientKind::bluetooth, Palette::blueColor},
        {AmbientKind::lowPower, Palette::orangeColor}, {AmbientKind::eyeStrain, Palette::coralColor},
        {AmbientKind::tooClose, Palette::amberColor},  {AmbientKind::mirror, Palette::mintColor},
    };
    for (const auto &[kind, colour] : cases)
        EXPECT_EQ(Decorations::rimColor(kind), colour) << int(kind);
}

TEST_F(IslandPaletteTest, ColoursKeepTheirValuesUnderOneNameEach)
{
    Palette p;
    EXPECT_EQ(p.property("textPrimary").value<QColor>(), QColor::fromRgbF(1, 1, 1, 0.92f));
    EXPECT_EQ(p.property("textSecondary").value<QColor>(), QColor::fromRgbF(1, 1, 1, 0.58f));
    EXPECT_EQ(p.property("textTertiary").value<QColor>(), QColor::fromRgbF(1, 1, 1, 0.38f));
    EXPECT_EQ(p.property("fill").value<QColor>(), QColor::fromRgbF(1, 1, 1, 0.08f));
    EXPECT_EQ(p.property("fillStrong").value<QColor>(), QColor::fromRgbF(1, 1, 1, 0.14f));
    EXPECT_EQ(p.property("yellow").value<QColor>(), QColor::fromRgbF(1, 0.84f, 0.40f));
    EXPECT_EQ(p.property("mint").value<QColor>(), QColor::fromRgbF(0.32f, 0.84f, 0.74f));
    EXPECT_EQ(p.property("green").value<QColor>(), QColor::fromRgbF(0.12f, 0.84f, 0.38f));
    EXPECT_EQ(p.property("orange").value<QColor>(), QColor::fromRgbF(1, 0.74f, 0.22f));
    EXPECT_EQ(p.property("onAccent").value<QColor>(), QColor::fromRgbF(0, 0, 0, 0.86f));
    EXPECT_EQ(p.property("white35").value<QColor>(), QColor::fromRgbF(1, 1, 1, 0.35f));
    EXPECT_EQ(p.property("black62").value<QColor>(), QColor::fromRgbF(0, 0, 0, 0.62f));
    // The second names are gone.
    for (const char *name : {"ink", "inkDim", "inkFaint", "well", "hairline", "cardFill", "chipFill", "teal", "gold"})
        EXPECT_FALSE(p.property(name).isValid()) << name;
}

// The fade runs on Qt's animation driver: 0.15 s, ease-in-out, from
// whatever shows when the setting changes.
TEST_F(IslandPaletteTest, AccentChangesFadeEaseInOut)
{
    const QColor red = QColor::fromRgbF(1, 0, 0), blue = QColor::fromRgbF(0, 0, 1);
    const QColor base = Palette::yellowColor;
    const struct {
        const char *what;
        bool fromOn;
        QColor from;
        bool toOn;
        QColor to;
        QColor at0, atHalf, atEnd;
    } cases[] = {
        {"turned on", false, red, true, red, base, Palette::mix(base, red, 0.5), red},
        {"turned off", true, red, false, red, red, Palette::mix(red, base, 0.5), base},
        {"colour changed", true, red, true, blue, red, Palette::mix(red, blue, 0.5), blue},
        {"colour changed while off", false, red, false, blue, base, base, base},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SteppedAnimations animations;
        Accent accent(nullptr);
        accent.show(c.fromOn, c.from);
        EXPECT_TRUE(near(accent.resolve(base), c.at0));
        accent.show(c.toOn, c.to);
        animations.step(0);
        EXPECT_TRUE(near(accent.resolve(base), c.at0));
        // Ease-in: a quarter of the time covers well under a quarter of the way.
        animations.step(Accent::FadeMs / 4);
        if (c.at0 != c.atEnd) {
            EXPECT_FALSE(near(accent.resolve(base), c.at0, 0.001));
            EXPECT_TRUE(near(accent.resolve(base), Palette::mix(c.at0, c.atEnd, 0.13), 0.03));
        }
        animations.step(Accent::FadeMs / 2 - Accent::FadeMs / 4);
        EXPECT_TRUE(near(accent.resolve(base), c.atHalf, 0.01));
        animations.step(Accent::FadeMs / 2);
        EXPECT_TRUE(near(accent.resolve(base), c.atEnd, 0.001));
        EXPECT_FALSE(accent.fading());
    }
}

TEST_F(IslandPaletteTest, AChangeInTheMiddleOfAFadeTurnsWithoutAJump)
{
    SteppedAnimations animations;
    Accent accent(nullptr);
    const QColor red = QColor::fromRgbF(1, 0, 0), blue = QColor::fromRgbF(0, 0, 1);
    accent.show(false, red);
    accent.show(true, red);
    animations.step(0);
    animations.step(Accent::FadeMs / 2);
    const QColor halfway = accent.resolve(Palette::yellowColor);
    accent.show(true, blue);
    animations.step(0);
    EXPECT_TRUE(near(accent.resolve(Palette::yellowColor), halfway, 0.01));
    animations.step(Accent::FadeMs);
    EXPECT_TRUE(near(accent.resolve(Palette::yellowColor), blue, 0.001));
    // The same setting again starts nothing.
    accent.show(true, blue);
    EXPECT_FALSE(accent.fading());
}

// A view's binding that calls the resolver follows the setting by itself.
TEST_F(IslandPaletteTest, BindingsFollowTheAccentWithNoRevision)
{
    QmlLoader qml;
    SteppedAnimations animations;
    showAccentSetting(&settings(), Accent::forEngine(&qml.engine()));
    QQmlComponent component(&qml.engine());
    component.setData(R"(
import QtQuick
import Pavlet.Style
QtObject {
    property color tint: IslandPalette.accent(IslandPalette.yellow)
    property color faded: IslandPalette.faded(IslandPalette.accent(IslandPalette.mint), 0.5)
}
)",
                      QUrl());
    std::unique_ptr<QObject> object(component.create());
    ASSERT_TRUE(object) << component.errorString().toStdString();
    EXPECT_EQ(object->property("tint").value<QColor>(), Palette::yellowColor);

    const QColor picked = QColor::fromRgbF(0.2f, 0.4f, 0.6f);
    settings().setCustomAccent(picked);
    settings().setUseCustomAccent(true);
    animations.step(0);
    animations.step(Accent::FadeMs / 2);
    const QColor halfway = object->property("tint").value<QColor>();
    EXPECT_TRUE(near(halfway, Palette::mix(Palette::yellowColor, picked, 0.5), 0.02));
    animations.step(Accent::FadeMs / 2);
    EXPECT_TRUE(near(object->property("tint").value<QColor>(), picked, 0.002));
    QColor fadedPicked = picked;
    fadedPicked.setAlphaF(0.5f);
    EXPECT_TRUE(near(object->property("faded").value<QColor>(), fadedPicked, 0.002));

    settings().setCustomAccent(QColor::fromRgbF(0.9f, 0.1f, 0.1f));
    animations.step(0);
    animations.step(Accent::FadeMs);
    EXPECT_TRUE(near(object->property("tint").value<QColor>(), QColor::fromRgbF(0.9f, 0.1f, 0.1f), 0.002));
    settings().setUseCustomAccent(false);
    animations.step(0);
    animations.step(Accent::FadeMs);
    EXPECT_EQ(object->property("tint").value<QColor>(), Palette::yellowColor);
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}
