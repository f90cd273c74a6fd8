#include "home/hometext.h"
#include "services/systemmonitor.h"
#include "tools/tooltypes.h"

#include <QTimeZone>
#include <gtest/gtest.h>
#include <limits>

using namespace HomeRules;

namespace {
QList<HomeModule> modules(const QStringList &ids)
{
    QList<HomeModule> out;
    for (const QString &id : ids)
        out.append(*HomeModules::fromId(id));
    return out;
}
QStringList ids(const QList<HomeModule> &list)
{
    QStringList out;
    for (HomeModule m : list)
        out.append(HomeModules::id(m));
    return out;
}
} // namespace

TEST(HomeRulesTest, VisibleModulesMatrix)
{
    const auto all = modules({"player", "games", "weather", "calendar", "clipboard", "bluetooth", "pocket", "notes"});
    struct Case {
        const char *name;
        bool editing;
        QStringList wantsOff;
        QStringList granted;
        bool clipboardHide, bluetoothHide;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"all granted", false, {}, {"location", "calendar"}, false, false,
         {"player", "weather", "calendar", "clipboard", "bluetooth", "notes"}},
        {"nothing granted", false, {}, {}, false, false, {"player", "clipboard", "bluetooth", "notes"}},
        {"wishes off", false, {"wantLocation", "wantCalendar", "wantBluetooth"}, {"location", "calendar"}, false, false,
         {"player", "clipboard", "notes"}},
        {"empty and hidden when empty", false, {}, {"location", "calendar"}, true, true,
         {"player", "weather", "calendar", "notes"}},
        {"edit mode drops every filter", true, {"wantLocation", "wantBluetooth"}, {}, true, true,
         {"player", "weather", "calendar", "clipboard", "bluetooth", "notes"}},
    };
    for (const Case &c : cases) {
        QStringList asked;
        VisibilityInputs in;
        in.want = [&](const QString &key) { return !c.wantsOff.contains(key); };
        in.granted = [&](const QString &p) { asked << p; return c.granted.contains(p); };
        in.clipboardHideEmpty = c.clipboardHide;
        in.bluetoothHideEmpty = c.bluetoothHide;
        EXPECT_EQ(ids(visibleModules(all, c.editing, in)), c.expected) << c.name;
        if (c.editing) {
            EXPECT_TRUE(asked.isEmpty()) << "edit mode asks for no permission";
        }
    }
}

TEST(HomeRulesTest, GrantTestAndHeights)
{
    // recorded, system status -> passes, mark
    struct G { bool recorded; int status; bool passes; bool mark; };
    for (const G &g : {G{true, 0, true, true}, G{true, 1, false, false}, G{true, 2, true, false},
                       G{false, 0, true, true}, G{false, 1, false, false}, G{false, 2, false, false}}) {
        const auto r = grantTest(g.recorded, g.status);
        EXPECT_EQ(r.passes, g.passes) << g.recorded << g.status;
        EXPECT_EQ(r.markGranted, g.mark) << g.recorded << g.status;
    }
    EXPECT_FALSE(storesHeight(300, 301));
    EXPECT_TRUE(storesHeight(300, 301.5));
    EXPECT_TRUE(storesHeight(300, 298.5));
    EXPECT_DOUBLE_EQ(scrollCap(32), 562);
    EXPECT_DOUBLE_EQ(scrollCap(500), 200);
    EXPECT_FALSE(scrolls(563, 32));
    EXPECT_TRUE(scrolls(563.5, 32));
    EXPECT_EQ(versionText(QString()), "v0.1.2");
    EXPECT_EQ(versionText("2.0"), "v2.0");
}

TEST(HomeRulesTest, DropPositionCountsOnlyTheTiles)
{
    // games and pocket are enabled icon-only modules between the cards.
    const auto ordered = modules({"player", "games", "timer", "pocket", "clocks"});
    const auto visible = modules({"player", "timer", "clocks"});
    EXPECT_EQ(orderedPosition(visible, ordered, 0), 0);
    EXPECT_EQ(orderedPosition(visible, ordered, 1), 2);
    EXPECT_EQ(orderedPosition(visible, ordered, 2), 4);
    EXPECT_EQ(orderedPosition(visible, ordered, 9), 4);
    EXPECT_EQ(orderedPosition({}, ordered, 0), std::nullopt);
}

TEST(HomeRulesTest, DragTarget)
{
    const QStringList order = {"a", "b", "c"};
    const QHash<QString, Span> spans = {{"a", {"a", 0, 50}}, {"b", {"b", 58, 100}}, {"c", {"c", 108, 150}}};
    struct Case { double y; QString self; std::optional<int> expected; };
    const QList<Case> cases = {
        {-5, "b", 0},             // above the first
        {200, "a", 2},            // below the last
        {54, "a", std::nullopt},  // in the gap
        {20, "a", std::nullopt},  // on its own frame
        {58, "a", 1},             // edges count
        {100, "a", 1},
        {150, "a", 2},
        {60, "c", 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(targetIndex(c.y, order, spans, c.self), c.expected) << c.y << " " << c.self.toStdString();
    EXPECT_EQ(targetIndex(10, order, {}, "a"), std::nullopt);
    // The strip moves only over another icon.
    EXPECT_EQ(stripTargetIndex(-5, order, spans, "b"), std::nullopt);
    EXPECT_EQ(stripTargetIndex(200, order, spans, "a"), std::nullopt);
    EXPECT_EQ(stripTargetIndex(120, order, spans, "a"), 2);
}

TEST(HomeRulesTest, JiggleFromAnUnsignedHash)
{
    struct Case { size_t seed; double period; double delay; };
    for (const Case &c : {Case{0, 0.11, 0}, Case{4, 0.158, 0.072}, Case{11, 0.122, 0.072},
                          Case{std::numeric_limits<size_t>::max(), 0.11, 0.018 * (std::numeric_limits<size_t>::max() % 7)}}) {
        const JiggleParams p = jiggleParams(c.seed);
        EXPECT_NEAR(p.period, c.period, 1e-9) << c.seed;
        EXPECT_NEAR(p.delay, c.delay, 1e-9) << c.seed;
        EXPECT_DOUBLE_EQ(p.angle, 1.6);
    }
}

TEST(HomeRulesTest, HeaderRules)
{
    struct B { int percent; bool charging; bool lowPower; const char *symbol; bool tinted; };
    for (const B &b : {B{20, false, false, "battery.100", true}, B{21, false, false, "battery.100", false},
                       B{5, true, false, "bolt.fill", true}, B{90, true, true, "leaf.fill", true}}) {
        const SymbolStyle s = batteryStyle(b.percent, b.charging, b.lowPower);
        EXPECT_EQ(s.symbol, QLatin1String(b.symbol)) << b.percent;
        EXPECT_EQ(s.tinted, b.tinted) << b.percent;
    }
    EXPECT_EQ(badgeText(12, false), "9");
    EXPECT_EQ(badgeText(3, false), "3");
    EXPECT_EQ(badgeText(0, false), "");
    EXPECT_EQ(badgeText(4, true), "");
    EXPECT_FALSE(stripIsMenu(5, false));
    EXPECT_TRUE(stripIsMenu(6, false));
    EXPECT_FALSE(stripIsMenu(6, true));
    EXPECT_EQ(chromeGlyph(ChromeIcon::gameMode, true, false, false), "lock.fill");
    EXPECT_EQ(chromeGlyph(ChromeIcon::gameMode, false, true, true), "lock");
    EXPECT_EQ(chromeGlyph(ChromeIcon::voice, false, true, false), "record.circle.fill");
    EXPECT_EQ(chromeGlyph(ChromeIcon::mirror, false, false, true), "person.crop.circle.fill");
    EXPECT_TRUE(chromeRemovable(ChromeIcon::pocket));
    for (ChromeIcon icon : {ChromeIcon::youtube, ChromeIcon::spotify, ChromeIcon::compress, ChromeIcon::micCheck})
        EXPECT_FALSE(chromeRemovable(icon));
}

TEST(HomeRulesTest, TimerAndClockRules)
{
    EXPECT_TRUE(presetSelected(1500, 25));
    EXPECT_TRUE(presetSelected(1530, 25));
    EXPECT_FALSE(presetSelected(600, 5));
    EXPECT_FALSE(presetSelected(600, 15));
    EXPECT_TRUE(showsMeridiem(false, true));
    EXPECT_FALSE(showsMeridiem(true, true));
    EXPECT_FALSE(showsMeridiem(false, false));
    EXPECT_EQ(cityColor(3), cityColor(0));
    EXPECT_NE(cityColor(1), cityColor(2));
}

TEST(HomeRulesTest, CardTexts)
{
    EXPECT_EQ(degrees(-4), QString::fromUtf8("-4°"));
    EXPECT_EQ(highLowText(3, -2), QString::fromUtf8("H 3°  L -2°"));
    EXPECT_EQ(sunText("6:58 AM", "4:52 PM"), QString::fromUtf8("↑ 6:58 AM  ↓ 4:52 PM"));
    EXPECT_TRUE(showsReminder(true, true, true, true));
    EXPECT_FALSE(showsReminder(false, true, true, true));
    EXPECT_FALSE(showsReminder(true, false, true, true));
    EXPECT_FALSE(showsReminder(true, true, false, true));
    const auto meters = systemMeters(37, 61, "120 GB", "3d 4h", true, false, true, false);
    ASSERT_EQ(meters.size(), 2);
    EXPECT_EQ(meters[0].label, "CPU");
    EXPECT_EQ(meters[0].value, "37%");
    EXPECT_EQ(meters[1].label, "DISK");
    EXPECT_TRUE(systemMeters(1, 1, "", "", false, false, false, false).isEmpty());
    EXPECT_EQ(eyeStrainStatus(true, true, 5), "Look 20 feet away for 20 seconds");
    EXPECT_EQ(eyeStrainStatus(false, true, 5), "You're sitting a little close");
    EXPECT_EQ(eyeStrainStatus(false, false, 20), "Next break in 20m");
    EXPECT_FALSE(eyeStrainAlert(false, false));
}

TEST(HomeRulesTest, CalendarTimesInTheLocalesShortStyleWithoutSeconds)
{
    const QDateTime at = QDateTime(QDate(2025, 3, 4), QTime(17, 24, 36)).toUTC();
    const struct {
        const char *locale;
        const char *text;
    } cases[] = {{"C", "17:24"}, {"en_US", "5:24\u202fPM"}, {"de_DE", "17:24"}, {"en_GB", "17:24"}};
    const QLocale saved;
    for (const auto &c : cases) {
        QLocale::setDefault(QLocale(QLatin1String(c.locale)));
        const QString expected = QString::fromUtf8(c.text);
        QString text = HomeText::shortTime(at);
        // Some locale data spaces the meridiem with a narrow space, some with a plain one.
        text.replace(QLatin1Char(' '), QChar(0x202f));
        EXPECT_EQ(text, expected) << c.locale;
    }
    QLocale::setDefault(saved);
}

TEST(HomeRulesTest, CardListsForTheViews)
{
    // A meter is picked by its place among the kept ones; the count and the
    // meters agree, and a place past the end is an empty meter.
    SystemSnapshot snapshot;
    snapshot.cpu = 12;
    snapshot.memory = 40;
    snapshot.diskFree = "80 GB";
    snapshot.uptime = "2h";
    const QVariant v = QVariant::fromValue(snapshot);
    EXPECT_EQ(HomeText::systemMeterCount(false, true, false, true), 2);
    EXPECT_EQ(HomeText::systemMeter(v, false, true, false, true, 0).value, "40%");
    EXPECT_EQ(HomeText::systemMeter(v, false, true, false, true, 1).label, "UP");
    EXPECT_EQ(HomeText::systemMeter(v, false, true, false, true, 2), SystemMeter{});
    EXPECT_EQ(HomeText::systemMeter(v, true, true, true, true, -1), SystemMeter{});

    // The clock row shows the first cities only, in order.
    QVariantList clocks;
    for (const char *label : {"A", "B", "C", "D"}) {
        ClockCity c;
        c.label = QString::fromLatin1(label);
        c.timeZone = "UTC";
        clocks << QVariant::fromValue(c);
    }
    const QList<ClockCity> shown = HomeText::shownClocks(clocks);
    ASSERT_EQ(shown.size(), HomeText::maxClocks());
    EXPECT_EQ(shown.first().label, "A");
    EXPECT_EQ(shown.last().label, "C");
    EXPECT_EQ(HomeText::shownClocks(clocks.mid(0, 1)).size(), 1);

    QList<NextEvent> events(3);
    EXPECT_EQ(HomeText::firstEvents(events).size(), 2);
    EXPECT_TRUE(HomeText::firstEvents({}).isEmpty());
}

TEST(HomeRulesTest, SpeedReadouts)
{
    EXPECT_EQ(rateText(99.96), "100.0");
    EXPECT_EQ(rateText(100.4), "100");
    EXPECT_EQ(rateText(0.04), "0.0");
    EXPECT_EQ(rateText(std::nullopt), QString::fromUtf8("—"));
    EXPECT_EQ(pingText(17.6), "18");
    EXPECT_EQ(pingText(std::nullopt), QString::fromUtf8("—"));
    EXPECT_EQ(HomeText::speedStatus(int(Tools::SpeedTestPhase::idle), ""), "Ping, download, upload");
    EXPECT_EQ(HomeText::speedStatus(int(Tools::SpeedTestPhase::running), ""), "Ping, download, upload");
    EXPECT_EQ(HomeText::speedStatus(int(Tools::SpeedTestPhase::done), ""), "Cloudflare");
    EXPECT_EQ(HomeText::speedStatus(int(Tools::SpeedTestPhase::failed), "Couldn't reach the network"),
              "Couldn't reach the network");
    EXPECT_EQ(HomeText::speedButton(int(Tools::SpeedTestPhase::done)), "Again");
    EXPECT_EQ(HomeText::speedButton(int(Tools::SpeedTestPhase::failed)), "Run");
}
