#include "journey.h"

#include "app/appdelegate.h"
#include "app/compositionroot.h"
#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "media/voicememoengine.h"
#include "notch/notchpanel.h"
#include "notch/notchwindowcontroller.h"
#include "support/itemtree.h"
#include "support/patience.h"
#include "support/pulseserver.h"
#include "support/screenshots.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMetaEnum>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QWindow>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

void setFolderEnvironment(const QString &home)
{
    const QStringList folders = {"config", "data", "cache", "Downloads", "Documents"};
    for (const QString &f : folders)
        QDir(home).mkpath(f);
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (home + "/cache").toUtf8());
}

using ItemTree::effectiveOpacity;
using ItemTree::sceneRect;

void collect(QQuickItem *item, const std::function<bool(QQuickItem *)> &match, QList<QQuickItem *> &out)
{
    if (!item)
        return;
    if (match(item))
        out << item;
    for (QQuickItem *child : item->childItems())
        collect(child, match, out);
}

// A QML type by its name ("EditableModule"), a C++ one by its class or a
// base ("QQuickText" finds the program's own text types too).
bool isType(const QQuickItem *item, const char *type)
{
    return QByteArray(item->metaObject()->className()).startsWith(type) || item->inherits(type);
}

QString frameText(NotchPanel *panel)
{
    const QRectF f = panel ? panel->islandFrameOnScreen() : QRectF();
    return QStringLiteral("%1,%2 %3x%4").arg(f.x()).arg(f.y()).arg(f.width()).arg(f.height());
}

QString describe(const QQuickItem *item)
{
    const QString id = item->property("moduleId").toString();
    return id.isEmpty() ? QString::fromLatin1(item->metaObject()->className()) : id;
}

} // namespace

namespace {

bool startJourneySoundServer(PulseServer &s)
{
    if (!s.start())
        return false;
    // A silent microphone beside the null speakers.
    s.pactl({"load-module", "module-null-source", "source_name=mic"});
    s.pactl({"set-default-source", "mic"});
    return true;
}

PulseServer &journeyServer()
{
    static PulseServer *server = [] {
        auto *s = new PulseServer;
        startJourneySoundServer(*s);
        // Stopped with the application, while its event loop's machinery
        // still stands: the server must not outlive the run.
        qAddPostRoutine([] { delete server; server = nullptr; });
        return s;
    }();
    return *server;
}

} // namespace

QString journeySoundServer()
{
    PulseServer &server = journeyServer();
    return server.isRunning() ? server.address() : QString();
}

bool restartJourneySoundServer(bool kill)
{
    PulseServer &server = journeyServer();
    if (kill)
        server.kill();
    else
        server.stop();
    return startJourneySoundServer(server);
}

QString Journey::journeyName()
{
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? QString::fromLatin1(info->test_suite_name()) + "." + info->name() : QStringLiteral("journey");
}

Journey::Journey(const Setup &setup)
    : m_setup(setup)
{
    const QString sound = journeySoundServer();
    if (!sound.isEmpty())
        qputenv("PULSE_SERVER", sound.toUtf8());
    m_oldHome = qgetenv("HOME");
    setFolderEnvironment(m_home.path());
    m_web.listen();
}

Journey::~Journey()
{
    if (m_root) {
        m_root->shutdown();
        m_root.reset();
    }
    XInput::pause(50);
    qputenv("HOME", m_oldHome);
}

bool Journey::start()
{
    {
        UserDefaults defaults;
        if (!m_setup.firstRun)
            defaults.setBool(QStringLiteral("permissionsSetupCompleted"), true);
        if (m_setup.everyModule)
            defaults.setString(QStringLiteral("disabledModules"), QString());
        if (m_setup.prepare)
            m_setup.prepare(defaults);
        // A module list of the journey's own: the first start's passes that
        // put modules in the library have run already.
        if (defaults.contains(QStringLiteral("disabledModules"))) {
            for (const char *pass : {"pavlet.optInModules.v1", "pavlet.libraryModules.v1", "pavlet.shippedGames.v1"})
                defaults.setBool(QString::fromLatin1(pass), true);
        }
        defaults.flush();
    }
    CompositionRoot::Options options;
    options.replacements.camera = &m_camera;
    options.replacements.faceDetector = &m_faces;
    options.replacements.mediaPlayers = &m_players;
    options.replacements.mediaKeySender = &m_keySender;
    options.replacements.secrets = &m_secrets;
    m_permissions.camera = platform::IPermissionBackend::CaptureAccess::Authorized;
    options.replacements.permissions = &m_permissions;
    options.weatherBase = m_web.baseUrl();
    options.translatorBase = m_web.baseUrl();
    options.speedTestBase = m_web.baseUrl();
    options.updateBase = m_web.baseUrl();
    m_root = std::make_unique<CompositionRoot>(options);
    m_root->start();
    const bool shown = waitFor([this] { return panel() && panel()->isExposed(); }, 10000);
    settle();
    // The pointer starts on the desktop, away from the island.
    m_hands.moveTo(desktopPoint(), 1);
    return shown;
}

NotchViewModel &Journey::island()
{
    return m_root->island();
}

NotchPanel *Journey::panel()
{
    NotchWindowController *notch = m_root ? m_root->delegate().notch() : nullptr;
    return notch ? notch->panel() : nullptr;
}

QQuickItem *Journey::content()
{
    return panel() ? panel()->content() : nullptr;
}

QPoint Journey::islandPoint() const
{
    auto *self = const_cast<Journey *>(this);
    const QRectF island = self->panel()->islandFrameOnScreen();
    return QPoint(int(island.center().x()), int(island.top() + std::min(12.0, island.height() / 2)));
}

QPoint Journey::desktopPoint() const
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return QPoint(screen.left() + 120, screen.bottom() - 120);
}

QPoint Journey::screenPoint(const QQuickItem *item, QPointF at) const
{
    if (at.x() < 0)
        at = QPointF(item->width() / 2, item->height() / 2);
    const QPointF scene = item->mapToScene(at);
    return item->window()->mapToGlobal(scene.toPoint());
}

bool Journey::waitFor(const std::function<bool()> &condition, int timeoutMs, const QString &what)
{
    if (Patience::until(condition, timeoutMs, XInput::pause))
        return true;
    m_missed = QStringLiteral("waited %1 ms for %2")
                   .arg(Patience::deadline(timeoutMs))
                   .arg(what.isEmpty() ? QStringLiteral("a condition") : what);
    return false;
}

bool Journey::ready(QQuickItem *item)
{
    m_lastItem = item;
    QString why;
    const bool ok = Patience::ready(item, 4000, &why, XInput::pause);
    // The item may have gone while it was waited for (a page rebuilt).
    m_lastItemSeen = (m_lastItem ? Patience::describe(m_lastItem) : QStringLiteral("an item since gone"))
        + QStringLiteral(" (island frame then %1)").arg(frameText(panel()));
    if (!ok)
        m_missed = why;
    return ok;
}

void Journey::settle(int quietMs, int timeoutMs)
{
    NotchPanel *p = panel();
    if (!p)
        return;
    QElapsedTimer quiet;
    quiet.start();
    QRectF last = p->islandFrameOnScreen();
    Patience::until([&] {
        const QRectF now = p->islandFrameOnScreen();
        if (now != last) {
            last = now;
            quiet.restart();
        }
        return quiet.elapsed() >= quietMs;
    }, timeoutMs, XInput::pause);
}

QString Journey::report()
{
    QStringList lines;
    if (!m_missed.isEmpty())
        lines << m_missed;
    if (m_root) {
        const auto key = [](auto value) {
            return QString::fromLatin1(QMetaEnum::fromType<decltype(value)>().valueToKey(int(value)));
        };
        lines << QStringLiteral("island %1, game %2, island frame %3")
                     .arg(key(island().state()), key(island().activeGame()), frameText(panel()));
    }
    if (!m_lastItemSeen.isEmpty())
        lines << QStringLiteral("last item acted on: %1; now %2")
                     .arg(m_lastItemSeen, m_lastItem ? Patience::describe(m_lastItem) : QStringLiteral("gone"));
    lines << QStringLiteral("pointer at %1,%2").arg(m_hands.position().x()).arg(m_hands.position().y());
    // Another window of ours (a dialog, a menu, settings) may be what
    // holds the island open.
    QStringList windows;
    for (QWindow *w : QGuiApplication::topLevelWindows()) {
        if (!w->isVisible())
            continue;
        const QRect g = w->geometry();
        windows << QStringLiteral("%1 \"%2\" %3x%4+%5+%6%7")
                       .arg(QString::fromLatin1(w->metaObject()->className()), w->title())
                       .arg(g.width()).arg(g.height()).arg(g.x()).arg(g.y())
                       .arg(w == QGuiApplication::focusWindow() ? QStringLiteral(" (focused)") : QString());
    }
    lines << QStringLiteral("windows shown: %1").arg(windows.join(QLatin1String("; ")));
    return lines.join(QLatin1String("\n"));
}

bool Journey::unlockIsland()
{
    // Pavlet Lock keeps Home shut to the pointer; its shortcut lifts it.
    if (!island().gameModeOn())
        return true;
    m_hands.key(QStringLiteral("g"), false, true, true);
    return waitFor([this] { return !island().gameModeOn(); }, 3000, QStringLiteral("Ctrl+Alt+G to lift Pavlet Lock"));
}

bool Journey::openHome()
{
    if (!unlockIsland())
        return false;
    m_hands.moveTo(desktopPoint(), 1);
    m_hands.moveTo(islandPoint(), 8);
    waitFor([this] { return island().state() != Island::NotchState::collapsed; }, 3000,
            QStringLiteral("the island to answer the pointer over it"));
    settle();
    m_hands.click(islandPoint());
    const bool opened =
        waitFor([this] { return island().state() == Island::NotchState::home; }, 5000, QStringLiteral("Home to open"));
    settle();
    return opened;
}

bool Journey::openFromStrip(const QString &title)
{
    if (!chooseFromStrip(title))
        return false;
    const bool opened = waitFor([this] { return island().state() != Island::NotchState::home; }, 3000,
                                QStringLiteral("%1 to open from the strip").arg(title));
    settle();
    return opened;
}

bool Journey::chooseFromStrip(const QString &title)
{
    if (island().state() != Island::NotchState::home && !openHome())
        return false;
    if (QQuickItem *menu = item("IslandIconButton", [](QQuickItem *i) {
            return i->property("help").toString() == QLatin1String("Modules") && i->isVisible();
        })) {
        click(menu);
        QQuickItem *entry = nullptr;
        if (!waitFor([&] {
                return (entry = item("QQuickMenuItem", [&](QQuickItem *i) {
                            return i->isVisible() && i->property("text").toString() == title;
                        }));
            }, 3000, QStringLiteral("the Modules menu to show %1").arg(title)))
            return false;
        click(entry);
    } else {
        QQuickItem *cell = nullptr;
        const auto find = [&] {
            return cell = item("QQuickItem", [&](QQuickItem *i) {
            const QVariant data = i->property("modelData");
            return data.isValid() && i->isVisible() && i->width() > 10
                && data.metaType().metaObject()
                && data.metaType().metaObject()->property(data.metaType().metaObject()->indexOfProperty("title"))
                           .readOnGadget(data.constData())
                           .toString()
                       == title;
            });
        };
        if (!waitFor(find, 3000, QStringLiteral("the strip to show %1").arg(title)))
            return false;
        click(cell);
    }
    return true;
}

namespace {

// An X tool's answer, trimmed; empty when it found nothing.
QString ask(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(5000))
        p.kill();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList &args)
{
    return ask(QStringLiteral("xdotool"), args);
}

// The numbers of an xprop answer ("NAME(CARDINAL) = 1, 2, 3").
QList<int> cardinals(const QString &answer)
{
    QList<int> numbers;
    for (const QString &n : answer.section(u'=', 1).split(u',', Qt::SkipEmptyParts))
        numbers << n.trimmed().toInt();
    return numbers;
}

} // namespace

Journey::Dialog Journey::shownDialog() const
{
    // The file dialog's program names its windows after itself.
    const QString found = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                   QStringLiteral("--classname"), QStringLiteral("pavlet-pick")});
    bool ok = false;
    const quint64 window = found.split(u'\n').value(0).toULongLong(&ok);
    if (!ok || !window)
        return {};
    Dialog dialog{window, {}};
    QMap<QString, int> at;
    const QString shell = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window)});
    for (const QString &line : shell.split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0)
            at.insert(line.left(eq), line.mid(eq + 1).toInt());
    }
    const QPoint corner(at.value(QStringLiteral("X")), at.value(QStringLiteral("Y")));
    const QPoint far = corner + QPoint(at.value(QStringLiteral("WIDTH")), at.value(QStringLiteral("HEIGHT")));
    dialog.frame = QRect(XInput::fromDevice(corner), XInput::fromDevice(far) - QPoint(1, 1));
    return dialog;
}

QRect Journey::frameOnServer(const QWindow *window) const
{
    const QString id = QString::number(window->winId());
    QMap<QString, int> at;
    for (const QString &line : ask(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}).split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0)
            at.insert(line.left(colon).trimmed(), line.mid(colon + 1).trimmed().toInt());
    }
    const QRect inner(at.value(QStringLiteral("Absolute upper-left X")), at.value(QStringLiteral("Absolute upper-left Y")),
                      at.value(QStringLiteral("Width")), at.value(QStringLiteral("Height")));
    // Left, right, top, bottom: what the window manager's frame adds.
    const QList<int> frame = cardinals(ask(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")}));
    if (frame.size() < 4)
        return inner;
    return inner.adjusted(-frame[0], -frame[2], frame[1], frame[3]);
}

QRect Journey::workArea() const
{
    const QList<int> area = cardinals(ask(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_WORKAREA")}));
    return area.size() < 4 ? QRect() : QRect(area[0], area[1], area[2], area[3]);
}

bool Journey::dialogShows(const Dialog &dialog) const
{
    const QString found = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                   QStringLiteral("--classname"), QStringLiteral("pavlet-pick")});
    return found.split(u'\n').contains(QString::number(dialog.window));
}

bool Journey::dialogHasKeys(const Dialog &dialog) const
{
    return xdotool({QStringLiteral("getactivewindow")}) == QString::number(dialog.window);
}

void Journey::giveKeysTo(const Dialog &dialog)
{
    xdotool({QStringLiteral("windowactivate"), QString::number(dialog.window)});
}

bool Journey::closeDialogs()
{
    // A card's dialog keeps the island open while it shows: a user closes
    // it first, with Escape in it.
    for (int tries = 0; tries < 3; ++tries) {
        const Dialog dialog = shownDialog();
        if (!dialog)
            return true;
        if (!dialogHasKeys(dialog)) {
            giveKeysTo(dialog);
            waitFor([&] { return !dialogShows(dialog) || dialogHasKeys(dialog); }, 2000,
                    QStringLiteral("the dialog to take the keys"));
        }
        m_hands.key(QStringLiteral("Escape"));
        waitFor([&] { return !dialogShows(dialog); }, 3000, QStringLiteral("the dialog to close"));
    }
    return false;
}

bool Journey::collapse()
{
    // A click on the closed island just before still opens it once its
    // double-click window has passed: that happens first.
    waitFor([this] { return !island().hasPendingClick(); }, 2000, QStringLiteral("the last click on the island to act"));
    // A dialog opened by a click just before may show only after the keys
    // went out and hold the island open; an island that opens again gets
    // its Escapes again, as a user would.
    bool closed = false;
    for (int round = 0; round < 3 && !closed; ++round) {
        // Each Escape goes back one level; the next is pressed once the
        // island has stopped moving.
        for (int i = 0; i < 3 && island().state() != Island::NotchState::collapsed; ++i) {
            closeDialogs();
            m_hands.key(QStringLiteral("Escape"));
            settle(100);
        }
        closeDialogs();
        m_hands.click(desktopPoint());
        waitFor([this] {
            return (island().state() == Island::NotchState::collapsed && !island().hasPendingClick()) || shownDialog();
        }, 5000, QStringLiteral("the island to collapse"));
        settle();
        closed = island().state() == Island::NotchState::collapsed && !shownDialog();
    }
    return closed;
}

QList<QQuickItem *> Journey::homeCards()
{
    QList<QQuickItem *> cards;
    collect(content(), [](QQuickItem *i) { return isType(i, "EditableModule"); }, cards);
    std::sort(cards.begin(), cards.end(),
              [](QQuickItem *a, QQuickItem *b) { return sceneRect(a).top() < sceneRect(b).top(); });
    return cards;
}

QStringList Journey::homeProblems()
{
    QStringList problems;
    QList<QQuickItem *> panels;
    collect(content(), [](QQuickItem *i) { return isType(i, "HomePanel"); }, panels);
    if (panels.isEmpty())
        return {QStringLiteral("Home is not shown")};
    const QRectF home = sceneRect(panels.first());
    // Scrolled, Home's list starts above the panel by as much.
    double scrolled = 0;
    for (QQuickItem *child : panels.first()->childItems())
        scrolled += child->inherits("QQuickFlickable") ? child->property("contentY").toReal() - child->property("originY").toReal() : 0;
    const QList<QQuickItem *> cards = homeCards();
    for (int i = 0; i < cards.size(); ++i) {
        QQuickItem *card = cards[i];
        const QRectF r = sceneRect(card);
        const double opacity = effectiveOpacity(card);
        if (opacity < 0.99)
            problems << QStringLiteral("%1 shows at opacity %2").arg(describe(card)).arg(opacity, 0, 'f', 2);
        if (r.height() < 8)
            problems << QStringLiteral("%1 is %2 pt tall").arg(describe(card)).arg(r.height());
        if (r.left() < home.left() - 0.5 || r.right() > home.right() + 0.5)
            problems << QStringLiteral("%1 sticks out of the panel sideways").arg(describe(card));
        if (i == 0 && r.top() + scrolled < home.top() - 0.5)
            problems << QStringLiteral("%1 starts above the panel").arg(describe(card));
        if (i > 0) {
            const QRectF above = sceneRect(cards[i - 1]);
            if (r.top() < above.bottom() - 0.5)
                problems << QStringLiteral("%1 overlaps %2 by %3 pt")
                                .arg(describe(card), describe(cards[i - 1]))
                                .arg(above.bottom() - r.top(), 0, 'f', 1);
        }
    }
    return problems;
}

QStringList Journey::homeSettled(int timeoutMs)
{
    QStringList problems;
    waitFor([&] { return (problems = homeProblems()).isEmpty(); }, timeoutMs);
    return problems;
}

QList<QQuickItem *> Journey::items(const char *type, const std::function<bool(QQuickItem *)> &match)
{
    QList<QQuickItem *> found;
    // From the window's root, so that popups (menus, tool tips) count too.
    collect(panel() ? panel()->contentItem() : nullptr, [&](QQuickItem *i) { return isType(i, type) && (!match || match(i)); }, found);
    return found;
}

QQuickItem *Journey::item(const char *type, const std::function<bool(QQuickItem *)> &match)
{
    const QList<QQuickItem *> found = items(type, match);
    return found.isEmpty() ? nullptr : found.first();
}

QQuickItem *Journey::text(const QString &wanted)
{
    return item("QQuickText", [&](QQuickItem *i) {
        return i->property("text").toString() == wanted && effectiveOpacity(i) > 0.5;
    });
}

QQuickWindow *Journey::settingsWindow()
{
    auto *window = qobject_cast<QQuickWindow *>(AppDelegate::findSettingsWindow());
    return window && window->isVisible() ? window : nullptr;
}

QList<QQuickItem *> Journey::itemsIn(QQuickWindow *window, const char *type,
                                     const std::function<bool(QQuickItem *)> &match)
{
    QList<QQuickItem *> found;
    if (window)
        collect(window->contentItem(), [&](QQuickItem *i) { return isType(i, type) && (!match || match(i)); }, found);
    return found;
}

QQuickItem *Journey::named(QQuickWindow *window, const QString &objectName)
{
    const QList<QQuickItem *> found =
        itemsIn(window, "QQuickItem", [&](QQuickItem *i) { return i->objectName() == objectName; });
    return found.isEmpty() ? nullptr : found.first();
}

QQuickItem *Journey::textIn(QQuickWindow *window, const QString &wanted)
{
    const QList<QQuickItem *> found = itemsIn(window, "QQuickText", [&](QQuickItem *i) {
        return i->property("text").toString() == wanted && effectiveOpacity(i) > 0.5;
    });
    return found.isEmpty() ? nullptr : found.first();
}

QRectF Journey::sightOf(QQuickItem *target)
{
    QQuickWindow *window = target->window();
    QRectF area = window == panel() ? panel()->islandFrameOnScreen() : QRectF(window->geometry());
    // Only what the lists around it show can be clicked: margins and
    // clipping hide the rest.
    for (QQuickItem *p = target->parentItem(); p; p = p->parentItem()) {
        if (p->inherits("QQuickFlickable") && p->property("contentHeight").toReal() > p->height())
            area &= sceneRect(p).translated(window->mapToGlobal(QPoint(0, 0)));
    }
    return area;
}

bool Journey::scrollIntoView(QQuickItem *target, QPointF point)
{
    // Out of sight below or above: the user scrolls to it first.
    QRectF area = sightOf(target).adjusted(0, 8, 0, -8);
    QPointer<QQuickItem> guard(target);
    for (int i = 0; i < 40 && guard && !area.contains(screenPoint(target, point)); ++i) {
        m_hands.moveTo(area.center().toPoint(), 2);
        m_hands.scroll(screenPoint(target, point).y() > area.bottom() ? -1 : 1);
        // The list glides a while after each turn of the wheel.
        ready(guard);
    }
    // A press while the list still glides only stops it: wait for it to rest.
    ready(guard);
    if (guard && !area.contains(screenPoint(guard, point))) {
        m_missed = QStringLiteral("%1 stayed out of sight (the visible area is %2,%3 %4x%5)")
                       .arg(Patience::describe(guard))
                       .arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height());
        return false;
    }
    return !guard.isNull();
}

void Journey::click(QQuickItem *target, QPointF point)
{
    if (!target) {
        m_missed = QStringLiteral("there was nothing to click");
        ADD_FAILURE() << "nothing to click";
        return;
    }
    QPointer<QQuickItem> guard(target);
    // The pointer's arrival may start a hover's move: the press waits until
    // the item has come to rest under it.
    for (int i = 0; i < 3; ++i) {
        if (!ready(guard))
            break;
        if (!scrollIntoView(guard, point)) {
            ADD_FAILURE() << m_missed.toStdString();
            return;
        }
        const QPoint at = screenPoint(guard, point);
        if (m_hands.position() != at)
            m_hands.moveTo(at, 3);
        if (ready(guard) && screenPoint(guard, point) == m_hands.position())
            break;
    }
    if (!guard) {
        ADD_FAILURE() << "what was to be clicked went away: " << m_lastItemSeen.toStdString();
        return;
    }
    m_hands.click(screenPoint(guard, point));
}

QQuickItem *Journey::focused()
{
    return panel() ? panel()->activeFocusItem() : nullptr;
}

QString Journey::focusedText()
{
    QQuickItem *f = focused();
    return f ? f->property("text").toString() : QString();
}

void Journey::whenDialogShows(const std::function<void(const Dialog &)> &answer, int timeoutMs)
{
    auto *poll = new QTimer;
    auto *since = new QElapsedTimer;
    since->start();
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, [this, poll, since, answer, timeoutMs] {
        const Dialog dialog = shownDialog();
        const bool timedOut = since->elapsed() > timeoutMs;
        if (!dialog && !timedOut)
            return;
        poll->stop();
        poll->deleteLater();
        delete since;
        if (!dialog) {
            ADD_FAILURE() << "no dialog showed";
            return;
        }
        // The window manager gives it the keyboard first.
        Patience::until([&] { return dialogHasKeys(dialog); }, 1000);
        m_hands.setSpinning(false);
        answer(dialog);
        m_hands.setSpinning(true);
    });
    poll->start();
}

namespace {

// Streams of one kind ("source-outputs", "sink-inputs") open on the
// journeys' sound server.
int soundStreams(const char *kind)
{
    const QString server = journeySoundServer();
    if (server.isEmpty())
        return 0;
    QProcess pactl;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", server);
    pactl.setProcessEnvironment(env);
    pactl.start("pactl", {"list", "short", QString::fromLatin1(kind)});
    pactl.waitForFinished(5000);
    const QString out = QString::fromUtf8(pactl.readAllStandardOutput()).trimmed();
    return out.isEmpty() ? 0 : int(out.split('\n').size());
}

} // namespace

int Journey::playbackStreams() const
{
    return soundStreams("sink-inputs");
}

int Journey::captureStreams() const
{
    return soundStreams("source-outputs");
}

QStringList Journey::stillRecording() const
{
    QStringList what;
    if (const int streams = captureStreams()) {
        auto *self = const_cast<Journey *>(this);
        what << QStringLiteral("%1 microphone stream(s) open%2").arg(streams).arg(
            self->island().voice()->recording() ? QStringLiteral(" (a voice memo records)") : QString());
    }
    if (m_camera.isActive())
        what << QStringLiteral("the camera runs");
    return what;
}

QString Journey::shot(const QString &name, const QString &into)
{
    const QString dir = qEnvironmentVariable("PAVLET_SCREENSHOT_DIR");
    if (dir.isEmpty() && into.isEmpty())
        return {};
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    QString file = QStringLiteral("%1-%2-%3").arg(journeyName()).arg(++m_shots, 2, 10, QLatin1Char('0')).arg(name);
    file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]+")), QStringLiteral("_"));
    const QString folder = dir.isEmpty() ? into : QDir(Screenshots::outputDir()).filePath(QStringLiteral("journeys"));
    QDir().mkpath(folder);
    Screenshots::save(image, folder, file);
    return QDir(folder).absoluteFilePath(file + QStringLiteral(".png"));
}

void walk(Journey &journey, const std::vector<Step> &steps)
{
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        journey.m_missed.clear();
        step.act(journey);
        if (step.check && !::testing::Test::HasFailure()) {
            // What a step brings about may take a while on a busy machine:
            // the check is tried quietly until it holds, and once more for
            // the record if it never does.
            const bool held = Patience::until([&] {
                ::testing::TestPartResultArray failures;
                {
                    ::testing::ScopedFakeTestPartResultReporter quiet(
                        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
                    step.check(journey);
                }
                return failures.size() == 0;
            }, 3000, XInput::pause);
            if (!held)
                step.check(journey);
        }
        const Island::NotchState state = journey.island().state();
        if (state == Island::NotchState::home && !journey.island().isEditingModules()) {
            const QStringList problems = journey.homeSettled();
            EXPECT_TRUE(problems.isEmpty()) << problems.join("; ").toStdString();
        }
        if (state == Island::NotchState::collapsed) {
            const QStringList busy = journey.stillRecording();
            EXPECT_TRUE(busy.isEmpty()) << busy.join("; ").toStdString();
        }
        if (!::testing::Test::HasFailure()) {
            journey.shot(QString::fromLatin1(step.what));
            continue;
        }
        // Enough to read the failure without running it again.
        const QString picture = journey.shot(QString::fromLatin1(step.what),
                                             QDir::current().filePath(QStringLiteral("journey-failures")));
        ADD_FAILURE() << "\"" << step.what << "\" failed; " << journey.report().toStdString()
                      << "\nscreenshot: " << picture.toStdString();
        return;
    }
}

bool Journey::restart(const std::function<void()> &between)
{
    if (m_root) {
        m_root->shutdown();
        m_root.reset();
    }
    XInput::pause(100);
    if (between)
        between();
    return start();
}
