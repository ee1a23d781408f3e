#include "scene/Camera.h"

#include "scene/GlmExpectations.h"
#include "settings/Settings.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <initializer_list>

using glm_expectations::near;
using Plane = ViewFrustum::Plane;

namespace {

const glm::mat4 identity(1.0f);

// A 1280 x 720 window while a test runs; the settings are put back afterwards.
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

struct Verdict {
    glm::vec3 centre;
    float radius;
    bool seen;
    const char* where;
};

void expectVerdicts(const Camera& camera, std::initializer_list<Verdict> verdicts)
{
    for (const Verdict& v : verdicts) {
        EXPECT_EQ(camera.frustum->isSphereVisible(v.centre, v.radius), v.seen)
            << v.where << ": centre " << glm::to_string(v.centre) << ", radius " << v.radius;
    }
}

} // namespace

TEST_F(CameraTest, CameraAtTheOriginSeesBetweenNearAndFarAhead)
{
    Camera camera;
    camera.setTransform(identity, identity);
    expectVerdicts(camera, {
                               {{0, 0, -10}, 0.5f, true, "ahead"},
                               {{0, 0, 10}, 0.5f, false, "behind the eye"},
                               {{0, 0, -181}, 0.5f, false, "beyond the far plane"},
                               {{0, 0, -181}, 2.0f, true, "reaching over the far plane"},
                               {{0, 0, -181}, 1.0f, true, "touching the far plane from outside"},
                               {{0, 0, -0.5f}, 0.4f, false, "between the eye and the near plane"},
                               {{50, 0, -10}, 0.5f, false, "off to the right"},
                               {{-50, 0, -10}, 0.5f, false, "off to the left"},
                               {{0, 50, -10}, 0.5f, false, "above"},
                               {{0, -50, -10}, 0.5f, false, "below"},
                               // Wider than high: the same offset is in view sideways but not upwards.
                               {{7, 0, -10}, 0.1f, true, "sideways"},
                               {{0, 7, -10}, 0.1f, false, "upwards"},
                           });
}

TEST_F(CameraTest, VerdictsMoveWithTheCamera)
{
    Camera camera;
    camera.translate(100.0f, 0.0f, 0.0f);
    camera.rotateY(90.0f); // now looking along world -X
    expectVerdicts(camera, {
                               {{90, 0, 0}, 0.5f, true, "ahead"},
                               {{110, 0, 0}, 0.5f, false, "behind"},
                               {{100, 0, -10}, 0.5f, false, "what was ahead is now beside"},
                               {{-79, 0, 0}, 0.5f, true, "just inside the far plane"},
                               {{-81, 0, 0}, 0.5f, false, "beyond the far plane"},
                           });
}

TEST_F(CameraTest, ResizedWindowChangesTheViewFromTheNextMove)
{
    Camera camera;
    camera.translate(0.0f, 0.0f, 0.0f);
    expectVerdicts(camera, {{{7, 0, -10}, 0.1f, true, "in the wide view"}});

    windowWidth = 1000;
    windowHeight = 1000;
    camera.setupProjection();
    const glm::mat4& projection = *camera.projectionMatrix;
    EXPECT_NEAR(projection[1][1] / projection[0][0], 1.0f, 1e-6f) << "aspect";
    // The frustum is rebuilt in place and carried into the world by the next move.
    camera.translate(0.0f, 0.0f, 0.0f);
    expectVerdicts(camera, {{{7, 0, -10}, 0.1f, false, "outside the square view"},
                            {{4, 0, -10}, 0.1f, true, "inside the square view"}});
}

TEST(ViewFrustum, WorldNormalsStayUnitLengthUnderAScaledOwner)
{
    ViewFrustum frustum(120.0f, 1.0f, 5.0f, 80.0f); // a light's shadow frustum: square and wide
    const glm::mat4 model = glm::scale(identity, glm::vec3(2.0f));
    frustum.update(model, glm::mat3(glm::transpose(glm::inverse(model))));
    for (Plane plane : {Plane::Right, Plane::Left, Plane::Near, Plane::Far, Plane::Top, Plane::Bottom}) {
        EXPECT_NEAR(glm::length(frustum.worldNormal(plane)), 1.0f, 1e-6f);
    }
    EXPECT_TRUE(near(frustum.worldFarCentre(), glm::vec3(0.0f, 0.0f, -160.0f)));
}
