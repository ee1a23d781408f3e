#pragma once

#include "assets/MeshEntity.h"
#include "assets/MeshVertex.h"
#include "assets/Texture.h"
#include "gl/Shader.h"
#include "scene/BoundingBox.h"
#include "scene/BoundingSphere.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct aiMesh;
struct aiScene;

// The CPU-side copy of one model file: all sub-meshes merged into one vertex
// array and one index array (so the GL needs one buffer of each, drawn in
// slices), one MeshEntity per sub-mesh, one texture per material and the
// bounding records of the whole model. Models drawn with parallax mapping
// also get per-vertex tangents and bitangents.
//
// The fields are public because the owning geometry draws from them and
// keeps the bounding records in world space; only loadMesh fills them.
class Mesh {
public:
    Mesh();
    virtual ~Mesh();
    // Owns its textures and entries; two meshes never share them.
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;
    Mesh(Mesh&&) noexcept = default;
    Mesh& operator=(Mesh&&) noexcept = default;

    // Imports the file, replacing what the mesh held. A file that cannot be
    // read prints "Error parsing '<path>': '<reason>'", leaves the mesh as it
    // was and returns false; the caller then has nothing to upload. Textures
    // are loaded through the texture manager, which needs a current context
    // whenever an image file is actually found.
    bool loadMesh(const std::string& path, bool withTangents);

    // Fills the caller's vertex and index buffers and points the shader's
    // position, normal, colour and texture-coordinate attributes into the
    // vertex buffer. The caller binds its vertex array object first.
    bool uploadBuffers(GLuint vertexBuffer, GLuint indexBuffer, Shader& shader);
    // The same for the tangents and bitangents, each in a buffer of its own;
    // false, without any GL call, for a mesh loaded without tangents.
    bool uploadTangentBuffers(GLuint tangentBuffer, GLuint bitangentBuffer, Shader& shader);

    std::vector<MeshVertex> vertices;
    // One per material of the file, indexed by MeshEntity::materialIndex;
    // never null after a load ("white.png" stands in for a missing texture).
    std::vector<std::unique_ptr<Texture>> materialTextures;
    std::vector<MeshEntity> entries;
    // Three per triangle, already offset into vertices, so that a plain
    // indexed draw of an entry's slice needs no base vertex.
    std::vector<std::uint32_t> indices;
    // One per vertex while withTangents, otherwise empty.
    std::vector<glm::vec3> tangents;
    std::vector<glm::vec3> bitangents;
    // Of the whole model, without the thin-box widening of the entries.
    BoundingSphere boundingSphere;
    BoundingBox boundingBox;
    std::uint32_t vertexCount = 0; // the base of the next sub-mesh while loading
    std::uint32_t indexCount = 0;  // the base index of the next sub-mesh while loading
    std::uint32_t entryCount = 0;
    bool withTangents = false;

private:
    void clear();
    void reserveFor(const aiScene& scene);
    // Returns how many of its vertices hold numbers that are not finite or
    // far beyond any room; their faces are left out.
    std::uint32_t addSubMesh(std::uint32_t entryIndex, const aiMesh& subMesh, const glm::vec3& colour);
    void buildTangentSpace(const MeshEntity& entry, std::uint32_t subMeshVertexCount);
    void loadMaterialTextures(const aiScene& scene);
};
