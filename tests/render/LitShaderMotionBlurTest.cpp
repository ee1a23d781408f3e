#include "render/LitShaderTestSupport.h"

#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

using namespace litshader;

namespace {

constexpr int imageSize = 256;

// The motion-blur pass as the frame runs it: the scene image on unit 0, an
// sRGB window with sRGB writes on, blending on (source alpha), and one
// screen-filling object whose previous view differs by prevOffset in NDC.
class BlurPass {
public:
    BlurPass() : program(loadProgram("blurShader")), quad(screenQuad()), window(imageSize, imageSize, GL_SRGB8_ALPHA8) {}

    std::vector<Pixel> run(GLuint sceneTexture, const glm::vec2& prevOffset, float blurScale)
    {
        // Whatever an alpha below 1 let through would show this colour.
        window.begin(glm::vec4(0.3f, 0.6f, 0.9f, 0.0f));
        glEnable(GL_FRAMEBUFFER_SRGB);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glUseProgram(program->program());
        const glm::mat4 current(1.0f);
        const glm::mat4 previous = glm::translate(glm::mat4(1.0f), glm::vec3(prevOffset, 0.0f));
        glUniformMatrix4fv(program->location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(current));
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

    std::unique_ptr<Shader> program;
    VertexArray quad;
    RenderTarget window;
};

// Every byte value, in a scramble, so that neighbours differ.
std::vector<Pixel> noiseImage()
{
    std::vector<Pixel> texels(imageSize * imageSize);
    std::uint32_t state = 12345u;
    for (Pixel& texel : texels) {
        for (int channel = 0; channel < 3; ++channel) {
            state = state * 1664525u + 1013904223u;
            texel[static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(state >> 24);
        }
        texel[3] = 255;
    }
    return texels;
}

std::vector<Pixel> verticalStripes(int columnsFrom, int columnsTo, int period)
{
    std::vector<Pixel> texels(imageSize * imageSize, Pixel{0, 0, 0, 255});
    for (int row = 0; row < imageSize; ++row) {
        for (int column = columnsFrom; column <= columnsTo; ++column) {
            if (period == 0 || (column / (period / 2)) % 2 == 1) {
                texels[static_cast<std::size_t>(row * imageSize + column)] = Pixel{255, 255, 255, 255};
            }
        }
    }
    return texels;
}

} // namespace

TEST(LitShaderMotionBlur, AStillPixelShowsTheSceneImageExactly)
{
    GL_TEST_SETUP(context);
    BlurPass pass;
    ASSERT_NE(pass.program->program(), 0u);
    ASSERT_TRUE(pass.window.complete());
    const std::vector<Pixel> scene = noiseImage();
    // Filtered linearly, as the scene target is: only an exact texel centre
    // reads one texel alone.
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
    // Black and white stripes four pixels wide, over the whole image.
    const GLTexture stripes = makeTexture(imageSize, imageSize, verticalStripes(0, imageSize - 1, 8));
    // The camera swung a quarter of the screen sideways since the last frame.
    const std::vector<Pixel> shown = pass.run(stripes.id(), glm::vec2(-0.5f, 0.0f), 1.0f);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Along the smear some 3 to 7 of every 10 samples are white: 30 to 70 %
    // of the light, sRGB 149 to 218, and on average half, sRGB 188. Averaging
    // the encoded bytes instead would give 77 to 179, about 128 on average.
    for (int row = 0; row < imageSize; row += 16) {
        int sum = 0;
        int count = 0;
        for (int column = 16; column < imageSize - 16; ++column) {
            const Pixel& pixel = pixelAt(shown, imageSize, column, row);
            ASSERT_GE(pixel[0], 140) << "pixel " << column << ", " << row;
            ASSERT_LE(pixel[0], 225) << "pixel " << column << ", " << row;
            ASSERT_EQ(pixel[0], pixel[2]);
            sum += pixel[0];
            ++count;
        }
        EXPECT_NEAR(sum / count, 188, 12) << "row " << row;
    }
}

TEST(LitShaderMotionBlur, AFastTurnSmearsOnlyNearby)
{
    GL_TEST_SETUP(context);
    BlurPass pass;
    ASSERT_NE(pass.program->program(), 0u);
    // One white bar, eight pixels wide, in the middle of a black image.
    const int barFrom = imageSize / 2 - 4;
    const int barTo = imageSize / 2 + 3;
    const GLTexture bar = makeTexture(imageSize, imageSize, verticalStripes(barFrom, barTo, 0));
    // Half a screen in one frame.
    const std::vector<Pixel> shown = pass.run(bar.id(), glm::vec2(-1.0f, 0.0f), 1.0f);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    const int row = imageSize / 2;
    EXPECT_GT(pixelAt(shown, imageSize, barFrom - 2, row)[0], 0) << "the bar is smeared sideways";
    EXPECT_GT(pixelAt(shown, imageSize, barTo + 2, row)[0], 0);
    EXPECT_LT(pixelAt(shown, imageSize, imageSize / 2, row)[0], 255) << "and loses light to its smear";
    // An eighth of the screen away, nothing of it arrives.
    for (int column = 0; column < imageSize; ++column) {
        if (column < barFrom - imageSize / 8 || column > barTo + imageSize / 8) {
            ASSERT_EQ(pixelAt(shown, imageSize, column, row)[0], 0) << "column " << column;
        }
    }
}
