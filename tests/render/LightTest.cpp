#include "render/Light.h"

#include "render/RenderTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace rendertest;

namespace {

// Texture coordinates and depth after the division by w.
glm::vec3 shadowMapPoint(const Light& light, const glm::vec3& world)
{
    const glm::vec4 mapped = light.textureMatrix() * glm::vec4(world, 1.0f);
    return glm::vec3(mapped) / mapped.w;
}

GLenum framebufferStatus(GLuint framebuffer)
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return status;
}

// A unit cube around centre as 12 triangles, counter-clockwise from outside.
std::vector<Vertex> unitCube(const glm::vec3& centre)
{
    const std::array<glm::vec3, 8> corner = {glm::vec3(-1, -1, -1), glm::vec3(1, -1, -1), glm::vec3(1, 1, -1),
                                             glm::vec3(-1, 1, -1),  glm::vec3(-1, -1, 1), glm::vec3(1, -1, 1),
                                             glm::vec3(1, 1, 1),    glm::vec3(-1, 1, 1)};
    const std::array<int, 36> index = {4, 5, 6, 4, 6, 7, 1, 0, 3, 1, 3, 2, 0, 4, 7, 0, 7, 3,
                                       5, 1, 2, 5, 2, 6, 3, 7, 6, 3, 6, 2, 0, 1, 5, 0, 5, 4};
    std::vector<Vertex> vertices(index.size());
    for (std::size_t i = 0; i < index.size(); ++i) {
        vertices[i].position = glm::vec4(centre + 0.5f * corner[static_cast<std::size_t>(index[i])], 1.0f);
    }
    return vertices;
}

} // namespace

TEST(LightShadowMap, BlurredMomentsHoldTheCubesDepthAndItsSquare)
{
    GL_TEST_SETUP(context);
    LightShaderDirectory shaders;
    std::unique_ptr<Light> made;
    EXPECT_EQ(printedOnBothBy([&] { made = std::make_unique<Light>(0.5f, 3.0f); }), printedNothing)
        << "a light is made without a message";
    Light& light = *made;
    EXPECT_EQ(framebufferStatus(light.shadowFramebuffer()), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(framebufferStatus(light.blurFramebuffer()), GLenum(GL_FRAMEBUFFER_COMPLETE));
    light.updateShadowMatrices();
    const auto shadowProgram = loadProgram("shadowShader", "out_moments");
    ASSERT_NE(shadowProgram->program(), 0u);

    // On the light's axis, its front face 5.5 units away: every visible texel
    // of the cube lies on that face, at one distance.
    const VertexArray cube(unitCube(glm::vec3(0.0f, 0.0f, -6.0f)));
    renderShadowMap(light, *shadowProgram, {&cube});
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    std::vector<glm::vec4> moments(1024 * 1024);
    glBindTexture(GL_TEXTURE_2D, light.momentsTexture());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, moments.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    auto at = [&](int column, int row) { return moments[static_cast<std::size_t>(row * 1024 + column)]; };

    // The face covers texels 485 to 538 on both axes (half-width 0.5 / (5.5 tan 60°)
    // of the map's 512-texel half); four texels in from its edge the blur sees
    // only the face. Depth is the distance over the shadow program's range of 128.
    const float faceDepth = 5.5f / 128.0f;
    int penumbraTexels = 0;
    for (int row = 470; row <= 553; ++row) {
        for (int column = 470; column <= 553; ++column) {
            const glm::vec4 texel = at(column, row);
            if (row >= 490 && row <= 533 && column >= 490 && column <= 533) {
                ASSERT_NEAR(texel.r, faceDepth, 1e-6f) << "texel " << column << ", " << row;
                ASSERT_NEAR(texel.g, faceDepth * faceDepth, 1e-7f) << "texel " << column << ", " << row;
            }
            // Through the blurred edge the moments stay a mixture of depths.
            ASSERT_GE(texel.g, texel.r * texel.r - 1e-9f) << "texel " << column << ", " << row;
            penumbraTexels += texel.r > 0.0f && texel.r < faceDepth - 1e-6f ? 1 : 0;
        }
    }
    EXPECT_GT(penumbraTexels, 0) << "the blur softens the cube's outline";
    // Off the cube, beyond the kernel's reach.
    for (const glm::ivec2 texel : {glm::ivec2(100, 100), glm::ivec2(470, 512), glm::ivec2(900, 300)}) {
        EXPECT_EQ(at(texel.x, texel.y), glm::vec4(0.0f)) << "texel " << texel.x << ", " << texel.y;
    }
}

TEST(LightPlacement, AnAttachedLightSitsAtTheBonnetAndLooksDownThirtyDegrees)
{
    GL_TEST_SETUP(context);
    LightShaderDirectory shaders;
    Light light(0.6f, 6.0f);
    light.attachTo(glm::mat4(1.0f));

    EXPECT_TRUE(near(light.position(), glm::vec3(0.0f, 0.5f, -1.3f)));
    EXPECT_TRUE(near(light.spotDirection(), glm::vec3(0.0f, -0.5f, -0.8660254f)));
    EXPECT_TRUE(near(*light.modelMatrix * *light.inverseModelMatrix, glm::mat4(1.0f)));
    // The shadow camera follows: a point ahead on the beam lands in the map's centre.
    const glm::vec3 ahead = light.position() + 20.0f * light.spotDirection();
    EXPECT_TRUE(near(glm::vec2(shadowMapPoint(light, ahead)), glm::vec2(0.5f)));
    EXPECT_TRUE(light.frustum().isSphereVisible(ahead, 0.5f));
    EXPECT_FALSE(light.frustum().isSphereVisible(light.position() - 20.0f * light.spotDirection(), 0.5f));
}
