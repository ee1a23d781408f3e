#pragma once

#include "FuzzScratch.h"

#include "assets/Mesh.h"
#include "assets/TextureManager.h"

#include <glm/glm.hpp>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

// What the model fuzz targets share: one import through Mesh::loadMesh and
// the checks that what it filled can be uploaded and drawn as the geometry
// does, slice by slice.
namespace meshfuzz {

// The texture manager reads its images from a folder that does not exist, so
// no texture name a model gives, however it climbs with "..", ever finds an
// image: loading a texture would need a GL context, and the images have
// fuzz targets of their own.
inline void keepTexturesAway()
{
    TextureManager::getInstance()->setTextureDirectory("/nonexistent-brimbolt-fuzz/textures/");
}

inline bool isFinite(const glm::vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Tangents computed by the mesh must be usable wherever the model's own
// numbers are; only a file with infinite or NaN numbers may pass them on.
inline bool allInputsFinite(const Mesh& mesh)
{
    for (const MeshVertex& vertex : mesh.vertices) {
        if (!isFinite(glm::vec3(vertex.position)) || !isFinite(vertex.normal) ||
            !std::isfinite(vertex.texCoord.x) ||
            !std::isfinite(vertex.texCoord.y)) {
            return false;
        }
    }
    return true;
}

inline void requireDrawable(const Mesh& mesh)
{
    bool consistent = mesh.vertexCount == mesh.vertices.size() && mesh.indexCount == mesh.indices.size() &&
                      mesh.entryCount == mesh.entries.size() && mesh.indices.size() % 3 == 0;
    for (std::uint32_t index : mesh.indices) {
        consistent = consistent && index < mesh.vertices.size();
    }
    std::size_t sliceEnd = 0;
    for (const MeshEntity& entry : mesh.entries) {
        // The slices follow each other without gaps, as the arrays were filled.
        consistent = consistent && entry.baseIndex == sliceEnd && entry.numIndices % 3 == 0;
        sliceEnd = static_cast<std::size_t>(entry.baseIndex) + entry.numIndices;
    }
    consistent = consistent && sliceEnd == mesh.indices.size();
    for (const auto& texture : mesh.materialTextures) {
        consistent = consistent && texture != nullptr;
    }
    if (mesh.withTangents) {
        consistent = consistent && mesh.tangents.size() == mesh.vertices.size() &&
                     mesh.bitangents.size() == mesh.vertices.size();
        if (consistent && allInputsFinite(mesh)) {
            for (std::size_t i = 0; i < mesh.tangents.size(); ++i) {
                consistent = consistent && isFinite(mesh.tangents[i]) && isFinite(mesh.bitangents[i]);
            }
        }
    } else {
        consistent = consistent && mesh.tangents.empty() && mesh.bitangents.empty();
    }
    if (!consistent) {
        __builtin_trap();
    }
}

// Imports the model file at path, with tangents when the input's length is
// odd (so the mutator reaches both imports), and checks the result. The
// texture names the model cached are dropped again, so a long run does not
// grow the cache by one name per input.
inline void importAndCheck(const std::string& path, std::size_t inputSize)
{
    const bool withTangents = inputSize % 2 == 1;
    Mesh mesh;
    if (mesh.loadMesh(path, withTangents)) {
        requireDrawable(mesh);
    }
    TextureManager::getInstance()->releaseGLObjects();
}

} // namespace meshfuzz
