#include "journey.h"

#include "app/appdelegate.h"
#include "app/compositionroot.h"
#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "store/appsettings.h"
#include "store/clockcity.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QTimeZone>
#include <QWindow>
#include <QSignalSpy>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

QString autostartEntry()
{
    return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) + "/autostart/pavlet.desktop";
}

bool sheetUp(Journey &j)
{
    return j.named(j.settingsWindow(), "sheetScroll") != nullptr;
}

} // namespace

// The first run with the keyboard alone: while the welcome sheet is up no
// key reaches the page beneath it (no login entry written, no quit); Tab
// and Return reach its Continue, and the sheet goes.
TEST(SettingsFirstRun, KeyboardOnly)
{
    Journey j({.firstRun = true});
    ASSERT_TRUE(j.start());
    QSignalSpy quits(&j.root().delegate(), &AppDelegate::quitRequested);
    walk(j, {
        {"the settings window opens with its sheet", [](Journey &j) {
             ASSERT_TRUE(j.waitFor([&] { return j.settingsWindow() && j.settingsWindow()->isExposed(); }, 10000));
             XInput::pause(500);
         },
         [](Journey &j) {
             EXPECT_TRUE(sheetUp(j));
             EXPECT_GE(j.settingsWindow()->width(), 720);
             EXPECT_GE(j.settingsWindow()->height(), 460);
         }},
        {"Tab around the sheet: the focus never leaves it", [](Journey &j) {
             const QList<QQuickItem *> sheets = j.itemsIn(j.settingsWindow(), "PermissionsSetupView");
             ASSERT_FALSE(sheets.isEmpty());
             QQuickItem *sheet = sheets.first();
             for (int i = 0; i < 10; ++i) {
                 j.hands().key("Tab");
                 XInput::pause(60);
                 QQuickItem *focus = j.settingsWindow()->activeFocusItem();
                 bool inside = false;
                 for (QQuickItem *p = focus; p; p = p->parentItem())
                     inside = inside || p == sheet;
                 EXPECT_TRUE(inside) << "Tab " << i + 1 << " reached "
                                     << (focus ? focus->metaObject()->className() : "nothing");
             }
         }},
        {"click the login switch beneath the sheet", [](Journey &j) {
             QQuickItem *login = j.named(j.settingsWindow(), "launchAtLogin");
             ASSERT_TRUE(login);
             j.hands().click(j.screenPoint(login));
             XInput::pause(300);
         },
         [&](Journey &j) {
             EXPECT_TRUE(sheetUp(j));
             EXPECT_FALSE(QFile::exists(autostartEntry()));
             EXPECT_FALSE(j.root().settings().launchAtLogin());
             EXPECT_EQ(quits.count(), 0);
         }},
        {"Tab to Continue and Return", [&](Journey &j) {
             for (int i = 0; i < 12 && sheetUp(j); ++i) {
                 QQuickItem *focus = j.settingsWindow()->activeFocusItem();
                 if (focus && focus->property("text").toString() == "Continue") {
                     j.hands().key("Return");
                     break;
                 }
                 j.hands().key("Tab");
                 XInput::pause(60);
             }
             XInput::pause(500);
         },
         [&](Journey &j) {
             EXPECT_FALSE(sheetUp(j));
             EXPECT_EQ(quits.count(), 0);
             EXPECT_FALSE(QFile::exists(autostartEntry()));
         }},
    });
}

// The first run with the mouse, then every page through the sidebar; a
// module installed from the Library shows on Home, and goes when removed.
TEST(SettingsFirstRun, MouseThenEveryPageAndALibraryInstall)
{
    Journey j({.firstRun = true});
    ASSERT_TRUE(j.start());
    walk(j, {
        {"the settings window opens", [](Journey &j) {
             ASSERT_TRUE(j.waitFor([&] { return j.settingsWindow() && j.settingsWindow()->isExposed(); }, 10000));
             XInput::pause(500);
         }},
        {"Continue", [](Journey &j) { j.click(j.textIn(j.settingsWindow(), "Continue")); },
         [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return !sheetUp(j); }, 3000)); }},
        {"every page", [](Journey &j) {
             for (const char *page : {"Permissions", "Modules", "Library", "Notch", "General"}) {
                 QQuickItem *row = j.textIn(j.settingsWindow(), page);
                 ASSERT_TRUE(row) << page;
                 j.click(row);
                 XInput::pause(300);
             }
         }},
        {"install the notes module from the Library", [](Journey &j) {
             j.click(j.textIn(j.settingsWindow(), "Library"));
             XInput::pause(300);
             QQuickItem *card = j.named(j.settingsWindow(), "module-notes");
             ASSERT_TRUE(card);
             QQuickItem *install = nullptr;
             for (QQuickItem *i : j.itemsIn(j.settingsWindow(), "QQuickItem",
                                            [](QQuickItem *i) { return i->objectName() == "install"; })) {
                 for (QQuickItem *p = i; p; p = p->parentItem())
                     if (p == card)
                         install = i;
             }
             ASSERT_TRUE(install);
             j.click(install);
         },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.root().settings().orderedEnabledModuleIDs().contains("notes"); },
                                   5000));
         }},
        {"Home shows the notes card", [](Journey &j) { ASSERT_TRUE(j.openHome()); },
         [](Journey &j) {
             bool found = false;
             for (QQuickItem *c : j.homeCards())
                 found = found || c->property("moduleId").toString() == "notes";
             EXPECT_TRUE(found);
         }},
        {"close Home", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
    });
}

// The Canvas token when the keyring says no: the form says it was not
// saved, and nothing claims otherwise.
TEST(SettingsCanvas, ARefusedTokenIsSaidToBeUnsaved)
{
    JourneySetup setup;
    // The Canvas module on, so that its card holds the form.
    setup.prepare = [](UserDefaults &d) { d.setString("disabledModules", "notes,quote"); };
    Journey j(setup);
    j.secrets().refuseWrites = true;
    ASSERT_TRUE(j.start());
    walk(j, {
        {"open the settings", [](Journey &j) {
             j.root().delegate().openSettings();
             ASSERT_TRUE(j.waitFor([&] { return j.settingsWindow() && j.settingsWindow()->isExposed(); }, 10000));
             XInput::pause(400);
         }},
        {"to the Canvas form", [](Journey &j) {
             j.click(j.textIn(j.settingsWindow(), "Modules"));
             XInput::pause(300);
             QQuickItem *card = j.named(j.settingsWindow(), "module-canvas");
             ASSERT_TRUE(card);
             // Its head opens the card.
             j.click(card, QPointF(card->width() / 2, 18));
             ASSERT_TRUE(j.waitFor([&] { return j.named(j.settingsWindow(), "canvasAddress"); }, 3000));
         }},
        {"type the school address", [](Journey &j) {
             j.click(j.named(j.settingsWindow(), "canvasAddress"));
             j.hands().type("https://school.example.edu");
         }},
        {"type a token", [](Journey &j) {
             j.click(j.named(j.settingsWindow(), "canvasToken"));
             j.hands().type("7~abcdefghijklmnop");
         }},
        {"save", [](Journey &j) { j.click(j.named(j.settingsWindow(), "saveToken")); XInput::pause(500); },
         [](Journey &j) {
             QQuickItem *status = j.named(j.settingsWindow(), "canvasStatus");
             ASSERT_TRUE(status);
             const QString said = status->property("text").toString();
             EXPECT_FALSE(said.contains("saved", Qt::CaseInsensitive) && !said.contains("not saved", Qt::CaseInsensitive))
                 << said.toStdString();
             EXPECT_TRUE(j.secrets().items.isEmpty());
         }},
    });
}

namespace {

// Opens the settings window as the island's menu would.
void openSettings(Journey &j)
{
    j.root().delegate().openSettings();
    ASSERT_TRUE(j.waitFor([&] { return j.settingsWindow() && j.settingsWindow()->isExposed(); }, 10000));
    XInput::pause(400);
}

// A click on the page's row in the sidebar.
void toPage(Journey &j, const char *page)
{
    QQuickItem *row = j.named(j.settingsWindow(), QStringLiteral("sidebar-") + QString::fromLatin1(page));
    ASSERT_TRUE(row) << page;
    j.click(row);
    XInput::pause(300);
}

QQuickItem *shownNamed(Journey &j, const QString &name)
{
    const QList<QQuickItem *> found = j.itemsIn(j.settingsWindow(), "QQuickItem", [&](QQuickItem *i) {
        if (i->objectName() != name)
            return false;
        for (QQuickItem *p = i; p; p = p->parentItem())
            if (!p->isVisible())
                return false;
        return true;
    });
    return found.isEmpty() ? nullptr : found.first();
}

// The colour dialog's hex field, while the dialog shows.
QQuickItem *hexField(Journey &j)
{
    const QList<QQuickItem *> found = j.itemsIn(j.settingsWindow(), "QQuickTextField", [](QQuickItem *i) {
        return i->isVisible() && i->property("text").toString().startsWith(QLatin1Char('#'));
    });
    for (QQuickItem *f : found) {
        bool shown = true;
        for (QQuickItem *p = f; p; p = p->parentItem())
            shown = shown && p->isVisible() && p->opacity() > 0.5;
        if (shown)
            return f;
    }
    return nullptr;
}

// Pixels of the island's window near a colour: what a user would see of it.
int islandPixelsNear(Journey &j, const QColor &colour)
{
    const QImage image = j.panel()->grabWindow();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green())
                    + std::abs(c.blue() - colour.blue()) < 24)
                ++count;
        }
    }
    return count;
}

} // namespace

// The custom accent picked from the colour well: the colour dialog opens over
// the settings window, and the island takes the picked colour at once.
TEST(SettingsNotch, AccentFromTheColourWell)
{
    Journey j;
    ASSERT_TRUE(j.start());
    const QColor picked(0xff, 0x00, 0x80);
    walk(j, {
        {"open the settings", openSettings},
        {"to the Notch page", [](Journey &j) { toPage(j, "notch"); }},
        {"turn on custom accent colors", [](Journey &j) { j.click(shownNamed(j, "useCustomAccent")); },
         [](Journey &j) {
             EXPECT_TRUE(j.root().settings().useCustomAccent());
             EXPECT_TRUE(j.waitFor([&] { return shownNamed(j, "accentWell"); }, 2000));
         }},
        {"click the accent well: the colour dialog opens over the window",
         [](Journey &j) { j.click(shownNamed(j, "accentWell")); },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return hexField(j); }, 3000));
             XInput::pause(300);
         }},
        {"type a colour and OK", [&](Journey &j) {
             QQuickItem *hex = hexField(j);
             ASSERT_TRUE(hex);
             j.click(hex);
             j.hands().key("a", false, true);
             j.hands().type(picked.name());
             j.hands().key("Return");
             XInput::pause(200);
             j.click(j.textIn(j.settingsWindow(), "OK"));
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return !hexField(j); }, 3000)) << "the dialog stays";
             EXPECT_EQ(j.root().settings().customAccent().name(), picked.name());
             EXPECT_EQ(shownNamed(j, "accentWell")->property("color").value<QColor>().name(), picked.name());
         }},
        {"open Home: the island wears the accent", [](Journey &j) { ASSERT_TRUE(j.openHome()); },
         [&](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return islandPixelsNear(j, picked) > 40; }, 3000)); }},
        {"close Home", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
    });
}

namespace {

// Now in that zone, as the island's clocks write it.
QString nowIn(const char *zone, const char *format)
{
    return QLocale::c().toString(QDateTime::currentDateTimeUtc().toTimeZone(QTimeZone(zone)), QString::fromLatin1(format));
}

QString sampleText(Journey &j)
{
    QQuickItem *sample = shownNamed(j, "clockSample");
    return sample ? sample->property("text").toString() : QString();
}

// The time Home's world-clock card shows for a city.
QString homeCityTime(Journey &j, const QString &city)
{
    QQuickItem *label = j.text(city);
    if (!label || !label->parentItem())
        return {};
    const QList<QQuickItem *> column = label->parentItem()->childItems();
    if (column.size() < 2 || column[1]->childItems().isEmpty())
        return {};
    return column[1]->childItems().first()->property("text").toString();
}

} // namespace

// The island clock's zone and cycle from the clock editor: the sample follows
// each choice, and Home shows the same time.
TEST(SettingsNotch, ClockEditorZoneAndCycle)
{
    JourneySetup setup;
    setup.prepare = [](UserDefaults &d) {
        d.setData("worldClocks", ClockCity::encodeList({{QUuid::createUuid(), "Pacific", "America/Los_Angeles"},
                                                        {QUuid::createUuid(), "Tokyo", "Asia/Tokyo"},
                                                        {QUuid::createUuid(), "London", "Europe/London"}}));
    };
    Journey j(setup);
    ASSERT_TRUE(j.start());
    walk(j, {
        {"open the settings", openSettings},
        {"to the Notch page", [](Journey &j) { toPage(j, "notch"); }},
        {"open the time zone picker", [](Journey &j) { j.click(shownNamed(j, "notchZone")); XInput::pause(300); },
         [](Journey &j) { EXPECT_TRUE(j.textIn(j.settingsWindow(), "Asia/Tokyo")); }},
        {"pick Asia/Tokyo", [](Journey &j) { j.click(j.textIn(j.settingsWindow(), "Asia/Tokyo")); XInput::pause(300); },
         [](Journey &j) {
             EXPECT_EQ(j.root().settings().notchTimeZone(), "Asia/Tokyo");
             EXPECT_TRUE(j.waitFor([&] { return sampleText(j) == nowIn("Asia/Tokyo", "ddd h:mm AP"); }, 3000))
                 << sampleText(j).toStdString();
         }},
        {"pick 24-hour: the sample in Tokyo's 24-hour time", [](Journey &j) {
             QQuickItem *hours = shownNamed(j, "notchHours");
             ASSERT_TRUE(hours);
             j.click(hours, QPointF(hours->width() * 0.75, hours->height() / 2));
             XInput::pause(300);
             // The sample sits under the picker: the user scrolls to read it.
             ASSERT_TRUE(shownNamed(j, "clockSample"));
             j.scrollIntoView(shownNamed(j, "clockSample"));
         },
         [](Journey &j) {
             EXPECT_TRUE(j.root().settings().notchUse24Hour());
             EXPECT_TRUE(j.waitFor([&] { return sampleText(j) == nowIn("Asia/Tokyo", "ddd HH:mm"); }, 3000))
                 << sampleText(j).toStdString();
         }},
        {"open Home: its clocks read as the sample", [](Journey &j) { ASSERT_TRUE(j.openHome()); },
         [](Journey &j) {
             // Read together; a minute may turn between two readings.
             QString sample, header, tokyo;
             const bool same = j.waitFor([&] {
                 sample = sampleText(j);
                 header = j.text(sample) ? sample : QString();
                 tokyo = homeCityTime(j, "Tokyo");
                 return !sample.isEmpty() && header == sample && sample.endsWith(" " + tokyo);
             }, 3000);
             EXPECT_TRUE(same) << "sample " << sample.toStdString() << ", Home's Tokyo " << tokyo.toStdString()
                               << (header.isEmpty() ? ", no header clock reads as the sample" : "");
         }},
        {"close Home", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
    });
}
