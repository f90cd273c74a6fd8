#include "journey.h"

#include "app/compositionroot.h"
#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "notch/notchpanel.h"
#include "services/timerstore.h"
#include "store/appsettings.h"

#include <QLineEdit>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// Home opened again and again after fresh starts, with the five cards a new
// user has and with every module on: each time every card shows whole, at
// full opacity, in its place.
class HomeOpenings : public ::testing::TestWithParam<bool> {};

// Another program's text window has the keyboard; Home opened by a click and
// closed by Escape, then by the pointer going away, gives it back: what is
// typed next lands there.
void keysGoBackToTheOtherWindow(Journey &j)
{
    QLineEdit other;
    other.setWindowTitle(QStringLiteral("Notes"));
    other.setGeometry(QRect(j.desktopPoint() - QPoint(100, 15), QSize(200, 30)));
    other.show();
    ASSERT_TRUE(j.waitFor([&] { return other.windowHandle()->isExposed(); }, 4000));
    j.hands().click(other.mapToGlobal(other.rect().center()));
    ASSERT_TRUE(j.waitFor([&] { return other.hasFocus() && other.isActiveWindow(); }, 4000, "the notes to take keys"));
    const auto typedLands = [&](const QString &text) {
        j.hands().type(text);
        EXPECT_TRUE(j.waitFor([&] { return other.text().endsWith(text); }, 4000, "the typed text in the notes"))
            << other.text().toStdString();
    };
    walk(j, {
        {"open Home, close it by Escape", [](Journey &j) {
             ASSERT_TRUE(j.openHome());
             j.hands().key("Escape");
         },
         [&](Journey &j) {
             ASSERT_TRUE(j.waitFor([&] { return j.island().state() == Island::NotchState::collapsed; }, 4000));
             typedLands(QStringLiteral("hello"));
         }},
        {"open Home, move the pointer away", [](Journey &j) {
             ASSERT_TRUE(j.openHome());
             j.hands().moveTo(j.desktopPoint() + QPoint(0, 200), 6);
         },
         [&](Journey &j) {
             ASSERT_TRUE(j.waitFor([&] { return j.island().state() == Island::NotchState::collapsed; }, 8000));
             typedLands(QStringLiteral("world"));
         }},
    });
}

// A note typed, then 20 Tabs and 20 Shift+Tabs: each brings another control
// into sight, the cards' buttons among them; the note, on disk too, stays as
// typed. Space on the timer's "one minute more" adds the minute a click does.
void tabWalk(Journey &j)
{
    QQuickItem *pad = nullptr;
    ASSERT_TRUE(j.openHome() && j.waitFor([&] { return (pad = j.item("QQuickTextArea")); }, 4000, "the pad"));
    j.click(pad);
    j.hands().type("tabwalk");
    QSet<QQuickItem *> reached;
    const auto tab = [&](int i, bool back) {
        QQuickItem *before = j.focused();
        j.hands().key("Tab", back);
        EXPECT_TRUE(j.waitFor([&] {
            QQuickItem *f = j.focused();
            return f && f != before && j.sightOf(f).adjusted(-1, -1, 1, 1).contains(QRectF(
                       j.screenPoint(f, {0, 0}), j.screenPoint(f, {f->width(), f->height()})));
        }, 4000, QStringLiteral("Tab %1 to show another control").arg(i + 1)));
        reached << j.focused();
    };
    for (int i = 0; i < 40 && !::testing::Test::HasFailure(); ++i)
        tab(i, i >= 20);
    EXPECT_GE(reached.size(), 12);
    EXPECT_TRUE(j.waitFor([] { return UserDefaults().stringValue("scratchNote") == "tabwalk"; }, 4000, "the note"));
    for (int i = 0; i < 40 && !::testing::Test::HasFailure() && j.focused() && j.focused()->property("step").toInt() != 1; ++i)
        tab(i, false);
    const int remaining = j.island().timer()->remaining();
    j.hands().key("space");
    EXPECT_TRUE(j.waitFor([&] { return j.island().timer()->remaining() == remaining + 60; }, 3000, "a minute more"));
    ASSERT_TRUE(j.collapse());
}

// With every module on, the wheel turned with the pointer held over the
// Scratch pad (a long note in it) scrolls the note to its end, then Home to
// its version line.
void wheelToTheFooter(Journey &j)
{
    j.root().settings().setScratchNote(QStringLiteral("line\n").repeated(12));
    // The outermost list inside the item of that type or object name.
    const auto list = [&](const char *inside) {
        return j.item("QQuickFlickable", [&](QQuickItem *i) {
            QQuickItem *p = i->parentItem();
            while (p && p->objectName() != QLatin1String(inside) && !QByteArray(p->metaObject()->className()).startsWith(inside))
                p = p->parentItem();
            return p != nullptr;
        });
    };
    const auto at = [&](const char *inside, const char *end) { return list(inside) && list(inside)->property(end).toBool(); };
    const auto footerShows = [&] {
        QQuickItem *footer = j.item("HomeVersionFooter"), *home = list("HomePanel");
        return footer && home && home->mapRectToScene(home->boundingRect()).contains(footer->mapRectToScene(footer->boundingRect()));
    };
    // The pointer stays put; the list that takes a turn glides a while.
    const auto wheel = [&](int clicks, const std::function<bool()> &done) {
        for (int i = 0; i < 60 && !done(); ++i) {
            j.hands().scroll(clicks);
            j.waitFor([&] { return !at("HomePanel", "moving") && !at("homeCard:notes", "moving"); }, 3000, "the lists to rest");
        }
    };
    walk(j, {
        {"over the long note, the wheel down", [&](Journey &j) {
             ASSERT_TRUE(j.openHome());
             ASSERT_TRUE(j.waitFor([&] { return list("homeCard:notes"); }, 5000, "the Scratch pad"));
             ASSERT_TRUE(j.scrollIntoView(list("homeCard:notes")));
             j.hands().moveTo(j.screenPoint(list("homeCard:notes")), 3);
             wheel(-1, footerShows);
         },
         [&](Journey &) { EXPECT_TRUE(at("homeCard:notes", "atYEnd") && footerShows()); }},
    });
    ASSERT_TRUE(j.collapse());
}

TEST_P(HomeOpenings, EveryCardInPlaceAfterEveryOpening)
{
    const bool everyModule = GetParam();
    int openings = 0;
    for (int start = 0; start < 2 && !HasFailure(); ++start) {
        Journey j({.everyModule = everyModule});
        ASSERT_TRUE(j.start());
        if (start == 0 && !everyModule)
            keysGoBackToTheOtherWindow(j);
        if (start == 0 && everyModule) {
            tabWalk(j);
            wheelToTheFooter(j);
        }
        const int times = start == 0 ? 3 : 10;
        for (int i = 0; i < times && !HasFailure(); ++i) {
            walk(j, {
                {"open Home", [](Journey &j) { ASSERT_TRUE(j.openHome()); },
                 [](Journey &j) { EXPECT_GE(j.homeCards().size(), 3); }},
                {"close Home", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
            });
            ++openings;
        }
    }
    std::printf("Home opened %d times with %s, every card in place\n", openings,
                everyModule ? "every module" : "the default modules");
}

INSTANTIATE_TEST_SUITE_P(Modules, HomeOpenings, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "EveryModule" : "DefaultModules"; });

} // namespace

namespace {

QQuickItem *iconButton(Journey &j, const QString &help)
{
    return j.item("IslandIconButton", [&](QQuickItem *i) { return i->property("help").toString() == help; });
}

QQuickItem *card(Journey &j, const QString &id)
{
    for (QQuickItem *c : j.homeCards()) {
        if (c->property("moduleId").toString() == id)
            return c;
    }
    return nullptr;
}

QStringList cardIds(Journey &j)
{
    QStringList ids;
    for (QQuickItem *c : j.homeCards())
        ids << c->property("moduleId").toString();
    return ids;
}

// The strip's icons as they stand, left to right.
QList<QQuickItem *> stripIcons(Journey &j)
{
    QList<QQuickItem *> cells = j.items("QQuickItem", [](QQuickItem *i) {
        return i->property("modelData").isValid() && i->parentItem()
            && QByteArray(i->parentItem()->metaObject()->className()).startsWith("QQuickRow")
            && i->width() > 10 && i->isVisible();
    });
    std::sort(cells.begin(), cells.end(), [&](QQuickItem *a, QQuickItem *b) {
        return j.screenPoint(a).x() < j.screenPoint(b).x();
    });
    return cells;
}

} // namespace

// Edit mode as a user meets it: add a module from the tray, remove one,
// drag a tile to another place, drag an icon of the strip across four
// others, and leave with Done; with every icon in the strip, Done stays on
// screen and the cards come back in place.
TEST(HomeEditing, AddRemoveReorderAndDone)
{
    Journey j({.everyModule = false, .firstRun = false, .prepare = [](UserDefaults &d) {
                   // Every icon in the strip (13), the default cards and the
                   // calendar on Home, the weather in the tray.
                   d.setString(QStringLiteral("disabledModules"),
                               QStringLiteral("weather,system,network,clipboard,notes,shortcuts,awake,quote,"
                                              "eyeStrain,speedTest"));
               }});
    ASSERT_TRUE(j.start());
    QStringList before;
    walk(j, {
        {"open Home", [&](Journey &j) {
             ASSERT_TRUE(j.openHome());
             before = cardIds(j);
         }},
        {"enter edit mode", [](Journey &j) { j.click(iconButton(j, "Add or remove modules")); },
         [](Journey &j) { EXPECT_TRUE(j.island().isEditingModules()); }},
        {"Done stays on screen beside the thirteen icons", [](Journey &) {},
         [](Journey &j) {
             QQuickItem *done = iconButton(j, "Done");
             ASSERT_TRUE(done);
             const QRectF island = j.panel()->islandFrameOnScreen();
             const QPoint at = j.screenPoint(done);
             EXPECT_TRUE(island.contains(at)) << "Done at " << at.x() << "," << at.y();
         }},
        {"add the weather back from the tray", [](Journey &j) { j.click(j.text("Weather")); },
         [](Journey &j) { EXPECT_TRUE(cardIds(j).contains("weather")); }},
        {"remove the calendar card", [](Journey &j) {
             QQuickItem *calendar = card(j, "calendar");
             ASSERT_TRUE(calendar);
             // The badge at the tile's top left corner.
             j.click(calendar, QPointF(2, 2));
         },
         [](Journey &j) { EXPECT_FALSE(cardIds(j).contains("calendar")); }},
        {"drag the first tile below the second", [](Journey &j) {
             const QList<QQuickItem *> cards = j.homeCards();
             ASSERT_GE(cards.size(), 3);
             const QString first = cards[0]->property("moduleId").toString();
             j.scrollIntoView(cards[0]);
             j.ready(cards[1]);
             j.hands().drag(j.screenPoint(cards[0]), j.screenPoint(cards[1], QPointF(cards[1]->width() / 2, cards[1]->height() - 4)));
             EXPECT_TRUE(j.waitFor([&] { return !cardIds(j).isEmpty() && cardIds(j).first() != first; }, 3000,
                                   "the first tile to move"))
                 << cardIds(j).join(',').toStdString();
         }},
        {"drag an icon across four others", [](Journey &j) {
             const QList<QQuickItem *> icons = stripIcons(j);
             ASSERT_GE(icons.size(), 6);
             j.scrollIntoView(icons[0]);
             j.ready(icons[4]);
             const QString order = j.root().settings().chromeIconOrder();
             j.hands().drag(j.screenPoint(icons[0]), j.screenPoint(icons[4]) + QPoint(4, 0), 24);
             EXPECT_TRUE(j.waitFor([&] { return j.root().settings().chromeIconOrder() != order; }, 3000,
                                   "the strip's order to change"));
         }},
        {"leave with Done", [&](Journey &j) {
             j.click(iconButton(j, "Done"));
             j.waitFor([&] { return !j.island().isEditingModules(); }, 3000, "edit mode to end");
             before = cardIds(j);
         },
         [](Journey &j) {
             EXPECT_FALSE(j.island().isEditingModules());
             EXPECT_EQ(j.root().settings().visibleChromeIconIDs().size(), 13);
         }},
        {"close and open Home again", [](Journey &j) {
             ASSERT_TRUE(j.collapse());
             ASSERT_TRUE(j.openHome());
         },
         [&](Journey &j) {
             // The cards as edit mode left them.
             EXPECT_EQ(cardIds(j), before);
             EXPECT_FALSE(cardIds(j).contains("calendar"));
         }},
    });
}

// The timer typed as a user would: click the time, type "1:30", click
// another card; the typed time is kept.
TEST(HomeTimer, TypedTimeIsKeptByAClickElsewhere)
{
    Journey j;
    ASSERT_TRUE(j.start());
    walk(j, {
        {"open Home", [](Journey &j) { ASSERT_TRUE(j.openHome()); }},
        {"click the timer's time", [](Journey &j) { j.click(j.text(j.island().timer()->display())); },
         [](Journey &j) { EXPECT_TRUE(j.focused() && j.focused()->inherits("QQuickTextInput")); }},
        {"type 1:30", [](Journey &j) {
             j.hands().key("a", false, true); // replace what is there
             j.hands().type("1:30");
         },
         [](Journey &j) { EXPECT_EQ(j.focusedText(), "1:30"); }},
        {"click the world clocks card", [](Journey &j) { j.click(card(j, "clocks")); },
         [](Journey &j) { EXPECT_EQ(j.island().timer()->remaining(), 90); }},
    });
}

namespace {

// Pavlet Lock picked from the strip's menu: the island closes, a click on it
// only says the lock is on and how to lift it, and Ctrl+Alt+G lifts it so
// that Home opens again.
TEST(HomeLock, PavletLockKeepsHomeShutUntilItsShortcut)
{
    using State = Island::NotchState;
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    walk(j, {
        {"open Home", [](Journey &j) { ASSERT_TRUE(j.openHome()); }},
        {"pick Pavlet Lock from the strip's menu",
         [](Journey &j) {
             j.click(iconButton(j, "Modules"));
             QQuickItem *entry = nullptr;
             ASSERT_TRUE(j.waitFor([&] {
                 return entry = j.item("QQuickMenuItem", [](QQuickItem *i) {
                     return i->isVisible() && i->property("text").toString() == "Pavlet Lock";
                 });
             }, 3000, "the menu to show Pavlet Lock"));
             j.click(entry);
         },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.island().state() == State::collapsed && j.text("Pavlet Lock is on"); },
                                   3000, "the island to close and say the lock is on"));
             EXPECT_TRUE(j.island().gameModeOn());
         }},
        {"click the island once the notice has gone",
         [](Journey &j) {
             ASSERT_TRUE(j.waitFor([&] { return !j.text("Pavlet Lock is on"); }, 6000, "the notice to go"));
             j.hands().moveTo(j.islandPoint(), 4);
             j.hands().click(j.islandPoint());
         },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.text("Ctrl+Alt+G turns it off"); }, 3000,
                                   "the notice of how to lift the lock"));
             EXPECT_EQ(j.island().state(), State::collapsed);
         }},
        {"press Ctrl+Alt+G", [](Journey &j) { j.hands().key("g", false, true, true); },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return !j.island().gameModeOn() && j.text("Pavlet Lock is off"); }, 3000,
                                   "the lock to lift"));
         }},
        {"open Home", [](Journey &j) { ASSERT_TRUE(j.openHome()); },
         [](Journey &j) { EXPECT_EQ(j.island().state(), State::home); }},
    });
}

} // namespace
