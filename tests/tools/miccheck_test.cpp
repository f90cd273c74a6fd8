#include "fakes/faketools.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"
#include "tools/miccheckengine.h"
#include "tools/toolfolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <unistd.h>

namespace {

class MicCheckTest : public PavletTest {
protected:
    std::unique_ptr<MicCheckEngine> make()
    {
        return std::make_unique<MicCheckEngine>(&recorder, &player, &sounds, scheduler.get(), tempPath("take.m4a"));
    }
    FakeMicRecorder recorder;
    FakeAudioPlayer player;
    FakeSoundPlayer sounds;
};

TEST(MicCheckLevelTest, MapsDecibelsLinearlyFromMinus50To0)
{
    EXPECT_FLOAT_EQ(MicCheckEngine::levelFor(-20), 0.6f);
    EXPECT_FLOAT_EQ(MicCheckEngine::levelFor(-50), 0.0f);
    EXPECT_FLOAT_EQ(MicCheckEngine::levelFor(-160), 0.0f);
    EXPECT_FLOAT_EQ(MicCheckEngine::levelFor(0), 1.0f);
    EXPECT_FLOAT_EQ(MicCheckEngine::levelFor(6), 1.0f);
}

TEST_F(MicCheckTest, ATakeRecordsMetersAndPlaysBack)
{
    auto engine = make();
    QFile old(tempPath("take.m4a"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();

    engine->toggleRecord();
    EXPECT_FALSE(engine->recording());
    recorder.answer(true);
    EXPECT_FALSE(QFile::exists(tempPath("take.m4a"))); // the old take is gone
    EXPECT_EQ(recorder.started, QStringList{tempPath("take.m4a")});
    EXPECT_TRUE(engine->recording());
    EXPECT_EQ(engine->status(), "Recording\u2026 tap to play back");

    recorder.powerDb = -20;
    scheduler->advance(80);
    EXPECT_FLOAT_EQ(engine->level(), 0.6f);
    recorder.powerDb = -160;
    scheduler->advance(80);
    EXPECT_FLOAT_EQ(engine->level(), 0.0f);
    recorder.powerDb = -10;
    scheduler->advance(80);

    engine->toggleRecord();
    EXPECT_EQ(recorder.stops, 1);
    EXPECT_FALSE(engine->recording());
    EXPECT_FLOAT_EQ(engine->level(), 0.0f);
    EXPECT_TRUE(player.played.isEmpty()) << "not before the recorder has completed the file";
    recorder.complete();
    EXPECT_EQ(player.played, QStringList{tempPath("take.m4a")});
    EXPECT_EQ(engine->status(), "Playing your take");
    // The meter stopped with the take.
    scheduler->advance(400);
    EXPECT_FLOAT_EQ(engine->level(), 0.0f);
}

TEST_F(MicCheckTest, RefusalsAndFailuresEndInTheirTexts)
{
    auto engine = make();
    engine->toggleRecord();
    recorder.answer(false);
    EXPECT_EQ(engine->status(), "Allow microphone in System Settings");
    EXPECT_FALSE(engine->recording());

    recorder.startSucceeds = false;
    engine->toggleRecord();
    recorder.answer(true);
    EXPECT_EQ(engine->status(), "Couldn't open the mic");
    EXPECT_FALSE(engine->recording());
    EXPECT_EQ(scheduler->pendingCount(), 0);

    recorder.startSucceeds = true;
    player.succeeds = false;
    engine->toggleRecord();
    recorder.answer(true);
    engine->toggleRecord();
    recorder.complete();
    EXPECT_EQ(engine->status(), "Nothing to play back");

    // Begun, then cut off by the sound server.
    player.succeeds = true;
    engine->toggleRecord();
    recorder.answer(true);
    engine->toggleRecord();
    recorder.complete();
    EXPECT_EQ(engine->status(), "Playing your take");
    player.breakOff();
    EXPECT_EQ(engine->status(), "Nothing to play back");
}

TEST_F(MicCheckTest, ARecorderThatFailsMidTakeEndsTheTake)
{
    auto engine = make();
    engine->toggleRecord();
    recorder.answer(true);
    recorder.powerDb = -20;
    scheduler->advance(80);
    emit recorder.failed();
    EXPECT_FALSE(engine->recording());
    EXPECT_FLOAT_EQ(engine->level(), 0.0f);
    EXPECT_EQ(engine->status(), "Couldn't record");
    EXPECT_EQ(recorder.stops, 1);
    EXPECT_EQ(scheduler->pendingCount(), 0) << "the meter stopped";
    recorder.complete();
    EXPECT_TRUE(player.played.isEmpty());

    // Failing while the stopped take's file is completed: nothing plays.
    engine->toggleRecord();
    recorder.answer(true);
    engine->toggleRecord();
    emit recorder.failed();
    recorder.complete();
    EXPECT_TRUE(player.played.isEmpty());
    EXPECT_EQ(engine->status(), "Couldn't record");

    // The input goes away mid-take: the take ends, what it holds plays, and
    // the card says why it ended.
    engine->toggleRecord();
    recorder.answer(true);
    recorder.lose();
    EXPECT_FALSE(engine->recording());
    EXPECT_EQ(scheduler->pendingCount(), 0) << "the meter stopped";
    recorder.complete();
    EXPECT_EQ(player.played.size(), 1);
    EXPECT_EQ(engine->status(), "Microphone lost");
    // The input gives sound, then nothing: the take ends the same way.
    engine->toggleRecord();
    recorder.answer(true);
    recorder.time = 1;
    scheduler->advance(MicCheckEngine::InputStallMs + 80);
    EXPECT_FALSE(engine->recording());
    recorder.complete();
    EXPECT_EQ(engine->status(), "Microphone lost");
}

TEST_F(MicCheckTest, ASecondRecordWhileStartingIsIgnored)
{
    auto engine = make();
    engine->toggleRecord();
    engine->toggleRecord();
    EXPECT_EQ(recorder.pendingPermissions.size(), 1);
    recorder.answer(true);
    EXPECT_EQ(recorder.started.size(), 1);
    EXPECT_TRUE(engine->recording());
}

TEST_F(MicCheckTest, AnAnswerAfterTheEngineIsGoneDoesNothing)
{
    auto engine = make();
    engine->toggleRecord();
    engine.reset();
    recorder.answer(true);
    EXPECT_TRUE(recorder.started.isEmpty());
}

TEST_F(MicCheckTest, DiscardingTheEngineEndsItsTakeAndItsPlayback)
{
    // While recording: the capture stops with the engine, the meter with it.
    auto engine = make();
    engine->toggleRecord();
    recorder.answer(true);
    ASSERT_TRUE(recorder.recording);
    engine.reset();
    EXPECT_FALSE(recorder.recording);
    EXPECT_EQ(recorder.stops, 1);
    EXPECT_EQ(scheduler->pendingCount(), 0);

    // While its take plays back: the playback stops too.
    engine = make();
    engine->toggleRecord();
    recorder.answer(true);
    engine->toggleRecord();
    recorder.complete();
    ASSERT_EQ(player.state(), platform::IAudioPlayer::State::Playing);
    engine.reset();
    EXPECT_EQ(player.state(), platform::IAudioPlayer::State::Stopped);
    EXPECT_EQ(recorder.stops, 2) << "an ended take is not stopped twice";
}

// The take's folder: one that only this user can enter or write, wherever
// the runtime folder is, and never one somebody else planted.
TEST_F(MicCheckTest, TheTakeSitsInAFolderOnlyThisUserCanWrite)
{
    const QString runtime = tempPath("runtime");
    ASSERT_TRUE(QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    const QString take = MicCheckEngine::defaultTakePath();
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    EXPECT_EQ(take, runtime + "/pavlet/pavlet-mic-check.m4a");
    const QFileInfo folder(runtime + "/pavlet");
    EXPECT_TRUE(folder.isDir());
    EXPECT_EQ(folder.permissions() & 0x7077, 0x7000) << "the owner's alone";
    EXPECT_EQ(folder.ownerId(), ::geteuid());

    struct Case {
        const char *name;
        std::function<void(const QString &)> plant;
        bool usable;
    };
    const QList<Case> cases = {
        {"missing", [](const QString &) {}, true},
        {"open to all", [](const QString &p) {
             QDir().mkpath(p);
             QFile::setPermissions(p, QFileDevice::Permissions(0x7777));
         }, true},
        {"a link to another folder", [this](const QString &p) {
             QDir().mkpath(tempPath("elsewhere"));
             QFile::link(tempPath("elsewhere"), p);
         }, false},
        {"a file", [](const QString &p) {
             QFile f(p);
             (void)f.open(QIODevice::WriteOnly);
         }, false},
    };
    for (const Case &c : cases) {
        const QString path = tempPath(QString("planted/") + c.name);
        QDir().mkpath(tempPath("planted"));
        c.plant(path);
        EXPECT_EQ(ToolFolders::ensurePrivateFolder(path), c.usable) << c.name;
        if (c.usable) {
            EXPECT_EQ(QFileInfo(path).permissions() & 0x0077, 0) << c.name << " is open to others";
        }
    }
}

TEST_F(MicCheckTest, ToneBeepsAndPlaysTheThemeSound)
{
    auto engine = make();
    engine->playTone();
    EXPECT_EQ(sounds.beeps, 1);
    EXPECT_EQ(sounds.alerts, 1);
    // The sound could not be loaded; the text still names the tone.
    EXPECT_EQ(engine->status(), "Played Funk");
    EXPECT_EQ(QFileInfo(MicCheckEngine::defaultTakePath()).fileName(), "pavlet-mic-check.m4a");
    EXPECT_NE(QFileInfo(MicCheckEngine::defaultTakePath()).path(), QDir::tempPath()) << "not in the shared folder";
}

} // namespace
