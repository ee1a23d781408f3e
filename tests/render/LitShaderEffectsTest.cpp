#include "render/RenderTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

using namespace rendertest;

// The real motion-blur and particle programs.

namespace {

constexpr int imageSize = 256;

// The motion-blur pass as the frame runs it: the scene image on unit 0, an
// sRGB window with sRGB writes on, blending on (source alpha), and one
// screen-filling object whose previous view differs by prevOffset in NDC.
class BlurPass {
public:
    std::vector<Pixel> run(GLuint sceneTexture, const glm::vec2& prevOffset, float blurScale)
    {
        // Whatever an alpha below 1 let through would show this colour.
        window.begin(glm::vec4(0.3f, 0.6f, 0.9f, 0.0f));
        glEnable(GL_FRAMEBUFFER_SRGB);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glUseProgram(program->program());
        const glm::mat4 previous = glm::translate(glm::mat4(1.0f), glm::vec3(prevOffset, 0.0f));
        glUniformMatrix4fv(program->location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(glm::mat4(1.0f)));
        glUniformMatrix4fv(program->location(ShaderLocation::prev_mvpMatrix), 1, GL_FALSE, glm::value_ptr(previous));
        glUniform1f(program->location(ShaderLocation::blurScale), blurScale);
        glUniform1i(program->location(ShaderLocation::colorMap), 0);
        glBindTexture(GL_TEXTURE_2D, sceneTexture);
        quad.draw();
        glBindTexture(GL_TEXTURE_2D, 0);
        glUseProgram(0);
        glDisable(GL_BLEND);
        glDisable(GL_FRAMEBUFFER_SRGB);
        return window.read();
    }

    std::unique_ptr<Shader> program = loadProgram("blurShader");
    // Two triangles over the whole of clip space.
    VertexArray quad{{{{-1, -1, 0, 1}}, {{1, -1, 0, 1}}, {{1, 1, 0, 1}}, {{-1, -1, 0, 1}}, {{1, 1, 0, 1}}, {{-1, 1, 0, 1}}}};
    RenderTarget window{imageSize, imageSize, GL_SRGB8_ALPHA8};
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

TEST(LitShaderMotionBlur, AStillPixelShowsTheSceneImageExactly)
{
    GL_TEST_SETUP(context);
    BlurPass pass;
    ASSERT_NE(pass.program->program(), 0u);
    ASSERT_TRUE(pass.window.complete());
    // Every byte value, in a scramble, so that neighbours differ.
    std::vector<Pixel> scene(imageSize * imageSize);
    std::uint32_t state = 12345u;
    for (Pixel& texel : scene) {
        for (int channel = 0; channel < 3; ++channel) {
            state = state * 1664525u + 1013904223u;
            texel[static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(state >> 24);
        }
        texel[3] = 255;
    }
    // Filtered linearly, as the scene target is: only an exact texel centre reads one texel alone.
    const GLTexture sceneTexture = makeTexture(imageSize, imageSize, scene, GL_LINEAR);

    struct Case {
        const char* what;
        glm::vec2 prevOffset;
        float blurScale;
    };
    const Case cases[] = {
        {"still camera", glm::vec2(0.0f), 1.0f},
        {"blur switched off for a moving camera", glm::vec2(0.3f, -0.2f), 0.0f},
        // The first frame has no frame time yet, and its scale is infinite.
        {"still camera, infinite scale", glm::vec2(0.0f), std::numeric_limits<float>::infinity()},
    };
    for (const Case& test : cases) {
        const std::vector<Pixel> shown = pass.run(sceneTexture.id(), test.prevOffset, test.blurScale);
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << test.what;
        int worst = 0;
        for (std::size_t i = 0; i < scene.size(); ++i) {
            for (std::size_t channel = 0; channel < 3; ++channel) {
                worst = std::max(worst, std::abs(int(shown[i][channel]) - int(scene[i][channel])));
            }
        }
        EXPECT_LE(worst, 1) << test.what << ": decoded here, encoded again by the sRGB window";
    }
}

TEST(LitShaderMotionBlur, AMovingCameraAveragesAlongTheMotionInLinearLight)
{
    GL_TEST_SETUP(context);
    BlurPass pass;
    ASSERT_NE(pass.program->program(), 0u);
    // Black and white stripes four pixels wide.
    std::vector<Pixel> stripes(imageSize * imageSize, Pixel{0, 0, 0, 255});
    for (std::size_t i = 0; i < stripes.size(); ++i) {
        if ((i % imageSize / 4) % 2 == 1) {
            stripes[i] = Pixel{255, 255, 255, 255};
        }
    }
    const GLTexture scene = makeTexture(imageSize, imageSize, stripes);
    // The camera swung a quarter of the screen sideways since the last frame.
    const std::vector<Pixel> shown = pass.run(scene.id(), glm::vec2(-0.5f, 0.0f), 1.0f);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Along the smear some 3 to 7 of every 10 samples are white: 30 to 70 %
    // of the light, sRGB 149 to 218, and on average half, sRGB 188. Averaging
    // the encoded bytes instead would give 77 to 179, about 128 on average.
    for (int row = 0; row < imageSize; row += 16) {
        int sum = 0;
        int count = 0;
        for (int column = 16; column < imageSize - 16; ++column) {
            const Pixel pixel = pass.window.at(shown, column, row);
            ASSERT_GE(pixel[0], 140) << "pixel " << column << ", " << row;
            ASSERT_LE(pixel[0], 225) << "pixel " << column << ", " << row;
            ASSERT_EQ(pixel[0], pixel[2]);
            sum += pixel[0];
            ++count;
        }
        EXPECT_NEAR(sum / count, 188, 12) << "row " << row;
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
}
