#include "core/keycodes.h"
#include "platform/linux/x11keypositions.h"

#include <gtest/gtest.h>

TEST(X11KeyPositionsTest, KeyCodesFollowKeyPositions)
{
    const std::pair<quint32, int> cases[] = {
        {9, KeyCode::Escape}, {42, KeyCode::G}, {38, KeyCode::A}, {24, KeyCode::Q},
        {65, KeyCode::Space}, {36, KeyCode::Return}, {22, KeyCode::Delete}, {113, KeyCode::LeftArrow},
        {114, KeyCode::RightArrow}, {111, KeyCode::UpArrow}, {116, KeyCode::DownArrow},
        {19, KeyCode::Digit0}, {90, KeyCode::Keypad0}, {104, KeyCode::KeypadEnter}, {5000, KeyCode::Unknown},
    };
    for (const auto &[x, mac] : cases)
        EXPECT_EQ(platform::X11KeyPositions::fromX11(x), mac) << x;
}
