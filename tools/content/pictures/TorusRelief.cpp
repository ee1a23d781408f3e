// Relief maps of the turning torus: hexagonal plates in narrow grooves,
// most held by a domed rivet, some with a sunken hexagonal pocket instead.
#include "common/Image.h"
#include "common/Noise.h"
#include "pictures/Pictures.h"
#include "pictures/Relief.h"

#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int mapSize = 512;
// Whole numbers of plates each way keep the map seamless; the rows sit a
// little closer than a regular honeycomb's, which the eye does not notice.
constexpr int platesAcross = 8;
constexpr int plateRows = 10;
constexpr float columnSpacing = static_cast<float>(mapSize) / platesAcross; // 64 texels
constexpr float rowSpacing = static_cast<float>(mapSize) / plateRows;       // 51.2 texels
constexpr float reliefDepth = 8.0f;

constexpr float grooveLevel = 0.04f;
constexpr float plateLevel = 0.55f;

int wrapIndex(int i, int count)
{
    int r = i % count;
    return r < 0 ? r + count : r;
}

glm::vec2 plateCentre(int row, int column)
{
    float shift = (wrapIndex(row, 2) == 1) ? 0.5f : 0.0f;
    return {(static_cast<float>(column) + 0.5f + shift) * columnSpacing, (static_cast<float>(row) + 0.5f) * rowSpacing};
}

struct PlateHit {
    int row = 0;
    int column = 0;
    glm::vec2 offset{0.0f};  // from the plate's centre
    float edgeDistance = 0.0f; // to the nearest groove centre line
};

// The nearest plate centre and the distance to the border with the
// next-nearest ones (the cells are the Voronoi cells of the centres).
PlateHit findPlate(glm::vec2 p)
{
    int baseRow = static_cast<int>(std::floor(p.y / rowSpacing));
    int baseColumn = static_cast<int>(std::floor(p.x / columnSpacing));
    glm::vec2 centres[15];
    int rows[15], columns[15];
    int count = 0;
    for (int row = baseRow - 1; row <= baseRow + 1; ++row) {
        for (int column = baseColumn - 2; column <= baseColumn + 2; ++column) {
            centres[count] = plateCentre(row, column);
            rows[count] = row;
            columns[count] = column;
            ++count;
        }
    }
    int nearest = 0;
    for (int i = 1; i < count; ++i) {
        if (glm::distance(p, centres[i]) < glm::distance(p, centres[nearest])) {
            nearest = i;
        }
    }
    PlateHit hit;
    hit.row = wrapIndex(rows[nearest], plateRows);
    hit.column = wrapIndex(columns[nearest], platesAcross);
    hit.offset = p - centres[nearest];
    hit.edgeDistance = std::numeric_limits<float>::max();
    const float nearestSq = glm::dot(hit.offset, hit.offset);
    for (int i = 0; i < count; ++i) {
        if (i == nearest) {
            continue;
        }
        glm::vec2 toOther = p - centres[i];
        float between = glm::distance(centres[i], centres[nearest]);
        hit.edgeDistance = std::min(hit.edgeDistance, (glm::dot(toOther, toOther) - nearestSq) / (2.0f * between));
    }
    return hit;
}

float sampleHeight(int x, int y)
{
    glm::vec2 p(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
    PlateHit plate = findPlate(p);
    auto plateRandom = [&](std::int32_t which) { return noise::unit(plate.column, plate.row, 4242u, which); };

    float grain = noise::periodicFbm(noise::pictures, p / 4.0f, glm::ivec2(mapSize / 4), 3, 0.5f, 77u);
    float tilt = glm::dot(plate.offset, glm::vec2(plateRandom(0) - 0.5f, plateRandom(1) - 0.5f)) * 0.002f;
    float surface = plateLevel + tilt + (grain - 0.5f) * 0.03f;

    float radius = glm::length(plate.offset);
    if (plateRandom(2) < 0.3f) {
        // A sunken pocket with the plate's own outline and a small boss in it.
        float pocket = glm::smoothstep(13.0f, 15.5f, plate.edgeDistance);
        surface -= pocket * 0.22f;
        surface += 0.18f * (1.0f - glm::smoothstep(3.0f, 5.0f, radius));
    } else {
        // A domed rivet in a shallow counter-sunk ring.
        constexpr float rivetRadius = 8.0f;
        float dome = radius < rivetRadius ? std::sqrt(1.0f - (radius / rivetRadius) * (radius / rivetRadius)) : 0.0f;
        float ring = glm::smoothstep(rivetRadius - 0.5f, rivetRadius + 1.0f, radius) *
                     (1.0f - glm::smoothstep(rivetRadius + 2.0f, rivetRadius + 4.0f, radius));
        surface += dome * 0.42f - ring * 0.08f;
    }
    // Grooves along the cell borders, with bevelled plate edges.
    float rise = glm::smoothstep(1.5f, 6.0f, plate.edgeDistance);
    return std::clamp(grooveLevel + (surface - grooveLevel) * rise, 0.0f, 1.0f);
}

} // namespace

bool writeTorusRelief(const std::filesystem::path& textureDir)
{
    Mask height(mapSize, mapSize);
    for (int y = 0; y < mapSize; ++y) {
        for (int x = 0; x < mapSize; ++x) {
            height.at(x, y) = sampleHeight(x, y);
        }
    }
    bool ok = writeJpegGrey(height, textureDir / "rtrTexture_DISP.jpg");
    ok = writeJpegRgb(normalMapFromHeight(height, reliefDepth), textureDir / "rtrTexture_NRM.jpg") && ok;
    return ok;
}
