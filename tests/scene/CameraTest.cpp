#include "scene/Camera.h"

#include "scene/GlmExpectations.h"
#include "settings/Settings.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <initializer_list>

using glm_expectations::near;

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

TEST_F(CameraTest, CameraAtTheOriginSeesAheadAndASphereOnAnEdgeCountsAsInside)
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
    // The quick test against the frustum's bounding sphere rejects only what
    // lies wholly outside it: a sphere on the far plane that reaches past it
    // is inside, one just beyond it is not.
    const ViewFrustum& frustum = *camera.frustum;
    const glm::vec3 farCentre = frustum.worldFarCentre();
    const float reach = frustum.boundingRadius() - glm::length(farCentre - frustum.worldCentre()) + 0.5f;
    const glm::vec3 beyond = frustum.worldCentre() + glm::vec3(0.0f, 0.0f, -frustum.boundingRadius() - 1.5f);
    expectVerdicts(camera, {{farCentre, reach, true, "on the far plane, reaching past the bounding sphere"},
                            {beyond, 1.0f, false, "just beyond the bounding sphere"}});
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
