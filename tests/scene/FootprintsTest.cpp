#include "scene/Footprints.h"

#include <gtest/gtest.h>

namespace {

// An axis-aligned floor rectangle in the corner order of a box's footprint:
// (max x, max z), (min x, max z), (min x, min z), (max x, min z).
Footprint rectangle(float minX, float minZ, float maxX, float maxZ)
{
    return {glm::vec4(maxX, 0.0f, maxZ, 1.0f), glm::vec4(minX, 0.0f, maxZ, 1.0f), glm::vec4(minX, 0.0f, minZ, 1.0f),
            glm::vec4(maxX, 0.0f, minZ, 1.0f)};
}

} // namespace

TEST(Footprints, PointsOnEdgesAndCornersAreInsideAndHeightDoesNotMatter)
{
    const Footprint square = rectangle(0.0f, 0.0f, 2.0f, 2.0f);
    EXPECT_TRUE(pointInFootprint({1.0f, 0.0f, 1.0f, 1.0f}, square));
    EXPECT_TRUE(pointInFootprint({2.0f, 0.0f, 1.0f, 1.0f}, square)); // on an edge
    EXPECT_TRUE(pointInFootprint({0.0f, 0.0f, 0.0f, 1.0f}, square)); // on a corner
    EXPECT_FALSE(pointInFootprint({2.01f, 0.0f, 1.0f, 1.0f}, square));
    EXPECT_FALSE(pointInFootprint({1.0f, 0.0f, -0.01f, 1.0f}, square));
    // A footprint turned 45 degrees: its bounding square's corner is outside.
    const float h = 1.0f;
    const Footprint diamond = {glm::vec4(h, 0, 0, 1), glm::vec4(0, 0, h, 1), glm::vec4(-h, 0, 0, 1),
                               glm::vec4(0, 0, -h, 1)};
    EXPECT_TRUE(pointInFootprint({0.4f, 0.0f, 0.4f, 1.0f}, diamond));
    EXPECT_FALSE(pointInFootprint({0.9f, 0.0f, 0.9f, 1.0f}, diamond));
}

TEST(Footprints, TouchingAlongAnEdgeOverlapsButAPlusShapedCrossingDoesNot)
{
    const Footprint left = rectangle(0.0f, 0.0f, 2.0f, 2.0f);
    EXPECT_TRUE(footprintsOverlap(left, rectangle(2.0f, 0.5f, 4.0f, 1.5f)));  // shares an edge
    EXPECT_TRUE(footprintsOverlap(left, rectangle(1.0f, 1.0f, 3.0f, 3.0f)));  // corners inside
    EXPECT_TRUE(footprintsOverlap(rectangle(0.5f, 0.5f, 1.0f, 1.0f), left));  // one inside the other
    EXPECT_FALSE(footprintsOverlap(left, rectangle(2.1f, 0.0f, 4.0f, 2.0f))); // a gap
    // Long and thin across each other: no corner of either inside the other.
    EXPECT_FALSE(footprintsOverlap(rectangle(-5.0f, -0.5f, 5.0f, 0.5f), rectangle(-0.5f, -5.0f, 0.5f, 5.0f)));
}
