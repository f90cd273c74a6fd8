#include "homeviewtest.h"

#include "style/palette.h"
#include "support/itemtree.h"
#include "support/patience.h"

#include <QLocale>
#include <QTest>

// Small cards drawn in Home: what they show under long names, the pointer and
// right-to-left locales.
namespace {
QQuickItem *visibleText(QQuickItem *root, const QString &text)
{
    for (QQuickItem *item : ItemTree::all(root, "QQuickText")) {
        if (item->isVisible() && item->property("text").toString() == text)
            return item;
    }
    return nullptr;
}
} // namespace

TEST_F(HomeScreenshotTest, LongWorldClockNamesAreCutInTheirOwnColumn)
{
    const QString longName = QString::fromUtf8("東京 São Paulo très longue étiquette");
    fakes->settings.setClocks({{QUuid::createUuid(), longName, QStringLiteral("Asia/Tokyo")},
                               {QUuid::createUuid(), QStringLiteral("London"), QStringLiteral("Europe/London")},
                               {QUuid::createUuid(), QStringLiteral("Lima"), QStringLiteral("America/Lima")}});
    showOnly({"clocks"});
    make();
    QQuickItem *panel = show(QStringLiteral("home/HomePanel.qml"), {404, 300});
    ASSERT_TRUE(panel);
    const auto wait = [this](int ms) { spin(ms); };
    QQuickItem *name = nullptr;
    QQuickItem *next = nullptr;
    Patience::until([&] {
        name = visibleText(panel, longName);
        next = visibleText(panel, QStringLiteral("London"));
        return name && next && Patience::ready(name, 1000, nullptr, wait) && Patience::ready(next, 1000, nullptr, wait);
    }, 3000, wait);
    ASSERT_TRUE(name && next);
    EXPECT_TRUE(name->property("truncated").toBool());
    // Clear of the rule between the two cities, half a gap before the next.
    EXPECT_LE(ItemTree::sceneRect(name).right(), ItemTree::sceneRect(next).left() - 8)
        << ItemTree::sceneRect(name).right() << " vs " << ItemTree::sceneRect(next).left();
}

TEST_F(HomeScreenshotTest, TimerMinuteButtonsSayWhatTheyDoUnderThePointer)
{
    showOnly({"timer"});
    make();
    QQuickItem *panel = show(QStringLiteral("home/HomePanel.qml"), {404, 300});
    ASSERT_TRUE(panel);
    const auto wait = [this](int ms) { spin(ms); };
    for (const auto &[step, help] : {std::pair{-1, "One minute less"}, std::pair{1, "One minute more"}}) {
        QQuickItem *button = nullptr;
        Patience::until([&] {
            for (QQuickItem *p : ItemTree::all(panel, "IslandPressStyle")) {
                if (p->isVisible() && p->property("step").toInt() == step)
                    button = p;
            }
            return button && Patience::ready(button, 1000, nullptr, wait);
        }, 3000, wait);
        ASSERT_TRUE(button);
        QTest::mouseMove(window.get(), ItemTree::sceneRect(button).center().toPoint());
        QQuickItem *tip = nullptr;
        Patience::until([&] { return (tip = visibleText(window->contentItem(), QString::fromLatin1(help))); }, 3000, wait);
        EXPECT_TRUE(tip) << help;
        QTest::mouseMove(window.get(), QPoint(2, 290));
        Patience::until([&] { return !visibleText(window->contentItem(), QString::fromLatin1(help)); }, 2000, wait);
    }
}

TEST_F(HomeScreenshotTest, EyesSwitchIsTheIslandsCapsuleInTheCardsColour)
{
    fakes->settings.setEyeStrainGuard(true);
    showOnly({"eyeStrain"});
    make();
    QQuickItem *panel = show(QStringLiteral("home/HomePanel.qml"), {404, 300});
    ASSERT_TRUE(panel);
    window->setColor(Qt::black);
    const QImage image = shoot(QStringLiteral("home-eyes-switch"));
    QQuickItem *toggle = ItemTree::all(panel, "QQuickSwitch").value(0);
    ASSERT_TRUE(toggle);
    auto *indicator = toggle->property("indicator").value<QQuickItem *>();
    ASSERT_TRUE(indicator);
    // On: the track's left end, clear of the knob, is the card's coral.
    const QRectF track = ItemTree::sceneRect(indicator);
    const QColor seen = image.pixelColor(QPoint(int(track.left() + track.height() / 2), int(track.center().y())));
    EXPECT_TRUE(near(seen, Palette::coralColor, 24)) << seen.name().toStdString();
}

TEST_F(HomeScreenshotTest, SystemValuesStartAtTheirOwnColumnUnderRightToLeftLocales)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    fakes->load.uptime = 3 * 86400 + 4 * 3600;
    fakes->load.disk = 120'000'000'000;
    showOnly({"system"});
    make();
    model->setState(Island::NotchState::home); // only the open island reads the load
    model->tick();
    QQuickItem *panel = show(QStringLiteral("home/HomePanel.qml"), {404, 300});
    QLocale::setDefault(saved);
    ASSERT_TRUE(panel);
    const auto wait = [this](int ms) { spin(ms); };
    Patience::until([&] {
        for (QQuickItem *value : ItemTree::all(panel, "CardText"))
            if (value->isVisible() && value->property("digits").toBool() && Patience::ready(value, 1000, nullptr, wait))
                return true;
        return false;
    }, 3000, wait);
    int rightToLeft = 0;
    for (QQuickItem *value : ItemTree::all(panel, "CardText")) {
        if (!value->isVisible() || !value->property("digits").toBool())
            continue;
        const QString text = value->property("text").toString();
        rightToLeft += text.isRightToLeft();
        // Where the text is drawn: its own box, placed by its alignment.
        const double painted = value->property("contentWidth").toDouble();
        const int align = value->property("effectiveHorizontalAlignment").toInt();
        const double offset = align == Qt::AlignRight    ? value->width() - painted
                            : align == Qt::AlignHCenter ? (value->width() - painted) / 2
                                                         : 0;
        const double left = value->mapToScene(QPointF(offset, 0)).x();
        const QRectF cell = ItemTree::sceneRect(value->parentItem()->parentItem());
        EXPECT_NEAR(left, cell.left(), 1.0) << text.toStdString();
    }
    EXPECT_GE(rightToLeft, 1);
}
