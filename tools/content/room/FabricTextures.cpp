#include "room/RoomTextures.h"

#include <cmath>

namespace room {

namespace {
// Plain weave: threads `thread` pixels wide, warp (along v) and weft (along
// u) passing over and under each other in a checkerboard. Each visible
// thread is rounded (bright along its middle) and slubby (its own
// thickness noise). Returns a brightness factor around 1.
float weave(int x, int y, int size, int thread, std::uint32_t seed)
{
    const int cellX = x / thread, cellY = y / thread;
    const bool warpOnTop = ((cellX + cellY) & 1) == 0;
    float across = (float(warpOnTop ? x % thread : y % thread) + 0.5f) / float(thread); // 0..1 across the thread
    float along = (float(warpOnTop ? y % thread : x % thread) + 0.5f) / float(thread);
    float round = std::sin(across * 3.14159265f);
    float bulge = std::sin(along * 3.14159265f); // the thread dips where it goes under
    const float u = (float(x) + 0.5f) / size, v = (float(y) + 0.5f) / size;
    const int threads = size / thread;
    float slub = warpOnTop ? tileNoise(float(cellX) / threads, v, threads, 6, seed)
                           : tileNoise(u, float(cellY) / threads, 6, threads, seed + 1);
    return 0.72f + 0.22f * round * (0.75f + 0.25f * bulge) + 0.14f * (slub - 0.5f) + (warpOnTop ? 0.03f : -0.03f);
}

Image makeWoven(int size, int thread, const glm::vec3& warpColour, const glm::vec3& weftColour, std::uint32_t seed)
{
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool warpOnTop = (((x / thread) + (y / thread)) & 1) == 0;
            float u = (float(x) + 0.5f) / size, v = (float(y) + 0.5f) / size;
            float mottle = tileFbm(u, v, 4, 4, 3, seed + 5);
            glm::vec3 base = warpOnTop ? warpColour : weftColour;
            const glm::vec3 colour = base * weave(x, y, size, thread, seed) * (0.94f + 0.12f * mottle);
            image.fromBottom(x, y) = glm::vec4(colour, 1.0f);
        }
    }
    return image;
}
} // namespace

Image makeSofaTexture()
{
    // Warp and weft in two close shades of teal read as one colour with depth.
    return makeWoven(256, 4, {0.30f, 0.50f, 0.56f}, {0.24f, 0.42f, 0.49f}, 0x50f0u);
}

Image makeLinenTexture()
{
    return makeWoven(256, 2, {0.95f, 0.89f, 0.76f}, {0.90f, 0.84f, 0.70f}, 0x11e0u);
}

Image makeCurtainTexture()
{
    Image image = makeWoven(256, 2, {0.82f, 0.47f, 0.28f}, {0.76f, 0.41f, 0.24f}, 0xc0f0u);
    // Soft woven stripes along the drop; 8 per tile keeps it seamless.
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            float stripe = std::sin((float(x) + 0.5f) / float(image.width) * 8.0f * 6.2831853f);
            glm::vec4& texel = image.fromBottom(x, y);
            texel = glm::vec4(glm::vec3(texel) * (0.94f + 0.08f * glm::smoothstep(0.55f, 0.9f, stripe)), texel.a);
        }
    }
    return image;
}

} // namespace room
