#include "render/Light.h"

#include "scene/GlmExpectations.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <string>

using glm_expectations::near;

namespace {

// The blur program comes from the source tree, wherever the tests run from.
class SourceShaders {
public:
    SourceShaders() : previous(Light::shaderDirectory())
    {
        Light::setShaderDirectory(BRIMBOLT_SOURCE_DIR "/brimbolt/Shaders/");
    }
    ~SourceShaders() { Light::setShaderDirectory(previous); }
    SourceShaders(const SourceShaders&) = delete;
    SourceShaders& operator=(const SourceShaders&) = delete;

private:
    std::string previous;
};

// Texture coordinates and depth after the division by w.
glm::vec3 shadowMapPoint(const Light& light, const glm::vec3& world)
{
    const glm::vec4 mapped = light.textureMatrix() * glm::vec4(world, 1.0f);
    return glm::vec3(mapped) / mapped.w;
}

} // namespace

TEST(LightPlacement, ALightAtTheOriginMapsItsNearAndFarPlanesToDepthZeroAndOne)
{
    GL_TEST_SETUP(context);
    SourceShaders shaders;
    Light light(0.5f, 3.0f);
    EXPECT_TRUE(near(light.textureMatrix(), glm::mat4(1.0f))) << "identity until first placed";

    light.updateShadowMatrices();
    EXPECT_TRUE(near(light.position(), glm::vec3(0.0f)));
    EXPECT_TRUE(near(light.spotDirection(), glm::vec3(0.0f, 0.0f, -1.0f)));
    EXPECT_TRUE(near(shadowMapPoint(light, glm::vec3(0.0f, 0.0f, -5.0f)), glm::vec3(0.5f, 0.5f, 0.0f)));
    EXPECT_NEAR(shadowMapPoint(light, glm::vec3(0.0f, 0.0f, -80.0f)).z, 1.0f, 1e-5f);
    // q is the distance along the axis: the quantity the moments are stored in.
    EXPECT_NEAR((light.textureMatrix() * glm::vec4(0.0f, 0.0f, -30.0f, 1.0f)).w, 30.0f, 1e-4f);
}

TEST(LightPlacement, FarPlaneMovesTheTextureMatrixAndTheCullingVolumeTogether)
{
    GL_TEST_SETUP(context);
    SourceShaders shaders;
    Light light(0.5f, 3.0f);
    light.updateShadowMatrices();
    const glm::mat4 before = light.textureMatrix();
    const glm::vec3 sphereCentre(0.0f, 0.0f, -60.0f);
    ASSERT_TRUE(light.frustum().isSphereVisible(sphereCentre, 1.0f));

    light.setFarPlane(40.0f);

    EXPECT_EQ(light.farPlane(), 40.0f);
    EXPECT_EQ(light.nearPlane(), 5.0f);
    EXPECT_FALSE(near(light.textureMatrix(), before));
    EXPECT_NEAR(shadowMapPoint(light, glm::vec3(0.0f, 0.0f, -40.0f)).z, 1.0f, 1e-5f);
    EXPECT_FALSE(light.frustum().isSphereVisible(sphereCentre, 1.0f));
    EXPECT_TRUE(light.frustum().isSphereVisible(glm::vec3(0.0f, 0.0f, -30.0f), 1.0f));
}

TEST(LightPlacement, NearPlaneMovesDepthZero)
{
    GL_TEST_SETUP(context);
    SourceShaders shaders;
    Light light(0.5f, 3.0f);
    light.updateShadowMatrices();
    light.setNearPlane(10.0f);
    EXPECT_NEAR(shadowMapPoint(light, glm::vec3(0.0f, 0.0f, -10.0f)).z, 0.0f, 1e-5f);
    EXPECT_FALSE(light.frustum().isSphereVisible(glm::vec3(0.0f, 0.0f, -7.0f), 1.0f));
}

TEST(LightPlacement, AttachedLightSitsAtTheBonnetAndLooksDownThirtyDegrees)
{
    GL_TEST_SETUP(context);
    SourceShaders shaders;
    Light light(0.6f, 6.0f);
    light.attachTo(glm::mat4(1.0f));

    EXPECT_TRUE(near(light.position(), glm::vec3(0.0f, 0.5f, -1.3f)));
    EXPECT_TRUE(near(light.spotDirection(), glm::vec3(0.0f, -0.5f, -0.8660254f)));
    EXPECT_TRUE(near(*light.modelMatrix * *light.inverseModelMatrix, glm::mat4(1.0f)));

    // The shadow camera follows: a point ahead on the beam lands in the map's centre.
    const glm::vec3 ahead = light.position() + 20.0f * light.spotDirection();
    const glm::vec3 mapped = shadowMapPoint(light, ahead);
    EXPECT_NEAR(mapped.x, 0.5f, 1e-5f);
    EXPECT_NEAR(mapped.y, 0.5f, 1e-5f);
    EXPECT_TRUE(light.frustum().isSphereVisible(ahead, 0.5f));
    EXPECT_FALSE(light.frustum().isSphereVisible(light.position() - 20.0f * light.spotDirection(), 0.5f));
}

TEST(LightPlacement, AttachingFollowsTheObjectsPlacement)
{
    GL_TEST_SETUP(context);
    SourceShaders shaders;
    Light light(0.6f, 6.0f);
    // A car at (10, 0, 5) turned to face world -X.
    glm::mat4 car(1.0f);
    car[3] = glm::vec4(10.0f, 0.0f, 5.0f, 1.0f);
    car[0] = glm::vec4(0.0f, 0.0f, -1.0f, 0.0f);
    car[2] = glm::vec4(1.0f, 0.0f, 0.0f, 0.0f);
    light.attachTo(car);

    EXPECT_TRUE(near(light.position(), glm::vec3(8.7f, 0.5f, 5.0f)));
    EXPECT_TRUE(near(light.spotDirection(), glm::vec3(-0.8660254f, -0.5f, 0.0f)));
}

TEST(LightPlacement, SettersKeepTheGivenValues)
{
    GL_TEST_SETUP(context);
    SourceShaders shaders;
    Light light(0.5f, 5.0f);
    EXPECT_EQ(light.spotCosCutoff(), 0.5f);
    EXPECT_EQ(light.spotExponent(), 5.0f);
    EXPECT_TRUE(near(light.color(), glm::vec3(1.0f)));
    EXPECT_TRUE(near(light.attenuation(), glm::vec3(1.0f, 0.0f, 0.0f)));

    light.setColor(glm::vec3(1.1f, 1.1f, 0.9f));
    light.setAttenuation(glm::vec3(1.0f, 0.001f, 0.0001f));
    light.setSpotCosCutoff(-1.0f);
    light.setSpotExponent(4.0f);
    EXPECT_TRUE(near(light.color(), glm::vec3(1.1f, 1.1f, 0.9f)));
    EXPECT_TRUE(near(light.attenuation(), glm::vec3(1.0f, 0.001f, 0.0001f)));
    EXPECT_EQ(light.spotCosCutoff(), -1.0f);
    EXPECT_EQ(light.spotExponent(), 4.0f);
}
