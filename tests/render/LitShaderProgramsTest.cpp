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

// The real programs: what each reads and is sent, the phong and relief
// programs lighting a floor seen from straight above, and particles drawn.

namespace {

struct ProgramContract {
    std::string base;
    std::vector<std::string> attributes; // read by the program, each at its shared location
    std::vector<std::string> uniforms;   // set by the frame: a misspelt or unused one would be ignored silently
};

// One vertex array serves every program, so an attribute sits at the same location everywhere.
const std::vector<std::string> sharedLocations = {"in_position", "in_normal",  "in_color",
                                                  "in_texCoords", "in_tangent", "in_bitangent"};

const std::vector<std::string> litUniforms = {
    "mvpMatrix", "modelMatrix", "normalMatrix", "cameraPos", "lightPosition", "lightColor", "attenuation",
    "spotDirection", "spotCosCutoff", "spotExponent", "reflectionCoefficient", "shininess", "texMat_model1",
    "texMat_model2", "texMat_model3", "varianceShadowMap1", "varianceShadowMap2", "varianceShadowMap3",
    "useTexture", "colorMap"};

std::vector<std::string> with(std::vector<std::string> names, const std::vector<std::string>& more)
{
    names.insert(names.end(), more.begin(), more.end());
    return names;
}

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
// and 3 black), its moments map on unit 1, untextured, no relief maps.
struct FloorDraw {
    SpotLight light;
    GLuint moments = 0;
    glm::mat4 shadowMatrix{1.0f};
    Material material;
};

std::vector<Pixel> drawFloor(Shader& program, const RenderTarget& target, const VertexArray& floor,
                             const FloorDraw& draw)
{
    target.begin();
    glEnable(GL_DEPTH_TEST);
    glUseProgram(program.program());
    const auto set3 = [&](ShaderLocation key, const glm::mat3& value) {
        glUniformMatrix3fv(program.location(key), 1, GL_FALSE, glm::value_ptr(value));
    };
    const auto set4 = [&](ShaderLocation key, const glm::mat4& value) {
        glUniformMatrix4fv(program.location(key), 1, GL_FALSE, glm::value_ptr(value));
    };
    const auto setInt = [&](ShaderLocation key, GLint value) { glUniform1i(program.location(key), value); };
    // One light per matrix column; lights 2 and 3 black, pointing down from above.
    const glm::vec3 off(1.0f, 0.0f, 0.0f), down(0.0f, -1.0f, 0.0f);
    set3(ShaderLocation::lightColor, glm::mat3(draw.light.color, glm::vec3(0.0f), glm::vec3(0.0f)));
    set3(ShaderLocation::attenuation, glm::mat3(draw.light.attenuation, off, off));
    set3(ShaderLocation::spotDirection, glm::mat3(glm::normalize(draw.light.direction), down, down));
    set3(ShaderLocation::lightPosition, glm::mat3(draw.light.position, -down, -down));
    const float cutoffs[3] = {draw.light.cosCutoff, -1.0f, -1.0f}, exponents[3] = {draw.light.exponent, 0.0f, 0.0f};
    glUniform1fv(program.location(ShaderLocation::spotCosCutoff), 3, cutoffs);
    glUniform1fv(program.location(ShaderLocation::spotExponent), 3, exponents);
    set4(ShaderLocation::mvpMatrix, glm::ortho(-10.0f, 10.0f, -10.0f, 10.0f, 1.0f, 50.0f) *
                                        glm::lookAt(glm::vec3(0.0f, 20.0f, 0.0f), glm::vec3(0.0f), glm::vec3(0, 0, -1)));
    set4(ShaderLocation::modelMatrix, glm::mat4(1.0f));
    set3(ShaderLocation::normalMatrix, glm::mat3(1.0f));
    set4(ShaderLocation::texMat_model1, draw.shadowMatrix);
    set4(ShaderLocation::texMat_model2, glm::mat4(1.0f));
    set4(ShaderLocation::texMat_model3, glm::mat4(1.0f));
    glUniform4fv(program.location(ShaderLocation::cameraPos), 1, glm::value_ptr(glm::vec4(0.0f, 20.0f, 0.0f, 1.0f)));
    const Material& material = draw.material;
    set3(ShaderLocation::reflectionCoefficient,
         glm::mat3(glm::vec3(material.ambient), glm::vec3(material.diffuse), glm::vec3(material.specular)));
    glUniform1f(program.location(ShaderLocation::shininess), material.shininess);
    setInt(ShaderLocation::useTexture, 0);
    setInt(ShaderLocation::useSpecularMap, 0);
    // The frame's texture units: colour 0, moments 1 to 3, relief maps 5 and 6.
    const std::pair<ShaderLocation, GLint> units[] = {
        {ShaderLocation::colorMap, 0}, {ShaderLocation::varianceShadowMap1, 1}, {ShaderLocation::varianceShadowMap2, 2},
        {ShaderLocation::varianceShadowMap3, 3}, {ShaderLocation::normalMap, 5}, {ShaderLocation::heightMap, 6}};
    for (const auto& [key, unit] : units) {
        setInt(key, unit);
    }
    bindTexture(GL_TEXTURE1, GL_TEXTURE_2D, draw.moments);

    floor.draw();

    bindTexture(GL_TEXTURE1, GL_TEXTURE_2D, 0);
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

struct Particle {
    glm::vec3 position;
    glm::vec4 color;
};

// Draws points with 3-float positions and 4-float colours, as the effects
// upload them, seen from the origin down -z.
std::vector<Pixel> drawParticles(Shader& program, const RenderTarget& target, GLuint sprite,
                                 const std::vector<Particle>& particles)
{
    const GLVertexArray vertexArray = GLVertexArray::create();
    const GLBuffer buffer = GLBuffer::create();
    glBindVertexArray(vertexArray.id());
    glBindBuffer(GL_ARRAY_BUFFER, buffer.id());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(particles.size() * sizeof(Particle)), particles.data(),
                 GL_DYNAMIC_DRAW);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Particle), nullptr);
    glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, sizeof(Particle),
                          reinterpret_cast<const void*>(offsetof(Particle, color)));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(2);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    target.begin();
    glEnable(GL_PROGRAM_POINT_SIZE);
    glUseProgram(program.program());
    const glm::mat4 viewProjection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
    glUniformMatrix4fv(program.location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(viewProjection));
    glUniform4fv(program.location(ShaderLocation::cameraPos), 1, glm::value_ptr(glm::vec4(0.0f, 0.0f, 0.0f, 1.0f)));
    glUniform1f(program.location(ShaderLocation::shininess), 30.0f); // the particle size
    glUniform1i(program.location(ShaderLocation::colorMap), 0);
    glBindTexture(GL_TEXTURE_2D, sprite);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(particles.size()));
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindVertexArray(0);
    glUseProgram(0);
    glDisable(GL_PROGRAM_POINT_SIZE);
    return target.read();
}

} // namespace

TEST(LitShaderPrograms, EachBuildsSilentlyWithItsAttributesAtTheSharedLocationsAndItsUniformsLive)
{
    GL_TEST_SETUP(context);
    const std::vector<ProgramContract> contracts = {
        {"phongShader", {"in_position", "in_normal", "in_color", "in_texCoords"},
         with(litUniforms, {"isReflective", "environmentMap"})},
        {"parallaxShader", sharedLocations, with(litUniforms, {"normalMap", "heightMap", "specularMap", "useSpecularMap"})},
        {"blurShader", {"in_position"}, {"mvpMatrix", "prev_mvpMatrix", "colorMap", "blurScale"}},
        {"particleShader", {"in_position", "in_color"}, {"mvpMatrix", "cameraPos", "shininess", "colorMap", "sceneScale"}},
    };
    for (const ProgramContract& contract : contracts) {
        SCOPED_TRACE(contract.base);
        std::unique_ptr<Shader> program;
        EXPECT_EQ(printedOnBothBy([&] { program = loadProgram(contract.base); }), printedNothing);
        ASSERT_NE(program->program(), 0u);
        for (GLint location = 0; location < static_cast<GLint>(sharedLocations.size()); ++location) {
            const std::string& name = sharedLocations[static_cast<std::size_t>(location)];
            const bool reads = std::find(contract.attributes.begin(), contract.attributes.end(), name) !=
                               contract.attributes.end();
            EXPECT_EQ(glGetAttribLocation(program->program(), name.c_str()), reads ? location : -1) << name;
        }
        for (const std::string& name : contract.uniforms) {
            EXPECT_NE(glGetUniformLocation(program->program(), name.c_str()), -1) << name;
        }
    }
}

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

TEST(LitShaderParticles, LivePointsShowTheirColourUprightAndDeadOnesNothing)
{
    GL_TEST_SETUP(context);
    const auto program = loadProgram("particleShader");
    ASSERT_NE(program->program(), 0u);
    const RenderTarget target(128, 128);
    // Lower half of the sprite image (its first rows) grey, upper half white.
    std::vector<Pixel> texels(8 * 8, Pixel{255, 255, 255, 255});
    std::fill(texels.begin(), texels.begin() + 8 * 4, Pixel{128, 128, 128, 255});
    const GLTexture sprite = makeTexture(8, 8, texels);

    // On screen at columns 32 and 96 of the middle row.
    const float side = 5.0f * std::tan(glm::radians(30.0f)) * 0.5f;
    const Particle live{{-side, 0.0f, -5.0f}, {0.5f, 0.25f, 1.0f, 1.0f}};
    const Particle dead{{side, 0.0f, -5.0f}, {1.0f, 1.0f, 1.0f, 0.0f}};
    const std::vector<Pixel> image = drawParticles(*program, target, sprite.id(), {live, dead});
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Just above the centre the sprite's white upper half times the colour:
    // decoded, multiplied and encoded again, the colour comes back as given.
    const Pixel upper = target.at(image, 32, 66);
    EXPECT_NEAR(upper[0], 128, 2);
    EXPECT_NEAR(upper[1], 64, 2);
    EXPECT_NEAR(upper[2], 255, 2);
    EXPECT_EQ(upper[3], 255);
    EXPECT_LT(target.at(image, 32, 61)[2], 200) << "below the centre the grey half darkens it: the image stands upright";
    for (int row = 0; row < 128; ++row) {
        for (int column = 64; column < 128; ++column) {
            ASSERT_EQ(target.at(image, column, row), (Pixel{0, 0, 0, 0})) << "a dead particle drew at " << column;
        }
    }

    // 30 * 4 / 5 = 24 pixels across; drawn into a scene image half the
    // window's size, half as many, so that it keeps its size on screen.
    auto width = [&](const std::vector<Pixel>& drawn) {
        int covered = 0;
        for (int column = 0; column < 64; ++column) {
            covered += target.at(drawn, column, 66)[3] != 0 ? 1 : 0;
        }
        return covered;
    };
    EXPECT_EQ(width(image), 24);
    glUseProgram(program->program());
    glUniform1f(program->location(ShaderLocation::sceneScale), 0.5f);
    EXPECT_EQ(width(drawParticles(*program, target, sprite.id(), {live})), 12);
}
