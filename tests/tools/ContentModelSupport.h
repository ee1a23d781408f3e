#pragma once

#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "support/ScratchDir.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

// The generated models as the program loads them, and the bits of geometry
// the content checks measure them with. Boxes are world-space, axis-aligned.
namespace contenttest {

// Top of the room's floor; everything that stands, stands on it.
inline constexpr float floorTop = -0.7f;

inline std::string modelPath(const std::string& fileName)
{
    return std::string(BRIMBOLT_SOURCE_DIR) + "/brimbolt/models/" + fileName;
}

struct LoadedModel {
    Mesh mesh;
    bool loaded = false;
    std::string printed; // what the import wrote to standard output
};

// Each file is imported once per test process. The texture manager looks in
// an empty folder meanwhile, so every image lookup fails before any GL call
// and no context is needed; materials then fall back to "white.png", which
// the picture checks cover separately.
inline const LoadedModel& loadModel(const std::string& fileName, bool withTangents = false)
{
    static std::map<std::pair<std::string, bool>, std::unique_ptr<LoadedModel>> cache;
    std::unique_ptr<LoadedModel>& slot = cache[{fileName, withTangents}];
    if (!slot) {
        slot = std::make_unique<LoadedModel>();
        ScratchDir noTextures{"brimbolt_content_no_textures"};
        TextureManager* manager = TextureManager::getInstance();
        const std::string textureDirectory = manager->getTextureDirectory();
        manager->setTextureDirectory(noTextures.path().string() + "/");
        testing::internal::CaptureStdout();
        slot->loaded = slot->mesh.loadMesh(modelPath(fileName), withTangents);
        slot->printed = testing::internal::GetCapturedStdout();
        manager->setTextureDirectory(textureDirectory);
    }
    return *slot;
}

inline const Mesh& model(const std::string& fileName, bool withTangents = false)
{
    return loadModel(fileName, withTangents).mesh;
}

// For ASSERT_TRUE before measuring a model: an empty mesh has a zero box,
// which would let some checks pass for nothing.
inline testing::AssertionResult isLoaded(const std::string& fileName, bool withTangents = false)
{
    const LoadedModel& loaded = loadModel(fileName, withTangents);
    if (loaded.loaded && !loaded.mesh.vertices.empty()) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << fileName << " did not load: " << loaded.printed;
}

// Placements, built in the order the scene operations post-multiply them.
inline glm::mat4 translation(float x, float y, float z)
{
    return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

inline glm::mat4 rotation(float degrees, const glm::vec3& axis)
{
    return glm::rotate(glm::mat4(1.0f), glm::radians(degrees), axis);
}

inline glm::mat4 scaling(float factor)
{
    return glm::scale(glm::mat4(1.0f), glm::vec3(factor));
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

inline Box boxOf(const BoundingBox& box)
{
    return {box.lower, box.upper};
}

// The world box around a model-space box carried by a placement.
inline Box placed(const Box& box, const glm::mat4& placement)
{
    const float far = std::numeric_limits<float>::infinity();
    Box result{glm::vec3(far), glm::vec3(-far)};
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec3 local((corner & 1) ? box.upper.x : box.lower.x, (corner & 2) ? box.upper.y : box.lower.y,
                              (corner & 4) ? box.upper.z : box.lower.z);
        const glm::vec3 world(placement * glm::vec4(local, 1.0f));
        result.lower = glm::min(result.lower, world);
        result.upper = glm::max(result.upper, world);
    }
    return result;
}

inline Box united(const Box& a, const Box& b)
{
    return {glm::min(a.lower, b.lower), glm::max(a.upper, b.upper)};
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

// Farthest vertex from a line through the model origin: the radius of what a
// piece sweeps while it turns about that line.
inline float farthestFromAxis(const Mesh& mesh, const glm::vec3& axis)
{
    const glm::vec3 direction = glm::normalize(axis);
    float farthest = 0.0f;
    for (const MeshVertex& vertex : mesh.vertices) {
        const glm::vec3 p(vertex.position);
        farthest = std::max(farthest, glm::length(p - direction * glm::dot(p, direction)));
    }
    return farthest;
}

inline float farthestFromOrigin(const Mesh& mesh)
{
    float farthest = 0.0f;
    for (const MeshVertex& vertex : mesh.vertices) {
        farthest = std::max(farthest, glm::length(glm::vec3(vertex.position)));
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
        // An edge parallel to a box axis gives no axis; the others decide.
        if (glm::dot(axis, axis) < 1e-12f) {
            return false;
        }
        const float a = glm::dot(v[0], axis);
        const float b = glm::dot(v[1], axis);
        const float c = glm::dot(v[2], axis);
        const float reach = glm::dot(half, glm::abs(axis));
        return std::min({a, b, c}) > reach || std::max({a, b, c}) < -reach;
    };
    const std::array<glm::vec3, 3> boxAxes{glm::vec3(1, 0, 0), glm::vec3(0, 1, 0), glm::vec3(0, 0, 1)};
    for (const glm::vec3& axis : boxAxes) {
        if (separates(axis)) {
            return false;
        }
    }
    if (separates(glm::cross(edges[0], edges[1]))) {
        return false;
    }
    for (const glm::vec3& axis : boxAxes) {
        for (const glm::vec3& edge : edges) {
            if (separates(glm::cross(axis, edge))) {
                return false;
            }
        }
    }
    return true;
}

inline std::array<glm::vec3, 3> triangleAt(const Mesh& mesh, std::size_t firstIndex)
{
    return {glm::vec3(mesh.vertices[mesh.indices[firstIndex]].position),
            glm::vec3(mesh.vertices[mesh.indices[firstIndex + 1]].position),
            glm::vec3(mesh.vertices[mesh.indices[firstIndex + 2]].position)};
}

} // namespace contenttest
