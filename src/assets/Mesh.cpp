#include "assets/Mesh.h"

#include "assets/MeshBounds.h"
#include "assets/TangentSpaceBuilder.h"
#include "assets/TextureManager.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cstddef>
#include <cstdio>
#include <span>

namespace {
// Triangles and smooth normals only: the tangents are computed here rather
// than by the importer, and texture coordinates are used as the file has them.
constexpr unsigned importFlags = aiProcess_Triangulate | aiProcess_GenSmoothNormals;
// Shared vertices let neighbouring triangles add into the same tangent sums,
// which smooths the tangent frame across the surface.
constexpr unsigned tangentImportFlags = importFlags | aiProcess_JoinIdenticalVertices;
static_assert(importFlags == 0x48 && tangentImportFlags == 0x4A);

// Loaded for every material that has no texture of its own, so that the
// lit shader can always sample unit 0 and multiply by the vertex colour.
constexpr const char* fallbackTextureName = "white.png";

glm::vec3 toGlm(const aiVector3D& v)
{
    return {v.x, v.y, v.z};
}

MeshVertex makeVertex(const aiMesh& subMesh, unsigned index, const glm::vec3& colour)
{
    MeshVertex vertex;
    vertex.position = glm::vec4(toGlm(subMesh.mVertices[index]), 1.0f);
    if (subMesh.HasNormals()) {
        vertex.normal = toGlm(subMesh.mNormals[index]);
    }
    vertex.color = colour;
    if (subMesh.HasTextureCoords(0)) {
        const aiVector3D& texCoord = subMesh.mTextureCoords[0][index];
        vertex.texCoord = glm::vec2(texCoord.x, texCoord.y);
    }
    return vertex;
}

// Points and lines survive triangulation; they have no surface to draw.
bool isDrawableTriangle(const aiFace& face, unsigned subMeshVertexCount)
{
    if (face.mNumIndices < 3) {
        return false;
    }
    for (unsigned corner = 0; corner < 3; ++corner) {
        if (face.mIndices[corner] >= subMeshVertexCount) {
            return false;
        }
    }
    return true;
}

glm::vec3 diffuseColour(const aiScene& scene, const aiMesh& subMesh)
{
    // A material that names no colour leaves this untouched: black.
    aiColor4D colour(0.0f, 0.0f, 0.0f, 0.0f);
    if (subMesh.mMaterialIndex < scene.mNumMaterials) {
        aiGetMaterialColor(scene.mMaterials[subMesh.mMaterialIndex], "$clr.diffuse", 0, 0, &colour);
    }
    return {colour.r, colour.g, colour.b};
}

void setAttribute(GLint location, GLint components, std::size_t offset)
{
    // -1: the program does not use the attribute, and the GL would reject
    // the index.
    if (location < 0) {
        return;
    }
    GLuint index = static_cast<GLuint>(location);
    glEnableVertexAttribArray(index);
    glVertexAttribPointer(index, components, GL_FLOAT, GL_FALSE, sizeof(MeshVertex),
                          reinterpret_cast<const void*>(offset));
}

void uploadVectors(GLuint buffer, const std::vector<glm::vec3>& data, GLint location)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * sizeof(glm::vec3)), data.data(),
                 GL_STATIC_DRAW);
    if (location < 0) {
        return;
    }
    GLuint index = static_cast<GLuint>(location);
    glEnableVertexAttribArray(index);
    glVertexAttribPointer(index, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
}
} // namespace

Mesh::Mesh() = default;

Mesh::~Mesh() = default;

bool Mesh::loadMesh(const std::string& path, bool withTangents)
{
    this->withTangents = withTangents;

    // The importer owns the scene and frees it on return.
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, withTangents ? tangentImportFlags : importFlags);
    if (!scene) {
        std::printf("Error parsing '%s': '%s'\n", path.c_str(), importer.GetErrorString());
        return false;
    }

    clear();
    materialTextures.resize(scene->mNumMaterials);
    entries.resize(scene->mNumMeshes);
    entryCount = scene->mNumMeshes;
    reserveFor(*scene);

    for (std::uint32_t i = 0; i < scene->mNumMeshes; ++i) {
        const aiMesh& subMesh = *scene->mMeshes[i];
        addSubMesh(i, subMesh, diffuseColour(*scene, subMesh));
    }

    MeshBounds bounds = MeshBounds::of(vertices);
    boundingBox = bounds.box;
    boundingSphere = bounds.sphere;

    loadMaterialTextures(*scene);
    return true;
}

void Mesh::clear()
{
    vertices.clear();
    materialTextures.clear();
    entries.clear();
    indices.clear();
    tangents.clear();
    bitangents.clear();
    boundingSphere = BoundingSphere();
    boundingBox = BoundingBox();
    vertexCount = 0;
    indexCount = 0;
    entryCount = 0;
}

// Sized once up front: growing per sub-mesh would copy the whole array again
// for every sub-mesh of a large model.
void Mesh::reserveFor(const aiScene& scene)
{
    std::size_t totalVertices = 0;
    std::size_t totalIndices = 0;
    for (unsigned i = 0; i < scene.mNumMeshes; ++i) {
        totalVertices += scene.mMeshes[i]->mNumVertices;
        totalIndices += 3 * static_cast<std::size_t>(scene.mMeshes[i]->mNumFaces);
    }
    vertices.reserve(totalVertices);
    indices.reserve(totalIndices);
    if (withTangents) {
        tangents.reserve(totalVertices);
        bitangents.reserve(totalVertices);
    }
}

void Mesh::addSubMesh(std::uint32_t entryIndex, const aiMesh& subMesh, const glm::vec3& colour)
{
    MeshEntity& entry = entries[entryIndex];
    entry.materialIndex = subMesh.mMaterialIndex;

    const std::uint32_t subMeshVertexCount = subMesh.mNumVertices;
    const bool hasFileTangents = withTangents && subMesh.HasTangentsAndBitangents();
    for (unsigned i = 0; i < subMeshVertexCount; ++i) {
        vertices.push_back(makeVertex(subMesh, i, colour));
        if (hasFileTangents) {
            tangents.push_back(toGlm(subMesh.mTangents[i]));
            bitangents.push_back(toGlm(subMesh.mBitangents[i]));
        }
    }

    MeshBounds bounds = MeshBounds::of(std::span<const MeshVertex>(vertices).subspan(vertexCount));
    bounds.widenThinBox();
    entry.box = bounds.box;
    entry.sphere = bounds.sphere;

    entry.baseIndex = indexCount;
    entry.numIndices = 0;
    for (unsigned f = 0; f < subMesh.mNumFaces; ++f) {
        const aiFace& face = subMesh.mFaces[f];
        if (!isDrawableTriangle(face, subMeshVertexCount)) {
            continue;
        }
        for (unsigned corner = 0; corner < 3; ++corner) {
            indices.push_back(face.mIndices[corner] + vertexCount);
        }
        entry.numIndices += 3;
    }

    if (withTangents && !hasFileTangents) {
        tangents.resize(vertexCount + subMeshVertexCount, glm::vec3(0.0f));
        bitangents.resize(vertexCount + subMeshVertexCount, glm::vec3(0.0f));
        buildTangentSpace(entry, subMeshVertexCount);
    }

    vertexCount += subMeshVertexCount;
    indexCount += entry.numIndices;
}

// Runs while vertexCount is still the sub-mesh's base.
void Mesh::buildTangentSpace(const MeshEntity& entry, std::uint32_t subMeshVertexCount)
{
    TangentSpaceBuilder builder(std::span<const MeshVertex>(vertices).subspan(vertexCount, subMeshVertexCount),
                                std::span<glm::vec3>(tangents).subspan(vertexCount, subMeshVertexCount),
                                std::span<glm::vec3>(bitangents).subspan(vertexCount, subMeshVertexCount));
    for (std::uint32_t i = entry.baseIndex; i < entry.baseIndex + entry.numIndices; i += 3) {
        builder.addTriangle(indices[i] - vertexCount, indices[i + 1] - vertexCount, indices[i + 2] - vertexCount);
    }
    builder.finish();
}

void Mesh::loadMaterialTextures(const aiScene& scene)
{
    TextureManager* manager = TextureManager::getInstance();
    for (unsigned i = 0; i < scene.mNumMaterials; ++i) {
        const aiMaterial* material = scene.mMaterials[i];
        aiString name;
        if (aiGetMaterialTextureCount(material, aiTextureType_DIFFUSE) > 0 &&
            aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &name) == AI_SUCCESS) {
            // The name goes to the manager exactly as the file spells it;
            // the manager adds the texture folder.
            auto texture = std::make_unique<Texture>(name.C_Str());
            if (manager->loadTexture(texture->name, false)) {
                std::printf("Loaded texture '%s'\n", texture->name.c_str());
                materialTextures[i] = std::move(texture);
            } else {
                std::printf("Error loading texture '%s'\n", texture->name.c_str());
            }
        }
        if (!materialTextures[i]) {
            materialTextures[i] = std::make_unique<Texture>(fallbackTextureName);
            manager->loadTexture(fallbackTextureName, false);
        }
    }
}

bool Mesh::uploadBuffers(GLuint vertexBuffer, GLuint indexBuffer, Shader& shader)
{
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(MeshVertex)), vertices.data(),
                 GL_STATIC_DRAW);
    setAttribute(shader.location(ShaderLocation::in_position), 4, offsetof(MeshVertex, position));
    setAttribute(shader.location(ShaderLocation::in_normal), 3, offsetof(MeshVertex, normal));
    setAttribute(shader.location(ShaderLocation::in_color), 3, offsetof(MeshVertex, color));
    setAttribute(shader.location(ShaderLocation::in_texCoords), 2, offsetof(MeshVertex, texCoord));

    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indexCount * sizeof(std::uint32_t)), indices.data(),
                 GL_STATIC_DRAW);
    return true;
}

bool Mesh::uploadTangentBuffers(GLuint tangentBuffer, GLuint bitangentBuffer, Shader& shader)
{
    if (!withTangents) {
        return false;
    }
    uploadVectors(tangentBuffer, tangents, shader.location(ShaderLocation::in_tangent));
    uploadVectors(bitangentBuffer, bitangents, shader.location(ShaderLocation::in_bitangent));
    return true;
}
