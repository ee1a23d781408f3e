#include "effects/TextLayout.h"

#include "effects/GlyphGrid.h"

namespace {

constexpr float letterWidthShare =
    static_cast<float>(glyphs::cellWidthPixels) / static_cast<float>(glyphs::cellHeightPixels);

void addQuad(std::vector<float>& to, float x0, float y0, float x1, float y1)
{
    // Two triangles, counter-clockwise as the overlay's culling wants.
    const float corners[] = {x0, y0, x1, y0, x1, y1, x0, y0, x1, y1, x0, y1};
    to.insert(to.end(), std::begin(corners), std::end(corners));
}

} // namespace

TextTriangles layoutText(const TextLine& line, glm::ivec2 windowSize)
{
    TextTriangles triangles;
    const glm::vec2 toDevice(2.0f / static_cast<float>(windowSize.x), 2.0f / static_cast<float>(windowSize.y));
    const float width = line.height * letterWidthShare;
    float x = line.topLeft.x;
    for (char character : line.text) {
        if (character < glyphs::firstCharacter || character > glyphs::lastCharacter) {
            character = ' ';
        }
        const int index = character - glyphs::firstCharacter;
        const int column = index % glyphs::columns;
        const int row = index / glyphs::columns;
        // Pixels down from the top become device units up from the middle.
        const float left = x * toDevice.x - 1.0f;
        const float right = (x + width) * toDevice.x - 1.0f;
        const float top = 1.0f - line.topLeft.y * toDevice.y;
        const float bottom = 1.0f - (line.topLeft.y + line.height) * toDevice.y;
        addQuad(triangles.positions, left, bottom, right, top);
        // The picture's first row is its top, where v is 1.
        const float u0 = static_cast<float>(column) / glyphs::columns;
        const float u1 = static_cast<float>(column + 1) / glyphs::columns;
        const float v1 = 1.0f - static_cast<float>(row) / glyphs::rows;
        const float v0 = 1.0f - static_cast<float>(row + 1) / glyphs::rows;
        addQuad(triangles.texCoords, u0, v0, u1, v1);
        x += width;
    }
    return triangles;
}
