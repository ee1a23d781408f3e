#include "assets/TextureManager.h"
#include "effects/StatusPanel.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <array>

// Which glyph of the atlas each of the panel's twelve places shows: the
// frame-rate digits, the draw-call digits, then the words of wire frame,
// sampling, mipmapping, sound, culling and transparency.
TEST(StatusPanel, DigitsAndWordsFollowTheSettings)
{
    hud::StatusSettings settings{60.0, 7, GL_TRIANGLES, TextureManager::samplingLinear,
                                 TextureManager::mipmapNearest, false, true, true};
    EXPECT_EQ(hud::glyphQuads(settings), (std::array<int, 12>{0, 6, 0, 0, 0, 7, 19, 21, 21, 18, 18, 18}));
    // Past three places the numbers show as 999.
    settings = {12345.6, 1000, GL_LINE_STRIP, TextureManager::samplingNearest,
                TextureManager::mipmapOff, true, false, false};
    EXPECT_EQ(hud::glyphQuads(settings), (std::array<int, 12>{9, 9, 9, 9, 9, 9, 18, 20, 19, 19, 19, 19}));
    // Six different digits, so that none can hide behind an equal neighbour.
    settings = {123.7, 456, GL_LINE_STRIP, TextureManager::samplingNearest,
                TextureManager::mipmapLinear, true, false, true};
    EXPECT_EQ(hud::glyphQuads(settings), (std::array<int, 12>{1, 2, 3, 4, 5, 6, 18, 20, 20, 19, 19, 18}));
}
