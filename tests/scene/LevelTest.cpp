#include "scene/Level.h"

#include "assets/Mesh.h"
#include "render/Geometry.h"

#include "scene/GlmExpectations.h"

#include <gtest/gtest.h>

using glm_expectations::near;

TEST(Level, StartsWithAnEmptyUnpreparedRoomAndNoPositions)
{
    Level level;

    ASSERT_NE(level.room, nullptr);
    EXPECT_FALSE(level.room->prepared);
    EXPECT_TRUE(level.room->mesh->vertices.empty());
    EXPECT_TRUE(level.room->materialColors.empty());
    EXPECT_FLOAT_EQ(level.room->shininess, 50.0f);
    EXPECT_TRUE(level.startPositions.empty());
    EXPECT_TRUE(level.lightPositions.empty());
}

TEST(Level, RoomMaterialIsGreyWithATightHighlight)
{
    Level level;

    level.applyRoomMaterial();

    const auto& colours = level.room->materialColors;
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_TRUE(near(colours.at(Geometry::diffuseColor), glm::vec3(0.6f)));
    EXPECT_TRUE(near(colours.at(Geometry::specularColor), glm::vec3(0.3f)));
    EXPECT_TRUE(near(colours.at(Geometry::ambientColor), glm::vec3(0.1f)));
    EXPECT_FLOAT_EQ(level.room->shininess, 150.0f);
}

TEST(Level, BothRoomsGetTheSameMaterial)
{
    Level full;
    Level reduced;

    full.applyRoomMaterial();
    reduced.applyRoomMaterial();

    EXPECT_EQ(full.room->materialColors, reduced.room->materialColors);
    EXPECT_EQ(full.room->shininess, reduced.room->shininess);
    EXPECT_NE(full.room, reduced.room);
}

TEST(Level, StartPositionsAreReadByPlayerIndex)
{
    Level level;
    level.startPositions = {{10.0f, -0.1f, 15.0f}, {15.0f, 0.22f, 15.0f}};
    level.lightPositions = {{0.0f, 48.0f, 5.0f}, {-35.0f, 29.0f, -50.0f}, {-35.0f, 30.0f, 45.0f}};

    // Player 1 starts from entry 0, player 2 from entry 1.
    EXPECT_TRUE(near(level.startPositions[0], glm::vec3(10.0f, -0.1f, 15.0f)));
    EXPECT_TRUE(near(level.startPositions[1], glm::vec3(15.0f, 0.22f, 15.0f)));
    EXPECT_TRUE(near(level.lightPositions[2], glm::vec3(-35.0f, 30.0f, 45.0f)));
}
