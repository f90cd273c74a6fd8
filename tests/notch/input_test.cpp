#include "core/keycodes.h"
#include "core/keyinput.h"
#include "fakes/fakescreens.h"
#include "island/pointerpoll.h"
#include "notch/gamemodehotkeycenter.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using Action = PointerPoll::Action;

TEST(PointerPollTest, OnlyChangesReachTheIsland)
{
    PointerPoll p;
    EXPECT_EQ(p.poll(false, NotchState::collapsed, PendingHover::none), Action::nothing);
    EXPECT_EQ(p.poll(true, NotchState::collapsed, PendingHover::none), Action::entered);
    EXPECT_EQ(p.poll(true, NotchState::collapsed, PendingHover::entry), Action::nothing);
    EXPECT_EQ(p.poll(false, NotchState::hover, PendingHover::none), Action::exited);
    EXPECT_EQ(p.poll(false, NotchState::hover, PendingHover::exit), Action::nothing);
}

TEST(PointerPollTest, RestingInsideCancelsAPendingCloseButNeverAPendingOpen)
{
    PointerPoll p;
    // The HUD is showing; the pointer comes in and the 30 ms open is pending.
    EXPECT_EQ(p.poll(true, NotchState::hud, PendingHover::none), Action::entered);
    EXPECT_EQ(p.poll(true, NotchState::hud, PendingHover::entry), Action::nothing);
    EXPECT_EQ(p.poll(true, NotchState::hover, PendingHover::entry), Action::nothing);
    // Out and back in before the close fires: the close is void.
    EXPECT_EQ(p.poll(true, NotchState::home, PendingHover::exit), Action::cancelPendingExit);
    // Collapsed: nothing to keep open.
    EXPECT_EQ(p.poll(true, NotchState::collapsed, PendingHover::exit), Action::nothing);
}

TEST(ClickDeduperTest, EachPressCountsOnceWhicheverRouteReportsItFirst)
{
    // Reports as they arrive: time, came through the window; and whether
    // each one is a new press.
    struct Report {
        qint64 time;
        bool local;
        bool counts;
    };
    const struct {
        const char *name;
        std::vector<Report> reports;
    } cases[] = {
        {"same stamp", {{100, true, true}, {100, false, false}}},
        {"monitor first", {{100, false, true}, {100, true, false}}},
        // The server stamps the two reports of one press apart at times.
        {"window a millisecond later", {{100, false, true}, {101, true, false}}},
        {"window a millisecond earlier", {{101, true, true}, {100, false, false}}},
        {"a fast double click",
         {{100, true, true}, {100, false, false}, {180, true, true}, {181, false, false}}},
        {"a fast double click, routes out of step",
         {{100, true, true}, {112, true, true}, {101, false, false}, {113, false, false}}},
        {"clicks elsewhere, then one on the island",
         {{100, false, true}, {700, false, true}, {1300, false, true}, {1301, true, false}}},
        {"one route twice", {{100, false, true}, {100, false, true}}},
        {"routes far apart", {{100, true, true}, {400, false, true}}},
    };
    for (const auto &c : cases) {
        ClickDeduper d;
        for (size_t i = 0; i < c.reports.size(); ++i)
            EXPECT_EQ(d.accept(c.reports[i].time, c.reports[i].local), c.reports[i].counts)
                << c.name << ", report " << i;
    }
}

TEST(KeyInputTest, ChordNeedsControlAndOptionWithoutCommand)
{
    auto key = [](int qtKey, Qt::KeyboardModifiers mods) {
        QKeyEvent e(QEvent::KeyPress, qtKey, mods);
        return KeyInput::fromEvent(e);
    };
    EXPECT_TRUE(key(Qt::Key_G, Qt::ControlModifier | Qt::AltModifier).isGameModeChord());
    EXPECT_TRUE(key(Qt::Key_G, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier).isGameModeChord());
    EXPECT_FALSE(key(Qt::Key_G, Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier).isGameModeChord());
    EXPECT_FALSE(key(Qt::Key_G, Qt::ControlModifier).isGameModeChord());
    EXPECT_FALSE(key(Qt::Key_H, Qt::ControlModifier | Qt::AltModifier).isGameModeChord());
    EXPECT_EQ(key(Qt::Key_Escape, Qt::NoModifier).keyCode, KeyCode::Escape);
    EXPECT_TRUE(key(Qt::Key_C, Qt::ControlModifier).commandLike());
}

// As X sends a held key: its repeats are a release and a press of the same
// moment, which Qt marks only when it finds both queued together.
TEST(KeyInputTest, ARepeatIsAReleaseAndAPressOfTheSameMoment)
{
    KeyRepeats repeats;
    auto event = [&](QEvent::Type type, quint64 at, int key = Qt::Key_Space, quint32 scan = 65, bool flagged = false) {
        QKeyEvent e(type, key, Qt::NoModifier, scan, 0, 0, QString(), flagged);
        e.setTimestamp(at);
        return repeats.isRepeat(e);
    };
    EXPECT_FALSE(event(QEvent::KeyPress, 1000));
    EXPECT_FALSE(event(QEvent::KeyRelease, 1500));
    EXPECT_TRUE(event(QEvent::KeyPress, 1500)) << "the X server's repeat";
    EXPECT_FALSE(event(QEvent::KeyRelease, 1540));
    EXPECT_FALSE(event(QEvent::KeyPress, 1541)) << "let go and pressed again";
    EXPECT_TRUE(event(QEvent::KeyPress, 1700, Qt::Key_Space, 65, true)) << "one Qt found";
    event(QEvent::KeyRelease, 2000);
    EXPECT_FALSE(event(QEvent::KeyPress, 2000, Qt::Key_Up, 111)) << "another key at the same moment";
    EXPECT_FALSE(event(QEvent::KeyPress, 2000)) << "a release answers one press only";
    event(QEvent::KeyRelease, 0);
    EXPECT_FALSE(event(QEvent::KeyPress, 0)) << "no time: sent by the program itself";
}

TEST(GameModeHotkeyCenterTest, RegisterTwiceHoldsOneGrab)
{
    FakeGlobalHotkey key;
    GameModeHotkeyCenter center(&key);
    center.registerHotkey();
    center.registerHotkey();
    EXPECT_EQ(key.installs, 1);
    EXPECT_EQ(key.grabs, 1);
    EXPECT_TRUE(center.isRegistered());
}

TEST(GameModeHotkeyCenterTest, AFailedGrabRemovesTheHandlerAndTheNextCallTriesAgain)
{
    FakeGlobalHotkey key;
    key.grabWorks = false;
    GameModeHotkeyCenter center(&key);
    center.registerHotkey();
    EXPECT_FALSE(center.isRegistered());
    EXPECT_FALSE(key.handler);
    key.grabWorks = true;
    center.registerHotkey();
    EXPECT_TRUE(center.isRegistered());
    EXPECT_EQ(key.grabs, 2);
}

TEST(GameModeHotkeyCenterTest, PressesArriveLaterAndStopWithUnregister)
{
    FakeGlobalHotkey key;
    GameModeHotkeyCenter center(&key);
    QSignalSpy presses(&center, &GameModeHotkeyCenter::pressed);
    center.unregisterHotkey(); // without a registration: only disarms
    EXPECT_EQ(key.installs, 0);

    center.registerHotkey();
    key.press();
    EXPECT_EQ(presses.count(), 0); // never straight from the key handler
    QCoreApplication::processEvents();
    EXPECT_EQ(presses.count(), 1);

    center.unregisterHotkey();
    EXPECT_FALSE(key.grabbed);
    EXPECT_FALSE(key.handler);
    emit key.pressed(); // a press that was already on its way
    QCoreApplication::processEvents();
    EXPECT_EQ(presses.count(), 1);
}
