#include "render/LitShaderTestSupport.h"

#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

using namespace litshader;

namespace {

constexpr int targetSize = 128;

struct Particle {
    glm::vec3 position;
    glm::vec4 color;
};

// Draws points the way the effects upload them: a buffer of 3-float
// positions and a buffer of 4-float colours, seen from the origin down -z.
std::vector<Pixel> drawParticles(Shader& program, RenderTarget& target, GLuint sprite,
                                 const std::vector<Particle>& particles, float shininess)
{
    std::vector<glm::vec3> positions;
    std::vector<glm::vec4> colors;
    for (const Particle& particle : particles) {
        positions.push_back(particle.position);
        colors.push_back(particle.color);
    }
    const GLVertexArray vertexArray = GLVertexArray::create();
    const GLBuffer positionBuffer = GLBuffer::create();
    const GLBuffer colorBuffer = GLBuffer::create();
    glBindVertexArray(vertexArray.id());
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer.id());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(positions.size() * sizeof(glm::vec3)), positions.data(),
                 GL_DYNAMIC_DRAW);
    glVertexAttribPointer(positionLocation, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(positionLocation);
    glBindBuffer(GL_ARRAY_BUFFER, colorBuffer.id());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(colors.size() * sizeof(glm::vec4)), colors.data(),
                 GL_DYNAMIC_DRAW);
    glVertexAttribPointer(colorLocation, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(colorLocation);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    target.begin();
    glEnable(GL_PROGRAM_POINT_SIZE);
    glUseProgram(program.program());
    const glm::mat4 viewProjection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
    const glm::vec4 eye(0.0f, 0.0f, 0.0f, 1.0f);
    glUniformMatrix4fv(program.location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(viewProjection));
    glUniform4fv(program.location(ShaderLocation::cameraPos), 1, glm::value_ptr(eye));
    glUniform1f(program.location(ShaderLocation::shininess), shininess);
    glUniform1i(program.location(ShaderLocation::colorMap), 0);
    glBindTexture(GL_TEXTURE_2D, sprite);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(particles.size()));
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindVertexArray(0);
    glUseProgram(0);
    glDisable(GL_PROGRAM_POINT_SIZE);
    return target.read();
}

// Covered pixels in the middle row of a square image.
int middleRowCoverage(const std::vector<Pixel>& image, int size)
{
    int covered = 0;
    for (int column = 0; column < size; ++column) {
        covered += pixelAt(image, size, column, size / 2)[3] > 0 ? 1 : 0;
    }
    return covered;
}

} // namespace

TEST(LitShaderParticles, LivePointsShowTheirColourAndDeadOnesNothing)
{
    GL_TEST_SETUP(context);
    const auto program = loadProgram("particleShader");
    ASSERT_NE(program->program(), 0u);
    RenderTarget target(targetSize, targetSize);
    // Lower half of the sprite image (its first rows) grey, upper half white.
    std::vector<Pixel> texels(8 * 8, Pixel{255, 255, 255, 255});
    for (int i = 0; i < 8 * 4; ++i) {
        texels[static_cast<std::size_t>(i)] = Pixel{128, 128, 128, 255};
    }
    const GLTexture sprite = makeTexture(8, 8, texels);

    // On screen at columns 32 and 96 of the middle row.
    const float side = 5.0f * std::tan(glm::radians(30.0f)) * 0.5f;
    const Particle live{{-side, 0.0f, -5.0f}, {0.5f, 0.25f, 1.0f, 1.0f}};
    const Particle dead{{side, 0.0f, -5.0f}, {1.0f, 1.0f, 1.0f, 0.0f}};
    const std::vector<Pixel> image = drawParticles(*program, target, sprite.id(), {live, dead}, 30.0f);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Just above the centre the sprite's white upper half times the colour:
    // decoded, multiplied and encoded again, the colour comes back as given.
    const Pixel& upper = pixelAt(image, targetSize, 32, 66);
    EXPECT_NEAR(upper[0], 128, 2);
    EXPECT_NEAR(upper[1], 64, 2);
    EXPECT_NEAR(upper[2], 255, 2);
    EXPECT_EQ(upper[3], 255);
    // Below the centre the grey half darkens it: the image stands upright.
    const Pixel& lower = pixelAt(image, targetSize, 32, 61);
    EXPECT_LT(lower[2], 200);
    EXPECT_EQ(pixelAt(image, targetSize, 96, 64), (Pixel{0, 0, 0, 0})) << "a dead particle draws nothing";
    for (int row = 0; row < targetSize; ++row) {
        for (int column = 64; column < targetSize; ++column) {
            ASSERT_EQ(pixelAt(image, targetSize, column, row)[3], 0) << "pixel " << column << ", " << row;
        }
    }
}

TEST(LitShaderParticles, PointsGrowWithTheirSizeAndShrinkWithDistance)
{
    GL_TEST_SETUP(context);
    const auto program = loadProgram("particleShader");
    ASSERT_NE(program->program(), 0u);
    const int size = 512;
    RenderTarget target(size, size);
    const GLTexture sprite = makeSolidTexture({255, 255, 255, 255});
    const glm::vec4 white(1.0f);
    auto width = [&](float distance, float shininess) {
        const std::vector<Pixel> image =
            drawParticles(*program, target, sprite.id(), {{{0.0f, 0.0f, -distance}, white}}, shininess);
        return middleRowCoverage(image, size);
    };

    const int smoke = width(5.0f, 30.0f);
    EXPECT_GT(smoke, 4) << "a smoke puff a few units away is more than a dot";
    EXPECT_LT(smoke, size / 8);
    EXPECT_GT(width(5.0f, 60.0f), smoke + 4);
    EXPECT_LT(width(10.0f, 30.0f), smoke - 4);
    EXPECT_LT(width(0.2f, 200.0f), size / 2) << "a spark at the lens does not fill the screen";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
