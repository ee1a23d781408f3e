#include "assets/Mesh.h"

#include "assets/ColladaCheck.h"
#include "assets/MaterialLibraryCheck.h"
#include "assets/MeshBounds.h"
#include "assets/TangentSpaceBuilder.h"
#include "assets/TextureManager.h"

#include <assimp/DefaultLogger.hpp>
#include <assimp/Importer.hpp>
#include <assimp/LogStream.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
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

// A million units is thousands of rooms away: numbers past it, or numbers
// that are not numbers at all, would only put infinities and NaN into the
// frame, the bounds and the collisions.
constexpr float farthestNumber = 1.0e6f;

template <int Length>
bool isSane(const glm::vec<Length, float>& numbers)
{
    for (int i = 0; i < Length; ++i) {
        if (!(std::fabs(numbers[i]) <= farthestNumber)) {
            return false;
        }
    }
    return true;
}

bool isSane(const MeshVertex& vertex)
{
    return isSane(vertex.position) && isSane(vertex.normal) && isSane(vertex.texCoord);
}

// What the importer says about the model's material file while it reads: a
// missing or empty one still gives a model, drawn with default materials, and
// this is the only place that tells.
class MaterialWarning : public Assimp::LogStream {
public:
    MaterialWarning()
    {
        ownsLogger = Assimp::DefaultLogger::isNullLogger();
        if (ownsLogger) {
            Assimp::DefaultLogger::create(nullptr, Assimp::Logger::NORMAL, 0);
        }
        Assimp::DefaultLogger::get()->attachStream(this, Assimp::Logger::Warn | Assimp::Logger::Err);
    }
    ~MaterialWarning() override
    {
        Assimp::DefaultLogger::get()->detachStream(this, Assimp::Logger::Warn | Assimp::Logger::Err);
        if (ownsLogger) {
            Assimp::DefaultLogger::kill();
        }
    }
    MaterialWarning(const MaterialWarning&) = delete;
    MaterialWarning& operator=(const MaterialWarning&) = delete;

    void write(const char* message) override
    {
        if (!first.empty() || !std::strstr(message, "material")) {
            return;
        }
        // "Warn,  T0: OBJ: ...\n": the text after the logger's own prefix.
        first = message;
        const std::size_t prefix = first.find(": ");
        first = prefix == std::string::npos ? first : first.substr(prefix + 2);
        first.erase(first.find_last_not_of("\r\n") + 1);
    }

    std::string first;

private:
    bool ownsLogger = false;
};

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

    // Assimp's Collada reader crashes or never returns on some broken files;
    // those are refused before it sees them, with the same message.
    if (ColladaCheck::isColladaPath(path)) {
        const std::string problem = ColladaCheck::problemInFile(path);
        if (!problem.empty()) {
            std::printf("Error parsing '%s': '%s'\n", path.c_str(), problem.c_str());
            return false;
        }
    }

    // The importer owns the scene and frees it on return, and the file system.
    Assimp::Importer importer;
    auto* libraries = new MaterialLibraryCheck(path);
    importer.SetIOHandler(libraries);
    MaterialWarning materialWarning;
    const aiScene* scene = importer.ReadFile(path, withTangents ? tangentImportFlags : importFlags);
    if (!scene) {
        std::printf("Error parsing '%s': '%s'\n", path.c_str(), importer.GetErrorString());
        return false;
    }
    if (!libraries->problem().empty()) {
        std::printf("Error parsing '%s': '%s'\n", path.c_str(), libraries->problem().c_str());
        return false;
    }
    // Text that the importer took for a model with nothing in it, or a model cut
    // off before its first face, is no model either.
    std::size_t fileVertices = 0;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        fileVertices += scene->mMeshes[i]->mNumVertices;
    }
    if (fileVertices == 0) {
        std::printf("Error parsing '%s': '%s'\n", path.c_str(), "the file holds no mesh");
        return false;
    }

    clear();
    materialTextures.resize(scene->mNumMaterials);
    entries.resize(scene->mNumMeshes);
    entryCount = scene->mNumMeshes;
    reserveFor(*scene);

    std::uint32_t badVertices = 0;
    std::uint32_t badColours = 0;
    for (std::uint32_t i = 0; i < scene->mNumMeshes; ++i) {
        const aiMesh& subMesh = *scene->mMeshes[i];
        glm::vec3 colour = diffuseColour(*scene, subMesh);
        if (!isSane(colour)) {
            colour = glm::vec3(0.0f);
            ++badColours;
        }
        badVertices += addSubMesh(i, subMesh, colour);
    }
    if (!materialWarning.first.empty()) {
        std::printf("Model '%s': %s; drawn with default materials.\n", path.c_str(), materialWarning.first.c_str());
    }
    if (badColours > 0) {
        std::printf("Model '%s': %u sub-meshes have a diffuse colour that is not a finite number; drawn black.\n",
                    path.c_str(), badColours);
    }
    if (badVertices > 0) {
        std::printf("Model '%s': %u vertices hold numbers that are not finite or beyond %g; the faces on them are "
                    "left out.\n",
                    path.c_str(), badVertices, static_cast<double>(farthestNumber));
    } else if (indexCount == 0) {
        std::printf("Model '%s' has no faces; nothing of it is drawn.\n", path.c_str());
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

std::uint32_t Mesh::addSubMesh(std::uint32_t entryIndex, const aiMesh& subMesh, const glm::vec3& colour)
{
    MeshEntity& entry = entries[entryIndex];
    entry.materialIndex = subMesh.mMaterialIndex;

    const std::uint32_t subMeshVertexCount = subMesh.mNumVertices;
    const bool hasFileTangents = withTangents && subMesh.HasTangentsAndBitangents();
    std::vector<bool> isBad(subMeshVertexCount, false);
    std::uint32_t badCount = 0;
    for (unsigned i = 0; i < subMeshVertexCount; ++i) {
        vertices.push_back(makeVertex(subMesh, i, colour));
        isBad[i] = !isSane(vertices.back());
        badCount += isBad[i] ? 1 : 0;
        if (hasFileTangents) {
            tangents.push_back(toGlm(subMesh.mTangents[i]));
            bitangents.push_back(toGlm(subMesh.mBitangents[i]));
        }
    }
    if (badCount > 0) {
        // The faces on a bad vertex are left out below; the vertex itself
        // takes a good one's place so that the bounds stay where the model is.
        const auto good = std::find(isBad.begin(), isBad.end(), false);
        const MeshVertex stand = good == isBad.end() ? MeshVertex{} : vertices[vertexCount + (good - isBad.begin())];
        for (unsigned i = 0; i < subMeshVertexCount; ++i) {
            if (isBad[i]) {
                vertices[vertexCount + i] = stand;
            }
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
        if (!isDrawableTriangle(face, subMeshVertexCount) ||
            (badCount > 0 && (isBad[face.mIndices[0]] || isBad[face.mIndices[1]] || isBad[face.mIndices[2]]))) {
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
    return badCount;
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
