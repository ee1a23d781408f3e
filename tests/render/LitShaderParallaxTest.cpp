#include "render/LitShaderTestSupport.h"

#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace litshader;

namespace {

constexpr int targetSize = 128;

// A floor 20 x 20 at y = 0 with u along +x and v along -z, drawn from
// straight above with the relief program's maps on their units.
class ReliefFloor {
public:
    ReliefFloor()
        : parallax(loadProgram("parallaxShader")), phong(loadProgram("phongShader")),
          floor(horizontalSquare(10.0f, 0.0f)), target(targetSize, targetSize), unshadowed(makeUnshadowedMoments())
    {
    }

    // colorTexture 0 draws untextured; eye is where the lighting sees the
    // camera from (the picture itself is always the view from above).
    std::vector<Pixel> render(Shader& program, const SpotLight& light, const Material& material, const glm::vec3& eye,
                              GLuint colorTexture, GLuint normalMap, GLuint heightMap)
    {
        target.begin();
        setLights(program, {light, SpotLight{}, SpotLight{}}, {unshadowed.id(), unshadowed.id(), unshadowed.id()});
        const TopView view;
        setObject(program, view.viewProjection, eye, material, {glm::mat4(1.0f), glm::mat4(1.0f), glm::mat4(1.0f)},
                  colorTexture != 0);
        bindTexture(GL_TEXTURE5, GL_TEXTURE_2D, normalMap);
        bindTexture(GL_TEXTURE6, GL_TEXTURE_2D, heightMap);
        glUniform1i(program.location(ShaderLocation::normalMap), 5);
        glUniform1i(program.location(ShaderLocation::heightMap), 6);
        glUniform1i(program.location(ShaderLocation::useSpecularMap), 0);
        glBindTexture(GL_TEXTURE_2D, colorTexture);
        floor.draw();
        glBindTexture(GL_TEXTURE_2D, 0);
        bindTexture(GL_TEXTURE5, GL_TEXTURE_2D, 0);
        bindTexture(GL_TEXTURE6, GL_TEXTURE_2D, 0);
        glUseProgram(0);
        return target.read();
    }

    std::unique_ptr<Shader> parallax;
    std::unique_ptr<Shader> phong;
    VertexArray floor;
    RenderTarget target;
    GLTexture unshadowed;
};

// A tangent-space normal map of one texel, encoded n * 0.5 + 0.5.
GLTexture normalMapOf(const glm::vec3& normal)
{
    const glm::vec3 encoded = glm::normalize(normal) * 0.5f + 0.5f;
    return makeSolidTexture({static_cast<std::uint8_t>(toByte(encoded.x)), static_cast<std::uint8_t>(toByte(encoded.y)),
                             static_cast<std::uint8_t>(toByte(encoded.z)), 255});
}

GLTexture heightMapOf(std::uint8_t height)
{
    return makeGreyTexture(1, 1, {height});
}

// A light with no cone, 8 units to one side of the floor's centre and 6 up.
SpotLight sideLight(const glm::vec3& side)
{
    SpotLight light;
    light.position = side * 8.0f + glm::vec3(0.0f, 6.0f, 0.0f);
    light.direction = -light.position;
    light.color = glm::vec3(1.0f);
    return light;
}

} // namespace

TEST(LitShaderParallax, FlatReliefMapsLightExactlyLikePhong)
{
    GL_TEST_SETUP(context);
    ReliefFloor scene;
    ASSERT_NE(scene.parallax->program(), 0u);
    ASSERT_NE(scene.phong->program(), 0u);

    // A straight-up normal and an even height field change nothing, as long
    // as the maps are read as data: decoding (128, 128, 255) as a colour
    // would tilt the normal by 40 degrees.
    const GLTexture flatNormal = normalMapOf(glm::vec3(0.0f, 0.0f, 1.0f));
    const GLTexture level = heightMapOf(255);
    const GLTexture grey = makeSolidTexture({170, 170, 170, 255});
    SpotLight light;
    light.position = glm::vec3(3.0f, 10.0f, 2.0f);
    light.direction = -light.position;
    light.color = glm::vec3(1.0f);
    light.attenuation = glm::vec3(1.0f, 0.0f, 0.002f);
    light.cosCutoff = std::cos(glm::radians(40.0f));
    light.exponent = 2.0f;
    const Material material{0.05f, 0.6f, 0.3f, 20.0f};
    const glm::vec3 eye(4.0f, 12.0f, -3.0f);

    const std::vector<Pixel> relief =
        scene.render(*scene.parallax, light, material, eye, grey.id(), flatNormal.id(), level.id());
    const std::vector<Pixel> plain = scene.render(*scene.phong, light, material, eye, grey.id(), 0, 0);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    int brighterThanAmbient = 0;
    for (int row = 0; row < targetSize; ++row) {
        for (int column = 0; column < targetSize; ++column) {
            const int expected = pixelAt(plain, targetSize, column, row)[0];
            ASSERT_NEAR(pixelAt(relief, targetSize, column, row)[0], expected, 2) << "pixel " << column << ", " << row;
            if (expected > 60) {
                ++brighterThanAmbient;
            }
        }
    }
    EXPECT_GT(brighterThanAmbient, 1000) << "the comparison covers a lit area";
}

TEST(LitShaderParallax, TheNormalMapLeansAlongTangentAndBitangent)
{
    GL_TEST_SETUP(context);
    ReliefFloor scene;
    ASSERT_NE(scene.parallax->program(), 0u);
    const GLTexture level = heightMapOf(255);
    const Material material{0.0f, 0.8f, 0.0f, 20.0f};
    const glm::vec3 eye(0.0f, 20.0f, 0.0f);

    auto centre = [&](const glm::vec3& leaning, const glm::vec3& lightSide) {
        const GLTexture normalMap = normalMapOf(leaning);
        const std::vector<Pixel> image =
            scene.render(*scene.parallax, sideLight(lightSide), material, eye, 0, normalMap.id(), level.id());
        return static_cast<int>(pixelAt(image, targetSize, targetSize / 2, targetSize / 2)[0]);
    };

    // Leaning along +x of the map (the tangent, +u: world +x here).
    const glm::vec3 towardsU(0.6f, 0.0f, 0.8f);
    EXPECT_GT(centre(towardsU, glm::vec3(1.0f, 0.0f, 0.0f)), centre(towardsU, glm::vec3(-1.0f, 0.0f, 0.0f)) + 30);
    // Leaning along +y of the map (the bitangent, +v: world -z here).
    const glm::vec3 towardsV(0.0f, 0.6f, 0.8f);
    EXPECT_GT(centre(towardsV, glm::vec3(0.0f, 0.0f, -1.0f)), centre(towardsV, glm::vec3(0.0f, 0.0f, 1.0f)) + 30);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(LitShaderParallax, DeepTexelsAreSeenFurtherAlongTheViewRay)
{
    GL_TEST_SETUP(context);
    ReliefFloor scene;
    ASSERT_NE(scene.parallax->program(), 0u);
    const GLTexture flatNormal = normalMapOf(glm::vec3(0.0f, 0.0f, 1.0f));
    // Left half black, right half white: one edge at u = 0.5 (world x = 0).
    const GLTexture halves = makeTexture(2, 1, {{0, 0, 0, 255}, {255, 255, 255, 255}});
    const Material unlit{0.5f, 0.0f, 0.0f, 20.0f};
    // Seen from 45 degrees on the +x side.
    const glm::vec3 eye(1000.0f, 1000.0f, 0.0f);

    auto edgeColumn = [&](std::uint8_t height) {
        const GLTexture heightMap = heightMapOf(height);
        const std::vector<Pixel> image =
            scene.render(*scene.parallax, SpotLight{}, unlit, eye, halves.id(), flatNormal.id(), heightMap.id());
        for (int column = 0; column < targetSize; ++column) {
            if (pixelAt(image, targetSize, column, targetSize / 2)[0] > 100) {
                return column;
            }
        }
        return targetSize;
    };

    const int raised = edgeColumn(255);
    const int sunken = edgeColumn(0);
    EXPECT_NEAR(raised, targetSize / 2, 1) << "at full height the texture stays where it is";
    // The eye looks down towards -x, so a sunken surface shows texels from
    // further towards -x: the edge moves towards +x, by less than a unit
    // (6.4 pixels a unit) for a shallow relief.
    EXPECT_GT(sunken, raised + 1);
    EXPECT_LT(sunken, raised + 10);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
