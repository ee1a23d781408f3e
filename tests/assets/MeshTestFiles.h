#pragma once

#include "assets/TextureManager.h"
#include "support/ScratchDir.h"

#include <FreeImage.h>
#include <assimp/Exporter.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// Model and texture files for the model import tests, in a scratch folder
// that the texture manager reads from while the object lives.
namespace meshtest {

inline constexpr const char* defaultTextureDirectory = "../brimbolt/textures/";

class MeshFiles {
public:
    // With a GL context, pass true and declare the object after GL_TEST_SETUP,
    // so that the cached textures are deleted while the context still exists.
    // Without one, nothing may be loaded: the texture folder starts empty, so
    // every image read fails before reaching the GL.
    explicit MeshFiles(bool deleteTexturesAtEnd = false)
        : deleteTexturesAtEnd(deleteTexturesAtEnd)
    {
        TextureManager::getInstance()->setTextureDirectory(texturesFolder.path().string() + "/");
    }
    ~MeshFiles()
    {
        TextureManager* manager = TextureManager::getInstance();
        if (deleteTexturesAtEnd) {
            manager->deleteAllTextures();
        }
        manager->setTextureDirectory(defaultTextureDirectory);
    }
    MeshFiles(const MeshFiles&) = delete;
    MeshFiles& operator=(const MeshFiles&) = delete;

    std::string model(const std::string& fileName, const std::string& text) const
    {
        return modelsFolder.write(fileName, text).string();
    }
    std::string modelPath(const std::string& fileName) const { return (modelsFolder.path() / fileName).string(); }

    // A small opaque PNG in the texture folder.
    bool texture(const std::string& fileName) const
    {
        FIBITMAP* image = FreeImage_Allocate(2, 2, 24);
        RGBQUAD white{255, 255, 255, 0};
        FreeImage_FillBackground(image, &white);
        std::string path = (texturesFolder.path() / fileName).string();
        bool saved = FreeImage_Save(FIF_PNG, image, path.c_str(), 0) != FALSE;
        FreeImage_Unload(image);
        return saved;
    }

private:
    ScratchDir modelsFolder{"brimbolt_meshes"};
    ScratchDir texturesFolder{"brimbolt_mesh_textures"};
    bool deleteTexturesAtEnd;
};

// Runs load with standard output captured and returns what it printed.
template <typename Load>
std::string printedBy(Load load)
{
    testing::internal::CaptureStdout();
    load();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// What an OBJ file cannot express: a material that names no colour at all,
// and tangents that come with the file. Written in Assimp's own binary format.
struct SceneContents {
    std::vector<aiVector3D> positions;
    std::vector<aiVector3D> normals;
    std::vector<aiVector3D> tangents;
    std::vector<aiVector3D> bitangents;
    std::vector<unsigned> triangleIndices;
};

inline bool writeAssbin(const std::string& path, const SceneContents& contents)
{
    aiScene scene;
    scene.mRootNode = new aiNode();
    scene.mRootNode->mNumMeshes = 1;
    scene.mRootNode->mMeshes = new unsigned[1]{0};

    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial*[1]{new aiMaterial()};
    aiString name("colourless");
    scene.mMaterials[0]->AddProperty(&name, AI_MATKEY_NAME);

    aiMesh* mesh = new aiMesh();
    scene.mNumMeshes = 1;
    scene.mMeshes = new aiMesh*[1]{mesh};
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mNumVertices = static_cast<unsigned>(contents.positions.size());
    auto copyOf = [](const std::vector<aiVector3D>& source) {
        aiVector3D* copy = new aiVector3D[source.size()];
        std::copy(source.begin(), source.end(), copy);
        return copy;
    };
    mesh->mVertices = copyOf(contents.positions);
    if (!contents.normals.empty()) {
        mesh->mNormals = copyOf(contents.normals);
    }
    if (!contents.tangents.empty()) {
        mesh->mTangents = copyOf(contents.tangents);
        mesh->mBitangents = copyOf(contents.bitangents);
    }
    mesh->mNumFaces = static_cast<unsigned>(contents.triangleIndices.size() / 3);
    mesh->mFaces = new aiFace[mesh->mNumFaces];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        mesh->mFaces[f].mNumIndices = 3;
        mesh->mFaces[f].mIndices = new unsigned[3]{contents.triangleIndices[3 * f], contents.triangleIndices[3 * f + 1],
                                                   contents.triangleIndices[3 * f + 2]};
    }

    Assimp::Exporter exporter;
    return exporter.Export(&scene, "assbin", path) == AI_SUCCESS;
}

} // namespace meshtest
