// Placed objects: their transforms, and the bounding records and floor
// footprints they carry into the world.
#include "scene/BoundingBox.h"
#include "scene/BoundingSphere.h"
#include "scene/Footprints.h"
#include "scene/SceneObject.h"

#include "scene/GlmExpectations.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

using glm_expectations::near;

namespace {

const glm::mat4 identity(1.0f);

// Stands in for the derived classes that keep state in step through the hook.
class CountingObject : public SceneObject {
public:
    void applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform) override
    {
        SceneObject::applyTransform(transform, inverseTransform);
        ++hookCalls;
    }

    int hookCalls = 0;
};

// Puts the frame time back after each test.
class SceneObjectTest : public ::testing::Test {
protected:
    void TearDown() override { deltaTime = savedDeltaTime; }

    double savedDeltaTime = deltaTime;
};

glm::vec3 position(const SceneObject& object)
{
    return glm::vec3((*object.modelMatrix)[3]);
}

glm::vec4 forward(const SceneObject& object)
{
    return *object.modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f);
}

// Keeps its records in world space the way geometry and stones do: in the hook.
class Owner : public SceneObject {
public:
    Owner(const BoundingSphere& sphere, const BoundingBox& box) : sphere(sphere), box(box) {}

    void applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform) override
    {
        SceneObject::applyTransform(transform, inverseTransform);
        updateFootprint(box, *modelMatrix);
        sphere.update(*modelMatrix);
    }

    BoundingSphere sphere;
    BoundingBox box;
};

const BoundingBox tallBox(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(-1.0f, 0.0f, -3.0f));

// An axis-aligned floor rectangle in the corner order of a box's footprint:
// (max x, max z), (min x, max z), (min x, min z), (max x, min z).
Footprint rectangle(float minX, float minZ, float maxX, float maxZ)
{
    return {glm::vec4(maxX, 0.0f, maxZ, 1.0f), glm::vec4(minX, 0.0f, maxZ, 1.0f), glm::vec4(minX, 0.0f, minZ, 1.0f),
            glm::vec4(maxX, 0.0f, minZ, 1.0f)};
}

} // namespace

TEST_F(SceneObjectTest, TransformationsActInTheObjectsOwnFrame)
{
    SceneObject object;
    object.translate(1.0f, 2.0f, 3.0f);
    object.rotateY(90.0f);
    EXPECT_TRUE(near(*object.modelMatrix * *object.inverseModelMatrix, identity));
    EXPECT_TRUE(near(position(object), glm::vec3(1.0f, 2.0f, 3.0f)));
    EXPECT_TRUE(near(forward(object), glm::vec4(-1.0f, 0.0f, 0.0f, 0.0f))) << "local -Z along world -X";

    // A step forward follows the heading, not the world axis.
    object.translate(0.0f, 0.0f, -1.0f);
    EXPECT_TRUE(near(position(object), glm::vec3(0.0f, 2.0f, 3.0f)));
    // Scaled after the turn, local (1, 0, 0) lands 2 units along world -Z.
    object.scale(2.0f, 3.0f, 4.0f);
    EXPECT_TRUE(near(glm::vec3(*object.modelMatrix * glm::vec4(1.0f, 0.0f, 0.0f, 1.0f)), glm::vec3(0.0f, 2.0f, 1.0f)));
    // The inverse stays exact through every kind of step.
    object.rotateX(30.0f);
    object.rotateZ(-75.0f);
    EXPECT_TRUE(near(*object.inverseModelMatrix, glm::inverse(*object.modelMatrix)));
}

TEST_F(SceneObjectTest, RatesAreScaledByTheFrameTimeAndEveryStepEndsInTheHook)
{
    CountingObject object;
    object.translate(4.0f, 5.0f, 6.0f);
    object.rotateY(20.0f);
    const glm::mat4 model = *object.modelMatrix;

    // Before the first frame there is no frame time: nothing moves, but the hook still runs.
    deltaTime = 0.0;
    object.translateOverTime(7.0f, 8.0f, 9.0f);
    object.rotateXOverTime(90.0f);
    object.rotateYOverTime(90.0f);
    object.rotateZOverTime(90.0f);
    EXPECT_EQ(*object.modelMatrix, model);
    EXPECT_EQ(object.hookCalls, 6);

    deltaTime = 0.5;
    object.resetTransform();
    object.translateOverTime(2.0f, 0.0f, -4.0f);
    EXPECT_TRUE(near(position(object), glm::vec3(1.0f, 0.0f, -2.0f)));
    object.rotateYOverTime(180.0f);
    EXPECT_TRUE(near(forward(object), glm::vec4(-1.0f, 0.0f, 0.0f, 0.0f)));
    object.rotateX(10.0f);
    object.rotateZ(10.0f);
    object.scale(2.0f, 2.0f, 2.0f);
    EXPECT_EQ(object.hookCalls, 11) << "reset is no transformation";
}

TEST(BoundingBox, FootprintIsTheGroundOutlineCarriedByTheOwner)
{
    BoundingBox box = tallBox;
    box.updateFootprint(glm::mat4(1.0f));
    EXPECT_EQ(box.footprint[0], glm::vec4(1.0f, 0.0f, 3.0f, 1.0f));
    EXPECT_EQ(box.footprint[1], glm::vec4(-1.0f, 0.0f, 3.0f, 1.0f));
    EXPECT_EQ(box.footprint[2], glm::vec4(-1.0f, 0.0f, -3.0f, 1.0f));
    EXPECT_EQ(box.footprint[3], glm::vec4(1.0f, 0.0f, -3.0f, 1.0f));

    // The box's own height is dropped, but the owner's lift is not.
    Owner owner(BoundingSphere(), tallBox);
    owner.translate(10.0f, 5.0f, 0.0f);
    EXPECT_TRUE(near(owner.box.footprint[0], glm::vec4(11.0f, 5.0f, 3.0f, 1.0f)));
    EXPECT_TRUE(near(owner.box.footprint[1], glm::vec4(9.0f, 5.0f, 3.0f, 1.0f)));
    EXPECT_TRUE(near(owner.box.footprint[2], glm::vec4(9.0f, 5.0f, -3.0f, 1.0f)));
    EXPECT_TRUE(near(owner.box.footprint[3], glm::vec4(11.0f, 5.0f, -3.0f, 1.0f)));

    // A turned owner turns the outline: c0 (1, 0, 3) swings round to (3, 0, -1).
    Owner turned(BoundingSphere(), tallBox);
    turned.rotateY(90.0f);
    EXPECT_TRUE(near(turned.box.footprint[0], glm::vec4(3.0f, 0.0f, -1.0f, 1.0f)));
}

TEST(BoundingSphere, WorldCentreFollowsTheOwnerButTheRadiusIsNotScaled)
{
    Owner owner(BoundingSphere(glm::vec3(0.0f, 1.0f, 0.0f), 2.0f), BoundingBox());
    owner.scale(3.0f, 3.0f, 3.0f);
    EXPECT_TRUE(near(owner.sphere.worldCentre, glm::vec3(0.0f, 3.0f, 0.0f)));
    EXPECT_EQ(owner.sphere.radius, 2.0f);

    owner.translate(1.0f, 0.0f, 0.0f); // in the scaled frame: 3 world units
    EXPECT_TRUE(near(owner.sphere.worldCentre, glm::vec3(3.0f, 3.0f, 0.0f)));
}

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
