#pragma once

#include "scene/BoundingBox.h"
#include "scene/BoundingSphere.h"

#include <cstdint>

// One sub-mesh of a Mesh: its slice of the shared index array, the material
// it is drawn with, and its own bounding records so that culling and
// collisions can work per sub-mesh.
class MeshEntity {
public:
    MeshEntity() = default;
    virtual ~MeshEntity();
    MeshEntity(const MeshEntity&) = default;
    MeshEntity& operator=(const MeshEntity&) = default;
    MeshEntity(MeshEntity&&) noexcept = default;
    MeshEntity& operator=(MeshEntity&&) noexcept = default;

    std::uint32_t materialIndex = 0; // into Mesh::materialTextures
    std::uint32_t numIndices = 0;    // three per triangle
    std::uint32_t baseIndex = 0;     // first index in Mesh::indices
    // Model space as imported; the owning geometry carries them into the world.
    BoundingSphere sphere;
    BoundingBox box;
};
