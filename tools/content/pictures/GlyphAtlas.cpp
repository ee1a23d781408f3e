// The overlay's letters: every printable ASCII character in one cell of a
// 16 by 6 grid, in order from the space, white with a dark outline, so that
// any line of text can be set from it.
#include "common/Image.h"
#include "pictures/Font.h"
#include "pictures/MaskOps.h"
#include "pictures/Pictures.h"

#include "effects/GlyphGrid.h"

#include <glm/glm.hpp>

#include <cmath>
#include <string>

namespace {

constexpr int cellWidth = glyphs::cellWidthPixels;
constexpr int cellHeight = glyphs::cellHeightPixels;
// The dark edge keeps the letters readable over the bright room.
constexpr float outlineRadius = 4.0f;
constexpr glm::vec3 outlineColour{0.02f, 0.03f, 0.05f};
constexpr glm::vec3 letterColour{1.0f, 0.98f, 0.92f};

void drawGlyph(Image& atlas, const Font& font, char character, const Font::Style& style)
{
    const int index = character - glyphs::firstCharacter;
    const int column = index % glyphs::columns;
    const int row = index / glyphs::columns;
    Mask letter(cellWidth, cellHeight);
    const std::string text(1, character);
    const float x = (static_cast<float>(cellWidth) - font.measure(text, style)) * 0.5f;
    // Capitals centred in the cell's upper part, room for descenders below.
    const float baseline = (static_cast<float>(cellHeight) + font.capHeight(style)) * 0.5f - 4.0f;
    font.draw(letter, text, x, baseline, style);
    Mask outline = dilate(letter, outlineRadius);
    Image cell(cellWidth, cellHeight, glm::vec4(outlineColour, 0.0f));
    paint(cell, outline, outlineColour, 0.9f);
    paint(cell, letter, letterColour);
    for (int y = 0; y < cellHeight; ++y) {
        for (int px = 0; px < cellWidth; ++px) {
            atlas.at(column * cellWidth + px, row * cellHeight + y) = cell.at(px, y);
        }
    }
}

} // namespace

bool writeGlyphAtlas(const std::filesystem::path& textureDir)
{
    Font font(fontFile("DejaVuSansMono-Bold.ttf"));
    if (!font.valid()) {
        return false;
    }
    Image atlas(glyphs::columns * cellWidth, glyphs::rows * cellHeight, glm::vec4(outlineColour, 0.0f));
    // As large as the cell's width allows with the outline on both sides.
    const float em = std::floor((static_cast<float>(cellWidth) - 2.0f * outlineRadius - 4.0f) /
                                font.measure("M", Font::Style{1.0f, 1.0f, 0.0f}));
    const Font::Style style{em, 1.0f, 0.0f};
    for (char character = glyphs::firstCharacter; character <= glyphs::lastCharacter; ++character) {
        drawGlyph(atlas, font, character, style);
    }
    return writePngRgba(atlas, textureDir / "glyphs.png");
}
