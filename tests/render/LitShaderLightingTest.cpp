#include "render/LitShaderTestSupport.h"

#include "render/Light.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace litshader;

namespace {

constexpr int targetSize = 128;

// A white floor 20 x 20 at y = 0 under one spot light 10 units above its
// centre, pointing straight down, seen from straight above. The light is a
// real Light, so its shadow map and texture matrix are the engine's own.
class SpotOverFloor {
public:
    SpotOverFloor()
        : light(std::cos(glm::radians(30.0f)), 2.0f), shadowProgram(loadProgram("shadowShader", "out_moments")),
          floor(horizontalSquare(10.0f, 0.0f)), caster(horizontalSquare(1.0f, 4.0f)), target(targetSize, targetSize)
    {
        light.translate(0.0f, 10.0f, 0.0f);
        light.rotateX(-90.0f); // its -z axis now points down
        spot.position = light.position();
        spot.direction = light.spotDirection();
        spot.color = glm::vec3(1.0f);
        spot.attenuation = glm::vec3(1.0f, 0.01f, 0.001f);
        spot.cosCutoff = light.spotCosCutoff();
        spot.exponent = light.spotExponent();
    }

    // The floor as the lit pass draws it: the floor (and the caster, when
    // asked) first drawn into the light's shadow map and blurred.
    std::vector<Pixel> render(Shader& program, bool withCaster, const Material& material)
    {
        std::vector<const VertexArray*> casters = {&floor};
        if (withCaster) {
            casters.push_back(&caster);
        }
        renderShadowMap(light, *shadowProgram, casters);

        target.begin();
        glEnable(GL_DEPTH_TEST);
        setLights(program, {spot, SpotLight{}, SpotLight{}}, {light.momentsTexture(), 0, 0});
        const TopView view;
        setObject(program, view.viewProjection, view.eye, material,
                  {light.textureMatrix(), glm::mat4(1.0f), glm::mat4(1.0f)}, false);
        floor.draw();
        glUseProgram(0);
        return target.read();
    }

    // Angle cosine between the spot axis and the ray to a floor point, and
    // the light's distance-and-cone weight there before Lambert.
    float cosAngle(const glm::vec2& xz) const
    {
        const glm::vec3 toPoint = glm::vec3(xz.x, 0.0f, xz.y) - spot.position;
        return glm::dot(glm::normalize(toPoint), spot.direction);
    }

    // The lit value of a white floor point with full visibility and no
    // specular: ambient + diffuse x Lambert x pow(cos, exponent) x attenuation.
    float expectedLinear(const glm::vec2& xz, const Material& material) const
    {
        const glm::vec3 toLight = spot.position - glm::vec3(xz.x, 0.0f, xz.y);
        const float distance = glm::length(toLight);
        const float lambert = std::max(toLight.y / distance, 0.0f);
        const float falloff =
            1.0f / (spot.attenuation.x + spot.attenuation.y * distance + spot.attenuation.z * distance * distance);
        return material.ambient +
               material.diffuse * lambert * std::pow(cosAngle(xz), spot.exponent) * falloff * spot.color.r;
    }

    // Well inside the cone: any softening of its rim stays in the outer quarter.
    bool deepInsideCone(const glm::vec2& xz) const
    {
        return cosAngle(xz) >= spot.cosCutoff + 0.25f * (1.0f - spot.cosCutoff);
    }

    LightShaderDirectory directory;
    Light light;
    std::unique_ptr<Shader> shadowProgram;
    VertexArray floor;
    VertexArray caster; // 2 x 2 at y = 4: only ever drawn into the shadow map
    RenderTarget target;
    SpotLight spot;
};

// No specular, and bright enough to matter while staying below the tone
// curve's shoulder, so the expected value is plain arithmetic.
const Material matteFloor{0.05f, 0.6f, 0.0f, 50.0f};

} // namespace

TEST(LitShaderLighting, PhongFollowsTheSpotConeAndEncodesForTheSceneTarget)
{
    GL_TEST_SETUP(context);
    SpotOverFloor scene;
    ASSERT_TRUE(scene.target.complete());
    const auto phong = loadProgram("phongShader");
    ASSERT_NE(phong->program(), 0u);

    const std::vector<Pixel> image = scene.render(*phong, false, matteFloor);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    const int ambientOnly = toByte(linearToSrgb(matteFloor.ambient));
    int inside = 0;
    int outside = 0;
    for (int row = 0; row < targetSize; ++row) {
        for (int column = 0; column < targetSize; ++column) {
            const glm::vec2 xz = TopView::worldAt(column, row, targetSize);
            const Pixel& pixel = pixelAt(image, targetSize, column, row);
            if (scene.deepInsideCone(xz)) {
                // Every pixel, so a single speckle of self-shadowing fails too.
                const int expected = toByte(linearToSrgb(scene.expectedLinear(xz, matteFloor)));
                ASSERT_NEAR(pixel[0], expected, 2) << "inside the cone at x " << xz.x << ", z " << xz.y;
                ++inside;
            } else if (scene.cosAngle(xz) < scene.spot.cosCutoff) {
                ASSERT_NEAR(pixel[0], ambientOnly, 1) << "outside the cone at x " << xz.x << ", z " << xz.y;
                ++outside;
            }
            ASSERT_EQ(pixel[0], pixel[2]) << "a white floor under a white light stays grey";
        }
    }
    EXPECT_GT(inside, 1000);
    EXPECT_GT(outside, 1000);
    const Pixel& centre = pixelAt(image, targetSize, targetSize / 2, targetSize / 2);
    EXPECT_GT(centre[0], ambientOnly + 100) << "the cone's centre is far brighter than outside it";
}

TEST(LitShaderLighting, ACasterDarkensTheFloorOnlyWhereItsShadowFalls)
{
    GL_TEST_SETUP(context);
    SpotOverFloor scene;
    for (const std::string base : {"phongShader", "parallaxShader"}) {
        const auto program = loadProgram(base);
        ASSERT_NE(program->program(), 0u) << base;

        const std::vector<Pixel> open = scene.render(*program, false, matteFloor);
        const std::vector<Pixel> shadowed = scene.render(*program, true, matteFloor);
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << base;

        // The 2 x 2 caster 6 units below the light throws a 3.33 x 3.33
        // shadow onto the floor 10 units below it; the blurred map softens its
        // edge by a fraction of a unit.
        const int ambientOnly = toByte(linearToSrgb(matteFloor.ambient));
        int umbra = 0;
        int lit = 0;
        for (int row = 0; row < targetSize; ++row) {
            for (int column = 0; column < targetSize; ++column) {
                const glm::vec2 xz = TopView::worldAt(column, row, targetSize);
                const float reach = std::max(std::abs(xz.x), std::abs(xz.y));
                const int before = pixelAt(open, targetSize, column, row)[0];
                const int after = pixelAt(shadowed, targetSize, column, row)[0];
                if (reach < 1.3f) {
                    ASSERT_NEAR(after, ambientOnly, 1) << base << ": in the umbra at x " << xz.x << ", z " << xz.y;
                    ASSERT_GT(before, after + 100) << base;
                    ++umbra;
                } else if (reach > 2.2f) {
                    ASSERT_NEAR(after, before, 1) << base << ": beyond the shadow at x " << xz.x << ", z " << xz.y;
                    if (scene.deepInsideCone(xz)) {
                        ++lit;
                    }
                }
            }
        }
        EXPECT_GT(umbra, 200) << base;
        EXPECT_GT(lit, 1000) << base;
    }
}

TEST(LitShaderLighting, AReflectiveSurfaceMirrorsTheCubeAlongTheReflectedView)
{
    GL_TEST_SETUP(context);
    const auto phong = loadProgram("phongShader");
    ASSERT_NE(phong->program(), 0u);
    const VertexArray floor(horizontalSquare(10.0f, 0.0f));
    RenderTarget target(targetSize, targetSize);

    // The face above (+y) red, every other face blue, stored encoded like
    // the scene target the cube is rendered into.
    GLTexture cube = GLTexture::create();
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube.id());
    const Pixel red = {200, 30, 30, 255};
    const Pixel blue = {30, 30, 200, 255};
    for (GLenum face = 0; face < 6; ++face) {
        const GLenum side = GL_TEXTURE_CUBE_MAP_POSITIVE_X + face;
        const Pixel& texel = side == GL_TEXTURE_CUBE_MAP_POSITIVE_Y ? red : blue;
        glTexImage2D(side, 0, GL_RGB8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel.data());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);

    // Dark room: only the mirror can put colour on the floor.
    const Material dark{0.0f, 0.6f, 0.0f, 2000.0f};
    const TopView view;
    auto render = [&](bool reflective) {
        target.begin();
        setLights(*phong, {SpotLight{}, SpotLight{}, SpotLight{}}, {0, 0, 0});
        setObject(*phong, view.viewProjection, view.eye, dark, {glm::mat4(1.0f), glm::mat4(1.0f), glm::mat4(1.0f)},
                  false);
        bindTexture(GL_TEXTURE4, GL_TEXTURE_CUBE_MAP, cube.id());
        glUniform1i(phong->location(ShaderLocation::environmentMap), 4);
        glUniform1i(phong->location(ShaderLocation::isReflective), reflective ? 1 : 0);
        floor.draw();
        bindTexture(GL_TEXTURE4, GL_TEXTURE_CUBE_MAP, 0);
        glUseProgram(0);
        return target.read();
    };

    const std::vector<Pixel> mirror = render(true);
    const std::vector<Pixel> plain = render(false);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    const Pixel& seen = pixelAt(mirror, targetSize, targetSize / 2, targetSize / 2);
    EXPECT_GT(seen[0], 100) << "looking straight down, the floor mirrors the face above it";
    EXPECT_LT(seen[2], seen[0] / 2) << "and not a face to the side or below";
    EXPECT_LE(std::abs(seen[1] - seen[2]), 2) << "the red face's green and blue are equal";
    EXPECT_EQ(pixelAt(plain, targetSize, targetSize / 2, targetSize / 2), (Pixel{0, 0, 0, 255}))
        << "without the flag the cube is ignored";
}

TEST(LitShaderLighting, APlainDrawNeedsNoEnvironmentUnit)
{
    GL_TEST_SETUP(context);
    // The frame gives the cube sampler its unit only when the reflective
    // object is drawn; everything lit before that must still draw cleanly,
    // with the colour texture alone on unit 0.
    const auto phong = loadProgram("phongShader");
    ASSERT_NE(phong->program(), 0u);
    const VertexArray floor(horizontalSquare(10.0f, 0.0f));
    RenderTarget target(16, 16);
    const GLTexture grey = makeSolidTexture({128, 128, 128, 255});
    target.begin();
    setLights(*phong, {SpotLight{}, SpotLight{}, SpotLight{}}, {0, 0, 0});
    const TopView view;
    setObject(*phong, view.viewProjection, view.eye, Material{1.0f, 0.0f, 0.0f, 50.0f},
              {glm::mat4(1.0f), glm::mat4(1.0f), glm::mat4(1.0f)}, true);
    glBindTexture(GL_TEXTURE_2D, grey.id());
    GLTestContext::clearErrors();
    floor.draw();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
    // Ambient 1 on a mid-grey texture: decoded, lit and encoded again, the
    // grey comes back as it was.
    const std::vector<Pixel> image = target.read();
    EXPECT_NEAR(pixelAt(image, 16, 8, 8)[0], 128, 1);
}
