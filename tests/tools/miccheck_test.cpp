#include "fakes/faketools.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"
#include "tools/miccheckengine.h"

#include <QDir>
#include <QFile>

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

TEST_F(MicCheckTest, ToneBeepsAndPlaysTheThemeSound)
{
    auto engine = make();
    engine->playTone();
    EXPECT_EQ(sounds.beeps, 1);
    EXPECT_EQ(sounds.alerts, 1);
    // The sound could not be loaded; the text still names the tone.
    EXPECT_EQ(engine->status(), "Played Funk");
    EXPECT_EQ(MicCheckEngine::defaultTakePath(), QDir::temp().filePath("pavlet-mic-check.m4a"));
}

} // namespace
