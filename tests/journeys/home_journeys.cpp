#include "journey.h"

#include "island/notchviewmodel.h"

#include <gtest/gtest.h>

namespace {

// Home opened again and again after fresh starts, with the five cards a new
// user has and with every module on: each time every card shows whole, at
// full opacity, in its place.
class HomeOpenings : public ::testing::TestWithParam<bool> {};

TEST_P(HomeOpenings, EveryCardInPlaceAfterEveryOpening)
{
    const bool everyModule = GetParam();
    int openings = 0;
    for (int start = 0; start < 2 && !HasFailure(); ++start) {
        Journey j({.everyModule = everyModule});
        ASSERT_TRUE(j.start());
        const int times = start == 0 ? 3 : 10;
        for (int i = 0; i < times && !HasFailure(); ++i) {
            walk(j, {
                {"open Home", [](Journey &j) { ASSERT_TRUE(j.openHome()); },
                 [](Journey &j) { EXPECT_GE(j.homeCards().size(), 3); }},
                {"close Home", [](Journey &j) { ASSERT_TRUE(j.collapse()); }},
            });
            ++openings;
        }
    }
    std::printf("Home opened %d times with %s, every card in place\n", openings,
                everyModule ? "every module" : "the default modules");
}

INSTANTIATE_TEST_SUITE_P(Modules, HomeOpenings, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "EveryModule" : "DefaultModules"; });

} // namespace
