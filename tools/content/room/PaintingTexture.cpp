#include "room/RoomTextures.h"

#include <algorithm>
#include <cmath>

namespace room {

namespace {
// Ridge line of a hill range at x: a few sines and some noise.
float ridge(float x, float base, float height, std::uint32_t seed)
{
    float wobble = std::sin(x * 5.1f + float(seed % 7)) * 0.4f + std::sin(x * 11.3f + float(seed % 5)) * 0.15f;
    return base + height * (0.5f + wobble + 0.35f * (tileFbm(x, 0.0f, 6, 1, 3, seed) - 0.5f));
}

// Evening over rolling hills and a lake, in warm colours.
glm::vec3 eveningHills(float u, float v)
{
    glm::vec3 c = mixColour({0.98f, 0.72f, 0.38f}, {0.42f, 0.36f, 0.62f}, (v - 0.45f) / 0.55f);
    float sun = glm::length(glm::vec2(u - 0.66f, (v - 0.56f) * 0.75f));
    c = mixColour(c, {1.0f, 0.93f, 0.70f}, 1.0f - glm::smoothstep(0.06f, 0.075f, sun));
    c += glm::vec3(0.25f, 0.12f, 0.0f) * std::exp(-sun * 9.0f);
    const glm::vec3 hills[3] = {{0.55f, 0.40f, 0.52f}, {0.38f, 0.30f, 0.42f}, {0.22f, 0.22f, 0.26f}};
    for (int i = 0; i < 3; ++i) {
        float top = ridge(u, 0.50f - 0.09f * i, 0.12f, 0x9a1u + std::uint32_t(i));
        if (v < top) {
            c = hills[i] * (0.9f + 0.2f * (v / top));
        }
    }
    if (v < 0.16f) {
        // The lake mirrors the sky, darker and streaked.
        glm::vec3 mirrored = mixColour({0.98f, 0.72f, 0.38f}, {0.42f, 0.36f, 0.62f}, (0.16f - v) / 0.4f) * 0.75f;
        float streak = std::sin(v * 180.0f + std::sin(u * 20.0f)) * 0.5f + 0.5f;
        c = mirrored * (0.9f + 0.15f * streak);
    }
    return c;
}

// A sailing boat on a bright sea under summer clouds.
glm::vec3 summerSea(float u, float v)
{
    glm::vec3 c = mixColour({0.80f, 0.88f, 0.95f}, {0.30f, 0.52f, 0.82f}, (v - 0.4f) / 0.6f);
    float clouds = glm::smoothstep(0.55f, 0.72f, tileFbm(u, v * 1.5f, 4, 3, 4, 0x9b1u));
    c = mixColour(c, {0.98f, 0.98f, 0.96f}, clouds * glm::smoothstep(0.45f, 0.6f, v));
    const float horizon = 0.38f;
    if (v < horizon) {
        float waves = std::sin(v * 140.0f + 3.0f * tileNoise(u, v, 8, 8, 0x9b2u)) * 0.5f + 0.5f;
        c = mixColour({0.10f, 0.32f, 0.52f}, {0.30f, 0.56f, 0.70f}, v / horizon) * (0.92f + 0.14f * waves);
    }
    // Hull and two sails.
    float hullTop = 0.34f, hullBottom = 0.29f;
    if (v > hullBottom && v < hullTop && std::fabs(u - 0.38f) < 0.13f - (hullTop - v) * 0.8f) {
        c = {0.45f, 0.16f, 0.10f};
    }
    float mast = 0.38f;
    if (v > hullTop && v < 0.78f) {
        float height = (v - hullTop) / (0.78f - hullTop);
        if (u > mast && u < mast + 0.2f * (1.0f - height)) {
            c = {0.97f, 0.95f, 0.88f};
        }
        if (u < mast - 0.006f && u > mast - 0.12f * (1.0f - height)) {
            c = {0.90f, 0.88f, 0.80f};
        }
        if (std::fabs(u - mast + 0.003f) < 0.003f) {
            c = {0.25f, 0.18f, 0.12f};
        }
    }
    return c;
}
} // namespace

namespace {
// A canvas of 384 x 288 (the frames' 4:3) with visible brush strokes.
Image paintCanvas(glm::vec3 (*scene)(float, float), std::uint32_t seed)
{
    constexpr int width = 384, height = 288;
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float u = (float(x) + 0.5f) / width, v = (float(y) + 0.5f) / height;
            float strokeU = u + 0.012f * (tileNoise(u, v, 24, 64, seed) - 0.5f);
            float strokeV = v + 0.012f * (tileNoise(u, v, 64, 24, seed + 1) - 0.5f);
            float brush = tileNoise(u, v, 64, 200, seed + 2);
            const glm::vec3 colour = scene(strokeU, strokeV) * (0.93f + 0.12f * brush);
            image.fromBottom(x, y) = glm::vec4(glm::min(colour, glm::vec3(1.0f)), 1.0f);
        }
    }
    return image;
}
} // namespace

Image makeHillsPainting()
{
    return paintCanvas(eveningHills, 0x9c1u);
}

Image makeSeaPainting()
{
    return paintCanvas(summerSea, 0x9c5u);
}

} // namespace room
