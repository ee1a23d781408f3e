#include "room/RoomFeatures.h"
#include "room/RoomTextures.h"

#include <algorithm>
#include <cmath>

namespace room {

namespace {
const glm::vec3 red(0.62f, 0.13f, 0.11f);
const glm::vec3 darkRed(0.44f, 0.07f, 0.07f);
const glm::vec3 navy(0.15f, 0.19f, 0.40f);
const glm::vec3 gold(0.88f, 0.70f, 0.36f);
const glm::vec3 cream(0.92f, 0.86f, 0.72f);
const glm::vec3 teal(0.20f, 0.46f, 0.44f);

// The rug's own size in world units, so its ornaments stay round on the stretched picture.
constexpr glm::vec2 rugSize = features::rugUpper - features::rugLower;
constexpr float fringe = 0.9f;

// An eight-petalled rosette of radius r around the origin, or nothing (false).
bool rosette(const glm::vec2& p, float r, glm::vec3& colour)
{
    float d = glm::length(p);
    float petals = r * (0.72f + 0.28f * std::cos(8.0f * std::atan2(p.y, p.x)));
    if (d > petals) {
        return false;
    }
    colour = d < 0.3f * r ? red : (d > petals - 0.12f ? darkRed : gold);
    return true;
}

glm::vec3 borderColour(float along, float depth)
{
    if (depth < 0.35f) {
        return navy * 0.7f; // bound edge
    }
    if (depth < 0.9f) {
        // Cream guard with a running row of small red diamonds.
        float t = std::fmod(along, 0.9f) - 0.45f;
        return std::fabs(t) + std::fabs(depth - 0.625f) < 0.2f ? red : cream;
    }
    if (depth < 3.2f) {
        constexpr float period = 2.6f;
        float t = std::fmod(along, period) - 0.5f * period;
        glm::vec3 colour;
        if (rosette({t, depth - 2.05f}, 0.85f, colour)) {
            return colour;
        }
        // A vine between the rosettes.
        float vine = std::fabs(depth - 2.05f - 0.45f * std::sin(along / period * 6.2831853f));
        return vine < 0.09f ? teal : navy;
    }
    if (depth < 3.6f) {
        return gold;
    }
    return darkRed;
}

glm::vec3 fieldColour(const glm::vec2& p)
{
    const glm::vec2 centre = 0.5f * rugSize;
    glm::vec2 d = glm::abs(p - centre);
    // Central medallion: a lobed diamond with a gold outline and a rosette heart.
    float lobes = 1.0f + 0.08f * std::cos(12.0f * std::atan2(d.y, d.x));
    float medallion = (d.x / 6.0f + d.y / 9.0f) / lobes;
    if (medallion < 1.0f) {
        glm::vec3 heart;
        if (rosette(p - centre, 2.4f, heart)) {
            return heart;
        }
        if (medallion > 0.9f) {
            return gold;
        }
        return medallion < 0.62f && medallion > 0.56f ? cream : navy;
    }
    // Pendants above and below it.
    glm::vec2 pendant(d.x, d.y - 11.3f);
    if (std::fabs(pendant.x) / 1.3f + std::fabs(pendant.y) / 1.9f < 1.0f) {
        return std::fabs(pendant.x) / 1.3f + std::fabs(pendant.y) / 1.9f > 0.75f ? gold : navy;
    }
    // Corner spandrels: quarter ellipses from the field's corners.
    glm::vec2 corner = (centre - d - glm::vec2(3.9f, 3.9f + fringe)) / glm::vec2(5.0f, 6.5f);
    float spandrel = glm::length(corner);
    if (spandrel < 1.0f) {
        return spandrel > 0.88f ? gold : (spandrel < 0.4f ? teal : navy);
    }
    // Diamond lattice over the red ground, a cream dot at each crossing.
    float a = (p.x + p.y) / 3.0f, b = (p.x - p.y) / 3.0f;
    float la = std::fabs(a - std::round(a)), lb = std::fabs(b - std::round(b));
    if (la < 0.08f && lb < 0.08f) {
        return cream;
    }
    return la < 0.03f || lb < 0.03f ? darkRed : red;
}
} // namespace

Image makeRugTexture()
{
    constexpr int width = 320, height = 512;
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            glm::vec2 p((float(x) + 0.5f) / width * rugSize.x, (float(y) + 0.5f) / height * rugSize.y);
            float endDistance = std::min(p.y, rugSize.y - p.y);
            glm::vec3 c;
            if (endDistance < fringe) {
                // Fringe: cream warp threads with gaps showing the floor's shadow.
                float thread = std::fmod(p.x, 0.3f) / 0.3f;
                c = cream * (thread < 0.7f ? 0.95f - 0.2f * (1.0f - endDistance / fringe) : 0.45f);
            } else {
                glm::vec2 q(p.x, p.y - fringe);
                glm::vec2 inner(rugSize.x, rugSize.y - 2.0f * fringe);
                float sideDepth = std::min(q.x, inner.x - q.x), endDepth = std::min(q.y, inner.y - q.y);
                float depth = std::min(sideDepth, endDepth);
                c = depth < 3.9f ? borderColour(sideDepth < endDepth ? q.y : q.x, depth) : fieldColour(p);
                // Knots and abrash: the hand-dyed wool varies a little row by row.
                float knot = noise::nestedUnit(x / 2, y / 2, 0x7a90u);
                float abrash = tileFbm(0.0f, p.y / rugSize.y, 1, 5, 2, 0x7a91u);
                c *= (0.93f + 0.1f * knot) * (0.95f + 0.1f * abrash);
            }
            image.fromBottom(x, y) = glm::vec4(c, 1.0f);
        }
    }
    return image;
}

} // namespace room
