#pragma once

#include "assets/AssetTestSupport.h"
#include "assets/Mesh.h"
#include "scene/RoomLayout.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// The generated models as the program loads them, where the scene places
// them, and the world-space, axis-aligned boxes the content checks use.
namespace contenttest {

using roomLayout::floorTop;
inline constexpr float wheelRadius = 0.41f;
inline constexpr float carClearance = 2.5f; // free height wherever a car drives
inline constexpr float courseMargin = 1.5f; // half the free square around a course point

inline std::string modelPath(const std::string& fileName)
{
    // The program's folder names are relative to bin/.
    return std::string(BRIMBOLT_SOURCE_DIR) + "/bin/" + roomLayout::modelFolder + fileName;
}

// Each file is imported once per process. The texture manager looks in an
// empty folder meanwhile, so no image is found and no GL context is needed.
// An empty mesh means the import failed.
inline const Mesh& model(const std::string& fileName, bool withTangents = false)
{
    static std::map<std::pair<std::string, bool>, std::unique_ptr<Mesh>> cache;
    std::unique_ptr<Mesh>& slot = cache[{fileName, withTangents}];
    if (!slot) {
        slot = std::make_unique<Mesh>();
        assettest::AssetFolder noTextures;
        printedBy([&] { slot->loadMesh(modelPath(fileName), withTangents); });
    }
    return *slot;
}

struct Box {
    glm::vec3 lower{0.0f};
    glm::vec3 upper{0.0f};
};

inline std::ostream& operator<<(std::ostream& out, const Box& box)
{
    return out << "(" << box.lower.x << ", " << box.lower.y << ", " << box.lower.z << ") .. (" << box.upper.x
               << ", " << box.upper.y << ", " << box.upper.z << ")";
}

inline Box boxOf(const BoundingBox& box) { return {box.lower, box.upper}; }

// The world box around a model-space box carried by a placement.
inline Box placed(const Box& box, const glm::mat4& placement)
{
    Box result{glm::vec3(std::numeric_limits<float>::max()), glm::vec3(std::numeric_limits<float>::lowest())};
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec3 local((corner & 1) ? box.upper.x : box.lower.x, (corner & 2) ? box.upper.y : box.lower.y,
                              (corner & 4) ? box.upper.z : box.lower.z);
        const glm::vec3 world(placement * glm::vec4(local, 1.0f));
        result.lower = glm::min(result.lower, world);
        result.upper = glm::max(result.upper, world);
    }
    return result;
}

inline bool overlaps(const Box& a, const Box& b)
{
    return glm::all(glm::lessThanEqual(a.lower, b.upper)) && glm::all(glm::lessThanEqual(b.lower, a.upper));
}

inline bool contains(const Box& outer, const Box& inner)
{
    return glm::all(glm::lessThanEqual(outer.lower, inner.lower)) &&
           glm::all(glm::lessThanEqual(inner.upper, outer.upper));
}

// Farthest vertex from a line through the model origin (a zero axis: from the
// origin itself): the radius of what a piece sweeps while it turns.
inline float farthestFrom(const Mesh& mesh, const glm::vec3& axis)
{
    const glm::vec3 direction = axis == glm::vec3(0.0f) ? axis : glm::normalize(axis);
    float farthest = 0.0f;
    for (const MeshVertex& vertex : mesh.vertices) {
        const glm::vec3 p(vertex.position);
        farthest = std::max(farthest, glm::length(p - direction * glm::dot(p, direction)));
    }
    return farthest;
}

// Separating-axis test of a triangle against a box: the three box axes, the
// triangle's normal and the nine edge-by-axis cross products. Touching counts.
inline bool triangleTouchesBox(const std::array<glm::vec3, 3>& triangle, const Box& box)
{
    const glm::vec3 centre = 0.5f * (box.lower + box.upper);
    const glm::vec3 half = 0.5f * (box.upper - box.lower);
    const std::array<glm::vec3, 3> v{triangle[0] - centre, triangle[1] - centre, triangle[2] - centre};
    const std::array<glm::vec3, 3> edges{v[1] - v[0], v[2] - v[1], v[0] - v[2]};
    auto separates = [&](const glm::vec3& axis) {
        if (glm::dot(axis, axis) < 1e-12f) {
            return false; // an edge parallel to a box axis gives no axis
        }
        const float a = glm::dot(v[0], axis), b = glm::dot(v[1], axis), c = glm::dot(v[2], axis);
        const float reach = glm::dot(half, glm::abs(axis));
        return std::min({a, b, c}) > reach || std::max({a, b, c}) < -reach;
    };
    std::vector<glm::vec3> axes{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, glm::cross(edges[0], edges[1])};
    for (int axis = 0; axis < 3; ++axis) {
        for (const glm::vec3& edge : edges) {
            axes.push_back(glm::cross(axes[static_cast<std::size_t>(axis)], edge));
        }
    }
    return std::none_of(axes.begin(), axes.end(), separates);
}

// --- Where the scene puts the models (content loading and race restart) ---

inline glm::mat4 translation(float x, float y, float z) { return glm::translate(glm::mat4(1.0f), {x, y, z}); }

// A placement as the scene applies it: moved, turned about y, rolled about z, scaled.
inline glm::mat4 matrixOf(const roomLayout::Placement& placement)
{
    const glm::vec3& p = placement.position;
    const glm::mat4 turned = glm::rotate(glm::mat4(1.0f), glm::radians(placement.yawDegrees), {0, 1, 0});
    const glm::mat4 rolled = glm::rotate(glm::mat4(1.0f), glm::radians(placement.rollDegrees), {0, 0, 1});
    return translation(p.x, p.y, p.z) * turned * rolled * glm::scale(glm::mat4(1.0f), glm::vec3(placement.scale));
}

struct CarPlacement {
    const char* body;
    glm::vec3 start;
    std::array<glm::vec3, 4> wheelOffsets; // wheel centres relative to the car's origin
};

inline const std::array<CarPlacement, 2> carPlacements{{
    {"car3.obj", roomLayout::carStarts[0], {{{-0.7f, -0.2f, -1.3f}, {0.7f, -0.2f, -1.3f}, {-0.7f, -0.2f, 0.6f},
                                          {0.7f, -0.2f, 0.6f}}}},
    {"car4.obj", roomLayout::carStarts[1], {{{-0.9f, -0.5f, -1.3f}, {0.7f, -0.5f, -1.3f}, {-0.9f, -0.5f, 1.3f},
                                          {0.7f, -0.5f, 1.3f}}}},
}};

using roomLayout::stonePositions;
inline const std::array<const char*, 3> stoneModels{"stoneG.obj", "stoneY.obj", "stoneR.obj"};

// Armadillos and pedestals spin about their own vertical axis; the torus
// about two axes, so in time any way round.
enum class Turning { None, AboutY, AnyWay };

struct ShowPiece {
    const char* name;
    const char* file;
    bool withTangents;
    glm::mat4 placement;
    Turning turning;
    bool onFloor; // the rest float or stand on a pedestal
};

inline std::vector<ShowPiece> showPieces()
{
    namespace layout = roomLayout;
    return {
        {"pig", "pigLow.obj", false, matrixOf(layout::pig), Turning::None, true},
        {"stone wall", "stoneWall2.obj", true, glm::mat4(1.0f), Turning::None, true},
        {"torus", "torus.obj", true, matrixOf(layout::torus), Turning::AnyWay, false},
        {"plane", "plane_reduced.obj", false, matrixOf(layout::plane), Turning::None, true},
        {"relief armadillo", "armadilloNormalMap.obj", true, matrixOf(layout::reliefArmadillo), Turning::AboutY,
         false},
        {"armadillo", "armadilloNormalMap.obj", false, matrixOf(layout::plainArmadillo), Turning::AboutY, false},
        {"pedestal at -30", "podest.obj", false, matrixOf(layout::pedestals[0]), Turning::AboutY, true},
        {"pedestal at -36", "podest.obj", false, matrixOf(layout::pedestals[1]), Turning::AboutY, true},
    };
}

// The world box a piece takes up at any moment of its turning (the
// placements scale uniformly, so one factor serves every axis).
inline Box occupiedSpace(const ShowPiece& piece)
{
    const Mesh& mesh = model(piece.file, piece.withTangents);
    const Box still = placed(boxOf(mesh.boundingBox), piece.placement);
    const glm::vec3 origin(piece.placement[3]);
    const float factor = glm::length(glm::vec3(piece.placement[0]));
    if (piece.turning == Turning::AboutY) {
        const float reach = factor * farthestFrom(mesh, {0, 1, 0});
        return {{origin.x - reach, still.lower.y, origin.z - reach}, {origin.x + reach, still.upper.y, origin.z + reach}};
    }
    if (piece.turning == Turning::AnyWay) {
        const glm::vec3 reach(factor * farthestFrom(mesh, {}));
        return {origin - reach, origin + reach};
    }
    return still;
}

// The space kept free around a point of the course, from just above the
// floor (so the floor and the rug do not count) up to the cars' height.
inline Box courseSpace(const glm::vec3& point)
{
    return {{point.x - courseMargin, floorTop + 0.02f, point.z - courseMargin},
            {point.x + courseMargin, floorTop + carClearance, point.z + courseMargin}};
}

} // namespace contenttest
