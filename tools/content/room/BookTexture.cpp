#include "room/BookAtlas.h"
#include "room/RoomTextures.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace room {

namespace {
// Cloth and leather bindings of an ordinary family bookshelf.
const std::array<glm::vec3, bookAtlas::columns> bindings{{
    {0.60f, 0.12f, 0.10f}, {0.14f, 0.20f, 0.42f}, {0.16f, 0.36f, 0.20f}, {0.80f, 0.60f, 0.22f},
    {0.42f, 0.10f, 0.16f}, {0.12f, 0.42f, 0.44f}, {0.45f, 0.28f, 0.16f}, {0.13f, 0.12f, 0.12f},
    {0.88f, 0.84f, 0.72f}, {0.40f, 0.50f, 0.62f}, {0.84f, 0.42f, 0.16f}, {0.42f, 0.44f, 0.20f},
    {0.34f, 0.20f, 0.44f}, {0.72f, 0.58f, 0.40f}, {0.10f, 0.26f, 0.20f}, {0.56f, 0.70f, 0.82f},
}};

const glm::vec3 goldLeaf(0.90f, 0.74f, 0.38f);
const glm::vec3 paper(0.93f, 0.89f, 0.78f);

// Spine artwork for column c at spine position (across 0..1, up 0..1).
glm::vec3 spineColour(int c, float across, float up, int px, int py)
{
    const glm::vec3 base = bindings[std::size_t(c)];
    const bool lightBinding = base.r + base.g + base.b > 1.8f;
    const glm::vec3 ink = lightBinding ? glm::vec3(0.20f, 0.14f, 0.10f) : goldLeaf;
    // Bands near the head and foot, placed per book style.
    const float bandA = 0.06f + 0.05f * noise::nestedUnit(c, 1, 0xb00cu), bandB = 0.9f - 0.04f * noise::nestedUnit(c, 2, 0xb00cu);
    for (float band : {bandA, bandB}) {
        if (std::fabs(up - band) < 0.008f || std::fabs(up - band - 0.025f) < 0.005f) {
            return ink;
        }
    }
    // A label panel on some, in a contrasting shade.
    const bool label = noise::nestedUnit(c, 3, 0xb00cu) < 0.5f;
    const float labelLow = 0.58f, labelHigh = 0.78f;
    glm::vec3 ground = base;
    if (label && up > labelLow && up < labelHigh && across > 0.15f && across < 0.85f) {
        ground = lightBinding ? base * 0.55f : glm::mix(base, paper, 0.75f);
    }
    // The title: short strokes running up the spine, like lettering seen from afar.
    const float titleLow = label ? labelLow + 0.02f : 0.45f, titleHigh = label ? labelHigh - 0.02f : 0.8f;
    if (up > titleLow && up < titleHigh && across > 0.38f && across < 0.62f) {
        int glyph = py / 5;
        bool stroke = noise::nestedUnit(c * 97 + glyph, px / 3, 0xb00du) < 0.55f && (py % 5) != 0;
        if (stroke) {
            return label ? (lightBinding ? goldLeaf : glm::vec3(0.15f, 0.1f, 0.08f)) : ink;
        }
    }
    // Author's name near the foot.
    if (up > 0.16f && up < 0.28f && across > 0.4f && across < 0.6f && noise::nestedUnit(py / 4, c, 0xb00eu) < 0.6f &&
        (py % 4) != 0) {
        return ink;
    }
    return ground;
}
} // namespace

Image makeBooksTexture()
{
    constexpr int size = 512, columnWidth = size / bookAtlas::columns;
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        float v = (float(y) + 0.5f) / size;
        for (int x = 0; x < size; ++x) {
            int c = x / columnWidth;
            float across = (float(x % columnWidth) + 0.5f) / columnWidth;
            glm::vec3 colour;
            if (v < bookAtlas::spineTop) {
                colour = spineColour(c, across, v / bookAtlas::spineTop, x, y);
                // The rounded spine catches the light in the middle.
                colour *= 0.78f + 0.3f * std::sin(across * 3.14159265f);
            } else if (v < bookAtlas::pagesBottom - 0.01f) {
                colour = bindings[std::size_t(c)];
            } else {
                // Page edges: fine lines of paper along the book's depth.
                colour = paper * (0.86f + 0.12f * noise::nestedUnit(y, c, 0xb00fu)) * ((y & 1) ? 1.0f : 0.94f);
            }
            // Worn cloth: a little grain everywhere.
            colour *= 0.94f + 0.1f * tileNoise((float(x) + 0.5f) / size, v, 128, 128, 0xb010u);
            image.fromBottom(x, y) = glm::vec4(glm::min(colour, glm::vec3(1.0f)), 1.0f);
        }
    }
    return image;
}

} // namespace room
