#include "room/RoomTextures.h"

#include <algorithm>
#include <cmath>

namespace room {

Image makeWallTexture()
{
    // Hand-trowelled plaster: broad soft clouds, a finer mottle and a sandy grain.
    constexpr int size = 512;
    const glm::vec3 paint(0.88f, 0.82f, 0.70f), shadowTone(0.80f, 0.73f, 0.61f);
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = (float(x) + 0.5f) / size, v = (float(y) + 0.5f) / size;
            float broad = tileFbm(u, v, 3, 3, 4, 0xa11u);
            float trowel = tileFbm(u, v, 12, 7, 2, 0xa12u); // strokes a little wider than tall
            float grain = tileNoise(u, v, 256, 256, 0xa13u);
            glm::vec3 c = mixColour(paint, shadowTone, (broad - 0.5f) * 1.2f + 0.25f);
            c *= 0.97f + 0.06f * trowel + 0.04f * (grain - 0.5f);
            if (noise::nestedUnit(x, y, 0xa14u) < 0.004f) {
                c *= 0.9f; // tiny pits in the surface
            }
            image.fromBottom(x, y) = glm::vec4(c, 1.0f);
        }
    }
    return image;
}

Image makeCeilingTexture()
{
    constexpr int size = 256;
    const glm::vec3 white(0.95f, 0.94f, 0.91f);
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = (float(x) + 0.5f) / size, v = (float(y) + 0.5f) / size;
            float stipple = tileNoise(u, v, 96, 96, 0xce1u) * 0.6f + tileNoise(u, v, 192, 192, 0xce2u) * 0.4f;
            float broad = tileFbm(u, v, 2, 2, 3, 0xce3u);
            image.fromBottom(x, y) = glm::vec4(white * (0.95f + 0.06f * stipple + 0.03f * broad), 1.0f);
        }
    }
    return image;
}

Image makeWindowTexture()
{
    // A bright day outside: sky with soft clouds and a glow where the sun
    // stands, a far tree line and a sunlit lawn. Kept light everywhere,
    // since the room has no sky of its own and the window must read as lit.
    constexpr int width = 512, height = 448;
    const glm::vec3 zenith(0.58f, 0.76f, 0.96f), horizon(0.93f, 0.96f, 0.98f), cloud(1.0f, 1.0f, 0.99f);
    const glm::vec3 trees(0.50f, 0.64f, 0.50f), lawn(0.70f, 0.84f, 0.52f), glow(1.0f, 0.98f, 0.90f);
    const glm::vec2 sun(0.22f, 0.86f);
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float u = (float(x) + 0.5f) / width, v = (float(y) + 0.5f) / height;
            glm::vec3 c = mixColour(horizon, zenith, std::pow(std::max(v - 0.18f, 0.0f) / 0.82f, 0.7f));
            float clouds = tileFbm(u * 1.0f, v * 2.2f, 4, 3, 5, 0x5c1u);
            float cover = glm::smoothstep(0.48f, 0.70f, clouds) * glm::smoothstep(0.3f, 0.55f, v);
            c = mixColour(c, cloud * (0.94f + 0.06f * v), cover);
            float toSun = glm::length((glm::vec2(u, v) - sun) * glm::vec2(1.0f, 0.9f));
            c = mixColour(c, glow, std::exp(-toSun * 7.0f) * 0.9f);
            // Tree line: a wavy silhouette a little above the bottom of the view.
            float treeTop =
                0.24f + 0.05f * tileFbm(u, 0.0f, 9, 1, 3, 0x7e1u) + 0.03f * tileNoise(u, 0.5f, 41, 1, 0x7e2u);
            if (v < treeTop) {
                float leaf = tileFbm(u, v, 40, 30, 2, 0x7e3u);
                c = trees * (0.9f + 0.25f * leaf) + glm::vec3(0.08f) * (1.0f - v / treeTop);
            }
            float lawnTop = 0.11f + 0.015f * std::sin(u * 6.0f);
            if (v < lawnTop) {
                c = lawn * (0.92f + 0.1f * tileNoise(u, v, 64, 16, 0x7e4u)) * (0.95f + 0.4f * (lawnTop - v));
            }
            // Faint diagonal sheen on the glass.
            float sheen = std::sin((u * 1.3f + v) * 9.0f);
            c += glm::vec3(0.035f) * glm::smoothstep(0.8f, 1.0f, sheen);
            image.fromBottom(x, y) = glm::vec4(glm::min(c, glm::vec3(1.0f)), 1.0f);
        }
    }
    return image;
}

} // namespace room
