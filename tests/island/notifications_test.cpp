#include "support/islandtest.h"
#include "support/signaltally.h"

#include "home/homemodel.h"
#include "island/islandlook.h"
#include "media/voicememoengine.h"
#include "services/timerstore.h"

#include <QColor>
#include <QCoreApplication>

// What the island's views hear while something runs: the model, its look and
// the Home panel's model announce only what changed.
class NotificationsTest : public IslandTest {
protected:
    using Counts = std::map<std::string, int>;

    void SetUp() override
    {
        IslandTest::SetUp();
        make();
        home.setModel(model.get());
        home.setParts(homeParts.get());
        tally.watch(model.get(), QStringLiteral("model"));
        tally.watch(model->look(), QStringLiteral("look"));
        tally.watch(&home, QStringLiteral("home"));
        tally.watch(model->voice(), QStringLiteral("voice"));
        QCoreApplication::processEvents();
        tally.clear();
    }
    // What the island's side announced: the model, its look and Home's.
    Counts island() const
    {
        Counts out = tally.counts(QStringLiteral("model."));
        out.merge(tally.counts(QStringLiteral("look.")));
        out.merge(tally.counts(QStringLiteral("home.")));
        return out;
    }

    HomeModel home;
    SignalTally tally;
};

TEST_F(NotificationsTest, ARunningTimerReachesOnlyItsText)
{
    // Starting it shows it in the closed island: its glow, its mark beside
    // the notch and its text.
    model->timer()->start();
    EXPECT_EQ(island(), (Counts{{"look.compactChanged", 1},
                                {"look.glowChanged", 1},
                                {"look.hoverChanged", 1},
                                {"model.hasCollapsedSideContentChanged", 1},
                                {"model.liveActivityChanged", 1}}));

    // Then each second changes its text and nothing else.
    tally.clear();
    advance(10000);
    EXPECT_EQ(island(), (Counts{{"look.hoverChanged", 10}, {"model.liveActivityChanged", 10}}));
}

TEST_F(NotificationsTest, ATakesLevelsReachOnlyTheMeter)
{
    VoiceMemoEngine *voice = model->voice();
    voice->toggleRecord();
    fakes->recorder.answer(true);
    ASSERT_TRUE(voice->recording());
    // The strip's voice icon turns to the record dot.
    EXPECT_EQ(island(), (Counts{{"home.chromeIconsChanged", 1}}));

    tally.clear();
    for (int step = 1; step <= 5000 / VoiceMemoEngine::MeterIntervalMs; ++step) {
        fakes->recorder.time = step * VoiceMemoEngine::MeterIntervalMs / 1000.0;
        fakes->recorder.powerDb = -40 + (step % 8) * 4;
        advance(VoiceMemoEngine::MeterIntervalMs);
    }
    EXPECT_EQ(tally.counts(QStringLiteral("voice.levelChanged")), (Counts{{"voice.levelChanged", 62}}));
    EXPECT_EQ(island(), Counts{});
}

TEST_F(NotificationsTest, AnAccentPickIsNotTheIslandsBusiness)
{
    fakes->settings.setCustomAccent(QColor(200, 40, 90));
    QCoreApplication::processEvents();
    EXPECT_EQ(island(), Counts{});
}
