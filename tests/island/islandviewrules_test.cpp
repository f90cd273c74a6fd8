#include "island/islandviewrules.h"
#include "island/symbolicons.h"

#include <QFile>
#include <QImage>
#include <QTimeZone>
#include <gtest/gtest.h>

// The QML side hands the view model's records over as gadgets, and test
// doubles as plain maps; both read the same.
TEST(HoverRulesTest, ReadsGadgetsAndMapsAlike)
{
    const QDateTime now(QDate(2026, 12, 7), QTime(10, 0), QTimeZone::utc());
    NextEvent e;
    e.title = QStringLiteral("Review");
    e.start = now.addSecs(600);
    e.joinURL = QUrl(QStringLiteral("https://meet.example.com/x"));

    HoverRules rules;
    rules.setProperty("now", now);
    rules.setProperty("upcomingEvents", QVariant::fromValue(QList<NextEvent>{e}));
    EXPECT_EQ(rules.accessoryKind(), "join");
    EXPECT_EQ(rules.joinURL(), e.joinURL);

    QVariantMap event{{"title", "Review"}, {"start", now.addSecs(600)}, {"joinURL", QUrl("file:///bin/sh")}};
    rules.setProperty("upcomingEvents", QVariantList{event});
    EXPECT_EQ(rules.accessoryKind(), "none");

    rules.setProperty("ambient", QVariant::fromValue(AmbientPulse{AmbientKind::lowPower, "Low Power Mode on", "x"}));
    EXPECT_EQ(rules.title(), "Low Power Mode on  \u00B7  x");
    EXPECT_EQ(rules.markSymbol(), "leaf.fill");
    rules.setProperty("ambient", QVariantMap{{"kind", 1}, {"title", "Buds"}, {"detail", "Connected"}});
    EXPECT_EQ(rules.markSymbol(), "antenna.radiowaves.left.and.right");
    rules.setProperty("ambient", QVariant());

    rules.setProperty("liveActivity", QVariantMap{{"kind", 0}});
    rules.setProperty("nowPlaying", QVariantMap{{"title", "Song"}, {"artist", ""}, {"source", 2}, {"isPlaying", true}});
    EXPECT_EQ(rules.title(), "Song");
    EXPECT_EQ(rules.markKind(), "artwork");
    EXPECT_EQ(rules.markColorName(), "green");

    rules.setProperty("liveActivity", QVariant());
    rules.setProperty("showClock", false);
    EXPECT_EQ(rules.title(), "Pavlet");
    EXPECT_EQ(rules.markKind(), "none");
}

TEST(HoverRulesTest, ChangedFiresOnlyOnARealChange)
{
    CompactRules rules;
    int changes = 0;
    QObject::connect(&rules, &CompactRules::changed, [&] { ++changes; });
    rules.setProperty("timerRunning", true);
    rules.setProperty("timerRunning", true);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(rules.trailing(), "idle");
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
