#include "models/ArmadilloAtlas.h"

#include "common/Noise.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace armadillo {
namespace {
constexpr float border = 4.0f / 1024.0f;

const Region regions[partCount] = {
    {{0.0f, 0.0f}, {1.0f, 0.5f}, {2.0f, 1.3f}},       // body: round it, nose to tail
    {{0.0f, 0.5f}, {0.5f, 0.75f}, {0.85f, 0.58f}},    // head
    {{0.5f, 0.5f}, {0.75f, 0.75f}, {0.45f, 0.55f}},   // tail
    {{0.75f, 0.5f}, {0.875f, 0.75f}, {0.14f, 0.32f}}, // ears
    {{0.875f, 0.5f}, {1.0f, 0.75f}, {0.14f, 0.32f}},
    {{0.0f, 0.75f}, {0.25f, 0.95f}, {0.48f, 0.42f}}, // legs
    {{0.25f, 0.75f}, {0.5f, 0.95f}, {0.48f, 0.42f}},
    {{0.5f, 0.75f}, {0.75f, 0.95f}, {0.48f, 0.42f}},
    {{0.75f, 0.75f}, {1.0f, 0.95f}, {0.48f, 0.42f}},
};

float fraction(float x)
{
    return x - std::floor(x);
}

// Distances to the nearest and second nearest scattered point in a grid of
// columns x rows cells (cell units), wrapping round in s.
glm::vec2 cells(float s, float t, int columns, int rows, std::uint32_t seed)
{
    glm::vec2 p(s * columns, t * rows);
    glm::ivec2 base(static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y)));
    float first = 9.0f, second = 9.0f;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            glm::ivec2 c = base + glm::ivec2(dx, dy);
            int wrapped = ((c.x % columns) + columns) % columns;
            std::uint32_t h =
                noise::spreadHash(static_cast<std::uint32_t>(wrapped), static_cast<std::uint32_t>(c.y + 4096), seed);
            // Kept near the cell middle, so plates come out evenly sized.
            glm::vec2 jitter(noise::toUnit(h), noise::toUnit(noise::spreadHash(h, 7u, seed)));
            glm::vec2 point = glm::vec2(c) + 0.2f + 0.6f * jitter;
            float d = glm::length(p - point);
            if (d < first) {
                second = first;
                first = d;
            } else if (d < second) {
                second = d;
            }
        }
    }
    return {first, second};
}

// Domed plates with grooves between them.
float plates(float s, float t, int columns, int rows, std::uint32_t seed, float groove)
{
    glm::vec2 f = cells(s, t, columns, rows, seed);
    float edge = glm::smoothstep(0.0f, groove, f.y - f.x);
    float dome = 1.0f - 0.3f * std::min(1.0f, f.x * f.x * 1.6f);
    return 0.15f + 0.85f * edge * dome;
}

// Skin: soft, low bumps.
float skin(float s, float t, int columns, int rows, std::uint32_t seed)
{
    glm::vec2 f = cells(s, t, columns, rows, seed);
    return 0.35f + 0.12f * (1.0f - std::min(1.0f, f.x));
}

float bodyHeight(float s, float t)
{
    // s = 0 is the middle of the belly, 0.5 the top of the back.
    float fromTop = std::abs(s - 0.5f);
    float shell = 1.0f - glm::smoothstep(0.29f, 0.31f, fromTop);
    shell *= glm::smoothstep(0.05f, 0.07f, t) * (1.0f - glm::smoothstep(0.96f, 0.98f, t));
    float height;
    if (t > bandsStart && t < bandsEnd) {
        // Shingled bands, each rising towards its back edge, cut into tiles.
        float band = fraction((t - bandsStart) / (bandsEnd - bandsStart) * bandCount);
        float edges = glm::smoothstep(0.0f, 0.06f, band) * glm::smoothstep(0.0f, 0.04f, 1.0f - band);
        float tile = fraction(s * 64.0f);
        float tiles = 0.75f + 0.25f * glm::smoothstep(0.0f, 0.12f, tile) * glm::smoothstep(0.0f, 0.12f, 1.0f - tile);
        height = (0.45f + 0.5f * band) * edges * tiles + 0.1f;
    } else {
        height = plates(s, t, 40, 30, 11u, 0.22f);
    }
    // A groove runs along the shell's rim, then the belly's skin.
    float rim = 1.0f - 0.8f * (glm::smoothstep(0.27f, 0.3f, fromTop) - glm::smoothstep(0.3f, 0.33f, fromTop));
    return (shell * height + (1.0f - shell) * skin(s, t, 48, 24, 12u)) * rim;
}

float headHeight(float s, float t)
{
    // The shield covers the top of the head (s near 0.5), not the jaw or snout tip.
    float top = 1.0f - glm::smoothstep(0.18f, 0.26f, std::abs(s - 0.5f));
    top *= glm::smoothstep(0.1f, 0.2f, t) * (1.0f - glm::smoothstep(0.72f, 0.82f, t));
    return top * plates(s, t, 14, 10, 21u, 0.28f) + (1.0f - top) * skin(s, t, 24, 14, 22u);
}

// Rings of scales round a tapering limb, each ring offset by half a scale.
float scaleRings(float s, float t, int around, int rings)
{
    float ring = t * rings;
    float offset = static_cast<int>(std::floor(ring)) % 2 == 0 ? 0.0f : 0.5f;
    float across = fraction(s * around + offset), along = fraction(ring);
    float edge = glm::smoothstep(0.0f, 0.15f, across) * glm::smoothstep(0.0f, 0.15f, 1.0f - across) *
                 glm::smoothstep(0.0f, 0.2f, along) * glm::smoothstep(0.0f, 0.06f, 1.0f - along);
    return 0.2f + 0.4f * edge + 0.3f * edge * along;
}

float legHeight(float s, float t, std::uint32_t seed)
{
    // Scales down to the ankle, then the bare foot.
    float scaled = 1.0f - glm::smoothstep(0.72f, 0.8f, t);
    return scaled * plates(s, t, 12, 8, seed, 0.3f) + (1.0f - scaled) * skin(s, t, 12, 6, seed + 1u);
}
} // namespace

const Region& regionOf(Part part)
{
    return regions[static_cast<int>(part)];
}

glm::vec2 atlasUv(Part part, float s, float t)
{
    const Region& r = regionOf(part);
    glm::vec2 lower = r.lower + border, upper = r.upper - border;
    return lower + (upper - lower) * glm::vec2(s, t);
}

float reliefHeight(Part part, float s, float t)
{
    switch (part) {
    case Part::Body:
        return bodyHeight(s, t);
    case Part::Head:
        return headHeight(s, t);
    case Part::Tail:
        return scaleRings(s, t, 10, 14);
    case Part::LeftEar:
    case Part::RightEar:
        return skin(s, t, 6, 8, 31u);
    default:
        return legHeight(s, t, 40u + static_cast<std::uint32_t>(part));
    }
}

} // namespace armadillo
