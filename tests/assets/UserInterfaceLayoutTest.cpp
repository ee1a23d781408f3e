#include "assets/HudLayout.h"
#include "assets/StatusPanel.h"
#include "assets/TextureManager.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <array>
#include <vector>

namespace {

constexpr float tolerance = 1e-6f;

void expectCorners(const hud::QuadCorners& actual, const hud::QuadCorners& expected)
{
    EXPECT_NEAR(actual.x0, expected.x0, tolerance);
    EXPECT_NEAR(actual.x1, expected.x1, tolerance);
    EXPECT_NEAR(actual.y0, expected.y0, tolerance);
    EXPECT_NEAR(actual.y1, expected.y1, tolerance);
    EXPECT_NEAR(actual.u0, expected.u0, tolerance);
    EXPECT_NEAR(actual.u1, expected.u1, tolerance);
    EXPECT_NEAR(actual.v0, expected.v0, tolerance);
    EXPECT_NEAR(actual.v1, expected.v1, tolerance);
}

hud::StatusSettings defaultSettings()
{
    hud::StatusSettings settings;
    settings.framesPerSecond = 60.0;
    settings.drawCounter = 7;
    settings.drawMode = GL_TRIANGLES;
    settings.samplingMode = TextureManager::samplingLinear;
    settings.mipmapMode = TextureManager::mipmapLinear;
    settings.soundMuted = false;
    settings.frustumCulling = true;
    settings.transparency = true;
    return settings;
}

} // namespace

TEST(UserInterfaceLayout, TableHoldsTwentyTwoQuads)
{
    EXPECT_EQ(hud::quadTable().size(), 22u);
    EXPECT_EQ(hud::quadCount * hud::verticesPerQuad * 2 * static_cast<int>(sizeof(float)), 704);
}

TEST(UserInterfaceLayout, DigitsShareRowZeroAndStepThroughTheTopAtlasRow)
{
    const auto quads = hud::quadTable();
    for (int digit = 0; digit < 10; ++digit) {
        SCOPED_TRACE(testing::Message() << "digit " << digit);
        float u0 = 0.1f * static_cast<float>(digit);
        expectCorners(quads[static_cast<size_t>(digit)], {0.80f, 0.84f, 0.81f, 0.89f, u0, u0 + 0.1f, 0.9f, 1.0f});
    }
}

TEST(UserInterfaceLayout, LabelsAndWordsMatchTheirAtlasCells)
{
    const auto quads = hud::quadTable();
    expectCorners(quads[10], {0.50f, 0.58f, 0.81f, 0.89f, 0.0f, 0.2f, 0.7f, 0.8f});
    expectCorners(quads[11], {0.50f, 0.74f, 0.71f, 0.79f, 0.2f, 0.8f, 0.7f, 0.8f});
    expectCorners(quads[13], {0.50f, 0.78f, 0.51f, 0.59f, 0.0f, 0.7f, 0.5f, 0.6f});
    expectCorners(quads[15], {0.50f, 0.62f, 0.31f, 0.39f, 0.5f, 0.8f, 0.6f, 0.7f});
    expectCorners(quads[17], {0.50f, 0.74f, 0.11f, 0.19f, 0.0f, 0.6f, 0.2f, 0.3f});
    expectCorners(quads[18], {0.80f, 0.88f, 0.81f, 0.89f, 0.0f, 0.2f, 0.8f, 0.9f});
    expectCorners(quads[19], {0.80f, 0.88f, 0.81f, 0.89f, 0.2f, 0.4f, 0.8f, 0.9f});
    expectCorners(quads[20], {0.80f, 0.96f, 0.81f, 0.89f, 0.0f, 0.4f, 0.1f, 0.2f});
    expectCorners(quads[21], {0.80f, 0.92f, 0.81f, 0.89f, 0.4f, 0.7f, 0.1f, 0.2f});
}

TEST(UserInterfaceLayout, EveryGlyphIsScaledFromItsAtlasCell)
{
    for (const hud::QuadCorners& quad : hud::quadTable()) {
        EXPECT_NEAR(quad.x1 - quad.x0, 0.4f * (quad.u1 - quad.u0), tolerance);
        EXPECT_NEAR(quad.y1 - quad.y0, 0.8f * (quad.v1 - quad.v0), tolerance);
    }
}

TEST(UserInterfaceLayout, LabelRowsStepDownByATenth)
{
    const auto quads = hud::quadTable();
    for (int row = 0; row < hud::labelCount; ++row) {
        const hud::QuadCorners& label = quads[static_cast<size_t>(hud::firstLabelQuad + row)];
        EXPECT_NEAR(label.x0, 0.50f, tolerance);
        EXPECT_NEAR(label.y0, 0.81f - 0.1f * static_cast<float>(row), tolerance);
        EXPECT_NEAR(label.y1, 0.89f - 0.1f * static_cast<float>(row), tolerance);
    }
}

TEST(UserInterfaceLayout, CornersRunCounterClockwiseFromLowerLeft)
{
    const std::array<hud::QuadCorners, 1> quad{hud::QuadCorners{0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f}};
    EXPECT_EQ(hud::cornerPositions(quad), (std::vector<float>{0.1f, 0.3f, 0.2f, 0.3f, 0.2f, 0.4f, 0.1f, 0.4f}));
    EXPECT_EQ(hud::cornerTexCoords(quad), (std::vector<float>{0.5f, 0.7f, 0.6f, 0.7f, 0.6f, 0.8f, 0.5f, 0.8f}));
}

TEST(UserInterfaceLayout, ScreenQuadCoversTheWindowWithTheWholePicture)
{
    const std::array<hud::QuadCorners, 1> screen{hud::screenCorners()};
    EXPECT_EQ(hud::cornerPositions(screen), (std::vector<float>{-1, -1, 1, -1, 1, 1, -1, 1}));
    EXPECT_EQ(hud::cornerTexCoords(screen), (std::vector<float>{0, 0, 1, 0, 1, 1, 0, 1}));
}

TEST(UserInterfaceLayout, LabelsAreQuadsTenToSeventeen)
{
    EXPECT_EQ(hud::labelFirsts(), (std::array<GLint, 8>{40, 44, 48, 52, 56, 60, 64, 68}));
    EXPECT_EQ(hud::labelCounts(), (std::array<GLsizei, 8>{4, 4, 4, 4, 4, 4, 4, 4}));
}

TEST(UserInterfaceLayout, PlacementsAreRowAndColumnTranslations)
{
    const auto matrices = hud::placements();
    const std::array<glm::vec2, 12> shifts{{{0.0f, 0.0f},
                                            {0.025f, 0.0f},
                                            {0.05f, 0.0f},
                                            {0.0f, -0.1f},
                                            {0.025f, -0.1f},
                                            {0.05f, -0.1f},
                                            {0.0f, -0.2f},
                                            {0.0f, -0.3f},
                                            {0.0f, -0.4f},
                                            {0.0f, -0.5f},
                                            {0.0f, -0.6f},
                                            {0.0f, -0.7f}}};
    EXPECT_EQ(matrices[0], glm::mat4(1.0f));
    for (size_t i = 0; i < shifts.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "placement " << i);
        const glm::mat4 expected = glm::translate(glm::mat4(1.0f), glm::vec3(shifts[i], 0.0f));
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) {
                EXPECT_NEAR(matrices[i][column][row], expected[column][row], tolerance);
            }
        }
    }
}

TEST(UserInterfaceStatus, SixtyFramesShowZeroSixZero)
{
    const hud::DigitPlaces digits = hud::frameRateDigits(60.0);
    EXPECT_EQ(digits.hundreds, 0);
    EXPECT_EQ(digits.tens, 6);
    EXPECT_EQ(digits.units, 0);
}

TEST(UserInterfaceStatus, FrameRateFractionIsDropped)
{
    const hud::DigitPlaces digits = hud::frameRateDigits(249.9);
    EXPECT_EQ(digits.hundreds, 2);
    EXPECT_EQ(digits.tens, 4);
    EXPECT_EQ(digits.units, 9);
}

TEST(UserInterfaceStatus, SevenDrawCallsShowZeroZeroSeven)
{
    const hud::DigitPlaces digits = hud::drawCallDigits(7);
    EXPECT_EQ(digits.hundreds, 0);
    EXPECT_EQ(digits.tens, 0);
    EXPECT_EQ(digits.units, 7);
}

TEST(UserInterfaceStatus, NumbersBeyondThreePlacesStayOnDigitQuads)
{
    const hud::DigitPlaces frames = hud::frameRateDigits(12345.0);
    EXPECT_EQ(frames.hundreds, 9);
    EXPECT_EQ(frames.tens, 9);
    EXPECT_EQ(frames.units, 9);
    const hud::DigitPlaces calls = hud::drawCallDigits(1000);
    EXPECT_EQ(calls.hundreds, 9);
    EXPECT_EQ(calls.units, 9);
}

TEST(UserInterfaceStatus, GlyphsFollowTheDrawingOrder)
{
    hud::StatusSettings settings = defaultSettings();
    settings.framesPerSecond = 123.0;
    settings.drawCounter = 456;
    EXPECT_EQ(hud::glyphQuads(settings), (std::array<int, 12>{1, 2, 3, 4, 5, 6, 19, 21, 20, 18, 18, 18}));
    EXPECT_EQ(hud::glyphQuads(defaultSettings()), (std::array<int, 12>{0, 6, 0, 0, 0, 7, 19, 21, 20, 18, 18, 18}));
}

TEST(UserInterfaceStatus, WireFrameShowsOnOnlyForLineStrips)
{
    EXPECT_EQ(hud::wireFrameWord(GL_TRIANGLES), hud::wordOff);
    EXPECT_EQ(hud::wireFrameWord(GL_LINE_STRIP), hud::wordOn);
}

TEST(UserInterfaceStatus, SamplingWordsFollowTheTextureManager)
{
    EXPECT_EQ(hud::samplingWord(TextureManager::samplingNearest), 20);
    EXPECT_EQ(hud::samplingWord(TextureManager::samplingLinear), 21);
}

TEST(UserInterfaceStatus, MipmappingWordsFollowTheTextureManager)
{
    EXPECT_EQ(hud::mipmappingWord(TextureManager::mipmapOff), 19);
    EXPECT_EQ(hud::mipmappingWord(TextureManager::mipmapLinear), 20);
    EXPECT_EQ(hud::mipmappingWord(TextureManager::mipmapNearest), 21);
}

TEST(UserInterfaceStatus, SwitchRowsShowTheirState)
{
    hud::StatusSettings settings = defaultSettings();
    settings.drawMode = GL_LINE_STRIP;
    settings.samplingMode = TextureManager::samplingNearest;
    settings.mipmapMode = TextureManager::mipmapOff;
    settings.soundMuted = true;
    settings.frustumCulling = false;
    settings.transparency = false;
    const auto glyphs = hud::glyphQuads(settings);
    EXPECT_EQ(glyphs[6], 18);  // wire frame on
    EXPECT_EQ(glyphs[7], 20);  // sampling nearest
    EXPECT_EQ(glyphs[8], 19);  // mipmapping off
    EXPECT_EQ(glyphs[9], 19);  // sound muted
    EXPECT_EQ(glyphs[10], 19); // culling off
    EXPECT_EQ(glyphs[11], 19); // transparency off

    settings.mipmapMode = TextureManager::mipmapNearest;
    settings.soundMuted = false;
    settings.frustumCulling = true;
    EXPECT_EQ(hud::glyphQuads(settings)[8], 21);
    EXPECT_EQ(hud::glyphQuads(settings)[9], 18);
    EXPECT_EQ(hud::glyphQuads(settings)[10], 18);
    EXPECT_EQ(hud::glyphQuads(settings)[11], 19);
}

TEST(UserInterfaceStatus, GlyphsUseTheirOwnPlacementCells)
{
    EXPECT_EQ(hud::placementCell(0).row, 0);
    EXPECT_EQ(hud::placementCell(2).column, 2);
    EXPECT_EQ(hud::placementCell(3).row, 1);
    EXPECT_EQ(hud::placementCell(5).column, 2);
    for (int placement = 6; placement < hud::placementCount; ++placement) {
        EXPECT_EQ(hud::placementCell(placement).row, placement - 4);
        EXPECT_EQ(hud::placementCell(placement).column, 0);
    }
}
