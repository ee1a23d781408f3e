#include "scene/Camera.h"

#include "app/Settings.h"
#include "scene/GlmExpectations.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

using glm_expectations::near;
using Plane = ViewFrustum::Plane;

namespace {

const glm::mat4 identity(1.0f);

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        windowWidth = 1280;
        windowHeight = 720;
    }
    void TearDown() override
    {
        windowWidth = savedWidth;
        windowHeight = savedHeight;
    }

    const int savedWidth = windowWidth;
    const int savedHeight = windowHeight;
};

bool sees(const Camera& camera, float x, float y, float z, float radius)
{
    return camera.frustum->isSphereVisible(glm::vec3(x, y, z), radius);
}

float aspectOf(const glm::mat4& projection)
{
    return projection[1][1] / projection[0][0];
}

} // namespace

TEST_F(CameraTest, ProjectionIsTheOpenGLPerspective)
{
    Camera camera;
    const glm::mat4& p = *camera.projectionMatrix;
    const float f = 1.0f / std::tan(glm::radians(25.0f));
    EXPECT_NEAR(p[0][0], f / (1280.0f / 720.0f), 1e-5f);
    EXPECT_NEAR(p[1][1], f, 1e-5f);
    EXPECT_NEAR(p[2][2], -181.0f / 179.0f, 1e-5f);
    EXPECT_EQ(p[2][3], -1.0f);
    EXPECT_NEAR(p[3][2], -360.0f / 179.0f, 1e-5f);
    EXPECT_EQ(p[3][3], 0.0f);
}

TEST_F(CameraTest, AspectFollowsTheWindowSize)
{
    Camera wide;
    EXPECT_NEAR(aspectOf(*wide.projectionMatrix), 1280.0f / 720.0f, 1e-5f);

    windowWidth = 1000;
    windowHeight = 1000;
    Camera square;
    EXPECT_NEAR(aspectOf(*square.projectionMatrix), 1.0f, 1e-6f);

    wide.setupProjection();
    EXPECT_NEAR(aspectOf(*wide.projectionMatrix), 1.0f, 1e-6f);
    // The frustum is rebuilt for the new size too: its far corners move in.
    const float farHalfHeight = 180.0f * std::tan(glm::radians(25.0f));
    EXPECT_NEAR(wide.frustum->boundingRadius(),
                std::sqrt(2.0f * farHalfHeight * farHalfHeight + 180.0f * 180.0f), 1e-3f);
}

TEST_F(CameraTest, LocalFrustumMatchesTheProjection)
{
    Camera camera;
    const ViewFrustum& frustum = *camera.frustum;
    EXPECT_EQ(frustum.localEye(), glm::vec3(0.0f));
    EXPECT_EQ(frustum.localNearCentre(), glm::vec3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(frustum.localFarCentre(), glm::vec3(0.0f, 0.0f, -180.0f));
    EXPECT_EQ(frustum.localCentre(), glm::vec3(0.0f, 0.0f, -90.5f));

    const float farHalfHeight = 180.0f * std::tan(glm::radians(25.0f));
    const float farHalfWidth = farHalfHeight * 1280.0f / 720.0f;
    EXPECT_NEAR(frustum.boundingRadius(),
                std::sqrt(farHalfWidth * farHalfWidth + farHalfHeight * farHalfHeight +
                          180.0f * 180.0f),
                1e-3f);

    // Each side plane holds the eye and the matching edge of the far plane.
    EXPECT_NEAR(glm::dot(frustum.localNormal(Plane::Right),
                         glm::vec3(farHalfWidth, 0.0f, -180.0f)), 0.0f, 1e-3f);
    EXPECT_NEAR(glm::dot(frustum.localNormal(Plane::Left),
                         glm::vec3(-farHalfWidth, 0.0f, -180.0f)), 0.0f, 1e-3f);
    EXPECT_NEAR(glm::dot(frustum.localNormal(Plane::Top),
                         glm::vec3(0.0f, farHalfHeight, -180.0f)), 0.0f, 1e-3f);
    EXPECT_NEAR(glm::dot(frustum.localNormal(Plane::Bottom),
                         glm::vec3(0.0f, -farHalfHeight, -180.0f)), 0.0f, 1e-3f);
    EXPECT_EQ(frustum.localNormal(Plane::Near), glm::vec3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(frustum.localNormal(Plane::Far), glm::vec3(0.0f, 0.0f, 1.0f));
    for (Plane plane : {Plane::Right, Plane::Left, Plane::Top, Plane::Bottom}) {
        const glm::vec3& normal = frustum.localNormal(plane);
        EXPECT_NEAR(glm::length(normal), 1.0f, 1e-6f);
        EXPECT_GT(glm::dot(normal, frustum.localCentre()), 0.0f) << "normals point inwards";
    }
}

TEST(ViewFrustum, WorldNormalsStayUnitLengthUnderAScaledOwner)
{
    // A light's shadow frustum: square and wide.
    ViewFrustum frustum(120.0f, 1.0f, 5.0f, 80.0f);
    EXPECT_EQ(frustum.localCentre(), glm::vec3(0.0f, 0.0f, -42.5f));

    const glm::mat4 model = glm::scale(identity, glm::vec3(2.0f, 2.0f, 2.0f));
    frustum.update(model, glm::mat3(glm::transpose(glm::inverse(model))));
    for (Plane plane : {Plane::Right, Plane::Left, Plane::Near, Plane::Far, Plane::Top,
                        Plane::Bottom}) {
        EXPECT_NEAR(glm::length(frustum.worldNormal(plane)), 1.0f, 1e-6f);
    }
    EXPECT_TRUE(near(frustum.worldFarCentre(), glm::vec3(0.0f, 0.0f, -160.0f)));
}

TEST_F(CameraTest, CameraAtTheOriginSeesBetweenNearAndFarAhead)
{
    Camera camera;
    camera.setTransform(identity, identity);

    EXPECT_TRUE(sees(camera, 0.0f, 0.0f, -10.0f, 0.5f));
    EXPECT_FALSE(sees(camera, 0.0f, 0.0f, 10.0f, 0.5f)) << "behind the eye";
    EXPECT_FALSE(sees(camera, 0.0f, 0.0f, -181.0f, 0.5f)) << "beyond the far plane";
    EXPECT_TRUE(sees(camera, 0.0f, 0.0f, -181.0f, 2.0f)) << "reaches over the far plane";
    EXPECT_TRUE(sees(camera, 0.0f, 0.0f, -181.0f, 1.0f)) << "touching from outside";
    EXPECT_FALSE(sees(camera, 0.0f, 0.0f, -0.5f, 0.4f)) << "between eye and near plane";
    EXPECT_FALSE(sees(camera, 50.0f, 0.0f, -10.0f, 0.5f)) << "off to the right";
    EXPECT_FALSE(sees(camera, -50.0f, 0.0f, -10.0f, 0.5f)) << "off to the left";
    EXPECT_FALSE(sees(camera, 0.0f, 50.0f, -10.0f, 0.5f)) << "above";
    EXPECT_FALSE(sees(camera, 0.0f, -50.0f, -10.0f, 0.5f)) << "below";
    // Wider than high: the same offset is in view sideways but not upwards.
    EXPECT_TRUE(sees(camera, 7.0f, 0.0f, -10.0f, 0.1f));
    EXPECT_FALSE(sees(camera, 0.0f, 7.0f, -10.0f, 0.1f));

    const BoundingSphere ahead(glm::vec3(0.0f, 0.0f, -10.0f), 0.5f);
    EXPECT_TRUE(camera.frustum->isSphereVisible(ahead));
}

TEST_F(CameraTest, FarAwaySpheresFailBeforeThePlanes)
{
    Camera camera;
    camera.setTransform(identity, identity);
    const ViewFrustum& frustum = *camera.frustum;

    // Outside the right and top planes by less than its radius, so the planes
    // alone would keep it; only the distance pre-test rejects it.
    const glm::vec3 centre(400.0f, 300.0f, -170.0f);
    const float radius = 230.0f;
    for (Plane plane : {Plane::Right, Plane::Left, Plane::Top, Plane::Bottom}) {
        ASSERT_GE(glm::dot(frustum.worldNormal(plane), centre - frustum.worldEye()), -radius);
    }
    ASSERT_GE(glm::dot(frustum.worldNormal(Plane::Near), centre - frustum.worldNearCentre()),
              -radius);
    ASSERT_GE(glm::dot(frustum.worldNormal(Plane::Far), centre - frustum.worldFarCentre()),
              -radius);
    EXPECT_FALSE(frustum.isSphereVisible(centre, radius));
}

TEST_F(CameraTest, VerdictsMoveWithTheCamera)
{
    Camera camera;
    camera.translate(100.0f, 0.0f, 0.0f);
    camera.rotateY(90.0f); // now looking along world -X

    EXPECT_TRUE(near(camera.frustum->worldEye(), glm::vec3(100.0f, 0.0f, 0.0f)));
    EXPECT_TRUE(sees(camera, 90.0f, 0.0f, 0.0f, 0.5f));
    EXPECT_FALSE(sees(camera, 110.0f, 0.0f, 0.0f, 0.5f));
    EXPECT_FALSE(sees(camera, 100.0f, 0.0f, -10.0f, 0.5f)) << "what was ahead is now beside";
    EXPECT_FALSE(sees(camera, -81.0f, 0.0f, 0.0f, 0.5f));
    EXPECT_TRUE(sees(camera, -79.0f, 0.0f, 0.0f, 0.5f));

    // Matrices given directly refresh the frustum the same way, and leave the
    // previous-frame matrices for motion blur.
    camera.storePreviousTransform();
    const glm::mat4 previous = *camera.previousModelMatrix;
    const glm::mat4 model = glm::translate(identity, glm::vec3(0.0f, 0.0f, 50.0f));
    camera.setTransform(model, glm::inverse(model));
    EXPECT_TRUE(sees(camera, 0.0f, 0.0f, 10.0f, 0.5f));
    EXPECT_FALSE(sees(camera, 90.0f, 0.0f, 0.0f, 0.5f));
    EXPECT_EQ(*camera.previousModelMatrix, previous);
}

TEST_F(CameraTest, SetupProjectionClearsTheWorldPartUntilTheNextMove)
{
    Camera camera;
    camera.translate(5.0f, 6.0f, 7.0f);
    ViewFrustum* const frustum = camera.frustum;

    camera.setupProjection();
    EXPECT_EQ(camera.frustum, frustum) << "rebuilt in place";
    EXPECT_EQ(frustum->worldEye(), glm::vec3(0.0f));
    EXPECT_EQ(frustum->worldNearCentre(), glm::vec3(0.0f));
    EXPECT_EQ(frustum->worldFarCentre(), glm::vec3(0.0f));
    EXPECT_EQ(frustum->worldCentre(), glm::vec3(0.0f));
    EXPECT_EQ(frustum->worldNormal(Plane::Right), glm::vec3(0.0f));
    EXPECT_EQ(frustum->worldNormal(Plane::Bottom), glm::vec3(0.0f));

    camera.translate(0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(near(frustum->worldEye(), glm::vec3(5.0f, 6.0f, 7.0f)));
    EXPECT_TRUE(near(frustum->worldNormal(Plane::Near), glm::vec3(0.0f, 0.0f, -1.0f)));
    EXPECT_TRUE(sees(camera, 5.0f, 6.0f, -3.0f, 0.5f));
}
