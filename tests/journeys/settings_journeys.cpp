#include "journey.h"

#include "app/appdelegate.h"
#include "app/compositionroot.h"
#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "notch/notchwindowcontroller.h"
#include "platform/pointer.h"
#include "store/appsettings.h"
#include "store/clockcity.h"
#include "support/itemtree.h"
#include "support/localhttpserver.h"
#include "support/patience.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTimeZone>
#include <QWindow>
#include <QSignalSpy>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <optional>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

QString autostartEntry()
{
    return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) + "/autostart/pavlet.desktop";
}

bool sheetUp(Journey &j)
{
    return j.named(j.settingsWindow(), "sheetScroll") != nullptr;
}


// The settings window shows and has the keyboard.
void settingsShown(Journey &j)
{
    ASSERT_TRUE(j.waitFor([&] { return j.settingsWindow() && j.settingsWindow()->isExposed(); }, 10000,
                          "the settings window to show"));
    j.waitFor([&] { return j.settingsWindow()->isActive(); }, 2000, "the settings window to take the keyboard");
}

// Opens the settings window as the island's menu would.
void openSettings(Journey &j)
{
    j.root().delegate().openSettings();
    settingsShown(j);
}

// A click on the page's row in the sidebar.
void toPage(Journey &j, const char *page)
{
    QQuickItem *row = j.named(j.settingsWindow(), QStringLiteral("sidebar-") + QString::fromLatin1(page));
    ASSERT_TRUE(row) << page;
    j.click(row);
    EXPECT_TRUE(j.waitFor([&] { return row->property("selected").toBool(); }, 3000,
                          QStringLiteral("the %1 page to show").arg(page)));
}

// Tab (Shift+Tab when back), and the next item takes the keyboard.
void tab(Journey &j, bool back = false)
{
    QQuickItem *before = j.settingsWindow()->activeFocusItem();
    j.hands().key("Tab", back);
    j.waitFor([&] { return j.settingsWindow()->activeFocusItem() != before; }, 1000);
}

// What hides the keyboard's place from the user: the ring of the focused
// control (or the control, where it draws none) outside the part of its
// page that shows. Empty while it is in sight or outside any page.
QString ringOutOfSight(Journey &j)
{
    QQuickItem *focus = j.settingsWindow()->activeFocusItem();
    if (!focus)
        return QStringLiteral("nothing has the keyboard");
    QQuickItem *page = focus->parentItem();
    while (page && !page->inherits("QQuickFlickable"))
        page = page->parentItem();
    if (!page)
        return {};
    QQuickItem *ring = ItemTree::find(focus, QStringLiteral("focusRing"));
    QQuickItem *shown = ring && ring->isVisible() ? ring : focus;
    const QRectF seen = ItemTree::sceneRect(page) & QRectF(QPointF(0, 0), j.settingsWindow()->size());
    const QRectF mark = ItemTree::sceneRect(shown);
    if (mark.top() >= seen.top() - 0.5 && mark.bottom() <= seen.bottom() + 0.5)
        return {};
    return QStringLiteral("%1 (focus on %2) lies outside the page's shown part %3..%4")
        .arg(Patience::describe(shown), Patience::describe(focus))
        .arg(seen.top())
        .arg(seen.bottom());
}

// Tab or Shift+Tab, then the keyboard's place is in sight (as soon as the
// page has moved to it).
void tabInSight(Journey &j, bool back, const QString &what)
{
    tab(j, back);
    j.waitFor([&] { return ringOutOfSight(j).isEmpty(); }, 2000, what);
    EXPECT_EQ(ringOutOfSight(j), QString()) << what.toStdString();
}

// Whether the keyboard is on a control of the pages (not the sidebar).
bool onPage(Journey &j)
{
    QQuickItem *focus = j.settingsWindow()->activeFocusItem();
    for (QQuickItem *p = focus; p; p = p->parentItem())
        if (p->inherits("QQuickFlickable"))
            return true;
    return false;
}

// Scrolls the page with the wheel to its last line.
void scrollToTheEnd(Journey &j, const char *lastText)
{
    QQuickItem *last = j.textIn(j.settingsWindow(), QString::fromLatin1(lastText));
    ASSERT_TRUE(last) << lastText;
    ASSERT_TRUE(j.scrollIntoView(last, QPointF(last->width() / 2, last->height()))) << j.report().toStdString();
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

// The Canvas card's form: the Modules page, then the card's head.
void toCanvasForm(Journey &j)
{
    toPage(j, "modules");
    QQuickItem *card = j.named(j.settingsWindow(), "module-canvas");
    // Its size once the page is laid out.
    ASSERT_TRUE(j.ready(card));
    j.click(card, QPointF(card->width() / 2, 18));
    ASSERT_TRUE(j.waitFor([&] { return shownNamed(j, "canvasAddress"); }, 3000));
}

// Types into a field of the settings window, replacing what it holds.
void typeInto(Journey &j, const char *field, const QString &text)
{
    QQuickItem *f = shownNamed(j, QString::fromLatin1(field));
    ASSERT_TRUE(f) << field;
    j.click(f);
    ASSERT_TRUE(j.waitFor([&] { return f->hasActiveFocus(); }, 2000)) << field << " took no focus";
    j.hands().key("a", false, true);
    j.hands().type(text);
    ASSERT_TRUE(j.waitFor([&] { return f->property("text").toString() == text; }, 2000))
        << field << " holds " << f->property("text").toString().toStdString();
}

QString canvasStatus(Journey &j)
{
    QQuickItem *status = shownNamed(j, "canvasStatus");
    return status ? status->property("text").toString() : QString();
}

// Brings the Canvas status line into sight, for the user to read.
void readCanvasStatus(Journey &j)
{
    if (QQuickItem *status = shownNamed(j, "canvasStatus"))
        j.scrollIntoView(status, QPointF(status->width() / 2, status->height()));
}

const char *const CanvasToken = "7~abcdefghijklmnop";

// A school's Canvas on 127.0.0.1 over TLS: Ada, one overdue essay and a lab
// report due in two days.
std::unique_ptr<LocalHttpServer> schoolCanvas(int delayMs = 0)
{
    LocalHttpServer::trustTestCertificate();
    auto server = std::make_unique<LocalHttpServer>();
    if (!server->listenTls())
        return nullptr;
    const QByteArray due = QDateTime::currentDateTimeUtc().addDays(2).toString(Qt::ISODate).toUtf8();
    const QList<QPair<QString, QByteArray>> replies = {
        {"/api/v1/users/self", R"({"name":"Ada Lovelace"})"},
        {"/api/v1/users/self/missing_submissions", R"([{"id":1,"name":"Essay on engines"}])"},
        {"/api/v1/planner/items",
         R"([{"plannable_id":2,"plannable_type":"assignment","plannable":{"title":"Lab report","due_at":")" + due
             + R"("}}])"},
    };
    for (const auto &[path, body] : replies) {
        LocalHttpServer::Reply reply = LocalHttpServer::json(body);
        reply.delayMs = delayMs;
        server->setReply(path, reply);
    }
    return server;
}

// Every text the Canvas status line has held, in order.
void recordCanvasStatus(Journey &j, QStringList &said)
{
    AppSettings *settings = &j.root().settings();
    QObject::connect(settings, &AppSettings::canvasStatusChanged, settings,
                     [settings, &said] { said << settings->canvasStatus(); });
}

// While it lives, the calling thread (the program's main thread, which
// writes the settings) meets file permissions as an ordinary user does, even
// when the tests run as root.
class WritesAsAUser {
public:
    WritesAsAUser() { overridePermissions(false); }
    ~WritesAsAUser() { overridePermissions(true); }
    WritesAsAUser(const WritesAsAUser &) = delete;
    WritesAsAUser &operator=(const WritesAsAUser &) = delete;

private:
    static void overridePermissions(bool on)
    {
        if (geteuid() != 0)
            return;
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct caps[2] = {};
        if (syscall(SYS_capget, &header, caps) != 0)
            return;
        for (const unsigned cap : {unsigned(CAP_DAC_OVERRIDE), unsigned(CAP_DAC_READ_SEARCH)}) {
            const quint32 bit = 1u << (cap % 32);
            if (on)
                caps[cap / 32].effective |= caps[cap / 32].permitted & bit;
            else
                caps[cap / 32].effective &= ~bit;
        }
        syscall(SYS_capset, &header, caps);
    }
};

// Read-only (or writable again) by permissions: the folder and the file.
void setWritable(const QString &file, bool writable)
{
    const auto dirMode = writable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                  : QFile::ReadOwner | QFile::ExeOwner;
    const auto fileMode = writable ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner;
    for (QString dir = QFileInfo(file).absolutePath(); dir.endsWith("/config") || dir.contains("/config/");
         dir = QFileInfo(dir).absolutePath())
        QFile::setPermissions(dir, dirMode);
    if (QFile::exists(file))
        QFile::setPermissions(file, fileMode);
}

// What the settings file on disk holds for a key, read as the next start would.
bool storedBool(Journey &j, const char *key)
{
    return UserDefaults(j.root().defaults().path()).boolValue(QString::fromLatin1(key), false);
}

// A control of a module's card on the page shown (its button of that text,
// or the item of that name).
QQuickItem *cardControl(Journey &j, const QString &moduleId, const QString &textOrName)
{
    QQuickItem *card = shownNamed(j, QStringLiteral("module-") + moduleId);
    if (!card)
        return nullptr;
    QList<QQuickItem *> found;
    std::function<void(QQuickItem *)> look = [&](QQuickItem *i) {
        if (!i->isVisible())
            return;
        if (i->objectName() == textOrName || (i->inherits("QQuickAbstractButton") && i->property("text") == textOrName))
            found << i;
        for (QQuickItem *c : i->childItems())
            look(c);
    };
    look(card);
    return found.isEmpty() ? nullptr : found.first();
}

bool homeHasCard(Journey &j, const QString &moduleId)
{
    for (QQuickItem *c : j.homeCards())
        if (c->property("moduleId").toString() == moduleId)
            return true;
    return false;
}

// Opens Home, whose cards hold the notes card or not.
Step homeWithNotes(const char *what, bool shown)
{
    return {what, [](Journey &j) { ASSERT_TRUE(j.openHome()); },
            [shown](Journey &j) { EXPECT_EQ(homeHasCard(j, "notes"), shown); }};
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
        {"the settings window opens with its sheet", settingsShown,
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
                 tab(j);
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
                 tab(j);
             }
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
        {"the settings window opens", settingsShown},
        {"Continue", [](Journey &j) { j.click(j.textIn(j.settingsWindow(), "Continue")); },
         [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return !sheetUp(j); }, 3000)); }},
        {"every page", [](Journey &j) {
             for (const char *page : {"permissions", "modules", "library", "notch", "general"})
                 toPage(j, page);
         }},
        {"install the notes module from the Library", [](Journey &j) {
             toPage(j, "library");
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
        {"Home's gear brings the settings forward", [](Journey &j) {
             toPage(j, "general");
             ASSERT_TRUE(j.openHome());
             j.click(j.item("IslandIconButton", [](QQuickItem *i) {
                 return i->property("help").toString() == QLatin1String("Settings") && i->isVisible();
             }));
         },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.island().state() == Island::NotchState::collapsed; }, 5000,
                                   "Home to close"));
             settingsShown(j);
         }},
        // Where Home stood a moment ago: the clicks are the settings window's.
        {"three clicks in the settings leave Home closed", [](Journey &j) {
             QQuickItem *line = j.textIn(j.settingsWindow(), "Click the notch at the top of the screen to open "
                                                             "home. This window is for settings.");
             ASSERT_TRUE(line);
             QSignalSpy seen(j.root().platform().clicks, &platform::IGlobalClickMonitor::clicked);
             QSignalSpy islandClicks(j.root().delegate().notch(), &NotchWindowController::islandClicked);
             for (int i = 1; i <= 3; ++i) {
                 j.click(line, QPointF(12 * i, line->height() / 2));
                 ASSERT_TRUE(j.waitFor([&] { return seen.count() >= i; }, 3000, "the display to report the click"));
                 // The island hears of it a turn later.
                 QCoreApplication::processEvents();
             }
             EXPECT_EQ(islandClicks.count(), 0);
             EXPECT_EQ(j.island().state(), Island::NotchState::collapsed);
         }},
    });
}

// The Canvas token when the keyring says no: Return in the token field
// saves; the token serves this run, the form says it will not be kept after
// quitting, and the school's address is stored all the same.
TEST(SettingsCanvas, ARefusedTokenServesThisRunOnly)
{
    // Canvas answers slowly, so that the line about the token stays a moment.
    std::unique_ptr<LocalHttpServer> canvas = schoolCanvas(1500);
    ASSERT_TRUE(canvas);
    QStringList said;
    JourneySetup setup;
    // The Canvas module on, so that its card holds the form.
    setup.prepare = [](UserDefaults &d) { d.setString("disabledModules", "notes,quote"); };
    Journey j(setup);
    j.secrets().refuseWrites = true;
    ASSERT_TRUE(j.start());
    recordCanvasStatus(j, said);
    const QString address = canvas->baseUrl().toString();
    walk(j, {
        {"open the settings", openSettings},
        {"to the Canvas form", toCanvasForm},
        {"type the school address", [&](Journey &j) { typeInto(j, "canvasAddress", address); }},
        {"type a token", [](Journey &j) { typeInto(j, "canvasToken", CanvasToken); }},
        {"Return: the keyring refuses", [](Journey &j) {
             j.hands().key("Return");
             readCanvasStatus(j);
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return said.contains(AppSettings::CanvasThisRunOnlyText); }, 5000))
                 << said.join(" | ").toStdString();
             EXPECT_TRUE(j.secrets().items.isEmpty());
             EXPECT_EQ(shownNamed(j, "canvasToken")->property("text").toString(), "");
             EXPECT_EQ(UserDefaults(j.root().defaults().path()).stringValue("canvasBaseURL"), address);
         }},
        {"the token works all the same", [](Journey &j) { j.waitFor([&] { return canvasStatus(j).startsWith("Connected"); }, 15000); },
         [](Journey &j) {
             EXPECT_EQ(canvasStatus(j), "Connected as Ada Lovelace");
             // Beside it, the form still says the token goes at quitting,
             // and the token field does not call it saved.
             QQuickItem *note = shownNamed(j, "canvasTokenNote");
             ASSERT_TRUE(note);
             EXPECT_EQ(note->property("text").toString(), AppSettings::CanvasThisRunOnlyText);
             EXPECT_EQ(shownNamed(j, "canvasToken")->property("placeholderText").toString(), "Paste Canvas API token");
         }},
    });
}

// A token goes only to the school it was saved for: the same school with
// its path put right keeps it; another school's address, saved with the
// token field empty, gets nothing and the form asks for that school's token.
TEST(SettingsCanvas, AnotherSchoolGetsNoToken)
{
    std::unique_ptr<LocalHttpServer> one = schoolCanvas(), two = schoolCanvas();
    ASSERT_TRUE(one && two);
    JourneySetup setup;
    setup.prepare = [](UserDefaults &d) { d.setString("disabledModules", "notes,quote"); };
    Journey j(setup);
    ASSERT_TRUE(j.start());
    const QString schoolOne = one->baseUrl().toString(), schoolTwo = two->baseUrl().toString();
    const QString pasteForTwo = "Paste the token for 127.0.0.1:" + QString::number(two->port());
    const auto save = [](Journey &j) {
        j.click(shownNamed(j, "saveToken"));
        readCanvasStatus(j);
    };
    walk(j, {
        {"open the settings", openSettings},
        {"to the Canvas form", toCanvasForm},
        {"save school one's address, with a slip in its path, and a token", [&](Journey &j) {
             typeInto(j, "canvasAddress", schoolOne + "/cnavas");
             typeInto(j, "canvasToken", CanvasToken);
             save(j);
         },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return canvasStatus(j).startsWith("Couldn't load Canvas"); }, 8000))
                 << canvasStatus(j).toStdString();
         }},
        {"put the path right and save, the token field empty", [&](Journey &j) {
             one->clearRequests();
             typeInto(j, "canvasAddress", schoolOne);
             save(j);
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return canvasStatus(j) == "Connected as Ada Lovelace"; }, 8000))
                 << canvasStatus(j).toStdString();
             ASSERT_EQ(one->requestCount(), 3);
             for (const auto &r : one->requests())
                 EXPECT_EQ(r.header("Authorization"), "Bearer " + QByteArray(CanvasToken));
         }},
        {"school two's address, the token field empty", [&](Journey &j) {
             typeInto(j, "canvasAddress", schoolTwo);
             save(j);
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return canvasStatus(j) == pasteForTwo; }, 8000))
                 << canvasStatus(j).toStdString();
             EXPECT_EQ(shownNamed(j, "canvasAddress")->property("text").toString(), schoolTwo);
             EXPECT_TRUE(j.waitFor([&] {
                 return UserDefaults(j.root().defaults().path()).stringValue("canvasBaseURL") == schoolTwo;
             }, 3000)) << "the address was not stored";
         }},
        {"open Canvas on the island: it asks for a connection, and school two hears nothing",
         [](Journey &j) { ASSERT_TRUE(j.openFromStrip("Canvas")); },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.text("Connect Canvas in Settings"); }, 5000));
             EXPECT_TRUE(j.waitFor([&] { return canvasStatus(j) == pasteForTwo; }, 5000))
                 << canvasStatus(j).toStdString();
             EXPECT_EQ(two->requestCount(), 0);
         }},
        {"close it", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
    });
}

// The Canvas token with a keyring that asks first: while it waits the form
// says so, and "Token saved" only once it has the token.
TEST(SettingsCanvas, ASlowKeyringSaysItWaitsThenSaved)
{
    // Canvas answers slowly too, so that the saved line stays a moment.
    std::unique_ptr<LocalHttpServer> canvas = schoolCanvas(1500);
    ASSERT_TRUE(canvas);
    QStringList said;
    JourneySetup setup;
    setup.prepare = [](UserDefaults &d) { d.setString("disabledModules", "notes,quote"); };
    Journey j(setup);
    j.secrets().answerAfterMs = 3000;
    ASSERT_TRUE(j.start());
    recordCanvasStatus(j, said);
    const QString address = canvas->baseUrl().toString();
    walk(j, {
        {"open the settings", openSettings},
        {"to the Canvas form", toCanvasForm},
        {"type the school address and a token", [&](Journey &j) {
             typeInto(j, "canvasAddress", address);
             typeInto(j, "canvasToken", CanvasToken);
         }},
        {"save: the keyring's prompt is up", [](Journey &j) {
             j.click(shownNamed(j, "saveToken"));
             readCanvasStatus(j);
         },
         [&](Journey &j) {
             EXPECT_TRUE(canvasStatus(j).contains("waiting")) << canvasStatus(j).toStdString();
             EXPECT_FALSE(shownNamed(j, "saveToken")->isEnabled());
             EXPECT_TRUE(j.secrets().items.isEmpty());
             EXPECT_FALSE(said.join('\n').contains("Token saved"));
         }},
        {"the keyring takes it", [](Journey &j) { j.waitFor([&] { return canvasStatus(j).startsWith("Token saved"); }, 8000); },
         [&](Journey &j) {
             EXPECT_TRUE(canvasStatus(j).startsWith("Token saved")) << canvasStatus(j).toStdString();
             EXPECT_EQ(j.secrets().items.values().value(0), QByteArray(CanvasToken));
             QQuickItem *token = shownNamed(j, "canvasToken");
             EXPECT_TRUE(token->property("text").toString().isEmpty());
             EXPECT_EQ(token->property("placeholderText").toString(), "Token saved. Paste to replace");
             EXPECT_TRUE(shownNamed(j, "saveToken")->isEnabled());
             EXPECT_EQ(shownNamed(j, "canvasAddress")->property("text").toString(), address);
         }},
        {"Canvas answers", [](Journey &j) { j.waitFor([&] { return canvasStatus(j).startsWith("Connected"); }, 15000); },
         [&](Journey &j) {
             EXPECT_EQ(canvasStatus(j), "Connected as Ada Lovelace");
             // Waiting, saved, then what Canvas says: never saved before the keyring had it.
             const qsizetype waiting = said.indexOf(AppSettings::CanvasSavingText);
             const qsizetype saved = said.indexOf(QRegularExpression("^Token saved.*"));
             EXPECT_TRUE(waiting >= 0 && saved > waiting) << said.join(" | ").toStdString();
         }},
    });
}

// Canvas with work on the board, then the school's server gone: the board
// keeps its work and the status says Canvas could not be reached.
TEST(SettingsCanvas, TheBoardOutlivesTheServer)
{
    std::unique_ptr<LocalHttpServer> canvas = schoolCanvas();
    ASSERT_TRUE(canvas);
    JourneySetup setup;
    setup.prepare = [](UserDefaults &d) { d.setString("disabledModules", "notes,quote"); };
    Journey j(setup);
    ASSERT_TRUE(j.start());
    const QString address = canvas->baseUrl().toString();
    const auto boardShowsWork = [](Journey &j) {
        return j.island().state() == Island::NotchState::canvas && j.text("Essay on engines") && j.text("Lab report");
    };
    walk(j, {
        {"open the settings", openSettings},
        {"to the Canvas form", toCanvasForm},
        {"save the school address and a token", [&](Journey &j) {
             typeInto(j, "canvasAddress", address);
             typeInto(j, "canvasToken", CanvasToken);
             j.click(shownNamed(j, "saveToken"));
             readCanvasStatus(j);
         },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return canvasStatus(j) == "Connected as Ada Lovelace"; }, 8000))
                 << canvasStatus(j).toStdString();
         }},
        {"open Canvas on the island: the work is on the board", [](Journey &j) { ASSERT_TRUE(j.openFromStrip("Canvas")); },
         [&](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return boardShowsWork(j); }, 5000)); }},
        {"close it", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
        {"the school's server goes away; open Canvas again", [&](Journey &j) {
             canvas.reset();
             ASSERT_TRUE(j.openFromStrip("Canvas"));
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return canvasStatus(j).startsWith("Couldn't load Canvas · last loaded "); }, 8000))
                 << canvasStatus(j).toStdString();
             EXPECT_TRUE(j.text(canvasStatus(j))) << "the planner says it too";
             EXPECT_TRUE(boardShowsWork(j)) << "the board lost its work";
             XInput::pause(300);
             EXPECT_TRUE(boardShowsWork(j)) << "the board lost its work";
         }},
        {"close it", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
    });
}

// The custom accent picked from the colour well: the colour dialog opens over
// the settings window, and the island takes the picked colour at once.
TEST(SettingsNotch, AccentFromTheColourWell)
{
    Journey j;
    ASSERT_TRUE(j.start());
    QColor picked;
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
         [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return shownNamed(j, "accentPlane"); }, 3000)); }},
        {"a pink from the hue strip, the plane's brightest corner, then OK", [&](Journey &j) {
             QQuickItem *hue = shownNamed(j, "accentHue");
             ASSERT_TRUE(hue);
             j.click(hue, QPointF(hue->width() / 2, hue->height() * 0.92));
             QQuickItem *plane = shownNamed(j, "accentPlane");
             ASSERT_TRUE(plane);
             j.click(plane, QPointF(plane->width() - 2, 2));
             picked = shownNamed(j, "accentPreview")->property("color").value<QColor>();
             j.click(shownNamed(j, "accentOk"));
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return !shownNamed(j, "accentPlane"); }, 3000)) << "the dialog stays";
             EXPECT_NEAR(picked.hsvHueF(), 0.92, 0.03) << picked.name().toStdString();
             EXPECT_GT(picked.hsvSaturationF(), 0.9);
             EXPECT_GT(picked.valueF(), 0.9);
             EXPECT_EQ(j.root().settings().customAccent().name(), picked.name());
             EXPECT_EQ(shownNamed(j, "accentWell")->property("color").value<QColor>().name(), picked.name());
         }},
        {"edit on screen: each phase's X handle follows the pointer, its controls still", [](Journey &j) {
             j.click(shownNamed(j, "editOnScreen"));
             QQuickWindow *controls = nullptr;
             ASSERT_TRUE(j.waitFor([&] { return (controls = qobject_cast<QQuickWindow *>(QGuiApplication::focusWindow())) && controls->objectName() == "island-edit-controls"; }));
             // No task bar or pager lists the editor's windows.
             for (QWindow *w : QGuiApplication::topLevelWindows()) {
                 if (!w->isVisible() || !w->objectName().startsWith("island-edit"))
                     continue;
                 QProcess xprop;
                 xprop.start("xprop", {"-id", QString::number(w->winId()), "_NET_WM_STATE"});
                 xprop.waitForFinished(5000);
                 const QString state = QString::fromUtf8(xprop.readAllStandardOutput());
                 EXPECT_TRUE(state.contains("SKIP_TASKBAR") && state.contains("SKIP_PAGER")) << state.toStdString();
             }
             for (const char *next : {"Expanded", "Done"}) {
                 QQuickItem *x = j.itemsIn(controls, "QQuickSlider", [](QQuickItem *i) { return i->isVisible(); }).value(0);
                 ASSERT_TRUE(x && j.ready(x));
                 const QPoint at = j.screenPoint(x->property("handle").value<QQuickItem *>());
                 const int left = controls->x();
                 j.hands().moveTo(at, 3);
                 j.hands().press();
                 for (int step = 1; step <= 8; ++step) {
                     const double was = x->property("value").toDouble();
                     j.hands().moveTo(at + QPoint(2 * step, 0), 1);
                     EXPECT_TRUE(j.waitFor([&] { return x->property("value").toDouble() > was && controls->x() == left; }, 2000)) << "step " << step << " before " << next;
                 }
                 j.hands().release();
                 j.click(j.textIn(controls, next));
             }
         }},
        {"open Home: the island wears the accent", [](Journey &j) { ASSERT_TRUE(j.openHome()); },
         [&](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return islandPixelsNear(j, picked) > 40; }, 3000)); }},
        {"close Home", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
    });
}

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
        {"open the time zone picker", [](Journey &j) { j.click(shownNamed(j, "notchZone")); },
         [](Journey &j) { EXPECT_TRUE(j.textIn(j.settingsWindow(), "Asia/Tokyo")); }},
        {"pick Asia/Tokyo", [](Journey &j) { j.click(j.textIn(j.settingsWindow(), "Asia/Tokyo")); },
         [](Journey &j) {
             EXPECT_EQ(j.root().settings().notchTimeZone(), "Asia/Tokyo");
             EXPECT_TRUE(j.waitFor([&] { return sampleText(j) == nowIn("Asia/Tokyo", "ddd h:mm AP"); }, 3000))
                 << sampleText(j).toStdString();
         }},
        {"pick 24-hour: the sample in Tokyo's 24-hour time", [](Journey &j) {
             QQuickItem *hours = shownNamed(j, "notchHours");
             ASSERT_TRUE(hours && j.ready(hours));
             j.click(hours, QPointF(hours->width() * 0.75, hours->height() / 2));
             // The sample sits under the picker: the user scrolls to read it.
             ASSERT_TRUE(j.waitFor([&] { return shownNamed(j, "clockSample"); }, 3000, "the clock sample"));
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

// Opened from Home's Settings button, the window stands with its frame
// inside the work area (on a small screen at a large scale too: the tests
// run this journey there as well), and its page scrolls by wheel to its
// end. The keyboard on a page scrolled away from it: each Tab and Shift+Tab
// brings the control it reaches into sight with its ring, before a key can
// change it; Space changes the control the user sees ringed. Through the
// Notch page both ways, and into the cards of Modules.
TEST(SettingsNotch, TheKeyboardsPlaceStaysInSight)
{
    Journey j;
    ASSERT_TRUE(j.start());
    walk(j, {
        {"open the settings from Home", [](Journey &j) {
             ASSERT_TRUE(j.openHome());
             j.click(j.item("IslandIconButton", [](QQuickItem *i) {
                 return i->property("help").toString() == QLatin1String("Settings") && i->isVisible();
             }));
             settingsShown(j);
         },
         [](Journey &j) {
             const QRect frame = j.frameOnServer(j.settingsWindow()), work = j.workArea();
             const auto text = [](QRect r) { return QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()).toStdString(); };
             EXPECT_TRUE(work.contains(frame)) << "the window's frame " << text(frame) << " leaves the work area " << text(work);
             const QRect island = j.root().delegate().notch()->restingFrame();
             EXPECT_GT(XInput::fromDevice(frame.topLeft()).y(), island.bottom())
                 << "the title bar of " << text(frame) << " is under the island " << text(island);
         }},
        {"to the Notch page, scrolled to its end", [](Journey &j) {
             toPage(j, "notch");
             scrollToTheEnd(j, "Close the panel");
         }},
        {"five Tabs", [](Journey &j) {
             for (int i = 0; i < 5; ++i)
                 tabInSight(j, false, QStringLiteral("Tab %1").arg(i + 1));
         }},
        {"Shift+Tab, Tab, Tab, Space: the ringed switch flips", [](Journey &j) {
             tabInSight(j, true, "Shift+Tab");
             tabInSight(j, false, "Tab");
             tabInSight(j, false, "Tab");
             QQuickItem *focus = j.settingsWindow()->activeFocusItem();
             ASSERT_TRUE(focus && focus->inherits("QQuickSwitch")) << Patience::describe(focus).toStdString();
             const bool was = focus->property("checked").toBool();
             j.hands().key("space");
             EXPECT_TRUE(j.waitFor([&] { return focus->property("checked").toBool() != was; }, 2000));
             EXPECT_EQ(ringOutOfSight(j), QString());
         }},
        {"Tab to the end of the page, then Shift+Tab back to its top", [](Journey &j) {
             int stops = 0;
             for (; stops < 40 && onPage(j); ++stops)
                 tabInSight(j, false, QStringLiteral("Tab to the end, %1").arg(stops + 1));
             EXPECT_LT(stops, 40) << "the Tabs never left the page";
             // From the sidebar, back into the page at its end.
             scrollToTheEnd(j, "How to use the notch");
             tab(j, true);
             for (stops = 0; stops < 40 && onPage(j); ++stops) {
                 EXPECT_EQ(ringOutOfSight(j), QString()) << "Shift+Tab " << stops;
                 tabInSight(j, true, QStringLiteral("Shift+Tab to the top, %1").arg(stops + 1));
             }
             EXPECT_GT(stops, 10);
             EXPECT_LT(stops, 40) << "the Shift+Tabs never left the page";
         }},
        {"Modules, scrolled to its end: Tab into its cards", [](Journey &j) {
             toPage(j, "modules");
             // Its cards are built as it shows.
             QQuickItem *page = nullptr;
             j.waitFor([&] {
                 for (QQuickItem *f : j.itemsIn(j.settingsWindow(), "QQuickFlickable"))
                     if (f->isVisible() && f->property("contentHeight").toReal() > f->height())
                         page = f;
                 return page != nullptr;
             }, 3000, "the page to hold more than it shows");
             ASSERT_TRUE(page);
             j.hands().moveTo(j.screenPoint(page));
             for (int i = 0; i < 30; ++i)
                 j.hands().scroll(-1);
             j.waitFor([&] { return !page->property("moving").toBool(); }, 3000, "the page to rest");
             for (int i = 0; i < 6; ++i)
                 tabInSight(j, false, QStringLiteral("Modules, Tab %1").arg(i + 1));
         }},
    });
}

// A settings file that cannot be written: the window says so on a line of its
// own while that lasts, the values stay in memory, and nothing shows as done
// that was not; once the file can be written again the line goes and every
// value reaches the disk.
TEST(SettingsStorage, AnUnwritableSettingsFile)
{
    Journey j;
    ASSERT_TRUE(j.start());
    std::optional<WritesAsAUser> asUser;
    const auto problemLine = [](Journey &j) { return shownNamed(j, "storageProblem"); };
    walk(j, {
        {"open the settings", openSettings},
        {"to the Notch page", [](Journey &j) { toPage(j, "notch"); },
         [&](Journey &j) { EXPECT_FALSE(problemLine(j)); }},
        {"the settings folder turns read-only; turn on Drop shadow", [&](Journey &j) {
             ASSERT_TRUE(j.root().defaults().flush());
             setWritable(j.root().defaults().path(), false);
             asUser.emplace();
             j.click(j.textIn(j.settingsWindow(), "Drop shadow"));
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.root().settings().showDropShadow());
             ASSERT_TRUE(j.waitFor([&] { return problemLine(j); }, 3000)) << "no line says the settings are not saved";
             EXPECT_TRUE(problemLine(j)->property("text").toString().contains(j.root().defaults().path()));
             EXPECT_FALSE(storedBool(j, "showDropShadow"));
         }},
        {"to the General page: the line is still there", [](Journey &j) { toPage(j, "general"); },
         [&](Journey &j) { EXPECT_TRUE(problemLine(j)); }},
        {"turn on Launch at login: it cannot be registered", [](Journey &j) {
             j.click(shownNamed(j, "launchAtLogin"));
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return shownNamed(j, "launchAtLoginProblem"); }, 3000));
             EXPECT_FALSE(j.root().settings().launchAtLogin());
             EXPECT_FALSE(shownNamed(j, "launchAtLogin")->property("checked").toBool()) << "the switch says on";
             EXPECT_FALSE(QFile::exists(autostartEntry()));
             EXPECT_TRUE(problemLine(j));
         }},
        {"the folder is writable again; turn on Launch at login", [&](Journey &j) {
             asUser.reset();
             setWritable(j.root().defaults().path(), true);
             j.click(shownNamed(j, "launchAtLogin"));
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return !problemLine(j); }, 3000)) << "the line stays";
             EXPECT_FALSE(shownNamed(j, "launchAtLoginProblem"));
             EXPECT_TRUE(j.root().settings().launchAtLogin());
             EXPECT_TRUE(QFile::exists(autostartEntry()));
             // What was kept in memory meanwhile is on disk now.
             EXPECT_TRUE(storedBool(j, "showDropShadow"));
             EXPECT_TRUE(storedBool(j, "launchAtLogin"));
         }},
    });
    // Writable again whatever step stopped the walk, so the folder can go.
    asUser.reset();
    setWritable(j.root().defaults().path(), true);
}

// A module installed from the Library, then removed from Modules: the
// install shows its gold indicator while it runs, and Home follows both ways.
TEST(SettingsModules, InstallAndRemoveFromTheLibrary)
{
    Journey j;
    ASSERT_TRUE(j.start());
    walk(j, {
        homeWithNotes("open Home: no notes card", false),
        {"close Home", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
        {"open the settings", openSettings},
        {"to the Library", [](Journey &j) { toPage(j, "library"); },
         [](Journey &j) { EXPECT_TRUE(cardControl(j, "notes", "Install")); }},
        {"press Install on notes: it installs", [](Journey &j) { j.click(cardControl(j, "notes", "Install")); },
         [](Journey &j) {
             QQuickItem *spinner = cardControl(j, "notes", "installingIndicator");
             ASSERT_TRUE(spinner) << "no indicator beside Installing";
             EXPECT_GT(spinner->width(), 4);
             EXPECT_GT(spinner->opacity(), 0.5);
             EXPECT_FALSE(cardControl(j, "notes", "Install"));
             EXPECT_FALSE(j.root().settings().orderedEnabledModuleIDs().contains("notes"));
         }},
        {"a moment later it leaves the Library", [](Journey &j) {
             j.waitFor([&] { return j.root().settings().orderedEnabledModuleIDs().contains("notes"); }, 4000);
         },
         [](Journey &j) {
             EXPECT_TRUE(j.root().settings().orderedEnabledModuleIDs().contains("notes"));
             EXPECT_FALSE(shownNamed(j, "module-notes"));
         }},
        {"to Modules: notes is there with Remove", [](Journey &j) { toPage(j, "modules"); },
         [](Journey &j) { EXPECT_TRUE(cardControl(j, "notes", "Remove")); }},
        homeWithNotes("open Home: the notes card", true),
        {"close Home", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
        {"Remove notes", [](Journey &j) { j.click(cardControl(j, "notes", "Remove")); },
         [](Journey &j) {
             EXPECT_FALSE(j.root().settings().orderedEnabledModuleIDs().contains("notes"));
             EXPECT_FALSE(shownNamed(j, "module-notes"));
         }},
        {"to the Library: notes is offered again", [](Journey &j) { toPage(j, "library"); },
         [](Journey &j) { EXPECT_TRUE(cardControl(j, "notes", "Install")); }},
        homeWithNotes("open Home: no notes card", false),
        {"close Home", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
    });
}

// The first-run sheet at the window's smallest size: the user drags the
// window's corner as far in as it goes, and the sheet's buttons stay in reach.
TEST(SettingsFirstRun, TheSheetAtTheSmallestSize)
{
    Journey j({.firstRun = true});
    ASSERT_TRUE(j.start());
    const auto inside = [](Journey &j, const char *name) {
        QQuickItem *button = shownNamed(j, QString::fromLatin1(name));
        if (!button)
            return false;
        const QRectF shown = button->mapRectToScene(QRectF(0, 0, button->width(), button->height()));
        return QRectF(QPointF(0, 0), j.settingsWindow()->size()).contains(shown);
    };
    walk(j, {
        {"the settings window opens with its sheet", settingsShown,
         [](Journey &j) { EXPECT_TRUE(sheetUp(j)); }},
        {"drag the window's corner far in", [](Journey &j) {
             QQuickWindow *w = j.settingsWindow();
             const QRect frame = w->frameGeometry();
             j.hands().drag(frame.bottomRight() - QPoint(2, 2), frame.topLeft() + QPoint(300, 200), 20);
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.settingsWindow()->size() == QSize(720, 460); }, 3000))
                 << j.settingsWindow()->width() << "x" << j.settingsWindow()->height();
             EXPECT_TRUE(sheetUp(j));
             EXPECT_TRUE(inside(j, "allowRecommended")) << "Allow recommended is cut off";
             EXPECT_TRUE(inside(j, "continue")) << "Continue is cut off";
         }},
        {"Continue", [](Journey &j) { j.click(shownNamed(j, "continue")); },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return !sheetUp(j); }, 3000));
             EXPECT_TRUE(j.root().defaults().boolValue("permissionsSetupCompleted"));
         }},
    });
}
