#include "homeviewtest.h"

#include "home/homemodel.h"
#include "support/itemtree.h"
#include "support/patience.h"

#include <QPointer>
#include <QRandomGenerator>
#include <QThread>

// Home's card list in the island, over an event loop that stalls the way a
// busy machine does: every card in its place at full opacity once the list
// settles, after every opening and every change in edit mode.
class HomeCardListTest : public HomeScreenshotTest {
protected:
    // The event loop with random stalls of up to 30 ms between turns.
    void busy(int ms)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < ms)
            stall();
    }
    void stall()
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(random.bounded(30));
        const qint64 now = clockTime.elapsed();
        scheduler->advance(now - stepped);
        stepped = now;
    }
    QStringList settledFaults(QQuickItem *root)
    {
        return ItemTree::waitForHomeCards(root, 5000, [this] { stall(); });
    }
    QQuickItem *showIsland()
    {
        clockTime.start();
        QQuickItem *island = show(QStringLiteral("notch/NotchIsland.qml"), {428, 620});
        if (island)
            window->setColor(Qt::black);
        return island;
    }
    int visibleCount()
    {
        HomeModel home;
        home.setModel(model.get());
        home.setParts(homeParts.get());
        return int(home.visibleModules().size());
    }
    void playing(const QString &title)
    {
        auto track = FakeMediaPlayers::player(QStringLiteral("spotify"), title, QStringLiteral("Playing"),
                                              QStringLiteral("M83"));
        fakes->players.set(track);
    }

    QRandomGenerator random{26};
    QElapsedTimer clockTime;
    qint64 stepped = 0;
};

struct Opening {
    const char *name;
    QStringList modules; // empty: every module
};

class HomeOpeningTest : public HomeCardListTest, public testing::WithParamInterface<Opening> {};

TEST_P(HomeOpeningTest, EveryCardInPlaceAfterEveryOpening)
{
    fakes->permissionBackend.calendar = platform::IPermissionBackend::CalendarAccess::FullAccess;
    fakes->permissionBackend.location = platform::IPermissionBackend::LocationAccess::AuthorizedWhenInUse;
    if (!GetParam().modules.isEmpty())
        showOnly(GetParam().modules);
    else
        fakes->settings.setDisabledModules(QString());
    make();
    model->start();
    QQuickItem *island = showIsland();
    ASSERT_TRUE(island);
    for (int round = 0; round < 8; ++round) {
        // The first opening comes from hover before it has come to rest,
        // so before any Home is made there.
        if (round == 0) {
            model->setState(Island::NotchState::hover);
            stall();
        }
        model->openHome();
        busy(20 + 15 * (round % 3));
        // Readings land while the cards load: a track comes and goes, so the
        // player card changes height above the others.
        if (round % 2 == 0)
            playing(QStringLiteral("Midnight City %1").arg(round));
        else
            fakes->players.remove(QStringLiteral("spotify"));
        model->tick();
        const QStringList faults = settledFaults(island);
        EXPECT_TRUE(faults.isEmpty()) << GetParam().name << ", opening " << round + 1 << ":\n"
                                      << faults.join('\n').toStdString();
        EXPECT_EQ(ItemTree::homeCards(island).size(), visibleCount()) << "opening " << round + 1;
        Screenshots::save(window->grabWindow(), outDir,
                          QStringLiteral("home-opening-%1-%2").arg(QLatin1String(GetParam().name)).arg(round + 1));
        model->collapse();
        busy(300);
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, HomeOpeningTest,
                         testing::Values(Opening{"default", {"player", "timer", "clocks", "weather", "bluetooth", "games", "pocket"}},
                                         Opening{"every", {}}),
                         [](const auto &info) { return std::string(info.param.name); });

// The Home made while the island hovers is the one that opens; hovering
// away drops it, and once Home has shown, hovering makes none.
TEST_F(HomeCardListTest, HomeMadeWhileHoveringIsTheOneThatOpens)
{
    make();
    model->start();
    QQuickItem *island = showIsland();
    ASSERT_TRUE(island);
    // Views are destroyed later, from the event loop.
    auto homes = [&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return ItemTree::all(island, "HomePanel");
    };

    // Made once the hover view has come to rest.
    auto madeAhead = [&] {
        QElapsedTimer waited;
        waited.start();
        while (homes().isEmpty() && waited.elapsed() < 5000)
            stall();
        return homes().size() == 1;
    };
    model->setState(Island::NotchState::hover);
    ASSERT_TRUE(madeAhead());
    EXPECT_EQ(ItemTree::effectiveOpacity(homes().first()), 0.0);
    model->collapse();
    busy(400);
    EXPECT_TRUE(homes().isEmpty());

    model->setState(Island::NotchState::hover);
    ASSERT_TRUE(madeAhead());
    QPointer<QQuickItem> made = homes().first();
    model->openHome();
    const QStringList faults = settledFaults(island);
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
    ASSERT_EQ(homes().size(), 1);
    EXPECT_EQ(homes().first(), made.data());
    EXPECT_EQ(ItemTree::homeCards(island).size(), visibleCount());

    model->collapse();
    busy(400);
    model->setState(Island::NotchState::hover);
    busy(1500);
    EXPECT_TRUE(homes().isEmpty());
}

// Edit mode's changes: each animates (some card is drawn away from its place
// or faint just after it) and then settles with every card in place.
TEST_F(HomeCardListTest, EditModeChangesAnimateAndSettle)
{
    // Every header icon too: the strip scrolls in edit mode.
    showOnly({"player", "timer", "clocks", "system", "notes", "youtube", "spotify", "compress", "micCheck", "mirror",
              "findMy", "games", "calculator", "pocket", "gameMode", "voice", "translator", "canvas"});
    make();
    model->tick();
    QQuickItem *island = showIsland();
    ASSERT_TRUE(island);
    model->openHome();
    ASSERT_TRUE(settledFaults(island).isEmpty());
    model->setEditingModules(true);
    ASSERT_TRUE(settledFaults(island).isEmpty());

    struct Step {
        const char *name;
        std::function<void(AppSettings &)> change;
        int cards;
    };
    const std::vector<Step> steps = {
        {"add from the tray", [](AppSettings &s) { s.setModule(HomeModule::quote, true); }, 10},
        {"add a second", [](AppSettings &s) { s.setModule(HomeModule::awake, true); }, 11},
        {"move the last to the top", [](AppSettings &s) { s.moveModule(QStringLiteral("awake"), 0); }, 11},
        {"remove one", [](AppSettings &s) { s.setModule(HomeModule::timer, false); }, 10},
        {"leave edit mode", [this](AppSettings &) { model->setEditingModules(false); }, 10},
    };
    for (const Step &step : steps) {
        step.change(fakes->settings);
        auto movingNow = [&] {
            for (QQuickItem *card : ItemTree::homeCards(island)) {
                if (std::abs(card->property("shift").toDouble()) > 0.5 || card->property("fade").toDouble() < 0.99)
                    return true;
            }
            return false;
        };
        // A card added is made between frames, later on a busy machine: the
        // animation clock stands still until it is there, so that no
        // animation runs past its end unseen.
        Patience::until([&] { return movingNow() || ItemTree::homeCards(island).size() == step.cards; }, 10000);
        // The first frames of the change, a frame's time apart whatever the
        // machine's load.
        bool moving = movingNow();
        for (int frame = 0; frame < 20 && !moving; ++frame) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            scheduler->advance(16);
            moving = movingNow();
        }
        stepped = clockTime.elapsed();
        EXPECT_TRUE(moving) << step.name << ": nothing animates";
        const QStringList faults = settledFaults(island);
        EXPECT_TRUE(faults.isEmpty()) << step.name << ":\n" << faults.join('\n').toStdString();
        EXPECT_EQ(ItemTree::homeCards(island).size(), step.cards) << step.name;
        Screenshots::save(window->grabWindow(), outDir, QStringLiteral("home-edit-%1").arg(&step - steps.data() + 1));
    }
}
