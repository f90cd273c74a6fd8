#pragma once

#include "xinput.h"

#include "fakes/fakecamera.h"
#include "fakes/fakemediaplayers.h"
#include "fakes/fakepermissionbackend.h"
#include "fakes/fakesecretstore.h"
#include "support/localhttpserver.h"
#include "support/qtprinters.h"

#include <QPointer>
#include <QQuickItem>
#include <QRectF>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

class CompositionRoot;
class QWindow;
class NotchPanel;
class NotchViewModel;
class UserDefaults;

struct JourneySetup {
    // Every module the catalogue has, on Home and in the strip.
    bool everyModule = false;
    // The first run's settings window stays away unless asked for.
    bool firstRun = false;
    // Anything else to put in the defaults before the start.
    std::function<void(UserDefaults &)> prepare = {};
};

// The program as a user starts it: the real composition root, the real
// island window on the test's X server (with a window manager), real input
// through the X server. Only what this machine has no peer for is stood in:
// the camera (and so what the system says of its permission), the media
// players and the secret service; the web services
// answer from a local server. Every start is a fresh one: empty config, data
// and cache folders.
class Journey {
public:
    using Setup = JourneySetup;

    explicit Journey(const Setup &setup = {});
    ~Journey();
    Journey(const Journey &) = delete;
    Journey &operator=(const Journey &) = delete;

    // Starts the program; false when the island window did not show.
    bool start();
    // Quits the program and starts it again on the same folders; `between`
    // runs while it is not running.
    bool restart(const std::function<void()> &between = nullptr);

    CompositionRoot &root() { return *m_root; }
    NotchViewModel &island();
    NotchPanel *panel();
    QQuickItem *content();
    XInput &hands() { return m_hands; }
    LocalHttpServer &web() { return m_web; }
    FakeCamera &camera() { return m_camera; }
    FakeMediaPlayers &players() { return m_players; }
    FakeSecretStore &secrets() { return m_secrets; }
    QString folder(const QString &name) const { return m_home.filePath(name); }

    // Where the collapsed island is, in screen coordinates.
    QPoint islandPoint() const;
    // A point on the desktop well away from the island.
    QPoint desktopPoint() const;
    // The screen position of an item's centre (or of a point in it).
    QPoint screenPoint(const QQuickItem *item, QPointF at = QPointF(-1, -1)) const;

    // Hovers the island and clicks it: Home opens.
    bool openHome();
    // Opens Home, then the strip's icon of that title (through the strip's
    // menu when it is one): the tool's panel opens.
    bool openFromStrip(const QString &title);
    // The same choice, without waiting for what it opens.
    bool chooseFromStrip(const QString &title);
    // Escape three times and a click outside: the island collapses.
    bool collapse();
    // Closes any dialog of ours with Escape, as a user would; false if one
    // stays.
    bool closeDialogs();
    // Lifts Pavlet Lock with its shortcut when it is on.
    bool unlockIsland();
    // A dialog of the program's on the screen (the file dialog, shown by a
    // program of its own): its X window and where it stands.
    struct Dialog {
        quint64 window = 0;
        QRect frame;
        explicit operator bool() const { return window != 0; }
    };
    Dialog shownDialog() const;
    // Whether that dialog is still on the screen.
    bool dialogShows(const Dialog &dialog) const;
    // Whether it has the keyboard, and the window manager's way of giving
    // it the keyboard, as a click on its title would.
    bool dialogHasKeys(const Dialog &dialog) const;
    void giveKeysTo(const Dialog &dialog);
    // Where the X server has a window of ours with the window manager's
    // frame around it, and the work area (the screen less docks and panels)
    // the window manager keeps windows in; in the server's pixels.
    QRect frameOnServer(const QWindow *window) const;
    QRect workArea() const;
    // Waits for condition with a deadline stretched by the machine's load
    // (Patience); on a miss, what it waited for is kept for report().
    bool waitFor(const std::function<bool()> &condition, int timeoutMs = 5000, const QString &what = {});
    // Waits until the island's window stands still.
    void settle(int quietMs = 250, int timeoutMs = 8000);
    // Waits until the item is shown, enabled and at rest.
    bool ready(QQuickItem *item);
    // What a failing step should say: the last wait that ran out and what it
    // saw then, the island's state, the last item acted on and the pointer.
    QString report();

    // What a user would find wrong with Home's cards now: a card hidden or
    // faded, two cards on top of each other, a card outside the panel.
    // Empty when all is well.
    QStringList homeProblems();
    // Waits for Home's cards to come right; their problems if they never do.
    QStringList homeSettled(int timeoutMs = 6000);
    // Home's cards, in order on screen.
    QList<QQuickItem *> homeCards();

    // Items on the island whose QML type is `type` (and that match), in the
    // order they stand in the tree.
    QList<QQuickItem *> items(const char *type, const std::function<bool(QQuickItem *)> &match = nullptr);
    QQuickItem *item(const char *type, const std::function<bool(QQuickItem *)> &match = nullptr);
    // The shown text item that reads exactly `text`, or null.
    QQuickItem *text(const QString &text);
    // The settings window, once shown; null before.
    QQuickWindow *settingsWindow();
    // Items of a window other than the island's (the settings window).
    QList<QQuickItem *> itemsIn(QQuickWindow *window, const char *type,
                                const std::function<bool(QQuickItem *)> &match = nullptr);
    // The item of that window with this object name, or null.
    QQuickItem *named(QQuickWindow *window, const QString &objectName);
    // The shown text item of that window that reads exactly `text`.
    QQuickItem *textIn(QQuickWindow *window, const QString &text);
    // Clicks an item where the user would (its centre, or the point given in
    // it) once it is ready and under the pointer, scrolling it into sight
    // first.
    void click(QQuickItem *item, QPointF at = QPointF(-1, -1));
    // Scrolls with the wheel, as the user would, until the point is in sight,
    // and waits for the list to rest; false when it stays out of sight.
    bool scrollIntoView(QQuickItem *item, QPointF at = QPointF(-1, -1));
    // Where the item can be seen: its window (the island's frame) cut by its lists.
    QRectF sightOf(QQuickItem *item);
    // The item that has the keyboard on the island, and the text it holds.
    QQuickItem *focused();
    QString focusedText();

    // Once a dialog window of the program's shows (the file dialog),
    // answer(dialog) runs, as a user would answer it; hands() sends events
    // without running the loop meanwhile. Gives up after timeoutMs.
    void whenDialogShows(const std::function<void(const Dialog &dialog)> &answer, int timeoutMs = 8000);

    // Capture streams open on the test's sound server.
    int captureStreams() const;
    // Playback streams open on the test's sound server.
    int playbackStreams() const;
    // Whether anything records or films.
    QStringList stillRecording() const;

    // A picture of the screen into $PAVLET_SCREENSHOT_DIR, when that is set,
    // or into folder when one is given; the file's path.
    QString shot(const QString &name, const QString &folder = {});

    // The running journey's name, for the screenshots.
    static QString journeyName();

private:
    friend void walk(Journey &journey, const std::vector<struct Step> &steps);
    Setup m_setup;
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    XInput m_hands;
    LocalHttpServer m_web;
    FakeCamera m_camera;
    FakeFaceDetector m_faces;
    FakeMediaPlayers m_players;
    FakeMediaKeySender m_keySender;
    FakeSecretStore m_secrets;
    FakePermissionBackend m_permissions;
    std::unique_ptr<CompositionRoot> m_root;
    int m_shots = 0;
    QPointer<QQuickItem> m_lastItem;
    QString m_lastItemSeen;
    QString m_missed;
};

// One step of a journey: what the user does, and what must then hold beyond
// what always must (alive, no QML warning, nothing recording once collapsed,
// Home's cards in place while Home shows).
struct Step {
    const char *what;
    std::function<void(Journey &)> act;
    std::function<void(Journey &)> check = nullptr;
};

// Runs the steps in order, checking after each; stops at the first broken
// step (later steps would only repeat its failure).
void walk(Journey &journey, const std::vector<Step> &steps);

// The sound server every journey's microphone and speakers talk to.
QString journeySoundServer();
// Ends that server, killed (as when it crashes) or asked to end, and starts
// it again at the same address, with its silent microphone the default.
bool restartJourneySoundServer(bool kill);
