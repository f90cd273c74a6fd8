#include "journey.h"
#include "filewindow.h"

#include "support/patience.h"
#include "support/silentclipboardowner.h"

#include "app/compositionroot.h"
#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "notch/notchpanel.h"
#include "tools/calculatorengine.h"
#include "tools/pocketstore.h"

#include <sys/stat.h>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>
#include <QMimeData>
#include <QProcess>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

using State = Island::NotchState;

struct PanelWalk {
    const char *title;
    State state;
    // What the user does inside the panel; may be empty.
    std::function<void(Journey &)> use;
};

class Panels : public ::testing::TestWithParam<PanelWalk> {};

} // namespace

// Every tool panel from the strip: it opens, takes a few presses and keys,
// and Escape closes it again.
TEST_P(Panels, OpenUseAndClose)
{
    const PanelWalk &walkInfo = GetParam();
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    walk(j, {
        {"open the panel from the strip", [&](Journey &j) { ASSERT_TRUE(j.openFromStrip(walkInfo.title)); },
         [&](Journey &j) { EXPECT_EQ(j.island().state(), walkInfo.state); }},
        {"use it", [&](Journey &j) {
             if (walkInfo.use)
                 walkInfo.use(j);
         },
         [&](Journey &j) { EXPECT_EQ(j.island().state(), walkInfo.state); }},
        {"Escape closes it", [](Journey &j) {
             j.hands().key("Escape");
             j.settle();
             j.hands().click(j.desktopPoint());
         },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.island().state() == State::collapsed; }, 4000));
         }},
    });
}

INSTANTIATE_TEST_SUITE_P(
    FromTheStrip, Panels,
    ::testing::Values(
        PanelWalk{"Calculator", State::calculator,
                  [](Journey &j) {
                      // By keys, then on the pad.
                      const auto reads = [&j](const char *display) {
                          EXPECT_TRUE(j.waitFor([&] { return j.island().calculator()->display() == display; }, 2000,
                                                QStringLiteral("the display to read %1").arg(display)))
                              << j.island().calculator()->display().toStdString();
                      };
                      j.hands().type("12+30=");
                      reads("42");
                      j.click(j.text("7"));
                      reads("7");
                  }},
        PanelWalk{"Translator", State::translator,
                  [](Journey &j) {
                      // Nothing answers at the translator's address here.
                      j.hands().type("Bonjour");
                      EXPECT_TRUE(j.waitFor([&] { return j.focusedText() == "Bonjour"; }, 2000, "the typed text"));
                  }},
        PanelWalk{"Pocket", State::pocket, nullptr},
        PanelWalk{"Voice memos", State::voice, nullptr},
        PanelWalk{"Canvas", State::canvas, nullptr},
        PanelWalk{"Mirror", State::mirror, nullptr},
        PanelWalk{"Games", State::games,
                  [](Journey &j) {
                      // The first game of the hub, a few keys, and back.
                      j.hands().key("Return");
                      j.waitFor([&] { return j.island().activeGame() != Island::PavletGame::hub; }, 3000,
                                "the first game to open");
                      j.hands().key("space");
                      j.hands().key("Left");
                      j.hands().key("Right");
                      j.settle();
                  }}),
    [](const auto &info) {
        QString name = QString::fromLatin1(info.param.title);
        name.remove(' ');
        return name.toStdString();
    });

namespace {

// The shown item of that object name on the island.
QQuickItem *namedItem(Journey &j, const QString &name)
{
    return j.item("QQuickItem", [&](QQuickItem *i) { return i->objectName() == name && i->isVisible(); });
}

} // namespace

// Mirror chosen from Home: each reason it cannot open is read in Home; a slow
// camera leaves Home answering and a second choice does not undo the first;
// a camera that goes away while shown says so, and one that is back opens.
TEST(PanelJourneys, MirrorSaysWhyInHomeAndWaitsForASlowCamera)
{
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    FakeCamera &camera = j.camera();
    const auto choose = [](Journey &j) { ASSERT_TRUE(j.chooseFromStrip("Mirror")) << j.report().toStdString(); };
    const auto reads = [](const char *title, const char *detail) {
        return [title, detail](Journey &j) {
            EXPECT_TRUE(j.waitFor(
                [&] { return j.island().state() == State::home && j.text(title) && j.text(detail); }, 4000,
                QStringLiteral("Home to read %1").arg(QString::fromUtf8(title))))
                << j.report().toStdString();
        };
    };
    walk(j, {
        {"with the camera off in Settings",
         [&](Journey &j) {
             j.root().defaults().setBool(QStringLiteral("wantCamera"), false);
             choose(j);
         },
         reads("Camera is off", "Turn it on in Settings → Permissions")},
        {"with the camera refused",
         [&](Journey &j) {
             j.root().defaults().setBool(QStringLiteral("wantCamera"), true);
             camera.accessAnswer = platform::ICamera::Access::Refused;
             choose(j);
         },
         reads("Camera needs permission", "Settings → Privacy → Camera")},
        {"with no camera",
         [&](Journey &j) {
             camera.accessAnswer = platform::ICamera::Access::NoDevice;
             choose(j);
         },
         reads("No camera found", "Check that a camera is connected")},
        {"with a camera that will not start",
         [&](Journey &j) {
             camera.accessAnswer = platform::ICamera::Access::Granted;
             camera.startSucceeds = false;
             choose(j);
         },
         reads("Camera failed to start", "Check that a camera is connected")},
        {"a slow camera, chosen twice",
         [&](Journey &j) {
             camera.startSucceeds = true;
             camera.activeAtOnce = false;
             const int starts = camera.starts, stops = camera.stops;
             choose(j);
             j.settle();
             choose(j);
             j.settle();
             EXPECT_EQ(j.island().state(), State::home);
             EXPECT_EQ(camera.starts, starts + 1);
             EXPECT_EQ(camera.stops, stops) << "the second choice stopped the camera";
             camera.answer();
         },
         [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return j.island().state() == State::mirror; }, 4000)); }},
        {"the camera goes away", [&](Journey &) { camera.unplug(); },
         reads("No camera found", "Check that a camera is connected")},
        {"the camera is back",
         [&](Journey &j) {
             camera.activeAtOnce = true;
             EXPECT_TRUE(j.openFromStrip("Mirror")) << j.report().toStdString();
         },
         [](Journey &j) { EXPECT_EQ(j.island().state(), State::mirror); }},
    });
}

// A newer version published: a while after the start the island offers it;
// "Later" puts it away.
TEST(PanelJourneys, AnUpdateIsOfferedAndPutOff)
{
    Journey j;
    // The image is named on https only; the offer is put off before any download.
    QUrl image = j.web().url("/Pavlet.dmg");
    image.setScheme("https");
    j.web().setReply("/update.json",
                     LocalHttpServer::json(R"({"version":"99.0.0","build":990,"url":")"
                                           + image.toString().toUtf8()
                                           + R"(","sha256":")" + QByteArray(64, 'a')
                                           + R"(","notes":"A steadier island."})"));
    ASSERT_TRUE(j.start());
    walk(j, {
        {"the offer shows by itself",
         [](Journey &j) { j.waitFor([&] { return j.island().state() == State::update; }, 15000); },
         [](Journey &j) {
             ASSERT_EQ(j.island().state(), State::update);
             j.settle();
             EXPECT_TRUE(j.text("Pavlet 99.0.0 is ready"));
             EXPECT_TRUE(j.text("Download"));
         }},
        {"Later puts it away", [](Journey &j) { j.click(j.text("Later")); },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.island().state() == State::collapsed; }, 4000));
         }},
    });
}

// The translator with its server gone: the panel says so, and stays usable.
TEST(PanelJourneys, TranslatorWithItsServerGone)
{
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    j.web().close();
    walk(j, {
        {"open the translator", [](Journey &j) { ASSERT_TRUE(j.openFromStrip("Translator")); },
         [](Journey &j) { EXPECT_EQ(j.island().state(), State::translator); }},
        {"type and ask", [](Journey &j) {
             j.hands().type("Bonjour le monde");
             j.hands().key("Return");
         },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.text("Couldn't reach Translate") != nullptr; }, 8000));
             EXPECT_EQ(j.island().state(), State::translator);
         }},
        {"Escape goes home", [](Journey &j) {
             // The first lets go of the text field.
             j.hands().key("Escape");
             j.waitFor([&] { return j.island().state() != State::translator || !j.focused()
                                    || !j.focused()->inherits("QQuickTextEdit"); }, 2000);
             if (j.island().state() == State::translator)
                 j.hands().key("Escape");
         },
         [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return j.island().state() == State::home; }, 3000)); }},
    });
}

// What the island asked of Canvas; the update check and the weather share the
// server and come at their own times.
static QList<LocalHttpServer::Request> canvasRequests(Journey &j)
{
    QList<LocalHttpServer::Request> asked;
    for (const LocalHttpServer::Request &r : j.web().requests()) {
        if (r.path.startsWith(QLatin1String("/api/v1/")))
            asked.append(r);
    }
    return asked;
}

// Canvas before an account is connected, and then against a server with
// work to do.
TEST(PanelJourneys, CanvasSignedOutThenWithItsWork)
{
    Journey j({.everyModule = true});
    j.web().setReply("/api/v1/users/self", LocalHttpServer::json(R"({"id":1,"name":"Ada Lovelace"})"));
    j.web().setReply("/api/v1/users/self/missing_submissions",
                     LocalHttpServer::json(R"([{"id":5,"name":"Lab report five","html_url":"/courses/1/assignments/5"}])"));
    j.web().setReply("/api/v1/planner/items", LocalHttpServer::json("[]"));
    ASSERT_TRUE(j.start());
    walk(j, {
        {"open Canvas signed out", [](Journey &j) { ASSERT_TRUE(j.openFromStrip("Canvas")); },
         [](Journey &j) {
             EXPECT_EQ(j.island().state(), State::canvas);
             EXPECT_TRUE(j.waitFor([&] { return j.text("Connect Canvas in Settings") != nullptr; }, 3000));
             EXPECT_EQ(canvasRequests(j).size(), 0);
         }},
        {"connected, the program starts again",
         [](Journey &j) {
             ASSERT_TRUE(j.restart([&] {
                 UserDefaults defaults;
                 defaults.setString(QStringLiteral("canvasBaseURL"), j.web().baseUrl().toString());
                 defaults.flush();
                 j.secrets().items.insert({"com.pavlet.app", "CANVAS_TOKEN"}, "tok-123");
             }));
         }},
        {"open Canvas: the work shows", [](Journey &j) { ASSERT_TRUE(j.openFromStrip("Canvas")); },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.text("Lab report five") != nullptr; }, 8000));
             EXPECT_FALSE(j.text("Connect Canvas in Settings"));
             ASSERT_FALSE(canvasRequests(j).isEmpty());
             EXPECT_EQ(canvasRequests(j).last().header("Authorization"), "Bearer tok-123");
         }},
        {"Escape goes home", [](Journey &j) { j.hands().key("Escape"); },
         [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return j.island().state() == State::home; }, 3000)); }},
    });
}

// Drags the file window's files onto the island: the hand goes on from
// inside the drag's loop (the calls send their events without running it).
void dropOnIsland(Journey &j, FileWindow &files)
{
    const QPoint island = j.islandPoint();
    files.whileDragging = [&j, island] {
        j.hands().setSpinning(false);
        j.hands().moveTo(island, 10);
        j.hands().setSpinning(true);
        // The island opens to the pocket under the hand; the drop comes once
        // the opened island stands still over the place of the drop.
        auto *opened = new QTimer;
        auto *since = new QElapsedTimer;
        auto *frameThen = new QRectF;
        since->start();
        opened->setInterval(20);
        QObject::connect(opened, &QTimer::timeout, [&j, island, opened, since, frameThen] {
            const QRectF frame = j.panel() ? j.panel()->islandFrameOnScreen() : QRectF();
            const bool still = frame == *frameThen;
            *frameThen = frame;
            const bool open = j.island().state() == Island::NotchState::pocket && still
                              && frame.adjusted(8, 8, -8, -8).contains(island + QPoint(0, 30));
            if (!open && since->elapsed() < Patience::deadline(3000))
                return;
            opened->stop();
            opened->deleteLater();
            delete since;
            delete frameThen;
            j.hands().setSpinning(false);
            j.hands().moveTo(island + QPoint(0, 30), 6);
            QThread::msleep(150);
            j.hands().release();
            j.hands().setSpinning(true);
        });
        opened->start();
    };
    j.hands().moveTo(files.middle(), 3);
    XInput::pause(100);
    j.hands().press();
    XInput::pause(60);
    // The drag runs, and ends, in here.
    j.hands().moveTo(files.middle() + QPoint(30, -30), 4);
}

// Files from a file manager into the pocket and out again: a drop (offered
// as a move, answered as a copy, the original stays), a row let go of, the
// pocket cleared, "Clipboard" clicked twice without the second click
// clearing, a held file dragged out into another window, a drop of four
// with a name that is not UTF-8 among them, and one with a file gone and an
// address with a NUL byte.
TEST(PanelJourneys, PocketDropRemoveClearAndDragOut)
{
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    const QString original = j.folder("Documents/notes.txt");
    {
        QFile f(original);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Milk, eggs, a new ribbon for the typewriter.\n");
    }
    FileWindow files;
    files.offered = {QUrl::fromLocalFile(original)};
    files.move(60, 500);
    files.show();
    ASSERT_TRUE(j.waitFor([&] { return files.windowHandle() && files.windowHandle()->isExposed(); }, 5000));
    XInput::pause(300);
    PocketStore *pocket = j.island().pocket();
    std::unique_ptr<SilentClipboardOwner> silent;
    // A name with bytes that are not UTF-8; the home folder's own clean-up
    // goes by Qt's text for names and would leave it.
    const QByteArray odd = QFile::encodeName(j.folder("Documents/")) + "bad\xFF\xFEname.txt";
    const auto unlink = qScopeGuard([&] { std::remove(odd.constData()); });
    auto dropped = [&](Journey &j) {
        EXPECT_TRUE(j.waitFor([&] { return pocket->items().size() == 1; }, 5000));
        EXPECT_EQ(j.island().state(), State::pocket);
        // Offered as a move, taken as a copy: the file manager keeps its file.
        EXPECT_EQ(files.answered, Qt::CopyAction);
        EXPECT_TRUE(QFile::exists(original));
    };
    walk(j, {
        {"drop a file on the island", [&](Journey &j) { dropOnIsland(j, files); }, dropped},
        {"let go of it", [&](Journey &j) {
             j.settle();
             j.click(namedItem(j, "remove"));
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return pocket->items().isEmpty(); }, 3000));
             EXPECT_TRUE(QFile::exists(original));
         }},
        {"drop it again", [&](Journey &j) {
             j.collapse();
             files.answered = Qt::IgnoreAction;
             dropOnIsland(j, files);
         },
         dropped},
        {"clear the pocket", [&](Journey &j) {
             j.settle();
             j.click(namedItem(j, "clear"));
         },
         [&](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return pocket->items().isEmpty(); }, 3000)); }},
        {"click Clipboard twice at one spot, then Clear", [&](Journey &j) {
             QFile note(j.folder("note.txt"));
             ASSERT_TRUE(note.open(QIODevice::WriteOnly) && note.write("a note") == 6);
             note.close();
             ASSERT_EQ(QProcess::execute("xclip", {"-selection", "clipboard", "-i", note.fileName()}), 0);
             j.settle();
             ASSERT_TRUE(j.text("Clipboard"));
             const QPoint at = j.screenPoint(j.text("Clipboard"));
             j.hands().moveTo(at, 3);
             j.hands().click(at);
             j.hands().click(at);
             ASSERT_TRUE(j.waitFor([&] { return !pocket->items().isEmpty(); }, 5000, "the clipboard in the pocket"));
             j.settle();
             EXPECT_FALSE(pocket->items().isEmpty()) << "the second click cleared the pocket";
             EXPECT_EQ(j.screenPoint(j.text("Clipboard")), at) << "the header moved under the pointer";
             j.click(namedItem(j, "clear"));
         },
         [&](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return pocket->items().isEmpty(); }, 3000)); }},
        {"Clipboard with an owner that never answers, then Home before it gives up", [&](Journey &j) {
             silent = std::make_unique<SilentClipboardOwner>();
             j.settle();
             j.click(j.text("Clipboard"));
             j.click(j.item("IslandIconButton", [](QQuickItem *i) { return i->property("help") == "Home"; }));
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.island().state() == State::home; }, 3000));
             EXPECT_NE(pocket->lastError(), QString("Couldn't read the clipboard"))
                 << "the island answered only once the read had given up";
             EXPECT_TRUE(j.waitFor([&] { return pocket->lastError() == QString("Couldn't read the clipboard"); },
                                   30000, "the read to give up"));
             silent.reset();
         }},
        {"drop it once more and drag it out", [&](Journey &j) {
             j.collapse();
             dropOnIsland(j, files);
             ASSERT_TRUE(j.waitFor([&] { return pocket->items().size() == 1; }, 5000));
             j.settle();
             QQuickItem *row = j.item("PocketRow");
             ASSERT_TRUE(row);
             dragToWindow(j, row, QPointF(row->width() / 3, row->height() / 2), files);
         },
         [&](Journey &) {
             ASSERT_EQ(files.received.size(), 1);
             const QString out = files.received.first().toLocalFile();
             EXPECT_EQ(QFileInfo(out).fileName(), "notes.txt");
             EXPECT_TRUE(QFile::exists(out));
             // The pocket still holds its copy.
             EXPECT_EQ(pocket->items().size(), 1);
             EXPECT_TRUE(QFile::exists(original));
         }},
        {"drop four, one named with bytes that are not UTF-8", [&](Journey &j) {
             std::FILE *f = std::fopen(odd.constData(), "wb");
             ASSERT_TRUE(f);
             std::fputs("odd bytes", f);
             std::fclose(f);
             QDir().mkpath(j.folder("Documents/Photos"));
             QFile plan(j.folder("Documents/plan.md"));
             ASSERT_TRUE(plan.open(QIODevice::WriteOnly));
             // As a file manager's address list gives such a name: its
             // bytes percent-encoded.
             files.offered = {QUrl::fromLocalFile(original),
                              QUrl::fromEncoded("file://" + odd.toPercentEncoding("/")),
                              QUrl::fromLocalFile(j.folder("Documents/Photos")),
                              QUrl::fromLocalFile(plan.fileName())};
             files.answered = Qt::IgnoreAction;
             j.collapse();
             dropOnIsland(j, files);
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return pocket->items().size() == 5; }, 5000));
             EXPECT_EQ(j.island().state(), State::pocket);
             EXPECT_EQ(files.answered, Qt::CopyAction);
             QFile copy(QDir(pocket->folder()).filePath(QString::fromUtf8("bad\uFFFD\uFFFDname.txt")));
             ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
             EXPECT_EQ(copy.readAll(), "odd bytes");
             EXPECT_TRUE(j.text("5 held"));
         }},
        {"drop three, one gone by then, one a held file's address with a NUL", [&](Journey &j) {
             files.offered = {QUrl::fromLocalFile(j.folder("Documents/plan.md")),
                              QUrl::fromLocalFile(j.folder("Documents/gone.txt")),
                              QUrl::fromEncoded(QUrl::fromLocalFile(original).toEncoded() + "%00")};
             files.answered = Qt::MoveAction;
             j.collapse();
             dropOnIsland(j, files);
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return pocket->items().size() == 6; }, 5000));
             // The pocket says what it could not hold, and the drop is not
             // answered as taken whole.
             EXPECT_TRUE(j.waitFor([&] { return j.text("Couldn't hold gone.txt, notes.txt") != nullptr; }, 3000));
             EXPECT_TRUE(j.waitFor([&] { return files.answered == Qt::IgnoreAction; }, 3000));
             // The copy held under the name the address reads up to its NUL stays.
             EXPECT_TRUE(QFile::exists(QDir(pocket->folder()).filePath("notes.txt")));
         }},
        {"drop a sparse file and a folder holding a link to its own copy-to-be", [&](Journey &j) {
             QFile disk(j.folder("Documents/disk.img"));
             ASSERT_TRUE(disk.open(QIODevice::WriteOnly) && disk.resize(512LL << 20));
             disk.close();
             ASSERT_TRUE(QDir().mkpath(j.folder("Documents/Desktop")));
             ASSERT_TRUE(QFile::link(QDir(pocket->folder()).filePath("Desktop"), j.folder("Documents/Desktop/a")));
             files.offered = {QUrl::fromLocalFile(disk.fileName()), QUrl::fromLocalFile(j.folder("Documents/Desktop"))};
             j.collapse();
             dropOnIsland(j, files);
         },
         [&](Journey &j) {
             ASSERT_TRUE(j.waitFor([&] { return pocket->items().size() == 8; }, 20000, "both held"));
             const QDir held(pocket->folder());
             struct stat st;
             ASSERT_EQ(::stat(QFile::encodeName(held.filePath("disk.img")).constData(), &st), 0);
             EXPECT_LT(st.st_blocks * 512, 1 << 20) << "the copy wrote out the holes";
             EXPECT_TRUE(QFileInfo(held.filePath("Desktop/a")).isSymLink());
         }},
    });
}
