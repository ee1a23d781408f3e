#include "assets/HudLayout.h"
#include "assets/TestImages.h"
#include "assets/TextureManager.h"
#include "assets/UserInterface.h"
#include "assets/UserInterfaceTestSupport.h"
#include "platform/Window.h"
#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using overlaytest::Pixel;
using overlaytest::SrgbTarget;
using testimages::Colour;
using testimages::TextureFolder;

namespace {

constexpr Colour startColour{200, 100, 50, 255};
constexpr Colour creditsColour{240, 60, 20, 128};

// The three pictures the overlay loads, in a scratch folder.
void writePictures(const TextureFolder& folder)
{
    ASSERT_TRUE(folder.save(testimages::makeSolidImage(8, 8, startColour), FIF_PNG, "start.png"));
    ASSERT_TRUE(folder.save(overlaytest::makeSolidRgbaImage(8, 8, creditsColour), FIF_PNG, "credits.png"));
    ASSERT_TRUE(folder.save(overlaytest::makeCellAtlas(), FIF_PNG, "numbers.png"));
}

std::string constructionError(const std::string& shaderDirectory)
{
    try {
        UserInterface overlay(shaderDirectory);
    } catch (const char* text) {
        return text;
    }
    return "(nothing thrown)";
}

GLint integerState(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

std::vector<float> bufferContents(GLuint buffer)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    GLint size = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    std::vector<float> values(static_cast<size_t>(size) / sizeof(float));
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, size, values.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return values;
}

void expectColour(const Pixel& pixel, int red, int green, int blue, int tolerance)
{
    EXPECT_NEAR(pixel[0], red, tolerance);
    EXPECT_NEAR(pixel[1], green, tolerance);
    EXPECT_NEAR(pixel[2], blue, tolerance);
}

void expectBindingsReleased()
{
    EXPECT_EQ(integerState(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(integerState(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), 0);
}

} // namespace

TEST(UserInterfaceDraw, MissingOrthoShaderThrowsTheText)
{
    GL_TEST_SETUP(context);
    ScratchDir empty("brimbolt_no_shaders");
    EXPECT_EQ(constructionError(empty.path().string() + "/"), "Could not compile minimal shader program.");
}

TEST(UserInterfaceDraw, OrthoShaderThatFailsToBuildThrowsTheText)
{
    GL_TEST_SETUP(context);
    ScratchDir broken("brimbolt_broken_shaders");
    broken.write("orthoShader.vert", "#version 330 core\nvoid main() { gl_Position = undeclared; }\n");
    broken.write("orthoShader.frag", "#version 330 core\nout vec4 out_color;\nvoid main() { out_color = vec4(1); }\n");
    EXPECT_EQ(constructionError(broken.path().string() + "/"), "Could not compile minimal shader program.");
}

TEST(UserInterfaceDraw, ConstructionLoadsPicturesAndFillsBothQuadArrays)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    writePictures(folder);
    UserInterface overlay(overlaytest::shaderDirectory());
    ASSERT_NE(overlay.getProgram(), 0u);

    TextureManager* textures = TextureManager::getInstance();
    for (const char* name : {"start", "credits", "numbers"}) {
        EXPECT_NE(textures->textureId(name), 0u) << name;
    }
    // "start" is loaded without alpha, the other two with it.
    EXPECT_EQ(testimages::levelParameter(textures->textureId("start"), GL_TEXTURE_ALPHA_SIZE), 0);
    EXPECT_GT(testimages::levelParameter(textures->textureId("credits"), GL_TEXTURE_ALPHA_SIZE), 0);
    EXPECT_GT(testimages::levelParameter(textures->textureId("numbers"), GL_TEXTURE_ALPHA_SIZE), 0);

    const std::array<hud::QuadCorners, 1> screen{hud::screenCorners()};
    EXPECT_EQ(bufferContents(overlay.getScreenQuad().getPositionBuffer()), hud::cornerPositions(screen));
    EXPECT_EQ(bufferContents(overlay.getScreenQuad().getTexCoordBuffer()), hud::cornerTexCoords(screen));
    const auto table = hud::quadTable();
    std::vector<float> hudPositions = bufferContents(overlay.getHudQuads().getPositionBuffer());
    EXPECT_EQ(hudPositions.size() * sizeof(float), 704u);
    EXPECT_EQ(hudPositions, hud::cornerPositions(table));
    EXPECT_EQ(bufferContents(overlay.getHudQuads().getTexCoordBuffer()), hud::cornerTexCoords(table));

    EXPECT_EQ(overlay.getLabelFirsts(), hud::labelFirsts());
    EXPECT_EQ(overlay.getLabelCounts(), hud::labelCounts());
    EXPECT_EQ(overlay.getPlacements(), hud::placements());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(UserInterfaceDraw, MissingPicturesAreNotAnError)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    UserInterface overlay(overlaytest::shaderDirectory());
    EXPECT_NE(overlay.getProgram(), 0u);
    EXPECT_EQ(TextureManager::getInstance()->textureId("start"), 0u);
}

TEST(UserInterfaceDraw, StartScreenShowsThePictureAsAuthored)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    writePictures(folder);
    UserInterface overlay(overlaytest::shaderDirectory());
    SrgbTarget target(16, 12);
    ASSERT_TRUE(target.complete());
    platform::Window unopened; // presenting is a no-op without a window

    overlay.drawStartScreen(unopened);

    for (int y : {0, 5, 11}) {
        for (int x : {0, 7, 15}) {
            SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
            expectColour(target.read(x, y), startColour.red, startColour.green, startColour.blue, 2);
        }
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    expectBindingsReleased();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(UserInterfaceDraw, StartScreenOnTheWindowsOwnFramebuffer)
{
    GL_TEST_SETUP(context);
    GLint encoding = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_COLOR_ENCODING,
                                          &encoding);
    GLTestContext::clearErrors();
    if (encoding != GL_SRGB) {
        GTEST_SKIP() << "the default framebuffer is not sRGB-capable here";
    }
    TextureFolder folder;
    writePictures(folder);
    UserInterface overlay(overlaytest::shaderDirectory());
    glViewport(0, 0, 64, 64);
    glEnable(GL_FRAMEBUFFER_SRGB);
    platform::Window unopened;

    overlay.drawStartScreen(unopened);

    glReadBuffer(GL_BACK);
    expectColour(overlaytest::readStoredPixel(32, 32), startColour.red, startColour.green, startColour.blue, 2);
    glDisable(GL_FRAMEBUFFER_SRGB);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(UserInterfaceDraw, CreditsBlendOverTheFrameInLinearLight)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    writePictures(folder);
    UserInterface overlay(overlaytest::shaderDirectory());
    SrgbTarget target(16, 16);
    ASSERT_TRUE(target.complete());
    glClearColor(0.05f, 0.3f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    const Pixel before = target.read(8, 8);

    // As the frame pipeline leaves it when transparency is on.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    overlay.drawCredits();
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);

    const double alpha = creditsColour.alpha / 255.0;
    const std::array<int, 3> source{creditsColour.red, creditsColour.green, creditsColour.blue};
    std::array<int, 3> expected{};
    for (size_t channel = 0; channel < 3; ++channel) {
        double linear = alpha * overlaytest::decodeSrgb(source[channel] / 255.0) +
                        (1.0 - alpha) * overlaytest::decodeSrgb(before[channel] / 255.0);
        expected[channel] = static_cast<int>(std::lround(255.0 * overlaytest::encodeSrgb(linear)));
    }
    const Pixel after = target.read(8, 8);
    expectColour(after, expected[0], expected[1], expected[2], 3);
    expectColour(target.read(0, 15), expected[0], expected[1], expected[2], 3);
    expectBindingsReleased();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
