#include "island/islandtypes.h"

#include <gtest/gtest.h>

TEST(IslandTypesTest, StatesCompareByOrder)
{
    EXPECT_TRUE(Island::isClosed(NotchState::hud));
    EXPECT_FALSE(Island::isClosed(NotchState::home));
    EXPECT_TRUE(Island::atMostHome(NotchState::hud));
    EXPECT_TRUE(Island::atMostHome(NotchState::home));
    EXPECT_FALSE(Island::atMostHome(NotchState::canvas));
    EXPECT_TRUE(Island::fromHomeOn(NotchState::update));
    EXPECT_FALSE(Island::fromHomeOn(NotchState::hover));
}

TEST(IslandTypesTest, EditorRawValuesRoundTripAndUnknownTextsGiveNone)
{
    for (auto p : Island::allEditPreviews())
        EXPECT_EQ(Island::editPreviewFromRaw(Island::rawValue(p)), p);
    EXPECT_EQ(Island::editPhaseFromRaw("expanded"), IslandEditPhase::expanded);
    EXPECT_EQ(Island::editPhaseFromRaw("Hang"), std::nullopt);
    EXPECT_EQ(Island::editPreviewFromRaw(""), std::nullopt);
    EXPECT_EQ(Island::chipTitle(IslandEditPreview::ambient), "Ambient");
}
