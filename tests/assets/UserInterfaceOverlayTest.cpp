#include "app/Settings.h"
#include "assets/HudLayout.h"
#include "assets/TestImages.h"
#include "assets/TextureManager.h"
#include "assets/UserInterface.h"
#include "assets/UserInterfaceTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

using overlaytest::Pixel;
using overlaytest::SrgbTarget;
using testimages::TextureFolder;

namespace {

constexpr int targetSize = 400;

// Sets the values the status panel reports and puts the previous ones back.
class PanelSettingsScope {
public:
    PanelSettingsScope()
        : savedShow(showStatusOverlay), savedFrames(framesPerSecond), savedDraws(drawCounter),
          savedMode(drawMode), savedMuted(soundMuted), savedCulling(frustumCulling),
          savedTransparency(transparency),
          savedSampling(TextureManager::getInstance()->getSamplingMode()),
          savedMipmapping(TextureManager::getInstance()->getMipmapMode())
    {
    }
    ~PanelSettingsScope()
    {
        showStatusOverlay = savedShow;
        framesPerSecond = savedFrames;
        drawCounter = savedDraws;
        drawMode = savedMode;
        soundMuted = savedMuted;
        frustumCulling = savedCulling;
        transparency = savedTransparency;
        TextureManager::getInstance()->setSampling(savedSampling);
        TextureManager::getInstance()->setMipmapping(savedMipmapping);
    }
    PanelSettingsScope(const PanelSettingsScope&) = delete;
    PanelSettingsScope& operator=(const PanelSettingsScope&) = delete;

private:
    bool savedShow;
    double savedFrames;
    std::uint32_t savedDraws;
    unsigned int savedMode;
    bool savedMuted;
    bool savedCulling;
    bool savedTransparency;
    int savedSampling;
    int savedMipmapping;
};

std::vector<unsigned char> readAll(int width, int height)
{
    glDisable(GL_FRAMEBUFFER_SRGB);
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glEnable(GL_FRAMEBUFFER_SRGB);
    return pixels;
}

int toPixel(float ndc)
{
    return static_cast<int>(std::floor((ndc + 1.0f) * 0.5f * targetSize));
}

float pixelCentre(int pixel)
{
    return (static_cast<float>(pixel) + 0.5f) / targetSize * 2.0f - 1.0f;
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
    const testimages::Colour cell = overlaytest::atlasCellColour(static_cast<int>(std::floor(u * 10.0f)),
                                                                 static_cast<int>(std::floor(v * 10.0f)));
    const Pixel pixel = overlaytest::readStoredPixel(x, y);
    SCOPED_TRACE(testing::Message() << "quad " << quad << " at pixel " << x << "," << y);
    EXPECT_NEAR(pixel[0], cell.red, 2);
    EXPECT_NEAR(pixel[1], cell.green, 2);
    EXPECT_NEAR(pixel[2], cell.blue, 2);
}

// Checks the twelve glyphs of the panel in drawing order against `quads`.
void expectGlyphs(const std::array<int, 12>& quads)
{
    const std::array<int, 12> rows{0, 0, 0, 1, 1, 1, 2, 3, 4, 5, 6, 7};
    const std::array<int, 12> columns{0, 1, 2, 0, 1, 2, 0, 0, 0, 0, 0, 0};
    for (size_t glyph = 0; glyph < quads.size(); ++glyph) {
        SCOPED_TRACE(testing::Message() << "glyph " << glyph);
        expectQuadAt(quads[glyph], 0.025f * static_cast<float>(columns[glyph]),
                     -0.1f * static_cast<float>(rows[glyph]));
    }
}

// Writes a cell atlas as "numbers"; declare the folder after GL_TEST_SETUP
// so that its textures go while the context still exists.
void preparePanel(const TextureFolder& folder)
{
    ASSERT_TRUE(folder.save(overlaytest::makeCellAtlas(), FIF_PNG, "numbers.png"));
    // Nearest magnification keeps each atlas cell one flat colour on screen.
    TextureManager::getInstance()->setSampling(TextureManager::samplingNearest);
}

} // namespace

TEST(UserInterfaceOverlay, HiddenPanelDrawsNothing)
{
    GL_TEST_SETUP(context);
    PanelSettingsScope settings;
    TextureFolder folder;
    preparePanel(folder);
    UserInterface overlay(overlaytest::shaderDirectory());
    SrgbTarget target(targetSize, targetSize);
    ASSERT_TRUE(target.complete());
    glClear(GL_COLOR_BUFFER_BIT);
    showStatusOverlay = false;

    overlay.drawDebugOverlay();

    std::vector<unsigned char> pixels = readAll(targetSize, targetSize);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), static_cast<long>(pixels.size()));
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    GLint vertexArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    EXPECT_EQ(vertexArray, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(UserInterfaceOverlay, PanelStaysInTheUpperRightCorner)
{
    GL_TEST_SETUP(context);
    PanelSettingsScope settings;
    TextureFolder folder;
    preparePanel(folder);
    UserInterface overlay(overlaytest::shaderDirectory());
    SrgbTarget target(targetSize, targetSize);
    ASSERT_TRUE(target.complete());
    glClear(GL_COLOR_BUFFER_BIT);
    showStatusOverlay = true;

    overlay.drawDebugOverlay();

    std::vector<unsigned char> pixels = readAll(targetSize, targetSize);
    const int left = toPixel(0.50f) - 1;
    const int bottom = toPixel(0.11f) - 1;
    int changed = 0;
    int outside = 0;
    for (int y = 0; y < targetSize; ++y) {
        for (int x = 0; x < targetSize; ++x) {
            const unsigned char* pixel = &pixels[static_cast<size_t>((y * targetSize + x) * 4)];
            if (pixel[0] != 0 || pixel[1] != 0 || pixel[2] != 0 || pixel[3] != 0) {
                ++changed;
                outside += (x < left || y < bottom) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(changed, 1000);
    EXPECT_EQ(outside, 0);
    // Between the wire-frame label (ending at 0.70) and its word (from 0.80).
    EXPECT_EQ(overlaytest::readStoredPixel(toPixel(0.75f), toPixel(0.65f))[3], 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(UserInterfaceOverlay, EveryGlyphShowsItsQuadInItsPlace)
{
    GL_TEST_SETUP(context);
    PanelSettingsScope settings;
    TextureFolder folder;
    preparePanel(folder);
    UserInterface overlay(overlaytest::shaderDirectory());
    SrgbTarget target(targetSize, targetSize);
    ASSERT_TRUE(target.complete());
    glClear(GL_COLOR_BUFFER_BIT);
    showStatusOverlay = true;
    // Six different digits, so that a glyph in the wrong place cannot hide
    // behind an equal neighbour in the overlapping digit places.
    framesPerSecond = 123.7;
    drawCounter = 456;
    drawMode = GL_LINE_STRIP;
    soundMuted = true;
    frustumCulling = false;
    transparency = true;
    ASSERT_EQ(TextureManager::getInstance()->getMipmapMode(), TextureManager::mipmapLinear);

    overlay.drawDebugOverlay();

    for (int label = 0; label < hud::labelCount; ++label) {
        expectQuadAt(hud::firstLabelQuad + label, 0.0f, 0.0f);
    }
    // Wire frame on, sampling nearest, mipmapping linear, sound muted,
    // culling off, transparency on.
    expectGlyphs({1, 2, 3, 4, 5, 6, 18, 20, 20, 19, 19, 18});
    GLint texture = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(texture, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(UserInterfaceOverlay, SixtyFramesAndSevenDrawCallsOnScreen)
{
    GL_TEST_SETUP(context);
    PanelSettingsScope settings;
    TextureFolder folder;
    preparePanel(folder);
    TextureManager::getInstance()->setMipmapping(TextureManager::mipmapOff);
    UserInterface overlay(overlaytest::shaderDirectory());
    SrgbTarget target(targetSize, targetSize);
    ASSERT_TRUE(target.complete());
    glClear(GL_COLOR_BUFFER_BIT);
    showStatusOverlay = true;
    framesPerSecond = 60.0;
    drawCounter = 7;
    drawMode = GL_TRIANGLES;
    soundMuted = false;
    frustumCulling = true;
    transparency = false;

    overlay.drawDebugOverlay();

    // Wire frame off, sampling nearest, mipmapping off, sound on, culling
    // on, transparency off.
    expectGlyphs({0, 6, 0, 0, 0, 7, 19, 20, 19, 18, 18, 19});
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
