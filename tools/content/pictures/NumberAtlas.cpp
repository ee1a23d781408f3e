// The status panel's atlas: every digit, row label and value word in the
// cell where the overlay's quad table reads it.
#include "common/Image.h"
#include "pictures/Font.h"
#include "pictures/MaskOps.h"
#include "pictures/Pictures.h"

#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr int atlasSize = 1024;
// A glyph quad is 0.4 of its atlas width and 0.8 of its atlas height in
// normalized device units; on a 16:9 window (1280 x 720) that squeezes the
// atlas to 256/288 of its width relative to its height. Setting the letters
// that much wider here makes them look right on screen.
constexpr float stretch = (0.8f * 720.0f) / (0.4f * 1280.0f);
constexpr float outlineRadius = 5.0f;
constexpr float sideMargin = 12.0f;
// Digits overlap: their quads are 0.04 wide but placed 0.025 apart, so a
// digit's ink must stay inside the middle 0.625 of its cell.
constexpr float digitInkShare = 0.58f;

constexpr const char* digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};

enum class Kind { digit, label, on, off, filter };

struct Cell {
    float u0, u1, v0, v1;
    const char* text;
    Kind kind;
};

// Words for the cells of the quad table; quads 20 and 21 are the filter
// words, picked for texture sampling nearest (20) and linear (21).
constexpr Cell wordCells[] = {
    {0.0f, 0.2f, 0.8f, 0.9f, "on", Kind::on},
    {0.2f, 0.4f, 0.8f, 0.9f, "off", Kind::off},
    {0.0f, 0.2f, 0.7f, 0.8f, "FPS", Kind::label},
    {0.2f, 0.8f, 0.7f, 0.8f, "Draw calls", Kind::label},
    {0.0f, 0.5f, 0.6f, 0.7f, "Wireframe", Kind::label},
    {0.5f, 0.8f, 0.6f, 0.7f, "Sound", Kind::label},
    {0.0f, 0.7f, 0.5f, 0.6f, "Texture filter", Kind::label},
    {0.0f, 0.5f, 0.4f, 0.5f, "Mipmaps", Kind::label},
    {0.0f, 0.7f, 0.3f, 0.4f, "Frustum culling", Kind::label},
    {0.0f, 0.6f, 0.2f, 0.3f, "Transparency", Kind::label},
    {0.0f, 0.4f, 0.1f, 0.2f, "nearest", Kind::filter},
    {0.4f, 0.7f, 0.1f, 0.2f, "linear", Kind::filter},
};

glm::vec3 textColour(Kind kind)
{
    switch (kind) {
    case Kind::digit: return {1.0f, 0.97f, 0.86f};
    case Kind::label: return {0.8f, 0.89f, 1.0f};
    case Kind::on: return {0.45f, 1.0f, 0.5f};
    case Kind::off: return {1.0f, 0.47f, 0.4f};
    case Kind::filter: return {1.0f, 0.8f, 0.35f};
    }
    return glm::vec3(1.0f);
}

constexpr glm::vec3 outlineColour{0.02f, 0.03f, 0.05f};

struct PixelRect {
    int x0, y0, x1, y1;
};

// Atlas rows run top-down here while v runs up: v = 1 is the top row.
PixelRect cellPixels(const Cell& cell)
{
    return {static_cast<int>(std::lround(cell.u0 * atlasSize)), static_cast<int>(std::lround((1.0f - cell.v1) * atlasSize)),
            static_cast<int>(std::lround(cell.u1 * atlasSize)), static_cast<int>(std::lround((1.0f - cell.v0) * atlasSize))};
}

// The text of one cell with outline and shadow, drawn on its own so
// nothing spills into a neighbour (mipmaps would carry it across).
void drawCell(Image& atlas, const Font& font, const Cell& cell, const Font::Style& style)
{
    PixelRect rect = cellPixels(cell);
    const int width = rect.x1 - rect.x0;
    const int height = rect.y1 - rect.y0;
    Mask text(width, height);
    float capHeight = font.capHeight(style);
    // Capitals centred, lifted a little so descenders keep clear of the row below.
    float baseline = (static_cast<float>(height) + capHeight) * 0.5f - 3.0f;
    float x = sideMargin + outlineRadius;
    if (cell.kind == Kind::digit) {
        x = (static_cast<float>(width) - font.measure(cell.text, style)) * 0.5f;
    }
    font.draw(text, cell.text, x, baseline, style);

    Mask outline = dilate(text, outlineRadius);
    Mask shadow = blur(shifted(outline, 2, 3), 2);
    Image layer(width, height, glm::vec4(outlineColour, 0.0f));
    paint(layer, shadow, glm::vec3(0.0f), 0.55f);
    paint(layer, outline, outlineColour, 0.92f);
    const glm::vec3 colour = textColour(cell.kind);
    const float top = baseline - capHeight;
    paint(layer, text, [&](int, int py) {
        // Lighter at the top of the letters, like a lit bevel.
        float t = std::clamp((static_cast<float>(py) - top) / capHeight, 0.0f, 1.0f);
        return colour * (1.0f - 0.2f * t);
    });
    for (int y = 0; y < height; ++y) {
        for (int px = 0; px < width; ++px) {
            atlas.at(rect.x0 + px, rect.y0 + y) = layer.at(px, y);
        }
    }
}

// Width of the widest digit's ink (not its advance) at an em of 100 pixels.
float widestDigitInk(const Font& font, const Font::Style& style)
{
    Mask scratch(200, 200);
    for (const char* digit : digits) {
        font.draw(scratch, digit, 40.0f, 150.0f, style);
    }
    int left = scratch.width, right = -1;
    for (int y = 0; y < scratch.height; ++y) {
        for (int x = 0; x < scratch.width; ++x) {
            if (scratch.at(x, y) > 0.0f) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return static_cast<float>(right - left + 1);
}

// The largest size at which every word fits its cell, capped at `cap`.
float fittingEm(const Font& font, float cap)
{
    float em = cap;
    for (const Cell& cell : wordCells) {
        float room = (cell.u1 - cell.u0) * atlasSize - 2.0f * (sideMargin + outlineRadius);
        float widthAtOne = font.measure(cell.text, Font::Style{1.0f, stretch, 0.0f});
        em = std::min(em, room / widthAtOne);
    }
    return std::floor(em);
}

} // namespace

bool writeNumberAtlas(const std::filesystem::path& textureDir)
{
    Font font(fontFile("DejaVuSans-Bold.ttf"));
    if (!font.valid()) {
        return false;
    }
    Image atlas(atlasSize, atlasSize, glm::vec4(outlineColour, 0.0f));

    const Font::Style wordStyle{fittingEm(font, 62.0f), stretch, 0.0f};
    for (const Cell& cell : wordCells) {
        drawCell(atlas, font, cell, wordStyle);
    }

    // Digits as large as their overlapping places allow.
    const float digitRoom = 0.1f * atlasSize * digitInkShare - 2.0f * outlineRadius;
    const float digitEm = std::floor(100.0f * digitRoom / widestDigitInk(font, Font::Style{100.0f, stretch, 0.0f}));
    const Font::Style digitStyle{digitEm, stretch, 0.0f};
    for (int d = 0; d < 10; ++d) {
        float u0 = 0.1f * static_cast<float>(d);
        drawCell(atlas, font, Cell{u0, u0 + 0.1f, 0.9f, 1.0f, digits[d], Kind::digit}, digitStyle);
    }
    return writePngRgba(atlas, textureDir / "numbers.png");
}
