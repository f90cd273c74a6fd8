#include "journey.h"

#include "support/itemtree.h"
#include "filewindow.h"
#include "support/takesound.h"

#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "media/voicememoengine.h"
#include "tools/pocketstore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <optional>
#include <gtest/gtest.h>

namespace {

JourneySetup onlyCard(const QString &card)
{
    JourneySetup setup;
    setup.prepare = [card](UserDefaults &d) {
        QStringList hidden = {"player", "timer", "clocks", "weather", "calendar", "system", "network", "clipboard",
                              "notes", "shortcuts", "awake", "quote", "bluetooth", "eyeStrain", "speedTest",
                              "youtube", "spotify", "compress", "micCheck"};
        hidden.removeAll(card);
        d.setString("disabledModules", hidden.join(','));
    };
    return setup;
}

QStringList zipsIn(const QString &folder)
{
    return QDir(folder).entryList({"*.zip"}, QDir::Files);
}

} // namespace

// The mic check records; closing the island ends the take and its capture
// stream, and the card opens again ready for a new one.
TEST(MicCheckCard, ClosingTheIslandEndsTheTake)
{
    Journey j(onlyCard("micCheck"));
    ASSERT_TRUE(j.start());
    walk(j, {
        {"open Home", [](Journey &j) { ASSERT_TRUE(j.openHome()); }},
        {"record", [](Journey &j) { j.click(j.text("Record")); },
         [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return j.captureStreams() > 0; }, 8000)); }},
        {"close the island while it records", [](Journey &j) { ASSERT_TRUE(j.collapse()); },
         [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return j.captureStreams() == 0; }, 3000)); }},
        {"open Home again", [](Journey &j) { ASSERT_TRUE(j.openHome()); },
         [](Journey &j) {
             EXPECT_TRUE(j.text("Record")) << "the card is ready for a new take";
             EXPECT_EQ(j.captureStreams(), 0);
         }},
        {"record and stop on the card", [](Journey &j) {
             j.click(j.text("Record"));
             j.waitFor([&] { return j.captureStreams() > 0; }, 8000);
             XInput::pause(1200);
         }},
        {"close the island", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
    });
}

// The zip card's Pick: the dialog stands over the island, which stays open
// while it is up; cancelling changes nothing, choosing a file zips it into
// Downloads.
TEST(ZipCard, PickCancelledThenPickedZipsIntoDownloads)
{
    Journey j(onlyCard("compress"));
    ASSERT_TRUE(j.start());
    const QString file = j.folder("Documents/notes.txt");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("things to keep\n");
    }
    const QString downloads = j.folder("Downloads");
    // The home folder's own clean-up goes by Qt's text for names and would
    // leave this one.
    const QByteArray odd = QFile::encodeName(j.folder("Documents/Odd/")) + "bad\xFF\xFEname.txt";
    const auto unlink = qScopeGuard([&] { std::remove(odd.constData()); });
    Island::NotchState stateWhileUp = Island::NotchState::collapsed;
    walk(j, {
        {"open Home", [](Journey &j) { ASSERT_TRUE(j.openHome()); }},
        {"Pick, then cancel the dialog", [&](Journey &j) {
             j.whenDialogShows([&](const Journey::Dialog &dialog) {
                 // The user's pointer goes over to the dialog, off the island.
                 j.hands().moveTo(dialog.frame.center(), 8);
                 QThread::msleep(500);
                 QCoreApplication::processEvents();
                 stateWhileUp = j.island().state();
                 j.hands().key("Escape");
             });
             j.click(j.text("Pick"));
             j.waitFor([&] { return stateWhileUp != Island::NotchState::collapsed; }, 8000,
                       "the file dialog to show and be cancelled");
             j.waitFor([&] { return !j.shownDialog(); }, 5000, "the dialog to go");
         },
         [&](Journey &j) {
             EXPECT_EQ(stateWhileUp, Island::NotchState::home) << "the island stays open under its dialog";
             // Once the dialog has gone, the pointer is off the island: it
             // closes, as it does whenever the pointer leaves.
             EXPECT_EQ(j.island().state(), Island::NotchState::collapsed);
             EXPECT_TRUE(zipsIn(downloads).isEmpty());
         }},
        {"Pick, then choose a file", [&](Journey &j) {
             ASSERT_TRUE(j.openHome());
             j.whenDialogShows([&](const Journey::Dialog &dialog) {
                 j.hands().moveTo(dialog.frame.center(), 8);
                 j.hands().type(file);
                 j.hands().key("Return");
             });
             j.click(j.text("Pick"));
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return !zipsIn(downloads).isEmpty(); }, 10000))
                 << "nothing zipped into " << downloads.toStdString();
         }},
        {"Pick, open a folder by its path, select all it holds (a name that is not UTF-8 among them), zip", [&](Journey &j) {
             ASSERT_TRUE(QDir().mkpath(j.folder("Documents/Odd")) && QFile(j.folder("Documents/Odd/good.txt")).open(QIODevice::WriteOnly));
             std::FILE *bad = std::fopen(odd.constData(), "wb");
             ASSERT_TRUE(bad && std::fclose(bad) == 0);
             ASSERT_TRUE(j.openHome());
             j.whenDialogShows([&](const Journey::Dialog &dialog) {
                 j.hands().moveTo(dialog.frame.center(), 8);
                 j.hands().key("Return"); // nothing is selected yet: nothing happens
                 j.hands().type(j.folder("Documents/Odd"));
                 for (const char *key : {"Return", "Tab"})
                     j.hands().key(key);
                 j.hands().key("a", false, true);
                 j.hands().key("Return");
             });
             j.click(j.text("Pick"));
         },
         [&](Journey &j) {
             ASSERT_TRUE(j.waitFor([&] { return zipsIn(downloads).size() == 2; }, 10000, "the archive"));
             const QString zip = QDir(downloads).filePath(QDir(downloads).entryList({"*.zip"}, QDir::Files, QDir::Time).first());
             EXPECT_TRUE(j.waitFor([&] { return j.text("Saved " + QFileInfo(zip).fileName()) != nullptr; }, 5000));
             QProcess unzip;
             unzip.start("unzip", {"-Z1", zip});
             ASSERT_TRUE(unzip.waitForFinished(10000));
             EXPECT_EQ(unzip.readAllStandardOutput(), "bad\xFF\xFEname.txt\ngood.txt\n") << "each selected file, in the list's order";
         }},
    });
}

namespace {

QQuickItem *memoField(Journey &j, const char *name)
{
    return j.item("QQuickItem", [&](QQuickItem *i) { return i->objectName() == name && i->isVisible(); });
}

QQuickItem *symbol(Journey &j, const QString &name)
{
    return j.item("Symbol", [&](QQuickItem *i) { return i->property("name").toString() == name && i->isVisible(); });
}

// The big round button: a microphone, or a stop square while it records.
QQuickItem *recordButton(Journey &j)
{
    QQuickItem *mic = symbol(j, "mic.fill");
    return mic ? mic : symbol(j, "stop.fill");
}

// pactl on the journeys' sound server; its output, null on failure.
QString pactl(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", journeySoundServer());
    p.setProcessEnvironment(env);
    p.start("pactl", args);
    if (!p.waitForFinished(5000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// What the speakers (the server's null sink) give out, heard from the
// moment it is made, as a user hears a memo from the press on its play
// button: a short memo may be over before a busy machine checks.
class Speakers {
public:
    Speakers()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_SERVER", journeySoundServer());
        m_parec.setProcessEnvironment(env);
        m_parec.start("parec", {"-d", "null.monitor", "--latency-msec=20", "--format=s16le", "--channels=1",
                                "--rate=" + QString::number(Rate)});
    }
    ~Speakers()
    {
        m_parec.kill();
        m_parec.waitForFinished(3000);
    }
    // The loudest tenth of a second heard so far, in dBFS.
    double loudestDb()
    {
        m_parec.waitForReadyRead(50);
        m_heard += m_parec.readAllStandardOutput();
        const auto *samples = reinterpret_cast<const qint16 *>(m_heard.constData());
        const qsizetype count = m_heard.size() / 2;
        const qsizetype window = Rate / 10;
        double loudest = 0;
        for (qsizetype start = 0; start + window <= count; start += window) {
            double sum = 0;
            for (qsizetype i = start; i < start + window; ++i)
                sum += double(samples[i]) * samples[i];
            loudest = std::max(loudest, std::sqrt(sum / double(window)) / 32768.0);
        }
        return loudest <= 1e-8 ? -160 : 20 * std::log10(loudest);
    }

private:
    static constexpr int Rate = 44100;
    QProcess m_parec;
    QByteArray m_heard;
};

// The play button of the row that shows memo.
QQuickItem *playButtonOf(Journey &j, const VoiceMemo &memo)
{
    QQuickItem *row = j.item("VoiceMemoRow", [&](QQuickItem *i) {
        return i->isVisible() && i->property("memo").value<VoiceMemo>().url == memo.url;
    });
    if (!row)
        return nullptr;
    for (QQuickItem *symbol : ItemTree::all(row, "Symbol"))
        if (symbol->property("name").toString() == "play.fill")
            return symbol;
    return nullptr;
}

// A 550 Hz tone plays into the sink "feed", whose monitor is made the
// desktop's input, as a user recording what the computer plays sets it up.
// Undone when it goes.
struct ToneIntoMonitor {
    QStringList modules;
    ToneIntoMonitor()
    {
        modules << pactl({"load-module", "module-null-sink", "sink_name=feed"}).trimmed()
                << pactl({"load-module", "module-sine", "sink=feed", "frequency=550"}).trimmed();
        pactl({"set-default-source", "feed.monitor"});
    }
    ~ToneIntoMonitor()
    {
        pactl({"set-default-source", "mic"});
        for (auto m = modules.crbegin(); m != modules.crend(); ++m)
            pactl({"unload-module", *m});
    }
};

} // namespace

// Voice memos as a user keeps them, beside 16 older ones: a 3 s take of
// what the computer plays (the input is an output's monitor, made the
// desktop's default, with a tone playing), played back, named and noted by
// typing, starred, saved as MP3, dragged within the list and out to another
// program's window, and deleted.
TEST(VoiceMemos, RecordDragPlayNameNoteStarExportDelete)
{
    Journey j({.everyModule = true});
    const QDir folder(j.folder("data/Pavlet/Memos"));
    ASSERT_TRUE(folder.mkpath("."));
    for (int i = 1; i <= 16; ++i)
        ASSERT_TRUE(QFile::copy(PAVLET_TEST_DATA "/media/memo.m4a",
                                folder.filePath(QStringLiteral("older memo %1.m4a").arg(i, 2, 10, QLatin1Char('0')))));
    ASSERT_TRUE(j.start());
    VoiceMemoEngine *memos = nullptr;
    OtherProgramWindow files;
    ASSERT_TRUE(files.start(QPoint(60, 500))) << "the other program's window never showed";
    // Until the take has been heard back.
    std::optional<ToneIntoMonitor> tone;
    tone.emplace();
    std::optional<Speakers> speakers;
    ASSERT_FALSE(tone->modules.contains(QString())) << "the tone could not be set up";
    // Times of the clicks on record and on Stop, as sent to the X server.
    QElapsedTimer clicks;
    qint64 recordClick = 0, stopClick = 0;
    walk(j, {
        {"open Voice memos", [&](Journey &j) {
             ASSERT_TRUE(j.openFromStrip("Voice memos"));
             memos = j.island().voice();
         }},
        {"record", [&](Journey &j) {
             QQuickItem *button = recordButton(j);
             ASSERT_TRUE(j.ready(button));
             clicks.start();
             j.click(button);
             recordClick = clicks.elapsed();
         },
         [&](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return memos->recording(); }, 15000)); }},
        {"stop after 3 s", [&](Journey &j) {
             XInput::pause(3000);
             QQuickItem *button = recordButton(j);
             ASSERT_TRUE(j.ready(button));
             j.click(button);
             stopClick = clicks.elapsed();
         },
         [&](Journey &j) {
             ASSERT_TRUE(j.waitFor([&] { return memos->memos().size() == 17; }, 15000)) << memos->status().toStdString();
             // The take holds the tone from click to click (a busy machine
             // may take a while to deliver a click).
             const double clicked = (stopClick - recordClick) / 1000.0;
             const TakeSound sound = TakeSound::decode(memos->memos().first().url.toLocalFile());
             EXPECT_NEAR(memos->memos().first().duration, clicked, 1.0);
             EXPECT_NEAR(sound.seconds(), clicked, 1.0);
             EXPECT_GT(sound.levelDb(0, sound.seconds()), -20) << "the monitor's tone was not recorded";
             EXPECT_LT(sound.leadingQuiet() + sound.trailingQuiet(), 0.3);
             EXPECT_TRUE(j.waitFor([&] { return j.captureStreams() == 0; }, 5000)) << "Stop closes the microphone";
         }},
        {"play it", [&](Journey &j) {
             QQuickItem *play = nullptr;
             j.waitFor([&] { return play = playButtonOf(j, memos->memos().first()); }, 3000,
                       "the new memo's play button");
             speakers.emplace();
             j.click(play);
         },
         [&](Journey &) {
             EXPECT_GT(speakers->loudestDb(), -30) << "the tone is not heard back";
         }},
        {"record again; the output the input listens to sleeps 2 s in", [&](Journey &j) {
             j.click(recordButton(j));
             ASSERT_TRUE(j.waitFor([&] { return memos->elapsed() >= 2; }, 15000));
             pactl({"suspend-sink", "feed", "1"});
         },
         [&](Journey &j) {
             QString counter; // the header's, which stops with the sound
             auto header = [](QQuickItem *i) { return i->property("text").toString().startsWith("Recording  "); };
             EXPECT_TRUE(j.waitFor([&] {
                 if (QQuickItem *line = j.item("CardText", header))
                     counter = line->property("text").toString();
                 return j.text("Microphone lost; recording kept") && j.text(memos->memos().first().name);
             }, 10000)) << memos->status().toStdString();
             EXPECT_LE(counter, "Recording  0:03");
             EXPECT_NEAR(memos->memos().first().duration, 2, 0.5);
         }},
        // As at a suspend or a crash of the sound server: the memo playing
        // is cut off and says so, and once the server is back it plays.
        {"the sound server is killed while it plays", [&](Journey &j) {
             tone.reset();
             speakers.reset();
             memos->stopPlayback();
             j.click(playButtonOf(j, memos->memos().first()));
             ASSERT_TRUE(j.waitFor([&] { return j.playbackStreams() > 0; }, 5000, "the memo's stream"));
             ASSERT_TRUE(restartJourneySoundServer(true));
         },
         [&](Journey &) {
             EXPECT_EQ(memos->status(), "Couldn't play");
             EXPECT_FALSE(memos->isPlaying());
         }},
        {"play it again once the server is back", [&](Journey &j) {
             speakers.emplace();
             j.click(playButtonOf(j, memos->memos().first()));
         },
         [&](Journey &) { EXPECT_GT(speakers->loudestDb(), -30) << "the tone is not heard after the restart"; }},
        {"open the row", [&](Journey &j) {
             speakers.reset();
             memos->stopPlayback();
             j.click(j.text(memos->memos().first().name));
         },
         [&](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return memoField(j, "memoName"); }, 3000)); }},
        {"type a name", [](Journey &j) {
             j.click(memoField(j, "memoName"));
             j.hands().key("a", false, true);
             j.hands().type("Standup notes");
         },
         [&](Journey &j) {
             EXPECT_EQ(j.focusedText(), "Standup notes");
             EXPECT_TRUE(j.waitFor([&] { return memos->memos().first().name == "Standup notes"; }, 3000));
         }},
        {"type a note", [](Journey &j) {
             j.click(memoField(j, "memoNote"));
             j.hands().type("ask about the demo");
         },
         [&](Journey &j) {
             EXPECT_EQ(j.focusedText(), "ask about the demo");
             EXPECT_TRUE(j.waitFor([&] { return memos->memos().first().note == "ask about the demo"; }, 3000));
         }},
        {"star it", [](Journey &j) {
             j.click(j.item("IslandIconButton", [](QQuickItem *i) { return i->property("help").toString() == "Favorite"; }));
         },
         [&](Journey &) { EXPECT_TRUE(memos->memos().first().favorite); }},
        {"save as MP3", [](Journey &j) { j.click(j.text("MP3")); },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return !QDir(j.folder("Downloads")).entryList({"*.mp3"}).isEmpty(); }, 20000))
                 << memos->status().toStdString();
         }},
        // The drag crosses the island, which opens the pocket for it and so
        // takes the memos' panel away while the drag runs; the hand rests
        // there before it lets go, and the pocket takes the file.
        {"drag a row 50 px down the list and let go", [&](Journey &j) {
             j.settle();
             QQuickItem *name = j.text(memos->memos().at(1).name);
             ASSERT_TRUE(name);
             const QPoint from = j.screenPoint(name);
             // From inside the drag's own loop.
             QTimer::singleShot(700, [&j, from] {
                 j.hands().setSpinning(false);
                 j.hands().moveTo(from + QPoint(0, 50), 4);
                 j.hands().setSpinning(true);
             });
             QTimer::singleShot(2200, [&j] {
                 j.hands().setSpinning(false);
                 j.hands().release();
                 j.hands().setSpinning(true);
             });
             j.hands().moveTo(from, 3);
             XInput::pause(100);
             j.hands().press();
             XInput::pause(60);
             j.hands().moveTo(from + QPoint(0, 20), 4);
             j.waitFor([&] { return !(QGuiApplication::mouseButtons() & Qt::LeftButton); }, 5000, "the button let go");
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.island().pocket()->items().size() == 1; }, 3000, "the memo in the pocket"));
             EXPECT_EQ(memos->memos().size(), 18);
             j.collapse();
             ASSERT_TRUE(j.openFromStrip("Voice memos"));
         }},
        {"drag it out to another program's window", [&](Journey &j) {
             j.settle();
             QQuickItem *name = j.text(memos->memos().first().name);
             ASSERT_TRUE(name);
             dragToPoint(j, name, QPointF(name->width() / 2, name->height() / 2), files.middle());
         },
         [&](Journey &j) {
             ASSERT_TRUE(j.waitFor([&] { return !files.received().isEmpty(); }, 5000, "the drop in the other program"));
             EXPECT_EQ(files.received(), QList<QUrl>{memos->memos().first().url});
             // The program lives on; the pointer left the island, which is
             // opened on the panel again.
             j.collapse();
             ASSERT_TRUE(j.openFromStrip("Voice memos"));
         }},
        {"delete it", [](Journey &j) {
             j.click(j.item("IslandIconButton", [](QQuickItem *i) { return i->property("help").toString() == "Delete"; }));
         },
         [&](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return memos->memos().size() == 17; }, 3000)); }},
        {"close the island", [](Journey &j) { ASSERT_TRUE(j.collapse()); },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.playbackStreams() == 0; }, 3000)) << "the memo player still holds a stream";
         }},
    });
}
