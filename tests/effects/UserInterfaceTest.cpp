#include "assets/AssetTestSupport.h"
#include "effects/HudLayout.h"
#include "effects/StatusPanel.h"
#include "assets/TextureManager.h"
#include "effects/UserInterface.h"
#include "platform/Window.h"
#include "settings/Settings.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

using namespace assettest;

namespace {

constexpr int panelTargetSize = 400;

std::string constructionError(const std::string& shaderDirectory)
{
    try {
        UserInterface overlay(shaderDirectory);
    } catch (const char* text) {
        return text;
    }
    return "(nothing thrown)";
}

void expectBindingsReleased()
{
    for (GLenum binding : {GL_CURRENT_PROGRAM, GL_VERTEX_ARRAY_BINDING, GL_TEXTURE_BINDING_2D}) {
        GLint value = -1;
        glGetIntegerv(binding, &value);
        EXPECT_EQ(value, 0) << "binding " << binding;
    }
}

// The atlas colour of cell (column, row): every cell of the 10 x 10 grid
// tells itself apart, so a pixel shows which quad was drawn there.
Colour atlasCellColour(int column, int row)
{
    return {20 + 20 * column, 20 + 20 * row, 90, 255};
}

// A "numbers" atlas with one texel per cell, row 0 at the bottom as in GL,
// magnified with nearest sampling so that each cell shows as one flat colour.
void preparePanel(const AssetFolder& folder)
{
    FIBITMAP* atlas = makeImage(10, 10, 32, [](unsigned x, unsigned y) {
        return atlasCellColour(static_cast<int>(x), static_cast<int>(y));
    });
    ASSERT_TRUE(folder.save(atlas, FIF_PNG, "numbers.png"));
    TextureManager::getInstance()->setSampling(TextureManager::samplingNearest);
}

int toPixel(float ndc)
{
    return static_cast<int>(std::floor((ndc + 1.0f) * 0.5f * panelTargetSize));
}

float pixelCentre(int pixel)
{
    return (static_cast<float>(pixel) + 0.5f) / panelTargetSize * 2.0f - 1.0f;
}

// Looks at a point 0.3 of the way along quad `quad` moved by (dx, dy) and
// checks that the atlas cell under it is the one the quad maps there.
void expectQuadAt(int quad, float dx, float dy)
{
    const hud::QuadCorners corners = hud::quadTable()[static_cast<size_t>(quad)];
    const int x = toPixel(corners.x0 + 0.3f * (corners.x1 - corners.x0) + dx);
    const int y = toPixel(0.5f * (corners.y0 + corners.y1) + dy);
    const float u = corners.u0 + (pixelCentre(x) - dx - corners.x0) / (corners.x1 - corners.x0) *
                                     (corners.u1 - corners.u0);
    const float v = corners.v0 + (pixelCentre(y) - dy - corners.y0) / (corners.y1 - corners.y0) *
                                     (corners.v1 - corners.v0);
    const Colour cell =
        atlasCellColour(static_cast<int>(std::floor(u * 10.0f)), static_cast<int>(std::floor(v * 10.0f)));
    const std::array<int, 4> pixel = readStoredPixel(x, y);
    SCOPED_TRACE(testing::Message() << "quad " << quad << " at pixel " << x << "," << y);
    EXPECT_NEAR(pixel[0], cell.red, 2);
    EXPECT_NEAR(pixel[1], cell.green, 2);
    EXPECT_NEAR(pixel[2], cell.blue, 2);
}

} // namespace

TEST(UserInterface, OrthoShaderThatCannotBeBuiltThrowsButMissingPicturesDoNot)
{
    GL_TEST_SETUP(context);
    AssetFolder empty;
    AssetFolder broken;
    broken.write("orthoShader.vert", "#version 330 core\nvoid main() { gl_Position = undeclared; }\n");
    broken.write("orthoShader.frag", "#version 330 core\nout vec4 out_color;\nvoid main() { out_color = vec4(1); }\n");
    for (const AssetFolder* folder : {&empty, &broken}) {
        std::string error;
        printedBy([&] { error = constructionError(folder->path("")); });
        EXPECT_EQ(error, UserInterface::shaderFailure);
    }
    // The real shaders, with a texture folder that holds no pictures.
    EXPECT_EQ(constructionError(shaderDirectory()), "(nothing thrown)");
}

TEST(UserInterface, StartScreenShowsThePictureAsAuthored)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    const Colour start{200, 100, 50, 255};
    ASSERT_TRUE(folder.save(makeSolidImage(8, 8, start), FIF_PNG, "start.png"));
    UserInterface overlay(shaderDirectory());
    SrgbTarget target(16, 12);
    ASSERT_TRUE(target.complete());
    platform::Window unopened; // presenting is a no-op without a window

    overlay.drawStartScreen(unopened);

    // Through the sRGB framebuffer the stored bytes are the file's bytes.
    for (int y : {0, 5, 11}) {
        for (int x : {0, 7, 15}) {
            SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
            const std::array<int, 4> pixel = readStoredPixel(x, y);
            EXPECT_NEAR(pixel[0], start.red, 2);
            EXPECT_NEAR(pixel[1], start.green, 2);
            EXPECT_NEAR(pixel[2], start.blue, 2);
        }
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    expectBindingsReleased();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(StatusPanel, DigitsAndWordsFollowTheSettings)
{
    // Digit d is atlas cell d of the top row.
    for (int digit = 0; digit < 10; ++digit) {
        EXPECT_NEAR(hud::quadTable()[static_cast<size_t>(digit)].u0, 0.1f * static_cast<float>(digit), 1e-6f);
        EXPECT_NEAR(hud::quadTable()[static_cast<size_t>(digit)].v0, 0.9f, 1e-6f);
    }
    // Frame-rate digits, draw-call digits, then the words of wire frame,
    // sampling, mipmapping, sound, culling and transparency.
    hud::StatusSettings settings{60.0, 7, GL_TRIANGLES, TextureManager::samplingLinear,
                                 TextureManager::mipmapNearest, false, true, true};
    EXPECT_EQ(hud::glyphQuads(settings), (std::array<int, 12>{0, 6, 0, 0, 0, 7, 19, 21, 21, 18, 18, 18}));
    // Past three places the numbers show as 999.
    settings = {12345.6, 1000, GL_LINE_STRIP, TextureManager::samplingNearest,
                TextureManager::mipmapOff, true, false, false};
    EXPECT_EQ(hud::glyphQuads(settings), (std::array<int, 12>{9, 9, 9, 9, 9, 9, 18, 20, 19, 19, 19, 19}));
    settings.mipmapMode = TextureManager::mipmapLinear;
    EXPECT_EQ(hud::glyphQuads(settings)[8], 20);
}

TEST(StatusPanel, HiddenPanelDrawsNothing)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    preparePanel(folder);
    UserInterface overlay(shaderDirectory());
    SrgbTarget target(64, 64);
    ASSERT_TRUE(target.complete());
    showStatusOverlay = false;

    overlay.drawDebugOverlay();

    glDisable(GL_FRAMEBUFFER_SRGB);
    std::vector<unsigned char> pixels(64 * 64 * 4, 1);
    glReadPixels(0, 0, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), static_cast<long>(pixels.size()));
    expectBindingsReleased();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(StatusPanel, EveryGlyphShowsItsQuadInItsPlace)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    preparePanel(folder);
    struct Case {
        double framesPerSecond;
        std::uint32_t drawCounter;
        unsigned int drawMode;
        int mipmapMode;
        bool muted, culling, transparency;
        std::array<int, 12> glyphs;
    };
    // The second has six different digits, so that a glyph in the wrong
    // place cannot hide behind an equal neighbour.
    const Case cases[] = {
        {60.0, 7, GL_TRIANGLES, TextureManager::mipmapOff, false, true, false,
         {0, 6, 0, 0, 0, 7, 19, 20, 19, 18, 18, 19}},
        {123.7, 456, GL_LINE_STRIP, TextureManager::mipmapLinear, true, false, true,
         {1, 2, 3, 4, 5, 6, 18, 20, 20, 19, 19, 18}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << test.framesPerSecond << " frames per second");
        showStatusOverlay = true;
        framesPerSecond = test.framesPerSecond;
        drawCounter = test.drawCounter;
        drawMode = test.drawMode;
        soundMuted = test.muted;
        frustumCulling = test.culling;
        transparency = test.transparency;
        TextureManager::getInstance()->setMipmapping(test.mipmapMode);
        UserInterface overlay(shaderDirectory());
        SrgbTarget target(panelTargetSize, panelTargetSize);
        ASSERT_TRUE(target.complete());

        overlay.drawDebugOverlay();

        for (int label = 0; label < hud::labelCount; ++label) {
            expectQuadAt(hud::firstLabelQuad + label, 0.0f, 0.0f);
        }
        // Glyph i sits in placement i: row 0 columns 0 to 2, row 1 columns
        // 0 to 2, then rows 2 to 7 in column 0.
        for (int glyph = 0; glyph < 12; ++glyph) {
            SCOPED_TRACE(testing::Message() << "glyph " << glyph);
            const int row = glyph < 6 ? glyph / 3 : glyph - 4;
            const int column = glyph < 6 ? glyph % 3 : 0;
            expectQuadAt(test.glyphs[static_cast<size_t>(glyph)], 0.025f * static_cast<float>(column),
                         -0.1f * static_cast<float>(row));
        }
        expectBindingsReleased();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}
