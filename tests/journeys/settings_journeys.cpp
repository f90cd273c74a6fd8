#include "journey.h"

#include "app/appdelegate.h"
#include "app/compositionroot.h"
#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "store/appsettings.h"

#include <QFile>
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
