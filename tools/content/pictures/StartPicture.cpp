// The picture shown while the content loads: the title over a dark room
// with three spot lights and the two cars' light trails on a floor grid.
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
constexpr float horizonY = 440.0f;
// Floor projection: screen row = horizon + floorDistance / depth, screen
// column = centre + x * focalLength / depth.
constexpr float floorDistance = 120.0f;
constexpr float focalLength = 160.0f;
constexpr float gridSpacing = 0.22f;

glm::vec3 skyColour(float y)
{
    const glm::vec3 top(0.025f, 0.03f, 0.075f);
    const glm::vec3 horizon(0.11f, 0.075f, 0.17f);
    const glm::vec3 floorFar(0.1f, 0.07f, 0.155f);
    const glm::vec3 floorNear(0.03f, 0.028f, 0.06f);
    if (y < horizonY) {
        return glm::mix(top, horizon, std::pow(y / horizonY, 1.6f));
    }
    return glm::mix(floorFar, floorNear, glm::smoothstep(0.0f, 1.0f, (y - horizonY) / (pictureHeight - horizonY)));
}

// Anti-aliased grid lines on the floor, fading into the distance where they
// would crowd into noise.
float floorGrid(float x, float y)
{
    if (y <= horizonY + 1.0f) {
        return 0.0f;
    }
    float depth = floorDistance / (y - horizonY);
    float across = (x - centreX) * depth / focalLength;
    auto lineDistance = [](float value) { return std::abs(value / gridSpacing - std::round(value / gridSpacing)) * gridSpacing; };
    float alongPixels = lineDistance(across) * focalLength / depth;
    float depthPixels = lineDistance(depth) * floorDistance / (depth * depth);
    float line = std::max(std::clamp(1.0f - alongPixels * 0.9f, 0.0f, 1.0f), std::clamp(1.0f - depthPixels * 0.9f, 0.0f, 1.0f));
    return line * glm::smoothstep(horizonY + 8.0f, horizonY + 150.0f, y);
}

struct Beam {
    glm::vec2 apex;
    glm::vec2 target; // where it meets the floor
    float halfAngle;  // tangent of the cone's half angle
};

constexpr Beam beams[] = {{{250.0f, -60.0f}, {420.0f, 590.0f}, 0.2f},
                          {{640.0f, -80.0f}, {640.0f, 610.0f}, 0.17f},
                          {{1030.0f, -60.0f}, {860.0f, 590.0f}, 0.2f}};

// Soft light of one spot: a haze cone and a pool where it hits the floor.
float beamLight(const Beam& beam, glm::vec2 p)
{
    glm::vec2 axis = beam.target - beam.apex;
    float length = glm::length(axis);
    axis /= length;
    float along = glm::dot(p - beam.apex, axis);
    float across = std::abs(glm::dot(p - beam.apex, glm::vec2(-axis.y, axis.x)));
    float width = std::max(along, 0.0f) * beam.halfAngle;
    float cone = (1.0f - glm::smoothstep(0.45f * width, width, across)) * glm::smoothstep(0.0f, 0.35f * length, along) *
                 (1.0f - glm::smoothstep(0.85f * length, 1.02f * length, along));
    glm::vec2 fromPool = (p - beam.target) / glm::vec2(150.0f, 34.0f);
    float pool = std::exp(-glm::dot(fromPool, fromPool));
    return cone * 0.09f + pool * 0.22f;
}

void paintBackground(Image& image)
{
    const glm::vec3 glowColour(0.95f, 0.45f, 0.18f);
    const glm::vec3 lightColour(1.0f, 0.9f, 0.72f);
    const glm::vec3 gridColour(0.25f, 0.55f, 0.95f);
    for (int y = 0; y < pictureHeight; ++y) {
        for (int x = 0; x < pictureWidth; ++x) {
            glm::vec2 p(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            glm::vec3 colour = skyColour(p.y);
            glm::vec2 fromTitle = (p - glm::vec2(centreX, 300.0f)) / glm::vec2(520.0f, 230.0f);
            colour += glowColour * 0.16f * std::exp(-glm::dot(fromTitle, fromTitle));
            // A faint haze where the floor meets the far wall.
            float haze = (p.y - horizonY) / 14.0f;
            colour += glm::vec3(0.16f, 0.1f, 0.22f) * 0.25f * std::exp(-haze * haze);
            float light = 0.0f;
            for (const Beam& beam : beams) {
                light += beamLight(beam, p);
            }
            colour += lightColour * light;
            colour = glm::mix(colour, gridColour, floorGrid(p.x, p.y) * 0.3f);
            // Darker corners draw the eye to the title.
            glm::vec2 fromCentre = (p - glm::vec2(centreX, pictureHeight * 0.5f)) / glm::vec2(centreX, pictureHeight * 0.5f);
            colour *= 1.0f - 0.5f * glm::smoothstep(0.55f, 1.45f, glm::length(fromCentre));
            image.at(x, y) = glm::vec4(colour, 1.0f);
        }
    }
}

// A racing line on the floor, given as depth and sideways offset along 0..1.
struct Trail {
    float nearDepth, farDepth, sway, phase, offset;
    glm::vec3 colour;
};

constexpr Trail trails[] = {{0.3f, 9.0f, 0.55f, 0.2f, -0.32f, {1.0f, 0.55f, 0.16f}},
                            {0.3f, 9.0f, 0.6f, 2.3f, 0.28f, {0.3f, 0.78f, 1.0f}}};

Mask trailMask(const Trail& trail)
{
    Mask mask(pictureWidth, pictureHeight);
    constexpr int samples = 6000;
    for (int i = 0; i <= samples; ++i) {
        float s = static_cast<float>(i) / samples;
        // Depth grows faster further away so the curve's steps stay even on screen.
        float depth = trail.nearDepth * std::pow(trail.farDepth / trail.nearDepth, s);
        float across = trail.offset + trail.sway * std::sin(s * 7.0f + trail.phase) * (1.0f - 0.6f * s);
        glm::vec2 centre(centreX + across * focalLength / depth, horizonY + floorDistance / depth);
        float radius = std::clamp(2.6f * trail.nearDepth / depth, 0.45f, 2.6f);
        int reach = static_cast<int>(std::ceil(radius + 1.0f));
        for (int y = static_cast<int>(centre.y) - reach; y <= static_cast<int>(centre.y) + reach; ++y) {
            for (int x = static_cast<int>(centre.x) - reach; x <= static_cast<int>(centre.x) + reach; ++x) {
                if (x < 0 || y < 0 || x >= pictureWidth || y >= pictureHeight) {
                    continue;
                }
                float d = glm::distance(glm::vec2(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f), centre);
                float coverage = std::clamp(radius + 0.5f - d, 0.0f, 1.0f) * (1.0f - 0.7f * s);
                mask.at(x, y) = std::max(mask.at(x, y), coverage);
            }
        }
    }
    return mask;
}

void paintTrails(Image& image)
{
    for (const Trail& trail : trails) {
        Mask core = trailMask(trail);
        paint(image, blur(core, 7), trail.colour, 0.8f);
        paint(image, blur(core, 2), trail.colour, 0.9f);
        paint(image, core, glm::mix(trail.colour, glm::vec3(1.0f), 0.6f), 0.9f);
    }
}

void paintTitle(Image& image, const Font& bold, const Font& regular)
{
    const Font::Style titleStyle{200.0f, 1.0f, 0.01f};
    const float titleBaseline = 330.0f;
    Mask title(pictureWidth, pictureHeight);
    drawCentred(title, bold, "Brimbolt", centreX, titleBaseline, titleStyle);
    paint(image, blur(dilate(title, 3.0f), 18), glm::vec3(1.0f, 0.42f, 0.1f), 0.55f);
    paint(image, blur(shifted(title, 0, 6), 5), glm::vec3(0.0f), 0.6f);
    const float capTop = titleBaseline - bold.capHeight(titleStyle);
    paint(image, title, [&](int, int y) {
        float t = std::clamp((static_cast<float>(y) - capTop) / (titleBaseline - capTop), 0.0f, 1.0f);
        return glm::mix(glm::vec3(1.0f, 0.97f, 0.88f), glm::vec3(1.0f, 0.66f, 0.24f), t * t);
    });

    const Font::Style subtitleStyle{30.0f, 1.0f, 0.28f};
    Mask subtitle(pictureWidth, pictureHeight);
    drawCentred(subtitle, regular, "a real-time showcase", centreX, 392.0f, subtitleStyle);
    paint(image, blur(subtitle, 3), glm::vec3(0.0f), 0.7f);
    paint(image, subtitle, glm::vec3(0.78f, 0.83f, 0.95f));
}

void paintLoading(Image& image, const Font& regular)
{
    const Font::Style style{34.0f, 1.0f, 0.06f};
    const float baseline = 662.0f;
    Mask text(pictureWidth, pictureHeight);
    drawCentred(text, regular, "Loading…", centreX, baseline, style);
    paint(image, blur(dilate(text, 2.0f), 4), glm::vec3(0.0f), 0.8f);
    paint(image, text, glm::vec3(0.88f, 0.9f, 0.97f));
    // A thin rule under it, brightest in the middle.
    for (int x = 0; x < pictureWidth; ++x) {
        float fromCentre = std::abs(static_cast<float>(x) + 0.5f - centreX) / 170.0f;
        float strength = 1.0f - glm::smoothstep(0.0f, 1.0f, fromCentre);
        image.blendOver(x, static_cast<int>(baseline) + 18, glm::vec3(1.0f, 0.62f, 0.25f), strength * 0.8f);
    }
}

} // namespace

bool writeStartPicture(const std::filesystem::path& textureDir)
{
    Font bold(fontFile("DejaVuSans-Bold.ttf"));
    Font regular(fontFile("DejaVuSans.ttf"));
    if (!bold.valid() || !regular.valid()) {
        return false;
    }
    Image image(pictureWidth, pictureHeight, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    paintBackground(image);
    paintTrails(image);
    paintTitle(image, bold, regular);
    paintLoading(image, regular);
    return writePngRgb(image, textureDir / "start.png", Quantize::dithered);
}
