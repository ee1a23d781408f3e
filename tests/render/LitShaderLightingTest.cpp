#include "render/Light.h"

#include "render/RenderTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace rendertest;

// The real phong and relief programs lighting a floor seen from straight above.

namespace {

constexpr int targetSize = 128;

// The exact sRGB encoding, as the GL applies it to sRGB framebuffers, to a byte.
int srgbByte(float linear)
{
    linear = std::clamp(linear, 0.0f, 1.0f);
    const float encoded = linear <= 0.0031308f ? linear * 12.92f : 1.055f * std::pow(linear, 1.0f / 2.4f) - 0.055f;
    return static_cast<int>(std::lround(encoded * 255.0f));
}

// A 20 x 20 floor at y = 0 facing up, u along +x (the tangent) and v along -z (the bitangent).
VertexArray floorSquare(float halfSize, float height)
{
    auto corner = [&](float x, float z) {
        Vertex vertex;
        vertex.position = glm::vec4(x, height, z, 1.0f);
        vertex.texCoords = glm::vec2((x + halfSize) / (2.0f * halfSize), (halfSize - z) / (2.0f * halfSize));
        return vertex;
    };
    const Vertex a = corner(-halfSize, halfSize), b = corner(halfSize, halfSize);
    const Vertex c = corner(halfSize, -halfSize), d = corner(-halfSize, -halfSize);
    return VertexArray({a, b, c, a, c, d});
}

// World x and z of a pixel's centre: the view from above shows [-10, 10]
// on both axes, screen right +x and screen up -z.
glm::vec2 worldAt(int column, int row)
{
    const auto centre = [](int pixel) { return (static_cast<float>(pixel) + 0.5f) / targetSize * 20.0f - 10.0f; };
    return {centre(column), -centre(row)};
}

struct SpotLight {
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f, -1.0f, 0.0f};
    glm::vec3 color{1.0f};
    glm::vec3 attenuation{1.0f, 0.0f, 0.0f};
    float cosCutoff = -1.0f;
    float exponent = 0.0f;
};

struct Material {
    float ambient = 0.0f;
    float diffuse = 0.0f;
    float specular = 0.0f;
    float shininess = 50.0f;
};

// One draw of the floor as the frame sets it up: light 1 as given (lights 2
// and 3 black), its moments map on unit 1, the relief maps on units 5 and 6.
struct FloorDraw {
    SpotLight light;
    GLuint moments = 0;
    glm::mat4 shadowMatrix{1.0f};
    Material material;
    glm::vec3 eye{0.0f, 20.0f, 0.0f}; // where the lighting sees the camera from
    GLuint colorTexture = 0;          // 0 draws untextured
    GLuint normalMap = 0;
    GLuint heightMap = 0;
};

std::vector<Pixel> drawFloor(Shader& program, const RenderTarget& target, const VertexArray& floor,
                             const FloorDraw& draw)
{
    target.begin();
    glEnable(GL_DEPTH_TEST);
    glUseProgram(program.program());
    auto setMatrix3 = [&](ShaderLocation key, const glm::mat3& value) {
        glUniformMatrix3fv(program.location(key), 1, GL_FALSE, glm::value_ptr(value));
    };
    auto setMatrix4 = [&](ShaderLocation key, const glm::mat4& value) {
        glUniformMatrix4fv(program.location(key), 1, GL_FALSE, glm::value_ptr(value));
    };
    // One light per matrix column.
    const glm::vec3 off(1.0f, 0.0f, 0.0f);
    const glm::vec3 down(0.0f, -1.0f, 0.0f);
    setMatrix3(ShaderLocation::lightColor, glm::mat3(draw.light.color, glm::vec3(0.0f), glm::vec3(0.0f)));
    setMatrix3(ShaderLocation::attenuation, glm::mat3(draw.light.attenuation, off, off));
    setMatrix3(ShaderLocation::spotDirection, glm::mat3(glm::normalize(draw.light.direction), down, down));
    setMatrix3(ShaderLocation::lightPosition, glm::mat3(draw.light.position, -down, -down));
    const float cutoffs[3] = {draw.light.cosCutoff, -1.0f, -1.0f};
    const float exponents[3] = {draw.light.exponent, 0.0f, 0.0f};
    glUniform1fv(program.location(ShaderLocation::spotCosCutoff), 3, cutoffs);
    glUniform1fv(program.location(ShaderLocation::spotExponent), 3, exponents);
    glUniform1i(program.location(ShaderLocation::varianceShadowMap1), 1);
    glUniform1i(program.location(ShaderLocation::varianceShadowMap2), 2);
    glUniform1i(program.location(ShaderLocation::varianceShadowMap3), 3);
    bindTexture(GL_TEXTURE1, GL_TEXTURE_2D, draw.moments);

    const glm::mat4 view = glm::ortho(-10.0f, 10.0f, -10.0f, 10.0f, 1.0f, 50.0f) *
                           glm::lookAt(glm::vec3(0.0f, 20.0f, 0.0f), glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
    setMatrix4(ShaderLocation::mvpMatrix, view);
    setMatrix4(ShaderLocation::modelMatrix, glm::mat4(1.0f));
    setMatrix3(ShaderLocation::normalMatrix, glm::mat3(1.0f));
    setMatrix4(ShaderLocation::texMat_model1, draw.shadowMatrix);
    setMatrix4(ShaderLocation::texMat_model2, glm::mat4(1.0f));
    setMatrix4(ShaderLocation::texMat_model3, glm::mat4(1.0f));
    glUniform4fv(program.location(ShaderLocation::cameraPos), 1, glm::value_ptr(glm::vec4(draw.eye, 1.0f)));
    const Material& material = draw.material;
    setMatrix3(ShaderLocation::reflectionCoefficient,
               glm::mat3(glm::vec3(material.ambient), glm::vec3(material.diffuse), glm::vec3(material.specular)));
    glUniform1f(program.location(ShaderLocation::shininess), material.shininess);
    glUniform1i(program.location(ShaderLocation::useTexture), draw.colorTexture != 0 ? 1 : 0);
    glUniform1i(program.location(ShaderLocation::colorMap), 0);
    glUniform1i(program.location(ShaderLocation::normalMap), 5);
    glUniform1i(program.location(ShaderLocation::heightMap), 6);
    glUniform1i(program.location(ShaderLocation::useSpecularMap), 0);
    bindTexture(GL_TEXTURE5, GL_TEXTURE_2D, draw.normalMap);
    bindTexture(GL_TEXTURE6, GL_TEXTURE_2D, draw.heightMap);
    glBindTexture(GL_TEXTURE_2D, draw.colorTexture);

    floor.draw();

    for (const GLenum unit : {GL_TEXTURE0, GL_TEXTURE1, GL_TEXTURE5, GL_TEXTURE6}) {
        bindTexture(unit, GL_TEXTURE_2D, 0);
    }
    glUseProgram(0);
    return target.read();
}

// A white floor under one spot light 10 units above its centre, pointing
// straight down. The light is a real Light, so its shadow map and texture
// matrix are the engine's own.
class SpotOverFloor {
public:
    SpotOverFloor() : light(std::cos(glm::radians(30.0f)), 2.0f)
    {
        light.translate(0.0f, 10.0f, 0.0f);
        light.rotateX(-90.0f); // its -z axis now points down
        spot.position = light.position();
        spot.direction = light.spotDirection();
        spot.attenuation = glm::vec3(1.0f, 0.01f, 0.001f);
        spot.cosCutoff = light.spotCosCutoff();
        spot.exponent = light.spotExponent();
    }

    // The floor (and the caster, when asked) first drawn into the light's
    // shadow map and blurred, then the floor as the lit pass draws it.
    std::vector<Pixel> render(Shader& program, bool withCaster)
    {
        std::vector<const VertexArray*> casters = {&floor};
        if (withCaster) {
            casters.push_back(&caster);
        }
        renderShadowMap(light, *shadowProgram, casters);
        return drawFloor(program, target, floor, {spot, light.momentsTexture(), light.textureMatrix(), matte});
    }

    float cosAngle(const glm::vec2& xz) const
    {
        return glm::dot(glm::normalize(glm::vec3(xz.x, 0.0f, xz.y) - spot.position), spot.direction);
    }

    // The lit value of a floor point with full visibility: ambient + diffuse
    // x Lambert x pow(cos, exponent) x attenuation.
    float expectedLinear(const glm::vec2& xz) const
    {
        const glm::vec3 toLight = spot.position - glm::vec3(xz.x, 0.0f, xz.y);
        const float distance = glm::length(toLight);
        const glm::vec3 a = spot.attenuation;
        const float falloff = 1.0f / (a.x + a.y * distance + a.z * distance * distance);
        return matte.ambient +
               matte.diffuse * toLight.y / distance * std::pow(cosAngle(xz), spot.exponent) * falloff;
    }

    // Well inside the cone: any softening of its rim stays in the outer quarter.
    bool deepInsideCone(const glm::vec2& xz) const
    {
        return cosAngle(xz) >= spot.cosCutoff + 0.25f * (1.0f - spot.cosCutoff);
    }

    // No specular, and bright enough to matter while staying below the tone
    // curve's shoulder, so the expected value is plain arithmetic.
    const Material matte{0.05f, 0.6f, 0.0f, 50.0f};
    LightShaderDirectory directory;
    Light light;
    std::unique_ptr<Shader> shadowProgram = loadProgram("shadowShader", "out_moments");
    VertexArray floor = floorSquare(10.0f, 0.0f);
    VertexArray caster = floorSquare(1.0f, 4.0f); // 2 x 2 at y = 4: only ever drawn into the shadow map
    RenderTarget target{targetSize, targetSize};
    SpotLight spot;
};

// A tangent-space normal map of one texel, encoded n * 0.5 + 0.5.
GLTexture normalMapOf(const glm::vec3& normal)
{
    const glm::vec3 encoded = glm::round((glm::normalize(normal) * 0.5f + 0.5f) * 255.0f);
    return makeTexture(1, 1, {Pixel{std::uint8_t(encoded.x), std::uint8_t(encoded.y), std::uint8_t(encoded.z), 255}});
}

// A grey-scale map stored the way the texture manager stores grey images:
// GL_DEPTH_COMPONENT, one byte a texel.
GLTexture heightMapOf(std::uint8_t height)
{
    GLTexture texture = GLTexture::create();
    glBindTexture(GL_TEXTURE_2D, texture.id());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, 1, 1, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, &height);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

// A shadow map whose only caster lies at the far end of the depth range: nothing is shadowed.
GLTexture unshadowedMoments()
{
    GLTexture texture = GLTexture::create();
    const std::array<float, 4> moments = {1.0f, 1.0f, 0.0f, 0.0f};
    glBindTexture(GL_TEXTURE_2D, texture.id());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, moments.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

} // namespace

TEST(LitShaderLighting, PhongFollowsTheSpotConeAndEncodesForTheSceneTarget)
{
    GL_TEST_SETUP(context);
    SpotOverFloor scene;
    ASSERT_TRUE(scene.target.complete());
    const auto phong = loadProgram("phongShader");
    ASSERT_NE(phong->program(), 0u);

    const std::vector<Pixel> image = scene.render(*phong, false);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    const int ambientOnly = srgbByte(scene.matte.ambient);
    int inside = 0;
    int outside = 0;
    for (int row = 0; row < targetSize; ++row) {
        for (int column = 0; column < targetSize; ++column) {
            const glm::vec2 xz = worldAt(column, row);
            const Pixel pixel = scene.target.at(image, column, row);
            if (scene.deepInsideCone(xz)) {
                // Every pixel, so a single speckle of self-shadowing fails too.
                ASSERT_NEAR(pixel[0], srgbByte(scene.expectedLinear(xz)), 2) << "inside at " << xz.x << ", " << xz.y;
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
    EXPECT_GT(scene.target.at(image, targetSize / 2, targetSize / 2)[0], ambientOnly + 100)
        << "the cone's centre is far brighter than outside it";
}

TEST(LitShaderLighting, ACasterDarkensTheFloorOnlyWhereItsShadowFalls)
{
    GL_TEST_SETUP(context);
    SpotOverFloor scene;
    for (const std::string base : {"phongShader", "parallaxShader"}) {
        SCOPED_TRACE(base);
        const auto program = loadProgram(base);
        ASSERT_NE(program->program(), 0u);

        const std::vector<Pixel> open = scene.render(*program, false);
        const std::vector<Pixel> shadowed = scene.render(*program, true);
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

        // The 2 x 2 caster 6 units below the light throws a 3.33 x 3.33
        // shadow onto the floor 10 units below it; the blurred map softens its
        // edge by a fraction of a unit.
        int umbra = 0;
        int lit = 0;
        for (int row = 0; row < targetSize; ++row) {
            for (int column = 0; column < targetSize; ++column) {
                const glm::vec2 xz = worldAt(column, row);
                const float reach = std::max(std::abs(xz.x), std::abs(xz.y));
                const int before = scene.target.at(open, column, row)[0];
                const int after = scene.target.at(shadowed, column, row)[0];
                if (reach < 1.3f) {
                    ASSERT_NEAR(after, srgbByte(scene.matte.ambient), 1) << "in the umbra at " << xz.x << ", " << xz.y;
                    ASSERT_GT(before, after + 100);
                    ++umbra;
                } else if (reach > 2.2f) {
                    ASSERT_NEAR(after, before, 1) << "beyond the shadow at x " << xz.x << ", z " << xz.y;
                    lit += scene.deepInsideCone(xz) ? 1 : 0;
                }
            }
        }
        EXPECT_GT(umbra, 200);
        EXPECT_GT(lit, 1000);
    }
}

TEST(LitShaderParallax, FlatReliefMapsLightExactlyLikePhong)
{
    GL_TEST_SETUP(context);
    const auto parallax = loadProgram("parallaxShader");
    const auto phong = loadProgram("phongShader");
    const VertexArray floor = floorSquare(10.0f, 0.0f);
    const RenderTarget target(targetSize, targetSize);
    const GLTexture unshadowed = unshadowedMoments();
    // A straight-up normal and an even height field change nothing, as long
    // as the maps are read as data: decoding (128, 128, 255) as a colour
    // would tilt the normal by 40 degrees.
    const GLTexture flatNormal = normalMapOf(glm::vec3(0.0f, 0.0f, 1.0f));
    const GLTexture level = heightMapOf(255);
    const GLTexture grey = makeTexture(1, 1, {Pixel{170, 170, 170, 255}});
    FloorDraw draw;
    draw.light.position = glm::vec3(3.0f, 10.0f, 2.0f);
    draw.light.direction = -draw.light.position;
    draw.light.attenuation = glm::vec3(1.0f, 0.0f, 0.002f);
    draw.light.cosCutoff = std::cos(glm::radians(40.0f));
    draw.light.exponent = 2.0f;
    draw.moments = unshadowed.id();
    draw.material = {0.05f, 0.6f, 0.3f, 20.0f};
    draw.eye = glm::vec3(4.0f, 12.0f, -3.0f);
    draw.colorTexture = grey.id();
    const std::vector<Pixel> plain = drawFloor(*phong, target, floor, draw);
    draw.normalMap = flatNormal.id();
    draw.heightMap = level.id();
    const std::vector<Pixel> relief = drawFloor(*parallax, target, floor, draw);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    int brighterThanAmbient = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        ASSERT_NEAR(relief[i][0], plain[i][0], 2) << "pixel " << i % targetSize << ", " << i / targetSize;
        brighterThanAmbient += plain[i][0] > 60 ? 1 : 0;
    }
    EXPECT_GT(brighterThanAmbient, 1000) << "the comparison covers a lit area";
}

TEST(LitShaderParallax, TheNormalMapLeansAlongTangentAndBitangent)
{
    GL_TEST_SETUP(context);
    const auto parallax = loadProgram("parallaxShader");
    const VertexArray floor = floorSquare(10.0f, 0.0f);
    const RenderTarget target(targetSize, targetSize);
    const GLTexture unshadowed = unshadowedMoments();
    const GLTexture level = heightMapOf(255);

    // The centre's brightness under a light with no cone, 8 units to one side and 6 up.
    auto centre = [&](const glm::vec3& leaning, const glm::vec3& lightSide) {
        const GLTexture normalMap = normalMapOf(leaning);
        FloorDraw draw;
        draw.light.position = lightSide * 8.0f + glm::vec3(0.0f, 6.0f, 0.0f);
        draw.light.direction = -draw.light.position;
        draw.moments = unshadowed.id();
        draw.material = {0.0f, 0.8f, 0.0f, 20.0f};
        draw.normalMap = normalMap.id();
        draw.heightMap = level.id();
        return static_cast<int>(target.at(drawFloor(*parallax, target, floor, draw), targetSize / 2, targetSize / 2)[0]);
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
    const auto parallax = loadProgram("parallaxShader");
    const VertexArray floor = floorSquare(10.0f, 0.0f);
    const RenderTarget target(targetSize, targetSize);
    const GLTexture flatNormal = normalMapOf(glm::vec3(0.0f, 0.0f, 1.0f));
    // Left half black, right half white: one edge at u = 0.5 (world x = 0).
    const GLTexture halves = makeTexture(2, 1, {{0, 0, 0, 255}, {255, 255, 255, 255}});

    // The first bright column of the middle row, seen from 45 degrees on the +x side.
    auto edgeColumn = [&](std::uint8_t height) {
        const GLTexture heightMap = heightMapOf(height);
        FloorDraw draw;
        draw.light.color = glm::vec3(0.0f);
        draw.material = {0.5f, 0.0f, 0.0f, 20.0f};
        draw.eye = glm::vec3(1000.0f, 1000.0f, 0.0f);
        draw.colorTexture = halves.id();
        draw.normalMap = flatNormal.id();
        draw.heightMap = heightMap.id();
        const std::vector<Pixel> image = drawFloor(*parallax, target, floor, draw);
        int column = 0;
        while (column < targetSize && target.at(image, column, targetSize / 2)[0] <= 100) {
            ++column;
        }
        return column;
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
