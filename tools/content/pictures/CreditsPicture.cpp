// The credits laid over the running race: a dark see-through band across
// the middle of the screen, clear everywhere else so the scene stays visible.
#include "common/Image.h"
#include "pictures/Font.h"
#include "pictures/MaskOps.h"
#include "pictures/Pictures.h"

#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr int pictureWidth = 1280;
constexpr int pictureHeight = 720;
constexpr float centreX = pictureWidth * 0.5f;
constexpr float bandTop = 236.0f;
constexpr float bandBottom = 484.0f;
constexpr float bandFade = 26.0f;
constexpr float bandOpacity = 0.7f;
constexpr glm::vec3 bandColour{0.02f, 0.03f, 0.07f};
constexpr glm::vec3 accentColour{1.0f, 0.6f, 0.2f};

void paintBand(Image& image)
{
    for (int y = 0; y < pictureHeight; ++y) {
        float py = static_cast<float>(y) + 0.5f;
        float inBand = glm::smoothstep(bandTop - bandFade, bandTop, py) * (1.0f - glm::smoothstep(bandBottom, bandBottom + bandFade, py));
        for (int x = 0; x < pictureWidth; ++x) {
            image.at(x, y) = glm::vec4(bandColour, inBand * bandOpacity);
        }
    }
    // Thin accent rules along the band's edges, fading out towards the sides.
    for (float ruleY : {bandTop + 6.0f, bandBottom - 8.0f}) {
        for (int x = 0; x < pictureWidth; ++x) {
            float fromCentre = std::abs(static_cast<float>(x) + 0.5f - centreX) / (centreX * 0.8f);
            float strength = 1.0f - glm::smoothstep(0.2f, 1.0f, fromCentre);
            for (int row = 0; row < 2; ++row) {
                image.blendOver(x, static_cast<int>(ruleY) + row, accentColour, strength * 0.85f);
            }
        }
    }
}

struct Line {
    const char* text;
    const Font* font;
    Font::Style style;
    float baseline;
    glm::vec3 colour;
};

void paintLine(Image& image, const Line& line)
{
    Mask text(pictureWidth, pictureHeight);
    drawCentred(text, *line.font, line.text, centreX, line.baseline, line.style);
    // A soft dark halo keeps the letters readable wherever the band is thin.
    paint(image, blur(dilate(text, 2.0f), 3), bandColour, 0.8f);
    paint(image, text, line.colour);
}

} // namespace

bool writeCredits(const std::filesystem::path& textureDir)
{
    Font bold(fontFile("DejaVuSans-Bold.ttf"));
    Font regular(fontFile("DejaVuSans.ttf"));
    if (!bold.valid() || !regular.valid()) {
        return false;
    }
    // Clear pixels carry the band's colour, so filtering at the band's edge
    // fades into it rather than into black.
    Image image(pictureWidth, pictureHeight, glm::vec4(bandColour, 0.0f));
    paintBand(image);
    const Line lines[] = {
        {"Brimbolt — a real-time showcase", &bold, {54.0f, 1.0f, 0.0f}, 318.0f, {1.0f, 0.8f, 0.42f}},
        {"Programming, models, textures and music made with our own tools", &regular, {27.0f, 1.0f, 0.0f}, 382.0f,
         {0.93f, 0.95f, 1.0f}},
        {"Thank you for watching", &bold, {34.0f, 1.0f, 0.04f}, 440.0f, {0.62f, 0.82f, 1.0f}},
    };
    for (const Line& line : lines) {
        paintLine(image, line);
    }
    return writePngRgba(image, textureDir / "credits.png");
}
