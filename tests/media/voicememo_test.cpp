#include "fakes/fakeclock.h"
#include "fakes/fakefilerevealer.h"
#include "fakes/faketools.h"
#include "media/mediarules.h"
#include "media/mp4duration.h"
#include "media/voicememoengine.h"
#include "support/smallfilesystem.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>

using State = platform::IAudioPlayer::State;

namespace {

QByteArray box(const char *type, const QByteArray &body)
{
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(8 + body.size()), out.data());
    return out + QByteArray(type, 4) + body;
}

QByteArray mvhd(int version, quint32 timescale, quint64 duration)
{
    QByteArray body(version == 1 ? 32 : 20, '\0');
    body[0] = char(version);
    if (version == 1) {
        qToBigEndian<quint32>(timescale, body.data() + 20);
        qToBigEndian<quint64>(duration, body.data() + 24);
    } else {
        qToBigEndian<quint32>(timescale, body.data() + 12);
        qToBigEndian<quint32>(quint32(duration), body.data() + 16);
    }
    return box("mvhd", body + QByteArray(80, '\0'));
}

class VoiceMemoTest : public ::testing::Test {
protected:
    void SetUp() override { recorder.writesFile = true; }
    QString memos() const { return tmp.filePath("Memos"); }
    QString downloads() const { return tmp.filePath("Downloads"); }

    // Files are made in the order given, so later ones are never older.
    void addFiles(const QStringList &names)
    {
        QDir().mkpath(memos());
        for (const QString &name : names) {
            QFile f(QDir(memos()).filePath(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("x");
        }
    }
    void writeIndex(const QByteArray &json)
    {
        QDir().mkpath(memos());
        QFile f(QDir(memos()).filePath("meta.json"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(json);
    }
    QJsonObject index() const
    {
        QFile f(QDir(memos()).filePath("meta.json"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(f.readAll()).object().value("items").toObject();
    }
    std::unique_ptr<VoiceMemoEngine> makeEngine()
    {
        auto engine = std::make_unique<VoiceMemoEngine>(recorder, player, exporter, revealer, clock, scheduler, memos());
        engine->setTrashFolder(memos() + QStringLiteral("/../Trash"));
        return engine;
    }
    QStringList names(const VoiceMemoEngine &e) const
    {
        QStringList out;
        for (const VoiceMemo &m : e.memos())
            out << m.name;
        return out;
    }
    VoiceMemo memo(const VoiceMemoEngine &e, const QString &file) const
    {
        for (const VoiceMemo &m : e.memos()) {
            if (m.file == file)
                return m;
        }
        return {};
    }

    // Starts a recording and grants the microphone.
    void startRecording(VoiceMemoEngine &e)
    {
        e.toggleRecord();
        if (!recorder.pendingPermissions.isEmpty())
            recorder.answer(true);
    }
    // The recorder completes the last take's file: a real recording of 1.5 s
    // when sound, else the bare header a take without sound leaves.
    void completeTake(bool sound = true)
    {
        const QString take = recorder.started.last();
        QFile::remove(take);
        if (sound) {
            QFile::copy(PAVLET_TEST_DATA "/media/memo.m4a", take);
        } else {
            QFile f(take);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(box("ftyp", "M4A ") + box("moov", mvhd(0, 44100, 0)));
        }
        recorder.complete();
    }
    QStringList files() const { return QDir(memos()).entryList({"*.m4a"}, QDir::Files); }
    // Ends the next waiting ffmpeg run; a run that succeeds, or one given a
    // partial text, leaves that in its output file.
    void finishRun(int status, const QByteArray &output = "mp3")
    {
        const FakeProcessRunner::Run &run = runner.runs[answered++];
        if (!output.isEmpty()) {
            QFile f(run.arguments.last());
            if (f.open(QIODevice::WriteOnly))
                f.write(output);
        }
        run.done({status, {}});
    }

    QTemporaryDir tmp;
    FakeClock clock;
    FakeScheduler scheduler{clock};
    FakeMicRecorder recorder;
    FakeAudioPlayer player;
    FakeProcessRunner runner;
    FakeToolLocator tools;
    int answered = 0;
    FakeFileRevealer revealer;
    Mp3Exporter exporter{tools, runner, downloads()};
};

} // namespace

TEST(Mp4Duration, MovieHeaders)
{
    QTemporaryDir dir;
    struct Case {
        const char *what;
        QByteArray bytes;
        double seconds;
    };
    const QByteArray mdat = box("mdat", QByteArray(100, 'a'));
    const Case cases[] = {
        {"version 0 after the media", box("ftyp", "M4A ") + mdat + box("moov", mvhd(0, 44100, 44100 * 3)), 3.0},
        {"version 1 first", box("moov", box("trak", "") + mvhd(1, 1000, 90500)) + mdat, 90.5},
        {"no movie box", box("ftyp", "M4A ") + mdat, 0},
        {"zero time scale", box("moov", mvhd(0, 0, 5)), 0},
        {"cut short", box("moov", mvhd(0, 1000, 5000)).left(20), 0},
        {"box larger than the file", QByteArray::fromHex("7fffffff6d6f6f76"), 0},
        {"empty", "", 0},
    };
    for (const Case &c : cases) {
        const QString path = dir.filePath(c.what);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        EXPECT_DOUBLE_EQ(mp4DurationSeconds(path), c.seconds) << c.what;
    }
    EXPECT_EQ(mp4DurationSeconds(dir.filePath("missing")), 0);
    EXPECT_NEAR(mp4DurationSeconds(PAVLET_TEST_DATA "/media/memo.m4a"), 1.5, 0.05);
}

TEST_F(VoiceMemoTest, FreshFolderGivesAnEmptyListAndIndex)
{
    auto engine = makeEngine();
    EXPECT_TRUE(engine->memos().isEmpty());
    EXPECT_EQ(engine->status(), "Tap the mic to record");
    QFile f(QDir(memos()).filePath("meta.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), R"({"items":{}})");
}

TEST_F(VoiceMemoTest, ListingPrunesAndAddsIndexEntries)
{
    addFiles({"c.m4a", "b.M4A", "a.m4a", "notes.txt", ".hidden.m4a"});
    QFile::copy(PAVLET_TEST_DATA "/media/memo.m4a", QDir(memos()).filePath("real.m4a"));
    writeIndex(R"({"items":{"a.m4a":{"name":"Named","note":"n","favorite":false},)"
               R"("gone.m4a":{"name":"Gone","note":"","favorite":true}}})");
    auto engine = makeEngine();
    EXPECT_EQ(names(*engine).size(), 4);
    EXPECT_TRUE(names(*engine).contains("Named"));
    EXPECT_TRUE(names(*engine).contains("b"));
    EXPECT_NEAR(memo(*engine, "real.m4a").duration, 1.5, 0.05);
    const QJsonObject items = index();
    EXPECT_EQ(items.keys(), (QStringList{"a.m4a", "b.M4A", "c.m4a", "real.m4a"}));
    EXPECT_EQ(items.value("c.m4a").toObject(), (QJsonObject{{"name", "c"}, {"note", ""}, {"favorite", false}}));
}

TEST_F(VoiceMemoTest, OneBadIndexEntryLosesOnlyItself)
{
    addFiles({"a.m4a", "b.m4a"});
    writeIndex(R"({"items":{"a.m4a":{"name":"Kept","note":"still here","favorite":true},)"
               R"("b.m4a":{"name":"Broken"}}})");
    auto engine = makeEngine();
    EXPECT_EQ(memo(*engine, "a.m4a").name, "Kept");
    EXPECT_EQ(memo(*engine, "a.m4a").note, "still here");
    EXPECT_TRUE(memo(*engine, "a.m4a").favorite);
    EXPECT_EQ(memo(*engine, "b.m4a").name, "b");
    EXPECT_EQ(index().value("a.m4a").toObject().value("name").toString(), "Kept");

    writeIndex("not json");
    engine->reload();
    EXPECT_EQ(memo(*engine, "a.m4a").name, "a") << "an unreadable file counts as empty";
}

// An index cut off after a whole entry keeps that entry, and a copy of the
// damaged file is made before the first save replaces it.
TEST_F(VoiceMemoTest, ACutOffIndexKeepsItsWholeEntriesAndACopy)
{
    addFiles({"a.m4a", "b.m4a"});
    const QByteArray cut = R"({"items":{"a.m4a":{"name":"Standup","note":"ask {Ana}","favorite":true},"b.m4a":{"na)";
    writeIndex(cut);
    auto engine = makeEngine();
    EXPECT_EQ(memo(*engine, "a.m4a").name, "Standup");
    EXPECT_EQ(memo(*engine, "a.m4a").note, "ask {Ana}");
    EXPECT_TRUE(memo(*engine, "a.m4a").favorite);
    EXPECT_EQ(memo(*engine, "b.m4a").name, "b");
    EXPECT_TRUE(index().value("a.m4a").toObject().value("favorite").toBool());
    const QStringList copies = QDir(memos()).entryList({"meta.json.damaged-*"});
    ASSERT_EQ(copies.size(), 1);
    QFile copy(QDir(memos()).filePath(copies.first()));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), cut);
}

TEST_F(VoiceMemoTest, EditsAreStoredAndFavouritesComeFirst)
{
    addFiles({"c.m4a", "b.m4a", "a.m4a"});
    auto engine = makeEngine();
    EXPECT_EQ(names(*engine), (QStringList{"a", "b", "c"}));
    engine->toggleFavorite(memo(*engine, "c.m4a"));
    EXPECT_EQ(names(*engine), (QStringList{"c", "a", "b"}));
    engine->toggleFavorite(memo(*engine, "c.m4a"));
    EXPECT_EQ(names(*engine), (QStringList{"a", "b", "c"}));

    engine->rename(memo(*engine, "a.m4a"), "");
    engine->setNote(memo(*engine, "b.m4a"), "   ");
    VoiceMemo missing;
    missing.file = "missing.m4a";
    engine->rename(missing, "x");
    auto reopened = makeEngine();
    EXPECT_EQ(memo(*reopened, "a.m4a").name, "");
    EXPECT_EQ(memo(*reopened, "b.m4a").note, "   ");
    reopened.reset();
    // Opening again over an index that still matches the folder leaves the
    // file alone; one that lost a recording is written again.
    const auto inode = [this] {
        struct stat st {};
        return ::stat(QDir(memos()).filePath("meta.json").toLocal8Bit().constData(), &st) == 0 ? st.st_ino : 0;
    };
    const auto written = inode();
    makeEngine().reset();
    EXPECT_EQ(inode(), written);
    ASSERT_TRUE(QFile::remove(QDir(memos()).filePath("c.m4a")));
    makeEngine().reset();
    EXPECT_NE(inode(), written);
    EXPECT_FALSE(index().contains("c.m4a"));

    // On a full disk the index keeps what it held and the header says so;
    // the next edit with room saves everything.
    SmallFileSystem disk(memos());
    if (!disk.why.isEmpty())
        GTEST_SKIP() << "no small file system to fill: " << disk.why.toStdString();
    addFiles({"a.m4a"});
    engine = makeEngine();
    const QJsonObject before = index();
    ASSERT_TRUE(disk.fill());
    engine->rename(memo(*engine, "a.m4a"), "Lecture 2");
    EXPECT_EQ(MediaRules::memoStatusLine(false, 0, false, engine->status(), 1), "Couldn't save changes");
    EXPECT_EQ(index(), before);
    disk.free();
    engine->toggleFavorite(memo(*engine, "a.m4a"));
    EXPECT_EQ(engine->status(), "1 saved");
    EXPECT_EQ(index().value("a.m4a").toObject().value("name"), "Lecture 2");
}

TEST_F(VoiceMemoTest, DeleteStopsPlaybackAndCollapsesAndKeepsEntriesOfFilesThatStay)
{
    addFiles({"b.m4a", "a.m4a"});
    auto engine = makeEngine();
    engine->rename(memo(*engine, "a.m4a"), "First");
    engine->togglePlay(memo(*engine, "a.m4a"));
    engine->toggleExpanded(memo(*engine, "a.m4a"));
    engine->deleteMemo(memo(*engine, "a.m4a"));
    EXPECT_TRUE(engine->playingURL().isEmpty());
    EXPECT_TRUE(engine->expandedID().isEmpty());
    EXPECT_EQ(names(*engine), QStringList{"b"});
    EXPECT_FALSE(index().contains("a.m4a"));

    // A recording that cannot be removed keeps its name and note (here the
    // path has become a folder, which a file removal refuses even for root).
    engine->rename(memo(*engine, "b.m4a"), "Keep me");
    const QString b = QDir(memos()).filePath("b.m4a");
    ASSERT_TRUE(QFile::remove(b));
    ASSERT_TRUE(QDir().mkpath(b + "/inside"));
    engine->deleteMemo(memo(*engine, "b.m4a"));
    EXPECT_EQ(names(*engine), QStringList{"Keep me"});
    EXPECT_EQ(index().value("b.m4a").toObject().value("name").toString(), "Keep me");
}

TEST_F(VoiceMemoTest, RecordingSavesAFileAndReportsTheCount)
{
    addFiles({"a.m4a", "b.m4a"});
    auto engine = makeEngine();
    engine->togglePlay(memo(*engine, "a.m4a"));
    recorder.powerDb = -25;
    recorder.time = 1.5;
    startRecording(*engine);
    EXPECT_TRUE(engine->recording());
    EXPECT_TRUE(engine->playingURL().isEmpty()) << "recording stops playback";
    EXPECT_EQ(engine->status(), "Recording…");
    scheduler.advance(80);
    EXPECT_DOUBLE_EQ(engine->elapsed(), 1.5);
    EXPECT_FLOAT_EQ(engine->level(), 0.5f);
    recorder.powerDb = 3;
    scheduler.advance(80);
    EXPECT_FLOAT_EQ(engine->level(), 1.0f);

    const qsizetype plays = player.played.size();
    engine->togglePlay(memo(*engine, "b.m4a"));
    EXPECT_EQ(player.played.size(), plays) << "no playback while recording";

    engine->toggleRecord();
    EXPECT_FALSE(engine->recording());
    EXPECT_EQ(engine->level(), 0);
    ASSERT_EQ(recorder.started.size(), 1);
    const QString take = recorder.started.first();
    EXPECT_TRUE(take.endsWith(".m4a"));
    engine->reload();
    EXPECT_EQ(engine->memos().size(), 2) << "a take is listed once its file is complete";

    completeTake();
    EXPECT_EQ(engine->status(), "3 saved");
    EXPECT_NEAR(memo(*engine, QFileInfo(take).fileName()).duration, 1.5, 0.05);
}

TEST_F(VoiceMemoTest, TwoRecordingsInOneMinuteKeepBothFiles)
{
    auto engine = makeEngine();
    for (int i = 0; i < 3; ++i) {
        startRecording(*engine);
        clock.advanceMs(5000);
        engine->toggleRecord();
        completeTake();
    }
    ASSERT_EQ(recorder.started.size(), 3);
    const QString stamp = recordingStamp(clock.now().toLocalTime().addSecs(-15));
    EXPECT_EQ(QFileInfo(recorder.started[0]).fileName(), stamp + ".m4a");
    EXPECT_EQ(QFileInfo(recorder.started[1]).fileName(), stamp + " 2.m4a");
    EXPECT_EQ(QFileInfo(recorder.started[2]).fileName(), stamp + " 3.m4a");
    EXPECT_EQ(engine->memos().size(), 3);
    EXPECT_FALSE(stamp.contains('/'));
}

// Memo names and their relative dates read in the user's language, with its
// own order and punctuation.
TEST(VoiceMemoLocale, NamesAndRelativeDates)
{
    const QLocale before;
    const QDateTime at(QDate(2026, 12, 8), QTime(10, 23));
    const QDateTime now = at.addSecs(300);
    struct Case {
        const char *locale;
        const char *stampStart; // the name begins so
        const char *notIn;      // and has none of this
        const char *fiveMinutesAgo;
    };
    const Case cases[] = {
        {"en_US", "Dec 8, 10:23", "", "5 minutes ago"},
        {"ja_JP", "12月8日 10:23", ",", "5 分前"},
        {"de_DE", "8. Dez.", "", "vor 5 Minuten"},
        {"ar_EG", "", ",", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.locale);
        QLocale::setDefault(QLocale(c.locale));
        const QString stamp = recordingStamp(at);
        EXPECT_TRUE(stamp.startsWith(QString::fromUtf8(c.stampStart))) << stamp.toStdString();
        if (*c.notIn) {
            EXPECT_FALSE(stamp.contains(QString::fromUtf8(c.notIn))) << stamp.toStdString();
        }
        const QString ago = MediaRules::relativeDate(at, now);
        if (*c.fiveMinutesAgo)
            EXPECT_EQ(ago, QString::fromUtf8(c.fiveMinutesAgo));
        else
            EXPECT_NE(ago, "5 minutes ago");
    }
    QLocale::setDefault(before);
}

TEST_F(VoiceMemoTest, ASecondRecordWhileTheMicrophoneIsAskedIsIgnored)
{
    auto engine = makeEngine();
    engine->toggleRecord();
    engine->toggleRecord();
    ASSERT_EQ(recorder.pendingPermissions.size(), 1);
    recorder.answer(true);
    EXPECT_EQ(recorder.started.size(), 1);
    EXPECT_TRUE(engine->recording());
}

TEST_F(VoiceMemoTest, RecordingFailures)
{
    auto engine = makeEngine();
    engine->toggleRecord();
    recorder.answer(false);
    EXPECT_EQ(engine->status(), "Allow microphone in System Settings");
    EXPECT_FALSE(engine->recording());

    recorder.startSucceeds = false;
    startRecording(*engine);
    EXPECT_EQ(engine->status(), "Couldn't record");
    EXPECT_FALSE(engine->recording());

    recorder.startSucceeds = true;
    startRecording(*engine);
    recorder.fail();
    EXPECT_FALSE(engine->recording());
    EXPECT_EQ(engine->status(), "Couldn't record");
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

// From the press of record to the listing: the take shows as recording only
// once the recorder has begun it, and only a complete file with sound is
// listed.
TEST_F(VoiceMemoTest, ATakeIsListedOnlyWhenItsFileHoldsSound)
{
    enum class End {
        Completes,
        CompletesEmpty,
        NeverBegins,
        BreaksOff,
        CalledOffWhileStarting,
        NeverCompletes,
        InputLost,
        InputLostEmpty,
        InputStalls
    };
    struct Case {
        const char *what;
        End end;
        int listed;         // memos afterwards (one was there before)
        const char *status; // the engine's status afterwards
        bool fileKept;
    };
    const Case cases[] = {
        {"stopped and complete", End::Completes, 2, "2 saved", true},
        {"complete without sound", End::CompletesEmpty, 1, "Couldn't record", false},
        {"never begins", End::NeverBegins, 1, "Couldn't record", false},
        {"breaks off while recording", End::BreaksOff, 1, "Couldn't record", false},
        {"called off before it began", End::CalledOffWhileStarting, 1, "Tap the mic to record", false},
        {"its completion never arrives", End::NeverCompletes, 2, "2 saved", true},
        {"its input goes away", End::InputLost, 2, "Microphone lost; recording kept", true},
        {"its input goes away before any sound", End::InputLostEmpty, 1, "Microphone lost", false},
        {"its input gives nothing any more", End::InputStalls, 2, "Microphone lost; recording kept", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(memos()).removeRecursively();
        QDir().mkpath(memos());
        QFile::copy(PAVLET_TEST_DATA "/media/memo.m4a", QDir(memos()).filePath("old.m4a"));
        recorder.started.clear();
        recorder.startsAtOnce = false;
        const int stops = recorder.stops;
        auto engine = makeEngine();

        startRecording(*engine);
        ASSERT_EQ(recorder.started.size(), 1);
        const QString take = recorder.started.first();
        recorder.time = 0.4; // what the recorder may report before it has begun
        scheduler.advance(400);
        EXPECT_FALSE(engine->recording()) << "not recording before the recorder has begun";
        EXPECT_TRUE(engine->starting()) << "the panel shows the take starting";
        EXPECT_EQ(engine->elapsed(), 0);
        EXPECT_EQ(engine->status(), "Tap the mic to record");

        switch (c.end) {
        case End::NeverBegins: scheduler.advance(VoiceMemoEngine::StartLimitMs); break;
        case End::CalledOffWhileStarting:
            engine->toggleRecord();
            EXPECT_EQ(recorder.stops, stops + 1);
            completeTake(false);
            break;
        default:
            recorder.begin();
            EXPECT_TRUE(engine->recording());
            EXPECT_EQ(engine->status(), "Recording…");
            recorder.time = 2.5;
            scheduler.advance(80);
            EXPECT_DOUBLE_EQ(engine->elapsed(), 2.5);
            engine->reload();
            EXPECT_EQ(engine->memos().size(), 1) << "the take in progress is not listed";
            if (c.end == End::BreaksOff) {
                recorder.fail();
                break;
            }
            if (c.end == End::InputStalls) {
                for (int i = 0; i < 60; ++i, scheduler.advance(80))
                    recorder.time += 0.08; // silent, but sound; then nothing comes
                scheduler.advance(VoiceMemoEngine::InputStallMs - 200);
                EXPECT_TRUE(engine->recording());
                scheduler.advance(200);
            }
            if (c.end == End::InputLost || c.end == End::InputLostEmpty || c.end == End::InputStalls) {
                // The recorder ends the take itself and completes what it holds.
                if (c.end != End::InputStalls)
                    recorder.lose();
                EXPECT_FALSE(engine->recording());
                EXPECT_EQ(engine->status(), "Microphone lost") << "said before the file is complete";
                if (c.end == End::InputLostEmpty)
                    recorder.fail();
                else
                    completeTake();
                EXPECT_EQ(MediaRules::memoStatusLine(false, 0, false, engine->status(), c.listed), c.status)
                    << "the header says so";
                break;
            }
            engine->toggleRecord();
            EXPECT_FALSE(engine->recording());
            EXPECT_EQ(engine->memos().size(), 1) << "not listed before its file is complete";
            if (c.end == End::NeverCompletes) {
                QFile::remove(take);
                QFile::copy(PAVLET_TEST_DATA "/media/memo.m4a", take);
                scheduler.advance(VoiceMemoEngine::FinishLimitMs);
            } else {
                completeTake(c.end == End::Completes);
            }
        }
        EXPECT_FALSE(engine->recording());
        EXPECT_EQ(engine->memos().size(), c.listed);
        EXPECT_EQ(engine->status(), c.status);
        EXPECT_FALSE(engine->starting());
        EXPECT_EQ(QFileInfo::exists(take), c.fileKept);
        // Shown again, the list tells its count instead of an old failure.
        engine->reload();
        EXPECT_EQ(engine->status(), c.end == End::CalledOffWhileStarting ? c.status
                                                                         : QStringLiteral("%1 saved").arg(c.listed));
        EXPECT_GE(recorder.stops, stops + 1) << "the recorder is always stopped";
        EXPECT_EQ(scheduler.pendingCount(), 0);
        for (const VoiceMemo &m : engine->memos())
            EXPECT_GT(m.duration, 1) << m.file.toStdString();

        // The engine is ready for the next take.
        recorder.startsAtOnce = true;
        startRecording(*engine);
        EXPECT_TRUE(engine->recording());
        engine->toggleRecord();
        completeTake();
    }
}

TEST_F(VoiceMemoTest, PauseResumesWhereItStoppedAndTheEndClearsPlayback)
{
    addFiles({"a.m4a", "b.m4a"});
    auto engine = makeEngine();
    const VoiceMemo a = memo(*engine, "a.m4a");
    engine->togglePlay(a);
    EXPECT_EQ(engine->playingURL(), a.url);
    EXPECT_EQ(engine->status(), "a");
    EXPECT_TRUE(engine->isPlaying());

    engine->togglePlay(a);
    EXPECT_EQ(player.current, State::Paused);
    scheduler.advance(1200);
    EXPECT_EQ(engine->playingURL(), a.url) << "a paused memo stays loaded";
    engine->togglePlay(a);
    EXPECT_EQ(player.current, State::Playing);
    EXPECT_EQ(player.resumes, 1) << "resumed, not played again from the start";
    EXPECT_EQ(player.played.size(), 1);

    QSignalSpy ticks(engine.get(), &VoiceMemoEngine::playbackTick);
    scheduler.advance(240);
    EXPECT_EQ(ticks.count(), 2);
    player.finish();
    scheduler.advance(120);
    EXPECT_TRUE(engine->playingURL().isEmpty());
    EXPECT_FALSE(engine->isPlaying());
    EXPECT_EQ(scheduler.pendingCount(), 0);

    player.succeeds = false;
    engine->togglePlay(memo(*engine, "b.m4a"));
    EXPECT_EQ(engine->status(), "Couldn't play");

    // Begun, then cut off by the sound server: said, not taken for the end.
    player.succeeds = true;
    engine->togglePlay(a);
    player.breakOff();
    EXPECT_EQ(engine->status(), "Couldn't play");
    EXPECT_TRUE(engine->playingURL().isEmpty());
    EXPECT_FALSE(engine->isPlaying());
}

TEST(Mp3Export, NameCleaning)
{
    const QPair<const char *, const char *> cases[] = {
        {"  Talk: part 1/2 \n", "Talk- part 1-2"}, {"   ", "Voice memo"}, {"", "Voice memo"}, {"Plain", "Plain"}};
    for (const auto &[in, out] : cases)
        EXPECT_EQ(Mp3Exporter::cleanName(in), QString::fromUtf8(out)) << in;
}

TEST_F(VoiceMemoTest, ExportTriesTheNamedEncoderThenFfmpegsOwnChoice)
{
    addFiles({"a.m4a"});
    auto engine = makeEngine();
    engine->rename(memo(*engine, "a.m4a"), "Talk: 1/2");
    tools.tools = {{"ffmpeg", "/usr/bin/ffmpeg"}};
    engine->exportMP3(memo(*engine, "a.m4a"));
    finishRun(1, "partial");
    finishRun(0);
    const QString in = memo(*engine, "a.m4a").url.toLocalFile();
    const QString out = QDir(downloads()).filePath("Talk- 1-2.mp3");
    ASSERT_EQ(runner.runs.size(), 2);
    EXPECT_EQ(runner.runs[0].program, "/usr/bin/ffmpeg");
    EXPECT_EQ(runner.runs[0].arguments, (QStringList{"-y", "-i", in, "-codec:a", "libmp3lame", "-q:a", "4", out}));
    EXPECT_EQ(runner.runs[1].arguments, (QStringList{"-y", "-i", in, out}));
    EXPECT_EQ(runner.runs[0].timeoutMs, Mp3Exporter::DefaultTimeoutMs);
    EXPECT_EQ(engine->status(), "Saved to Downloads");
    EXPECT_TRUE(engine->exportingID().isEmpty());
    EXPECT_EQ(revealer.revealed, QStringList{out});

    // Exports of the same name take the next free number.
    for (int i = 0; i < 2; ++i) {
        engine->exportMP3(memo(*engine, "a.m4a"));
        finishRun(0);
    }
    EXPECT_TRUE(QFile::exists(QDir(downloads()).filePath("Talk- 1-2 2.mp3")));
    EXPECT_TRUE(QFile::exists(QDir(downloads()).filePath("Talk- 1-2 3.mp3")));
}

TEST_F(VoiceMemoTest, ExportFailures)
{
    addFiles({"a.m4a", "b.m4a"});
    auto engine = makeEngine();
    const VoiceMemo a = memo(*engine, "a.m4a");

    // No tool anywhere.
    engine->exportMP3(a);
    EXPECT_EQ(engine->status(), "Install ffmpeg (apt install ffmpeg)");
    EXPECT_TRUE(engine->exportingID().isEmpty());
    EXPECT_TRUE(runner.runs.isEmpty());
    EXPECT_TRUE(QDir(downloads()).entryList(QDir::Files).isEmpty()) << "the claimed name is given back";

    // Both runs fail, each leaving a partial file.
    tools.tools = {{"ffmpeg", "/opt/ffmpeg/bin/ffmpeg"}};
    engine->exportMP3(a);
    finishRun(1, "partial");
    finishRun(1, "partial");
    EXPECT_EQ(runner.runs[0].program, "/opt/ffmpeg/bin/ffmpeg");
    EXPECT_EQ(engine->status(), "Couldn't write MP3");
    EXPECT_TRUE(QDir(downloads()).entryList(QDir::Files).isEmpty());

    // One export at a time; a hung tool ends at its time limit as a failure.
    engine->exportMP3(a);
    EXPECT_EQ(engine->exportingID(), "a.m4a");
    EXPECT_EQ(engine->status(), "Saving MP3…");
    engine->exportMP3(memo(*engine, "b.m4a"));
    EXPECT_EQ(runner.runs.size(), 3);
    // A file made at the destination meanwhile cannot take the claimed name.
    QFile other(QDir(downloads()).filePath("a.mp3"));
    EXPECT_FALSE(other.open(QIODevice::WriteOnly | QIODevice::NewOnly));
    finishRun(-1, {}); // killed at the limit
    finishRun(-1, {});
    EXPECT_EQ(engine->status(), "Couldn't write MP3");
    EXPECT_TRUE(engine->exportingID().isEmpty());
    engine->exportMP3(memo(*engine, "b.m4a"));
    EXPECT_EQ(engine->exportingID(), "b.m4a");
}

// A name longer than a file name may be is cut after a whole character so
// that the name with its number and extension fits the file system.
TEST_F(VoiceMemoTest, LongNamesExportUnderTheLongestNameTheFolderTakes)
{
    addFiles({"a.m4a"});
    auto engine = makeEngine();
    tools.tools = {{"ffmpeg", "/usr/bin/ffmpeg"}};
    struct Case {
        const char *what;
        QString name;
        int bytes[2]; // of the name kept before ".mp3", and before " 2.mp3"
    };
    const Case cases[] = {
        {"plain letters", QString(300, 'a'), {251, 249}},
        {"two-byte letters", QString(200, QChar(0xe9)), {250, 248}},
        {"four-byte symbols", QString::fromUtf8("\xF0\x9F\x8E\x99").repeated(80), {248, 248}},
        {"letters with a combining accent", QString::fromUtf8("e\xCC\x81").repeated(100), {249, 249}},
        {"spaces at the cut", QString(250, 'c') + QString(20, ' ') + 'd', {250, 249}},
        {"a name that fits", QString(251, 'b'), {251, 249}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        engine->rename(memo(*engine, "a.m4a"), c.name);
        for (int second = 0; second < 2; ++second) {
            const QString tail = second ? QStringLiteral(" 2.mp3") : QStringLiteral(".mp3");
            engine->exportMP3(memo(*engine, "a.m4a"));
            finishRun(0);
            EXPECT_EQ(engine->status(), "Saved to Downloads");
            ASSERT_FALSE(revealer.revealed.isEmpty());
            const QString file = QFileInfo(revealer.revealed.takeLast()).fileName();
            EXPECT_TRUE(QFile::exists(QDir(downloads()).filePath(file)));
            ASSERT_TRUE(file.endsWith(tail)) << file.toStdString();
            const QString base = file.chopped(tail.size());
            EXPECT_TRUE(c.name.startsWith(base));
            EXPECT_EQ(base.toUtf8().size(), c.bytes[second]);
        }
        QDir(downloads()).removeRecursively();
    }
}
