#include "render/Level.h"

#include "assets/Mesh.h"
#include "render/Geometry.h"
#include "scene/RoomLayout.h"

#include "scene/GlmExpectations.h"

#include <gtest/gtest.h>

using glm_expectations::near;

TEST(Level, RoomMaterialIsGreyWithATightHighlight)
{
    Level level;
    ASSERT_NE(level.room, nullptr);
    EXPECT_TRUE(level.room->materialColors.empty()) << "content loading applies the material";

    level.applyRoomMaterial();
    const auto& colours = level.room->materialColors;
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_TRUE(near(colours.at(Geometry::diffuseColor), glm::vec3(0.6f)));
    EXPECT_TRUE(near(colours.at(Geometry::specularColor), glm::vec3(0.3f)));
    EXPECT_TRUE(near(colours.at(Geometry::ambientColor), glm::vec3(0.1f)));
    EXPECT_FLOAT_EQ(level.room->shininess, 150.0f);
}

TEST(Level, StartPositionsAreFilledByContentLoadingAndReadByPlayerIndex)
{
    Level level;
    EXPECT_TRUE(level.startPositions.empty());
    level.startPositions.assign(roomLayout::carStarts.begin(), roomLayout::carStarts.end());
    // Player 1 starts from entry 0, player 2 from entry 1.
    EXPECT_TRUE(near(level.startPositions[0], roomLayout::carStarts[0]));
    EXPECT_TRUE(near(level.startPositions[1], roomLayout::carStarts[1]));
}
