#include "room/RoomTextures.h"

#include <algorithm>
#include <cmath>

namespace room {

namespace {
// Flat-sawn wood at (u, v) of a tile, grain along v. across: rings over the
// tile's width (an integer keeps it tileable); seed picks the log.
glm::vec3 woodColour(float u, float v, int across, std::uint32_t seed, const glm::vec3& early, const glm::vec3& late)
{
    float warp = 0.55f * tileFbm(u, v, 2, 3, 3, seed) + 0.12f * tileNoise(u, v, 8, 16, seed + 7);
    float ring = woodRing(u * float(across) + warp * 2.0f);
    // Fine fibres: noise stretched along the grain.
    float fibre = tileNoise(u, v, 256, 6, seed + 11) * 0.6f + tileNoise(u, v, 128, 3, seed + 13) * 0.4f;
    glm::vec3 c = mixColour(early, late, ring * 0.85f);
    return c * (0.9f + 0.2f * fibre);
}
} // namespace

Image makeFloorTexture()
{
    // Eight planks across the tile, two boards along each, their joints staggered.
    constexpr int size = 512, planks = 8, plankWidth = size / planks;
    const glm::vec3 early(0.74f, 0.54f, 0.34f), late(0.50f, 0.32f, 0.17f), gap(0.16f, 0.10f, 0.06f);
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        float v = (float(y) + 0.5f) / size;
        for (int x = 0; x < size; ++x) {
            int plank = x / plankWidth;
            float local = (float(x % plankWidth) + 0.5f) / plankWidth;
            float joint = noise::nestedUnit(plank, 1, 0xf1001u);
            float along = v - joint - std::floor(v - joint); // 0 at this plank's first joint
            int board = plank * 2 + (along < 0.5f ? 0 : 1);
            float tone = 0.86f + 0.26f * noise::nestedUnit(board, 2, 0xf1001u);
            glm::vec3 warmth(1.0f, 0.97f + 0.05f * noise::nestedUnit(board, 3, 0xf1001u),
                             0.93f + 0.1f * noise::nestedUnit(board, 4, 0xf1001u));
            // Each board cuts its own piece of log: its own rings and offset.
            float u = (float(x) + 0.5f) / size + noise::nestedUnit(board, 5, 0xf1001u);
            glm::vec3 c = woodColour(u - std::floor(u), v, 6, 0xf100u + std::uint32_t(board) * 31u, early, late);
            c *= tone * warmth;
            // Darkened, slightly bevelled edges and hairline joints.
            float edgePx = std::min(local, 1.0f - local) * plankWidth;
            float jointPx = std::min(along, std::fabs(along - 0.5f)) * size;
            jointPx = std::min(jointPx, (1.0f - along) * size);
            float seam = std::min(edgePx, jointPx);
            c *= 0.78f + 0.22f * glm::smoothstep(0.5f, 3.0f, seam);
            if (seam < 0.9f) {
                c = gap;
            }
            // A soft lacquer sheen varies slowly across the floor.
            c *= 0.96f + 0.08f * tileFbm((float(x) + 0.5f) / size, v, 3, 3, 2, 0xf1e1u);
            image.fromBottom(x, y) = glm::vec4(c, 1.0f);
        }
    }
    return image;
}

Image makeWoodTexture()
{
    constexpr int size = 512;
    const glm::vec3 early(0.62f, 0.38f, 0.21f), late(0.36f, 0.19f, 0.09f);
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = (float(x) + 0.5f) / size, v = (float(y) + 0.5f) / size;
            image.fromBottom(x, y) = glm::vec4(woodColour(u, v, 9, 0x00d1u, early, late), 1.0f);
        }
    }
    return image;
}

Image makeDoorTexture()
{
    // Two columns of raised panels between stiles and rails, in pixels of a 256 x 512 door.
    constexpr int width = 256, height = 512;
    constexpr int stile = 34, muntin = 28, bottomRail = 78, lockRail0 = 232, lockRail1 = 278, topRail = 474;
    constexpr int bevel = 11;
    const glm::vec3 early(0.66f, 0.42f, 0.24f), late(0.44f, 0.25f, 0.12f);
    const int panelX[2][2] = {{stile, (width - muntin) / 2}, {(width + muntin) / 2, width - stile}};
    const int panelY[2][2] = {{bottomRail, lockRail0}, {lockRail1, topRail}};
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float u = (float(x) + 0.5f) / width, v = (float(y) + 0.5f) / height;
            // Frame pieces: stiles run up the door, rails across it; panels have vertical grain.
            bool inPanel = false, horizontal = true;
            float shade = 1.0f;
            for (const auto& px : panelX) {
                for (const auto& py : panelY) {
                    if (x < px[0] || x >= px[1] || y < py[0] || y >= py[1]) {
                        continue;
                    }
                    inPanel = true;
                    int dl = x - px[0], dr = px[1] - 1 - x, db = y - py[0], dt = py[1] - 1 - y;
                    int nearest = std::min({dl, dr, db, dt});
                    if (nearest < bevel) {
                        // Light falls from above: upper and left bevels bright, lower and right dark.
                        shade = nearest == dt ? 1.18f : nearest == dl ? 1.08f : nearest == dr ? 0.84f : 0.72f;
                    }
                    if (nearest == 0) {
                        shade = 0.55f; // shadow line where the panel meets the frame
                    }
                }
            }
            bool stilePart = x < stile || x >= width - stile ||
                             (x >= (width - muntin) / 2 && x < (width + muntin) / 2 && y > bottomRail && y < topRail &&
                              (y < lockRail0 || y >= lockRail1));
            if (inPanel || stilePart) {
                horizontal = false;
            }
            glm::vec3 c = horizontal ? woodColour(v, u * 0.5f, 5, 0xd00au, early, late)
                                     : woodColour(u, v, 7, inPanel ? 0xd00bu : 0xd00cu, early, late);
            // Hairline joints where rails butt against the stiles.
            if (!inPanel && !horizontal && (y == bottomRail || y == lockRail0 || y == lockRail1 || y == topRail - 1)) {
                shade = 0.7f;
            }
            if (!inPanel && horizontal && (x == stile || x == width - stile - 1)) {
                shade = 0.7f;
            }
            image.fromBottom(x, y) = glm::vec4(c * shade, 1.0f);
        }
    }
    return image;
}

} // namespace room
