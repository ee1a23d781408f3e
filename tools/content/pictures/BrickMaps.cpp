// Relief maps of the stone wall: running-bond bricks in mortar, 8 bricks
// across and 16 courses up per repeat, seamless on all edges.
#include "common/Image.h"
#include "common/Noise.h"
#include "pictures/Pictures.h"
#include "pictures/Relief.h"

#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr int mapSize = 512;
constexpr int bricksAcross = 8;
constexpr int courses = 16;
constexpr float brickLength = static_cast<float>(mapSize) / bricksAcross; // 64 texels
constexpr float courseHeight = static_cast<float>(mapSize) / courses;     // 32 texels
constexpr float mortarWidth = 5.0f;
constexpr float bevelWidth = 3.5f;
constexpr float cornerRadius = 2.5f;
// Full height range in texels: the joints are a little deeper than wide.
constexpr float reliefDepth = 5.0f;

constexpr float mortarLevel = 0.12f;
constexpr float faceLevel = 0.8f;

// Noise over the whole map with `cells` lattice cells across, so it repeats
// exactly with the map.
float mapNoise(float x, float y, int cells, int octaves, std::uint32_t seed)
{
    float scale = static_cast<float>(cells) / mapSize;
    return noise::periodicFbm(noise::pictures, {x * scale, y * scale}, glm::ivec2(cells), octaves, 0.5f, seed);
}

struct BrickSample {
    float height;   // 0..1
    float specular; // 0..1
};

BrickSample sampleBrick(int x, int y)
{
    const float px = static_cast<float>(x) + 0.5f;
    const float py = static_cast<float>(y) + 0.5f;
    const int course = static_cast<int>(py / courseHeight);
    // Every other course shifts by half a brick; an even number of courses keeps the bond repeating.
    const float shift = (course % 2) * brickLength * 0.5f;
    float alongCourse = std::fmod(px - shift + mapSize, static_cast<float>(mapSize));
    const int brick = static_cast<int>(alongCourse / brickLength);

    // Each brick is a little different in size, level, tilt and shine.
    auto brickRandom = [&](std::int32_t which) { return noise::unit(brick, course, 9001u, which); };
    glm::vec2 halfSize(brickLength * 0.5f - mortarWidth * 0.5f - brickRandom(0) * 0.9f,
                       courseHeight * 0.5f - mortarWidth * 0.5f - brickRandom(1) * 0.7f);
    glm::vec2 centre((static_cast<float>(brick) + 0.5f) * brickLength + (brickRandom(2) - 0.5f) * 1.2f,
                     (static_cast<float>(course) + 0.5f) * courseHeight + (brickRandom(3) - 0.5f) * 0.8f);
    glm::vec2 local(alongCourse - centre.x, py - centre.y);

    // Distance inside a rounded rectangle, positive on the brick.
    glm::vec2 q = glm::abs(local) - (halfSize - cornerRadius);
    float inside = -(glm::length(glm::max(q, 0.0f)) + std::min(std::max(q.x, q.y), 0.0f) - cornerRadius);
    // Chipped, uneven arrises.
    inside += (mapNoise(px, py, 64, 3, 17u) - 0.5f) * 3.0f;
    float face = glm::smoothstep(0.0f, bevelWidth, inside);

    float tilt = ((brickRandom(4) - 0.5f) * local.x / halfSize.x + (brickRandom(5) - 0.5f) * local.y / halfSize.y) * 0.06f;
    float stone = mapNoise(px, py, 32, 5, 29u);
    float grain = mapNoise(px, py, 256, 2, 31u);
    // Scattered pits where a second noise peaks.
    float pits = glm::smoothstep(0.7f, 0.82f, mapNoise(px, py, 48, 3, 37u));
    float brickHeight = faceLevel + (brickRandom(6) - 0.5f) * 0.1f + tilt + (stone - 0.5f) * 0.25f +
                        (grain - 0.5f) * 0.05f - pits * 0.18f;
    float mortarHeight = mortarLevel + (mapNoise(px, py, 128, 3, 41u) - 0.5f) * 0.12f;

    BrickSample sample{};
    sample.height = std::clamp(mortarHeight + (brickHeight - mortarHeight) * face, 0.0f, 1.0f);
    float brickShine = 0.42f + brickRandom(7) * 0.2f + (stone - 0.5f) * 0.3f - pits * 0.3f;
    float mortarShine = 0.06f + grain * 0.04f;
    sample.specular = std::clamp(mortarShine + (brickShine - mortarShine) * face, 0.0f, 1.0f);
    return sample;
}

} // namespace

bool writeBrickMaps(const std::filesystem::path& textureDir)
{
    Mask height(mapSize, mapSize);
    Image specular(mapSize, mapSize, glm::vec4(1.0f));
    for (int y = 0; y < mapSize; ++y) {
        for (int x = 0; x < mapSize; ++x) {
            BrickSample sample = sampleBrick(x, y);
            height.at(x, y) = sample.height;
            specular.at(x, y) = glm::vec4(glm::vec3(sample.specular), 1.0f);
        }
    }
    bool ok = writeJpegGrey(height, textureDir / "brick09b.jpg");
    ok = writeJpegRgb(normalMapFromHeight(height, reliefDepth), textureDir / "brick09n.jpg") && ok;
    ok = writeJpegRgb(specular, textureDir / "brick09s.jpg") && ok;
    return ok;
}
