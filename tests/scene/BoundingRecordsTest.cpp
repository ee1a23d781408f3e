#include "scene/BoundingBox.h"
#include "scene/BoundingSphere.h"
#include "scene/SceneObject.h"

#include "scene/GlmExpectations.h"

#include <gtest/gtest.h>

using glm_expectations::near;

namespace {

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

} // namespace

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
