// The plain fallback texture and the two particle sprites.
#include "common/Image.h"
#include "common/Noise.h"
#include "pictures/Pictures.h"

#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr int spriteSize = 128;
// Far larger than the sprite: the noise never repeats inside it.
constexpr int noisePeriod = 4096;

// Position relative to the centre, 1 at the middle of an edge.
glm::vec2 spriteCoords(int x, int y)
{
    float half = spriteSize * 0.5f;
    return {(static_cast<float>(x) + 0.5f - half) / half, (static_cast<float>(y) + 0.5f - half) / half};
}

// Every sprite fades to nothing well inside its square, so a point sprite
// never shows its edges, whatever the noise does.
float edgeWindow(float radius)
{
    return 1.0f - glm::smoothstep(0.62f, 0.94f, radius);
}

// Noise whose lattice is bent by another noise: curling, wispy shapes.
float warpedNoise(glm::vec2 p, float scale, float warp, std::uint32_t seed)
{
    const glm::ivec2 period(noisePeriod);
    float wx = noise::periodicFbm(noise::pictures, {p.x * scale + 3.1f, p.y * scale}, period, 2, 0.5f, seed + 11u);
    float wy = noise::periodicFbm(noise::pictures, {p.x * scale, p.y * scale + 7.7f}, period, 2, 0.5f, seed + 23u);
    glm::vec2 q = p * scale + warp * glm::vec2(wx - 0.5f, wy - 0.5f);
    return noise::periodicFbm(noise::pictures, {q.x + 50.0f, q.y + 50.0f}, period, 4, 0.5f, seed);
}

bool writeWhite(const std::filesystem::path& dir)
{
    Image image(16, 16, glm::vec4(1.0f));
    return writePngRgb(image, dir / "white.png");
}

bool writeSmoke(const std::filesystem::path& dir)
{
    Image image(spriteSize, spriteSize, glm::vec4(0.0f));
    for (int y = 0; y < spriteSize; ++y) {
        for (int x = 0; x < spriteSize; ++x) {
            glm::vec2 p = spriteCoords(x, y);
            float wisps = warpedNoise(p, 2.0f, 1.4f, 101u);
            // The noise pushes the rim in and out, so the puff is not a disc.
            float radius = glm::length(p) * (0.7f + 0.6f * wisps);
            float body = 1.0f - glm::smoothstep(0.0f, 0.9f, radius);
            float density = std::clamp(body * (1.9f * wisps - 0.2f), 0.0f, 1.0f);
            // Never quite opaque: the puffs of a plume overlap many times.
            float alpha = 0.85f * density * edgeWindow(glm::length(p));
            // Lit from above: lower and thinner parts a little darker and cooler.
            float shade = warpedNoise(p + glm::vec2(0.0f, 0.15f), 2.0f, 1.4f, 101u);
            float grey = std::clamp(0.62f + 0.45f * shade + 0.1f * density - 0.08f * p.y, 0.0f, 1.0f);
            image.at(x, y) = glm::vec4(grey * 0.97f, grey * 0.98f, grey, alpha);
        }
    }
    return writePngRgba(image, dir / "smoke.png");
}

glm::vec3 fireColour(float heat)
{
    struct Stop {
        float at;
        glm::vec3 colour;
    };
    static constexpr Stop stops[] = {{0.0f, {0.45f, 0.05f, 0.01f}},
                                     {0.35f, {0.95f, 0.32f, 0.03f}},
                                     {0.6f, {1.0f, 0.62f, 0.12f}},
                                     {0.82f, {1.0f, 0.88f, 0.4f}},
                                     {1.0f, {1.0f, 0.98f, 0.85f}}};
    heat = std::clamp(heat, 0.0f, 1.0f);
    for (std::size_t i = 1; i < std::size(stops); ++i) {
        if (heat <= stops[i].at) {
            float t = (heat - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
            return glm::mix(stops[i - 1].colour, stops[i].colour, t);
        }
    }
    return stops[std::size(stops) - 1].colour;
}

bool writeExplosion(const std::filesystem::path& dir)
{
    Image image(spriteSize, spriteSize, glm::vec4(0.0f));
    for (int y = 0; y < spriteSize; ++y) {
        for (int x = 0; x < spriteSize; ++x) {
            glm::vec2 p = spriteCoords(x, y);
            float flames = warpedNoise(p, 3.0f, 2.0f, 202u);
            float radius = glm::length(p) * (0.55f + 0.9f * flames);
            // Hot in the middle, cooling towards a ragged rim.
            float heat = std::clamp((1.0f - glm::smoothstep(0.0f, 0.9f, radius)) * (0.55f + 0.9f * flames), 0.0f, 1.0f);
            float alpha = glm::smoothstep(0.04f, 0.45f, heat) * edgeWindow(glm::length(p));
            image.at(x, y) = glm::vec4(fireColour(heat), alpha);
        }
    }
    return writePngRgba(image, dir / "explosion.png");
}

} // namespace

bool writeSprites(const std::filesystem::path& textureDir)
{
    bool ok = writeWhite(textureDir);
    ok = writeSmoke(textureDir) && ok;
    ok = writeExplosion(textureDir) && ok;
    return ok;
}
