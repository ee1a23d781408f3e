#pragma once

#include "assets/MeshVertex.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <span>

// Per-vertex tangents and bitangents of one sub-mesh for parallax mapping,
// built from its triangles' positions and texture coordinates. Triangles are
// added one by one into the accumulators; finish() then turns the sums into
// the unit vectors the shaders expect.
class TangentSpaceBuilder {
public:
    // The three spans are the sub-mesh's slices, of equal length; tangents and
    // bitangents must hold zeros, as they are summed into in place.
    TangentSpaceBuilder(std::span<const MeshVertex> vertices, std::span<glm::vec3> tangents,
                        std::span<glm::vec3> bitangents);

    // Indices are local to the sub-mesh. A triangle whose texture coordinates
    // span no area has no defined tangent and adds nothing.
    void addTriangle(std::uint32_t i0, std::uint32_t i1, std::uint32_t i2);

    // Normalises every vertex's sums, makes the tangent orthogonal to the
    // normal and points it by the bitangent's handedness.
    void finish();

    // The per-vertex step of finish(). Always leaves finite unit vectors, also
    // for a vertex that no usable triangle touched.
    static void orthonormalise(const glm::vec3& normal, glm::vec3& tangent, glm::vec3& bitangent);

private:
    std::span<const MeshVertex> vertices;
    std::span<glm::vec3> tangents;
    std::span<glm::vec3> bitangents;
};
