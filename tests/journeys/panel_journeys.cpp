#include "journey.h"

#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "tools/calculatorengine.h"

#include <gtest/gtest.h>

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
             XInput::pause(400);
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
                      j.hands().type("12+30=");
                      XInput::pause(200);
                      EXPECT_EQ(j.island().calculator()->display(), "42");
                      j.click(j.text("7"));
                      XInput::pause(200);
                      EXPECT_EQ(j.island().calculator()->display(), "7");
                  }},
        PanelWalk{"Translator", State::translator,
                  [](Journey &j) {
                      // Nothing answers at the translator's address here.
                      j.hands().type("Bonjour");
                      XInput::pause(1500);
                  }},
        PanelWalk{"Pocket", State::pocket, nullptr},
        PanelWalk{"Voice memos", State::voice, nullptr},
        PanelWalk{"Canvas", State::canvas, nullptr},
        PanelWalk{"Mirror", State::mirror, nullptr},
        PanelWalk{"Games", State::games,
                  [](Journey &j) {
                      // The first game of the hub, a few keys, and back.
                      j.hands().key("Return");
                      XInput::pause(300);
                      j.hands().key("space");
                      j.hands().key("Left");
                      j.hands().key("Right");
                      XInput::pause(300);
                  }}),
    [](const auto &info) {
        QString name = QString::fromLatin1(info.param.title);
        name.remove(' ');
        return name.toStdString();
    });
